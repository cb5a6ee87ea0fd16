#pragma once

// Find in page: a bar under the help page with the text to find, Previous
// and Next, and where the match shown stands among all ("3 of 7", "Not
// found"). Every match on the page is highlighted, the current one as a
// selection. Enter and F3 go to the next match, Shift+Enter and Shift+F3 to
// the one before; Escape closes the bar. A text not found leaves nothing
// selected.
#include <QList>
#include <QTextCursor>
#include <QWidget>

class QLabel;
class QLineEdit;
class QTextEdit;

namespace mensura {

class FindBar : public QWidget {
    Q_OBJECT

public:
    // At most this many matches are counted and highlighted on one page.
    static constexpr int kMaxMatches = 1000;

    FindBar(QTextEdit* page, QWidget* parent = nullptr);

    // Shows the bar with the focus in its field, its text selected.
    void Open();
    // Hides the bar and its highlights.
    void Close();
    // The next or the previous match of the text, from the one shown or
    // from the cursor; works with the bar closed too (F3).
    void Next();
    void Previous();
    // Sets the text to find, as if typed.
    void SetText(const QString& text);
    QString Text() const;
    // Finds the matches again, after the page has changed.
    void Refresh();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FindAll();
    void Go(int step);
    void ShowMatches();

    QTextEdit* m_page;
    QLineEdit* m_text = nullptr;
    QLabel* m_status = nullptr;
    QList<QTextCursor> m_matches;
    int m_current = -1;
};

}  // namespace mensura
