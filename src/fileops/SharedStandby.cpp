#include "fileops/SharedStandby.h"

SharedStandby::SharedStandby(ProgramEnd &programEnd, int tickMs)
    : m_window([&programEnd, tickMs] { return new Standby(programEnd, tickMs); })
{
}

void SharedStandby::show()
{
    window()->show();
}

void SharedStandby::Command1()
{
    window()->Command1();
}

void SharedStandby::Command3()
{
    window()->Command3();
}

void SharedStandby::Command2()
{
    if (Standby *standby = m_window.ifLoaded())
        standby->endWaits();
    m_window.unload();
}

void SharedStandby::setLabel1(const QString &text)
{
    window()->setLabelText(text);
}
