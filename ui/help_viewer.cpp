#include "help_viewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
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

using mensura::helpfile::ChmFile;

namespace {

// Together, the pages one search reads may take this much; a file with
// more stops being searched there, so a hostile one cannot stall it.
constexpr qsizetype kMaxSearchBytes = 64 * 1024 * 1024;

QString Escaped(const QString& text) {
    return text.toHtmlEscaped();
}

// A page's bytes as text, by its <meta charset> or byte-order mark, else
// as UTF-8: the way QTextBrowser reads the pages it shows.
QString DecodePage(const QByteArray& bytes) {
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    if (!decoder.isValid()) decoder = QStringDecoder(QStringDecoder::Utf8);
    return decoder.decode(bytes);
}

// A place inside the file as the reader gives it, an absolute path with
// perhaps a fragment ("/units.html#length"), as a URL of the help scheme.
QUrl PageUrl(const std::string& local) {
    const QString text = QString::fromStdString(local);
    const qsizetype hash = text.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(HelpViewer::kScheme);
    url.setPath(hash < 0 ? text : text.left(hash), QUrl::DecodedMode);
    if (hash >= 0) url.setFragment(text.mid(hash + 1), QUrl::DecodedMode);
    return url;
}

bool SamePage(const QUrl& a, const QUrl& b) {
    return a.scheme() == b.scheme() &&
           a.path().compare(b.path(), Qt::CaseInsensitive) == 0;  // the file ignores case
}

// A document that loads nothing: the search reads the pages' text only,
// and a page's references must not reach the disk.
class TextOnlyDocument : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return QByteArray(); }
};

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
        if (!m_file || url.scheme() != HelpViewer::kScheme) return QByteArray();
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

HelpViewer::HelpViewer(QWidget* parent)
    : QMainWindow(parent),
      m_openExternal([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(QStringLiteral("Mensura Help"));
    setWindowIcon(mensura::WindowIcon());
    BuildWindow();
    resize(780, 540);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::BuildWindow() {
    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    // Every link comes to FollowLink; the browser itself opens none.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpViewer::FollowLink);
    connect(m_browser, QOverload<const QUrl&>::of(&QTextBrowser::highlighted), this,
            &HelpViewer::ShowHoveredLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewer::SelectInContents);

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
    connect(m_searchText, &QLineEdit::returnPressed, this, &HelpViewer::RunSearch);
    connect(searchButton, &QPushButton::clicked, this, &HelpViewer::RunSearch);
    auto showResult = [this](QListWidgetItem* item) {
        if (!item) return;
        m_browser->setSource(item->data(Qt::UserRole).toUrl());
        // Mark the first of the words on the page, as a finger on the spot;
        // from the top each time, as a click may also count as activation.
        m_browser->moveCursor(QTextCursor::Start);
        const QStringList words =
            m_searchText->text().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (!words.isEmpty()) m_browser->find(words.first());
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
                                      QStringLiteral("Home"), this, &HelpViewer::ShowDefaultTopic);
    m_homeAction->setObjectName(QStringLiteral("helpHome"));
    m_homeAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    m_homeAction->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    statusBar()->setObjectName(QStringLiteral("helpStatusBar"));
}

void HelpViewer::ShowFile(const QString& path) {
    if (!m_file || path != m_path) {
        std::string error;
        std::unique_ptr<ChmFile> file =
            ChmFile::Open(QFile::encodeName(path).toStdString(), &error);
        if (!file) {
            ShowMessage(QStringLiteral("The help cannot be shown"),
                        QStringLiteral("<p>The help file <code>%1</code> cannot be read: it is "
                                       "damaged, or it is no help file.</p><p>Found: %2.</p>")
                            .arg(Escaped(path), Escaped(QString::fromStdString(error))));
            return;
        }
        // A file whose first page cannot be read is as good as damaged.
        const std::string topic = file->DefaultTopic();
        if (!topic.empty() &&
            !file->Object(PageUrl(topic).path(QUrl::FullyDecoded).toStdString())) {
            ShowMessage(QStringLiteral("The help cannot be shown"),
                        QStringLiteral("<p>The help file <code>%1</code> is damaged: its first "
                                       "page, <code>%2</code>, cannot be read.</p>")
                            .arg(Escaped(path), Escaped(QString::fromStdString(topic))));
            return;
        }
        if (topic.empty()) {
            ShowMessage(QStringLiteral("The help cannot be shown"),
                        QStringLiteral(
                            "<p>The help file <code>%1</code> holds no pages: it is damaged, or it "
                            "is no help file.</p>")
                            .arg(Escaped(path)));
            return;
        }
        m_file = std::move(file);
        m_path = path;
        m_home = PageUrl(topic);
        m_pages.clear();
        m_indexed = false;
        m_searchResults->clear();
        m_searchStatus->clear();
        m_browser->SetFile(m_file.get());
        m_browser->clearHistory();
        BuildContents();
        m_tabs->setEnabled(true);
        m_homeAction->setEnabled(true);
    }
    ShowDefaultTopic();
}

void HelpViewer::ShowNotFound(const QStringList& tried) {
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

void HelpViewer::ShowMessage(const QString& heading, const QString& body) {
    // No file is open any more: nothing to navigate, list or search.
    m_browser->SetFile(nullptr);
    m_file.reset();
    m_path.clear();
    m_home.clear();
    m_pages.clear();
    m_indexed = false;
    m_contents->clear();
    m_searchResults->clear();
    m_searchStatus->clear();
    m_tabs->setEnabled(false);
    m_homeAction->setEnabled(false);
    m_browser->clearHistory();
    m_browser->setHtml(
        QStringLiteral("<html><body><h2>%1</h2>%2</body></html>").arg(Escaped(heading), body));
    statusBar()->clearMessage();
}

void HelpViewer::ShowDefaultTopic() {
    if (m_file) m_browser->setSource(m_home, QTextDocument::HtmlResource);
}

void HelpViewer::BuildContents() {
    m_syncingContents = true;
    m_contents->clear();
    // The entries come flattened with their depth; each hangs under the
    // last entry one level up. A depth that jumps is taken as one deeper.
    std::vector<QTreeWidgetItem*> parents;
    for (const mensura::helpfile::ContentsEntry& entry : m_file->Contents()) {
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

void HelpViewer::ContentsItemChosen(QTreeWidgetItem* item) {
    if (m_syncingContents || !item) return;
    const QUrl url = item->data(0, Qt::UserRole).toUrl();
    if (url.isEmpty()) return;  // a heading without a page of its own
    if (url == m_browser->source()) return;
    FollowLink(url);
}

// The contents pane follows the page shown, as far as it lists it.
void HelpViewer::SelectInContents(const QUrl& page) {
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

void HelpViewer::FollowLink(const QUrl& link) {
    const QUrl target = link.isRelative() ? m_browser->source().resolved(link) : link;
    if (target.scheme() == kScheme) {
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

void HelpViewer::ShowHoveredLink(const QUrl& link) {
    if (link.isEmpty()) {
        statusBar()->clearMessage();
        return;
    }
    const QUrl target = link.isRelative() ? m_browser->source().resolved(link) : link;
    statusBar()->showMessage(target.scheme() == kScheme
                                 ? target.path().mid(1) +
                                       (target.hasFragment() ? "#" + target.fragment() : QString())
                                 : target.toDisplayString());
}

// The text of every page, read once per file at the first search.
void HelpViewer::IndexPages() {
    m_indexed = true;
    m_pages.clear();
    if (!m_file) return;
    // A page's name in the contents, for pages without a <title>.
    QHash<QString, QString> contentsNames;
    for (const mensura::helpfile::ContentsEntry& entry : m_file->Contents()) {
        const QString path = PageUrl(entry.local).path().toLower();
        if (!entry.local.empty() && !contentsNames.contains(path))
            contentsNames.insert(path, QString::fromStdString(entry.name));
    }
    qsizetype budget = kMaxSearchBytes;
    for (const std::string& page : m_file->Pages()) {
        const std::optional<std::string> object = m_file->Object(page);
        if (!object) continue;
        if (static_cast<qsizetype>(object->size()) > budget) break;
        budget -= static_cast<qsizetype>(object->size());
        TextOnlyDocument document;
        document.setHtml(
            DecodePage(QByteArray(object->data(), static_cast<qsizetype>(object->size()))));
        PageText text;
        text.path = QString::fromStdString(page);
        text.title = document.metaInformation(QTextDocument::DocumentTitle).simplified();
        if (text.title.isEmpty()) text.title = contentsNames.value(text.path.toLower());
        if (text.title.isEmpty()) text.title = text.path.mid(1);
        text.text = document.toPlainText().toCaseFolded();
        m_pages.push_back(std::move(text));
    }
}

// Lists the pages that hold every one of the words, anywhere in their text
// and in any case, those with the most mentions first.
void HelpViewer::RunSearch() {
    m_searchResults->clear();
    QStringList words;
    for (const QString& word :
         m_searchText->text().simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words << word.toCaseFolded();
    if (words.isEmpty() || !m_file) {
        m_searchStatus->clear();
        return;
    }
    if (!m_indexed) IndexPages();
    struct Hit {
        const PageText* page;
        qsizetype mentions;
    };
    std::vector<Hit> hits;
    for (const PageText& page : m_pages) {
        qsizetype mentions = 0;
        for (const QString& word : words) {
            const qsizetype count = page.text.count(word);
            if (count == 0) {
                mentions = 0;
                break;
            }
            mentions += count;
        }
        if (mentions > 0) hits.push_back({&page, mentions});
    }
    std::stable_sort(hits.begin(), hits.end(),
                     [](const Hit& a, const Hit& b) { return a.mentions > b.mentions; });
    for (const Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.page->title, m_searchResults);
        item->setData(Qt::UserRole, PageUrl(hit.page->path.toStdString()));
        item->setToolTip(hit.page->path.mid(1));
    }
    m_searchStatus->setText(
        hits.empty() ? QStringLiteral("No page holds all of these words.")
        : hits.size() == 1
            ? QStringLiteral("1 page found.")
            : QStringLiteral("%1 pages found.").arg(static_cast<qulonglong>(hits.size())));
}
