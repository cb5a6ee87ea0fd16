#pragma once

#include <QApplication>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWidget>

// What the window tests share: a window shown and made active as a user
// finds it, and a watchdog against modal windows.

// Shows the window and waits until it is exposed and the active window, so
// that keys reach it; false when it does not get there.
[[nodiscard]] inline bool ShowActive(QWidget* window) {
    window->show();
    if (!QTest::qWaitForWindowExposed(window)) return false;
    window->activateWindow();
    return QTest::qWaitFor([window] { return window->isActiveWindow(); });
}

// Mensura never opens a modal window. While a watchdog lives, a modal window
// that appears is noted (its class name goes into *unexpected) and closed,
// so that the test fails instead of hanging.
class ModalWatchdog {
public:
    explicit ModalWatchdog(QString* unexpected) {
        unexpected->clear();
        QObject::connect(&m_timer, &QTimer::timeout, [unexpected] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                *unexpected = modal->metaObject()->className();
                modal->close();
            }
        });
        m_timer.start(100);
    }

private:
    QTimer m_timer;
};
