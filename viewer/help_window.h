#pragma once

// Mensura's help window: a compiled help file (.chm) shown in a page view
// (help_browser.h), with a Contents pane built from the file's table of
// contents, an Index pane of its keywords (index_pane.h), a Search pane
// over the text of all its pages, Back, Forward and Home, a find bar
// (find_bar.h), zoom, and printing (handed to a process of its own).
// Ctrl+W closes it, and so does Escape, once it has emptied the Index or
// Search field it is pressed in and closed the find bar. A contents title
// cut off at the pane's edge shows whole in its tooltip; the print dialog
// stands over this window.
//
// Nothing is read from the disk or the network: no scripts run, and a link
// to outside the file is shown as its address and handed to the desktop's
// web browser, if there is one. The file may come from any folder and is
// read through the guarded reader of helpfile/; a file that cannot be read
// gets a message in the window, as does a file found nowhere.
#include <QMainWindow>
#include <QUrl>
#include <functional>
#include <memory>

#include "help_search_index.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace mensura {

class FindBar;
class HelpBrowser;
class IndexPane;

namespace helpfile {
class ChmFile;
}

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Shows the first of these places (paths in the system's bytes) that
    // holds a readable help file, naming in the status bar the ones passed
    // over; a message when none does.
    void ShowFirstOf(const QByteArrayList& places);
    // The help file shown, in the system's bytes; empty while a message is
    // shown instead.
    QByteArray FilePath() const { return m_path; }
    // The page shown ("help:/units.html"); empty while a message is shown.
    QUrl CurrentPage() const;
    // Its title, on one line.
    QString PageTitle() const;

    // How a link to outside the help file is handed on; false when nothing
    // could open it. QDesktopServices::openUrl, unless a test replaces it.
    using ExternalOpener = std::function<bool(const QUrl&)>;
    void SetExternalOpener(ExternalOpener opener) { m_openExternal = std::move(opener); }

    // Sizes and places the window within the screen it is on.
    void FitToScreen();

signals:
    // Ctrl+P: the page shown, of the file shown, is to be printed.
    void PrintRequested(const QByteArray& file, const QUrl& page);

private:
    void BuildWindow();
    void AddKeys();
    // Says that no help file was found, naming every place tried, in order.
    void ShowNotFound(const QByteArrayList& tried);
    QString OpenFile(const QByteArray& path);
    void ShowMessage(const QString& heading, const QString& body);
    void ShowDefaultTopic();
    void BuildContents();
    void FollowLink(const QUrl& link);
    void ShowHoveredLink(const QUrl& link);
    void SelectInContents(const QUrl& page);
    void ContentsItemChosen(QTreeWidgetItem* item);
    void RunSearch();
    void ShowSearchHit(const QUrl& page);

    std::unique_ptr<helpfile::ChmFile> m_file;
    QByteArray m_path;
    QUrl m_home;
    HelpSearchIndex m_searchIndex;  // built at the first search
    bool m_syncingContents = false;
    ExternalOpener m_openExternal;

    HelpBrowser* m_browser = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_searchText = nullptr;
    QListWidget* m_searchResults = nullptr;
    QLabel* m_searchStatus = nullptr;
    QAction* m_homeAction = nullptr;
    IndexPane* m_indexPane = nullptr;
    FindBar* m_findBar = nullptr;
};

}  // namespace mensura
