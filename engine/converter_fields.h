#pragma once

// The seam between the engine and the main window: the few values a recompute
// reads and writes of the window, how a recompute ended, and what it does
// when a cell fails. The engine never sees a widget; the window implements
// ConverterFields over its controls, and MemoryFields (memory_fields.h) holds
// them in memory for everything that runs the engine without the window.
#include <optional>
#include <string>
#include <string_view>

#include "number_text.h"

namespace mensura {

// The number behind a value caption, as its cell computed it: already
// rounded to the cell's precision, before the display pattern.
struct CellNumber {
    double value = 0;
    Precision precision = Precision::Double;
};

// What a table run may read and write of the main window.
class ConverterFields {
public:
    virtual ~ConverterFields() = default;
    virtual std::string InputText() const = 0;      // the input box
    virtual std::string UnitText() const = 0;       // the unit selector's text
    virtual std::string CategoryTitle() const = 0;  // the category title label
    // Sets the caption of the value label of a result row, row 1..15. The
    // row comes with its unit string in the category being run ("" where the
    // table names none), so that the window need not look it up. A formatted
    // result comes with the number it was formatted from; a unit's name (the
    // source row), an error or an emptied row comes without one.
    virtual void SetValueCaption(int row, const std::string& caption,
                                 std::optional<CellNumber> number, std::string_view rowUnit) = 0;
};

// Why a cell failed its floating-point check.
enum class FpError { None, Overflow, DivisionByZero, InvalidOperation };

// How a recompute ended, and what it read to get there.
struct RunStatus {
    enum class Kind {
        Ok,              // a block ran and the source row was marked
        NothingMatched,  // no category or no unit matched: nothing written,
                         // but with ShowInRows every row is emptied
        CellFailed,      // a cell failed its check; rows before it are written
    };
    Kind kind = Kind::NothingMatched;
    int failedRow = 0;              // with CellFailed: the row of the cell
    FpError error = FpError::None;  // with CellFailed: why
    // Once a table ran: the input value and the unit text it read, which
    // the results were computed from.
    std::optional<float> input;
    std::string unit;
    // With the input: how its text was read, where that was not simply as
    // typed ("Read as: 2 (...)", DescribeReading); empty otherwise.
    std::string readAs;
};

// What a recompute does when a cell fails its floating-point check.
enum class OnFailure {
    // The run ends at that cell: the rows written before it keep their new
    // captions, every other row keeps what it showed, and nothing is marked.
    Stop,
    // The same, and then the failing row names the error ("Overflow") and
    // every row the run did not reach is emptied, so that no row goes on
    // showing a number computed from an earlier input. A unit text that
    // names no unit of the category ("MILES7", "feet") empties every row
    // for the same reason, as the clear command does. What the window shows.
    ShowInRows,
};

// "ok", "nothing matched", "overflow at row 2", ...
std::string Describe(const RunStatus& status);

}  // namespace mensura
