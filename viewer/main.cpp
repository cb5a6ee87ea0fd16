// mensura-help: Mensura's help viewer, started by the Help command with the
// places to look for the help file, in order:
//   mensura-help -- PLACE...
// It confines itself first (confinement.h), then shows the first readable
// help file in its window and answers the commands of command_channel.h.
// It ends when its window is closed or when the program that started it
// closes the line.
#include <fcntl.h>
#include <sys/stat.h>
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

namespace {

// How far the viewer may grow beyond its size once its window stands: room
// for the largest pages and pictures the page caps let through, and for
// Qt's own caches; far below what a runaway layout would take.
#if defined(__SANITIZE_ADDRESS__)
constexpr std::size_t kAddressSpaceHeadroom = 0;  // the sanitizer reserves terabytes
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr std::size_t kAddressSpaceHeadroom = 0;
#else
constexpr std::size_t kAddressSpaceHeadroom = std::size_t{1} << 30;
#endif
#else
constexpr std::size_t kAddressSpaceHeadroom = std::size_t{1} << 30;
#endif

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// What Qt reads once the viewer is confined: its libraries and plugins,
// fonts and their configuration, icon themes, the X authority cookie, and
// the viewer's own /proc entries.
std::vector<std::string> ReadablePlaces() {
    std::vector<std::string> places{
        "/usr",           "/lib",
        "/lib64",         "/etc/fonts",
        "/etc/xdg",       "/etc/ld.so.cache",
        "/etc/localtime", "/var/cache/fontconfig",
        "/proc/self",     "/dev/null",
        "/dev/urandom",   "/sys/devices/system/cpu",
    };
    const std::string home = Env("HOME");
    const std::string cache =
        Env("XDG_CACHE_HOME").empty() ? home + "/.cache" : Env("XDG_CACHE_HOME");
    const std::string config =
        Env("XDG_CONFIG_HOME").empty() ? home + "/.config" : Env("XDG_CONFIG_HOME");
    const std::string data =
        Env("XDG_DATA_HOME").empty() ? home + "/.local/share" : Env("XDG_DATA_HOME");
    for (const std::string& place : {cache + "/fontconfig", config + "/fontconfig", data + "/fonts",
                                     data + "/icons", home + "/.fonts", home + "/.icons"})
        places.push_back(place);
    places.push_back(Env("XAUTHORITY").empty() ? home + "/.Xauthority" : Env("XAUTHORITY"));
    if (!Env("ICEAUTHORITY").empty()) places.push_back(Env("ICEAUTHORITY"));
    return places;
}

// Each place that holds a regular file, opened before the confinement so
// that the file stays readable; a FIFO or a device is not waited on.
std::vector<int> OpenHelpFiles(const QStringList& candidates) {
    std::vector<int> fds;
    for (const QString& path : candidates) {
        const int fd =
            open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
        if (fd < 0) continue;
        struct stat info {};
        if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode))
            fds.push_back(fd);
        else
            close(fd);
    }
    return fds;
}

}  // namespace

int main(int argc, char* argv[]) {
    QStringList candidates;
    bool places = false;
    for (int i = 1; i < argc; ++i) {
        if (places)
            candidates << QFile::decodeName(argv[i]);
        else if (std::string(argv[i]) == "--")
            places = true;
    }
    // A line to a program that has gone must not end the viewer by a signal.
    std::signal(SIGPIPE, SIG_IGN);

    const std::vector<int> helpFiles = OpenHelpFiles(candidates);
    mensura::viewer::ConfinementRules rules;
    rules.readable = ReadablePlaces();
    rules.readableFiles = helpFiles;
    const mensura::viewer::ConfinementReport confinement = mensura::viewer::Confine(rules);
    for (const int fd : helpFiles) close(fd);

    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    mensura::PrepareApplication();
    mensura::CommandChannel channel;
    channel.Send(QStringLiteral("confined ") + QString::fromStdString(confinement.Describe()));
    if (!confinement.problem.empty())
        std::fprintf(stderr, "mensura-help: confined only in part: %s\n",
                     confinement.problem.c_str());

    mensura::HelpWindow window;
    const auto show = [&] {
        window.ShowFirstOf(candidates);
        window.show();
        window.raise();
        window.activateWindow();
        channel.Send(
            QStringLiteral("shown %1\t%2").arg(window.FilePath(), window.CurrentPage().toString()));
    };
    show();
    if (kAddressSpaceHeadroom > 0 && !mensura::viewer::LimitAddressSpace(kAddressSpaceHeadroom))
        std::fprintf(stderr, "mensura-help: the address space could not be limited\n");

    QObject::connect(&channel, &mensura::CommandChannel::Command, &app,
                     [&](const QString& command) {
                         if (command == QLatin1String("show"))
                             show();
                         else if (command == QLatin1String("ping"))
                             channel.Send(QStringLiteral("pong"));
                     });
    QObject::connect(&channel, &mensura::CommandChannel::Closed, &app, &QApplication::quit);
    return QApplication::exec();
}
