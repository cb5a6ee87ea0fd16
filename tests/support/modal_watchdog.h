#pragma once

#include <QApplication>
#include <QString>
#include <QTimer>
#include <QWidget>

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
