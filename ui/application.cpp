#include "application.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QStringList>
#include <QtMath>

#include "version.h"

namespace mensura {

namespace {

// MS Sans Serif at 8 pt averages 6 px over the 52 letters (its dialog base
// unit is 6 x 13 px). Liberation Sans at 11 px averages 6.4 px, Liberation
// Sans Narrow 5.3 px, DejaVu Sans, the fallback, 6.8 px.
constexpr double kAverageLetterWidth = 6.0;
constexpr int kPixelSize = 11;

}  // namespace

void PrepareApplication() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    // Liberation Sans and Arimo share Arial's advance widths; without them
    // fontconfig would pick DejaVu Sans, whose captions do not fit.
    const QStringList arialMetric{QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                                  QStringLiteral("Arial")};
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), arialMetric);
    QFont::insertSubstitutions(QStringLiteral("Arial"), arialMetric);
    QApplication::setApplicationName(QStringLiteral("Mensura"));
    QApplication::setApplicationVersion(QStringLiteral(MENSURA_VERSION));
    // On Wayland this becomes the window's app id, by which the desktop finds
    // the menu entry and its icon; X11 desktops match StartupWMClass instead.
    QGuiApplication::setDesktopFileName(QStringLiteral(MENSURA_APP_ID));
}

QFont StandardFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(kPixelSize);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double average = QFontMetricsF(font).horizontalAdvance(letters) / double(letters.size());
    // A few per cent of horizontal stretch bring an Arial-metric font to the
    // original's width, so the prompt and the longest unit names keep fitting
    // the places designed for them; a narrower font is left as it is.
    if (average > kAverageLetterWidth)
        font.setStretch(qBound(85, qFloor(100.0 * kAverageLetterWidth / average), 100));
    return font;
}

}  // namespace mensura
