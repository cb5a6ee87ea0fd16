// Form1 as assistive technology meets it: the names and descriptions of
// its controls, the description of each value label, and the one change
// per recompute that the results group announces.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "caption_label.h"
#include "form1.h"
#include "recompute.h"

namespace mensura {

// Names and descriptions for assistive technology. Labels are read by
// their text, which is their accessible name; they get descriptions only.
void Form1::DescribeControls() {
    m_txtUserData->setAccessibleName(QStringLiteral("Enter Number"));
    DescribeInput(std::string());
    m_cboMeasures->setAccessibleName(QStringLiteral("Unit of the number"));
    m_cboMeasures->setAccessibleDescription(
        QStringLiteral("Choose the unit the number is in from the list"));
    m_cboMeasures->lineEdit()->setAccessibleName(QStringLiteral("Unit of the number"));
    m_lbMeasurement->setAccessibleName(QStringLiteral("Category"));
    m_results->setAccessibleName(QStringLiteral("Results"));
    DescribeResults();
    const struct {
        QPushButton* button;
        const char* description;
    } buttons[] = {
        {m_cmdClear, "Empties the result column (Escape)"},
        {m_cmdLength, "Shows the length units"},
        {m_cmdCapacity, "Shows the capacity units"},
        {m_cmdWeight, "Shows the weight units"},
        {m_cmdExit, "Ends Mensura (Ctrl+Q)"},
    };
    for (const auto& b : buttons) {
        b.button->setAccessibleName(b.button->text().remove(QLatin1Char('&')));
        b.button->setAccessibleDescription(QString::fromLatin1(b.description));
    }
}

QString Form1::NameNote(int row) const {
    if (m_names[Index(row)]->text().isEmpty()) return QString();
    return QString::fromStdString(UnitNoteText(RowUnit(row)));
}

// A name label is read by its caption; its description says which unit of
// that name it is ("short ton (2,000 lb, ...)"), or else which row it names.
void Form1::DescribeName(int row) {
    const QString note = NameNote(row);
    m_names[Index(row)]->setAccessibleDescription(
        note.isEmpty() ? QStringLiteral("Unit of result row %1").arg(row) : note);
}

// Labels written under this batch announce nothing each; when the outermost
// batch ends, the results group's description changes once.
AccessibleBatch Form1::ResultsBatch() {
    return AccessibleBatch([this] { DescribeResults(); });
}

// What the results show, as the description of their group: "12 FEET" (the
// number as read and its unit), or "empty". It changes exactly when the
// results can have changed, and its one change per recompute is what
// assistive technology is told. After a recompute the number and the unit
// are the ones it read; the box is not read or parsed again.
void Form1::DescribeResults(const RunStatus* run) {
    QString what = QStringLiteral("empty");
    const bool shown = std::any_of(m_values.begin(), m_values.end(), [](const CaptionLabel* value) {
        return !value->text().isEmpty();
    });
    if (shown) {
        const bool read = run && run->input;
        QString number =
            QString::fromStdString(PlainSingle(read ? *run->input : ReadInputValue(*this)));
        if (number.isEmpty()) number = m_txtUserData->text();  // no number: what was typed
        what = number + QLatin1Char(' ') +
               (read ? QString::fromStdString(run->unit) : m_cboMeasures->currentText());
    }
    if (m_results->accessibleDescription() != what) m_results->setAccessibleDescription(what);
}

// What the box takes, or, when its text was not read as typed, how it was
// read. The tooltip is rich text, so that a typed "<b>" stays as typed.
void Form1::DescribeInput(const std::string& readAs) {
    const QString description =
        readAs.empty() ? QStringLiteral("Type a number with \".\" as the decimal point")
                       : QString::fromStdString(readAs);
    // Unchanged on most keystrokes; setting it again would still send an event.
    if (m_txtUserData->accessibleDescription() == description) return;
    m_txtUserData->setAccessibleDescription(description);
    // On one line: a tooltip wraps rich text, which would break a quote.
    m_txtUserData->setToolTip(readAs.empty()
                                  ? description
                                  : QStringLiteral("<p style=\"white-space:pre\">") +
                                        description.toHtmlEscaped() + QStringLiteral("</p>"));
}

// A value label is read by its caption; its description names the unit of
// its row, so that "144." is heard together with "INCHES".
void Form1::DescribeValue(int row, std::string_view unit) {
    const QString description =
        ShowsItsUnit(row, unit)
            ? QStringLiteral("the unit of the number")
            : QString::fromUtf8(unit.data(), static_cast<qsizetype>(unit.size()));
    // Unchanged on most keystrokes; setting it again would still send an event.
    if (m_values[Index(row)]->accessibleDescription() != description)
        m_values[Index(row)]->setAccessibleDescription(description);
}

}  // namespace mensura
