#include "accessible_batch.h"

#include <QAccessible>
#include <QHash>
#include <QList>
#include <QPointer>

namespace mensura {

namespace {

struct BatchState {
    QHash<QObject*, QPointer<QObject>> containerOf;  // held labels
    QList<QPointer<QObject>> changed;                // containers to report
    QAccessible::UpdateHandler previous = nullptr;
    bool installed = false;
    int depth = 0;
};

BatchState& State() {
    static BatchState state;
    return state;
}

}  // namespace

void AccessibleBatch::Hold(QObject* label, QObject* container) {
    BatchState& s = State();
    if (!s.installed) {
        s.previous = QAccessible::installUpdateHandler(&AccessibleBatch::Filter);
        s.installed = true;
    }
    s.containerOf.insert(label, container);
    QObject::connect(label, &QObject::destroyed,
                     [](QObject* gone) { State().containerOf.remove(gone); });
}

AccessibleBatch::AccessibleBatch() {
    ++State().depth;
}

AccessibleBatch::~AccessibleBatch() {
    BatchState& s = State();
    if (--s.depth > 0) return;
    const QList<QPointer<QObject>> changed = std::move(s.changed);
    s.changed.clear();
    for (const QPointer<QObject>& container : changed) {
        if (!container) continue;
        // The contents shown by the container changed; a tool that cares
        // reads the labels' names afresh.
        QAccessibleEvent event(container.data(), QAccessible::VisibleDataChanged);
        Forward(&event);
    }
}

void AccessibleBatch::Filter(QAccessibleEvent* event) {
    BatchState& s = State();
    const auto type = event->type();
    if (s.depth > 0 &&
        (type == QAccessible::NameChanged || type == QAccessible::DescriptionChanged)) {
        const auto held = s.containerOf.constFind(event->object());
        if (held != s.containerOf.constEnd()) {
            if (held.value() && !s.changed.contains(held.value())) s.changed.append(held.value());
            return;
        }
    }
    Forward(event);
}

void AccessibleBatch::Forward(QAccessibleEvent* event) {
    BatchState& s = State();
    if (s.previous) {
        s.previous(event);
        return;
    }
    // No handler before ours: give the event to the platform, as Qt does
    // when no handler is installed.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(&AccessibleBatch::Filter);
}

}  // namespace mensura
