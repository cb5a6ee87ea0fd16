#include "help_window.h"

#include <sys/stat.h>

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
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
#include <cerrno>

#include "application.h"
#include "chm_file.h"
#include "find_bar.h"
#include "full_text_tips.h"
#include "help_browser.h"
#include "help_page.h"
#include "index_pane.h"

namespace mensura {

using helpfile::ChmFile;

namespace {

// The window's title while no file is open, or the file names none.
const QString kDefaultTitle = QStringLiteral("Mensura Help");

// A link's address as it will be opened: a page of the file by its path, any
// other address exactly as it goes to the desktop, encoded (a user name and
// "@" stay in sight). Control and formatting characters, which could hide
// or reverse part of it, are shown by their code.
QString LinkAddress(const QUrl& target) {
    const QString address =
        target.scheme() == kHelpScheme
            ? target.path().mid(1) + (target.hasFragment() ? "#" + target.fragment() : QString())
            : QString::fromUtf8(target.toEncoded());
    QString shown;
    for (const QChar c : address) {
        const QChar::Category kind = c.category();
        if (kind == QChar::Other_Control || kind == QChar::Other_Format ||
            kind == QChar::Separator_Line || kind == QChar::Separator_Paragraph)
            shown += QStringLiteral("<U+%1>").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
        else
            shown += c;
    }
    return shown;
}

// A house in the window's text colour, for Home beside Fusion's arrows.
QIcon HomeIcon(const QPalette& palette) {
    QIcon icon;
    for (const int size : {16, 24, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        painter.setPen(QPen(palette.color(QPalette::WindowText), 1.4, Qt::SolidLine, Qt::RoundCap,
                            Qt::RoundJoin));
        painter.drawPolyline(QPolygonF{{1.5, 8.0}, {8.0, 1.8}, {14.5, 8.0}});
        painter.drawPolyline(QPolygonF{{3.5, 6.5}, {3.5, 14.2}, {12.5, 14.2}, {12.5, 6.5}});
        painter.drawRect(QRectF(6.6, 9.5, 2.8, 4.7));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

// Why a path, in the system's bytes (not always UTF-8), names no regular
// file or link to one; 0 when it does. No file's name holds a NUL.
int NoFile(const QByteArray& path) {
    struct stat info {};
    if (path.contains('\0')) return ENOENT;
    return stat(path.constData(), &info) != 0 ? errno : S_ISREG(info.st_mode) ? 0 : EISDIR;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QMainWindow(parent),
      m_openExternal([](const QUrl& url) { return QDesktopServices::openUrl(url); }) {
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(kDefaultTitle);
    setWindowIcon(WindowIcon());
    BuildWindow();
    resize(780, 540);
}

// The window fits the screen it opens on, whatever its scale: at most nine
// tenths of the screen's free area, and wholly inside it.
void HelpWindow::FitToScreen() {
    const QScreen* where = screen();
    if (!where) return;
    const QRect room = where->availableGeometry();
    resize(QSize(780, 540).boundedTo(room.size() * 9 / 10));
    QRect frame = frameGeometry();
    if (room.contains(frame)) return;
    frame.moveCenter(room.center());
    move(frame.topLeft());
}

HelpWindow::~HelpWindow() = default;

void HelpWindow::BuildWindow() {
    m_browser = new HelpBrowser(this);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setAccessibleName(QStringLiteral("Help page"));
    // Every link comes to FollowLink; the browser itself opens none.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::FollowLink);
    connect(m_browser, QOverload<const QUrl&>::of(&QTextBrowser::highlighted), this,
            &HelpWindow::ShowHoveredLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::SelectInContents);
    m_findBar = new FindBar(m_browser);
    connect(m_browser, &QTextBrowser::sourceChanged, m_findBar, &FindBar::Refresh);
    connect(m_browser, &HelpBrowser::ZoomChanged, this, [this](int percent) {
        statusBar()->showMessage(QStringLiteral("Zoom %1%").arg(percent), 3000);
    });

    m_contents = new QTreeWidget;
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setUniformRowHeights(true);
    // A title cut off at the pane's edge shows whole in its tooltip.
    m_contents->setItemDelegate(new FullTextTips(m_contents));
    connect(m_contents, &QTreeWidget::currentItemChanged, this, &HelpWindow::ContentsItemChosen);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpWindow::ContentsItemChosen);

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

    m_indexPane = new IndexPane;
    connect(m_indexPane, &IndexPane::PageChosen, this, &HelpWindow::FollowLink);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("helpTabs"));
    m_tabs->addTab(m_contents, QStringLiteral("&Contents"));
    m_tabs->addTab(m_indexPane, QStringLiteral("&Index"));
    m_tabs->addTab(searchPane, QStringLiteral("&Search"));
    // The three tabs stay whole in any font: the pane is never narrower.
    m_tabs->setUsesScrollButtons(false);
    connect(m_tabs, &QTabWidget::currentChanged, this, [this, searchPane](int index) {
        if (m_tabs->widget(index) == searchPane) m_searchText->setFocus();
        if (m_tabs->widget(index) == m_indexPane)
            m_indexPane->findChild<QLineEdit*>(QStringLiteral("helpIndexText"))->setFocus();
    });

    // The page, and under it the find bar.
    auto* pageArea = new QWidget;
    auto* pageLayout = new QVBoxLayout(pageArea);
    pageLayout->setContentsMargins(0, 0, 0, 0);
    pageLayout->setSpacing(0);
    pageLayout->addWidget(m_browser, 1);
    pageLayout->addWidget(m_findBar);

    auto* splitter = new QSplitter;
    splitter->addWidget(m_tabs);
    splitter->addWidget(pageArea);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({230, 550});
    setCentralWidget(splitter);

    auto* toolBar = addToolBar(QStringLiteral("Navigation"));
    toolBar->setObjectName(QStringLiteral("helpToolBar"));
    toolBar->setMovable(false);
    toolBar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    // The desktop's icons where it has a theme; Fusion's own arrows else,
    // and a house of our own for Home, whose only stand-in in Fusion is a
    // folder.
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
    m_homeAction =
        toolBar->addAction(QIcon::fromTheme(QStringLiteral("go-home"), HomeIcon(palette())),
                           QStringLiteral("Home"), this, &HelpWindow::ShowDefaultTopic);
    m_homeAction->setObjectName(QStringLiteral("helpHome"));
    m_homeAction->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));
    back->setEnabled(false);
    forward->setEnabled(false);
    m_homeAction->setEnabled(false);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);

    statusBar()->setObjectName(QStringLiteral("helpStatusBar"));
    AddKeys();
}

// Opens the help file at path, unless it is the one open already. Empty
// when it is shown; else why it cannot be, for the message.
QString HelpWindow::OpenFile(const QByteArray& path) {
    if (m_file && path == m_path) return QString();
    std::string error;
    std::unique_ptr<ChmFile> file = ChmFile::Open(path.toStdString(), &error);
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
    m_searchIndex.Clear();
    m_searchResults->clear();
    m_searchStatus->clear();
    m_browser->SetFile(m_file.get());
    m_browser->clearHistory();
    BuildContents();
    m_indexPane->SetIndex(m_file->Index());
    m_tabs->setEnabled(true);
    m_homeAction->setEnabled(true);
    return QString();
}

void HelpWindow::ShowFirstOf(const QByteArrayList& places) {
    // The places in order; a file that cannot be read is passed over, so a
    // damaged copy in the current folder does not hide a good one further
    // on. What was passed over is named in the status bar.
    QStringList skipped;
    for (const QByteArray& path : places) {
        if (NoFile(path) != 0) continue;
        const QString problem = OpenFile(path);
        if (problem.isEmpty()) {
            ShowDefaultTopic();
            if (!skipped.isEmpty())
                statusBar()->showMessage(QStringLiteral("Passed over %1.").arg(skipped.join("; ")));
            return;
        }
        skipped << QStringLiteral("%1: %2").arg(QFile::decodeName(path), problem);
    }
    if (skipped.isEmpty()) {
        ShowNotFound(places);
        return;
    }
    QString items;
    for (const QString& item : skipped)
        items += QStringLiteral("<li>%1</li>").arg(item.toHtmlEscaped());
    ShowMessage(QStringLiteral("The help cannot be shown"),
                QStringLiteral("<p>No help file found can be read:</p><ul>%1</ul>").arg(items));
}

void HelpWindow::ShowNotFound(const QByteArrayList& tried) {
    QString places;
    for (const QByteArray& path : tried) {
        const QString why =
            NoFile(path) != ENAMETOOLONG
                ? QString()
                : QStringLiteral(" (a path longer than the system can open, %1 bytes)")
                      .arg(path.size());
        places += QStringLiteral("<li><code>%1</code>%2</li>")
                      .arg(QFile::decodeName(path).toHtmlEscaped(), why);
    }
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
    m_searchIndex.Clear();
    m_contents->clear();
    m_indexPane->Clear();
    m_searchResults->clear();
    m_searchStatus->clear();
    m_tabs->setEnabled(false);
    m_homeAction->setEnabled(false);
    m_browser->clearHistory();
    setWindowTitle(kDefaultTitle);
    m_browser->setHtml(QStringLiteral("<html><body><h2>%1</h2>%2</body></html>")
                           .arg(heading.toHtmlEscaped(), body));
    statusBar()->clearMessage();
}

QString HelpWindow::PageTitle() const {
    return m_browser->documentTitle().simplified();
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
    const QString address = LinkAddress(target);
    const QString scheme = target.scheme().toLower();
    const bool web = scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                     scheme == QLatin1String("mailto");
    if (web && m_openExternal(target))
        statusBar()->showMessage(QStringLiteral("Handed to the desktop: %1").arg(address));
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
    statusBar()->showMessage(
        LinkAddress(link.isRelative() ? m_browser->source().resolved(link) : link));
}

// Lists the pages that hold every one of the words, anywhere in their text
// and in any case, those with the most mentions first. The pages are read
// at the first search of a file.
void HelpWindow::RunSearch() {
    m_searchResults->clear();
    if (!m_file) return;
    if (HelpSearchIndex::Words(m_searchText->text()).isEmpty()) {
        m_searchStatus->setText(
            QStringLiteral("Type one or more words to look for, then press Enter."));
        return;
    }
    if (!m_searchIndex.IsBuilt()) m_searchIndex.Build(*m_file);
    const std::vector<HelpSearchIndex::Hit> hits = m_searchIndex.Search(m_searchText->text());
    for (const HelpSearchIndex::Hit& hit : hits) {
        auto* item = new QListWidgetItem(hit.title, m_searchResults);
        item->setData(Qt::UserRole, PageUrl(hit.path.toStdString()));
        // A tooltip may be rich text; this one is the page's name as plain text.
        item->setToolTip(Qt::convertFromPlainText(hit.path.mid(1)));
    }
    m_searchStatus->setText(
        hits.empty() ? QStringLiteral("No page holds all of these words.")
        : hits.size() == 1
            ? QStringLiteral("1 page found.")
            : QStringLiteral("%1 pages found.").arg(static_cast<qulonglong>(hits.size())));
}

// Shows a page the search found with the first of the words on it in the
// middle of the view; F3 then goes on to its next occurrence.
void HelpWindow::ShowSearchHit(const QUrl& page) {
    m_browser->setSource(page);
    m_browser->moveCursor(QTextCursor::Start);
    const QStringList words = HelpSearchIndex::Words(m_searchText->text());
    if (words.isEmpty()) return;
    m_findBar->SetText(words.first());
    m_findBar->Refresh();
    m_findBar->Next();
}

}  // namespace mensura
