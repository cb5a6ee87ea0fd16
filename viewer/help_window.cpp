#include "help_window.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStyle>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "application.h"
#include "chm_file.h"
#include "help_page.h"

namespace mensura {

using helpfile::ChmFile;

namespace {

// The window's title while no file is open, or the file names none.
const QString kDefaultTitle = QStringLiteral("Mensura Help");

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

}  // namespace

// The browser: serves everything under the help scheme from the open file
// and nothing else.
class HelpBrowser : public QTextBrowser {
public:
    explicit HelpBrowser(QWidget* parent) : QTextBrowser(parent) {}
    void SetFile(const ChmFile* file) { m_file = file; }

    QVariant loadResource(int type, const QUrl& name) override {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        // Anything else gets nothing, and a non-null nothing, so that the
        // document does not go looking for it on the disk itself.
        if (!m_file || url.scheme() != kHelpScheme) return QByteArray();
        const std::string path = url.path(QUrl::FullyDecoded).toStdString();
        if (const std::optional<std::string> object = m_file->Object(path))
            return QByteArray(object->data(), static_cast<qsizetype>(object->size()));
        if (type != QTextDocument::HtmlResource) return QByteArray();
        return QStringLiteral(
                   "<html><body><h2>Page not found</h2><p>The help file holds no page "
                   "<code>%1</code>.</p></body></html>")
            .arg(Escaped(url.path()))
            .toUtf8();
    }

private:
    const ChmFile* m_file = nullptr;
};

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent),
      m_openExternal([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(kDefaultTitle);
    setWindowIcon(WindowIcon());
    BuildWindow();
    resize(780, 540);
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::BuildWindow() {
    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Every link comes to FollowLink; the browser itself opens none.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::FollowLink);
    connect(m_browser, QOverload<const QUrl&>::of(&QTextBrowser::highlighted), this,
            &HelpWindow::ShowHoveredLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::SelectInContents);

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setUniformRowHeights(true);
    connect(m_contents, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* item) { ContentsItemChosen(item); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ContentsItemChosen(item); });

    auto* searchPane = new QWidget;
    auto* searchLayout = new QVBoxLayout(searchPane);
    searchLayout->setContentsMargins(4, 4, 4, 4);
    searchLayout->addWidget(new QLabel(QStringLiteral("Words to look for:")));
    m_searchText = new QLineEdit;
    m_searchText->setObjectName(QStringLiteral("helpSearchText"));
    m_searchText->setClearButtonEnabled(true);
    searchLayout->addWidget(m_searchText);
    auto* searchButton = new QPushButton(QStringLiteral("&List Topics"));
    searchButton->setObjectName(QStringLiteral("helpSearchButton"));
    searchLayout->addWidget(searchButton);
    m_searchStatus = new QLabel;
    m_searchStatus->setObjectName(QStringLiteral("helpSearchStatus"));
    m_searchStatus->setWordWrap(true);
    searchLayout->addWidget(m_searchStatus);
    m_searchResults = new QListWidget;
    m_searchResults->setObjectName(QStringLiteral("helpSearchResults"));
    searchLayout->addWidget(m_searchResults, 1);
    connect(m_searchText, &QLineEdit::returnPressed, this, &HelpWindow::RunSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpWindow::RunSearch);
    auto showResult = [this](QListWidgetItem* item) {
        if (item) ShowSearchHit(item->data(Qt::UserRole).toUrl());
    };
    connect(m_searchResults, &QListWidget::itemClicked, this, showResult);
    connect(m_searchResults, &QListWidget::itemActivated, this, showResult);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_tabs->addTab(m_contents, QStringLiteral("&Contents"));
    m_tabs->addTab(searchPane, QStringLiteral("&Search"));
    connect(m_tabs, &QTabWidget::currentChanged, this, [this, searchPane](int index) {
        if (m_tabs->widget(index) == searchPane) m_searchText->setFocus();
    });

    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 550});
    setCentralWidget(splitter);

    auto* toolBar = addToolBar(QStringLiteral("Navigation"));
    toolBar->setObjectName(QStringLiteral("helpToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The desktop's icons where it has a theme; Fusion's own arrows else, and
    // no icon for Home, whose only stand-in in Fusion is a folder.
    QAction* back =
        toolBar->addAction(QIcon::fromTheme(QStringLiteral("go-previous"),
                                            style()->standardIcon(QStyle::SP_ArrowBack)),
                           QStringLiteral("Back"), m_browser, &QTextBrowser::backward);
    back->setObjectName(QStringLiteral("helpBack"));
    back->setShortcut(QKeySequence::Back);
    QAction* forward = toolBar->addAction(
        QIcon::fromTheme(QStringLiteral("go-next"), style()->standardIcon(QStyle::SP_ArrowForward)),
        QStringLiteral("Forward"), m_browser, &QTextBrowser::forward);
    forward->setObjectName(QStringLiteral("helpForward"));
    forward->setShortcut(QKeySequence::Forward);
    m_homeAction = toolBar->addAction(QIcon::fromTheme(QStringLiteral("go-home")),
                                      QStringLiteral("Home"), this, &HelpWindow::ShowDefaultTopic);
    m_homeAction->setObjectName(QStringLiteral("helpHome"));
    m_homeAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    m_homeAction->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    statusBar()->setObjectName(QStringLiteral("helpStatusBar"));
}

// Opens the help file at path, unless it is the one open already. Empty
// when it is shown; else why it cannot be, for the message.
QString HelpWindow::OpenFile(const QString& path) {
    if (m_file && path == m_path) return QString();
    std::string error;
    std::unique_ptr<ChmFile> file = ChmFile::Open(QFile::encodeName(path).toStdString(), &error);
    if (!file)
        return QStringLiteral("it cannot be read: it is damaged, or it is no help file (%1)")
            .arg(QString::fromStdString(error));
    // A file whose first page cannot be read is as good as damaged.
    const std::string topic = file->DefaultTopic();
    if (topic.empty())
        return QStringLiteral("it holds no pages: it is damaged, or it is no help file");
    if (!file->Object(PageUrl(topic).path(QUrl::FullyDecoded).toStdString()))
        return QStringLiteral("it is damaged: its first page, %1, cannot be read")
            .arg(QString::fromStdString(topic));
    m_file = std::move(file);
    const QString title = QString::fromStdString(m_file->Title()).simplified();
    setWindowTitle(title.isEmpty() ? kDefaultTitle : title);
    m_path = path;
    m_home = PageUrl(topic);
    m_index.Clear();
    m_searchResults->clear();
    m_searchStatus->clear();
    m_browser->SetFile(m_file.get());
    m_browser->clearHistory();
    BuildContents();
    m_tabs->setEnabled(true);
    m_homeAction->setEnabled(true);
    return QString();
}

void HelpWindow::ShowFile(const QString& path) {
    ShowFirstOf({path});
}

void HelpWindow::ShowFirstOf(const QStringList& candidates) {
    // The places in order; a file that cannot be read is passed over, so a
    // damaged copy in the current folder does not hide a good one further
    // on. What was passed over is named in the status bar.
    QStringList skipped;
    for (const QString& path : candidates) {
        if (!QFileInfo(path).isFile()) continue;
        const QString problem = OpenFile(path);
        if (problem.isEmpty()) {
            ShowDefaultTopic();
            if (!skipped.isEmpty())
                statusBar()->showMessage(QStringLiteral("Passed over %1.").arg(skipped.join("; ")));
            return;
        }
        skipped << QStringLiteral("%1: %2").arg(path, problem);
    }
    if (skipped.isEmpty()) {
        ShowNotFound(candidates);
        return;
    }
    QString items;
    for (const QString& item : skipped) items += QStringLiteral("<li>%1</li>").arg(Escaped(item));
    ShowMessage(QStringLiteral("The help cannot be shown"),
                QStringLiteral("<p>No help file found can be read:</p><ul>%1</ul>").arg(items));
}

void HelpWindow::ShowNotFound(const QStringList& tried) {
    QString places;
    for (const QString& path : tried)
        places += QStringLiteral("<li><code>%1</code></li>").arg(Escaped(path));
    ShowMessage(QStringLiteral("The help file was not found"),
                QStringLiteral("<p>Mensura looked for its help file in these places, in this "
                               "order, and found it in none of them:</p><ol>%1</ol>"
                               "<p>Put the help file in one of them, for instance beside the "
                               "program.</p>")
                    .arg(places));
}

void HelpWindow::ShowMessage(const QString& heading, const QString& body) {
    // No file is open any more: nothing to navigate, list or search.
    m_browser->SetFile(nullptr);
    m_file.reset();
    m_path.clear();
    m_home.clear();
    m_index.Clear();
    m_contents->clear();
    m_searchResults->clear();
    m_searchStatus->clear();
    m_tabs->setEnabled(false);
    m_homeAction->setEnabled(false);
    m_browser->clearHistory();
    setWindowTitle(kDefaultTitle);
    m_browser->setHtml(
        QStringLiteral("<html><body><h2>%1</h2>%2</body></html>").arg(Escaped(heading), body));
    statusBar()->clearMessage();
}

QUrl HelpWindow::CurrentPage() const {
    return m_file ? m_browser->source() : QUrl();
}

void HelpWindow::ShowDefaultTopic() {
    if (m_file) m_browser->setSource(m_home, QTextDocument::HtmlResource);
}

void HelpWindow::BuildContents() {
    m_syncingContents = true;
    m_contents->clear();
    // The entries come flattened with their depth; each hangs under the
    // last entry one level up. A depth that jumps is taken as one deeper.
    std::vector<QTreeWidgetItem*> parents;
    for (const helpfile::ContentsEntry& entry : m_file->Contents()) {
        const std::size_t depth =
            std::min(static_cast<std::size_t>(std::max(entry.depth, 0)), parents.size());
        parents.resize(depth);
        auto* item =
            parents.empty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.back());
        QString name = QString::fromStdString(entry.name);
        if (name.isEmpty()) name = QString::fromStdString(entry.local);
        item->setText(0, name);
        if (!entry.local.empty()) item->setData(0, Qt::UserRole, PageUrl(entry.local));
        parents.push_back(item);
    }
    m_contents->expandAll();
    m_syncingContents = false;
}

void HelpWindow::ContentsItemChosen(QTreeWidgetItem* item) {
    if (m_syncingContents || !item) return;
    const QUrl url = item->data(0, Qt::UserRole).toUrl();
    if (url.isEmpty()) return;  // a heading without a page of its own
    if (url == m_browser->source()) return;
    FollowLink(url);
}

// The contents pane follows the page shown, as far as it lists it.
void HelpWindow::SelectInContents(const QUrl& page) {
    QTreeWidgetItem* match = nullptr;
    for (QTreeWidgetItemIterator it(m_contents); *it && !match; ++it) {
        const QUrl url = (*it)->data(0, Qt::UserRole).toUrl();
        if (url == page) match = *it;
    }
    for (QTreeWidgetItemIterator it(m_contents); *it && !match; ++it) {
        if (SamePage((*it)->data(0, Qt::UserRole).toUrl(), page)) match = *it;
    }
    m_syncingContents = true;
    if (match)
        m_contents->setCurrentItem(match);
    else
        m_contents->clearSelection();
    m_syncingContents = false;
}

void HelpWindow::FollowLink(const QUrl& link) {
    const QUrl target = link.isRelative() ? m_browser->source().resolved(link) : link;
    if (target.scheme() == kHelpScheme) {
        if (m_file) m_browser->setSource(target, QTextDocument::HtmlResource);
        return;
    }
    // Outside the file: web and mail addresses go to the desktop, if it can
    // take them; the viewer itself never fetches anything.
    const QString address = target.toDisplayString();
    const QString scheme = target.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                     scheme == QLatin1String("mailto");
    if (web && m_openExternal(target))
        statusBar()->showMessage(QStringLiteral("Opened outside the help: %1").arg(address));
    else if (web)
        statusBar()->showMessage(
            QStringLiteral("No web browser to open %1 with; the address is shown here.")
                .arg(address));
    else
        statusBar()->showMessage(
            QStringLiteral("This link leads outside the help and is not opened: %1").arg(address));
}

void HelpWindow::ShowHoveredLink(const QUrl& link) {
    if (link.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    const QUrl target = link.isRelative() ? m_browser->source().resolved(link) : link;
    statusBar()->showMessage(target.scheme() == kHelpScheme
                                 ? target.path().mid(1) +
                                       (target.hasFragment() ? "#" + target.fragment() : QString())
                                 : target.toDisplayString());
}

// Lists the pages that hold every one of the words, anywhere in their text
// and in any case, those with the most mentions first. The pages are read
// at the first search of a file.
void HelpWindow::RunSearch() {
    m_searchResults->clear();
    if (HelpSearchIndex::Words(m_searchText->text()).isEmpty() || !m_file) {
        m_searchStatus->clear();
        return;
    }
    if (!m_index.IsBuilt()) m_index.Build(*m_file);
    const std::vector<HelpSearchIndex::Hit> hits = m_index.Search(m_searchText->text());
    for (const HelpSearchIndex::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, m_searchResults);
        item->setData(Qt::UserRole, PageUrl(hit.path.toStdString()));
        item->setToolTip(hit.path.mid(1));
    }
    m_searchStatus->setText(
        hits.empty() ? QStringLiteral("No page holds all of these words.")
        : hits.size() == 1
            ? QStringLiteral("1 page found.")
            : QStringLiteral("%1 pages found.").arg(static_cast<qulonglong>(hits.size())));
}

// Shows a page the search found and marks the first of the words on it, as
// a finger on the spot; from the top each time, as a click may also count
// as activation.
void HelpWindow::ShowSearchHit(const QUrl& page) {
    m_browser->setSource(page);
    m_browser->moveCursor(QTextCursor::Start);
    const QStringList words = HelpSearchIndex::Words(m_searchText->text());
    if (!words.isEmpty()) m_browser->find(words.first());
}

}  // namespace mensura
