// mensura-help: Mensura's help viewer, started by the Help command with the
// places to look for the help file, in order:
//   mensura-help -- PLACE...
// It confines itself first (confinement.h), then shows the first readable
// help file in its window and answers the commands of command_channel.h.
// It ends when its window is closed or when the program that started it
// closes the line. Started with --print or --print-confined it prints a
// page instead (print_job.h).
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "application.h"
#include "command_channel.h"
#include "confinement.h"
#include "help_window.h"
#include "print_job.h"

namespace {

// Ends the process without tearing Qt down. Nothing of the viewer needs it:
// it holds no file open for writing and nothing unsaved. And Qt 6.4's
// Wayland plugin can wait for ever in its display's destructor once the
// program's line has closed, which would leave a viewer behind.
[[noreturn]] void QuitNow(int status) {
    std::fflush(nullptr);
    _exit(status);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc >= 2 &&
        (std::string(argv[1]) == "--print" || std::string(argv[1]) == "--print-confined")) {
        QStringList arguments;
        for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
        int qtArgc = 1;
        QuitNow(std::string(argv[1]) == "--print"
                    ? mensura::RunPrintJob(arguments, qtArgc, argv)
                    : mensura::RunConfinedPrint(arguments, qtArgc, argv));
    }
    // The places to look, after "--".
    std::vector<std::string> places;
    QStringList candidates;
    bool afterDashes = false;
    for (int i = 1; i < argc; ++i) {
        if (afterDashes) {
            places.emplace_back(argv[i]);
            candidates << QFile::decodeName(argv[i]);
        } else if (std::string(argv[i]) == "--") {
            afterDashes = true;
        }
    }
    // A line to a program that has gone must not end the viewer by a signal.
    std::signal(SIGPIPE, SIG_IGN);

    // Opened before the confinement, so that the help files stay readable.
    const std::vector<int> helpFiles = mensura::viewer::OpenRegularFiles(places);
    mensura::viewer::ConfinementRules rules;
    rules.readable = mensura::viewer::PlacesQtReads();
    rules.readableFiles = helpFiles;
    const mensura::viewer::ConfinementReport confinement = mensura::viewer::Confine(rules);
    for (const int fd : helpFiles) close(fd);

    int qtArgc = 1;
    // Never destroyed: see QuitNow.
    QApplication& app = *new QApplication(qtArgc, argv);
    mensura::PrepareApplication();
    mensura::CommandChannel channel;
    channel.Send(QStringLiteral("confined ") + QString::fromStdString(confinement.Describe()));
    if (!confinement.problem.empty())
        std::fprintf(stderr, "mensura-help: confined only in part: %s\n",
                     confinement.problem.c_str());

    mensura::HelpWindow window;
    window.FitToScreen();
    // Printing is another process's job, which the Help command starts.
    QObject::connect(
        &window, &mensura::HelpWindow::PrintRequested, &app,
        [&](const QString& file, const QUrl& page) {
            channel.Send(
                QStringLiteral("print %1\t%2\t%3").arg(file, page.toString(), window.PageTitle()));
        });
    // The viewer is confined: a web or mail address goes to the desktop
    // through the program that started it.
    window.SetExternalOpener([&channel](const QUrl& url) {
        channel.Send(QStringLiteral("open ") + QString::fromUtf8(url.toEncoded()));
        return true;
    });
    const auto show = [&] {
        window.ShowFirstOf(candidates);
        window.show();
        window.raise();
        window.activateWindow();
        channel.Send(
            QStringLiteral("shown %1\t%2").arg(window.FilePath(), window.CurrentPage().toString()));
    };
    show();
    if (mensura::viewer::kAddressSpaceHeadroom > 0 &&
        !mensura::viewer::LimitAddressSpace(mensura::viewer::kAddressSpaceHeadroom))
        std::fprintf(stderr, "mensura-help: the address space could not be limited\n");

    QObject::connect(&channel, &mensura::CommandChannel::Command, &app,
                     [&](const QString& command) {
                         if (command == QLatin1String("show"))
                             show();
                         else if (command == QLatin1String("ping"))
                             channel.Send(QStringLiteral("pong"));
                     });
    QObject::connect(&channel, &mensura::CommandChannel::Closed, &app, &QApplication::quit);
    const int status = QApplication::exec();
    // QApplication::quit() has closed the window already. Under X11, sync()
    // makes sure the server has heard so before the process ends; Qt's
    // Wayland plugin has no sync, and a compositor may drop the last requests
    // of a client that has gone. Either way the window system removes the
    // windows of a program that has ended.
    window.hide();
    QGuiApplication::sync();
    QuitNow(status);
}
