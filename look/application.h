#pragma once

// The look Mensura and its help viewer share: the application's set-up, the
// windows' standard font and their icon.

#include <QFont>
#include <QIcon>

namespace mensura {

// Settings the whole program shares; call once, after the QApplication
// exists and before the first window is built.
//  - Fusion style everywhere: the window is laid out in fixed pixels, and
//    Fusion's controls keep their text readable at the 21-px heights used
//    (with the menu bar's rarely seen extension arrow made when first drawn).
//  - "MS Sans Serif" and "Arial", the fonts the windows are designed in,
//    mapped to installed fonts of the same widths.
//  - Program name and version, and the id of the desktop entry.
//  - Windows of fixed size stay unmaximized, whatever their decoration offers.
void PrepareApplication();

// The windows' standard font: "MS Sans Serif" 8.25 pt, which is 11 px at
// 96 dpi. Given in pixels so that it scales with the layout, which is in
// pixels too. A stand-in wider than the original is narrowed to its width.
QFont StandardFont();

// The windows' icon: 16, 24, 32, 48, 64, 128 and 256 pixels from pixels
// compiled into the program, nothing to decode before a window can be shown;
// larger sizes are drawn from the icon's SVG drawing.
QIcon WindowIcon();

}  // namespace mensura
