#pragma once

#include "textbox/SplitVector.h"

#include <QtGlobal>

#include <algorithm>
#include <vector>

// A run of consecutive parts, each of some length (lines in characters, lines in rows, a
// line's pieces in rows), and where each starts. Starts are kept in a SplitVector, and a change
// of length, which moves every start after it, is kept as one pending step: the starts after
// the step's part hold their value less the step, and the step is added to them only as later
// changes move it along. So a change costs the distance from the one before it, never the
// number of parts, and finding a part's start or the part at a place stays logarithmic.
template <typename T>
class Partitioning
{
public:
    // No parts.
    Partitioning() : m_starts(1, T(0)) {}

    qsizetype count() const { return qsizetype(m_starts.size()) - 1; }
    // Where part begins; start(count()) is the total.
    T start(qsizetype part) const
    {
        const T stored = m_starts[size_t(part)];
        return part > m_stepPart ? stored + m_step : stored;
    }
    T length(qsizetype part) const { return start(part + 1) - start(part); }
    T total() const { return start(count()); }

    // The last part that begins at or before position; the first before the start, the last
    // past the end. There must be a part.
    qsizetype partAt(T position) const
    {
        qsizetype low = 0;
        qsizetype high = count() - 1;
        while (low < high) {
            const qsizetype middle = (low + high + 1) / 2;
            if (start(middle) <= position)
                low = middle;
            else
                high = middle - 1;
        }
        return low;
    }

    // parts parts, part i of lengthOf(i).
    template <typename LengthOf>
    void assign(qsizetype parts, LengthOf lengthOf)
    {
        m_starts.assign(size_t(parts) + 1, T(0));
        T at = 0;
        for (qsizetype part = 0; part < parts; ++part) {
            at += lengthOf(part);
            m_starts[size_t(part) + 1] = at;
        }
        m_stepPart = 0;
        m_step = 0;
    }

    void changeLength(qsizetype part, T change)
    {
        if (change == 0)
            return;
        moveStepTo(part);
        m_step += change;
    }
    void setLength(qsizetype part, T length) { changeLength(part, length - this->length(part)); }

    // parts new parts before part (count() to append), new part i of lengthOf(i).
    template <typename LengthOf>
    void insert(qsizetype part, qsizetype parts, LengthOf lengthOf)
    {
        if (parts <= 0)
            return;
        moveStepTo(part);
        const T from = m_starts[size_t(part)];
        T at = from;
        std::vector<T> starts(static_cast<size_t>(parts));
        for (qsizetype i = 0; i < parts; ++i) {
            at += lengthOf(i);
            starts[size_t(i)] = at;
        }
        m_starts.insert(size_t(part) + 1, starts.begin(), starts.end());
        // The new starts hold their own values; those after them move on by the new lengths.
        m_stepPart = part + parts;
        m_step += at - from;
        dropEmptyStep();
    }
    // Removes parts parts from part on.
    void remove(qsizetype part, qsizetype parts)
    {
        if (parts <= 0)
            return;
        moveStepTo(part + parts);
        const T removed = m_starts[size_t(part + parts)] - m_starts[size_t(part)];
        m_starts.erase(size_t(part) + 1, size_t(parts));
        m_stepPart = part;
        m_step -= removed;
        dropEmptyStep();
    }

private:
    // Adds change to the stored starts from..to.
    void add(qsizetype from, qsizetype to, T change)
    {
        m_starts.forEachStretch(size_t(from), size_t(to), [change](T *first, T *last) {
            for (; first != last; ++first)
                *first += change;
        });
    }
    // The starts up to part hold their own values, those after it the value less the step.
    void moveStepTo(qsizetype part)
    {
        if (m_step != 0 && part > m_stepPart) {
            add(m_stepPart + 1, part + 1, m_step);
        } else if (m_step != 0 && part < m_stepPart) {
            // Back to part, or on to the end and a new step at part: whichever passes fewer.
            if (m_stepPart - part <= count() - m_stepPart) {
                add(part + 1, m_stepPart + 1, -m_step);
            } else {
                add(m_stepPart + 1, count() + 1, m_step);
                m_step = 0;
            }
        }
        m_stepPart = part;
        dropEmptyStep();
    }
    void dropEmptyStep()
    {
        if (m_stepPart >= count())
            m_step = 0;
    }

    SplitVector<T> m_starts;
    qsizetype m_stepPart = 0;
    T m_step = 0;
};
