#pragma once

#include <QRect>

// The windows are designed in twips, 1/1440 inch: 15 twips to a pixel at
// 96 dpi. Both windows place their controls through these two functions.
namespace mensura {

constexpr int kTwipsPerPixel = 15;

constexpr int Pixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

// A place given in twips as left, top, width and height, in pixels. The
// edges are rounded, not the width, so that neighbours stay neighbours.
inline QRect Twips(int left, int top, int width, int height) {
    return QRect(QPoint(Pixels(left), Pixels(top)),
                 QPoint(Pixels(left + width) - 1, Pixels(top + height) - 1));
}

}  // namespace mensura
