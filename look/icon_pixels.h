#pragma once

#include <cstdint>

namespace mensura {

// The window icon's images as 32-bit ARGB pixels (not premultiplied), row by
// row, made at build time from packaging/icons/mensura-*.png by
// mensura_icon_pixels. Decoding PNGs at start-up would load Qt's image
// plugins before the window could be shown.
struct IconImage {
    int width;
    int height;
    const std::uint32_t* pixels;
};

extern const IconImage kIconImages[];
extern const int kIconImageCount;

}  // namespace mensura
