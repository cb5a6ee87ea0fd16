#pragma once

// The help window's page view: a QTextBrowser that takes every page,
// picture and style sheet from the open help file under the "help" URL
// scheme ("help:/units.html") and from nowhere else, shows no tooltip and
// no popup of a page's making, and zooms its text and tables within
// limits (Ctrl+Plus, Ctrl+Minus, Ctrl+0, Ctrl+wheel).
#include <QTextBrowser>

namespace mensura {

namespace helpfile {
class ChmFile;
}

// What a page of the help file, or anything it refers to, is answered
// with: the object from the file for a URL of the help scheme, a page that
// says so for a missing page, and an empty answer for anything else.
QVariant LoadHelpResource(const helpfile::ChmFile* file, int type, const QUrl& url);

class HelpBrowser : public QTextBrowser {
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget* parent = nullptr);

    void SetFile(const helpfile::ChmFile* file) { m_file = file; }
    QVariant loadResource(int type, const QUrl& name) override;

    // The zoom, in per cent of the page's own size, and its steps.
    int Zoom() const { return m_zoom; }
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

    const helpfile::ChmFile* m_file = nullptr;
    QFont m_baseFont;
    int m_zoom = 100;
};

}  // namespace mensura
