// The Help command: where the help file is looked for, and the help viewer
// it starts as a process of its own, which may crash, hang or be missing
// while the converter's window keeps answering.
#include "help_command.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "application.h"
#include "form1.h"
#include "window_tests.h"

using mensura::Form1;

namespace fs = std::filesystem;

// Stands in for the desktop's web browser: notes every address handed to it.
class Browser : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void Open(const QUrl& url) { opened << url; }
};

class HelpCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void candidates_data();
    void candidates();
    void currentDirectoryAsItIs_data();
    void currentDirectoryAsItIs();
    void hostileFolders_data();
    void hostileFolders();
    void hostileTitles_data();
    void hostileTitles();
    void helpMenu_data();
    void helpMenu();
    void slowPageIsNoHungViewer();
    void viewerThatGoesIsStartedAfresh_data();
    void viewerThatGoesIsStartedAfresh();
    void missingViewer();

private:
    // Presses F1 and waits for the viewer to answer that it shows the help
    // for the `times`-th time since it started.
    void PressF1(Form1& form, int times);
    // Compiles MnsHlp.chm in `folder` with one page, its default topic.
    static bool CompileHelp(const QString& folder, const QString& page);

    QString m_helpFile;  // the compiled help file, beside this test program
    QString m_startDir;
    int m_deadline = 0;
    ModalWatchdog* m_watchdog = nullptr;
    QString m_unexpectedModal;
};

void HelpCommandTest::initTestCase() {
    mensura::PrepareApplication();
    QApplication::setQuitOnLastWindowClosed(false);
    m_helpFile = QCoreApplication::applicationDirPath() + QStringLiteral("/MnsHlp.chm");
    QVERIFY2(QFileInfo(m_helpFile).isFile(), qPrintable(m_helpFile + " is not built"));
    QVERIFY(!mensura::HelpViewerProgram(QCoreApplication::applicationDirPath()).isEmpty());
    m_startDir = QDir::currentPath();
}

void HelpCommandTest::init() {
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
    m_deadline = mensura::SetHelpViewerDeadline(5000);
}

void HelpCommandTest::cleanup() {
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
    mensura::SetHelpViewerDeadline(m_deadline);
    QDir::setCurrent(m_startDir);
    delete m_watchdog;
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

void HelpCommandTest::PressF1(Form1& form, int times) {
    form.activateWindow();
    QTRY_VERIFY(form.isActiveWindow());
    QTest::keyClick(&form, Qt::Key_F1);
    QTRY_COMPARE_WITH_TIMEOUT(mensura::CurrentHelpViewer().shown, times, 20000);
}

bool HelpCommandTest::CompileHelp(const QString& folder, const QString& page) {
    const QMap<QString, QString> sources{
        {"index.html", page},
        {"MnsHlp.hhp",
         "[OPTIONS]\nCompiled file=MnsHlp.chm\nDefault topic=index.html\n\n[FILES]\nindex.html\n"}};
    for (auto it = sources.begin(); it != sources.end(); ++it) {
        QFile file(folder + '/' + it.key());
        if (!file.open(QIODevice::WriteOnly) || file.write(it.value().toUtf8()) < 0) return false;
    }
    QProcess chmcmd;
    chmcmd.setWorkingDirectory(folder);
    chmcmd.start(MENSURA_CHMCMD, {"--no-html-scan", "MnsHlp.hhp"});
    return chmcmd.waitForFinished(30000) && QFileInfo(folder + "/MnsHlp.chm").isFile();
}

void HelpCommandTest::candidates_data() {
    QTest::addColumn<QByteArray>("requested");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QByteArrayList>("places");
    QTest::newRow("started elsewhere")
        << QByteArray("/home/ann/MnsHlp.chm") << "/usr/bin"
        << QByteArrayList{"/home/ann/MnsHlp.chm", "/usr/bin/MnsHlp.chm",
                          "/usr/share/mensura/MnsHlp.chm"};
    // The root as current directory gives two slashes, passed on as they are.
    QTest::newRow("root") << QByteArray("//MnsHlp.chm") << "/opt/mensura/bin"
                          << QByteArrayList{"//MnsHlp.chm", "/opt/mensura/bin/MnsHlp.chm",
                                            "/opt/mensura/share/mensura/MnsHlp.chm"};
    QTest::newRow("started in its own folder")
        << QByteArray("/opt/mensura/bin/MnsHlp.chm") << "/opt/mensura/bin"
        << QByteArrayList{"/opt/mensura/bin/MnsHlp.chm", "/opt/mensura/share/mensura/MnsHlp.chm"};
    QTest::newRow("started in the data folder")
        << QByteArray("/usr/share/mensura/MnsHlp.chm") << "/usr/bin"
        << QByteArrayList{"/usr/share/mensura/MnsHlp.chm", "/usr/bin/MnsHlp.chm"};
}

void HelpCommandTest::candidates() {
    QFETCH(QByteArray, requested);
    QFETCH(QString, programFolder);
    QFETCH(QByteArrayList, places);
    QCOMPARE(mensura::HelpFileCandidates(requested, programFolder), places);
}

void HelpCommandTest::currentDirectoryAsItIs_data() {
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("plain") << QByteArray("plain");
    QTest::newRow("not UTF-8") << QByteArray("bad\xff\xfe");
    QByteArray deep;
    for (int level = 0; level < 24; ++level) deep += QByteArray(200, 'd') + '/';
    QTest::newRow("longer than PATH_MAX") << deep.chopped(1);
}

// The current directory the main window asks for the help file in is the
// directory as it is, whatever its name.
void HelpCommandTest::currentDirectoryAsItIs() {
    QFETCH(QByteArray, folder);
    QTemporaryDir root;
    // Made and entered step by step: a path longer than PATH_MAX can be
    // neither made nor entered at once.
    QVERIFY(chdir(QFile::encodeName(root.path()).constData()) == 0);
    for (const QByteArray& step : folder.split('/'))
        QVERIFY(mkdir(step.constData(), 0700) == 0 && chdir(step.constData()) == 0);
    const QByteArray current = mensura::CurrentDirectory();
    QDir::setCurrent(m_startDir);
    QCOMPARE(current, QFile::encodeName(root.path()) + '/' + folder);
    // Qt's removal takes paths no longer than PATH_MAX, in UTF-8.
    QCOMPARE(QProcess::execute("rm", {"-rf", root.path()}), 0);
}

void HelpCommandTest::hostileFolders_data() {
    QTest::addColumn<QByteArray>("folder");
    QTest::newRow("a tab") << QByteArray("A\thelp:");
    QTest::newRow("a line end and a command") << QByteArray("x\nopen https:\nopen http:");
    QTest::newRow("a carriage return") << QByteArray("x\r");
    QTest::newRow("not UTF-8") << QByteArray("bad\xff\xfe");
    QTest::newRow("escapes") << QByteArray("%0Aopen https:%20");
}

// F1 in a folder whose name holds what once ended a field or a line: the
// viewer shows the help file there, named whole in its answer, and nothing
// is handed to the desktop.
void HelpCommandTest::hostileFolders() {
    QFETCH(QByteArray, folder);
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "Open");
    QDesktopServices::setUrlHandler("http", &browser, "Open");
    QTemporaryDir root;
    const fs::path where = fs::path(root.path().toStdString()) / folder.toStdString();
    fs::create_directory(where);
    fs::copy_file(m_helpFile.toStdString(), where / "MnsHlp.chm");
    QVERIFY(chdir(where.c_str()) == 0);
    {
        Form1 form;
        QVERIFY(ShowActive(&form));
        PressF1(form, 1);
        QCOMPARE(mensura::CurrentHelpViewer().path,
                 QByteArray::fromStdString((where / "MnsHlp.chm").string()));
        QTest::qWait(200);  // whatever else the viewer might have said
    }
    QDesktopServices::unsetUrlHandler("https");
    QDesktopServices::unsetUrlHandler("http");
    QCOMPARE(browser.opened, QList<QUrl>());
    QCOMPARE(QProcess::execute("rm", {"-rf", root.path()}), 0);
}

void HelpCommandTest::hostileTitles_data() {
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("shown");  // as the window shows it, on one line
    const QString command = QStringLiteral("Units open https://example.invalid/");
    QTest::newRow("a line end") << "Units\nopen https://example.invalid/\n" << command;
    QTest::newRow("line ends as references")
        << "Units&#13;&#10;open https://example.invalid/&#10;" << command;
    QTest::newRow("escapes") << "Units%0Aopen%20https://example.invalid/"
                             << "Units%0Aopen%20https://example.invalid/";
    QTest::newRow("not ASCII")
        << QString::fromUtf8("\xc3\x9cnits \xe2\x80\x94 open https://a.invalid/")
        << QString::fromUtf8("\xc3\x9cnits \xe2\x80\x94 open https://a.invalid/");
}

// Ctrl+P on a page whose title holds line ends and a command, in a viewer
// that is mensura-help's own run, on the real channel: the print job the
// Help command starts is handed one request, the title one field of it,
// and nothing is handed to the desktop.
void HelpCommandTest::hostileTitles() {
    QFETCH(QString, title);
    QFETCH(QString, shown);
    Browser browser;
    QDesktopServices::setUrlHandler("https", &browser, "Open");
    QDesktopServices::setUrlHandler("http", &browser, "Open");
    const auto unset = qScopeGuard([] {
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("http");
        qunsetenv("MENSURA_TEST_PRINT_REQUEST");
    });
    QTemporaryDir help;
    QVERIFY(CompileHelp(help.path(), "<html><head><title>" + title +
                                         "</title></head><body><p>Units</p></body></html>"));
    // Where the Help command looks for mensura-help, the one that presses Ctrl+P.
    QTemporaryDir viewer;
    QVERIFY(QFile::link(QCoreApplication::applicationDirPath() + "/mensura_print_asking_viewer",
                        viewer.filePath("mensura-help")));
    const QString kept = viewer.filePath("request");
    qputenv("MENSURA_TEST_PRINT_REQUEST", QFile::encodeName(kept));
    const QByteArray file = QFile::encodeName(help.filePath("MnsHlp.chm"));
    QVERIFY(mensura::ShowHelp(file, viewer.path()));
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(kept) || !browser.opened.isEmpty(), 20000);
    QTest::qWait(200);  // whatever else the viewer might have said
    QCOMPARE(browser.opened, QList<QUrl>());

    QFile request(kept);
    QVERIFY(request.open(QIODevice::ReadOnly));
    const QByteArray line = request.readAll();
    QCOMPARE(line.count('\n'), 1);
    QVERIFY(line.endsWith('\n'));
    const auto print = mensura::channel::Decode<mensura::channel::Print>(line.chopped(1));
    QVERIFY2(print, line.constData());
    QCOMPARE(print->file, file);
    // The title came whole, as text: Qt's window title flattens line ends,
    // and the channel changes nothing of the rest.
    QCOMPARE(QString::fromUtf8(print->title), shown);
    // And the viewer's window, for the print dialog to stand over.
    QVERIFY(print->window > 0);
}

void HelpCommandTest::helpMenu_data() {
    QTest::addColumn<bool>("f1");
    QTest::newRow("Alt+H, then P") << false;
    QTest::newRow("F1") << true;
}

// Alt+H, then P (or F1), from a program started outside its folder: the
// viewer opens the help beside the program, and the next Help command asks
// the same viewer to show it again.
void HelpCommandTest::helpMenu() {
    QFETCH(bool, f1);
    QTemporaryDir elsewhere;
    QVERIFY(QDir::setCurrent(elsewhere.path()));
    Form1 form;
    QVERIFY(ShowActive(&form));
    qint64 first = 0;
    for (int time = 1; time <= 2; ++time) {
        form.activateWindow();
        QTRY_VERIFY(form.isActiveWindow());
        if (f1) {
            QTest::keyClick(&form, Qt::Key_F1);
        } else {
            QTest::keyClick(&form, Qt::Key_H, Qt::AltModifier);
            QTRY_VERIFY(QApplication::activePopupWidget());
            QCOMPARE(QApplication::activePopupWidget()->objectName(), QStringLiteral("mnuHelp"));
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_P);
            QTRY_VERIFY(!QApplication::activePopupWidget());
        }
        QTRY_COMPARE_WITH_TIMEOUT(mensura::CurrentHelpViewer().shown, time, 20000);
        const mensura::HelpViewerState viewer = mensura::CurrentHelpViewer();
        if (!first) first = viewer.pid;
        QCOMPARE(viewer.pid, first);
        QCOMPARE(viewer.file, m_helpFile);
        QVERIFY2(viewer.page.startsWith("help:/"), qPrintable(viewer.page));
    }
    QVERIFY(form.isVisible());
}

// A page that takes a second or more to lay out, longer than the deadline, keeps its
// viewer: it answers while its window is busy, and shows the page.
void HelpCommandTest::slowPageIsNoHungViewer() {
    mensura::SetHelpViewerDeadline(300);
    QTemporaryDir folder;
    QString items;
    for (int i = 0; i < 4000; ++i)
        items += QStringLiteral("<li>Item %1 of a long list, with some words to wrap</li>").arg(i);
    QVERIFY(CompileHelp(folder.path(),
                        "<html><head><title>Slow</title></head><body><ul>" + items + "</ul>"));
    QVERIFY(QDir::setCurrent(folder.path()));
    Form1 form;
    QVERIFY(ShowActive(&form));
    QElapsedTimer shownAfter;
    shownAfter.start();
    QTest::keyClick(&form, Qt::Key_F1);
    QTRY_COMPARE_WITH_TIMEOUT(mensura::CurrentHelpViewer().shown, 1, 60000);
    qInfo("the slow page shown after %lld ms", static_cast<long long>(shownAfter.elapsed()));
    QCOMPARE(mensura::CurrentHelpViewer().file, folder.filePath("MnsHlp.chm"));
}

void HelpCommandTest::viewerThatGoesIsStartedAfresh_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("crashed") << int(SIGSEGV);
    QTest::newRow("killed") << int(SIGKILL);
    QTest::newRow("hung") << int(SIGSTOP);
}

// Whatever happens to the viewer, the converter answers at once, and the
// next Help command starts a fresh viewer; a hung one is ended.
void HelpCommandTest::viewerThatGoesIsStartedAfresh() {
    QFETCH(int, signal);
    mensura::SetHelpViewerDeadline(300);
    Form1 form;
    QVERIFY(ShowActive(&form));
    PressF1(form, 1);
    const qint64 gone = mensura::CurrentHelpViewer().pid;
    QVERIFY(gone > 0);
    QCOMPARE(::kill(static_cast<pid_t>(gone), signal), 0);

    auto* box = form.findChild<QLineEdit*>("txtUserData");
    QTest::keyClicks(box, "12");
    QCOMPARE(form.findChild<QLabel*>("lb1")->text(), QStringLiteral("144."));
    QTRY_COMPARE_WITH_TIMEOUT(mensura::CurrentHelpViewer().pid, qint64(0), 10000);
    // A hung viewer was killed, not left behind.
    QTRY_VERIFY_WITH_TIMEOUT(::kill(static_cast<pid_t>(gone), 0) != 0, 5000);

    PressF1(form, 1);
    const qint64 fresh = mensura::CurrentHelpViewer().pid;
    QVERIFY(fresh > 0 && fresh != gone);
    QCOMPARE(mensura::CurrentHelpViewer().file, m_helpFile);
}

// Without the viewer program the main window says so in a window of its
// own that blocks nothing, and goes on converting.
void HelpCommandTest::missingViewer() {
    QTemporaryDir noViewerHere;
    QVERIFY(!mensura::ShowHelp(QFile::encodeName(m_helpFile), noViewerHere.path()));
    QMessageBox* message = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == "helpProblem" && window->isVisible())
            message = qobject_cast<QMessageBox*>(window);
    QVERIFY(message);
    QVERIFY2(message->text().contains("mensura-help"), qPrintable(message->text()));
    QCOMPARE(message->windowModality(), Qt::NonModal);
    QCOMPARE(mensura::CurrentHelpViewer().pid, qint64(0));
    message->close();
}

QTEST_MAIN(HelpCommandTest)
#include "help_command_test.moc"
