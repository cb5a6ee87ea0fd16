#pragma once

// The help window's page view: a QTextBrowser that takes every page and
// picture from the open help file under the "help" URL scheme
// ("help:/units.html") and from nowhere else, pages through the sanitizer
// and pictures through the page's image budget, uses no style sheet of the
// file's, shows no tooltip and no popup of a page's making, and zooms its
// text and tables within limits (Ctrl+Plus, Ctrl+Minus, Ctrl+0, Ctrl+wheel).
#include <QTextBrowser>
#include <QTimer>

#include "page_images.h"

namespace mensura {

namespace helpfile {
class ChmFile;
}

// What a page of the help file, or anything it refers to, is answered
// with, for a URL of the help scheme: a page sanitized (SanitizePage), a
// page that says so for a missing page, a picture through images (which
// starts a new page whenever a page is loaded); a refused picture for a
// picture from anywhere else, and an empty answer for style sheets and
// anything else. Never a null answer, which would send Qt to the disk.
QVariant LoadHelpResource(const helpfile::ChmFile* file, PageImages& images, int type,
                          const QUrl& url);
// How PageImages reads pictures: from the help file *file points to, if any.
PageImages::Reader ObjectReader(const helpfile::ChmFile* const* file);

// The help's own style sheet, its sizes at `percent` of their own.
QString HelpStyleSheet(int percent);
// `palette` with the page's own colours from that style sheet: the view's
// background, and its text colour, in which Qt draws what the sheet cannot
// reach (a list's bullets and numbers), from the sheet's list items.
QPalette PagePalette(QPalette palette);

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void SetFile(const helpfile::ChmFile* file) { m_file = file; }
    QVariant loadResource(int type, const QUrl& name) override;

    // The zoom, in per cent of the page's own size, and its steps. Steps
    // that come together (keys held or pressed while a slow page is laid
    // out) are laid out once, as one, when the event loop next runs.
    void ZoomIn();
    void ZoomOut();
    void ResetZoom();

signals:
    void ZoomChanged(int percent);

protected:
    bool viewportEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void SetZoom(int percent);
    void ApplyZoom();

    const helpfile::ChmFile* m_file = nullptr;
    PageImages m_images;
    QFont m_baseFont;
    int m_zoom = 100;     // asked for
    int m_applied = 100;  // laid out
    QTimer m_zoomLater;
};

}  // namespace mensura
