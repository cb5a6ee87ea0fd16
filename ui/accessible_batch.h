#pragma once

#include <QObject>
#include <functional>

class QAccessibleEvent;

namespace mensura {

// Tells assistive technology once that a group of labels changed together,
// instead of once per label.
//
// QLabel::setText announces every new caption with its own NameChanged
// event, so one keystroke in the input box would send fifteen of them. The
// name and description events of the labels registered with Hold() are
// dropped while an AccessibleBatch is alive; when the outermost batch ends,
// the action it was given runs once, and that action makes the one change
// assistive technology hears of. Tools read a label's current name whenever
// they ask for it, so nothing they read goes stale.
//
// Works through QAccessible's update handler, which Qt calls only while
// accessibility is active (a screen reader, or QT_LINUX_ACCESSIBILITY_ALWAYS_ON).
class AccessibleBatch {
public:
    // From now on, batches hold back the name and description events of
    // `label`.
    static void Hold(QObject* label);

    // `done` runs when the outermost batch ends; of nested batches' actions
    // the last one given runs, once.
    explicit AccessibleBatch(std::function<void()> done = {});
    ~AccessibleBatch();
    AccessibleBatch(const AccessibleBatch&) = delete;
    AccessibleBatch& operator=(const AccessibleBatch&) = delete;

private:
    static void Filter(QAccessibleEvent* event);
};

}  // namespace mensura
