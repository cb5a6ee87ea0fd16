// The main window driven as a user drives it: keys and clicks on the real
// widgets, found by their object names, and the captions read back.
#include "form1.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolTip>
#include <QtTest>
#include <cstdlib>

#include "application.h"
#include "caption_label.h"
#include "catalogue.h"
#include "form1_layout.h"
#include "window_tests.h"

using mensura::CaptionLabel;
using mensura::Form1;
using mensura::Twips;

namespace {

QStringList FromCatalogue(const std::array<std::string, mensura::kRowCount>& strings) {
    QStringList list;
    for (const std::string& s : strings) list << QString::fromStdString(s);
    return list;
}

// What the value column shows with "FEET" and the number 2 or 12.
const QStringList kFeet2{"24.",      "FEET",     ".6666667", ".3333333", ".1212121",
                         ".0030303", ".0003788", ".0001263", "609.6",    "60.96",
                         "6.096",    ".6096",    ".06096",   ".006096",  ".0006096"};
const QStringList kFeet12{"144.",     "FEET",     "4.",       "2.",      ".7272727",
                          ".0181818", ".0022727", ".0007576", "3,657.6", "365.76",
                          "36.576",   "3.6576",   ".36576",   ".036576", ".0036576"};
const QStringList kEmpty15{"", "", "", "", "", "", "", "", "", "", "", "", "", "", ""};
// WEIGHT with 12 POUNDS (the rows with no name stay empty) and 3 STONES.
const QStringList kPounds12{"3,072.",
                            "84,000.",
                            "",
                            "",
                            "",
                            "192.",
                            "POUNDS",
                            ".006",
                            "5,443.10844",
                            "5,443,108.44",
                            "544,310.844",
                            "54,431.0844",
                            "544.310844",
                            "54.4310844",
                            "5.4431084"};
const QStringList kStones3{
    "10,752.",       "294,000.",     "6.",           ".1153846",     "STONES",
    "672.",          "42.",          ".021",         "19,050.87954", "19,050,879.54",
    "1,905,087.954", "190,508.7954", "1,905.087954", "190.5087954",  "19.0508795"};

}  // namespace

class Form1Test : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

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

    void escapeClosingAListKeepsResults_data();
    void escapeClosingAListKeepsResults();
    void copyCommands_data();
    void copyCommands();
    void copyAll_data();
    void copyAll();
    void ctrlC_data();
    void ctrlC();
    void resultsMenuByKeyboard_data();
    void resultsMenuByKeyboard();
    void tooltipsShowAllDigits_data();
    void tooltipsShowAllDigits();
    void menuItemsShowNoShortcut();
    void accessibleNames_data();
    void accessibleNames();
    void inputBoxNamesTheDecimalPoint();
    void promptAndTitleKeepTheirInk();

private:
    template <class T>
    T* Find(const QString& name) const {
        return m_form->findChild<T*>(name);
    }
    QLineEdit* Box() const { return Find<QLineEdit>("txtUserData"); }
    QComboBox* Selector() const { return Find<QComboBox>("cboMeasures"); }
    QStringList Values() const;
    QStringList Names() const;
    void ChooseByMouse(const QString& item);
    void TypeUnit(const QString& unit);
    QMenu* OpenValueMenu(int row);
    static QMenu* ActiveMenu();

    Form1* m_form = nullptr;
    ModalWatchdog* m_watchdog = nullptr;
    QString m_unexpectedModal;
};

void Form1Test::initTestCase() {
    QLocale::setDefault(QLocale::c());
    mensura::PrepareApplication();
    // The ending tests close the window; that must not quit the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form1Test::init() {
    m_form = new Form1;
    QVERIFY(ShowActive(m_form));
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
}

void Form1Test::cleanup() {
    delete m_watchdog;
    m_watchdog = nullptr;
    delete m_form;
    m_form = nullptr;
    QLocale::setDefault(QLocale::c());
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

QStringList Form1Test::Values() const {
    QStringList values;
    for (int row = 1; row <= 15; ++row)
        values << Find<QLabel>(QStringLiteral("lb%1").arg(row))->text();
    return values;
}

QStringList Form1Test::Names() const {
    QStringList names;
    for (int row = 1; row <= 15; ++row)
        names << Find<QLabel>(QStringLiteral("lb_%1").arg(row))->text();
    return names;
}

// Opens the selector's list and clicks the item.
void Form1Test::ChooseByMouse(const QString& item) {
    QComboBox* selector = Selector();
    const int index = selector->findText(item, Qt::MatchExactly | Qt::MatchCaseSensitive);
    QVERIFY(index >= 0);
    selector->showPopup();
    QAbstractItemView* view = selector->view();
    QTRY_VERIFY(view->isVisible());
    const QModelIndex modelIndex = view->model()->index(index, 0);
    view->scrollTo(modelIndex);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(modelIndex).center());
    QTRY_VERIFY(!view->isVisible());
}

// Replaces the selector's text by typing.
void Form1Test::TypeUnit(const QString& unit) {
    QComboBox* selector = Selector();
    selector->setFocus();
    QTRY_VERIFY(selector->hasFocus());
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector, unit);
    QCOMPARE(selector->currentText(), unit);
}

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
    // and the captions of "2" stay.
    QTest::newRow("feet") << ""
                          << "2"
                          << "feet"
                          << "5" << kFeet2;
    QTest::newRow("POUNDS in LENGTH") << ""
                                      << "2"
                                      << "POUNDS"
                                      << "5" << kFeet2;
    QTest::newRow("beginning of FATHOM") << ""
                                         << "2"
                                         << "fa"
                                         << "5" << kFeet2;
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

// --- Taking results out, keys, accessibility ----------------------------------

QMenu* Form1Test::ActiveMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// A right click on a value label, as the platform delivers it; the menu it
// opens, or null.
QMenu* Form1Test::OpenValueMenu(int row) {
    auto* label = Find<QLabel>(QStringLiteral("lb%1").arg(row));
    const QPoint pos = label->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, label->mapToGlobal(pos));
    QApplication::sendEvent(label, &event);
    QTest::qWait(20);
    return ActiveMenu();
}

void Form1Test::escapeClosingAListKeepsResults_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("unit list") << "selector";
    QTest::newRow("value label's menu") << "value menu";
    QTest::newRow("input box's menu") << "box menu";
}

// Escape that closes an open list or menu only closes it; the next Escape,
// with nothing open, clears as before.
void Form1Test::escapeClosingAListKeepsResults() {
    QFETCH(QString, list);
    QTest::keyClicks(Box(), "12");
    QWidget* focus = Box();
    if (list == "selector") {
        focus = Selector();
        Selector()->setFocus();
        QTRY_VERIFY(Selector()->hasFocus());
        Selector()->showPopup();
        QTRY_VERIFY(Selector()->view()->isVisible());
    } else if (list == "value menu") {
        QVERIFY(OpenValueMenu(9));
    } else {
        QTest::keyClick(Box(), Qt::Key_F10, Qt::ShiftModifier);
        QTRY_VERIFY(ActiveMenu());
    }
    // Keys go to the open list or menu, as the platform routes them.
    QWidget* popup = QApplication::activePopupWidget();
    QVERIFY(popup);
    QTest::keyClick(popup->focusWidget() ? popup->focusWidget() : popup, Qt::Key_Escape);
    QTRY_VERIFY(!QApplication::activePopupWidget());
    QVERIFY(!Selector()->view()->isVisible());
    QTest::qWait(50);
    QCOMPARE(Values(), kFeet12);
    // With nothing open, Escape clears.
    m_form->activateWindow();
    focus->setFocus();
    QTRY_VERIFY(focus->hasFocus());
    QTest::keyClick(focus, Qt::Key_Escape);
    QCOMPARE(Values(), kEmpty15);
}

void Form1Test::copyCommands_data() {
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("number");  // empty: Copy Number is greyed
    const QLocale c = QLocale::c();
    const QLocale german(QLocale::German, QLocale::Germany);
    QTest::newRow("grouped") << c << "12"
                             << "" << 9 << "3,657.6"
                             << "3657.6";
    QTest::newRow("leading point") << c << "12"
                                   << "" << 15 << ".0036576"
                                   << "0.0036576";
    QTest::newRow("trailing point") << c << "12"
                                    << "" << 1 << "144."
                                    << "144";
    QTest::newRow("German grouped") << german << "12"
                                    << "" << 9 << "3.657,6"
                                    << "3657.6";
    QTest::newRow("German trailing comma") << german << "1000.5"
                                           << "" << 1 << "12.006,"
                                           << "12006";
    QTest::newRow("German leading comma") << german << "2"
                                          << "" << 3 << ",6666667"
                                          << "0.6666667";
    QTest::newRow("negative") << c << "-2.5"
                              << "" << 9 << "-762."
                              << "-762";
    QTest::newRow("zero") << c << "0"
                          << "" << 1 << "."
                          << "0";
    // The source row copies the number as the engine read it.
    QTest::newRow("source row") << c << "12 ft"
                                << "" << 2 << "FEET"
                                << "12";
    QTest::newRow("source row, single") << c << "0.1"
                                        << "" << 2 << "FEET"
                                        << "0.1";
    QTest::newRow("source row, rounded to single") << c << "123456789"
                                                   << "" << 2 << "FEET"
                                                   << "123456790";
    QTest::newRow("source row, German") << german << "1 500"
                                        << "" << 2 << "FEET"
                                        << "1500";
    QTest::newRow("out of range") << c << "1e39"
                                  << "" << 1 << "Out of range"
                                  << "";
    QTest::newRow("source row, out of range") << c << "1e39"
                                              << "" << 2 << "FEET"
                                              << "";
    QTest::newRow("overflow") << c << "2.2e34"
                              << "LEAGUE" << 2 << "Overflow"
                              << "";
}

// Right click, then the menu's access keys: C copies the caption, N the
// number; both land on the clipboard as plain text.
void Form1Test::copyCommands() {
    QFETCH(QLocale, locale);
    QFETCH(QString, input);
    QFETCH(QString, unit);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QFETCH(QString, number);
    QLocale::setDefault(locale);
    if (!unit.isEmpty()) ChooseByMouse(unit);
    QTest::keyClicks(Box(), input);
    QCOMPARE(Find<QLabel>(QStringLiteral("lb%1").arg(row))->text(), caption);
    QClipboard* clipboard = QGuiApplication::clipboard();

    clipboard->setText("before");
    QMenu* menu = OpenValueMenu(row);
    QVERIFY(menu);
    QStringList items;
    for (QAction* action : menu->actions()) items << action->text();
    QCOMPARE(items, (QStringList{"&Copy", "Copy &Number", "Copy &All"}));
    QTest::keyClick(menu, Qt::Key_C);
    QTRY_VERIFY(!ActiveMenu());
    QCOMPARE(clipboard->text(), caption);

    menu = OpenValueMenu(row);
    QVERIFY(menu);
    QAction* copyNumber = menu->findChild<QAction*>("mnuCopyNumber");
    QVERIFY(copyNumber);
    QCOMPARE(copyNumber->isEnabled(), !number.isEmpty());
    clipboard->setText("before");
    if (number.isEmpty()) {
        QTest::keyClick(menu, Qt::Key_Escape);
        QTRY_VERIFY(!ActiveMenu());
        return;
    }
    QTest::keyClick(menu, Qt::Key_N);
    QTRY_VERIFY(!ActiveMenu());
    QCOMPARE(clipboard->text(), number);
    if (clipboard->supportsSelection()) QCOMPARE(clipboard->text(QClipboard::Selection), number);
}

void Form1Test::copyAll_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("unit");
    QTest::addColumn<QString>("input");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("category");
    QTest::newRow("12 feet") << ""
                             << ""
                             << "12" << kFeet12 << "LENGTH";
    QTest::newRow("cleared") << "cmdClear"
                             << ""
                             << "" << kEmpty15 << "LENGTH";
    // The weight rows with no name are left out while they are empty, and
    // come in under their unit's name when they show something.
    QTest::newRow("pounds") << "cmdWeight"
                            << ""
                            << "12" << kPounds12 << "WEIGHT";
    QTest::newRow("stones") << "cmdWeight"
                            << "STONES"
                            << "3" << kStones3 << "WEIGHT";
}

void Form1Test::copyAll() {
    QFETCH(QString, button);
    QFETCH(QString, unit);
    QFETCH(QString, input);
    QFETCH(QStringList, values);
    QFETCH(QString, category);
    const mensura::Category* shown = mensura::FindCategory(category.toStdString());
    QVERIFY(shown);
    QString expected;
    for (std::size_t i = 0; i < 15; ++i) {
        const QString name = QString::fromStdString(shown->units[i]);
        const bool hidden = shown->nameCaptions[i].empty();
        if (!hidden || !values[static_cast<qsizetype>(i)].isEmpty())
            expected += name + "\t" + values[static_cast<qsizetype>(i)] + "\n";
    }
    if (!button.isEmpty()) QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton);
    if (!unit.isEmpty()) TypeUnit(unit);
    QTest::keyClicks(Box(), input);
    // From the menu of any label that shows something, or with Ctrl+C.
    int row = 1;
    while (row <= 15 && Find<QLabel>(QStringLiteral("lb%1").arg(row))->text().isEmpty()) ++row;
    if (row <= 15) {
        QMenu* menu = OpenValueMenu(row);
        QVERIFY(menu);
        QTest::keyClick(menu, Qt::Key_A);
        QTRY_VERIFY(!ActiveMenu());
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    } else {
        QVERIFY(!OpenValueMenu(1));  // an empty label offers nothing
    }
    QGuiApplication::clipboard()->clear();
    Find<QPushButton>("cmdExit")->setFocus();
    QTest::keyClick(Find<QPushButton>("cmdExit"), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), expected);
}

void Form1Test::ctrlC_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("copied");
    QTest::newRow("in the box, its selection") << "txtUserData"
                                               << "12";
    QTest::newRow("in the selector, its selection") << "cboMeasures"
                                                    << "FEET";
    QTest::newRow("on a button, all rows") << "cmdLength"
                                           << "INCHES\t144.\n";
}

void Form1Test::ctrlC() {
    QFETCH(QString, focus);
    QFETCH(QString, copied);
    QTest::keyClicks(Box(), "12");
    auto* widget = Find<QWidget>(focus);
    widget->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(widget->hasFocus());
    if (focus == "txtUserData") Box()->selectAll();
    if (focus == "cboMeasures") Selector()->lineEdit()->selectAll();
    QGuiApplication::clipboard()->setText("before");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY2(QGuiApplication::clipboard()->text().startsWith(copied),
             qPrintable(QGuiApplication::clipboard()->text()));
    QCOMPARE(Values(), kFeet12);
}

void Form1Test::resultsMenuByKeyboard_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("key");
    QTest::newRow("Shift+F10 on a button") << "cmdClear"
                                           << "shift+f10";
    QTest::newRow("Menu key on a button") << "cmdExit"
                                          << "menu";
    QTest::newRow("Shift+F10 in the box") << "txtUserData"
                                          << "shift+f10";
}

// The labels take no focus: from a button the context-menu key opens a menu
// of all rows, and the box's own menu ends with the same, as "Results".
void Form1Test::resultsMenuByKeyboard() {
    QFETCH(QString, focus);
    QFETCH(QString, key);
    QTest::keyClicks(Box(), "12");
    auto* widget = Find<QWidget>(focus);
    widget->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(widget->hasFocus());
    if (key == "menu") {
        // What the platform sends for the Menu key.
        QContextMenuEvent event(QContextMenuEvent::Keyboard, widget->rect().center(),
                                widget->mapToGlobal(widget->rect().center()));
        QApplication::sendEvent(widget, &event);
    } else {
        QTest::keyClick(widget, Qt::Key_F10, Qt::ShiftModifier);
    }
    QTRY_VERIFY(ActiveMenu());
    QMenu* results = ActiveMenu();
    if (focus == "txtUserData") {
        QCOMPARE(results->objectName(), QStringLiteral("mnuInput"));
        QVERIFY(results->actions().size() > 3);  // the box's own editing commands
        QAction* last = results->actions().last();
        QCOMPARE(last->text(), QStringLiteral("Re&sults"));
        results = last->menu();
        QVERIFY(results);
    }
    QStringList entries;
    for (QAction* action : results->actions()) entries << action->text();
    QCOMPARE(entries.size(), 15);
    QCOMPARE(entries[0], QStringLiteral("INCHES\t144."));
    QCOMPARE(entries[1], QStringLiteral("FEET\tFEET"));
    QCOMPARE(entries[8], QStringLiteral("MILLIMETERS\t3,657.6"));
    // Each entry is that row's own menu.
    QAction* copyNumber = results->actions()[8]->menu()->findChild<QAction*>("mnuCopyNumber");
    QVERIFY(copyNumber);
    copyNumber->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("3657.6"));
    QWidget* popup = QApplication::activePopupWidget();
    while (popup) {
        popup->close();
        popup = QApplication::activePopupWidget();
    }
    QCOMPARE(Values(), kFeet12);
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

// Keys belong to the window, not to the menu items, which show none.
void Form1Test::menuItemsShowNoShortcut() {
    const auto menus = m_form->findChild<QMenuBar*>()->findChildren<QMenu*>();
    QVERIFY(!menus.isEmpty());
    for (QMenu* menu : menus)
        for (QAction* action : menu->actions())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
}

void Form1Test::accessibleNames_data() {
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

void Form1Test::accessibleNames() {
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
void Form1Test::inputBoxNamesTheDecimalPoint() {
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
