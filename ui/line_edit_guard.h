#pragma once

#include <QObject>

class QLineEdit;

namespace mensura {

// Keeps a line edit cheap to hold whatever is pasted into it, without
// touching its text:
//  - Undo history. QLineEdit records every inserted and removed character
//    in its undo history for as long as it lives, so paste-and-delete cycles
//    grow the program without end. Once the characters inserted and removed
//    since the history began exceed twice the box's length limit, the
//    history is dropped and starts afresh from the text as it stands; text,
//    cursor and selection stay exactly as they were, and no change is
//    reported. Undo thus reaches back to the last such reset.
//  - Cursor blink. Every paint of a line edit measures its whole text again,
//    so a blinking cursor in a long text keeps a core busy while the window
//    idles. While the text of any guarded line edit is longer than
//    kSteadyCursorLength, text cursors stay lit instead of blinking (the
//    flash time is a setting of the whole program); the user's flash time
//    comes back once every guarded text is shorter again.
class LineEditGuard : public QObject {
    Q_OBJECT

public:
    static constexpr int kSteadyCursorLength = 1000;

    // Watches the box and lives as its child.
    explicit LineEditGuard(QLineEdit* box);
    ~LineEditGuard() override;

private:
    void TextChanged(const QString& text);
    void ResetHistory();
    void KeepCursorSteady(bool steady);

    QLineEdit* m_box;
    qsizetype m_length = 0;     // the text's length before a change
    qsizetype m_selection = 0;  // the selection's length before a change
    qsizetype m_volume = 0;     // inserted and removed since the history began
    bool m_resetQueued = false;
    bool m_steady = false;

    static int s_steadyGuards;  // guards whose text is long
    static int s_userFlashTime;
};

}  // namespace mensura
