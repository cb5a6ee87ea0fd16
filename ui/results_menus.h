#pragma once

// Taking results out of the main window: the menu of a value label (Copy,
// Copy Number, Copy All), the menu of all results that the keyboard opens
// from a button or the input box, and the clipboard. The menus read the
// rows afresh from the window each time they are built or used.
#include <QString>
#include <functional>

class QMenu;
class QPoint;
class QWidget;

namespace mensura {

// What one result row offers to be taken out.
struct ResultRow {
    QString unit;       // the row's unit string, also where its name label is blank
    QString caption;    // the value label's caption, as shown
    QString number;     // what Copy Number takes; empty where there is no number
    bool named = true;  // whether the row's name label shows its unit
};

class ResultsMenus {
public:
    // rowAt(row) describes row 1..15 of the window as it is at the call.
    ResultsMenus(QWidget* window, std::function<ResultRow(int row)> rowAt);

    // The menu of one value label; none for an empty one.
    void ShowValueMenu(int row, const QPoint& globalPos);
    // The menu of all results; none when every row is empty.
    void ShowResultsMenu(const QPoint& globalPos);
    // A submenu of all results for another menu, or nullptr when every row
    // is empty: one entry per row that shows something ("INCHES  144."),
    // each opening that row's value menu.
    QMenu* ResultsMenu(const QString& title, QWidget* parent);

    void Copy(int row);
    void CopyNumber(int row);
    void CopyAll();
    // "UNIT<Tab>caption" for every row, in row order; a row without a name
    // (the hidden weight rows) only when it shows something.
    QString AllRowsText() const;

private:
    void FillValueMenu(int row, QMenu* menu);

    QWidget* m_window;
    std::function<ResultRow(int row)> m_rowAt;
};

}  // namespace mensura
