// Run from an installed tree: the install-tree test copies this program into
// <prefix>/bin beside the installed mensura, so the help lookup sees the
// installed layout exactly as the program does (its own folder is
// <prefix>/bin), and runs it from a directory of its choice. It builds the
// main window, chooses Help > Help as a user would, and reports what the
// help viewer it starts then shows:
//   opened: the help file the viewer holds open (from /proc/PID/fd)
//   shown:  the page in the viewer, a "help:" address for a page of the file
// Exit status 0 when a page of a help file is shown, 1 when the viewer
// shows a message instead, 2 when the command or the viewer is missing.
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <QUrl>
#include <iostream>

#include "application.h"
#include "form1.h"
#include "help_command.h"

using mensura::Form1;

namespace {

QString OpenHelpFile(qint64 pid) {
    const QDir fds(QStringLiteral("/proc/%1/fd").arg(pid));
    for (const QFileInfo& fd :
         fds.entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)) {
        const QString target = fd.symLinkTarget();
        if (target.endsWith(QStringLiteral("/MnsHlp.chm"))) return target;
    }
    return QStringLiteral("none");
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
        // The viewer answers once its window stands.
        QElapsedTimer waited;
        waited.start();
        while (mensura::CurrentHelpViewer().shown == 0 && mensura::CurrentHelpViewer().pid != 0 &&
               waited.elapsed() < 20000) {
            QEventLoop pause;
            QTimer::singleShot(20, &pause, &QEventLoop::quit);
            pause.exec();
        }
        const mensura::HelpViewerState viewer = mensura::CurrentHelpViewer();
        if (viewer.shown == 0) {
            std::cout << "no help viewer\n";
        } else {
            const QUrl shown(viewer.page);
            std::cout << "opened: " << OpenHelpFile(viewer.pid).toStdString() << '\n'
                      << "shown: " << shown.toString().toStdString() << '\n';
            status = shown.scheme() == mensura::kHelpScheme && !viewer.file.isEmpty() ? 0 : 1;
        }
    }
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
    return status;
}
