// Mensura natively on Wayland, checked from the compositor's side. Run by
// wayland_session.sh inside a headless weston that logs its protocol traffic
// (MENSURA_WESTON_LOG): the toplevel windows of every client, whichever
// process they belong to, with their titles and size limits, come from that
// log; what is on the screen comes from weston-screenshooter. The program is
// driven in-process, as the headless compositor has no seat to send input.
#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWindow>
#include <QtTest>
#include <cstdio>
#include <map>

#include "application.h"
#include "form1.h"
#include "help_command.h"

using mensura::Form1;

namespace {

// A toplevel window as the compositor was told of it, by any client.
struct Toplevel {
    QString title;
    QSize minSize;
    QSize maxSize;
    bool alive = true;
};

// Replays weston's protocol log: requests look like
//   client 0x55d0 (PID 81) rq xdg_surface@14.get_toplevel(new id xdg_toplevel@15)
//   client 0x55d0 (PID 81) rq xdg_toplevel@15.set_title("Mensura")
// (weston 10 writes no PID). Object ids are per client and reused once freed.
QList<Toplevel> CompositorWindows() {
    QFile log(qEnvironmentVariable("MENSURA_WESTON_LOG"));
    if (!log.open(QIODevice::ReadOnly)) return {};
    static const QRegularExpression request(QStringLiteral(
        R"(client (\S+)(?: \(PID \d+\))? rq xdg_(?:toplevel|surface)@(\d+)\.(\w+)\((.*)\)\s*$)"));
    static const QRegularExpression size(QStringLiteral(R"(^(-?\d+), (-?\d+)$)"));
    static const QRegularExpression newToplevel(QStringLiteral(R"(new id xdg_toplevel@(\d+))"));
    std::map<QString, Toplevel> byObject;  // "client id" -> window
    QList<QString> order;
    while (!log.atEnd()) {
        const QString line = QString::fromUtf8(log.readLine());
        const QRegularExpressionMatch m = request.match(line);
        if (!m.hasMatch()) continue;
        const QString client = m.captured(1);
        const QString method = m.captured(3);
        const QString args = m.captured(4);
        if (method == QLatin1String("get_toplevel")) {
            const QString key = client + QLatin1Char(' ') + newToplevel.match(args).captured(1);
            byObject[key] = Toplevel{};
            order.removeAll(key);
            order << key;
            continue;
        }
        const auto found = byObject.find(client + QLatin1Char(' ') + m.captured(2));
        if (found == byObject.end() || !line.contains(QLatin1String("rq xdg_toplevel@"))) continue;
        Toplevel& window = found->second;
        const QRegularExpressionMatch wh = size.match(args);
        if (method == QLatin1String("set_title") && args.size() >= 2)
            window.title = args.mid(1, args.size() - 2);
        else if (method == QLatin1String("set_min_size") && wh.hasMatch())
            window.minSize = QSize(wh.captured(1).toInt(), wh.captured(2).toInt());
        else if (method == QLatin1String("set_max_size") && wh.hasMatch())
            window.maxSize = QSize(wh.captured(1).toInt(), wh.captured(2).toInt());
        else if (method == QLatin1String("destroy"))
            window.alive = false;
    }
    QList<Toplevel> windows;
    for (const QString& key : order) windows << byObject[key];
    return windows;
}

QList<Toplevel> Shown(const QString& title) {
    QList<Toplevel> shown;
    for (const Toplevel& window : CompositorWindows())
        if (window.alive && window.title == title) shown << window;
    return shown;
}

// Whether the process still runs (a zombie has ended).
bool Runs(qint64 pid) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly)) return false;
    const QByteArray line = stat.readAll();
    const qsizetype state = line.lastIndexOf(") ") + 2;
    return state >= 2 && state < line.size() && line.at(state) != 'Z';
}

// The whole output, as the compositor draws it.
QImage Screenshot() {
    QTemporaryDir dir;
    QProcess shooter;
    shooter.setWorkingDirectory(dir.path());
    shooter.start(QStringLiteral("weston-screenshooter"), {});
    if (!shooter.waitForFinished(20000) || shooter.exitCode() != 0) return {};
    const QStringList shots = QDir(dir.path()).entryList({QStringLiteral("*.png")});
    if (shots.isEmpty()) return {};
    return QImage(dir.filePath(shots.first())).convertToFormat(QImage::Format_RGB32);
}

// Whether the picture lies anywhere in the screenshot, pixel for pixel: all
// but a few pixels (a text cursor) must agree.
bool Contains(const QImage& screen, const QImage& picture) {
    const QImage want = picture.convertToFormat(QImage::Format_RGB32);
    const int w = want.width(), h = want.height();
    const qsizetype allowed = qsizetype{w} * h / 1000;
    for (int y = 0; y + h <= screen.height(); ++y) {
        for (int x = 0; x + w <= screen.width(); ++x) {
            qsizetype differ = 0;
            for (int row = 0; row < h && differ <= allowed; ++row) {
                const auto* a = reinterpret_cast<const QRgb*>(screen.constScanLine(y + row)) + x;
                const auto* b = reinterpret_cast<const QRgb*>(want.constScanLine(row));
                for (int col = 0; col < w && differ <= allowed; ++col)
                    if ((a[col] ^ b[col]) & 0xffffff) ++differ;
                if (row == 0 && differ > 0) differ = allowed + 1;  // a quick no
            }
            if (differ <= allowed) return true;
        }
    }
    return false;
}

// Whether the compositor shows the picture within a few seconds: a window
// shown or changed reaches the screen at the compositor's next repaint.
bool OnScreenSoon(const QImage& picture) {
    QDeadlineTimer deadline(10000);
    do {
        if (Contains(Screenshot(), picture)) return true;
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return false;
}

}  // namespace

class WaylandTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void mainWindowAtItsFixedSize();
    void typingFillsTheResults();
    void aboutOpensAndCloses();
    void helpOpensAndCloses();
    void maximizeKeepsTheLayout();
    void programStartsSilently();

private:
    QLabel* Label(const QString& name) const { return m_form->findChild<QLabel*>(name); }
    void Trigger(const char* action) {
        QAction* item = m_form->findChild<QAction*>(QLatin1String(action));
        QVERIFY(item);
        item->trigger();
    }

    Form1* m_form = nullptr;
};

void WaylandTest::initTestCase() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("wayland"));
    QVERIFY2(QFile::exists(qEnvironmentVariable("MENSURA_WESTON_LOG")),
             "MENSURA_WESTON_LOG names no protocol log of weston");
    mensura::PrepareApplication();
    QApplication::setQuitOnLastWindowClosed(false);
    m_form = new Form1;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form));
}

void WaylandTest::init() {
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

void WaylandTest::cleanupTestCase() {
    delete m_form;
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
}

void WaylandTest::mainWindowAtItsFixedSize() {
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QCOMPARE(m_form->size(), m_form->minimumSize());
    QTRY_COMPARE(Shown(QStringLiteral("Mensura")).size(), 1);
    // The compositor is told that the window cannot be resized, at its size
    // with the decoration around it (Qt 6.8) or without (Qt 6.4).
    const Toplevel window = Shown(QStringLiteral("Mensura")).first();
    QCOMPARE(window.minSize, window.maxSize);
    const QSize decoration = window.maxSize - m_form->size();
    QVERIFY2(decoration.width() >= 0 && decoration.width() < 32 && decoration.height() >= 0 &&
                 decoration.height() < 64,
             qPrintable(QStringLiteral("%1 x %2 for the window")
                            .arg(window.maxSize.width())
                            .arg(window.maxSize.height())));
    QVERIFY2(!Screenshot().isNull(), "weston-screenshooter made no picture");
    QVERIFY2(OnScreenSoon(m_form->grab().toImage()), "the window is not on the screen");
}

void WaylandTest::typingFillsTheResults() {
    const QImage empty = m_form->grab().toImage();
    QTest::keyClicks(m_form->findChild<QLineEdit*>(QStringLiteral("txtUserData")), "12");
    QCOMPARE(Label(QStringLiteral("lb1"))->text(), QStringLiteral("144."));
    QCOMPARE(Label(QStringLiteral("lb2"))->text(), QStringLiteral("FEET"));
    QCOMPARE(Label(QStringLiteral("lb15"))->text(), QStringLiteral(".0036576"));
    // The compositor shows the filled window, not the empty one.
    QVERIFY2(OnScreenSoon(m_form->grab().toImage()), "the filled results are not on the screen");
    QVERIFY(!Contains(Screenshot(), empty));
}

void WaylandTest::aboutOpensAndCloses() {
    Trigger("mnuAbout");
    QTRY_COMPARE(Shown(QStringLiteral("About Mensura")).size(), 1);
    const Toplevel about = Shown(QStringLiteral("About Mensura")).first();
    QVERIFY(!about.minSize.isEmpty());
    QCOMPARE(about.maxSize, about.minSize);
    // It closes by itself after 2.5 seconds.
    QTRY_VERIFY_WITH_TIMEOUT(Shown(QStringLiteral("About Mensura")).isEmpty(), 10000);
}

void WaylandTest::helpOpensAndCloses() {
    // The help viewer is a program of its own, a client of the compositor
    // beside this one; the Help layer closes it.
    Trigger("mnuHelpItem");
    QTRY_COMPARE_WITH_TIMEOUT(Shown(QStringLiteral("Mensura Help")).size(), 1, 20000);
    const qint64 viewer = mensura::CurrentHelpViewer().pid;
    QVERIFY(viewer > 0);
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
    // The viewer closes its window and ends, or is killed if it is slow to.
    // Weston drops the requests still unread from a client that has gone,
    // the window's destroy among them, and removes the client's windows
    // without a line in its log: a viewer that has ended has no window left.
    QTRY_VERIFY_WITH_TIMEOUT(Shown(QStringLiteral("Mensura Help")).isEmpty() || !Runs(viewer),
                             10000);
    QCOMPARE(Shown(QStringLiteral("Mensura")).size(), 1);
}

void WaylandTest::maximizeKeepsTheLayout() {
    // Qt's own window decoration offers maximize whatever the window's size
    // limits; this is what its button asks for. The window stays as it was.
    const QSize fixed = m_form->size();
    const QImage before = m_form->grab().toImage();
    QSignalSpy states(m_form->windowHandle(), &QWindow::windowStateChanged);
    m_form->windowHandle()->setWindowStates(Qt::WindowMaximized);
    QTRY_VERIFY(!states.isEmpty());
    QCOMPARE(states.first().first().value<Qt::WindowState>(), Qt::WindowMaximized);
    QTest::qWait(500);  // for the compositor's answer
    QTRY_VERIFY(!m_form->windowHandle()->windowStates().testFlag(Qt::WindowMaximized));
    QTRY_COMPARE(m_form->size(), fixed);
    QVERIFY2(OnScreenSoon(before), "the window is not on the screen as before");
}

// The program itself, started as a desktop would start it: its window
// reaches the compositor at the main window's fixed size, and it says
// nothing on its error output.
void WaylandTest::programStartsSilently() {
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("QT_IM_MODULE"));
    program.setProcessEnvironment(environment);
    program.start(qEnvironmentVariable("MENSURA_PROGRAM"), {});
    QVERIFY2(program.waitForStarted(), "MENSURA_PROGRAM names no program");
    const auto stop = qScopeGuard([&program] {
        program.kill();
        program.waitForFinished();
    });
    const Toplevel ours = Shown(QStringLiteral("Mensura")).first();
    QTRY_COMPARE_WITH_TIMEOUT(Shown(QStringLiteral("Mensura")).size(), 2, 20000);
    const Toplevel theirs = Shown(QStringLiteral("Mensura")).last();
    QCOMPARE(theirs.maxSize, ours.maxSize);
    QCOMPARE(theirs.minSize, ours.minSize);
    QTest::qWait(1000);
    QCOMPARE(program.state(), QProcess::Running);
    QCOMPARE(QString::fromLocal8Bit(program.readAllStandardError()), QString());
}

namespace {

// Qt's messages before and after the tests run (QtTest reports those in
// between): the platform plugin's start-up and the windows' ending.
QStringList g_messages;

void Note(QtMsgType type, const QMessageLogContext&, const QString& message) {
    std::fprintf(stderr, "%s\n", qPrintable(message));
    if (type != QtDebugMsg && type != QtInfoMsg) g_messages << message;
}

}  // namespace

int main(int argc, char* argv[]) {
    qInstallMessageHandler(Note);
    int status = 0;
    {
        QApplication app(argc, argv);
        QApplication::setAttribute(Qt::AA_Use96Dpi, true);
        WaylandTest test;
        status = QTest::qExec(&test, argc, argv);
    }
    if (!g_messages.isEmpty()) {
        std::fprintf(stderr, "FAIL: Qt warned outside the test functions\n");
        status = 1;
    }
    return status;
}

#include "wayland_test.moc"
