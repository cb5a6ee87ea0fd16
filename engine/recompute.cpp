// The recompute: which table the title asks for, the table run over the
// fields, and what a failing cell leaves in the rows.
#include "recompute.h"

#include <array>
#include <bitset>
#include <string_view>

#include "input_reading.h"
#include "table.h"

namespace mensura {

namespace {

// The unit string of each row, as the marking list pairs them: "" for a row
// it names no unit of.
using RowUnits = std::array<std::string_view, kRowCount>;

RowUnits UnitsOfRows(const Table& table) {
    RowUnits units{};
    for (const Mark& mark : table.marking)
        if (mark.row >= 1 && mark.row <= kRowCount)
            units[static_cast<std::size_t>(mark.row - 1)] = mark.unit;
    return units;
}

std::string_view UnitOfRow(const RowUnits& units, int row) {
    return row >= 1 && row <= kRowCount ? units[static_cast<std::size_t>(row - 1)]
                                        : std::string_view();
}

// Writes the unit text into the value caption of every row whose unit
// string in the marking list equals it.
void MarkSourceRow(const Table& table, const std::string& unitText, ConverterFields& fields) {
    for (const Mark& mark : table.marking)
        if (mark.unit == unitText)
            fields.SetValueCaption(mark.row, unitText, std::nullopt, mark.unit);
}

// After a failing cell: that row names the error, and every row the run did
// not write is emptied.
void ShowFailure(const RunStatus& status, const std::bitset<kRowCount>& written,
                 const RowUnits& units, ConverterFields& fields) {
    for (int row = 1; row <= kRowCount; ++row) {
        const std::string_view unit = UnitOfRow(units, row);
        if (row == status.failedRow)
            fields.SetValueCaption(row, ErrorCaption(status.error), std::nullopt, unit);
        else if (!written.test(static_cast<std::size_t>(row - 1)))
            fields.SetValueCaption(row, std::string(), std::nullopt, unit);
    }
}

}  // namespace

std::string Describe(const RunStatus& status) {
    switch (status.kind) {
        case RunStatus::Kind::Ok:
            return "ok";
        case RunStatus::Kind::NothingMatched:
            return "nothing matched";
        case RunStatus::Kind::CellFailed:
            break;
    }
    // The row's caption, in lower case: "overflow at row 2".
    std::string what = ErrorCaption(status.error);
    if (!what.empty()) what[0] = static_cast<char>(what[0] - 'A' + 'a');
    return what + " at row " + std::to_string(status.failedRow);
}

namespace {

// Overflow of this rounding is not an error: the input simply becomes an
// infinity, which the cells then show as out of range.
float InputValue(const LeadingNumberRead& read) {
    return static_cast<float>(RoundToSingle(read.value).value);
}

}  // namespace

float ReadInputValue(const ConverterFields& fields) {
    return InputValue(ReadLeadingNumber(fields.InputText()));
}

RunStatus RunTable(const Table& table, ConverterFields& fields, const Separators& separators,
                   OnFailure onFailure) {
    RunStatus status;
    {
        // The input box before the selector, read once for the value and
        // for the words on how it was read.
        const std::string text = fields.InputText();
        const LeadingNumberRead read = ReadLeadingNumber(text);
        status.input = InputValue(read);
        status.readAs = DescribeReading(text, read, *status.input);
    }
    status.unit = fields.UnitText();
    const RowUnits units = UnitsOfRows(table);
    std::string caption;
    for (const Block& block : table.blocks) {
        if (block.unit != status.unit) continue;
        std::bitset<kRowCount> written;
        for (const Cell& cell : block.cells) {
            const FpError error = WriteResultCell(*status.input, cell, fields, separators, caption,
                                                  UnitOfRow(units, cell.row));
            if (error != FpError::None) {
                status.kind = RunStatus::Kind::CellFailed;
                status.failedRow = cell.row;
                status.error = error;
                if (onFailure == OnFailure::ShowInRows) ShowFailure(status, written, units, fields);
                return status;
            }
            if (cell.row >= 1 && cell.row <= kRowCount)
                written.set(static_cast<std::size_t>(cell.row - 1));
        }
        status.kind = RunStatus::Kind::Ok;
    }
    // No block for the unit text: no row may go on showing a number computed
    // for another unit or input.
    if (status.kind == RunStatus::Kind::NothingMatched && onFailure == OnFailure::ShowInRows)
        for (int row = 1; row <= kRowCount; ++row)
            fields.SetValueCaption(row, std::string(), std::nullopt, UnitOfRow(units, row));
    MarkSourceRow(table, status.unit, fields);
    return status;
}

std::vector<Mark> MarkingInRowOrder(const Category& category) {
    std::vector<Mark> marking;
    for (int row = 1; row <= kRowCount; ++row)
        marking.push_back({category.units[static_cast<std::size_t>(row - 1)], row});
    return marking;
}

RunStatus RecomputeResults(ConverterFields& fields, const Separators& separators,
                           OnFailure onFailure) {
    // Three independent tests of the title, in this order; as no table
    // changes the title, one reading serves all three. A failed cell ends
    // the recompute at once.
    const std::string title = fields.CategoryTitle();
    RunStatus status;
    for (const Table* table : {&LengthTable(), &WeightTable(), &CapacityTable()}) {
        if (title != table->category) continue;
        status = RunTable(*table, fields, separators, onFailure);
        if (status.kind == RunStatus::Kind::CellFailed) break;
    }
    return status;
}

}  // namespace mensura
