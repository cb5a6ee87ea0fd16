// Taking results out of the main window: the value labels' menus, Copy,
// Copy Number, Copy All and Ctrl+C, the menu of all results from the
// keyboard, and Escape closing a list or menu without clearing.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include "form1_fixture.h"

class ResultsMenusTest : public Form1Fixture {
    Q_OBJECT

private slots:
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
};

void ResultsMenusTest::escapeClosingAListKeepsResults_data() {
    QTest::addColumn<QString>("list");
    QTest::newRow("unit list") << "selector";
    QTest::newRow("value label's menu") << "value menu";
    QTest::newRow("input box's menu") << "box menu";
}

// Escape that closes an open list or menu only closes it; the next Escape,
// with nothing open, clears as before.
void ResultsMenusTest::escapeClosingAListKeepsResults() {
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

void ResultsMenusTest::copyCommands_data() {
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
void ResultsMenusTest::copyCommands() {
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

void ResultsMenusTest::copyAll_data() {
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

void ResultsMenusTest::copyAll() {
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

void ResultsMenusTest::ctrlC_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("copied");
    QTest::newRow("in the box, its selection") << "txtUserData"
                                               << "12";
    QTest::newRow("in the selector, its selection") << "cboMeasures"
                                                    << "FEET";
    QTest::newRow("on a button, all rows") << "cmdLength"
                                           << "INCHES\t144.\n";
}

void ResultsMenusTest::ctrlC() {
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

void ResultsMenusTest::resultsMenuByKeyboard_data() {
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
void ResultsMenusTest::resultsMenuByKeyboard() {
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

QTEST_MAIN(ResultsMenusTest)
#include "results_menus_test.moc"
