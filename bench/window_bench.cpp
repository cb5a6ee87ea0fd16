// A keystroke through the real main window, offscreen: from the key event on
// the input box until all fifteen captions are set and laid out, and, apart
// from it, the repaint that follows; beside the same on a bare Qt window
// whose keystroke sets 15 of its 30 labels.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "application.h"
#include "bare_window.h"
#include "form1.h"

using mensura::Form1;

namespace {

using Clock = std::chrono::steady_clock;

// Alternately types the last digit of a nine-digit number and erases it.
void Keystroke(QLineEdit* box, bool erase) {
    const auto key = erase ? Qt::Key_Backspace : Qt::Key_9;
    const QString text = erase ? QString() : QStringLiteral("9");
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
    // Geometry changes of child widgets post layout requests; run them too.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
}

// Paints what the keystroke left dirty, as the event loop would next.
void Repaint(QWidget* window) {
    QCoreApplication::sendPostedEvents(window, QEvent::UpdateRequest);
}

struct Subject {
    std::unique_ptr<QWidget> window;
    QLineEdit* box;
};

Subject Make(bool bare) {
    Subject s;
    if (bare) {
        auto* w = new BareWindow;
        s.window.reset(w);
        s.box = w->Edit();
    } else {
        s.window = std::make_unique<Form1>();
        s.box = s.window->findChild<QLineEdit*>(QStringLiteral("txtUserData"));
    }
    s.window->show();
    QCoreApplication::processEvents();
    s.box->setFocus();
    s.box->setText(QStringLiteral("12345678"));
    Repaint(s.window.get());
    return s;
}

void Report(benchmark::State& state, std::vector<double>& samples) {
    std::sort(samples.begin(), samples.end());
    state.counters["median_us"] = samples[samples.size() / 2] * 1e6;
}

// What is timed: the key event and its handlers (part == 0), or the
// repaint after it (part == 1).
void KeystrokeBench(benchmark::State& state, bool bare, int part) {
    Subject s = Make(bare);
    std::vector<double> samples;
    bool erase = false;
    for (auto _ : state) {
        const auto t0 = Clock::now();
        Keystroke(s.box, erase);
        const auto t1 = Clock::now();
        Repaint(s.window.get());
        const auto t2 = Clock::now();
        // Whatever else the event loop would deliver, untimed.
        QCoreApplication::processEvents();
        const double seconds = std::chrono::duration<double>(part == 0 ? t1 - t0 : t2 - t1).count();
        state.SetIterationTime(seconds);
        samples.push_back(seconds);
        erase = !erase;
    }
    Report(state, samples);
}

BENCHMARK_CAPTURE(KeystrokeBench, MensuraHandler, false, 0)->UseManualTime()->MinTime(2.0);
BENCHMARK_CAPTURE(KeystrokeBench, BareHandler, true, 0)->UseManualTime()->MinTime(2.0);
BENCHMARK_CAPTURE(KeystrokeBench, MensuraRepaint, false, 1)->UseManualTime()->MinTime(2.0);
BENCHMARK_CAPTURE(KeystrokeBench, BareRepaint, true, 1)->UseManualTime()->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mensura::PrepareApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
