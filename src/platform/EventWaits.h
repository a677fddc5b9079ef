#pragma once

class QObject;

// Yields and waits on the one user-interface thread. Pending events run nested inside them.
namespace EventWaits {

// Hands every pending event to its handler, then returns.
void yieldOnce();

// Waits ms milliseconds in a nested event loop. Ends early when guard (if given) is destroyed
// or the program is ending; returns false then.
bool timedWait(int ms, const QObject *guard = nullptr);

} // namespace EventWaits

// Yields about every sliceMs (from the start of one yield to the next), so that a long loop
// stays responsive without the quadratic cost of one yield per item. A slice of 0 yields on
// every call.
class TimeSliceYield
{
public:
    explicit TimeSliceYield(int sliceMs = 10);
    void maybeYield();
    // Whether the slice since the last yield is over (always, with a slice of 0); a loop that
    // has work to finish before each yield asks first, then yields with yieldNow().
    bool isDue() const;
    // The same, for a loop that ends this slice early, after sliceMs (at most the full slice),
    // to leave room for work of its own before the yield.
    bool isDue(int sliceMs) const;
    void yieldNow();

private:
    int m_sliceMs;
    long long m_lastYieldNs = 0;
};
