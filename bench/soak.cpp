// Soak: 100,000 keystrokes through the main window's handlers, then cycles
// of pasting a 1.4 MB mixed text and deleting it, offscreen, with the
// resident memory before and after each stretch. Memory must not grow.
// Usage: mensura_soak [keystrokes [paste cycles]]
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <cstdio>

#include "application.h"
#include "form1.h"

using mensura::Form1;

namespace {

long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

void Key(QWidget* box, Qt::Key key, const QString& text = {},
         Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(box, &press);
    QApplication::sendEvent(box, &release);
}

// Bursts of up to 12 typed characters, each erased again.
void Keystrokes(QLineEdit* box, long count) {
    static const QString kTyped = QStringLiteral("1234.5678e-3");
    for (long i = 0; i < count; ++i) {
        const long at = i % (2 * kTyped.size());
        if (at < kTyped.size())
            Key(box, Qt::Key_unknown, kTyped.mid(at, 1));
        else
            Key(box, Qt::Key_Backspace);
        if (i % 16 == 0) QCoreApplication::processEvents();  // repaint now and then
    }
    QCoreApplication::processEvents();
}

// Digits, Latin, Hebrew, Arabic, combining marks, emoji, CJK and controls.
QString MixedText(qsizetype bytes) {
    const QString piece = QString::fromUtf8(
        "12345.678 abc \u00f1 e\u0301 \u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627 "
        "\U0001F600\U0001F44D\U0001F3FD \u4e2d\u6587 &H1F 1e400 -0 \u202f\u200f\u200e\t ");
    QString text;
    while (text.toUtf8().size() + piece.toUtf8().size() <= bytes) text += piece;
    return text;
}

void PasteCycles(QLineEdit* box, int cycles) {
    for (int i = 0; i < cycles; ++i) {
        Key(box, Qt::Key_V, {}, Qt::ControlModifier);
        QCoreApplication::processEvents();
        Key(box, Qt::Key_A, {}, Qt::ControlModifier);
        Key(box, Qt::Key_Delete);
        QCoreApplication::processEvents();
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mensura::PrepareApplication();
    const long keystrokes = argc > 1 ? std::atol(argv[1]) : 100'000;
    const int cycles = argc > 2 ? std::atoi(argv[2]) : 15;

    Form1 form;
    form.show();
    QCoreApplication::processEvents();
    auto* box = form.findChild<QLineEdit*>(QStringLiteral("txtUserData"));
    box->setFocus();
    QApplication::clipboard()->setText(MixedText(1'400'000));

    // Warm up: fonts, glyph caches and the first paste's buffers.
    Keystrokes(box, 1000);
    PasteCycles(box, 1);
    const long start = ResidentKb();
    std::printf("resident after warm-up:                %7ld kB\n", start);
    Keystrokes(box, keystrokes);
    const long typed = ResidentKb();
    std::printf("after %ld keystrokes:               %7ld kB (%+ld kB)\n", keystrokes, typed,
                typed - start);
    PasteCycles(box, cycles);
    const long pasted = ResidentKb();
    std::printf("after %d paste cycles of 1.4 MB:        %7ld kB (%+ld kB)\n", cycles, pasted,
                pasted - typed);
    PasteCycles(box, cycles);
    const long again = ResidentKb();
    std::printf("after %d more:                          %7ld kB (%+ld kB)\n", cycles, again,
                again - pasted);
    return 0;
}
