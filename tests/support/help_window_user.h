#pragma once

// The user in the test viewers, mensura-help's own run with a user inside:
// `use` is called once with the help window, as soon as it shows a page and
// is the active window.
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <functional>

#include "help_window.h"

inline void UseHelpWindowOnceShown(std::function<void(mensura::HelpWindow*)> use) {
    auto* poll = new QTimer(QCoreApplication::instance());
    QObject::connect(poll, &QTimer::timeout, poll, [poll, use] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* window = qobject_cast<mensura::HelpWindow*>(widget);
            if (!window || !window->isVisible() || window->CurrentPage().isEmpty()) continue;
            if (!window->isActiveWindow()) {
                window->activateWindow();
                return;
            }
            poll->deleteLater();
            use(window);
            return;
        }
    });
    poll->start(10);
}
