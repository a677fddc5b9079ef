#pragma once

#include "settings/ColorStore.h"

#include <QWidget>

#include <functional>
#include <optional>

class QLabel;
class QPushButton;

// The question after a colour was picked: keep it ("Okay") or put the stored one back
// ("Cancel"). Not modal. Its caption names the setting that waits for the answer; both buttons
// go by the caption, so a caption that is none of the three makes them do nothing of their own.
class Color1 : public QWidget
{
    Q_OBJECT

public:
    struct Actions
    {
        std::function<void(ColorSetting)> save;   // BackColorSave, DirBoxColorSave, FileBoxColorSave
        std::function<void(ColorSetting)> load;   // BackColorLoad, DirBoxColorLoad, FileBoxColorLoad
        std::function<void()> unload;             // destroys this window
    };

    Color1(QWidget *parent, Actions actions);

    // Sets the caption and the question for setting.
    void ask(ColorSetting setting);
    // The setting whose caption the window shows, exactly and with case; nothing for another.
    std::optional<ColorSetting> captionSetting() const;

    // "Okay": stores the colour shown for the caption's setting, then unloads.
    void Command1_Click();
    // "Cancel": loads the stored colour of the caption's setting, yields, then unloads.
    void Command2_Click();

    QLabel *Label1;
    QPushButton *Command1;
    QPushButton *Command2;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    Actions m_actions;
};
