#include "help_browser.h"

#include <QEvent>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTextDocument>
#include <QWheelEvent>
#include <algorithm>
#include <array>

#include "chm_file.h"
#include "help_page.h"
#include "help_style.h"
#include "page_sanitizer.h"

namespace mensura {

namespace {

// The zoom's steps, in per cent, as a web browser has them.
constexpr std::array<int, 13> kZoomSteps{50,  67,  75,  80,  90,  100, 110,
                                         125, 150, 175, 200, 250, 300};

// The colour a rule of the help's style sheet gives `property`; none
// where it gives none.
QColor SheetColour(const QString& selector, const QString& property) {
    const QString sheet = QString::fromUtf8(kHelpStyleSheet);
    const QRegularExpression rule(QStringLiteral("(?:^|[}\\s])%1\\s*\\{([^}]*)\\}")
                                      .arg(QRegularExpression::escape(selector)));
    const QRegularExpression colour(QStringLiteral("(?:^|[;\\s])%1\\s*:\\s*(#[0-9a-fA-F]{6})\\b")
                                        .arg(QRegularExpression::escape(property)));
    const QRegularExpressionMatch found = colour.match(rule.match(sheet).captured(1));
    return found.hasMatch() ? QColor::fromString(found.captured(1)) : QColor();
}

}  // namespace

QPalette PagePalette(QPalette palette) {
    const QColor text = SheetColour(QStringLiteral("li"), QStringLiteral("color"));
    const QColor page = SheetColour(QStringLiteral("body"), QStringLiteral("background-color"));
    if (text.isValid()) palette.setColor(QPalette::Text, text);
    if (page.isValid()) palette.setColor(QPalette::Base, page);
    return palette;
}

QString HelpStyleSheet(int percent) {
    // Sizes in points follow the zoom; lengths in pixels (margins,
    // padding) stay, as a browser's zoom leaves borders alone.
    static const QRegularExpression points(QStringLiteral("(\\d+(?:\\.\\d+)?)pt\\b"));
    QString sheet = QString::fromUtf8(kHelpStyleSheet);
    QString scaled;
    qsizetype from = 0;
    for (auto it = points.globalMatch(sheet); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        scaled += sheet.mid(from, match.capturedStart() - from);
        scaled += QString::number(match.captured(1).toDouble() * percent / 100.0, 'g', 4) +
                  QStringLiteral("pt");
        from = match.capturedEnd();
    }
    return scaled + sheet.mid(from);
}

HelpBrowser::HelpBrowser(QWidget* parent)
    : QTextBrowser(parent), m_images(ObjectReader(&m_file)), m_baseFont(font()) {
    document()->setDefaultStyleSheet(HelpStyleSheet(100));
    setPalette(PagePalette(palette()));
    m_zoomLater.setSingleShot(true);
    m_zoomLater.setInterval(0);
    connect(&m_zoomLater, &QTimer::timeout, this, &HelpBrowser::ApplyZoom);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    return LoadHelpResource(m_file, m_images, type,
                            name.isRelative() ? source().resolved(name) : name);
}

PageImages::Reader ObjectReader(const helpfile::ChmFile* const* file) {
    return [file](const QString& path) -> std::optional<QByteArray> {
        if (!*file) return std::nullopt;
        const std::optional<std::string> object = (*file)->Object(path.toStdString());
        if (!object) return std::nullopt;
        return QByteArray(object->data(), static_cast<qsizetype>(object->size()));
    };
}

QVariant LoadHelpResource(const helpfile::ChmFile* file, PageImages& images, int type,
                          const QUrl& url) {
    const bool inFile = file && url.scheme() == kHelpScheme;
    // Every picture request gets a picture, a refused one when it is not in
    // the file, and anything else a non-null nothing, so that the document
    // never goes looking on the disk itself. The file's style sheets are
    // not used (a page keeps its class names for a style sheet of the
    // viewer's own).
    if (type == QTextDocument::ImageResource)
        return inFile ? images.Image(url.path(QUrl::FullyDecoded)) : PageImages::Refused();
    if (!inFile || type == QTextDocument::StyleSheetResource) return QByteArray();
    const std::string path = url.path(QUrl::FullyDecoded).toStdString();
    if (const std::optional<std::string> object = file->Object(path)) {
        images.StartPage();
        const std::string html = helpfile::SanitizePage(*object, path).html;
        return QByteArray(html.data(), static_cast<qsizetype>(html.size()));
    }
    return QStringLiteral(
               "<html><body><h2>Page not found</h2><p>The help file holds no page "
               "<code>%1</code>.</p></body></html>")
        .arg(url.path().toHtmlEscaped())
        .toUtf8();
}

// A page's tooltips would be rich text of the page's making: none is shown.
// Where a link leads stands in the status bar instead.
bool HelpBrowser::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip || event->type() == QEvent::WhatsThis) return true;
    return QTextBrowser::viewportEvent(event);
}

void HelpBrowser::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QTextBrowser::wheelEvent(event);
        return;
    }
    if (event->angleDelta().y() > 0)
        ZoomIn();
    else if (event->angleDelta().y() < 0)
        ZoomOut();
    event->accept();
}

void HelpBrowser::ZoomIn() {
    const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), m_zoom);
    if (next != kZoomSteps.end()) SetZoom(*next);
}

void HelpBrowser::ZoomOut() {
    const auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), m_zoom);
    if (below != kZoomSteps.begin()) SetZoom(*(below - 1));
}

void HelpBrowser::ResetZoom() {
    SetZoom(100);
}

void HelpBrowser::SetZoom(int percent) {
    if (percent == m_zoom) return;
    m_zoom = percent;
    m_zoomLater.start();
    emit ZoomChanged(percent);
}

// The style sheet's sizes and the view's own font follow the zoom; the page
// is laid out again where it was.
void HelpBrowser::ApplyZoom() {
    if (m_zoom == m_applied) return;
    m_applied = m_zoom;
    QFont zoomed = m_baseFont;
    if (m_baseFont.pointSizeF() > 0)
        zoomed.setPointSizeF(m_baseFont.pointSizeF() * m_zoom / 100.0);
    else
        zoomed.setPixelSize(std::max(1, m_baseFont.pixelSize() * m_zoom / 100));
    setFont(zoomed);
    document()->setDefaultStyleSheet(HelpStyleSheet(m_zoom));
    if (!source().isEmpty()) {
        QScrollBar* bar = verticalScrollBar();
        const double at = bar->maximum() > 0 ? double(bar->value()) / bar->maximum() : 0;
        reload();
        bar->setValue(int(at * bar->maximum()));
    }
}

}  // namespace mensura
