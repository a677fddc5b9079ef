#pragma once

#include "platform/ProgramEnd.h"

// Hides every window, marks the program as ending and leaves every running event loop.
class QtProgramEnd : public ProgramEnd
{
public:
    void endNow() override;
    bool isEnding() const override { return m_ending; }

private:
    bool m_ending = false;
};
