#include "help_viewer.h"

#include <unistd.h>

#include <QApplication>
#include <csignal>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#include "application.h"
#include "command_channel.h"
#include "confinement.h"
#include "help_protocol.h"
#include "help_window.h"

namespace mensura {

void QuitNow(int status) {
    std::fflush(nullptr);
    _exit(status);
}

void RunHelpViewer(char** argv) {
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
    const std::vector<int> helpFiles = viewer::OpenRegularFiles(paths);
    viewer::ConfinementRules rules;
    rules.readable = viewer::PlacesQtReads();
    rules.readableFiles = helpFiles;
    rules.reach = viewer::ConfinementRules::Reach::Display;
    viewer::ConfinementReport confinement = viewer::Confine(rules);
    for (const int fd : helpFiles) close(fd);

    int qtArgc = 1;  // Qt is given the program's name alone
    // Never destroyed: see QuitNow.
    QApplication& app = *new QApplication(qtArgc, argv);
    // The display's connection stands; nothing else is ever to be reached.
    viewer::SealConnections(confinement);
    PrepareApplication();
    CommandChannel line(std::move(input));
    line.Send(channel::Confined{QByteArray::fromStdString(confinement.Describe())});
    if (!confinement.problem.empty())
        std::fprintf(stderr, "mensura-help: confined only in part: %s\n",
                     confinement.problem.c_str());

    HelpWindow window;
    window.FitToScreen();
    // Printing is another process's job, which the Help command starts.
    QObject::connect(
        &window, &HelpWindow::PrintRequested, &app, [&](const QByteArray& file, const QUrl& page) {
            // X11's window ids fit an int; another system's that does not
            // is not handed on.
            const WId id = window.winId();
            const int over = id <= WId(std::numeric_limits<int>::max()) ? int(id) : 0;
            const QPoint middle = window.frameGeometry().center();
            line.Send(channel::Print{file, page.toEncoded(), window.PageTitle().toUtf8(), over,
                                     middle.x(), middle.y()});
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
    if (viewer::kAddressSpaceHeadroom > 0 &&
        !viewer::LimitAddressSpace(viewer::kAddressSpaceHeadroom))
        std::fprintf(stderr, "mensura-help: the address space could not be limited\n");

    QObject::connect(&line, &CommandChannel::Command, &app, [&](const QByteArray& command) {
        if (channel::Decode<channel::Show>(command)) show();
    });
    QObject::connect(&line, &CommandChannel::Closed, &app, &QApplication::quit);
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

}  // namespace mensura
