#pragma once

#include <QRectF>
#include <QSizeF>

class QPainter;

// Background drawings of the Internet menu's windows, drawn as vectors into any target.
namespace SitePictures {

// The keyword prompt's: a sky-blue field with a globe under a magnifying glass.
QSizeF keywordSize();
void paintKeyword(QPainter &painter, const QRectF &target);

// The news prompt's: a frame of red and blue bands with white stars around a white field.
QSizeF newsSize();
void paintNews(QPainter &painter, const QRectF &target);

// The auction prompt's: a gavel over its block.
QSizeF auctionSize();
void paintAuction(QPainter &painter, const QRectF &target);

// Internet Start's: a globe linked to a screen.
QSizeF startSize();
void paintStart(QPainter &painter, const QRectF &target);

} // namespace SitePictures
