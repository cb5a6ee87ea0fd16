// Where a value too wide for its row is cut, as the help page on results
// says in words: the words are read from the page and held against the
// window's labels.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QRegularExpression>
#include <QtTest>

#include "application.h"
#include "caption_label.h"
#include "form1.h"
#include "window_tests.h"

using mensura::CaptionLabel;

class TooWideValueTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cutAsTheHelpSays_data();
    void cutAsTheHelpSays();

private:
    QString m_widensTo, m_cutAt;
};

namespace {

// The text of the help's claim of that name, in results.html.
QString Claim(const QString& html, const QString& name) {
    const QRegularExpression span(
        QStringLiteral("<span data-claim=\"%1\">([^<]*)</span>").arg(name));
    const QRegularExpressionMatch match = span.match(html);
    return match.hasMatch() ? match.captured(1).simplified() : QString();
}

}  // namespace

void TooWideValueTest::initTestCase() {
    QLocale::setDefault(QLocale::c());
    mensura::PrepareApplication();
    // Said once in the whole help, on the page about results: a second
    // wording could say otherwise.
    QString html, elsewhere;
    const QDir help(QStringLiteral(MENSURA_HELP_SOURCE_DIR));
    for (const QString& name : help.entryList({QStringLiteral("*.html")})) {
        QFile page(help.filePath(name));
        QVERIFY(page.open(QIODevice::ReadOnly));
        (name == QStringLiteral("results.html") ? html : elsewhere) +=
            QString::fromUtf8(page.readAll());
    }
    for (const QString& claim : {QStringLiteral("widens-to"), QStringLiteral("cut-at")}) {
        QCOMPARE(html.count(QStringLiteral("data-claim=\"%1\"").arg(claim)), 1);
        QCOMPARE(elsewhere.count(QStringLiteral("data-claim=\"%1\"").arg(claim)), 0);
    }
    m_widensTo = Claim(html, QStringLiteral("widens-to"));
    m_cutAt = Claim(html, QStringLiteral("cut-at"));
}

void TooWideValueTest::cutAsTheHelpSays_data() {
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("category");
    // Each makes rows of values too wide for the window: up to an Overflow,
    // and negative, near the largest number the box holds.
    // clang-format off
    QTest::newRow("leagues")             << "LEAGUE"     << "2.2e34" << "";
    QTest::newRow("kilometres")          << "KILOMETERS" << "3e38"   << "";
    QTest::newRow("negative kilolitres") << "KILOLITER"  << "-3e38"  << "cmdCapacity";
    // clang-format on
}

void TooWideValueTest::cutAsTheHelpSays() {
    QFETCH(QString, unit);
    QFETCH(QString, input);
    QFETCH(QString, category);
    QString unexpected;
    ModalWatchdog watchdog(&unexpected);
    mensura::Form1 form;
    QVERIFY(ShowActive(&form));
    if (!category.isEmpty()) QTest::mouseClick(form.findChild<QWidget*>(category), Qt::LeftButton);
    auto* selector = form.findChild<QComboBox*>("cboMeasures");
    QTRY_COMPARE(selector->currentIndex() >= 0, true);
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector, unit);
    QTest::keyClicks(form.findChild<QLineEdit*>("txtUserData"), input);

    int cut = 0;
    for (int row = 1; row <= 15; ++row) {
        auto* label = form.findChild<CaptionLabel*>(QStringLiteral("lb%1").arg(row));
        const QString whole = label->text(), shown = label->DisplayedText();
        if (shown == whole) continue;
        ++cut;
        const QString at = QStringLiteral("row %1: %2 shows %3").arg(row).arg(whole, shown);
        if (m_widensTo == QStringLiteral("the window's left edge"))
            QVERIFY2(label->geometry().left() == 0, qPrintable(at));
        else
            QFAIL(qPrintable("the help says a box widens to " + m_widensTo));
        QVERIFY2(shown.size() > 1, qPrintable(at));
        if (m_cutAt == QStringLiteral("its end")) {
            QVERIFY2(shown.endsWith(QChar(0x2026)) && whole.startsWith(shown.chopped(1)),
                     qPrintable(at));
        } else if (m_cutAt == QStringLiteral("its beginning")) {
            QVERIFY2(shown.startsWith(QChar(0x2026)) && whole.endsWith(shown.mid(1)),
                     qPrintable(at));
        } else {
            QFAIL(qPrintable("the help says a value is cut at " + m_cutAt));
        }
        // The whole value is in the tooltip, first.
        QVERIFY2(label->ToolTipText().startsWith(whole + QLatin1Char('\n')), qPrintable(at));
    }
    QVERIFY2(cut > 0, "no value was too wide");
    QVERIFY2(unexpected.isEmpty(), qPrintable("a modal window opened: " + unexpected));
}

QTEST_MAIN(TooWideValueTest)
#include "too_wide_value_test.moc"
