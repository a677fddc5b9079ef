#include "platform/ui/DesignedWindow.h"

#include "platform/ui/DesignFont.h"
#include "platform/ui/ToolkitColor.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {
QWidget *plainControl(QWidget *parent, const ControlDesign &design)
{
    QWidget *widget = nullptr;
    switch (design.kind) {
    case ControlDesign::Kind::Label: {
        auto *label = new QLabel(design.text, parent);
        // Labels may come to show a path or a typed text: never as markup.
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlDesign::Kind::TextBox:
        widget = new QLineEdit(design.text, parent);
        break;
    case ControlDesign::Kind::CheckBox:
        widget = new QCheckBox(design.text, parent);
        break;
    case ControlDesign::Kind::List:
        widget = new QListView(parent);
        break;
    case ControlDesign::Kind::Button: {
        auto *button = new QPushButton(design.text, parent);
        // Neither Enter nor Esc presses a button of these windows.
        button->setAutoDefault(false);
        button->setDefault(false);
        widget = button;
        break;
    }
    }
    return widget;
}
} // namespace

DesignedWindow::DesignedWindow(const FormDesign &design, QWidget *parent)
    : QWidget(parent, design.toolWindow ? Qt::Tool : Qt::Window), m_picture(design.picture)
{
    setObjectName(design.name);
    setWindowTitle(design.caption);
    DesignFont::apply(this);
    resize(Twips::size(design.clientTwips.width(), design.clientTwips.height()));
    if (design.backColor)
        setClientColor(this, *design.backColor);

    QWidget *previous = nullptr;
    QWidget *firstFocus = nullptr;
    for (const ControlDesign &control : design.controls) {
        QWidget *widget = addControl(this, control);
        if (widget->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        if (!firstFocus && control.visible && control.enabled)
            firstFocus = widget;
        previous = widget;
    }
    if (firstFocus)
        firstFocus->setFocus();
    // A virtual call: the connection runs only once the window is fully built.
    connect(button(QStringLiteral("Command1")), &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(button(QStringLiteral("Command2")), &QPushButton::clicked, this, &DesignedWindow::Command2_Click);

    const QScreen *screen = QGuiApplication::primaryScreen();
    if (design.centred && screen)
        move(screen->availableGeometry().center() - rect().center());
}

void DesignedWindow::setClientColor(QWidget *client, qint32 color)
{
    ToolkitColor::setBackColor(client, color);
    // Only the window itself takes the colour: text boxes and buttons keep the system's.
    QPalette own = client->palette();
    const QPalette system = QApplication::palette();
    own.setColor(QPalette::Base, system.color(QPalette::Base));
    own.setColor(QPalette::Button, system.color(QPalette::Button));
    client->setPalette(own);
}

QWidget *DesignedWindow::addControl(QWidget *parent, const ControlDesign &design, QWidget *made)
{
    QWidget *widget = made ? made : plainControl(parent, design);
    widget->setObjectName(design.name);
    widget->setGeometry(Twips::rect(design.twips));
    if (design.backColor)
        ToolkitColor::setBackColor(widget, *design.backColor);
    if (design.foreColor)
        ToolkitColor::setForeColor(widget, *design.foreColor);
    DesignFont::apply(widget, design.pointSize, design.bold);
    if (!design.toolTip.isEmpty())
        widget->setToolTip(design.toolTip);
    if (!design.tabStop && widget->focusPolicy() != Qt::NoFocus)
        widget->setFocusPolicy(Qt::ClickFocus);
    widget->setEnabled(design.enabled);
    widget->setVisible(design.visible);
    return widget;
}

QLineEdit *DesignedWindow::text1() const
{
    return textBox(QStringLiteral("Text1"));
}

QLineEdit *DesignedWindow::text2() const
{
    return textBox(QStringLiteral("Text2"));
}

QLineEdit *DesignedWindow::textBox(const QString &name) const
{
    return findChild<QLineEdit *>(name, Qt::FindDirectChildrenOnly);
}

QPushButton *DesignedWindow::button(const QString &name) const
{
    return findChild<QPushButton *>(name, Qt::FindDirectChildrenOnly);
}

QLabel *DesignedWindow::label(const QString &name) const
{
    return findChild<QLabel *>(name, Qt::FindDirectChildrenOnly);
}

QCheckBox *DesignedWindow::checkBox(const QString &name) const
{
    return findChild<QCheckBox *>(name, Qt::FindDirectChildrenOnly);
}

void DesignedWindow::showInFront()
{
    // A window that only now appears is in front already.
    const bool wasVisible = isVisible();
    show();
    if (wasVisible)
        raise();
    activateWindow();
}

void DesignedWindow::Command2_Click()
{
    Q_EMIT unloadRequested();
}

void DesignedWindow::closeEvent(QCloseEvent *event)
{
    // The close box unloads the window, as "Cancel" does: the owner destroys it.
    event->accept();
    Q_EMIT unloadRequested();
}

void DesignedWindow::paintEvent(QPaintEvent *)
{
    if (m_picture.placement == DesignPicture::Placement::None || !m_picture.paint)
        return;
    QPainter painter(this);
    const QRectF target = m_picture.placement == DesignPicture::Placement::Fill
                              ? QRectF(rect())
                              : QRectF(QPointF(0, 0), m_picture.naturalSize);
    m_picture.paint(painter, target);
}
