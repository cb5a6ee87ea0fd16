// The help viewer's window on the compiled help file the build puts beside
// the program: which of the places it shows, its contents, links, search,
// and damaged files.
#include "help_window.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QScreen>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextList>
#include <QToolTip>
#include <QTreeWidget>
#include <QtTest>
#include <algorithm>

#include "application.h"
#include "chm_file.h"
#include "help_command.h"
#include "help_page.h"
#include "window_tests.h"

using mensura::HelpWindow;
using mensura::SamePage;

using mensura::helpfile::ChmFile;

namespace {

QUrl HelpUrl(const std::string& path) {
    return QUrl(QStringLiteral("help:") + QString::fromStdString(path));
}

// The first link on the page shown to another page of the help file.
QTextCursor FindInternalLink(QTextBrowser* browser, QUrl* target) {
    QTextDocument* document = browser->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QUrl href(fragment.charFormat().anchorHref());
            if (!fragment.charFormat().isAnchor() || !href.isRelative()) continue;
            *target = browser->source().resolved(href);
            if (SamePage(*target, browser->source())) continue;
            QTextCursor cursor(document);
            cursor.setPosition(fragment.position() + fragment.length() / 2);
            return cursor;
        }
    }
    return {};
}

}  // namespace

class HelpWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void whereHelpIsFound_data();
    void whereHelpIsFound();
    void placeTooLongToOpen();
    void defaultTopicContentsAndLinks();
    void search();
    void linksOutsideTheFile();
    void damagedFiles_data();
    void damagedFiles();
    void indexTab();
    void findInPage();
    void zoom();
    void keysThatClose_data();
    void keysThatClose();
    void escapeEmptiesTheFieldFirst_data();
    void escapeEmptiesTheFieldFirst();
    void cutOffTitlesShowWhole();
    void printing();
    void fitsTheScreen();
    void tabsStayWhole();
    void bulletsInThePagesColour();

private:
    HelpWindow* Show(const QString& requested, const QString& programFolder);
    QTextBrowser* Browser() const { return m_viewer->findChild<QTextBrowser*>("helpBrowser"); }
    QString Shown() const { return Browser()->toPlainText(); }
    QString ShownFile() const { return QFile::decodeName(m_viewer->FilePath()); }

    QString m_helpFile;  // the compiled help file, beside this test program
    QString m_startDir;
    HelpWindow* m_viewer = nullptr;
    ModalWatchdog* m_watchdog = nullptr;
    QString m_unexpectedModal;
};

void HelpWindowTest::initTestCase() {
    mensura::PrepareApplication();
    QApplication::setQuitOnLastWindowClosed(false);
    m_helpFile = QCoreApplication::applicationDirPath() + QStringLiteral("/MnsHlp.chm");
    QVERIFY2(QFileInfo(m_helpFile).isFile(), qPrintable(m_helpFile + " is not built"));
    m_startDir = QDir::currentPath();
}

void HelpWindowTest::init() {
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
}

void HelpWindowTest::cleanup() {
    delete m_viewer;
    m_viewer = nullptr;
    QDir::setCurrent(m_startDir);
    delete m_watchdog;
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

// What the viewer shows when the Help command asks for `requested` from a
// program in `programFolder`.
HelpWindow* HelpWindowTest::Show(const QString& requested, const QString& programFolder) {
    if (!m_viewer) m_viewer = new HelpWindow;
    m_viewer->ShowFirstOf(mensura::HelpFileCandidates(QFile::encodeName(requested), programFolder));
    // Its keys are the window's: they work once it is the active window.
    return ShowActive(m_viewer) ? m_viewer : nullptr;
}

void HelpWindowTest::whereHelpIsFound_data() {
    // The places that hold a copy; "cwd!" and "bin!" hold a damaged one.
    QTest::addColumn<QStringList>("holding");
    QTest::addColumn<QString>("shown");
    QTest::newRow("all three") << QStringList{"cwd", "bin", "data"} << "cwd";
    QTest::newRow("only the current directory") << QStringList{"cwd"} << "cwd";
    QTest::newRow("program's folder and data folder") << QStringList{"bin", "data"} << "bin";
    QTest::newRow("only the program's folder") << QStringList{"bin"} << "bin";
    QTest::newRow("only the data folder") << QStringList{"data"} << "data";
    QTest::newRow("nowhere") << QStringList{} << "";
    // A damaged copy is passed over, and named in the status bar.
    QTest::newRow("damaged in the current directory")
        << QStringList{"cwd!", "bin", "data"} << "bin";
    QTest::newRow("damaged twice") << QStringList{"cwd!", "bin!", "data"} << "data";
    QTest::newRow("only damaged ones") << QStringList{"cwd!", "bin!"} << "";
}

void HelpWindowTest::whereHelpIsFound() {
    QFETCH(QStringList, holding);
    QFETCH(QString, shown);
    QTemporaryDir root;
    QVERIFY(root.isValid());
    const QMap<QString, QString> folders{{"cwd", root.filePath("home")},
                                         {"bin", root.filePath("app/bin")},
                                         {"data", root.filePath("app/share/mensura")}};
    for (const QString& folder : folders) QVERIFY(QDir().mkpath(folder));
    QStringList damaged;
    for (QString place : holding) {
        const bool bad = place.endsWith('!');
        place.remove('!');
        const QString copy = folders[place] + "/MnsHlp.chm";
        QVERIFY(QFile::copy(m_helpFile, copy));
        if (!bad) continue;
        QVERIFY(QFile::resize(copy, 1024));
        damaged << copy;
    }
    QVERIFY(QDir::setCurrent(folders["cwd"]));

    // What the Help menu asks for when started in "home".
    Show(QDir::currentPath() + "/MnsHlp.chm", folders["bin"]);
    QVERIFY(m_viewer && m_viewer->isVisible());
    const QString status = m_viewer->statusBar()->currentMessage();
    if (!shown.isEmpty()) {
        QCOMPARE(ShownFile(), folders[shown] + "/MnsHlp.chm");
        for (const QString& copy : damaged) QVERIFY2(status.contains(copy), qPrintable(status));
        if (damaged.isEmpty()) QCOMPARE(status, QString());
        return;
    }
    QCOMPARE(ShownFile(), QString());
    const QString text = Shown();
    if (!damaged.isEmpty()) {
        // Every file found is named, with why it cannot be shown.
        for (const QString& copy : damaged) QVERIFY2(text.contains(copy), qPrintable(text));
        QVERIFY2(text.contains("cannot be read"), qPrintable(text));
        return;
    }
    // Found nowhere: the message names the three places, in order.
    QVERIFY2(text.contains("not found"), qPrintable(text));
    const qsizetype cwd = text.indexOf(folders["cwd"] + "/MnsHlp.chm");
    const qsizetype bin = text.indexOf(folders["bin"] + "/MnsHlp.chm");
    const qsizetype data = text.indexOf(folders["data"] + "/MnsHlp.chm");
    QVERIFY2(cwd >= 0 && cwd < bin && bin < data, qPrintable(text));
}

// A place whose path the system cannot open, as a current directory longer
// than PATH_MAX gives, is named as such; it stands for no other place.
void HelpWindowTest::placeTooLongToOpen() {
    const QByteArray deep = "/tmp/" + QByteArray(5000, 'd') + "/MnsHlp.chm";
    if (!m_viewer) m_viewer = new HelpWindow;
    m_viewer->ShowFirstOf({deep});
    QVERIFY(ShowActive(m_viewer));
    QCOMPARE(ShownFile(), QString());
    QVERIFY2(Shown().contains("longer than the system can open, 5016 bytes"),
             qPrintable(Shown().left(300)));
}

void HelpWindowTest::defaultTopicContentsAndLinks() {
    const std::unique_ptr<ChmFile> file = ChmFile::Open(m_helpFile.toStdString());
    QVERIFY(file);
    QVERIFY(Show(m_helpFile, QString()));
    QTextBrowser* browser = Browser();
    const QUrl home = HelpUrl(file->DefaultTopic());
    QCOMPARE(browser->source(), home);
    QVERIFY(!Shown().trimmed().isEmpty());
    QVERIFY2(!Shown().contains("Page not found"), qPrintable(Shown()));

    // The Contents pane holds every entry of the file's table of contents.
    auto* contents = m_viewer->findChild<QTreeWidget*>("helpContents");
    const std::vector<mensura::helpfile::ContentsEntry> entries = file->Contents();
    QVERIFY(!entries.empty());
    int items = 0;
    for (QTreeWidgetItemIterator it(contents); *it; ++it) ++items;
    QCOMPARE(items, int(entries.size()));
    QCOMPARE(contents->topLevelItem(0)->text(0), QString::fromStdString(entries.front().name));

    // A click on a link goes to its page; Back, Forward and Home retrace it.
    QUrl target;
    QTextCursor link = FindInternalLink(browser, &target);
    QVERIFY2(!link.isNull(), "the default topic links to no other page");
    browser->setTextCursor(link);
    browser->ensureCursorVisible();
    QTest::mouseClick(browser->viewport(), Qt::LeftButton, {}, browser->cursorRect(link).center());
    QTRY_COMPARE(browser->source(), target);
    QVERIFY2(!Shown().contains("Page not found"), qPrintable(Shown()));
    m_viewer->findChild<QAction*>("helpBack")->trigger();
    QCOMPARE(browser->source(), home);
    m_viewer->findChild<QAction*>("helpForward")->trigger();
    QCOMPARE(browser->source(), target);
    m_viewer->findChild<QAction*>("helpHome")->trigger();
    QCOMPARE(browser->source(), home);

    // A click on an entry of the contents shows its page.
    QTreeWidgetItem* entry = nullptr;
    for (QTreeWidgetItemIterator it(contents); *it && !entry; ++it) {
        const QUrl url = (*it)->data(0, Qt::UserRole).toUrl();
        if (!url.isEmpty() && !SamePage(url, home)) entry = *it;
    }
    QVERIFY(entry);
    contents->scrollToItem(entry);
    QTest::mouseClick(contents->viewport(), Qt::LeftButton, {},
                      contents->visualItemRect(entry).center());
    QTRY_VERIFY(SamePage(browser->source(), entry->data(0, Qt::UserRole).toUrl()));
    QVERIFY2(!Shown().contains("Page not found"), qPrintable(Shown()));
}

void HelpWindowTest::search() {
    const std::unique_ptr<ChmFile> file = ChmFile::Open(m_helpFile.toStdString());
    QVERIFY(file);
    QVERIFY(Show(m_helpFile, QString()));
    // A long word from the last page, which is not the first one shown.
    const std::string page = file->Pages().back();
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file->Object(page).value_or(std::string()).c_str()));
    QString word;
    for (const QString& w : document.toPlainText().split(QRegularExpression("[^A-Za-z]+")))
        if (w.size() > word.size()) word = w;
    QVERIFY(word.size() >= 5);

    auto* text = m_viewer->findChild<QLineEdit*>("helpSearchText");
    auto* results = m_viewer->findChild<QListWidget*>("helpSearchResults");
    m_viewer->findChild<QTabWidget*>("helpTabs")->setCurrentIndex(1);
    text->setFocus();
    QTest::keyClicks(text, word.toUpper());  // in any case
    QTest::keyClick(text, Qt::Key_Return);
    QListWidgetItem* hit = nullptr;
    for (int i = 0; i < results->count(); ++i)
        if (SamePage(results->item(i)->data(Qt::UserRole).toUrl(), HelpUrl(page)))
            hit = results->item(i);
    QVERIFY2(hit, qPrintable(word));
    QTest::mouseClick(results->viewport(), Qt::LeftButton, {},
                      results->visualItemRect(hit).center());
    QTRY_VERIFY(SamePage(Browser()->source(), HelpUrl(page)));
    QCOMPARE(Browser()->textCursor().selectedText().toUpper(), word.toUpper());

    // Every word must be there.
    text->setText(word + " qzxjvkwy");
    QTest::keyClick(text, Qt::Key_Return);
    QCOMPARE(results->count(), 0);
    QVERIFY(!m_viewer->findChild<QLabel*>("helpSearchStatus")->text().isEmpty());
}

void HelpWindowTest::linksOutsideTheFile() {
    QVERIFY(Show(m_helpFile, QString()));
    QList<QUrl> opened;
    m_viewer->SetExternalOpener([&opened](const QUrl& url) {
        opened << url;
        return true;
    });
    QTextBrowser* browser = Browser();
    const QUrl page = browser->source();
    // A web address goes to the desktop's browser, never into the viewer.
    const QUrl web("https://mensura.example.org/units");
    emit browser->anchorClicked(web);
    QCOMPARE(opened, QList<QUrl>{web});
    QCOMPARE(browser->source(), page);
    QVERIFY(m_viewer->statusBar()->currentMessage().contains(web.toDisplayString()));
    // Any other address is only shown.
    emit browser->anchorClicked(QUrl("file:///etc/passwd"));
    QCOMPARE(opened.size(), 1);
    QCOMPARE(browser->source(), page);
    QVERIFY(m_viewer->statusBar()->currentMessage().contains("file:///etc/passwd"));
    // A hovered link shows where it leads as it will be opened: the user part
    // of an address stays in sight, and a character that reverses or hides
    // text is shown by its code.
    emit browser->highlighted(QUrl("http://bank.example@evil.example/"));
    QCOMPARE(m_viewer->statusBar()->currentMessage(),
             QStringLiteral("http://bank.example@evil.example/"));
    QUrl reversed;
    reversed.setScheme("help");
    reversed.setPath(QStringLiteral("/txt.\u202Eexe.html"));
    emit browser->highlighted(reversed);
    QCOMPARE(m_viewer->statusBar()->currentMessage(), QStringLiteral("txt.<U+202E>exe.html"));
    // Pictures and styles come from the file alone, not from the disk.
    const QVariant local =
        browser->loadResource(QTextDocument::ImageResource, QUrl::fromLocalFile(m_helpFile));
    QVERIFY(!local.isNull() && local.toByteArray().isEmpty());
}

void HelpWindowTest::damagedFiles_data() {
    QFile real(m_helpFile);
    QVERIFY(real.open(QIODevice::ReadOnly));
    const QByteArray bytes = real.readAll();
    QRandomGenerator random(7);
    QByteArray noise(20000, '\0');
    for (char& c : noise) c = char(random.bounded(256));
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("random bytes") << noise;
    QTest::newRow("header then random bytes") << bytes.left(0x60) + noise;
    QTest::newRow("cut after 1 KB") << bytes.left(1024);
    QTest::newRow("cut in half") << bytes.left(bytes.size() / 2);
    QTest::newRow("last byte missing") << bytes.left(bytes.size() - 1);
}

void HelpWindowTest::damagedFiles() {
    QFETCH(QByteArray, content);
    QTemporaryDir dir;
    QFile damaged(dir.filePath("MnsHlp.chm"));
    QVERIFY(damaged.open(QIODevice::WriteOnly));
    damaged.write(content);
    damaged.close();
    QVERIFY(Show(damaged.fileName(), QString()));
    // The clear message, naming the file; nothing to navigate or search.
    QCOMPARE(ShownFile(), QString());
    QVERIFY2(Shown().contains("cannot be read") && Shown().contains(damaged.fileName()),
             qPrintable(Shown()));
    QVERIFY(!m_viewer->findChild<QTabWidget*>("helpTabs")->isEnabled());
    QVERIFY(!m_viewer->findChild<QAction*>("helpHome")->isEnabled());
    // And the good file afterwards opens as usual.
    Show(m_helpFile, QString());
    QCOMPARE(ShownFile(), m_helpFile);
}

// The Index tab on the real file: typing narrows the keywords, a keyword
// with one page shows it, one with several offers them.
void HelpWindowTest::indexTab() {
    QVERIFY(Show(m_helpFile, QString()));
    m_viewer->findChild<QTabWidget*>("helpTabs")->setCurrentIndex(1);
    auto* field = m_viewer->findChild<QLineEdit*>("helpIndexText");
    auto* keywords = m_viewer->findChild<QListWidget*>("helpIndexList");
    auto* topics = m_viewer->findChild<QListWidget*>("helpIndexTopics");
    QVERIFY(keywords->count() > 80);
    QTRY_VERIFY(field->hasFocus());
    QTest::keyClicks(field, "GALL");
    QCOMPARE(keywords->currentItem()->text(), QStringLiteral("gallon"));
    int shown = 0;
    for (int i = 0; i < keywords->count(); ++i) shown += keywords->item(i)->isHidden() ? 0 : 1;
    QVERIFY(shown >= 1 && shown < 10);
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_VERIFY(topics->isVisible());
    // It offers the pages that the file's index gives the keyword.
    const std::unique_ptr<ChmFile> file = ChmFile::Open(m_helpFile.toStdString());
    QVERIFY(file);
    const std::vector<mensura::helpfile::IndexEntry> index = file->Index();
    const auto gallon = std::find_if(index.begin(), index.end(),
                                     [](const auto& entry) { return entry.keyword == "gallon"; });
    QVERIFY(gallon != index.end() && gallon->topics.size() > 1);
    QCOMPARE(topics->count(), int(gallon->topics.size()));
    QTest::mouseClick(topics->viewport(), Qt::LeftButton, {},
                      topics->visualItemRect(topics->item(1)).center());
    QTRY_COMPARE(Browser()->source().path(), HelpUrl(gallon->topics[1].local).path());
    // A keyword with a single page shows it at once.
    field->clear();
    QTest::keyClicks(field, "About window");
    QTest::keyClick(field, Qt::Key_Return);
    QTRY_COMPARE(Browser()->source().path(), QStringLiteral("/about.html"));
    QVERIFY(!topics->isVisible());
}

// Ctrl+F opens the bar; Enter, F3 and Shift+F3 go through the matches,
// which are all highlighted; Escape closes the bar, then the window.
void HelpWindowTest::findInPage() {
    QVERIFY(Show(m_helpFile, QString()));
    QTextBrowser* page = Browser();
    const QString word = QStringLiteral("unit");
    const int count = int(page->toPlainText().count(word, Qt::CaseInsensitive));
    QVERIFY(count >= 3);
    page->setFocus();
    QTest::keyClick(m_viewer, Qt::Key_F, Qt::ControlModifier);
    auto* bar = m_viewer->findChild<QWidget*>("helpFindBar");
    auto* field = m_viewer->findChild<QLineEdit*>("helpFindText");
    auto* status = m_viewer->findChild<QLabel*>("helpFindStatus");
    QTRY_VERIFY(bar->isVisible() && field->hasFocus());
    QTest::keyClicks(field, word);
    QCOMPARE(status->text(), QStringLiteral("1 of %1").arg(count));
    QCOMPARE(page->extraSelections().size(), count);
    const int first = page->textCursor().selectionStart();
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(status->text(), QStringLiteral("2 of %1").arg(count));
    QTest::keyClick(m_viewer, Qt::Key_F3);
    QCOMPARE(status->text(), QStringLiteral("3 of %1").arg(count));
    QVERIFY(page->textCursor().selectionStart() > first);
    QTest::keyClick(m_viewer, Qt::Key_F3, Qt::ShiftModifier);
    QTest::keyClick(m_viewer, Qt::Key_F3, Qt::ShiftModifier);
    QCOMPARE(status->text(), QStringLiteral("1 of %1").arg(count));
    QCOMPARE(page->textCursor().selectedText().toLower(), word);
    QTest::keyClick(field, Qt::Key_Return, Qt::ShiftModifier);  // back past the first
    QCOMPARE(status->text(), QStringLiteral("%1 of %1").arg(count));
    field->setText("qzxjvkwy");
    QCOMPARE(status->text(), QStringLiteral("Not found"));
    QVERIFY(page->extraSelections().isEmpty());
    QVERIFY(!page->textCursor().hasSelection());  // nor is the last match still selected
    QTest::keyClick(field, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QVERIFY(m_viewer->isVisible());
    QTest::keyClick(m_viewer, Qt::Key_Escape);
    QVERIFY(!m_viewer->isVisible());
}

// The zoom steps between 50 and 300 per cent, by keys and by Ctrl+wheel;
// steps that come together lay the page out once.
void HelpWindowTest::zoom() {
    QVERIFY(Show(m_helpFile, QString()));
    QTextBrowser* page = Browser();
    const qreal normal = page->font().pointSizeF();
    // The page's text, sized by the help's style sheet, grows with it.
    const auto textSize = [page] {
        return page->document()->find("Mensura converts").charFormat().font().pointSizeF();
    };
    const qreal text = textSize();
    QVERIFY(text > 0);
    QTest::keyClick(m_viewer, Qt::Key_Plus, Qt::ControlModifier);
    QTRY_COMPARE(page->font().pointSizeF(), normal * 1.1);
    QCOMPARE(textSize(), text * 1.1);
    QSignalSpy laidOut(page, &QTextBrowser::sourceChanged);
    for (int i = 0; i < 20; ++i) QTest::keyClick(m_viewer, Qt::Key_Plus, Qt::ControlModifier);
    QTRY_COMPARE(page->font().pointSizeF(), normal * 3);
    QTest::qWait(50);
    QCOMPARE(laidOut.size(), 1);
    QTest::keyClick(m_viewer, Qt::Key_0, Qt::ControlModifier);
    QTRY_COMPARE(page->font().pointSizeF(), normal);
    for (int i = 0; i < 20; ++i) QTest::keyClick(m_viewer, Qt::Key_Minus, Qt::ControlModifier);
    QTRY_COMPARE(page->font().pointSizeF(), normal / 2);
    QWheelEvent wheel(QPointF(10, 10), page->viewport()->mapToGlobal(QPointF(10, 10)), {},
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(page->viewport(), &wheel);
    QTRY_COMPARE(page->font().pointSizeF(), normal * 0.67);
}

void HelpWindowTest::keysThatClose_data() {
    QTest::addColumn<QKeySequence>("key");
    QTest::newRow("Ctrl+W") << QKeySequence(Qt::CTRL | Qt::Key_W);
    QTest::newRow("Escape") << QKeySequence(Qt::Key_Escape);
}

void HelpWindowTest::keysThatClose() {
    QFETCH(QKeySequence, key);
    QVERIFY(Show(m_helpFile, QString()));
    QTest::keySequence(m_viewer, key);
    QVERIFY(!m_viewer->isVisible());
}

void HelpWindowTest::escapeEmptiesTheFieldFirst_data() {
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("findBar");
    // How many presses of Escape the window stays open for.
    QTest::addColumn<int>("open");
    QTest::newRow("Index, a word typed") << 1 << "helpIndexText"
                                         << "gallon" << false << 1;
    QTest::newRow("Index, empty") << 1 << "helpIndexText"
                                  << "" << false << 0;
    QTest::newRow("Search, words typed") << 2 << "helpSearchText"
                                         << "cubic feet" << false << 1;
    QTest::newRow("Search, empty") << 2 << "helpSearchText"
                                   << "" << false << 0;
    QTest::newRow("Search, words typed, find bar open") << 2 << "helpSearchText"
                                                        << "cubic" << true << 2;
    QTest::newRow("Search, empty, find bar open") << 2 << "helpSearchText"
                                                  << "" << true << 1;
}

// Escape in the Index or the Search field empties it first; once it is
// empty, Escape closes the find bar, if open, then the window.
void HelpWindowTest::escapeEmptiesTheFieldFirst() {
    QFETCH(int, tab);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, findBar);
    QFETCH(int, open);
    QVERIFY(Show(m_helpFile, QString()));
    if (findBar) QTest::keyClick(m_viewer, Qt::Key_F, Qt::ControlModifier);
    m_viewer->findChild<QTabWidget*>("helpTabs")->setCurrentIndex(tab);
    auto* text = m_viewer->findChild<QLineEdit*>(field);
    QTRY_VERIFY(text->hasFocus());
    QTest::keyClicks(text, typed);
    for (int press = 0; press < open; ++press) {
        QTest::keyClick(text, Qt::Key_Escape);
        QVERIFY2(m_viewer->isVisible(),
                 qPrintable(QStringLiteral("closed at press %1").arg(press + 1)));
    }
    QCOMPARE(text->text(), QString());
    QVERIFY(!m_viewer->findChild<QWidget*>("helpFindBar")->isVisible());
    QTest::keyClick(text->hasFocus() ? static_cast<QWidget*>(text) : m_viewer, Qt::Key_Escape);
    QVERIFY(!m_viewer->isVisible());
}

// A contents title cut off at the pane's edge shows whole in its tooltip;
// a title shown whole has none.
void HelpWindowTest::cutOffTitlesShowWhole() {
    QVERIFY(Show(m_helpFile, QString()));
    auto* contents = m_viewer->findChild<QTreeWidget*>("helpContents");
    const auto tipOf = [contents](QTreeWidgetItem* item) {
        QToolTip::hideText();  // which hides it a moment later
        for (int wait = 0; wait < 100 && QToolTip::isVisible(); ++wait) QTest::qWait(10);
        contents->scrollToItem(item);
        const QPoint at = contents->visualItemRect(item).center();
        QHelpEvent asked(QEvent::ToolTip, at, contents->viewport()->mapToGlobal(at));
        QApplication::sendEvent(contents->viewport(), &asked);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QTreeWidgetItem* cut = nullptr;
    QTreeWidgetItem* whole = nullptr;
    for (QTreeWidgetItemIterator it(contents); *it; ++it) {
        const int needed = contents->fontMetrics().horizontalAdvance((*it)->text(0));
        const int room = contents->visualItemRect(*it).width();
        if (needed > room && !cut) cut = *it;
        if (needed < room / 2 && !whole) whole = *it;
    }
    QVERIFY2(cut && whole, "the contents pane cuts off no title, or every one");
    QTextDocument tip;
    tip.setHtml(tipOf(cut));
    QCOMPARE(tip.toPlainText(), cut->text(0));
    QCOMPARE(tipOf(whole), QString());
}

// Ctrl+P asks for the page shown, of the file shown (the print job itself
// is print_job_test's).
void HelpWindowTest::printing() {
    QVERIFY(Show(m_helpFile, QString()));
    QSignalSpy asked(m_viewer, &HelpWindow::PrintRequested);
    QTest::keyClick(m_viewer, Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0][0].toByteArray(), QFile::encodeName(m_helpFile));
    QCOMPARE(asked[0][1].toUrl(), Browser()->source());
}

// The window opens within the free area of its screen, at any size of it.
void HelpWindowTest::fitsTheScreen() {
    QVERIFY(Show(m_helpFile, QString()));
    m_viewer->FitToScreen();
    const QRect room = m_viewer->screen()->availableGeometry();
    QVERIFY(m_viewer->width() <= room.width() * 9 / 10);
    QVERIFY(m_viewer->height() <= room.height() * 9 / 10);
    QVERIFY(room.contains(m_viewer->frameGeometry()));
    QCOMPARE(Browser()->accessibleName(), QStringLiteral("Help page"));
    QVERIFY(!m_viewer->findChild<QAction*>("helpHome")->icon().isNull());
}

// The three tabs are shown whole, in a desktop's font larger than Qt's own.
void HelpWindowTest::tabsStayWhole() {
    const QFont normal = QApplication::font();
    QFont large = normal;
    large.setPointSizeF(std::max(normal.pointSizeF(), 9.0) * 1.6);
    QApplication::setFont(large);
    const bool shown = Show(m_helpFile, QString());
    QApplication::setFont(normal);
    QVERIFY(shown);
    const auto* tabs = m_viewer->findChild<QTabBar*>();
    QVERIFY2(
        tabs->width() >= tabs->sizeHint().width(),
        qPrintable(QStringLiteral("%1 of %2").arg(tabs->width()).arg(tabs->sizeHint().width())));
}

// Under a dark desktop palette the page stays in its own colours, and so do
// its list's bullets, which Qt draws in the view's text colour: dark on the
// page's white, not the desktop's light text colour.
void HelpWindowTest::bulletsInThePagesColour() {
    const QPalette normal = QApplication::palette();
    QPalette dark = normal;
    for (const auto& [role, colour] : {std::pair{QPalette::Window, "#202020"},
                                       {QPalette::WindowText, "#e0e0e0"},
                                       {QPalette::Base, "#181818"},
                                       {QPalette::Text, "#e8e8e8"}})
        dark.setColor(role, QColor::fromString(colour));
    QApplication::setPalette(dark);
    const bool shown = Show(m_helpFile, QString());
    QApplication::setPalette(normal);
    QVERIFY(shown);
    QTextBrowser* browser = Browser();
    QTextBlock item = browser->document()->begin();
    while (item.isValid() &&
           !(item.textList() && item.textList()->format().style() == QTextListFormat::ListDisc))
        item = item.next();
    QVERIFY2(item.isValid(), "the first page has no bulleted list");
    const QTextCursor start(item);
    browser->setTextCursor(start);
    browser->ensureCursorVisible();
    // The bullet stands left of the item's first line.
    const QRect line = browser->cursorRect(start);
    const QImage page = browser->viewport()->grab().toImage();
    QVERIFY(line.left() > 4 && line.bottom() < page.height());
    float darkest = 1;
    for (int y = line.top(); y <= line.bottom(); ++y)
        for (int x = 0; x < line.left(); ++x)
            darkest = std::min(darkest, page.pixelColor(x, y).lightnessF());
    QCOMPARE(page.pixelColor(1, line.center().y()), QColor(Qt::white));
    QVERIFY2(darkest < 0.3f, qPrintable(QString::number(darkest)));
}

QTEST_MAIN(HelpWindowTest)
#include "help_window_test.moc"
