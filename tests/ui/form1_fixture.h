#pragma once

// What the main window's tests share: a fresh Form1 for every test, shown
// and active, with the watchdog against modal windows; its controls found by
// their names; the value column and the row names read back; a unit chosen
// from the list or typed; a value label's menu opened by a right click; and
// the value columns several tests expect. A test class derives from
// Form1Fixture and lists its own tests as private slots.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QtTest>

#include "application.h"
#include "form1.h"
#include "window_tests.h"

// What the value column shows with "FEET" and the number 12.
inline const QStringList kFeet12{"144.",     "FEET",     "4.",       "2.",      ".7272727",
                                 ".0181818", ".0022727", ".0007576", "3,657.6", "365.76",
                                 "36.576",   "3.6576",   ".36576",   ".036576", ".0036576"};
inline const QStringList kEmpty15{"", "", "", "", "", "", "", "", "", "", "", "", "", "", ""};
// WEIGHT with 12 POUNDS (the rows with no name stay empty) and 3 STONES.
inline const QStringList kPounds12{"3,072.",
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
inline const QStringList kStones3{
    "10,752.",       "294,000.",     "6.",           ".1153846",     "STONES",
    "672.",          "42.",          ".021",         "19,050.87954", "19,050,879.54",
    "1,905,087.954", "190,508.7954", "1,905.087954", "190.5087954",  "19.0508795"};

class Form1Fixture : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

protected:
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

    mensura::Form1* m_form = nullptr;
    ModalWatchdog* m_watchdog = nullptr;
    QString m_unexpectedModal;
};

inline void Form1Fixture::initTestCase() {
    QLocale::setDefault(QLocale::c());
    mensura::PrepareApplication();
    // The ending tests close the window; that must not quit the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

inline void Form1Fixture::init() {
    m_form = new mensura::Form1;
    QVERIFY(ShowActive(m_form));
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
}

inline void Form1Fixture::cleanup() {
    delete m_watchdog;
    m_watchdog = nullptr;
    delete m_form;
    m_form = nullptr;
    QLocale::setDefault(QLocale::c());
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

inline QStringList Form1Fixture::Values() const {
    QStringList values;
    for (int row = 1; row <= 15; ++row)
        values << Find<QLabel>(QStringLiteral("lb%1").arg(row))->text();
    return values;
}

inline QStringList Form1Fixture::Names() const {
    QStringList names;
    for (int row = 1; row <= 15; ++row)
        names << Find<QLabel>(QStringLiteral("lb_%1").arg(row))->text();
    return names;
}

// Opens the selector's list and clicks the item.
inline void Form1Fixture::ChooseByMouse(const QString& item) {
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
inline void Form1Fixture::TypeUnit(const QString& unit) {
    QComboBox* selector = Selector();
    selector->setFocus();
    QTRY_VERIFY(selector->hasFocus());
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector, unit);
    QCOMPARE(selector->currentText(), unit);
}

inline QMenu* Form1Fixture::ActiveMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// A right click on a value label, as the platform delivers it; the menu it
// opens, or null.
inline QMenu* Form1Fixture::OpenValueMenu(int row) {
    auto* label = Find<QLabel>(QStringLiteral("lb%1").arg(row));
    const QPoint pos = label->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, label->mapToGlobal(pos));
    QApplication::sendEvent(label, &event);
    QTest::qWait(20);
    return ActiveMenu();
}
