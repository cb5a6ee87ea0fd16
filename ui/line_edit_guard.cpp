// Keeping a line edit's undo history bounded and its idle cursor quiet,
// whatever is pasted into it.
#include "line_edit_guard.h"

#include <QApplication>
#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

namespace mensura {

LineEditGuard::LineEditGuard(QLineEdit* box)
    : QObject(box), m_box(box), m_length(box->text().size()) {
    connect(box, &QLineEdit::textChanged, this, &LineEditGuard::TextChanged);
    // QLineEdit reports a change of text before the change of selection it
    // brings, so m_selection still holds the selection the edit replaced.
    connect(box, &QLineEdit::selectionChanged, this,
            [this] { m_selection = m_box->selectionLength(); });
}

LineEditGuard::~LineEditGuard() {
    KeepCursorSteady(false);
}

void LineEditGuard::TextChanged(const QString& text) {
    // The history holds one entry per character inserted or removed. A
    // change replaced the selection (removed it, then inserted) or inserted
    // or removed text at the cursor; count whichever is larger.
    const qsizetype growth = text.size() - m_length;
    m_volume += std::max(growth < 0 ? -growth : growth, 2 * m_selection + growth);
    m_length = text.size();
    KeepCursorSteady(m_length > kSteadyCursorLength);
    if (m_volume > 2 * qsizetype(m_box->maxLength()) && !m_resetQueued) {
        // Not inside the edit that QLineEdit is still finishing: after it.
        m_resetQueued = true;
        QMetaObject::invokeMethod(this, &LineEditGuard::ResetHistory, Qt::QueuedConnection);
    }
}

void LineEditGuard::ResetHistory() {
    m_resetQueued = false;
    const QString text = m_box->text();
    const int cursor = m_box->cursorPosition();
    const int start = m_box->selectionStart();
    const int length = m_box->selectionLength();
    {
        // setText() with the same text changes nothing the window shows and
        // raises no textChanged(), but it starts a new history; it also moves
        // the cursor to the end, so put cursor and selection back, quietly.
        const QSignalBlocker blocker(m_box);
        m_box->setText(text);
        if (length > 0 && cursor == start)
            m_box->setSelection(start + length, -length);
        else if (length > 0)
            m_box->setSelection(start, length);
        else
            m_box->setCursorPosition(cursor);
    }
    m_selection = length;
    m_volume = 0;
}

int LineEditGuard::s_steadyGuards = 0;
int LineEditGuard::s_userFlashTime = 0;

void LineEditGuard::KeepCursorSteady(bool steady) {
    if (steady == m_steady) return;
    m_steady = steady;
    if (steady && s_steadyGuards++ == 0) {
        s_userFlashTime = QApplication::cursorFlashTime();
        QApplication::setCursorFlashTime(0);  // line edits stop their blink at once
    } else if (!steady && --s_steadyGuards == 0) {
        QApplication::setCursorFlashTime(s_userFlashTime);
    }
}

}  // namespace mensura
