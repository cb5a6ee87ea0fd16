#pragma once

// Numbers as text: the leading number of what was typed, a result through
// the display pattern, and the plainer texts that copying and the tooltip
// show of it.
#include <cstddef>
#include <string>
#include <string_view>

namespace mensura {

enum class Precision { Single, Double };

// The display pattern "#,###,###.#######" in numbers: the decimals it shows
// at most, and the significant digits a cell of each precision keeps before
// them. The formatter, the fuzz checks and the exact-number tool take them
// from here, and what the formatter sizes or bounds by them (its buffers,
// the magnitude below which a value shows as zero, its table of powers of
// five) is derived from them or tied to them by static_assert.
inline constexpr int kResultDecimals = 7;
inline constexpr int kSingleSignificant = 7;
inline constexpr int kDoubleSignificant = 15;

constexpr int SignificantDigits(Precision precision) {
    return precision == Precision::Single ? kSingleSignificant : kDoubleSignificant;
}

// Separators of displayed results. Strings, not chars: some locales group
// with a multi-byte character (U+202F in French).
struct Separators {
    std::string group = ",";
    std::string decimal = ".";
};

// Shown instead of a number when a value is infinite (an input beyond the
// range of single precision, or beyond that of double).
inline constexpr std::string_view kOutOfRangeText = "Out of range";

// The number at the start of a text, after blanks, tabs and line feeds are
// removed wherever they stand. "." is the only decimal separator; "&H" and
// "&O" start a hexadecimal or octal integer. No number gives 0; a number
// beyond the double range gives an infinity of its sign.
double LeadingNumber(std::string_view text);

// The same reading, with where it ended: LeadingNumber's value, and how
// much of the text without its blanks the number took.
struct LeadingNumberRead {
    double value = 0;
    std::size_t end = 0;  // bytes of the text without blanks that the number took
    bool digits = false;  // a digit was read: false where the text is no number
    int radix = 10;       // 16 after "&H", 8 after "&O"
};
LeadingNumberRead ReadLeadingNumber(std::string_view text);

// The blanks the reading drops wherever they stand: spaces, tabs, line feeds.
inline constexpr std::string_view kInputBlanks = " \t\n";
inline bool IsInputBlank(char c) {
    return kInputBlanks.find(c) != std::string_view::npos;
}

// The text with its blanks removed, as the reading sees it.
std::string WithoutBlanks(std::string_view text);

// A value through the display pattern "#,###,###.#######": first rounded to
// its precision's significant digits (7 for a single, 15 for a double), then
// to kResultDecimals (7) decimals, both on decimal digits and half away from
// zero; the integer part grouped in
// threes and left out when 0; the decimal separator always written;
// trailing zeros dropped. A value that rounds to zero shows no sign.
std::string FormatResult(double value, Precision precision, const Separators& separators = {});

// The same into `out`, whose storage is reused: a table run formats all its
// cells through one string.
void FormatResult(double value, Precision precision, const Separators& separators,
                  std::string& out);

// The value exactly as FormatResult shows it, written for pasting into a
// calculator, a spreadsheet or code: no grouping, "." as the decimal point,
// a 0 before a leading point and no trailing point ("3,657.6" gives
// "3657.6", ".0036576" gives "0.0036576", "144." gives "144"). Empty for
// a value that is not finite.
std::string PlainResult(double value, Precision precision);

// All the significant digits a cell of this precision holds, up to 7 for a
// single and 15 for a double, without the display pattern's cut to 7
// decimals: "0.0000157828282828283". Plain notation from the smallest value
// the pattern shows (1e-7) up to 1e21, scientific outside ("4.18175988874209e+39"); "." as the
// decimal point.
std::string AllDigits(double value, Precision precision);

// The shortest decimal that reads back as this single-precision value,
// in plain notation ("0.1", "123456790", "0.000000001"). Empty for a
// value that is not finite.
std::string PlainSingle(float value);

}  // namespace mensura
