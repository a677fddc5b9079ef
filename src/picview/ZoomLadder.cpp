#include "picview/ZoomLadder.h"

#include <cmath>

double ZoomStep::sizeFactor() const
{
    return std::ldexp(1.0, sizeExponent);
}

double ZoomStep::printFactor() const
{
    return printDivides ? 1.0 / printNumber : double(printNumber);
}

namespace ZoomLadder {

const QList<ZoomStep> &steps()
{
    static const QList<ZoomStep> ladder = {
        {QStringLiteral("Magnification X10"), 5, 10, false},
        {QStringLiteral("Magnification X8"), 4, 8, false},
        {QStringLiteral("Magnification X6"), 3, 6, false},
        {QStringLiteral("Magnification X4"), 2, 4, false},
        {QStringLiteral("Magnification X2"), 1, 2, false},
        {QStringLiteral("True Size"), 0, 1, false},
        {QStringLiteral("Size/2"), -1, 2, true},
        {QStringLiteral("Size/4"), -2, 4, true},
        {QStringLiteral("Size/6"), -3, 6, true},
        {QStringLiteral("Size/8"), -4, 8, true},
        {QStringLiteral("Size/10"), -5, 10, true},
    };
    return ladder;
}

QString trueSize()
{
    return QStringLiteral("True Size");
}

namespace {
int indexOf(const QString &caption)
{
    const QList<ZoomStep> &ladder = steps();
    for (int i = 0; i < ladder.size(); ++i) {
        if (ladder.at(i).caption == caption)
            return i;
    }
    return -1;
}

std::optional<QString> captionAt(int index)
{
    if (index < 0 || index >= steps().size())
        return std::nullopt;
    return steps().at(index).caption;
}
} // namespace

std::optional<ZoomStep> step(const QString &caption)
{
    const int index = indexOf(caption);
    if (index < 0)
        return std::nullopt;
    return steps().at(index);
}

std::optional<QString> captionAbove(const QString &caption)
{
    const int index = indexOf(caption);
    return index < 0 ? std::nullopt : captionAt(index - 1);
}

std::optional<QString> captionBelow(const QString &caption)
{
    const int index = indexOf(caption);
    return index < 0 ? std::nullopt : captionAt(index + 1);
}

} // namespace ZoomLadder
