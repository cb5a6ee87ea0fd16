// Form1's menus: the menu bar's File and Help menus and their commands,
// the input box's context menu, and the context-menu key for whatever has
// the focus.
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>

#include "form1.h"
#include "frm_splash.h"
#include "help_command.h"

namespace mensura {

void Form1::BuildMenus(QMenuBar* menuBar) {
    QMenu* file = menuBar->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QAction* clear = file->addAction(QStringLiteral("&Clear"));
    clear->setObjectName(QStringLiteral("mnuClearItem"));
    connect(clear, &QAction::triggered, this, &Form1::mnuClearItem_Click);
    QAction* exit = file->addAction(QStringLiteral("E&xit"));
    exit->setObjectName(QStringLiteral("mnuExitItem"));
    connect(exit, &QAction::triggered, this, &Form1::mnuExitItem_Click);

    QMenu* help = menuBar->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    QAction* helpItem = help->addAction(QStringLiteral("Hel&p"));
    helpItem->setObjectName(QStringLiteral("mnuHelpItem"));
    connect(helpItem, &QAction::triggered, this, &Form1::mnuHelpItem_Click);
    help->addSeparator()->setObjectName(QStringLiteral("mnuDash1"));
    QAction* about = help->addAction(QStringLiteral("&About"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    connect(about, &QAction::triggered, this, &Form1::mnuAbout_Click);
}

void Form1::mnuClearItem_Click() {
    cmdClear_Click();
}

void Form1::mnuExitItem_Click() {
    cmdExit_Click();
}

void Form1::mnuHelpItem_Click() {
    // The current directory, in the system's own bytes, and the file name,
    // joined as they are: a root "/" gives "//MnsHlp.chm". Where the file is
    // then looked for, and what is shown, is the help layer's business; its
    // answer is not needed.
    const QByteArray path = CurrentDirectory() + "/MnsHlp.chm";
    HtmlHelp(nullptr /* no owner */, path.constData(), HH_DISPLAY_TOPIC, 0);
}

void Form1::mnuAbout_Click() {
    // One About window: while it is shown, it is only brought to the front
    // and its period runs on. Hidden, it is on its way out (an unload
    // deletes it once the event is done): build a new one.
    if (!m_frmSplash || m_frmSplash->isHidden())
        m_frmSplash = new frmSplash(this, m_aboutCloseDelay);  // no parent: no owner
    m_frmSplash->show();
    m_frmSplash->raise();
    m_frmSplash->activateWindow();
}

// The box's own editing menu, and below it the results.
void Form1::txtUserData_ContextMenu(const QPoint& globalPos) {
    QMenu* menu = m_txtUserData->createStandardContextMenu();
    menu->setObjectName(QStringLiteral("mnuInput"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (QMenu* results = m_menus.ResultsMenu(QStringLiteral("Re&sults"), menu)) {
        menu->addSeparator();
        menu->addMenu(results);
    }
    menu->popup(globalPos);
}

// Shift+F10: the context menu of the control that has the focus, as the
// Menu key opens it.
void Form1::OpenContextMenuOfFocus() {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this) return;
    const QPoint pos = focus->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Keyboard, pos, focus->mapToGlobal(pos));
    QApplication::sendEvent(focus, &event);
}

}  // namespace mensura
