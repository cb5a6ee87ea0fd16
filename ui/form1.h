#pragma once

// Form1, Mensura's main window.
//
// What the window shows lives in its controls: the category is the caption
// of lbMeasurement, the unit is the text of cboMeasures, the number is the
// text of txtUserData, and the results are the captions of lb1..lb15. Every
// control carries its name as objectName. Beside them the window keeps only
// what follows from the captions it writes: the number behind each value
// caption (for Copy Number and the tooltip).
//
// How an event reaches the labels: a Qt signal or event of a control runs
// the handler named after the control and the event (txtUserData_Change,
// txtUserData_Click, cboMeasures_Click, cmdLength_Click, ...). Each handler
// that can change a result ends in RecomputeResults(), which hands the
// window, as ConverterFields, to the engine: the engine reads the input,
// unit and title through InputText/UnitText/CategoryTitle and writes the
// value labels through SetValueCaption, also where a failing cell stopped the
// run. The clear commands and Form_Load write labels directly and do not
// recompute.
//
// Every write of a value label goes through WriteValue, which keeps the
// number behind the caption and the label's accessible description in step
// with the caption. Assistive technology hears of a recompute once, not
// once per label (AccessibleBatch; the names and descriptions are in
// form1_accessible.cpp). The results' menus and copying are ResultsMenus'.
//
// Where Form1 lives: its life and its handlers in form1.cpp, the building of
// its controls and their connections in form1_controls.cpp, its menus in
// form1_menus.cpp, what assistive technology meets in form1_accessible.cpp.

#include <QPointer>
#include <QWidget>
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "accessible_batch.h"
#include "recompute.h"
#include "results_menus.h"

class QComboBox;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace mensura {

class CaptionLabel;
class frmSplash;

class Form1 : public QWidget, public ConverterFields {
    Q_OBJECT

public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // How long the About window stays up by itself; tests shorten it.
    void SetAboutCloseDelay(int milliseconds) { m_aboutCloseDelay = milliseconds; }

    // ConverterFields, over the window's own controls.
    std::string InputText() const override;
    std::string UnitText() const override;
    std::string CategoryTitle() const override;
    void SetValueCaption(int row, const std::string& caption, std::optional<CellNumber> number,
                         std::string_view rowUnit) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();
    void BuildMenus(QMenuBar* menuBar);
    void ConnectHandlers();
    void ShowCategory(const Category& category);
    void EnterCategory(const std::string& name);

    // Handlers, named after their control and event.
    void Form_Load();
    void Form_Unload();
    void cmdExit_Click();
    void mnuExitItem_Click();
    void cmdLength_Click();
    void cmdCapacity_Click();
    void cmdWeight_Click();
    void cboMeasures_Click();
    void txtUserData_Change();
    void txtUserData_Click();
    void txtUserData_GotFocus(Qt::FocusReason reason);
    void txtUserData_ContextMenu(const QPoint& globalPos);
    void cmdClear_Click();
    void mnuClearItem_Click();
    void mnuHelpItem_Click();
    void mnuAbout_Click();
    void OpenContextMenuOfFocus();

    void SelectAllText(QLineEdit* box);
    void RecomputeResults();

    // The index of row 1..15 in the arrays below.
    static std::size_t Index(int row) { return static_cast<std::size_t>(row - 1); }

    // The one way a value label is written: caption, number, tooltip and
    // accessible description together. `unit` is the row's unit string.
    void WriteValue(int row, const QString& caption, std::optional<CellNumber> number,
                    std::string_view unit);

    // What a row offers to be taken out, and what stands behind it.
    ResultRow Row(int row) const;
    std::string RowUnit(int row) const;
    // Whether the row shows its own unit's name: the row of the unit the
    // number is in.
    bool ShowsItsUnit(int row, std::string_view unit) const;
    bool IsSourceRow(int row) const;
    QString NumberToCopy(int row) const;

    // Names and descriptions for assistive technology (form1_accessible.cpp).
    void DescribeControls();
    void DescribeValue(int row, std::string_view unit);
    // The note on the unit a name label shows, where its name could mean
    // more than one unit: the label's tooltip and description.
    QString NameNote(int row) const;
    void DescribeName(int row);
    AccessibleBatch ResultsBatch();
    // From what `run` read, when a recompute has just filled the rows.
    void DescribeResults(const RunStatus* run = nullptr);
    // The input box's tooltip and description: how its text was read
    // (DescribeReading's words), or what it takes when it was read as typed.
    void DescribeInput(const std::string& readAs);

    QLineEdit* m_txtUserData = nullptr;
    QComboBox* m_cboMeasures = nullptr;
    QWidget* m_unitList = nullptr;  // the window of the selector's open list
    QPushButton* m_cmdClear = nullptr;
    QPushButton* m_cmdLength = nullptr;
    QPushButton* m_cmdCapacity = nullptr;
    QPushButton* m_cmdWeight = nullptr;
    QPushButton* m_cmdExit = nullptr;
    QWidget* m_results = nullptr;  // the group of the row labels
    CaptionLabel* m_lbMeasurement = nullptr;
    std::array<CaptionLabel*, kRowCount> m_names{};   // lb_1..lb_15
    std::array<CaptionLabel*, kRowCount> m_values{};  // lb1..lb15
    // The number behind each value caption, as its cell computed it; none
    // for an empty label, a unit's name or an error text.
    std::array<std::optional<CellNumber>, kRowCount> m_numbers{};

    ResultsMenus m_menus;

    // A choice in the unit selector now comes from its open list (mouse or
    // Enter) or its wheel, not from its arrow keys, and gives the input box
    // back the focus.
    bool m_pointerPick = false;

    // The About window while it is loaded; it has no owner, so the main
    // window tracks it to raise it and to close it with itself.
    QPointer<frmSplash> m_frmSplash;
    int m_aboutCloseDelay;
};

}  // namespace mensura
