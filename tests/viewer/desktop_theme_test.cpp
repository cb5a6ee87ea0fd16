// The help viewer in the desktop's colours: the real mensura-help run,
// confined as ever, shows the palette that qt6ct's settings and colour
// scheme set, wherever the scheme they choose lies.
#include <QFile>
#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "help_protocol.h"

namespace channel = mensura::channel;

namespace {

// A colour scheme of qt6ct's: the 21 colours of a palette's roles in the
// order of QPalette::ColorRole, for the active, disabled and inactive group.
QByteArray Scheme(const QStringList& colours) {
    const QByteArray line = colours.join(", ").toLatin1();
    return "[ColorScheme]\nactive_colors=" + line + "\ndisabled_colors=" + line +
           "\ninactive_colors=" + line + "\n";
}

void Put(const QString& path, const QByteArray& content) {
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The window, window text and base colours the viewer shows, as the test
// viewer tells them on standard error once its window shows the help.
QStringList ShownColours(const QProcessEnvironment& environment) {
    const QString bin = QCoreApplication::applicationDirPath();
    QProcess viewer;
    viewer.setProcessEnvironment(environment);
    viewer.start(bin + "/mensura_busy_viewer");
    if (!viewer.waitForStarted()) return {};
    viewer.write(channel::Encode(channel::Places{{QFile::encodeName(bin + "/MnsHlp.chm")}}));
    QByteArray said;
    QElapsedTimer waited;
    waited.start();
    const auto told = [&said] {
        const qsizetype at = said.indexOf("palette ");
        return at >= 0 && said.indexOf('\n', at) > at;
    };
    while (!told() && waited.elapsed() < 60000 && viewer.state() == QProcess::Running) {
        viewer.waitForReadyRead(100);
        said += viewer.readAllStandardError();
    }
    viewer.closeWriteChannel();
    viewer.waitForFinished(30000);
    const qsizetype at = said.indexOf("palette ");
    if (at < 0) return {QString::fromLocal8Bit(said)};
    return QString::fromLatin1(said.mid(at + 8, said.indexOf('\n', at) - at - 8)).split(' ');
}

}  // namespace

class DesktopThemeTest : public QObject {
    Q_OBJECT

private slots:
    void qt6ctPalette_data();
    void qt6ctPalette();
};

void DesktopThemeTest::qt6ctPalette_data() {
    QTest::addColumn<QString>("schemePlace");  // below the test's folder
    QTest::newRow("a scheme in qt6ct's folder") << "config/qt6ct/colors/night.conf";
    QTest::newRow("a scheme chosen elsewhere") << "schemes/night.conf";
}

void DesktopThemeTest::qt6ctPalette() {
    QFETCH(QString, schemePlace);
    const QString plugin =
        QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/platformthemes/libqt6ct.so";
    if (!QFile::exists(plugin)) QSKIP("qt6ct's plugin is not installed");
    QTemporaryDir root;
    QVERIFY(root.isValid());
    // Window, window text and base are roles 10, 0 and 9.
    QStringList colours(21, QStringLiteral("#ff505860"));
    colours[10] = QStringLiteral("#ff202428");
    colours[0] = QStringLiteral("#ffe8e4dc");
    colours[9] = QStringLiteral("#ff101214");
    const QString scheme = root.filePath(schemePlace);
    Put(scheme, Scheme(colours));
    Put(root.filePath("config/qt6ct/qt6ct.conf"),
        "[Appearance]\ncustom_palette=true\ncolor_scheme_path=" + QFile::encodeName(scheme) +
            "\nstandard_dialogs=default\nstyle=Fusion\n");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", root.filePath("config"));
    environment.insert("QT_QPA_PLATFORMTHEME", "qt6ct");
    QCOMPARE(ShownColours(environment), (QStringList{"#202428", "#e8e4dc", "#101214"}));
    // And without qt6ct's settings, the colours are not the scheme's.
    QVERIFY(QFile::remove(root.filePath("config/qt6ct/qt6ct.conf")));
    QVERIFY(ShownColours(environment).value(0) != QStringLiteral("#202428"));
}

QTEST_GUILESS_MAIN(DesktopThemeTest)
#include "desktop_theme_test.moc"
