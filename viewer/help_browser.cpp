#include "help_browser.h"

#include <QEvent>
#include <QTextDocument>
#include <QWheelEvent>
#include <algorithm>
#include <array>

#include "chm_file.h"
#include "help_page.h"

namespace mensura {

namespace {

// The zoom's steps, in per cent, as a web browser has them.
constexpr std::array<int, 13> kZoomSteps{50,  67,  75,  80,  90,  100, 110,
                                         125, 150, 175, 200, 250, 300};

}  // namespace

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent), m_baseFont(font()) {}

QVariant HelpBrowser::loadResource(int type, const QUrl& name) {
    return LoadHelpResource(m_file, type, name.isRelative() ? source().resolved(name) : name);
}

QVariant LoadHelpResource(const helpfile::ChmFile* file, int type, const QUrl& url) {
    // Anything else gets nothing, and a non-null nothing, so that the
    // document does not go looking for it on the disk itself.
    if (!file || url.scheme() != kHelpScheme) return QByteArray();
    const std::string path = url.path(QUrl::FullyDecoded).toStdString();
    if (const std::optional<std::string> object = file->Object(path))
        return QByteArray(object->data(), static_cast<qsizetype>(object->size()));
    if (type != QTextDocument::HtmlResource) return QByteArray();
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

// The text and the tables' text follow the view's font; headings are sized
// against it.
void HelpBrowser::SetZoom(int percent) {
    if (percent == m_zoom) return;
    m_zoom = percent;
    QFont zoomed = m_baseFont;
    if (m_baseFont.pointSizeF() > 0)
        zoomed.setPointSizeF(m_baseFont.pointSizeF() * percent / 100.0);
    else
        zoomed.setPixelSize(std::max(1, m_baseFont.pixelSize() * percent / 100));
    setFont(zoomed);
    emit ZoomChanged(percent);
}

}  // namespace mensura
