#pragma once

// Exact arithmetic for checking the conversion tables: natural numbers of
// any size, fractions of them, and decimal rounding done on the exact value.
//
// The size of a unit in another is a fraction (a US gallon is 231 cubic
// inches of 0.0254 m each way, an imperial gallon 4.54609 litres), and its
// ratio to a third unit is a fraction whose decimal expansion need not end.
// Rounding that value the way the window rounds a result (to 7 or 15
// significant digits, then to 7 decimals, half away from zero each time)
// decides on the first dropped digit, which can lie far beyond what a
// double or a long double holds. So every value here stays an exact
// fraction, and decimal digits come from long division.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "number_text.h"

namespace mensura::exact {

// A natural number, held in base-2^32 limbs, least significant first.
class Natural {
public:
    Natural(std::uint32_t value = 0);
    bool IsZero() const { return m_limbs.empty(); }
    // -1, 0 or 1 as a is less than, equal to or greater than b.
    friend int Compare(const Natural& a, const Natural& b);
    friend Natural operator+(const Natural& a, const Natural& b);
    friend Natural operator-(const Natural& a, const Natural& b);  // a >= b
    friend Natural operator*(const Natural& a, const Natural& b);

private:
    void Trim();
    std::vector<std::uint32_t> m_limbs;
};

// A fraction with a sign; the denominator is never zero. Not kept in lowest
// terms: only compared and expanded, never printed as a fraction.
struct Fraction {
    bool negative = false;
    Natural numerator{0};
    Natural denominator{1};
};

Fraction operator*(const Fraction& a, const Fraction& b);
Fraction operator/(const Fraction& a, const Fraction& b);  // b not zero
Fraction operator-(const Fraction& a, const Fraction& b);
int Compare(const Fraction& a, const Fraction& b);
Fraction Abs(Fraction a);

// Reads a product of terms "a", "a/b" or "a*b*...": each a decimal with an
// optional sign, point and exponent ("0.9144", "1/36", "231*0.254",
// "2.54e-05"). Throws std::invalid_argument on anything else.
Fraction Parse(std::string_view text);

// The exact value of a double.
Fraction FromDouble(double value);

// A decimal: digits * 10^exponent, the digits without leading zeros and
// empty for zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The leading `count` significant digits of a fraction, cut off, not
// rounded; `exact` tells whether nothing nonzero was cut.
Decimal Leading(const Fraction& value, int count, bool* exact = nullptr);

// Rounded half away from zero to a multiple of 10^place.
Decimal RoundAt(Decimal value, int place);

// The value as the display pattern shows it: first rounded to `significant`
// digits, then to kResultDecimals (7) decimals, both half away from zero.
Decimal RoundLikeCaption(const Fraction& value, int significant);

// Written as the display pattern writes it: the integer part grouped in
// threes and left out when 0, the decimal separator always, the decimals
// up to the last nonzero one ("1,234.5", ".0833333", "24.", ".").
std::string Pattern(const Decimal& value, const Separators& separators = {});

// Written plainly: "0.3048", "1609.344", "4", "-0.00011".
std::string Plain(const Decimal& value);

// A value written to `count` significant digits: whole when it ends within
// them; else its first `count` digits, cut off, not rounded, every one of
// them written (zeros at the end too) and followed by an ellipsis, "…".
// In the display pattern's style ("3.28083989501312335…") or, with
// `plain`, plainly.
std::string Expansion(const Fraction& value, int count, bool plain = false);

}  // namespace mensura::exact
