// The set-up both programs make once at start (style, font substitutes,
// name, version, desktop id), their standard font and their window icon.
#include "application.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QStringList>
#include <QStyleFactory>
#include <QStyleOption>
#include <QtMath>
#include <algorithm>
#include <functional>

#include "icon_pixels.h"
#include "version.h"

// The icon's drawing is a resource of its own, linked in from the static
// library by this reference and registered only when it is first needed.
// Q_INIT_RESOURCE names a function of the global namespace.
static void InitLookResources() {
    Q_INIT_RESOURCE(look);
}

namespace mensura {

namespace {

// MS Sans Serif at 8 pt averages 6 px over the 52 letters (its dialog base
// unit is 6 x 13 px). Liberation Sans at 11 px averages 6.4 px, Liberation
// Sans Narrow 5.3 px, DejaVu Sans, the fallback, 6.8 px.
constexpr double kAverageLetterWidth = 6.0;
constexpr int kPixelSize = 11;

// An icon that is made only when it is first drawn or measured.
class LazyIconEngine : public QIconEngine {
public:
    explicit LazyIconEngine(std::function<QIcon()> make) : m_make(std::move(make)) {}
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        Icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().pixmap(size, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return Icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return Icon().availableSizes(mode, state);
    }
    // A copy made after the first use keeps the icon already made.
    QIconEngine* clone() const override { return new LazyIconEngine(*this); }
    QString key() const override { return QStringLiteral("mensura-lazy"); }

private:
    const QIcon& Icon() {
        if (m_make) {
            m_icon = m_make();
            m_make = nullptr;
        }
        return m_icon;
    }

    std::function<QIcon()> m_make;
    QIcon m_icon;
};

// The window icon: its pictures, 16 to 256 pixels, from pixels compiled into
// the program, and for any larger size (a large icon on a dense screen) the
// icon's own drawing, mensura.svg, read when such a size is first asked for.
// Where Qt cannot read SVG, the largest picture stands in for it. A picture
// becomes a pixmap only while a size is drawn, and none is kept: the
// desktop asks for each size once, when a window is first shown.
class WindowIconEngine : public QIconEngine {
public:
    WindowIconEngine() {
        // Views of the compiled pixels, smallest first; nothing is copied.
        for (int i = 0; i < kIconImageCount; ++i) {
            const IconImage& image = kIconImages[i];
            m_pictures.append(QImage(reinterpret_cast<const uchar*>(image.pixels), image.width,
                                     image.height, QImage::Format_ARGB32));
        }
        std::sort(m_pictures.begin(), m_pictures.end(),
                  [](const QImage& a, const QImage& b) { return a.width() < b.width(); });
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap shown = pixmap(rect.size() * ratio, mode, state);
        shown.setDevicePixelRatio(ratio);
        QRect place(QPoint(), (QSizeF(shown.size()) / ratio).toSize());
        place.moveCenter(rect.center());
        painter->drawPixmap(place, shown);
    }
    // Sizes here are in device pixels: QIcon has already applied the ratio.
    // The smallest picture at least as large, scaled down to the size where
    // it is larger, as Qt's own icons do.
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (const QIcon* drawing = Drawing(size)) return drawing->pixmap(size, 1.0, mode, state);
        const QImage& picture = PictureFor(size);
        QPixmap shown = QPixmap::fromImage(
            picture.width() > size.width() || picture.height() > size.height()
                ? picture.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                : picture);
        if (mode != QIcon::Normal && QApplication::style()) {
            QStyleOption option;
            option.palette = QGuiApplication::palette();
            shown = QApplication::style()->generatedIconPixmap(mode, shown, &option);
        }
        return shown;
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        if (const QIcon* drawing = Drawing(size)) return drawing->actualSize(size, mode, state);
        return PictureFor(size).size().boundedTo(size);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        QList<QSize> sizes;
        if (mode == QIcon::Normal && state == QIcon::Off)
            for (const QImage& picture : m_pictures) sizes.append(picture.size());
        return sizes;
    }
    QIconEngine* clone() const override { return new WindowIconEngine(*this); }
    QString key() const override { return QStringLiteral("mensura-window-icon"); }

private:
    const QImage& PictureFor(const QSize& size) const {
        for (const QImage& picture : m_pictures)
            if (picture.width() >= size.width() && picture.height() >= size.height())
                return picture;
        return m_pictures.last();
    }
    // The drawing, for a size larger than every picture, where it can be read.
    const QIcon* Drawing(const QSize& size) {
        const QImage& largest = m_pictures.last();
        if (size.width() <= largest.width() && size.height() <= largest.height()) return nullptr;
        if (!m_drawingRead) {
            m_drawingRead = true;
            InitLookResources();
            m_drawing = QIcon(QStringLiteral(":/look/mensura.svg"));
        }
        return m_drawing.isNull() ? nullptr : &m_drawing;
    }

    QList<QImage> m_pictures;
    QIcon m_drawing;
    bool m_drawingRead = false;
};

// Fusion, except that the menu bar's extension button, shown only when the
// menus do not fit the bar, decodes its arrow when it is first drawn rather
// than when the menu bar is built: the decoding loads Qt's image plugins,
// which would delay the window's first appearance.
class MensuraStyle : public QProxyStyle {
public:
    MensuraStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}
    QIcon standardIcon(StandardPixmap icon, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (icon != SP_ToolBarHorizontalExtensionButton &&
            icon != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(icon, option, widget);
        const Qt::LayoutDirection direction =
            option ? option->direction : QGuiApplication::layoutDirection();
        const QPointer<QStyle> fusion = baseStyle();
        return QIcon(new LazyIconEngine([fusion, icon, direction] {
            QStyleOption directed;
            directed.direction = direction;
            return fusion ? fusion->standardIcon(icon, &directed, nullptr) : QIcon();
        }));
    }
};

// Keeps windows of fixed size out of the maximized state. On Wayland, Qt
// draws the window decoration itself and offers maximize even where the
// window's size is fixed; some compositors then give the window the whole
// screen (weston 14 with Qt 6.8 does), with the fixed layout stuck in one
// corner. The request is undone, and the window keeps its size.
class FixedSizeKeeper : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::WindowStateChange && watched->isWidgetType()) {
            auto* window = static_cast<QWidget*>(watched);
            if (window->isWindow() && window->minimumSize() == window->maximumSize() &&
                window->windowState().testFlag(Qt::WindowMaximized)) {
                const QPointer<QWidget> keep(window);
                QMetaObject::invokeMethod(
                    window,
                    [keep] {
                        if (keep) keep->setWindowState(keep->windowState() & ~Qt::WindowMaximized);
                    },
                    Qt::QueuedConnection);
            }
        }
        return false;
    }
};

}  // namespace

void PrepareApplication() {
    QApplication::setStyle(new MensuraStyle);
    qApp->installEventFilter(new FixedSizeKeeper(qApp));
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
    // Asked for by the installed stand-in's own name: a request for a family
    // that is not installed also makes Qt list its fallbacks, a font search
    // of its own on every start.
    QString family = QStringLiteral("MS Sans Serif");
    for (const QString& candidate : QFont::substitutes(family)) {
        if (QFontDatabase::hasFamily(candidate)) {
            family = candidate;
            break;
        }
    }
    QFont font(family);
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

QIcon WindowIcon() {
    return QIcon(new WindowIconEngine);
}

}  // namespace mensura
