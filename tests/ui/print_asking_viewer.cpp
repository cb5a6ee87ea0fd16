// mensura-help as the Help command's tests meet it, with a user who presses
// Ctrl+P as soon as its window shows the help: the viewer's own run
// (RunHelpViewer), confinement, window and channel included. Started as the
// print job (--print), it only keeps the request it was handed, in the file
// MENSURA_TEST_PRINT_REQUEST names, so that the test reads what arrived.
#include <unistd.h>

#include <QApplication>
#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "help_protocol.h"
#include "help_viewer.h"
#include "help_window.h"
#include "help_window_user.h"

namespace {

// Once a help window shows a page and is the active window, Ctrl+P, once.
void PressCtrlPOnceShown() {
    UseHelpWindowOnceShown([](mensura::HelpWindow* window) {
        QTest::keyClick(window, Qt::Key_P, Qt::ControlModifier);
    });
}
Q_COREAPP_STARTUP_FUNCTION(PressCtrlPOnceShown)

// Copies standard input to the file named, which appears once all of it is
// there; 0 when it does.
int KeepRequest(const char* path) {
    if (!path) return 2;
    const std::string partial = std::string(path) + ".part";
    std::FILE* out = std::fopen(partial.c_str(), "wb");
    if (!out) return 2;
    char buffer[4096];
    ssize_t got = 0;
    while ((got = read(STDIN_FILENO, buffer, sizeof buffer)) > 0)
        std::fwrite(buffer, 1, static_cast<size_t>(got), out);
    const bool kept = std::fclose(out) == 0 && got == 0;
    return kept && std::rename(partial.c_str(), path) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc >= 2 && std::strcmp(argv[1], mensura::channel::kPrintArgument) == 0)
        return KeepRequest(std::getenv("MENSURA_TEST_PRINT_REQUEST"));
    mensura::RunHelpViewer(argv);
}
