#pragma once

// Where the main window's result rows sit, in twips. Rows 1 to 8 stand
// above the input band and 9 to 15 below it, one every 330 twips; each
// value label ends just left of its row's name label.
#include <QRect>

#include "twips.h"

namespace mensura {

// The client area below the menu bar.
constexpr int kClientWidth = 5400;
constexpr int kClientHeight = 6180;

inline QRect NameLabelPlace(int row) {
    return row <= 8 ? Twips(3660, 330 * (row - 1), 1605, 315)
                    : Twips(3390, 3240 + 330 * (row - 9), 1875, 315);
}

inline QRect ValueLabelPlace(int row) {
    return row <= 8 ? Twips(3480, 330 * (row - 1), 135, 315)
                    : Twips(3210, 3240 + 330 * (row - 9), 135, 315);
}

}  // namespace mensura
