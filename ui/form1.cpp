// Form1, the main window: its life from Form_Load to the end of the
// program, the handlers of its buttons, unit selector and input box, and the
// fields it gives the engine (the controls are built in form1_controls.cpp,
// the menus in form1_menus.cpp, the accessible names in
// form1_accessible.cpp).
#include "form1.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cmath>

#include "accessible_batch.h"
#include "application.h"
#include "caption_label.h"
#include "frm_splash.h"
#include "recompute.h"

namespace mensura {

namespace {

QString FromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Form1::Form1(QWidget* parent)
    : QWidget(parent),
      m_menus(this, [this](int row) { return Row(row); }),
      m_aboutCloseDelay(frmSplash::kCloseAfterMs) {
    setObjectName(QStringLiteral("Form1"));
    setFont(StandardFont());
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    setPalette(palette);

    setWindowIcon(WindowIcon());

    // The menu bar on top, the fixed client area below it; the window takes
    // exactly their size and cannot be resized.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* menuBar = new QMenuBar(this);
    menuBar->setObjectName(QStringLiteral("menuBar"));
    layout->setMenuBar(menuBar);
    BuildMenus(menuBar);
    BuildControls();
    ConnectHandlers();
    Form_Load();
}

Form1::~Form1() {
    delete m_frmSplash;
}

// --- ConverterFields ---------------------------------------------------------

std::string Form1::InputText() const {
    return m_txtUserData->text().toStdString();
}

std::string Form1::UnitText() const {
    return m_cboMeasures->currentText().toStdString();
}

std::string Form1::CategoryTitle() const {
    return m_lbMeasurement->text().toStdString();
}

void Form1::SetValueCaption(int row, const std::string& caption, std::optional<CellNumber> number,
                            std::string_view rowUnit) {
    if (row < 1 || row > kRowCount) return;
    WriteValue(row, FromStd(caption), number, rowUnit);
}

void Form1::WriteValue(int row, const QString& caption, std::optional<CellNumber> number,
                       std::string_view unit) {
    if (number && !std::isfinite(number->value)) number.reset();  // "Out of range"
    m_numbers[Index(row)] = number;
    m_values[Index(row)]->SetCaption(caption);
    DescribeValue(row, unit);
}

// The unit string of a row in the category shown; also for the weight rows
// whose name labels are blank.
std::string Form1::RowUnit(int row) const {
    const Category* category = FindCategory(CategoryTitle());
    return category ? category->units[Index(row)] : std::string();
}

// The row of the unit the number is in shows that unit's own name.
bool Form1::ShowsItsUnit(int row, std::string_view unit) const {
    return !unit.empty() && !m_numbers[Index(row)] && m_values[Index(row)]->text() == FromStd(unit);
}

bool Form1::IsSourceRow(int row) const {
    return ShowsItsUnit(row, RowUnit(row));
}

// The number Copy Number takes: the shown result as a plain decimal, or on
// the source row the number read from the input box. Empty when there is
// none (an empty label, "Out of range", "Overflow").
QString Form1::NumberToCopy(int row) const {
    if (const auto& number = m_numbers[Index(row)])
        return FromStd(PlainResult(number->value, number->precision));
    if (IsSourceRow(row)) return FromStd(PlainSingle(ReadInputValue(*this)));
    return QString();
}

ResultRow Form1::Row(int row) const {
    return {FromStd(RowUnit(row)), m_values[Index(row)]->text(), NumberToCopy(row),
            !m_names[Index(row)]->text().isEmpty()};
}

// --- Events -------------------------------------------------------------------

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    // The open unit list closing or the wheel turning over the selector may
    // go on to a choice (activated(), in the same event); such a choice is
    // no arrow key's until the event loop moves on.
    if (watched == m_cboMeasures || watched == m_unitList) {
        if (event->type() == QEvent::Hide || event->type() == QEvent::Wheel) {
            m_pointerPick = true;
            QMetaObject::invokeMethod(
                this, [this] { m_pointerPick = false; }, Qt::QueuedConnection);
        }
        return QWidget::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ContextMenu) {
        const QPoint globalPos = static_cast<QContextMenuEvent*>(event)->globalPos();
        if (watched == m_txtUserData)
            txtUserData_ContextMenu(globalPos);
        else
            m_menus.ShowResultsMenu(globalPos);
        return true;
    }
    if (watched == m_txtUserData) {
        if (event->type() == QEvent::FocusIn) {
            txtUserData_GotFocus(static_cast<QFocusEvent*>(event)->reason());
        } else if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                m_txtUserData->rect().contains(mouse->position().toPoint()))
                txtUserData_Click();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}

void Form1::keyPressEvent(QKeyEvent* event) {
    // The cancel button answers an Escape that no control used. An open
    // list or menu is a window of its own and closes on its Escape, which
    // so never gets here: closing the unit list keeps the results.
    if (event->matches(QKeySequence::Cancel)) {
        m_cmdClear->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

// --- Handlers -----------------------------------------------------------------

void Form1::Form_Load() {
    ShowCategory(*FindCategory("LENGTH"));
    setWindowTitle(QStringLiteral("Mensura"));
}

void Form1::Form_Unload() {
    if (m_frmSplash) m_frmSplash->close();
    // Closing through the window manager ends the program as well.
    QCoreApplication::exit(0);
}

void Form1::cmdExit_Click() {
    // exit(), not quit(): quit() would close the windows first and so run
    // Form_Unload, which "Exit" must not.
    QCoreApplication::exit(0);
}

void Form1::cmdLength_Click() {
    EnterCategory("LENGTH");
}

void Form1::cmdCapacity_Click() {
    EnterCategory("CAPACITY");
}

void Form1::cmdWeight_Click() {
    EnterCategory("WEIGHT");
}

void Form1::EnterCategory(const std::string& name) {
    const Category* category = FindCategory(name);
    if (!category) return;
    const AccessibleBatch batch = ResultsBatch();
    m_txtUserData->setFocus(Qt::OtherFocusReason);  // its focus handler selects the text
    m_cmdClear->click();                            // runs cmdClear_Click to its end
    ShowCategory(*category);
    RecomputeResults();  // the number in the box, now in the default unit
}

// The selector's list and text, the title and the row names of a category.
// The default unit becomes the selector's text and its current item, so
// that Up, Down and the open list start from it; this raises nothing.
void Form1::ShowCategory(const Category& category) {
    const AccessibleBatch batch = ResultsBatch();
    {
        const QSignalBlocker blocker(m_cboMeasures);
        m_cboMeasures->clear();
        for (const std::string& item : category.selectorItems) {
            m_cboMeasures->addItem(QString::fromStdString(item));
            // Which unit of that name it is, where the name could mean more than one.
            const QString note = FromStd(UnitNoteText(item));
            if (note.isEmpty()) continue;
            const int index = m_cboMeasures->count() - 1;
            m_cboMeasures->setItemData(index, note, Qt::ToolTipRole);
            m_cboMeasures->setItemData(index, note, Qt::AccessibleDescriptionRole);
        }
        const QString unit = QString::fromStdString(category.defaultUnit);
        m_cboMeasures->setCurrentIndex(m_cboMeasures->findText(unit));
        m_cboMeasures->setEditText(unit);
    }
    m_lbMeasurement->SetCaption(QString::fromStdString(category.name));
    for (int row = 1; row <= kRowCount; ++row) {
        m_names[Index(row)]->SetCaption(QString::fromStdString(category.nameCaptions[Index(row)]));
        DescribeName(row);
        DescribeValue(row, category.units[Index(row)]);
    }
    m_lbMeasurement->setAccessibleDescription(m_lbMeasurement->text());
}

void Form1::cboMeasures_Click() {
    const AccessibleBatch batch = ResultsBatch();
    // Mark the chosen unit's row. The unit is looked for among all 45 unit
    // strings, whatever the category; they are all different.
    const std::string unit = UnitText();
    if (const int row = UnitRow(unit)) SetValueCaption(row, unit, std::nullopt, unit);
    RecomputeResults();
    // After a pick in the open list or with the wheel the next keys are
    // meant for the number: left in the selector, a typed "7" would make its
    // text "MILES7". A choice with the arrow keys keeps the focus where the
    // keys are.
    if (m_pointerPick) {
        m_pointerPick = false;
        m_txtUserData->setFocus(Qt::OtherFocusReason);
    }
}

void Form1::txtUserData_Change() {
    RecomputeResults();
}

void Form1::txtUserData_Click() {
    RecomputeResults();
}

void Form1::txtUserData_GotFocus(Qt::FocusReason reason) {
    // Focus that merely comes back to the box, when the window is activated
    // again or the menus let go of the keyboard, is no move of the focus; a
    // selection the user made stays. (The first activation finds the box
    // empty.)
    if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
        reason == Qt::MenuBarFocusReason)
        return;
    SelectAllText(m_txtUserData);
    // A click that brings the focus goes on to place the cursor, which drops
    // the selection; select again once the click has been handled.
    if (reason == Qt::MouseFocusReason) {
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_txtUserData->hasFocus()) SelectAllText(m_txtUserData);
            },
            Qt::QueuedConnection);
    }
}

void Form1::cmdClear_Click() {
    const AccessibleBatch batch = ResultsBatch();
    const Category* category = FindCategory(CategoryTitle());
    for (int row = 1; row <= kRowCount; ++row)
        WriteValue(row, QString(), std::nullopt,
                   category ? category->units[Index(row)] : std::string_view());
}

void Form1::SelectAllText(QLineEdit* box) {
    box->setSelection(0, static_cast<int>(box->text().length()));
}

void Form1::RecomputeResults() {
    // The user's number settings, read afresh each time.
    const QLocale locale;
    const Separators separators{locale.groupSeparator().toStdString(),
                                locale.decimalPoint().toStdString()};
    // Assistive technology hears of the whole recompute once, at its end,
    // from the results group, whose description then names what the engine
    // read: the later batch's action is the one that runs.
    const AccessibleBatch batch;
    // A cell whose value does not fit its precision stops the run; the
    // engine then says so in that row and empties the rows it did not reach.
    const RunStatus run = mensura::RecomputeResults(*this, separators, OnFailure::ShowInRows);
    const AccessibleBatch described([this, run] { DescribeResults(&run); });
    DescribeInput(run.input ? run.readAs : DescribeReading(InputText()));
}

}  // namespace mensura
