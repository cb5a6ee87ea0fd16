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
