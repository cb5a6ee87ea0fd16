#pragma once

// Mensura's help window: a compiled help file (.chm) shown in a
// QTextBrowser, with a Contents pane built from the file's table of
// contents, a Search pane over the text of all its pages, and Back,
// Forward and Home.
//
// Pages, style sheets and pictures come from the file only, through the
// browser's loadResource under the "help" URL scheme ("help:/units.html").
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

class HelpBrowser;

namespace helpfile {
class ChmFile;
}

class HelpWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);
    ~HelpWindow() override;

    // Opens the help file at path, unless it is the one open already, and
    // shows its default topic; a file that cannot be read gets a message.
    void ShowFile(const QString& path);
    // Shows the first of these places that holds a readable help file,
    // naming in the status bar the ones passed over; a message when none
    // does.
    void ShowFirstOf(const QStringList& candidates);
    // Says that no help file was found, naming every place tried, in order.
    void ShowNotFound(const QStringList& tried);
    // The help file shown; empty while a message is shown instead.
    QString FilePath() const { return m_path; }
    // The page shown ("help:/units.html"); empty while a message is shown.
    QUrl CurrentPage() const;

    // How a link to outside the help file is handed on; false when nothing
    // could open it. QDesktopServices::openUrl, unless a test replaces it.
    using ExternalOpener = std::function<bool(const QUrl&)>;
    void SetExternalOpener(ExternalOpener opener) { m_openExternal = std::move(opener); }

private:
    void BuildWindow();
    QString OpenFile(const QString& path);
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
    QString m_path;
    QUrl m_home;
    HelpSearchIndex m_index;  // built at the first search
    bool m_syncingContents = false;
    ExternalOpener m_openExternal;

    HelpBrowser* m_browser = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_searchText = nullptr;
    QListWidget* m_searchResults = nullptr;
    QLabel* m_searchStatus = nullptr;
    QAction* m_homeAction = nullptr;
};

}  // namespace mensura
