// The main window as assistive technology meets it: the names and
// descriptions of its controls, the value labels heard with their units, and
// the input box labelled by its prompt.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTextDocumentFragment>
#include <QtTest>

#include "caption_label.h"
#include "form1_fixture.h"

class Form1AccessibleTest : public Form1Fixture {
    Q_OBJECT

private slots:
    void accessibleNames_data();
    void accessibleNames();
    void inputBoxNamesTheDecimalPoint();
    void inputBoxSaysHowItWasRead_data();
    void inputBoxSaysHowItWasRead();
    void ambiguousUnitsSayWhichTheyAre_data();
    void ambiguousUnitsSayWhichTheyAre();
};

void Form1AccessibleTest::accessibleNames_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("description");
    const QString any = QStringLiteral("*");
    for (const QString& input : {QString(), QStringLiteral("12")}) {
        const QString state = input.isEmpty() ? "start-up: " : "after 12: ";
        auto row = [&](const char* widget, const QString& name, const QString& description) {
            QTest::newRow(qPrintable(state + widget)) << input << widget << name << description;
        };
        row("txtUserData", "Enter Number", "Type a number with \".\" as the decimal point");
        // On Linux Qt names a combo box by its text and labels it by relation;
        // the name sits on the selector and on its text field, which takes
        // the typing.
        row("cboMeasures", "FEET", any);
        row("lbMeasurement", "Category", "LENGTH");
        row("cmdClear", "CLEAR", any);
        row("cmdLength", "Length", any);
        row("cmdCapacity", "Capacity", any);
        row("cmdWeight", "Weight", any);
        row("cmdExit", "Exit", any);
        row("Label11", "Enter Number -->", "");
        row("lb_1", "INCHES", "Unit of result row 1");
        // A value label is read by its caption, and heard with its unit.
        row("lb1", input.isEmpty() ? "" : "144.", "INCHES");
        row("lb9", input.isEmpty() ? "" : "3,657.6", "MILLIMETERS");
        row("lb2", input.isEmpty() ? "" : "FEET",
            input.isEmpty() ? "FEET" : "the unit of the number");
        row("results", "Results", input.isEmpty() ? "empty" : "12 FEET");
    }
}

void Form1AccessibleTest::accessibleNames() {
    QFETCH(QString, input);
    QFETCH(QString, widget);
    QFETCH(QString, name);
    QFETCH(QString, description);
    QTest::keyClicks(Box(), input);
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(Find<QWidget>(widget));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), name);
    if (description == "*")
        QVERIFY(!iface->text(QAccessible::Description).isEmpty());
    else
        QCOMPARE(iface->text(QAccessible::Description), description);
    // A value label's name is never set: it is its caption, as shown.
    if (widget.startsWith("lb") && widget != "lbMeasurement")
        QVERIFY(Find<QWidget>(widget)->accessibleName().isEmpty());
}

// The box is labelled by the prompt (its buddy), and says which decimal
// point it takes, in its tooltip too.
void Form1AccessibleTest::inputBoxNamesTheDecimalPoint() {
    QCOMPARE(Selector()->accessibleName(), QStringLiteral("Unit of the number"));
    const auto selectorLabels =
        QAccessible::queryAccessibleInterface(Selector())->relations(QAccessible::Label);
    QCOMPARE(selectorLabels.size(), 1);
    QCOMPARE(selectorLabels.first().first->text(QAccessible::Name),
             QStringLiteral("Unit of the number"));
    QAccessibleInterface* field = QAccessible::queryAccessibleInterface(Selector()->lineEdit());
    QCOMPARE(field->text(QAccessible::Name), QStringLiteral("Unit of the number"));
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Box());
    QVERIFY(box);
    const auto labelled = box->relations(QAccessible::Label);
    QVERIFY(!labelled.isEmpty());
    QCOMPARE(labelled.first().first->object(), Find<QObject>("Label11"));
    QCOMPARE(Find<QLabel>("Label11")->buddy(), Box());
    QVERIFY(Box()->toolTip().contains("\".\" as the decimal point"));
    // German number settings change the results, not what the box reads.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QTest::keyClicks(Box(), "1,5");
    QCOMPARE(Find<QLabel>("lb1")->text(), QStringLiteral("12,"));
}

void Form1AccessibleTest::inputBoxSaysHowItWasRead_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("readAs");  // empty: read as typed
    const QString point = QString::fromUtf8("; the decimal point is \u201c.\u201d)");
    const struct {
        const char* name;
        const char* typed;
        QString readAs;
    } cases[] = {
        {"2,5", "2,5", QString::fromUtf8("Read as: 2 (\u201c,5\u201d is ignored") + point},
        {"1.234,5", "1.234,5",
         QString::fromUtf8("Read as: 1.234 (\u201c,5\u201d is ignored") + point},
        {"1,234.5", "1,234.5",
         QString::fromUtf8("Read as: 1 (\u201c,234.5\u201d is ignored") + point},
        {"3 1/2", "3 1/2",
         QString::fromUtf8("Read as: 31 (spaces are dropped; \u201c/2\u201d is ignored)")},
        {"12 5/8", "12 5/8",
         QString::fromUtf8("Read as: 125 (spaces are dropped; \u201c/8\u201d is ignored)")},
        {"1 500", "1 500", "Read as: 1500 (spaces are dropped)"},
        {"2 ft", "2 ft", QString::fromUtf8("Read as: 2 (\u201cft\u201d is ignored)")},
        {"minus", "-", "Read as: 0 (no number at the start)"},
        {"0x10", "0x10", QString::fromUtf8("Read as: 0 (\u201cx10\u201d is ignored)")},
        {"full-width", "\uff11\uff12\uff13", "Read as: 0 (no number at the start)"},
        {"Arabic-Indic", "\u0663", "Read as: 0 (no number at the start)"},
        {"NaN", "NaN", "Read as: 0 (no number at the start)"},
        {"inf", "inf", "Read as: 0 (no number at the start)"},
        {"&HFF", "&HFF",
         QString::fromUtf8("Read as: 255 (\u201c&H\u201d starts a hexadecimal number)")},
        {"long rest", "7 metres and a bit",
         QString::fromUtf8("Read as: 7 (\u201cmetresandabi\u2026\u201d is ignored)")},
        {"markup", "2<b>x</b>", QString::fromUtf8("Read as: 2 (\u201c<b>x</b>\u201d is ignored)")},
        {"beyond single", "1e39x", QString::fromUtf8("Read as: 1e39 (\u201cx\u201d is ignored)")},
        {"12", "12", ""},
        {"blank before", " 12", ""},
        {"blanks around", " 12 ", ""},
        {"1.5e3", "1.5e3", ""},
        {"blank only", " ", ""},
    };
    const QList<QPair<const char*, QLocale>> locales{
        {"de_DE", QLocale(QLocale::German, QLocale::Germany)},
        {"en_US", QLocale(QLocale::English, QLocale::UnitedStates)}};
    for (const auto& [where, locale] : locales)
        for (const auto& c : cases)
            QTest::addRow("%s, %s", c.name, where)
                << locale << QString::fromUtf8(c.typed) << c.readAs;
}

// When the number read is not simply the text typed, the box's tooltip and
// description say how it was read, the same in every locale; the number
// they name gives the same results typed by itself.
void Form1AccessibleTest::inputBoxSaysHowItWasRead() {
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, readAs);
    QLocale::setDefault(locale);
    const QString hint = QStringLiteral("Type a number with \".\" as the decimal point");
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(Box());
    // Typed where the keys can spell it; digits of other scripts are pasted.
    for (const QChar c : typed) {
        if (c.unicode() < 0x80)
            QTest::keyClick(Box(), c.toLatin1());
        else
            Box()->insert(QString(c));
    }
    QCOMPARE(Box()->text(), typed);
    if (readAs.isEmpty()) {
        QCOMPARE(box->text(QAccessible::Description), hint);
        QCOMPARE(Box()->toolTip(), hint);
        return;
    }
    QCOMPARE(box->text(QAccessible::Description), readAs);
    // Rich text, so that typed markup shows as typed.
    QVERIFY(Qt::mightBeRichText(Box()->toolTip()));
    QCOMPARE(QTextDocumentFragment::fromHtml(Box()->toolTip()).toPlainText(), readAs);

    const QStringList values = Values();
    const QString number = readAs.section(QLatin1Char(' '), 2, 2);  // "Read as: N (...)"
    Box()->selectAll();
    QTest::keyClicks(Box(), number);
    QCOMPARE(Box()->text(), number);
    QCOMPARE(Values(), values);
    QCOMPARE(box->text(QAccessible::Description), hint);
}

void Form1AccessibleTest::ambiguousUnitsSayWhichTheyAre_data() {
    QTest::addColumn<QString>("button");
    for (const mensura::Category& category : mensura::Categories()) {
        QString name = QString::fromStdString(category.name).toLower();
        name[0] = name[0].toUpper();
        QTest::newRow(qPrintable(name)) << "cmd" + name;  // cmdLength, ...
    }
}

// A unit whose name could mean more than one unit says which one it is, in
// its name label's tooltip and description and in its selector item's; the
// captions stay the unit strings.
void Form1AccessibleTest::ambiguousUnitsSayWhichTheyAre() {
    QFETCH(QString, button);
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    const mensura::Category& category =
        *mensura::FindCategory(Find<QLabel>("lbMeasurement")->text().toStdString());
    int noted = 0;
    for (int row = 1; row <= mensura::kRowCount; ++row) {
        const std::string& unit = category.units[static_cast<std::size_t>(row - 1)];
        auto* name = Find<mensura::CaptionLabel>(QStringLiteral("lb_%1").arg(row));
        QCOMPARE(name->text().toStdString(),
                 category.nameCaptions[static_cast<std::size_t>(row - 1)]);
        const QString note = name->text().isEmpty()
                                 ? QString()
                                 : QString::fromStdString(mensura::UnitNoteText(unit));
        QCOMPARE(name->ToolTipText(), note);
        QCOMPARE(QAccessible::queryAccessibleInterface(name)->text(QAccessible::Description),
                 note.isEmpty() ? QStringLiteral("Unit of result row %1").arg(row) : note);
        const int item = Selector()->findText(QString::fromStdString(unit));
        if (item >= 0) {
            QCOMPARE(Selector()->itemData(item, Qt::ToolTipRole).toString(), note);
            QCOMPARE(Selector()->itemData(item, Qt::AccessibleDescriptionRole).toString(), note);
        }
        if (!note.isEmpty()) ++noted;
    }
    QVERIFY(noted >= 2);
    // The selector's own tooltip follows its text.
    TypeUnit("TONS");
    QCOMPARE(Selector()->toolTip(), QString::fromStdString(mensura::UnitNoteText("TONS")));
    QVERIFY(Selector()->toolTip().startsWith("short ton (2,000 lb, 907.18474 kg)"));
    TypeUnit("METERS");
    QCOMPARE(Selector()->toolTip(), QString());
}

QTEST_MAIN(Form1AccessibleTest)
#include "form1_accessible_test.moc"
