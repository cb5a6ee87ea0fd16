// The help viewer writes nothing: the real mensura-help run, used as a user
// would (search, zoom, find, print to a PDF file), with a home folder, XDG
// folders and a working folder of its own, leaves every file and folder
// there as it found them; the print job writes the PDF file chosen alone.
#include <QDateTime>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "help_protocol.h"

namespace channel = mensura::channel;

namespace {

// Every file and folder below `root`, hidden ones too, with its size and
// times, one line each.
QStringList Listing(const QString& root) {
    QStringList lines;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        lines << QStringLiteral("%1 %2 %3 %4")
                     .arg(QDir(root).relativeFilePath(info.filePath()))
                     .arg(info.isDir() ? -1 : info.size())
                     .arg(info.lastModified().toMSecsSinceEpoch())
                     .arg(info.metadataChangeTime().toMSecsSinceEpoch());
    }
    lines.sort();
    return lines;
}

void Put(const QString& path, const QByteArray& content) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

}  // namespace

class ViewerWritesTest : public QObject {
    Q_OBJECT

private slots:
    void usedViewerLeavesEverythingAsItWas();
};

void ViewerWritesTest::usedViewerLeavesEverythingAsItWas() {
    const QString bin = QCoreApplication::applicationDirPath();
    QTemporaryDir root;
    QTemporaryDir output;
    QVERIFY(root.isValid() && output.isValid());
    // The folders it may reach, with something in each to leave alone.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QStringList folders{"home", "config", "data", "cache", "state", "runtime", "work"};
    const QStringList variables{"HOME",           "XDG_CONFIG_HOME", "XDG_DATA_HOME",
                                "XDG_CACHE_HOME", "XDG_STATE_HOME",  "XDG_RUNTIME_DIR"};
    for (qsizetype i = 0; i < folders.size(); ++i) {
        const QString folder = root.filePath(folders[i]);
        Put(folder + "/left-alone.txt", "as it was\n");
        if (i < variables.size()) environment.insert(variables[i], folder);
    }
    QVERIFY(QFile::setPermissions(root.filePath("runtime"),
                                  QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    Put(root.filePath("config/QtProject.conf"), "[Qt]\n");
    Put(root.filePath("home/.config/QtProject.conf"), "[Qt]\n");
    Put(root.filePath("cache/fontconfig/keep"), "");
    const QString work = root.filePath("work");
    QTest::qWait(20);  // so that a change made now has another time
    const QStringList before = Listing(root.path());

    QProcess viewer;
    viewer.setProcessEnvironment(environment);
    viewer.setWorkingDirectory(work);
    viewer.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    viewer.start(bin + "/mensura_busy_viewer");
    QVERIFY(viewer.waitForStarted());
    viewer.write(channel::Encode(channel::Places{{QFile::encodeName(bin + "/MnsHlp.chm")}}));
    // It asks to print once it has been used.
    channel::LineReader lines;
    std::optional<channel::Print> asked;
    QElapsedTimer waited;
    waited.start();
    while (!asked && waited.elapsed() < 60000 && viewer.state() == QProcess::Running) {
        viewer.waitForReadyRead(100);
        lines.Append(viewer.readAllStandardOutput());
        while (const std::optional<QByteArray> line = lines.Next())
            if (!asked) asked = channel::Decode<channel::Print>(*line);
    }
    QVERIFY2(asked, "the viewer asked for no print");

    // The print job, as the Help command starts it, to a PDF file chosen.
    const QString pdf = output.filePath("page.pdf");
    QProcess job;
    job.setProcessEnvironment(environment);
    job.setWorkingDirectory(root.filePath("home"));
    job.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    job.start(bin + "/mensura-help", {channel::kPrintArgument, "--pdf", pdf});
    QVERIFY(job.waitForStarted());
    job.write(channel::Encode(*asked));
    job.closeWriteChannel();
    QVERIFY(job.waitForFinished(120000));
    QCOMPARE(job.exitCode(), 0);
    QFile printed(pdf);
    QVERIFY(printed.open(QIODevice::ReadOnly));
    QVERIFY(printed.read(5) == "%PDF-");
    QCOMPARE(QDir(output.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{"page.pdf"});

    viewer.closeWriteChannel();
    QVERIFY(viewer.waitForFinished(30000));
    QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(Listing(root.path()), before);
}

QTEST_GUILESS_MAIN(ViewerWritesTest)
#include "viewer_writes_test.moc"
