#pragma once

// One result cell: its steps, its evaluation in double precision with one
// rounding at the end, the floating-point check, and the writing of its
// caption through the display pattern.
#include <array>
#include <string>
#include <string_view>

#include "converter_fields.h"
#include "number_text.h"

namespace mensura {

// One step of a cell: multiply by a constant, divide by it, or add the
// running value to itself.
struct Step {
    enum class Op { None, Mul, Div, Twice };
    Op op = Op::None;
    double constant = 0;
};

constexpr Step Mul(double c) {
    return {Step::Op::Mul, c};
}
constexpr Step Div(double c) {
    return {Step::Op::Div, c};
}
// "+ itself": the running value added to itself.
constexpr Step Twice() {
    return {Step::Op::Twice, 0};
}

inline constexpr Precision Single = Precision::Single;
inline constexpr Precision Double = Precision::Double;

// A target row, one to three steps applied left to right to the input
// value, and the precision the result is rounded to.
struct Cell {
    int row;
    std::array<Step, 3> steps;  // unused steps are Op::None
    Precision precision;
};

// What a cell's row shows when its check fails: "Overflow", "Division by
// zero", "Invalid operation"; "" for None.
const char* ErrorCaption(FpError error);

struct CellValue {
    double value = 0;  // rounded to the cell's precision
    FpError error = FpError::None;
};

// Rounds a double to the nearest single. A finite value beyond the single
// range becomes an infinity and reports overflow; an infinite one does not.
CellValue RoundToSingle(double value);

// Applies a cell's steps to the input value in double precision and rounds
// once, at the end, to the cell's precision. Explicit checks instead of
// <cfenv> flags, which do not survive the optimiser's reordering.
CellValue EvaluateCell(float input, const Cell& cell);

// Evaluates a cell and, unless it fails its check, writes the formatted
// value into its row's value caption, with the row's unit string. Returns
// the error, if any. The text is formatted into `caption`, so that a run
// reuses one string for all its cells.
FpError WriteResultCell(float input, const Cell& cell, ConverterFields& fields,
                        const Separators& separators, std::string& caption,
                        std::string_view rowUnit);

}  // namespace mensura
