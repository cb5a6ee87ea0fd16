// The main window driven as a user drives it: keys and clicks on the real
// widgets, found by their object names, and the captions read back.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>
#include <cstdlib>

#include "caption_label.h"
#include "catalogue.h"
#include "form1_fixture.h"
#include "form1_layout.h"

using mensura::CaptionLabel;
using mensura::Twips;

namespace {

QStringList FromCatalogue(const std::array<std::string, mensura::kRowCount>& strings) {
    QStringList list;
    for (const std::string& s : strings) list << QString::fromStdString(s);
    return list;
}

// What the value column shows with "FEET" and the number 2.
const QStringList kFeet2{"24.",      "FEET",     ".6666667", ".3333333", ".1212121",
                         ".0030303", ".0003788", ".0001263", "609.6",    "60.96",
                         "6.096",    ".6096",    ".06096",   ".006096",  ".0006096"};

}  // namespace

class Form1Test : public Form1Fixture {
    Q_OBJECT

private slots:
    void startUpState();
    void geometry_data();
    void geometry();
    void typingRecomputes_data();
    void typingRecomputes();
    void categoryButtons_data();
    void categoryButtons();
    void choosingFromList_data();
    void choosingFromList();
    void typedUnit_data();
    void typedUnit();
    void noResultsOfAnotherInput();
    void arrowKeysGoOnFromTheUnitShown_data();
    void arrowKeysGoOnFromTheUnitShown();
    void clearCommands_data();
    void clearCommands();
    void enterDoesNotClear_data();
    void enterDoesNotClear();
    void clickInBoxRecomputes();
    void clickIntoBoxSelectsAll();
    void focusComingBackKeepsSelection();
    void focusOrder();
    void overflow();
    void separatorsFromNumberSettings_data();
    void separatorsFromNumberSettings();
    void valuesKeepRightEdgeAndFit();
    void captionsFit_data();
    void captionsFit();
    void endingTheProgram_data();
    void endingTheProgram();
    void tooltipsShowAllDigits_data();
    void tooltipsShowAllDigits();
    void promptAndTitleKeepTheirInk();
};

void Form1Test::startUpState() {
    QCOMPARE(m_form->objectName(), QStringLiteral("Form1"));
    QCOMPARE(m_form->windowTitle(), QStringLiteral("Mensura"));
    QCOMPARE(Find<QLabel>("lbMeasurement")->text(), QStringLiteral("LENGTH"));
    QCOMPARE(Names(), FromCatalogue(mensura::FindCategory("LENGTH")->units));
    QCOMPARE(Names().first(), QStringLiteral("INCHES"));
    QCOMPARE(Names().last(), QStringLiteral("KILOMETERS"));
    QCOMPARE(Values(), kEmpty15);

    QComboBox* selector = Selector();
    QVERIFY(selector->isEditable());
    QCOMPARE(selector->count(), 15);
    QCOMPARE(selector->itemText(0), QStringLiteral("INCHES"));
    QCOMPARE(selector->itemText(14), QStringLiteral("KILOMETERS"));
    QCOMPARE(selector->currentText(), QStringLiteral("FEET"));
    QCOMPARE(selector->currentIndex(), 1);

    QCOMPARE(Box()->text(), QString());
    QTRY_COMPARE(QApplication::focusWidget(), Box());

    QCOMPARE(Find<QLabel>("Label11")->text(), QStringLiteral("Enter Number -->"));
    QCOMPARE(Find<QPushButton>("cmdClear")->text(), QStringLiteral("C&LEAR"));
    for (const char* name : {"cmdClear", "cmdLength", "cmdCapacity", "cmdWeight", "cmdExit"}) {
        auto* button = Find<QPushButton>(name);
        QVERIFY2(button, name);
        QVERIFY2(!button->isDefault() && !button->autoDefault(), name);
        QVERIFY2(button->isEnabled(), name);
    }
    // Icon images of every size the desktop asks for, from the resource.
    const QList<QSize> sizes = m_form->windowIcon().availableSizes();
    for (int size : {16, 24, 32, 48}) {
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
        QVERIFY(m_form->windowIcon()
                    .pixmap(size, size)
                    .toImage()
                    .pixelColor(size / 2, size / 2)
                    .alpha() > 0);
    }
    // The menu bar's extension arrow, made when first drawn, is a picture.
    QVERIFY(!QApplication::style()
                 ->standardIcon(QStyle::SP_ToolBarHorizontalExtensionButton)
                 .pixmap(16, 16)
                 .isNull());
}

void Form1Test::geometry_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("place");
    // The design's table, in twips: left, top, width, height.
    QTest::newRow("lb_1") << "lb_1" << Twips(3660, 0, 1605, 315);
    QTest::newRow("lb_8") << "lb_8" << Twips(3660, 2310, 1605, 315);
    QTest::newRow("lb1") << "lb1" << Twips(3480, 0, 135, 315);
    QTest::newRow("lb8") << "lb8" << Twips(3480, 2310, 135, 315);
    QTest::newRow("Shape5") << "Shape5" << Twips(60, 2700, 5295, 495);
    QTest::newRow("Shape4") << "Shape4" << Twips(90, 2700, 5235, 510);
    QTest::newRow("Shape3") << "Shape3" << Twips(135, 2730, 1035, 435);
    QTest::newRow("cmdClear") << "cmdClear" << Twips(240, 2790, 825, 325);
    QTest::newRow("Shape1") << "Shape1" << Twips(1290, 2730, 2085, 435);
    QTest::newRow("Label11") << "Label11" << Twips(1350, 2850, 1245, 255);
    QTest::newRow("txtUserData") << "txtUserData" << Twips(2550, 2790, 735, 315);
    QTest::newRow("Shape2") << "Shape2" << Twips(3510, 2730, 1725, 435);
    QTest::newRow("cboMeasures") << "cboMeasures" << Twips(3615, 2790, 1515, 315);
    QTest::newRow("lb_9") << "lb_9" << Twips(3390, 3240, 1875, 315);
    QTest::newRow("lb_15") << "lb_15" << Twips(3390, 5220, 1875, 315);
    QTest::newRow("lb9") << "lb9" << Twips(3210, 3240, 135, 315);
    QTest::newRow("lb15") << "lb15" << Twips(3210, 5220, 135, 315);
    QTest::newRow("cmdLength") << "cmdLength" << Twips(120, 5820, 915, 315);
    QTest::newRow("cmdCapacity") << "cmdCapacity" << Twips(1125, 5820, 915, 315);
    QTest::newRow("cmdWeight") << "cmdWeight" << Twips(2130, 5820, 915, 315);
    QTest::newRow("cmdExit") << "cmdExit" << Twips(3840, 5790, 915, 345);
}

void Form1Test::geometry() {
    QFETCH(QString, name);
    QFETCH(QRect, place);
    auto* widget = Find<QWidget>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(), place);
    // All in one client area of 5400 x 6180 twips under the menu bar, in a
    // window that cannot be resized.
    QWidget* client = widget->parentWidget();
    QCOMPARE(client->size(), QSize(360, 412));
    QCOMPARE(client->mapTo(m_form, QPoint(0, 0)).y(), m_form->findChild<QMenuBar*>()->height());
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QCOMPARE(m_form->size().height(), 412 + m_form->findChild<QMenuBar*>()->height());
}

void Form1Test::typingRecomputes_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("2") << "2" << kFeet2;
    QTest::newRow("12") << "12" << kFeet12;
    QTest::newRow("typed then erased reads 0")
        << "5\b" << QStringList{".", "FEET", ".", ".", ".", ".", ".", ".",
                                ".", ".",    ".", ".", ".", ".", "."};
    QTest::newRow("widest value") << "123456789"
                                  << QStringList{"1,481,481,000.",    "FEET",
                                                 "41,152,260.",       "20,576,130.",
                                                 "7,482,229.8181818", "187,055.8",
                                                 "23,381.97",         "7,793.989",
                                                 "37,629,630,201.6",  "3,762,963,020.16",
                                                 "376,296,302.016",   "37,629,630.2016",
                                                 "3,762,963.02016",   "376,296.302016",
                                                 "37,629.6302016"};
}

void Form1Test::typingRecomputes() {
    QFETCH(QString, input);
    QFETCH(QStringList, values);
    for (QChar c : input) {
        if (c == '\b')
            QTest::keyClick(Box(), Qt::Key_Backspace);
        else
            QTest::keyClicks(Box(), QString(c));
    }
    QCOMPARE(Values(), values);
}

void Form1Test::categoryButtons_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("Capacity") << "cmdCapacity"
                              << "CAPACITY"
                              << QStringList{".3809524",   "GALLONS(US)", "9.992088", "48.",
                                             "39.9684232", "96.",         "79.93896", "192.",
                                             "1,536.",     "1,598.736",   "3,072.",   "9,216.",
                                             "45,424.92",  "45.42492",    ".0454249"};
    // Rows 3 to 5 stay empty in both columns.
    QTest::newRow("Weight") << "cmdWeight"
                            << "WEIGHT" << kPounds12;
    QTest::newRow("Length") << "cmdLength"
                            << "LENGTH" << kFeet12;
}

void Form1Test::categoryButtons() {
    QFETCH(QString, button);
    QFETCH(QString, title);
    QFETCH(QStringList, values);
    const mensura::Category* category = mensura::FindCategory(title.toStdString());
    QVERIFY(category);
    QStringList items;
    for (const std::string& item : category->selectorItems) items << QString::fromStdString(item);

    QTest::keyClicks(Box(), "12");
    // Pressing the button again gives the same again.
    for (int press = 1; press <= 2; ++press) {
        QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
        QCOMPARE(Find<QLabel>("lbMeasurement")->text(), title);
        QCOMPARE(Names(), FromCatalogue(category->nameCaptions));
        QCOMPARE(Selector()->count(), items.size());
        for (int i = 0; i < items.size(); ++i) QCOMPARE(Selector()->itemText(i), items[i]);
        QCOMPARE(Selector()->currentText(), QString::fromStdString(category->defaultUnit));
        QCOMPARE(Selector()->currentIndex(), Selector()->findText(Selector()->currentText()));
        QCOMPARE(Values(), values);
        QCOMPARE(Box()->text(), QStringLiteral("12"));
        // The focus is back in the box, with the whole number selected, so
        // the next key replaces it.
        QCOMPARE(QApplication::focusWidget(), Box());
        QCOMPARE(Box()->selectedText(), QStringLiteral("12"));
    }
    QTest::keyClicks(nullptr, "7");
    QCOMPARE(Box()->text(), QStringLiteral("7"));
}

void Form1Test::choosingFromList_data() {
    QTest::addColumn<bool>("byMouse");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("values");
    const QStringList inches{"INCHES",   ".1666667", ".0555556", ".0277778", ".010101",
                             ".0002525", ".0000316", ".0000105", "50.8",     "5.08",
                             ".508",     ".0508",    ".00508",   ".000508",  ".0000508"};
    const QStringList kilometres{"78,740.1576", "6,561.6798", "2,187.2266", "1,093.6133",
                                 "397.6776",    "9.9408",     "1.2426",     ".4142",
                                 "2,000,000.",  "200,000.",   "20,000.",    "2,000.",
                                 "200.",        "20.",        "KILOMETERS"};
    QTest::newRow("INCHES by mouse") << true << "INCHES" << inches;
    QTest::newRow("INCHES by arrow key") << false << "INCHES" << inches;
    QTest::newRow("KILOMETERS by mouse") << true << "KILOMETERS" << kilometres;
    QTest::newRow("KILOMETERS by arrow keys") << false << "KILOMETERS" << kilometres;
}

void Form1Test::choosingFromList() {
    QFETCH(bool, byMouse);
    QFETCH(QString, item);
    QFETCH(QStringList, values);
    QTest::keyClicks(Box(), "2");
    QCOMPARE(Values(), kFeet2);
    if (byMouse) {
        ChooseByMouse(item);
    } else {
        QTest::keyClick(Box(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget(), Selector());
        // The keys go on from FEET, the unit shown.
        const int steps = Selector()->findText(item) - Selector()->findText("FEET");
        for (int i = 0; i < std::abs(steps); ++i)
            QTest::keyClick(Selector(), steps < 0 ? Qt::Key_Up : Qt::Key_Down);
    }
    QCOMPARE(Selector()->currentText(), item);
    QCOMPARE(Values(), values);
}

void Form1Test::typedUnit_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("after");
    QTest::addColumn<QStringList>("values");
    // No unit string is lower case: the change of number converts nothing,
    // and the captions of "2", which no longer hold, go.
    QTest::newRow("feet") << ""
                          << "2"
                          << "feet"
                          << "5" << kEmpty15;
    QTest::newRow("POUNDS in LENGTH") << ""
                                      << "2"
                                      << "POUNDS"
                                      << "5" << kEmpty15;
    QTest::newRow("beginning of FATHOM") << ""
                                         << "2"
                                         << "fa"
                                         << "5" << kEmpty15;
    // An item's exact text, typed, is still only typing: nothing converts
    // until something else recomputes.
    QTest::newRow("INCHES") << ""
                            << "2"
                            << "INCHES"
                            << "" << kFeet2;
    // A weight unit no list offers, in rows whose names are blank.
    QTest::newRow("STONES in WEIGHT") << "cmdWeight"
                                      << ""
                                      << "STONES"
                                      << "3" << kStones3;
}

void Form1Test::typedUnit() {
    QFETCH(QString, button);
    QFETCH(QString, before);
    QFETCH(QString, unit);
    QFETCH(QString, after);
    QFETCH(QStringList, values);
    if (!button.isEmpty()) QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    QTest::keyClicks(Box(), before);
    const int count = Selector()->count();
    const int current = Selector()->currentIndex();
    TypeUnit(unit);
    // Confirmed with Enter and left with Tab, where a combo box would
    // complete the text, pick the matching item or add a new one.
    QTest::keyClick(Selector(), Qt::Key_Return);
    QTest::keyClick(Selector(), Qt::Key_Tab);
    QTRY_VERIFY(!Selector()->hasFocus());
    QTest::keyClicks(Box(), after);
    QCOMPARE(Values(), values);
    // The typed text stays as typed: not completed, not added to the list.
    QCOMPARE(Selector()->currentText(), unit);
    QCOMPARE(Selector()->count(), count);
    // A typed item becomes the current item; other text leaves it be.
    const int typedItem = Selector()->findText(unit);
    QCOMPARE(Selector()->currentIndex(), typedItem >= 0 ? typedItem : current);
    // The next change of the number converts from the typed unit, if any.
    QTest::keyClicks(Box(), "0");
    if (unit == "INCHES") QCOMPARE(Find<QLabel>("lb2")->text(), QStringLiteral("1.666667"));
}

// A pick with the mouse hands the focus back to the number box, so that the
// next digit goes to the number; arrow keys keep it in the selector. A
// selector text that names no unit leaves no number of an earlier input in
// the rows: they are emptied as the clear command empties them.
void Form1Test::noResultsOfAnotherInput() {
    QTest::keyClicks(Box(), "2");
    const QStringList names = Names();
    // The click that opens the list gives the selector the focus.
    Selector()->setFocus(Qt::MouseFocusReason);
    QTRY_VERIFY(Selector()->hasFocus());
    ChooseByMouse("MILES");
    QTRY_COMPARE(QApplication::focusWidget(), Box());
    QTest::keyClicks(QApplication::focusWidget(), "7");  // replaces the selected "2"
    QCOMPARE(Box()->text(), QStringLiteral("7"));
    QCOMPARE(Selector()->currentText(), QStringLiteral("MILES"));
    QCOMPARE(Find<QLabel>("lb7")->text(), QStringLiteral("MILES"));
    QCOMPARE(Find<QLabel>("lb2")->text(), QStringLiteral("36,960."));

    // Typed into the selector, as focus left there would have it.
    Selector()->setFocus();
    QTRY_VERIFY(Selector()->hasFocus());
    Selector()->lineEdit()->end(false);
    QTest::keyClicks(Selector(), "7");
    QCOMPARE(Selector()->currentText(), QStringLiteral("MILES7"));
    QTest::keyClicks(Box(), "5");
    QCOMPARE(Values(), kEmpty15);
    QCOMPARE(Names(), names);
    QCOMPARE(Find<QLabel>("lbMeasurement")->text(), QStringLiteral("LENGTH"));
    QCOMPARE(Find<QWidget>("results")->accessibleDescription(), QStringLiteral("empty"));

    // A unit again, and the values come back for the number shown.
    TypeUnit("FEET");
    QTest::keyClick(Box(), Qt::Key_Backspace);
    QTest::keyClick(Box(), Qt::Key_Backspace);
    QTest::keyClicks(Box(), "12");
    QCOMPARE(Values(), kFeet12);
    // A choice with the arrow keys leaves the focus in the selector.
    QTest::keyClick(Selector(), Qt::Key_Down);
    QCOMPARE(Selector()->currentText(), QStringLiteral("YARDS"));
    QVERIFY(Selector()->hasFocus());
    // A choice with Enter in the open list hands it back, as the mouse's does.
    QTest::keyClick(Selector(), Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(Selector()->view()->isVisible());
    QWidget* list = QApplication::activePopupWidget();
    QVERIFY(list);
    QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Down);
    QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Return);
    QTRY_COMPARE(QApplication::focusWidget(), Box());
    QCOMPARE(Selector()->currentText(), QStringLiteral("FATHOM"));
}

void Form1Test::arrowKeysGoOnFromTheUnitShown_data() {
    QTest::addColumn<QString>("button");  // pressed first, if any
    QTest::addColumn<QString>("typed");   // then typed into the selector, if any
    QTest::addColumn<QString>("up");      // the unit Up chooses from there
    QTest::addColumn<QString>("down");    // the unit Down chooses from there
    QTest::newRow("start-up") << ""
                              << ""
                              << "INCHES"
                              << "YARDS";
    QTest::newRow("Length") << "cmdLength"
                            << ""
                            << "INCHES"
                            << "YARDS";
    QTest::newRow("Weight") << "cmdWeight"
                            << ""
                            << "OUNCES"
                            << "TONS";
    QTest::newRow("Capacity") << "cmdCapacity"
                              << ""
                              << "BARREL(US)"
                              << "GALLONS(GB)";
    QTest::newRow("typed MILES") << ""
                                 << "MILES"
                                 << "FURLONG"
                                 << "LEAGUE";
    QTest::newRow("typed GRAMS") << "cmdWeight"
                                 << "GRAMS"
                                 << "TONS"
                                 << "MILLIGRAMS";
    QTest::newRow("typed TEASPOONS") << "cmdCapacity"
                                     << "TEASPOONS"
                                     << "TABLESPOONS"
                                     << "MILLILITER";
    // Text that is no item leaves the current item where it was.
    QTest::newRow("typed feet") << ""
                                << "feet"
                                << "INCHES"
                                << "YARDS";
}

// Up, Down and the open list start from the unit the selector shows, and
// each step is a choice that marks its row and converts at once.
void Form1Test::arrowKeysGoOnFromTheUnitShown() {
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, up);
    QFETCH(QString, down);
    if (!button.isEmpty()) QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    QTest::keyClicks(Box(), "2");
    const QString shown = typed.isEmpty() ? Selector()->currentText() : typed;
    const int shownItem = Selector()->findText(shown);
    const int startItem = shownItem >= 0 ? shownItem : Selector()->currentIndex();
    QSignalSpy activated(Selector(), &QComboBox::activated);
    const QStringList before = Values();
    if (!typed.isEmpty()) TypeUnit(typed);
    QCOMPARE(Values(), before);  // typing alone converts nothing
    Selector()->setFocus();
    QTRY_VERIFY(Selector()->hasFocus());

    QTest::keyClick(Selector(), Qt::Key_Down, Qt::AltModifier);
    QTRY_VERIFY(Selector()->view()->isVisible());
    QCOMPARE(Selector()->view()->currentIndex().row(), startItem);
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, Qt::Key_Escape);
    QTRY_VERIFY(!Selector()->view()->isVisible());
    QCOMPARE(activated.count(), 0);
    QCOMPARE(Selector()->currentText(), shown);

    const auto chooses = [&](Qt::Key key, const QString& unit) {
        QTest::keyClick(Selector(), key);
        QCOMPARE(Selector()->currentText(), unit);
        const int row = mensura::UnitRow(unit.toStdString());
        QCOMPARE(Find<QLabel>(QStringLiteral("lb%1").arg(row))->text(), unit);
    };
    chooses(Qt::Key_Up, up);
    QCOMPARE(activated.count(), 1);
    chooses(Qt::Key_Down, Selector()->itemText(startItem));
    chooses(Qt::Key_Down, down);
}

void Form1Test::clearCommands_data() {
    QTest::addColumn<QString>("way");
    QTest::newRow("button") << "button";
    QTest::newRow("Escape in the box") << "escape box";
    QTest::newRow("Escape in the selector") << "escape selector";
    QTest::newRow("access key Alt+L") << "alt+l";
    QTest::newRow("File menu, Clear") << "menu";
}

void Form1Test::clearCommands() {
    QFETCH(QString, way);
    QTest::keyClicks(Box(), "12");
    QCOMPARE(Values(), kFeet12);
    QWidget* focus = Box();
    if (way == "button") {
        QTest::mouseClick(Find<QPushButton>("cmdClear"), Qt::LeftButton);
        focus = Find<QPushButton>("cmdClear");
    } else if (way == "escape box") {
        QTest::keyClick(Box(), Qt::Key_Escape);
    } else if (way == "escape selector") {
        Selector()->setFocus();
        QTRY_VERIFY(Selector()->hasFocus());
        focus = Selector();
        QTest::keyClick(Selector(), Qt::Key_Escape);
    } else if (way == "alt+l") {
        QTest::keyClick(Box(), Qt::Key_L, Qt::AltModifier);
    } else if (way == "menu") {
        QTest::keyClick(Box(), Qt::Key_F, Qt::AltModifier);
        QTRY_VERIFY(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
        QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
        QTRY_VERIFY(!QApplication::activePopupWidget());
    }
    QTRY_COMPARE(Values(), kEmpty15);
    // Nothing else changes.
    QCOMPARE(Box()->text(), QStringLiteral("12"));
    QCOMPARE(Selector()->currentText(), QStringLiteral("FEET"));
    QCOMPARE(Find<QLabel>("lbMeasurement")->text(), QStringLiteral("LENGTH"));
    QCOMPARE(Names(), FromCatalogue(mensura::FindCategory("LENGTH")->units));
    QTRY_COMPARE(QApplication::focusWidget(), focus);
    // One more keystroke brings the values back.
    Box()->setFocus();
    QTest::keyClick(Box(), Qt::Key_End);
    QTest::keyClick(Box(), Qt::Key_Backspace);
    QCOMPARE(Box()->text(), QStringLiteral("1"));
    for (const QString& value : Values()) QVERIFY(!value.isEmpty());
    QCOMPARE(Find<QLabel>("lb1")->text(), QStringLiteral("12."));
    QCOMPARE(Find<QLabel>("lb2")->text(), QStringLiteral("FEET"));
}

void Form1Test::enterDoesNotClear_data() {
    QTest::addColumn<QString>("widget");
    QTest::newRow("Enter in the box") << "txtUserData";
    QTest::newRow("Enter in the selector") << "cboMeasures";
}

void Form1Test::enterDoesNotClear() {
    QFETCH(QString, widget);
    QTest::keyClicks(Box(), "2");
    auto* target = Find<QWidget>(widget);
    target->setFocus();
    QTRY_VERIFY(target->hasFocus());
    QTest::keyClick(target, Qt::Key_Return);
    QTest::keyClick(target, Qt::Key_Enter);
    QTest::qWait(300);  // a button's animated click would land by now
    QCOMPARE(Values(), kFeet2);
}

void Form1Test::clickInBoxRecomputes() {
    QTest::keyClicks(Box(), "2");
    QTest::keyClick(Box(), Qt::Key_Escape);
    QCOMPARE(Values(), kEmpty15);
    QTest::mouseClick(Box(), Qt::LeftButton, {}, Box()->rect().center());
    QCOMPARE(Box()->text(), QStringLiteral("2"));
    QCOMPARE(Values(), kFeet2);
}

void Form1Test::clickIntoBoxSelectsAll() {
    QTest::keyClicks(Box(), "123");
    Selector()->setFocus();
    QTRY_VERIFY(Selector()->hasFocus());
    // A click that brings the focus places the cursor; the selection of the
    // whole text must survive it.
    QTest::mouseClick(Box(), Qt::LeftButton, {}, QPoint(4, Box()->height() / 2));
    QTRY_COMPARE(QApplication::focusWidget(), Box());
    QTRY_COMPARE(Box()->selectedText(), QStringLiteral("123"));
    QTest::keyClicks(nullptr, "4");
    QCOMPARE(Box()->text(), QStringLiteral("4"));
    // Tab and Shift+Tab into the box select it all as well.
    QTest::keyClick(Box(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTRY_COMPARE(QApplication::focusWidget(), Box());
    QCOMPARE(Box()->selectedText(), QStringLiteral("4"));
}

void Form1Test::focusComingBackKeepsSelection() {
    QTest::keyClicks(Box(), "123");
    QTest::keyClick(Box(), Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(Box()->selectedText(), QStringLiteral("3"));
    // Another window, then back: the focus never left the box as far as the
    // window is concerned, so the user's selection stays.
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    m_form->activateWindow();
    QTRY_VERIFY(m_form->isActiveWindow());
    QTRY_COMPARE(QApplication::focusWidget(), Box());
    QCOMPARE(Box()->selectedText(), QStringLiteral("3"));
}

void Form1Test::focusOrder() {
    const QStringList order{"txtUserData", "cboMeasures", "cmdClear", "cmdLength",
                            "cmdCapacity", "cmdWeight",   "cmdExit",  "txtUserData"};
    QTRY_COMPARE(QApplication::focusWidget(), Box());
    for (qsizetype i = 1; i < order.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
    for (qsizetype i = order.size() - 2; i >= 0; --i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QTRY_COMPARE(QApplication::focusWidget()->objectName(), order[i]);
    }
}

void Form1Test::overflow() {
    ChooseByMouse("LEAGUE");
    // Each keystroke converts; at the last one the row for feet (x 15840,
    // single) goes beyond the single range.
    QTest::keyClicks(Box(), "2.2e34");
    QStringList values = Values();
    QCOMPARE(values.takeFirst(),
             QStringLiteral("4,181,759,888,742,090,000,000,000,000,000,000,000,000."));
    QCOMPARE(values.takeFirst(), QStringLiteral("Overflow"));
    // Nothing is left over from "2.2e3", which filled every row.
    QCOMPARE(values, kEmpty15.mid(2));

    // Row 1's number is wider than the window: it shows its leading digits
    // and an ellipsis, never a cut-off number, and the tooltip holds it all,
    // above the digits the cell computed.
    auto* lb1 = Find<CaptionLabel>("lb1");
    QCOMPARE(lb1->geometry().left(), 0);
    QCOMPARE(lb1->geometry().right(), Twips(3480, 0, 135, 315).right());
    QVERIFY2(lb1->DisplayedText().startsWith("4,181,759") &&
                 lb1->DisplayedText().endsWith(QChar(0x2026)),
             qPrintable(lb1->DisplayedText()));
    QCOMPARE(lb1->ToolTipText(), lb1->text() + "\n4.18175988874209e+39");
    QCOMPARE(Find<CaptionLabel>("lb2")->ToolTipText(), QString());

    // A normal number afterwards fills every row again.
    Box()->selectAll();
    QTest::keyClicks(Box(), "1");
    QCOMPARE(Values(), (QStringList{"190,080.", "15,840.", "5,280.", "2,640.", "960.", "24.", "3.",
                                    "LEAGUE", "4,828,032.", "482,803.2", "48,280.32", "4,828.032",
                                    "482.8032", "48.2803", "4.828"}));
    QCOMPARE(lb1->ToolTipText(), QStringLiteral("190080"));
}

void Form1Test::separatorsFromNumberSettings_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("lb1");
    QTest::addColumn<QString>("lb9");
    QTest::newRow("C") << QLocale::c() << "12,006."
                       << "304,952.4";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "12.006,"
                            << "304.952,4";
    // A separator of three bytes in UTF-8, U+202F.
    QTest::newRow("French") << QLocale(QLocale::French, QLocale::France) << QString("12\u202F006,")
                            << QString("304\u202F952,4");
}

void Form1Test::separatorsFromNumberSettings() {
    QFETCH(QLocale, locale);
    QFETCH(QString, lb1);
    QFETCH(QString, lb9);
    QLocale::setDefault(locale);
    // Typed input always takes "."
    QTest::keyClicks(Box(), "1000.5");
    QCOMPARE(Find<QLabel>("lb1")->text(), lb1);
    QCOMPARE(Find<QLabel>("lb9")->text(), lb9);
    QCOMPARE(Find<QLabel>("lb2")->text(), QStringLiteral("FEET"));
}

void Form1Test::valuesKeepRightEdgeAndFit() {
    QTest::keyClicks(Box(), "123456789");
    for (int row = 1; row <= 15; ++row) {
        auto* label = Find<CaptionLabel>(QStringLiteral("lb%1").arg(row));
        const QRect design = mensura::ValueLabelPlace(row);
        QCOMPARE(label->geometry().right(), design.right());
        QCOMPARE(label->geometry().top(), design.top());
        QCOMPARE(label->geometry().height(), design.height());
        QVERIFY(label->geometry().left() > 0);
        QCOMPARE(label->DisplayedText(), label->text());
        QVERIFY2(QFontMetricsF(label->font()).horizontalAdvance(label->text()) <=
                     label->contentsRect().width(),
                 qPrintable(label->text()));
        QVERIFY(label->font().bold());
    }
    QCOMPARE(Find<QLabel>("lb9")->text(), QStringLiteral("37,629,630,201.6"));
    // Emptied, a label shrinks back to its design width.
    QTest::keyClick(Box(), Qt::Key_Escape);
    QCOMPARE(Find<QLabel>("lb9")->geometry(), Twips(3210, 3240, 135, 315));
}

void Form1Test::captionsFit_data() {
    QTest::addColumn<QString>("button");
    QTest::newRow("LENGTH") << "cmdLength";
    QTest::newRow("WEIGHT") << "cmdWeight";
    QTest::newRow("CAPACITY") << "cmdCapacity";
}

// With the stand-in fonts every caption, and every unit name in the
// selector's field, fits the place the design gives it.
void Form1Test::captionsFit() {
    QFETCH(QString, button);
    QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    auto fits = [](const QWidget* widget, const QString& text, int room) {
        const qreal width = QFontMetricsF(widget->font()).horizontalAdvance(text);
        if (width <= room) return true;
        qWarning("%s: \"%s\" is %.1f px, room %d px", qPrintable(widget->objectName()),
                 qPrintable(text), width, room);
        return false;
    };
    for (int row = 1; row <= 15; ++row) {
        auto* name = Find<QLabel>(QStringLiteral("lb_%1").arg(row));
        QVERIFY(name->font().bold() && name->font().italic());
        QVERIFY(fits(name, name->text(), name->contentsRect().width()));
    }
    // The title sizes itself around its design centre (1575 + 75 / 2 twips).
    auto* title = Find<QLabel>("lbMeasurement");
    QVERIFY(fits(title, title->text(), title->width()));
    QVERIFY(qAbs(2 * title->x() + title->width() - 2 * 1575 / 15 - 75 / 15) <= 1);
    // The prompt, up to where the input box covers it.
    auto* prompt = Find<QLabel>("Label11");
    QVERIFY(fits(prompt, prompt->text(), Box()->x() - prompt->x()));
    // The selector's field, less the line edit's own margins of 2 px a side.
    QLineEdit* field = Selector()->lineEdit();
    for (int i = 0; i < Selector()->count(); ++i)
        QVERIFY(fits(field, Selector()->itemText(i), field->width() - 4));
    for (auto* cmd : m_form->findChildren<QPushButton*>())
        QVERIFY(fits(cmd, cmd->text().remove('&'), cmd->width() - 8));
}

void Form1Test::endingTheProgram_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("unloaded");
    // "Exit" ends at once, without the close that runs Form_Unload.
    QTest::newRow("Exit button") << "button" << false;
    QTest::newRow("File menu, Exit") << "menu" << false;
    QTest::newRow("Ctrl+Q") << "ctrl+q" << false;
    QTest::newRow("window manager's close") << "close" << true;
}

void Form1Test::endingTheProgram() {
    QFETCH(QString, way);
    QFETCH(bool, unloaded);
    QTimer::singleShot(0, m_form, [this, way] {
        if (way == "button") {
            QTest::mouseClick(Find<QPushButton>("cmdExit"), Qt::LeftButton);
        } else if (way == "menu") {
            QTest::keyClick(Box(), Qt::Key_F, Qt::AltModifier);
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_X);
        } else if (way == "ctrl+q") {
            QTest::keyClick(Box(), Qt::Key_Q, Qt::ControlModifier);
        } else {
            m_form->close();
        }
    });
    QTimer guard;
    guard.setSingleShot(true);
    connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    guard.start(5000);
    QCOMPARE(QApplication::exec(), 0);
    QCOMPARE(m_form->isVisible(), !unloaded);
}

void Form1Test::tooltipsShowAllDigits_data() {
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tooltip");
    // Single cells: 7 significant digits; double cells: up to 15.
    QTest::newRow("single, 7 digits") << "12" << 7 << ".0022727"
                                      << "0.002272727";
    QTest::newRow("double, 15 digits") << "123456789" << 5 << "7,482,229.8181818"
                                       << "7482229.81818182";
    QTest::newRow("double, small") << "1" << 15 << ".0003048"
                                   << "0.0003048";
    QTest::newRow("whole number") << "12" << 1 << "144."
                                  << "144";
    QTest::newRow("source row") << "12" << 2 << "FEET"
                                << "";
    QTest::newRow("out of range") << "1e39" << 1 << "Out of range"
                                  << "";
}

void Form1Test::tooltipsShowAllDigits() {
    QFETCH(QString, input);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QString, tooltip);
    QTest::keyClicks(Box(), input);
    auto* label = Find<CaptionLabel>(QStringLiteral("lb%1").arg(row));
    QCOMPARE(label->text(), caption);
    QCOMPARE(label->ToolTipText(), tooltip);
    if (!tooltip.isEmpty()) {  // as shown when the pointer rests on the label
        const QPoint centre = label->rect().center();
        QHelpEvent help(QEvent::ToolTip, centre, label->mapToGlobal(centre));
        QApplication::sendEvent(label, &help);
        QCOMPARE(QToolTip::text(), tooltip);
        QToolTip::hideText();
    }
    QTest::keyClick(Box(), Qt::Key_Escape);
    QCOMPARE(label->ToolTipText(), QString());
}

// The prompt ends a few pixels short of the box at every scale, and the
// title is as wide as the ink of its letters.
void Form1Test::promptAndTitleKeepTheirInk() {
    auto* prompt = Find<QLabel>("Label11");
    const QFontMetricsF metrics(prompt->font());
    QVERIFY2(prompt->x() + metrics.horizontalAdvance(prompt->text()) <= Box()->x() - 2.99,
             qPrintable(QString::number(metrics.horizontalAdvance(prompt->text()))));
    for (const char* button : {"cmdLength", "cmdWeight", "cmdCapacity"}) {
        QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
        auto* title = Find<QLabel>("lbMeasurement");
        const QFontMetricsF titleMetrics(title->font());
        QVERIFY(titleMetrics.boundingRect(title->text()).width() <= title->width());
        QVERIFY(titleMetrics.tightBoundingRect(title->text()).width() <= title->width() - 4);
    }
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
