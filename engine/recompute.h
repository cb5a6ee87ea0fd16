#pragma once

#include <string>
#include <vector>

#include "catalogue.h"
#include "cell.h"
#include "converter_fields.h"
#include "number_text.h"

namespace mensura {

// How a table run ended.
struct RunStatus {
    enum class Kind {
        Ok,              // a block ran and the source row was marked
        NothingMatched,  // no category or no unit matched: nothing written
        CellFailed,      // a cell failed its check; rows before it are written
    };
    Kind kind = Kind::NothingMatched;
    int failedRow = 0;              // with CellFailed: the row of the cell
    FpError error = FpError::None;  // with CellFailed: why
};

// "ok", "nothing matched", "overflow at row 2", ...
std::string Describe(const RunStatus& status);

// The input box's text as the single-precision input value: its leading
// number, rounded once to the nearest single.
float ReadInputValue(const ConverterFields& fields);

// Writes the unit text into the value caption of every row whose unit
// string in the marking list equals it.
void MarkSourceRow(const Table& table, const std::string& unitText, ConverterFields& fields);

// The table run: read the input, run the block of the unit in the selector,
// mark the unit's own row. Stops at a failing cell.
RunStatus RunTable(const Table& table, ConverterFields& fields, const Separators& separators);

// The marking list of a category whose every unit marks its own row.
std::vector<Mark> MarkingInRowOrder(const Category& category);

const Table& LengthTable();
const Table& WeightTable();
const Table& CapacityTable();

RunStatus ConvertLength(ConverterFields& fields, const Separators& separators = {});
RunStatus ConvertWeight(ConverterFields& fields, const Separators& separators = {});
RunStatus ConvertCapacity(ConverterFields& fields, const Separators& separators = {});

// Runs the table of the category that the title shows, if any.
RunStatus RecomputeResults(ConverterFields& fields, const Separators& separators = {});

}  // namespace mensura
