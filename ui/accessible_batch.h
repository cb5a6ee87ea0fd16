#pragma once

#include <QObject>

class QAccessibleEvent;

namespace mensura {

// Tells assistive technology once that a group of labels changed together,
// instead of once per label.
//
// QLabel::setText announces every new caption with its own NameChanged
// event, so one keystroke in the input box would send fifteen of them. The
// labels registered with Hold() have their name and description events held
// back while an AccessibleBatch is alive; when the outermost batch ends, one
// event for their container says that its contents changed. Assistive tools
// read the labels' current names whenever they ask, so nothing is lost.
//
// Works through QAccessible's update handler, which Qt calls only while
// accessibility is active (a screen reader or QT_LINUX_ACCESSIBILITY_ALWAYS_ON).
class AccessibleBatch {
public:
    // From now on, batches hold back the name and description events of
    // `label` and report its changes as one event for `container`.
    static void Hold(QObject* label, QObject* container);

    AccessibleBatch();
    ~AccessibleBatch();
    AccessibleBatch(const AccessibleBatch&) = delete;
    AccessibleBatch& operator=(const AccessibleBatch&) = delete;

private:
    static void Filter(QAccessibleEvent* event);
    static void Forward(QAccessibleEvent* event);
};

}  // namespace mensura
