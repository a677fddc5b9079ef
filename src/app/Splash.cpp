#include "app/Splash.h"

#include "platform/Twips.h"
#include "platform/EventWaits.h"
#include "platform/ui/ToolkitColor.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace {

// Our logo: a window of five panes side by side, as the main window shows them, under a dark
// title band. nameBand is where the product's name stands over the logo (logo coordinates):
// the band covers it, so the coloured letters read on a near-black ground.
QPixmap drawLogo(const QSize &size, const QRect &nameBand)
{
    QPixmap pixmap(size);
    pixmap.fill(Qt::black);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);

    const QColor frameColour(70, 110, 200);
    const QRect window = pixmap.rect().adjusted(2, 2, -3, -3);
    painter.setPen(QPen(frameColour, 3));
    painter.setBrush(QColor(0, 0, 60));
    painter.drawRoundedRect(window, 12, 12);

    // The band runs the logo's full width, over the frame's sides, with a line above and below.
    const QRect band(0, nameBand.top() - 6, size.width(), nameBand.height() + 12);
    painter.fillRect(band, QColor(10, 10, 24));
    painter.setPen(QPen(frameColour, 2));
    painter.drawLine(band.topLeft(), band.topRight());
    painter.drawLine(band.bottomLeft(), band.bottomRight());

    // Above the band: the window's menu row, three short bars.
    painter.setPen(Qt::NoPen);
    painter.setBrush(frameColour);
    const int menuTop = window.top() + (band.top() - window.top()) / 2 - 4;
    for (int i = 0; i < 3; ++i)
        painter.drawRoundedRect(QRect(window.left() + 20 + i * 70, menuTop, 50, 8), 3, 3);

    // Below the band: five panes, each a drive row, a folder list and file lines.
    const QColor colours[] = {QColor(0, 192, 192), QColor(255, 255, 255), QColor(0, 0, 255),
                              QColor(255, 200, 0), QColor(220, 40, 40)};
    const int margin = size.width() / 20;
    const int columnWidth = (window.width() - 2 * margin) / 5;
    const int top = band.bottom() + margin / 2;
    const int height = window.bottom() - margin / 2 - top;
    for (int i = 0; i < 5; ++i) {
        const QRect column(window.left() + margin + i * columnWidth + 4, top, columnWidth - 8, height);
        painter.setPen(QPen(colours[i], 3));
        painter.setBrush(colours[i].darker(300));
        painter.drawRoundedRect(column, 8, 8);
        painter.setBrush(colours[i]);
        painter.drawRect(column.adjusted(8, 10, -8, -column.height() * 3 / 4));
        for (int line = 0; line < 5; ++line) {
            const int y = column.top() + column.height() * 2 / 5 + line * column.height() / 9;
            painter.drawRect(QRect(column.left() + 10, y, column.width() - 20 - (line % 3) * 12, 6));
        }
    }
    return pixmap;
}

} // namespace

Splash::Splash(QWidget *mainWindow, const SplashTimings &timings, std::function<void()> unload)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      m_mainWindow(mainWindow),
      m_timings(timings),
      m_unload(std::move(unload))
{
    setObjectName(QStringLiteral("Splash"));
    setFixedSize(Twips::size(11400, 11910));
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("Frame1"));
    frame->setFrameShape(QFrame::NoFrame);
    frame->setGeometry(rect());
    ToolkitColor::setBackColor(frame, ToolkitColor::rgb(0, 0, 0));

    // The product's name, one label per letter, each in a colour of its own, in a row over
    // the logo.
    const QString name = QStringLiteral("Panoptra");
    const QColor letterColours[] = {QColor(255, 64, 64), QColor(255, 160, 0), QColor(255, 230, 0),
                                    QColor(64, 220, 64), QColor(0, 200, 200), QColor(64, 128, 255),
                                    QColor(170, 90, 255), QColor(255, 100, 200)};
    QFont letterFont = font();
    letterFont.setPointSize(36);
    letterFont.setBold(true);
    auto *logo = new QLabel(frame);
    logo->setObjectName(QStringLiteral("imgLogo"));
    logo->setGeometry(Twips::rect(2280, 960, 8295, 5625));

    // The row is centred on the logo, whose dark band it stands on.
    const int letterWidth = 56;
    const int rowWidth = letterWidth * int(name.size());
    const QRect nameRow(logo->geometry().center().x() - rowWidth / 2, Twips::pixels(2520), rowWidth, 64);
    logo->setScaledContents(true);
    logo->setPixmap(drawLogo(logo->size(), nameRow.translated(-logo->pos())));

    for (int i = 0; i < name.size(); ++i) {
        auto *letter = new QLabel(name.at(i), frame);
        letter->setObjectName(QStringLiteral("lblLetter%1").arg(i));
        letter->setFont(letterFont);
        letter->setAlignment(Qt::AlignCenter);
        letter->setGeometry(nameRow.left() + i * letterWidth, nameRow.top(), letterWidth, nameRow.height());
        QPalette palette = letter->palette();
        palette.setColor(QPalette::WindowText, letterColours[i]);
        letter->setPalette(palette);
    }

    auto *counter = new QLineEdit(frame);
    counter->setObjectName(QStringLiteral("txtTime"));
    counter->setGeometry(Twips::rect(3120, 7200, 615, 285));
    counter->setReadOnly(true);
    counter->setFocusPolicy(Qt::NoFocus);
    m_txtTime[0] = counter;

    // The timer counts from the moment the splash is loaded.
    auto *timer = new QTimer(this);
    timer->setObjectName(QStringLiteral("tmrTimer"));
    timer->setInterval(m_timings.tickMs);
    connect(timer, &QTimer::timeout, this, [this] { tmrTimer_Timer(0); });
    timer->start();
    m_tmrTimer[0] = timer;
}

void Splash::Form_Load()
{
    m_mainWindow->hide();
    Command1_Click();
}

void Splash::Command1_Click()
{
    EventWaits::timedWait(m_timings.waitMs, this);
    hide();
    m_mainWindow->show();
}

void Splash::tmrTimer_Timer(int index)
{
    ++m_timerTicks[index];
    const int count = m_timerTicks[index];
    m_txtTime[index]->setText(QLatin1Char(' ') + QString::number(count));
    for (int i = 0; i < m_timings.yieldsPerTick; ++i)
        EventWaits::yieldOnce();
    if (count == 5)
        m_mainWindow->show();
    else if (count == 10)
        m_unload();
}
