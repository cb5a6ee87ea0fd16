// mensura-help: Mensura's help viewer, started by the Help command, which
// then sends it, as its first line, the places to look for the help file, in
// order (help_protocol.h). It opens them and confines itself (confinement.h),
// shows the first readable help file in its window and answers the
// commands of the channel (command_channel.h). It ends when its window is
// closed or when the program that started it closes the line. Started with
// --print or --print-confined it prints a page instead (print_job.h).
#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "application.h"
#include "command_channel.h"
#include "confinement.h"
#include "help_protocol.h"
#include "help_window.h"
#include "print_job.h"

namespace {

namespace channel = mensura::channel;

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
    if (argc >= 2 && (std::strcmp(argv[1], channel::kPrintArgument) == 0 ||
                      std::strcmp(argv[1], channel::kConfinedPrintArgument) == 0)) {
        QStringList arguments;
        for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
        int qtArgc = 1;
        QuitNow(std::strcmp(argv[1], channel::kPrintArgument) == 0
                    ? mensura::RunPrintJob(arguments, qtArgc, argv)
                    : mensura::RunConfinedPrint(arguments, qtArgc, argv));
    }
    // A line to a program that has gone must not end the viewer by a signal.
    std::signal(SIGPIPE, SIG_IGN);

    // The places to look, the first line; they are opened before the
    // confinement, so that the help files stay readable.
    channel::LineReader input;
    QByteArrayList places;
    if (const std::optional<QByteArray> line = channel::ReadLine(STDIN_FILENO, input))
        if (const auto given = channel::Decode<channel::Places>(*line)) places = given->places;
    std::vector<std::string> paths;
    for (const QByteArray& place : places) paths.push_back(place.toStdString());
    const std::vector<int> helpFiles = mensura::viewer::OpenRegularFiles(paths);
    mensura::viewer::ConfinementRules rules;
    rules.readable = mensura::viewer::PlacesQtReads();
    rules.readableFiles = helpFiles;
    rules.reach = mensura::viewer::ConfinementRules::Reach::Display;
    mensura::viewer::ConfinementReport confinement = mensura::viewer::Confine(rules);
    for (const int fd : helpFiles) close(fd);

    int qtArgc = 1;
    // Never destroyed: see QuitNow.
    QApplication& app = *new QApplication(qtArgc, argv);
    // The display's connection stands; nothing else is ever to be reached.
    mensura::viewer::SealConnections(confinement);
    mensura::PrepareApplication();
    mensura::CommandChannel line(std::move(input));
    line.Send(channel::Confined{QByteArray::fromStdString(confinement.Describe())});
    if (!confinement.problem.empty())
        std::fprintf(stderr, "mensura-help: confined only in part: %s\n",
                     confinement.problem.c_str());

    mensura::HelpWindow window;
    window.FitToScreen();
    // Printing is another process's job, which the Help command starts.
    QObject::connect(
        &window, &mensura::HelpWindow::PrintRequested, &app,
        [&](const QByteArray& file, const QUrl& page) {
            line.Send(channel::Print{file, page.toEncoded(), window.PageTitle().toUtf8()});
        });
    // The viewer is confined: a web or mail address goes to the desktop
    // through the program that started it.
    window.SetExternalOpener([&line](const QUrl& url) {
        line.Send(channel::Open{url.toEncoded()});
        return true;
    });
    const auto show = [&] {
        window.ShowFirstOf(places);
        window.show();
        window.raise();
        window.activateWindow();
        line.Send(channel::Shown{window.FilePath(), window.CurrentPage().toEncoded()});
    };
    show();
    if (mensura::viewer::kAddressSpaceHeadroom > 0 &&
        !mensura::viewer::LimitAddressSpace(mensura::viewer::kAddressSpaceHeadroom))
        std::fprintf(stderr, "mensura-help: the address space could not be limited\n");

    QObject::connect(&line, &mensura::CommandChannel::Command, &app,
                     [&](const QByteArray& command) {
                         if (channel::Decode<channel::Show>(command)) show();
                     });
    QObject::connect(&line, &mensura::CommandChannel::Closed, &app, &QApplication::quit);
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
