#include "fileops/Standby.h"

#include "platform/ProgramEnd.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/ToolkitColor.h"

#include <QEventLoop>
#include <QLabel>
#include "platform/Twips.h"

#include <QLineEdit>
#include <QPointer>
#include <QTimer>

namespace {
int px(int twips) { return Twips::pixels(twips); }

struct Rect { int left, top, width, height; };
constexpr Rect windowRect{45, 7800, 12000, 375};
constexpr Rect label1Rect{0, 0, 8064, 255};
constexpr Rect text1Rect{0, 7500, 8064, 420};

void place(QWidget *widget, const Rect &r)
{
    widget->setGeometry(px(r.left), px(r.top), px(r.width), px(r.height));
}

QString designText() { return QStringLiteral("Deleting ..."); }
} // namespace

Standby::Standby(ProgramEnd &programEnd, int tickMs)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      m_programEnd(programEnd),
      m_label1(new QLabel(this)),
      m_text1(new QLineEdit(this)),
      m_timer1(new QTimer(this))
{
    setObjectName(QStringLiteral("Standby"));
    setWindowTitle(QStringLiteral("Form9"));
    // A status strip: showing it must not take the keyboard from the window the user works in.
    setAttribute(Qt::WA_ShowWithoutActivating);
    place(this, windowRect);
    DesignFont::apply(this);
    ToolkitColor::setBackColor(this, ToolkitColor::Red);
    ToolkitColor::setForeColor(this, ToolkitColor::HighlightText);

    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setTextFormat(Qt::PlainText); // it shows paths
    place(m_label1, label1Rect);
    ToolkitColor::setBackColor(m_label1, ToolkitColor::Red);
    ToolkitColor::setForeColor(m_label1, ToolkitColor::HighlightText);

    m_text1->setObjectName(QStringLiteral("Text1"));
    place(m_text1, text1Rect);
    m_text1->setText(designText());
    m_text1->hide();

    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setTimerType(Qt::PreciseTimer);
    m_timer1->setInterval(tickMs);
    connect(m_timer1, &QTimer::timeout, this, &Standby::Timer1_Timer);
    // Enabled by design: the first tick after loading switches it off.
    m_timer1->start();
}

Standby::~Standby()
{
    endWaits();
}

QString Standby::labelText() const
{
    return m_label1->text();
}

void Standby::setLabelText(const QString &text)
{
    m_label1->setText(text);
}

void Standby::Command1()
{
    typeOrWait(true);
}

void Standby::Command3()
{
    typeOrWait(false);
}

void Standby::Timer1_Timer()
{
    m_timer1->stop();
}

void Standby::typeOrWait(bool typing)
{
    m_label1->clear();
    const qsizetype n = m_text1->text().size();
    for (qsizetype i = 0; i < n; ++i) {
        if (typing) {
            // Text1 is read again at every letter: a caller may change it meanwhile.
            m_label1->setText(m_label1->text() + m_text1->text().mid(i, 1));
        }
        if (!waitStep())
            return; // `this` may be gone
    }
}

bool Standby::waitStep()
{
    if (m_closing || m_programEnd.isEnding())
        return false;
    QPointer<Standby> self(this);
    QEventLoop loop;
    connect(m_timer1, &QTimer::timeout, &loop, &QEventLoop::quit);
    connect(this, &Standby::destroyed, &loop, &QEventLoop::quit);
    connect(this, &Standby::closing, &loop, &QEventLoop::quit);
    m_timer1->start();
    loop.exec();
    return self && !self->m_closing && !m_programEnd.isEnding();
}

void Standby::endWaits()
{
    m_closing = true;
    m_timer1->stop();
    Q_EMIT closing();
}
