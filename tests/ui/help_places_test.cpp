// Where the help file is looked for, in the order the help page about it and
// the manual page say: their words read from the pages and held against the
// places the Help command hands the viewer.
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

#include "help_command.h"

class HelpPlacesTest : public QObject {
    Q_OBJECT

private slots:
    void placesInTheOrderThePagesSay_data();
    void placesInTheOrderThePagesSay();
};

namespace {

QString Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The places a page names, in its order, as plain words.
QStringList Places(const QString& document) {
    QStringList places;
    const bool manual = document.endsWith(QStringLiteral(".1"));
    const QString text = Read(document);
    if (manual) {
        // The numbered list of the HELP section: ".IP n." and its lines.
        const QString section = text.section(QStringLiteral(".SH HELP"), 1).section(".SH ", 0, 0);
        for (const QString& item :
             section
                 .split(
                     QRegularExpression("^\\.IP [0-9]+\\..*$", QRegularExpression::MultilineOption))
                 .mid(1))
            places << item.section(QStringLiteral(".PP"), 0, 0)
                          .remove(QRegularExpression("^\\.[A-Z]+ |\\\\%|\\\\f[BIRP]",
                                                     QRegularExpression::MultilineOption))
                          .simplified();
    } else {
        const QRegularExpression claim(
            QStringLiteral("<span data-claim=\"help-place\">(.*?)</span>"),
            QRegularExpression::DotMatchesEverythingOption);
        for (auto it = claim.globalMatch(text); it.hasNext();)
            places << it.next().captured(1).remove(QRegularExpression("<[^>]*>")).simplified();
    }
    return places;
}

}  // namespace

void HelpPlacesTest::placesInTheOrderThePagesSay_data() {
    QTest::addColumn<QString>("document");
    QTest::newRow("help") << QStringLiteral(MENSURA_HELP_SOURCE_DIR "/about.html");
    QTest::newRow("manual page") << QStringLiteral(MENSURA_MANUAL_PAGE);
}

void HelpPlacesTest::placesInTheOrderThePagesSay() {
    QFETCH(QString, document);
    const QStringList places = Places(document);
    QCOMPARE(places.size(), 3);
    // Started in /home/ann, installed in /usr/bin.
    const QString home = QStringLiteral("/home/ann"), bin = QStringLiteral("/usr/bin");
    QStringList said;
    for (const QString& place : places) {
        if (place.contains(QStringLiteral("current")))
            said << home + QStringLiteral("/MnsHlp.chm");
        else if (place.contains(QStringLiteral("share/mensura")))
            said << QDir::cleanPath(bin + QStringLiteral("/../share/mensura/MnsHlp.chm"));
        else if (place.contains(QStringLiteral("program")))
            said << bin + QStringLiteral("/MnsHlp.chm");
        else
            QFAIL(qPrintable("a place the test does not know: " + place));
    }
    QStringList candidates;
    for (const QByteArray& candidate :
         mensura::HelpFileCandidates(QFile::encodeName(home + QStringLiteral("/MnsHlp.chm")), bin))
        candidates << QFile::decodeName(candidate);
    QCOMPARE(candidates, said);
}

QTEST_MAIN(HelpPlacesTest)
#include "help_places_test.moc"
