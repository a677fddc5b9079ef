#include "app/Color1.h"

#include "platform/EventWaits.h"
#include "platform/Twips.h"
#include "platform/ui/DesignFont.h"
#include "platform/ui/ToolkitColor.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include <array>

namespace {

struct Question
{
    ColorSetting setting;
    const char *caption;
    const char *text;
};

const std::array<Question, 3> questions = {{
    {ColorSetting::Desktop, "New Desktop Background Color", "Keep the new desktop background color?"},
    {ColorSetting::Folders, "New Folders Background Color", "Keep the new folders background color?"},
    {ColorSetting::Files, "New Files Background Color", "Keep the new files background color?"},
}};

} // namespace

Color1::Color1(QWidget *parent, Actions actions)
    : QWidget(parent, Qt::Window),
      m_actions(std::move(actions))
{
    setObjectName(QStringLiteral("Color1"));
    resize(Twips::size(5460, 2595));
    DesignFont::apply(this);
    ToolkitColor::setBackColor(this, ToolkitColor::White);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(Twips::rect(840, 1080, 3975, 375));
    ToolkitColor::setBackColor(Label1, ToolkitColor::White);
    ToolkitColor::setForeColor(Label1, ToolkitColor::Highlight);

    Command1 = new QPushButton(QStringLiteral("Okay"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setGeometry(Twips::rect(720, 1680, 1095, 375));
    Command2 = new QPushButton(QStringLiteral("Cancel"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setGeometry(Twips::rect(3000, 1680, 1215, 375));
    // A plain window: Enter and Esc press nothing.
    Command1->setAutoDefault(false);
    Command2->setAutoDefault(false);

    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

void Color1::ask(ColorSetting setting)
{
    for (const Question &question : questions) {
        if (question.setting == setting) {
            setWindowTitle(QString::fromLatin1(question.caption));
            Label1->setText(QString::fromLatin1(question.text));
        }
    }
}

std::optional<ColorSetting> Color1::captionSetting() const
{
    for (const Question &question : questions) {
        if (windowTitle() == QLatin1String(question.caption))
            return question.setting;
    }
    return std::nullopt;
}

void Color1::Command1_Click()
{
    if (const std::optional<ColorSetting> setting = captionSetting())
        m_actions.save(*setting);
    m_actions.unload();
}

void Color1::Command2_Click()
{
    const std::optional<ColorSetting> setting = captionSetting();
    if (!setting)
        return;
    m_actions.load(*setting);
    const QPointer<Color1> self(this);
    EventWaits::yieldOnce();
    // The yield may have run the close box's unload already.
    if (self)
        m_actions.unload();
}

void Color1::closeEvent(QCloseEvent *event)
{
    // The close box unloads without an answer: the colour stays on screen, nothing is stored.
    event->accept();
    m_actions.unload();
}
