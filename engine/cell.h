#pragma once

#include <array>
#include <string>
#include <vector>

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

// The cells a unit writes when it is the unit the number is in, in the
// order they are evaluated and written.
struct Block {
    std::string unit;
    std::vector<Cell> cells;
};

struct Mark {
    std::string unit;
    int row;
};

// One category's conversions: blocks in test order and the marking list.
struct Table {
    std::string category;
    std::vector<Block> blocks;
    std::vector<Mark> marking;
};

// Why a cell failed its floating-point check.
enum class FpError { None, Overflow, DivisionByZero, InvalidOperation };

// What the window shows in a cell's row when its check fails: "Overflow",
// "Division by zero", "Invalid operation"; "" for None.
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
// value into its row's value caption. Returns the error, if any.
FpError WriteResultCell(float input, const Cell& cell, ConverterFields& fields,
                        const Separators& separators);

// The same with the caption's text formatted into `caption`, so that a run
// reuses one string for all its cells.
FpError WriteResultCell(float input, const Cell& cell, ConverterFields& fields,
                        const Separators& separators, std::string& caption);

}  // namespace mensura
