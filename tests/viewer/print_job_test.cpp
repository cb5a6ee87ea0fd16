// The print job (mensura-help --print) as the Help command starts it, with
// hostile titles and folders: nothing a page or a folder holds becomes an
// option, and the PDF goes to the file chosen, opened once, whatever links
// lie about. The PDFs are read back with poppler's tools.
#include "print_job.h"

#include <fcntl.h>
#include <unistd.h>

#include <QImage>
#include <QPageSize>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "help_protocol.h"

namespace fs = std::filesystem;
namespace channel = mensura::channel;

namespace {

// Link names a page title once turned into options.
const char* const kOptionLinks[] = {"--pdf", "--printer", "--landscape", "--grey", "--spool"};

std::string Read(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

QString Tool(const QString& program, const QStringList& arguments) {
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(30000)) return QStringLiteral("(%1 did not run)").arg(program);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

// Whether the first page, drawn small, has a pixel of clear colour (the
// help's headings are dark red).
bool HasColour(const fs::path& pdf) {
    const QString png = QString::fromStdString(pdf.string()) + "-page";
    Tool("pdftoppm", {"-r", "40", "-f", "1", "-l", "1", "-png", "-singlefile",
                      QString::fromStdString(pdf.string()), png});
    const QImage page(png + ".png");
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (std::abs(c.red() - c.green()) > 40) return true;
        }
    return false;
}

struct Run {
    int status = -1;
    QByteArray said;  // standard error
};

}  // namespace

class PrintJobTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase() { fs::remove_all(m_root.path().toStdString()); }

    void hostileTitlesAndFolders_data();
    void hostileTitlesAndFolders();
    void optionsOnlyFromTheCaller_data();
    void optionsOnlyFromTheCaller();
    void chosenFileThatIsALink();
    void printerThatDoesNotExist();
    void confinedStepFollowsTheSettings();
    void confinedStepWithoutItsFile();

private:
    // The print job with `arguments` after --print, `input` on its
    // standard input, in `folder`.
    Run PrintJob(const QStringList& arguments, const QByteArray& input, const fs::path& folder) {
        return Start(QStringList{channel::kPrintArgument} + arguments, input, folder);
    }
    // mensura-help with `arguments`, `input` on its standard input, in
    // `folder`; `inherited` stays open in it.
    Run Start(const QStringList& arguments, const QByteArray& input, const fs::path& folder,
              int inherited = -1);
    // The request the Help command makes for the units page of `file`.
    static QByteArray Request(const fs::path& file, const QByteArray& title);

    QString m_viewer;
    fs::path m_helpFile;
    QTemporaryDir m_root;
};

void PrintJobTest::initTestCase() {
    m_viewer = QCoreApplication::applicationDirPath() + "/mensura-help";
    m_helpFile = QCoreApplication::applicationDirPath().toStdString() + "/MnsHlp.chm";
    QVERIFY(fs::exists(m_helpFile));
    QVERIFY(m_root.isValid());
    QVERIFY2(Tool("pdfinfo", {"-v"}).isEmpty(), "pdfinfo (poppler-utils) is needed");
}

Run PrintJobTest::Start(const QStringList& arguments, const QByteArray& input,
                        const fs::path& folder, int inherited) {
    QProcess job;
    job.setProgram(m_viewer);
    job.setArguments(arguments);
    // The folder's name may not be UTF-8: the job starts there by its bytes.
    const std::string where = folder.string();
    job.setChildProcessModifier([where, inherited] {
        if (chdir(where.c_str()) != 0) _exit(99);
        if (inherited >= 0) fcntl(inherited, F_SETFD, 0);
    });
    job.start();
    Run run;
    if (!job.waitForStarted()) return run;
    job.write(input);
    job.closeWriteChannel();
    if (!job.waitForFinished(60000)) job.kill();
    run.status = job.exitStatus() == QProcess::NormalExit ? job.exitCode() : -1;
    run.said = job.readAllStandardError();
    return run;
}

QByteArray PrintJobTest::Request(const fs::path& file, const QByteArray& title) {
    return channel::Encode(
        channel::Print{QByteArray::fromStdString(file.string()), "help:/units.html", title});
}

void PrintJobTest::hostileTitlesAndFolders_data() {
    QTest::addColumn<QByteArray>("folder");
    QTest::addColumn<QByteArray>("title");
    QTest::newRow("--pdf") << QByteArray("plain") << QByteArray("--pdf");
    QTest::newRow("--landscape") << QByteArray("plain") << QByteArray("--landscape");
    QTest::newRow("--grey") << QByteArray("plain") << QByteArray("--grey");
    QTest::newRow("options in one title")
        << QByteArray("plain") << QByteArray("--printer x --spool /tmp --landscape --grey");
    QTest::newRow("a line end and a command")
        << QByteArray("plain") << QByteArray("Units\nopen https://example.invalid/\n");
    QTest::newRow("100 KB") << QByteArray("plain") << QByteArray(100 * 1024, '-');
    QTest::newRow("folder with a tab") << QByteArray("A\thelp:") << QByteArray("The units");
    QTest::newRow("folder with line ends")
        << QByteArray("new\nline\r\nshown x") << QByteArray("The units");
    QTest::newRow("folder not UTF-8") << QByteArray("bad\xff\xfe name") << QByteArray("--pdf");
}

// The help file in a hostile folder, the job started there as the Help
// command starts it, links named like options beside it: the PDF is where
// the caller chose, in A4 portrait and in colour, and no link's target has
// changed.
void PrintJobTest::hostileTitlesAndFolders() {
    QFETCH(QByteArray, folder);
    QFETCH(QByteArray, title);
    const fs::path root = m_root.path().toStdString();
    const fs::path where = root / folder.toStdString();
    fs::create_directories(where);
    fs::copy_file(m_helpFile, where / "MnsHlp.chm", fs::copy_options::overwrite_existing);
    std::ofstream(root / "victim.txt") << "keep";
    for (const char* name : kOptionLinks) {
        fs::remove(where / name);
        fs::create_symlink(root / "victim.txt", where / name);
    }
    const fs::path chosen = root / "chosen.pdf";
    fs::remove(chosen);

    const Run run = PrintJob({mensura::kPdfOption, QString::fromStdString(chosen.string())},
                             Request(where / "MnsHlp.chm", title), where);
    QVERIFY2(run.status == 0, run.said.constData());
    QCOMPARE(Read(root / "victim.txt"), std::string("keep"));
    const QString chosenName = QString::fromStdString(chosen.string());
    const QString text = Tool("pdftotext", {chosenName, "-"}).simplified();
    QVERIFY2(text.startsWith("The units"), qPrintable(text.left(200)));
    const QString info = Tool("pdfinfo", {chosenName});
    QVERIFY2(info.contains(QRegularExpression("Page size: +595(\\.\\d+)? x 842")),
             qPrintable(info));
    QVERIFY(HasColour(chosen));
}

void PrintJobTest::optionsOnlyFromTheCaller_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QByteArray>("request");
    const QString a = m_root.filePath("a.pdf");
    const QString b = m_root.filePath("b.pdf");
    const QByteArray request = Request(m_helpFile, "Units");
    QTest::newRow("--pdf twice") << QStringList{"--pdf", a, "--pdf", b} << request;
    QTest::newRow("--pdf and --printer") << QStringList{"--pdf", a, "--printer", "x"} << request;
    QTest::newRow("a relative file") << QStringList{"--pdf", "a.pdf"} << request;
    QTest::newRow("no value") << QStringList{"--pdf"} << request;
    QTest::newRow("an old option") << QStringList{"--title", "x", "--pdf", a} << request;
    const QByteArray file = QByteArray::fromStdString(m_helpFile.string());
    QTest::newRow("the old request, tab-separated")
        << QStringList{"--pdf", a} << "print " + file + "\thelp:/units.html\t--pdf\n";
    QTest::newRow("no page of a help file")
        << QStringList{"--pdf", a}
        << channel::Encode(channel::Print{file, "file:///etc/passwd", "x"});
    QTest::newRow("no request") << QStringList{"--pdf", a} << QByteArray();
}

// What is not exactly one output, given once, by an absolute path, with a
// request in the protocol, prints nothing.
void PrintJobTest::optionsOnlyFromTheCaller() {
    QFETCH(QStringList, arguments);
    QFETCH(QByteArray, request);
    const fs::path root = m_root.path().toStdString();
    const Run run = PrintJob(arguments, request, root);
    QCOMPARE(run.status, 2);
    QVERIFY(!fs::exists(root / "a.pdf") && !fs::exists(root / "b.pdf"));
}

// A link chosen as the PDF file is not followed: the print fails, and says so.
void PrintJobTest::chosenFileThatIsALink() {
    const fs::path root = m_root.path().toStdString();
    std::ofstream(root / "kept.txt") << "keep";
    fs::remove(root / "link.pdf");
    fs::create_symlink(root / "kept.txt", root / "link.pdf");
    const Run run = PrintJob({"--pdf", QString::fromStdString((root / "link.pdf").string())},
                             Request(m_helpFile, "Units"), root);
    QCOMPARE(run.status, 1);
    QVERIFY2(run.said.contains("link"), run.said.constData());
    QCOMPARE(Read(root / "kept.txt"), std::string("keep"));
}

// A dry run of the printer's way where no printer exists: both steps run,
// the confined one says the printer cannot be used, and nothing is written.
void PrintJobTest::printerThatDoesNotExist() {
    QTemporaryDir folder;
    const Run run = PrintJob({"--printer", "no-such-printer"}, Request(m_helpFile, "Units"),
                             folder.path().toStdString());
    QCOMPARE(run.status, 1);
    QVERIFY2(run.said.contains("\"no-such-printer\" cannot be used"), run.said.constData());
    QVERIFY(QDir(folder.path()).isEmpty());
}

// The dialog's choices reach the confined step: landscape and grey.
void PrintJobTest::confinedStepFollowsTheSettings() {
    const fs::path pdf = fs::path(m_root.path().toStdString()) / "settings.pdf";
    const int fd = open(pdf.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    QVERIFY(fd >= 0);
    channel::PrintSettings settings;
    settings.file = QByteArray::fromStdString(m_helpFile.string());
    settings.page = "help:/units.html";
    settings.title = "Units";
    settings.pdfDescriptor = fd;
    settings.pageSize = QPageSize::A4;
    settings.landscape = true;
    settings.grey = true;
    const Run run = Start({channel::kConfinedPrintArgument}, channel::Encode(settings), "/", fd);
    close(fd);
    QVERIFY2(run.status == 0, run.said.constData());
    const QString info = Tool("pdfinfo", {QString::fromStdString(pdf.string())});
    QVERIFY2(info.contains(QRegularExpression("Page size: +842(\\.\\d+)? x 595")),
             qPrintable(info));
    QVERIFY(!HasColour(pdf));
}

// Settings that name no open file, or are no settings, print nothing.
void PrintJobTest::confinedStepWithoutItsFile() {
    channel::PrintSettings settings;
    settings.file = QByteArray::fromStdString(m_helpFile.string());
    settings.page = "help:/units.html";
    settings.pdfDescriptor = 250;
    QCOMPARE(Start({channel::kConfinedPrintArgument}, channel::Encode(settings), "/").status, 2);
    QCOMPARE(Start({channel::kConfinedPrintArgument}, "settings\n", "/").status, 2);
}

QTEST_MAIN(PrintJobTest)
#include "print_job_test.moc"
