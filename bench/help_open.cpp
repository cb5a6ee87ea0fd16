// F1 to help window: from the Help command (which F1 runs) until the viewer
// it starts reports that its window shows the help file's first page (the
// viewer's start, its confinement, the file and the page's layout).
// Median of RUNS runs, each with a fresh viewer; run on the platform of
// QT_QPA_PLATFORM, e.g. under Xvfb with bench/help_open.sh.
// Usage: mensura_help_open_bench [RUNS]   (default 20)
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "application.h"
#include "form1.h"
#include "help_command.h"

namespace {

// Lets the event loop run until `done` holds, at most `ms` milliseconds.
template <class Done>
bool WaitFor(Done done, int ms) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > ms) return false;
        QEventLoop pause;
        QTimer::singleShot(1, &pause, &QEventLoop::quit);
        pause.exec();
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mensura::PrepareApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    mensura::Form1 form;
    form.show();
    WaitFor([&] { return form.isVisible(); }, 2000);
    auto* help = form.findChild<QAction*>(QStringLiteral("mnuHelpItem"));
    if (!help) return 2;
    std::vector<double> times;
    for (int run = 0; run <= runs; ++run) {
        mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
        WaitFor([] { return false; }, 200);  // the last viewer goes
        QElapsedTimer timer;
        timer.start();
        help->trigger();  // what F1 runs
        if (!WaitFor([] { return mensura::CurrentHelpViewer().shown > 0; }, 10000)) {
            std::fprintf(stderr, "the help viewer did not answer\n");
            return 1;
        }
        if (run > 0) times.push_back(double(timer.nsecsElapsed()) / 1e6);  // run 0 warms up
    }
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
    WaitFor([] { return false; }, 300);  // before the display goes
    std::sort(times.begin(), times.end());
    std::printf("F1 to help shown (ms): median %.1f, fastest %.1f, slowest %.1f over %zu runs\n",
                times[times.size() / 2], times.front(), times.back(), times.size());
    return 0;
}
