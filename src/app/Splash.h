#pragma once

#include <QWidget>

#include <array>
#include <functional>

class QLabel;
class QLineEdit;
class QTimer;

struct SplashTimings
{
    int waitMs = 1000;  // the wait before the main window shows
    int tickMs = 800;   // the splash timer
    int yieldsPerTick = 22;
};

// The start-up window: the logo and the product's name on black. It counts its timer's ticks
// in txtTime(0), shows the main window again at tick 5 and closes itself at tick 10.
class Splash : public QWidget
{
    Q_OBJECT

public:
    // unload: destroys this window (its shared instance's unload).
    Splash(QWidget *mainWindow, const SplashTimings &timings, std::function<void()> unload);

    // The load handler: keeps the main window hidden and presses Command1.
    void Form_Load();
    // The one-second wait; then the splash hides and the main window shows.
    void Command1_Click();
    void tmrTimer_Timer(int index);

    QLineEdit *txtTime(int index) const { return m_txtTime.at(index); }

private:
    QWidget *m_mainWindow;
    SplashTimings m_timings;
    std::function<void()> m_unload;
    std::array<QLineEdit *, 1> m_txtTime{};
    std::array<QTimer *, 1> m_tmrTimer{};
    std::array<int, 2> m_timerTicks{};
};
