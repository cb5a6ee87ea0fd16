// One result cell: evaluated in double precision, rounded once, checked,
// formatted and written into its row.
#include "cell.h"

#include <cmath>
#include <limits>

namespace mensura {

const char* ErrorCaption(FpError error) {
    switch (error) {
        case FpError::None:
            break;
        case FpError::Overflow:
            return "Overflow";
        case FpError::DivisionByZero:
            return "Division by zero";
        case FpError::InvalidOperation:
            return "Invalid operation";
    }
    return "";
}

CellValue RoundToSingle(double value) {
    constexpr double kMax = std::numeric_limits<float>::max();
    // Half-way between the largest single and 2^128: from here on the
    // nearest single is infinity (ties go to the even significand, 2^128).
    const double overflowFrom = std::ldexp(0x1.ffffffp0, 127);
    if (std::isnan(value) || std::fabs(value) <= kMax) return {static_cast<float>(value)};
    const double sign = std::signbit(value) ? -1.0 : 1.0;
    if (std::isinf(value)) return {value};
    if (std::fabs(value) < overflowFrom) return {sign * kMax};
    return {sign * std::numeric_limits<double>::infinity(), FpError::Overflow};
}

CellValue EvaluateCell(float input, const Cell& cell) {
    double x = input;
    for (const Step& step : cell.steps) {
        const double before = x;
        switch (step.op) {
            case Step::Op::None:
                continue;
            case Step::Op::Mul:
                x = x * step.constant;
                break;
            case Step::Op::Div:
                if (step.constant == 0) return {x, FpError::DivisionByZero};
                x = x / step.constant;
                break;
            case Step::Op::Twice:
                x = x + x;
                break;
        }
        if (std::isnan(x) && !std::isnan(before)) return {x, FpError::InvalidOperation};
        if (std::isinf(x) && std::isfinite(before)) return {x, FpError::Overflow};
    }
    if (cell.precision == Precision::Single) return RoundToSingle(x);
    return {x};
}

FpError WriteResultCell(float input, const Cell& cell, ConverterFields& fields,
                        const Separators& separators, std::string& caption,
                        std::string_view rowUnit) {
    const CellValue v = EvaluateCell(input, cell);
    if (v.error != FpError::None) return v.error;
    // The number goes to the caption's setter by value. Made before the
    // text rather than in the call, its copy does not stall on stores made
    // a moment earlier, a tenth of a whole recompute.
    const std::optional<CellNumber> number = CellNumber{v.value, cell.precision};
    FormatResult(v.value, cell.precision, separators, caption);
    fields.SetValueCaption(cell.row, caption, number, rowUnit);
    return FpError::None;
}

}  // namespace mensura
