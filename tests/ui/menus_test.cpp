// The main window's menu bar: File, then Help with its commands around a
// separator, and no item showing a shortcut. Their access keys are tried
// where the commands are (the clear, exit, help and About tests).
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include "form1_fixture.h"

class MenusTest : public Form1Fixture {
    Q_OBJECT

private slots:
    void helpMenu();
    void menuItemsShowNoShortcut();
};

void MenusTest::helpMenu() {
    // File, then Help, with its two commands around a separator; no
    // shortcuts. The About window's tests open it by the access keys.
    auto* help = m_form->findChild<QMenu*>("mnuHelp");
    QCOMPARE(m_form->findChild<QMenuBar*>()->actions().last()->menu(), help);
    QStringList items;
    for (QAction* item : help->actions()) {
        items << item->objectName() + ' ' + item->text();
        QVERIFY(item->shortcut().isEmpty());
    }
    QCOMPARE(items, (QStringList{"mnuHelpItem Hel&p", "mnuDash1 ", "mnuAbout &About"}));
    QVERIFY(help->actions()[1]->isSeparator());
}

// Keys belong to the window, not to the menu items, which show none.
void MenusTest::menuItemsShowNoShortcut() {
    const auto menus = m_form->findChild<QMenuBar*>()->findChildren<QMenu*>();
    QVERIFY(!menus.isEmpty());
    for (QMenu* menu : menus)
        for (QAction* action : menu->actions())
            QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
}

QTEST_MAIN(MenusTest)
#include "menus_test.moc"
