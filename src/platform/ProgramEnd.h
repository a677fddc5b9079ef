#pragma once

// Ending the program at once: no window is asked and no close handler runs.
class ProgramEnd
{
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
    virtual bool isEnding() const = 0;
};
