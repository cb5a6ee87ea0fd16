// Run from an installed tree: the install-tree test copies this program into
// <prefix>/bin beside the installed mensura, so the help lookup sees the
// installed layout exactly as the program does (its own folder is
// <prefix>/bin), and runs it from a directory of its choice. It builds the
// main window, chooses Help > Help as a user would, and reports what the
// help window then shows:
//   opened: the help file the process holds open (from /proc/self/fd)
//   shown:  the page in the help window, a "help:" address for a page of the file
// Exit status 0 when a page of a help file is shown, 1 when the window shows
// a message instead, 2 when the window or the command is missing.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextBrowser>
#include <iostream>

#include "application.h"
#include "form1.h"
#include "help_command.h"

using mensura::Form1;

namespace {

QString OpenHelpFile() {
    const QDir fds(QStringLiteral("/proc/self/fd"));
    for (const QFileInfo& fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target.endsWith(QStringLiteral("/MnsHlp.chm"))) return target;
    }
    return QStringLiteral("none");
}

QWidget* HelpWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QStringLiteral("helpViewer") && widget->isVisible())
            return widget;
    return nullptr;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mensura::PrepareApplication();
    int status = 2;
    {
        Form1 form;
        form.show();
        auto* helpItem = form.findChild<QAction*>(QStringLiteral("mnuHelpItem"));
        if (!helpItem) {
            std::cout << "no Help > Help command\n";
            return 2;
        }
        helpItem->trigger();
        QApplication::processEvents();
        QWidget* window = HelpWindow();
        auto* browser =
            window ? window->findChild<QTextBrowser*>(QStringLiteral("helpBrowser")) : nullptr;
        if (!browser) {
            std::cout << "no help window\n";
        } else {
            const QUrl shown = browser->source();
            std::cout << "opened: " << OpenHelpFile().toStdString() << '\n'
                      << "shown: " << shown.toString().toStdString() << '\n';
            const bool page = shown.scheme() == QStringLiteral("help") &&
                              !browser->toPlainText().trimmed().isEmpty();
            status = page ? 0 : 1;
        }
    }
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
    return status;
}
