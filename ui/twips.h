#pragma once

#include <QRect>

// The windows are designed in twips, 1/1440 inch: 15 twips to a pixel at
// 96 dpi. Both windows place their controls through these two functions.
namespace mensura {

constexpr int kTwipsPerPixel = 15;

// To the nearest pixel, on either side of zero: the About window places
// pictures partly beyond its left and top edges (-210 twips is -14 px).
// 15 is odd, so a whole number of twips never lies halfway between pixels.
constexpr int Pixels(int twips) {
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}
static_assert(Pixels(-210) == -14 && Pixels(-232) == -15 && Pixels(-233) == -16);
static_assert(Pixels(3487) == 232 && Pixels(3488) == 233);

// A place given in twips as left, top, width and height, in pixels. The
// edges are rounded, not the width, so that neighbours stay neighbours.
inline QRect Twips(int left, int top, int width, int height) {
    return QRect(QPoint(Pixels(left), Pixels(top)),
                 QPoint(Pixels(left + width) - 1, Pixels(top + height) - 1));
}

}  // namespace mensura
