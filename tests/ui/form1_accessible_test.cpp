// The main window as assistive technology meets it: the names and
// descriptions of its controls, the value labels heard with their units, and
// the input box labelled by its prompt.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QtTest>

#include "form1_fixture.h"

class Form1AccessibleTest : public Form1Fixture {
    Q_OBJECT

private slots:
    void accessibleNames_data();
    void accessibleNames();
    void inputBoxNamesTheDecimalPoint();
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

QTEST_MAIN(Form1AccessibleTest)
#include "form1_accessible_test.moc"
