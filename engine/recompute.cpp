#include "recompute.h"

namespace mensura {

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

float ReadInputValue(const ConverterFields& fields) {
    // Overflow of this rounding is not an error: the input simply becomes
    // an infinity, which the cells then show as out of range.
    return static_cast<float>(RoundToSingle(LeadingNumber(fields.InputText())).value);
}

void MarkSourceRow(const Table& table, const std::string& unitText, ConverterFields& fields) {
    for (const Mark& mark : table.marking)
        if (mark.unit == unitText) fields.SetValueCaption(mark.row, unitText, std::nullopt);
}

RunStatus RunTable(const Table& table, ConverterFields& fields, const Separators& separators) {
    const float input = ReadInputValue(fields);  // the input box before the selector
    const std::string unit = fields.UnitText();
    RunStatus status;
    std::string caption;
    for (const Block& block : table.blocks) {
        if (block.unit != unit) continue;
        for (const Cell& cell : block.cells) {
            const FpError error = WriteResultCell(input, cell, fields, separators, caption);
            if (error != FpError::None) return {RunStatus::Kind::CellFailed, cell.row, error};
        }
        status.kind = RunStatus::Kind::Ok;
    }
    MarkSourceRow(table, unit, fields);
    return status;
}

std::vector<Mark> MarkingInRowOrder(const Category& category) {
    std::vector<Mark> marking;
    for (int row = 1; row <= kRowCount; ++row)
        marking.push_back({category.units[static_cast<std::size_t>(row - 1)], row});
    return marking;
}

RunStatus ConvertLength(ConverterFields& fields, const Separators& separators) {
    return RunTable(LengthTable(), fields, separators);
}

RunStatus ConvertWeight(ConverterFields& fields, const Separators& separators) {
    return RunTable(WeightTable(), fields, separators);
}

RunStatus ConvertCapacity(ConverterFields& fields, const Separators& separators) {
    return RunTable(CapacityTable(), fields, separators);
}

RunStatus RecomputeResults(ConverterFields& fields, const Separators& separators) {
    // Three independent tests, each on a fresh reading of the title.
    // A failed cell ends the recompute at once.
    RunStatus status;
    if (fields.CategoryTitle() == LengthTable().category)
        status = ConvertLength(fields, separators);
    if (status.kind == RunStatus::Kind::CellFailed) return status;
    if (fields.CategoryTitle() == WeightTable().category)
        status = ConvertWeight(fields, separators);
    if (status.kind == RunStatus::Kind::CellFailed) return status;
    if (fields.CategoryTitle() == CapacityTable().category)
        status = ConvertCapacity(fields, separators);
    return status;
}

}  // namespace mensura
