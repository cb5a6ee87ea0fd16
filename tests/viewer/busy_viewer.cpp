// mensura-help with a user who uses it: the viewer's own run (RunHelpViewer),
// confinement, window and channel included, with a user who, once the
// window shows the help, searches for a word and opens the first page
// found, zooms in, finds a word on the page and asks to print it. Before it
// does, it tells on standard error the colours the window is shown in:
// "palette WINDOW TEXT BASE" (#rrggbb each).
#include <QApplication>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "help_viewer.h"
#include "help_window.h"
#include "help_window_user.h"

namespace {

void Use(mensura::HelpWindow* window) {
    window->findChild<QTabWidget*>(QStringLiteral("helpTabs"))->setCurrentIndex(2);
    auto* words = window->findChild<QLineEdit*>(QStringLiteral("helpSearchText"));
    QTest::keyClicks(words, QStringLiteral("gallon"));
    QTest::keyClick(words, Qt::Key_Return);
    auto* found = window->findChild<QListWidget*>(QStringLiteral("helpSearchResults"));
    if (found->count() > 0) emit found->itemActivated(found->item(0));
    QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(window, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClicks(window->findChild<QLineEdit*>(QStringLiteral("helpFindText")),
                     QStringLiteral("unit"));
    QTest::keyClick(window, Qt::Key_F3);
    QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
}

// Once a help window shows a page and is the active window, tells its
// colours, then uses it.
void UseOnceShown() {
    UseHelpWindowOnceShown([](mensura::HelpWindow* window) {
        const QPalette colours = window->palette();
        std::fprintf(stderr, "palette %s %s %s\n",
                     qPrintable(colours.color(QPalette::Window).name()),
                     qPrintable(colours.color(QPalette::WindowText).name()),
                     qPrintable(colours.color(QPalette::Base).name()));
        std::fflush(stderr);
        Use(window);
    });
}
Q_COREAPP_STARTUP_FUNCTION(UseOnceShown)

}  // namespace

int main(int, char* argv[]) {
    mensura::RunHelpViewer(argv);
}
