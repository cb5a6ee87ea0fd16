// Holding back the accessibility events of labels written together, and
// the one change that announces them.
#include "accessible_batch.h"

#include <QAccessible>
#include <QSet>
#include <utility>

namespace mensura {

namespace {

struct BatchState {
    QSet<QObject*> held;
    std::function<void()> done;
    QAccessible::UpdateHandler previous = nullptr;
    bool installed = false;
    int depth = 0;
};

BatchState& State() {
    static BatchState state;
    return state;
}

}  // namespace

void AccessibleBatch::Hold(QObject* label) {
    BatchState& s = State();
    if (!s.installed) {
        s.previous = QAccessible::installUpdateHandler(&AccessibleBatch::Filter);
        s.installed = true;
    }
    s.held.insert(label);
    QObject::connect(label, &QObject::destroyed, [](QObject* gone) { State().held.remove(gone); });
}

AccessibleBatch::AccessibleBatch(std::function<void()> done) {
    BatchState& s = State();
    ++s.depth;
    if (done) s.done = std::move(done);
}

AccessibleBatch::~AccessibleBatch() {
    BatchState& s = State();
    if (--s.depth > 0) return;
    const std::function<void()> done = std::exchange(s.done, nullptr);
    if (done) done();
}

void AccessibleBatch::Filter(QAccessibleEvent* event) {
    BatchState& s = State();
    const QAccessible::Event type = event->type();
    if (s.depth > 0 &&
        (type == QAccessible::NameChanged || type == QAccessible::DescriptionChanged) &&
        s.held.contains(event->object()))
        return;
    if (s.previous) {
        s.previous(event);
        return;
    }
    // No handler was installed before ours: hand the event to the platform,
    // as Qt does when there is no handler.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&AccessibleBatch::Filter);
}

}  // namespace mensura
