// Hostile input through the real window: huge pastes, long runs of typing,
// control characters, other scripts, numbers at and beyond the limits, and a
// huge unit text, in English and French number settings. After each the
// window still answers, shows only captions it can produce, keeps what was
// typed up to the box's limit, and idles without repainting.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

#include "application.h"
#include "catalogue.h"
#include "form1.h"
#include "line_edit_guard.h"
#include "number_text.h"
#include "window_tests.h"

using mensura::Form1;
using mensura::LineEditGuard;

namespace {

enum class Way { Type, Paste, TypeAndErase, TypeUnit };

// Captions the window writes besides numbers and unit names.
const QStringList kTexts{
    QString::fromUtf8(mensura::kOutOfRangeText.data(), qsizetype(mensura::kOutOfRangeText.size())),
    "Overflow", "Division by zero", "Invalid operation", ""};

QString Repeat(const QString& piece, qsizetype length) {
    QString text;
    while (text.size() < length) text += piece;
    return text.left(length);
}

// Digits, Latin, Hebrew, Arabic, combining marks, emoji, CJK, controls and
// number-like words, about 1 MB in UTF-8.
QString MixedText() {
    const QString piece = QString::fromUtf8(
        "12345.678 abc \u00f1 e\u0301 \u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 "
        "\U0001F600\U0001F44D\U0001F3FD \u4e2d\u6587 &H1F 1e400 -0 \u202f\u200f\u200e\t\x01 ");
    const qsizetype bytesPerPiece = piece.toUtf8().size();
    return Repeat(piece, piece.size() * (1'000'000 / bytesPerPiece));
}

class PaintCounter : public QObject {
public:
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++count;
        return false;
    }
};

QStringList Values(QWidget* form) {
    QStringList values;
    for (int row = 1; row <= mensura::kRowCount; ++row)
        values << form->findChild<QLabel*>(QStringLiteral("lb%1").arg(row))->text();
    return values;
}

}  // namespace

Q_DECLARE_METATYPE(Way)

class HostileInputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void hostileInput_data();
    void hostileInput();

private:
    QLineEdit* Box() const { return m_form->findChild<QLineEdit*>("txtUserData"); }
    QComboBox* Selector() const { return m_form->findChild<QComboBox*>("cboMeasures"); }
    void Type(QWidget* widget, const QString& text);
    QString CaptionFault() const;

    Form1* m_form = nullptr;
    ModalWatchdog* m_watchdog = nullptr;
    QString m_unexpectedModal;
    int m_userFlashTime = 0;
};

void HostileInputTest::initTestCase() {
    mensura::PrepareApplication();
    m_userFlashTime = QApplication::cursorFlashTime();
    QVERIFY(m_userFlashTime > 0);
}

void HostileInputTest::init() {
    m_form = new Form1;
    QVERIFY(ShowActive(m_form));
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
}

void HostileInputTest::cleanup() {
    delete m_watchdog;
    delete m_form;
    m_form = nullptr;
    QLocale::setDefault(QLocale::c());
    QCOMPARE(QApplication::cursorFlashTime(), m_userFlashTime);
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

// One key event per character, as a keyboard or an input method delivers
// them: a surrogate pair travels whole.
void HostileInputTest::Type(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, text.mid(i, n), {});
        i += n - 1;
    }
}

// Empty when every caption is one the window can produce: a result of the
// display pattern with the number settings' separators, a unit's name, one
// of the window's texts, or nothing; row names and title of a category.
QString HostileInputTest::CaptionFault() const {
    const QLocale locale;
    const QString group = QRegularExpression::escape(locale.groupSeparator());
    const QString point = QRegularExpression::escape(locale.decimalPoint());
    const QRegularExpression number("^-?([1-9]\\d{0,2}(" + group + "\\d{3})*)?" + point +
                                    "(\\d{0,6}[1-9])?$");
    QStringList units;
    for (const mensura::Category& category : mensura::Categories())
        for (const std::string& unit : category.units) units << QString::fromStdString(unit);
    for (const QString& value : Values(m_form)) {
        const bool negativeZero = value == "-" + locale.decimalPoint();
        if (!kTexts.contains(value) && !units.contains(value) &&
            (!number.match(value).hasMatch() || negativeZero))
            return "value caption \"" + value.left(80) + "\"";
    }
    const QString title = m_form->findChild<QLabel*>("lbMeasurement")->text();
    const mensura::Category* category = mensura::FindCategory(title.toStdString());
    if (!category) return "title \"" + title + "\"";
    for (int row = 1; row <= mensura::kRowCount; ++row) {
        const QString name = m_form->findChild<QLabel*>(QStringLiteral("lb_%1").arg(row))->text();
        if (name.toStdString() != category->nameCaptions[std::size_t(row - 1)])
            return "row name \"" + name + "\"";
    }
    return {};
}

void HostileInputTest::hostileInput_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<Way>("way");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("box");         // the box's text afterwards
    QTest::addColumn<QStringList>("values");  // exact, where given ("." the decimal point)

    const QString mixed = MixedText();
    const QString hex100 = "&H" + Repeat("1234567890", 100);
    QStringList outOfRange(15, kTexts[0]);
    outOfRange[1] = "FEET";
    QStringList zero(15, ".");
    zero[1] = "FEET";
    const QString unit = "FEET" + Repeat(QString::fromUtf8("FEET \u202e\u0301\U0001F600x"), 9996);
    const QString controls =
        QString("1") + QChar(0) + QString::fromUtf8("\x01\x7f\u00852\x1b\r3\t\n4");
    const QString burst = Repeat("0123456789.eE-+&Hh ,", 40);

    const QList<QPair<const char*, QLocale>> locales{
        {"English", QLocale::c()}, {"French", QLocale(QLocale::French, QLocale::France)}};
    for (const auto& [where, locale] : locales) {
        auto row = [&, where = where](const char* name) -> QTestData& {
            return QTest::addRow("%s, %s", name, where) << locale;
        };
        // Fifteen cycles of pasting and deleting, then a last paste: the box
        // keeps the paste up to its limit, and the undo history stays short.
        row("1 MB pasted 16 times") << Way::Paste << mixed << mixed.left(32767) << QStringList();
        row("10,000 keystrokes") << Way::TypeAndErase << burst << "" << zero;
        // A keyboard delivers no control characters into a line edit; a paste does.
        row("control characters and NUL typed")
            << Way::Type << QString("1") + QChar(0) + QString::fromUtf8("\x01\x7f\u00852\x1b\r3")
            << "123" << QStringList();
        row("control characters and NUL pasted")
            << Way::Paste << controls << controls << QStringList();
        const QString rtl =
            QString::fromUtf8("\u202e\u0661\u0662.\u0663\u0301 \u05d0\u05d1 12\u0308\u200f\u0627");
        row("right-to-left and combining") << Way::Type << rtl << rtl << QStringList();
        const QString emoji =
            QString::fromUtf8("\U0001F600 1\U0001F44D\U0001F3FD2\u200d\U0001F468\U0001F1EB");
        row("emoji") << Way::Type << emoji << emoji << QStringList();
        row("&H and 100 digits") << Way::Type << hex100 << hex100 << outOfRange;
        row("1e400") << Way::Type << "1e400"
                     << "1e400" << outOfRange;
        row("-0") << Way::Type << "-0"
                  << "-0" << zero;
        row("1e-50") << Way::Type << "1e-50"
                     << "1e-50" << zero;
        // Nothing matches the unit: the number converts nothing.
        row("unit of 10,000 characters")
            << Way::TypeUnit << unit << "2" << QStringList(15, QString());
    }
}

void HostileInputTest::hostileInput() {
    QFETCH(QLocale, locale);
    QFETCH(Way, way);
    QFETCH(QString, text);
    QFETCH(QString, box);
    QFETCH(QStringList, values);
    QLocale::setDefault(locale);
    QCOMPARE(Box()->maxLength(), 32767);

    switch (way) {
        case Way::Paste: {
            QApplication::clipboard()->setText(text);
            const int cycles = text.size() > Box()->maxLength() ? 16 : 1;
            for (int cycle = 1; cycle <= cycles; ++cycle) {
                QTest::keyClick(Box(), Qt::Key_A, Qt::ControlModifier);
                if (cycle > 1) QTest::keyClick(Box(), Qt::Key_Delete);
                QTest::keyClick(Box(), Qt::Key_V, Qt::ControlModifier);
                QCOMPARE(Box()->text(), box);
                QCOMPARE(CaptionFault(), QString());
                QTest::qWait(1);  // the history may be dropped here, between edits
            }
            break;
        }
        case Way::Type:
            Type(Box(), text);
            break;
        case Way::TypeAndErase:
            // Bursts of typing, each erased again with Backspace, to 10,000 keys.
            for (int key = 0; key < 10'000; ++key) {
                const qsizetype at = key % (2 * text.size());
                if (at < text.size())
                    Type(Box(), text.mid(at, 1));
                else
                    QTest::keyClick(Box(), Qt::Key_Backspace);
                if (key % 500 == 0) QCOMPARE(CaptionFault(), QString());
            }
            break;
        case Way::TypeUnit:
            Selector()->setFocus();
            QTRY_VERIFY(Selector()->hasFocus());
            Selector()->lineEdit()->selectAll();
            // Ten characters a key event, as an input method commits them:
            // each event lays out the whole text again.
            for (qsizetype at = 0; at < text.size(); at += 10)
                QTest::sendKeyEvent(QTest::Click, Selector(), Qt::Key_unknown, text.mid(at, 10),
                                    {});
            QCOMPARE(Selector()->currentText(), text);
            Type(Box(), "2");
            break;
    }

    // The window answers.
    bool answered = false;
    QTimer::singleShot(0, m_form, [&answered] { answered = true; });
    QTRY_VERIFY(answered);
    QCOMPARE(Box()->text(), box);
    QCOMPARE(CaptionFault(), QString());
    if (!values.isEmpty()) {
        values.replaceInStrings(QRegularExpression("^\\.$"), locale.decimalPoint());
        QCOMPARE(Values(m_form), values);
    }

    // Idle with a long text in the box or the selector: the cursor stays
    // lit and nothing repaints.
    QLineEdit* longText = nullptr;
    for (QLineEdit* edit : {Box(), Selector()->lineEdit()})
        if (edit->text().size() > LineEditGuard::kSteadyCursorLength) longText = edit;
    if (longText) {
        QTest::qWait(50);
        PaintCounter paints;
        longText->installEventFilter(&paints);
        QTest::qWait(3 * m_userFlashTime / 2);
        longText->removeEventFilter(&paints);
        QCOMPARE(paints.count, 0);
    }
    if (way == Way::Paste && Box()->text().size() == Box()->maxLength()) {
        // Undo reaches back only to the last time the history was dropped,
        // not through every paste.
        int undos = 0;
        while (Box()->isUndoAvailable() && undos < 100) {
            Box()->undo();
            ++undos;
        }
        QVERIFY2(undos <= 4, qPrintable(QString::number(undos)));
    }
    if (!longText) QCOMPARE(QApplication::cursorFlashTime(), m_userFlashTime);

    // And still converts as usual.
    QTest::mouseClick(m_form->findChild<QPushButton*>("cmdLength"), Qt::LeftButton);
    Type(Box(), "2");
    QCOMPARE(Box()->text(), QStringLiteral("2"));
    QCOMPARE(Values(m_form).mid(0, 2), QStringList({"24" + locale.decimalPoint(), "FEET"}));
}

QTEST_MAIN(HostileInputTest)
#include "hostile_input_test.moc"
