#pragma once

#include <QList>
#include <QString>

#include <optional>

// One step of the viewer's zoom ladder. The caption names the step; each step up doubles the
// image and each step down halves it, so the caption's number is the size factor only up to
// "Magnification X4" and "Size/4". The print-out scales by the caption's number instead.
struct ZoomStep
{
    QString caption;
    // The image size at this step is 2^sizeExponent times its size at "True Size".
    int sizeExponent;
    // The number in the caption: the print-out multiplies by it, or divides by it when divides.
    int printNumber;
    bool printDivides;

    double sizeFactor() const;
    double printFactor() const;
};

namespace ZoomLadder {

// The eleven steps from the top ("Magnification X10") down to "Size/10".
const QList<ZoomStep> &steps();
QString trueSize();

// The step whose caption is exactly caption (with case); nothing for a caption off the ladder.
std::optional<ZoomStep> step(const QString &caption);
// The caption one step up or down; nothing at the ends of the ladder and off it.
std::optional<QString> captionAbove(const QString &caption);
std::optional<QString> captionBelow(const QString &caption);

} // namespace ZoomLadder
