// The Help command: where the help file is looked for, and the help viewer
// it starts as a process of its own, which may crash, hang or be missing
// while the converter's window keeps answering.
#include "help_command.h"

#include <signal.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>

#include "application.h"
#include "form1.h"
#include "window_tests.h"

using mensura::Form1;

class HelpCommandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void candidates_data();
    void candidates();
    void helpMenu_data();
    void helpMenu();
    void viewerThatGoesIsStartedAfresh_data();
    void viewerThatGoesIsStartedAfresh();
    void missingViewer();

private:
    // Presses F1 and waits for the viewer to answer that it shows the help
    // for the `times`-th time since it started.
    void PressF1(Form1& form, int times);

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

void HelpCommandTest::candidates_data() {
    QTest::addColumn<QString>("requested");
    QTest::addColumn<QString>("programFolder");
    QTest::addColumn<QStringList>("places");
    QTest::newRow("started elsewhere") << "/home/ann/MnsHlp.chm"
                                       << "/usr/bin"
                                       << QStringList{"/home/ann/MnsHlp.chm", "/usr/bin/MnsHlp.chm",
                                                      "/usr/share/mensura/MnsHlp.chm"};
    // The root as current directory gives two slashes, passed on as they are.
    QTest::newRow("root") << "//MnsHlp.chm"
                          << "/opt/mensura/bin"
                          << QStringList{"//MnsHlp.chm", "/opt/mensura/bin/MnsHlp.chm",
                                         "/opt/mensura/share/mensura/MnsHlp.chm"};
    QTest::newRow("started in its own folder")
        << "/opt/mensura/bin/MnsHlp.chm"
        << "/opt/mensura/bin"
        << QStringList{"/opt/mensura/bin/MnsHlp.chm", "/opt/mensura/share/mensura/MnsHlp.chm"};
    QTest::newRow("started in the data folder")
        << "/usr/share/mensura/MnsHlp.chm"
        << "/usr/bin" << QStringList{"/usr/share/mensura/MnsHlp.chm", "/usr/bin/MnsHlp.chm"};
}

void HelpCommandTest::candidates() {
    QFETCH(QString, requested);
    QFETCH(QString, programFolder);
    QFETCH(QStringList, places);
    QCOMPARE(mensura::HelpFileCandidates(requested, programFolder), places);
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
    QVERIFY(!mensura::ShowHelp(m_helpFile, noViewerHere.path()));
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
