// The bodies of the main window tests' shared fixture. They sit in a source
// file of their own so that the QTRY_* waits are compiled once, here, and not
// in every file the fixture's header reaches (the moc output among them).
#include "form1_fixture.h"

void Form1Fixture::initTestCase() {
    QLocale::setDefault(QLocale::c());
    mensura::PrepareApplication();
    // The ending tests close the window; that must not quit the test run.
    QApplication::setQuitOnLastWindowClosed(false);
}

void Form1Fixture::init() {
    m_form = new mensura::Form1;
    QVERIFY(ShowActive(m_form));
    m_watchdog = new ModalWatchdog(&m_unexpectedModal);
}

void Form1Fixture::cleanup() {
    delete m_watchdog;
    m_watchdog = nullptr;
    delete m_form;
    m_form = nullptr;
    QLocale::setDefault(QLocale::c());
    QVERIFY2(m_unexpectedModal.isEmpty(),
             qPrintable("a modal window opened: " + m_unexpectedModal));
}

QStringList Form1Fixture::Values() const {
    QStringList values;
    for (int row = 1; row <= 15; ++row)
        values << Find<QLabel>(QStringLiteral("lb%1").arg(row))->text();
    return values;
}

QStringList Form1Fixture::Names() const {
    QStringList names;
    for (int row = 1; row <= 15; ++row)
        names << Find<QLabel>(QStringLiteral("lb_%1").arg(row))->text();
    return names;
}

// Opens the selector's list and clicks the item.
void Form1Fixture::ChooseByMouse(const QString& item) {
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
void Form1Fixture::TypeUnit(const QString& unit) {
    QComboBox* selector = Selector();
    selector->setFocus();
    QTRY_VERIFY(selector->hasFocus());
    selector->lineEdit()->selectAll();
    QTest::keyClicks(selector, unit);
    QCOMPARE(selector->currentText(), unit);
}

QMenu* Form1Fixture::ActiveMenu() {
    return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

// A right click on a value label, as the platform delivers it; the menu it
// opens, or null.
QMenu* Form1Fixture::OpenValueMenu(int row) {
    auto* label = Find<QLabel>(QStringLiteral("lb%1").arg(row));
    const QPoint pos = label->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, pos, label->mapToGlobal(pos));
    QApplication::sendEvent(label, &event);
    QTest::qWait(20);
    return ActiveMenu();
}
