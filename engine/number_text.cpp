#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace mensura {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// "&H1F" or "&O17", read as a non-negative integer of any width; digits that
// do not fit a double's precision are rounded, and too many give infinity.
double RadixInteger(const std::string& s, std::size_t pos, int radix) {
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const char c = s[pos];
        int digit;
        if (IsDigit(c))
            digit = c - '0';
        else if (radix == 16 && c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else if (radix == 16 && c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            break;
        if (digit >= radix) break;
        value = value * radix + digit;
    }
    return value;
}

}  // namespace

double LeadingNumber(std::string_view text) {
    std::string s;
    s.reserve(text.size());
    for (char c : text)
        if (!IsBlank(c)) s.push_back(c);

    if (s.size() >= 2 && s[0] == '&') {
        if (s[1] == 'H' || s[1] == 'h') return RadixInteger(s, 2, 16);
        if (s[1] == 'O' || s[1] == 'o') return RadixInteger(s, 2, 8);
    }

    // Longest prefix of the form [+-] digits [. digits] [(E|e) [+-] digits],
    // rebuilt without the "+" that from_chars does not take.
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    std::string number;
    int intDigits = 0, leadingFractionZeros = 0;
    bool nonZeroSeen = false;
    bool anyDigit = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        number.push_back(s[i]);
        anyDigit = true;
        if (s[i] != '0') nonZeroSeen = true;
        if (nonZeroSeen) ++intDigits;
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back('.');
        for (++i; i < s.size() && IsDigit(s[i]); ++i) {
            number.push_back(s[i]);
            anyDigit = true;
            if (s[i] != '0') nonZeroSeen = true;
            if (!nonZeroSeen) ++leadingFractionZeros;
        }
    }
    if (!anyDigit) return 0.0;
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) expNegative = s[j++] == '-';
        if (j < s.size() && IsDigit(s[j])) {
            number.push_back('e');
            if (expNegative) number.push_back('-');
            for (; j < s.size() && IsDigit(s[j]); ++j) {
                number.push_back(s[j]);
                if (exponent < 1000000) exponent = exponent * 10 + (s[j] - '0');
            }
            if (expNegative) exponent = -exponent;
        }
    }
    if (!nonZeroSeen) return negative ? -0.0 : 0.0;

    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal magnitude of the first significant digit tells overflow
        // from underflow.
        const long long magnitude =
            intDigits > 0 ? intDigits + exponent : exponent - leadingFractionZeros;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return negative ? -value : value;
}

namespace {

// Significant digits of |value| rounded half away from zero to `count`
// digits, and the decimal exponent of the first one. Works on the decimal
// expansion, not on the binary value.
struct Decimal {
    std::string digits;  // exactly `count` digits, first one non-zero
    int exponent = 0;    // value = 0.d1d2... * 10^(exponent + 1)
};

// Digits and exponent of a to_chars scientific rendering "d.ddde±x".
Decimal SplitScientific(const char* begin, const char* end) {
    Decimal d;
    const char* p = begin;
    for (; p != end && *p != 'e'; ++p)
        if (IsDigit(*p)) d.digits.push_back(*p);
    if (p != end) {
        ++p;  // past 'e'
        const bool negative = p != end && *p == '-';
        if (p != end && (*p == '-' || *p == '+')) ++p;
        for (; p != end; ++p) d.exponent = d.exponent * 10 + (*p - '0');
        if (negative) d.exponent = -d.exponent;
    }
    return d;
}

// Adds one unit in the last place; returns true when the digits carried
// over into a new leading digit (999 -> 1000 is reported as "100" + carry).
bool IncrementDigits(std::string& digits) {
    for (std::size_t k = digits.size(); k-- > 0;) {
        if (digits[k] != '9') {
            ++digits[k];
            return false;
        }
        digits[k] = '0';
    }
    digits.insert(digits.begin(), '1');
    digits.pop_back();
    return true;
}

Decimal RoundSignificant(double magnitude, int count) {
    // count + 1 correctly rounded digits decide the rounding at once unless
    // the extra digit is 5, where the exact remainder may lie just below one
    // half: then read far enough into the expansion to see it.
    char buffer[128];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                           std::chars_format::scientific, count);
    Decimal d = SplitScientific(buffer, r.ptr);
    if (d.digits.back() == '5') {
        // 60 more digits tell any double from a half-way decimal of 16
        // digits or fewer; smaller values round to zero at 7 decimals anyway.
        r = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                          std::chars_format::scientific, count + 60);
        d = SplitScientific(buffer, r.ptr);
    }
    const bool roundUp = d.digits[static_cast<std::size_t>(count)] >= '5';
    d.digits.resize(static_cast<std::size_t>(count));
    if (roundUp && IncrementDigits(d.digits)) ++d.exponent;
    return d;
}

}  // namespace

std::string FormatResult(double value, Precision precision, const Separators& separators) {
    if (std::isnan(value) || std::isinf(value)) return std::string(kOutOfRangeText);

    constexpr int kDecimals = 7;
    std::string intPart;   // without leading zeros
    std::string fraction;  // places 10^-1 .. 10^-kDecimals
    if (value != 0) {
        Decimal d = RoundSignificant(std::fabs(value), precision == Precision::Single ? 7 : 15);
        // Digit k stands at the place 10^(exponent - k). Keep the places down
        // to 10^-kDecimals and round at the first dropped digit, which is an
        // implicit 0 when even the leading digit lies further right.
        const int kept = d.exponent + kDecimals + 1;
        if (kept < static_cast<int>(d.digits.size())) {
            const bool roundUp = kept >= 0 && d.digits[static_cast<std::size_t>(kept)] >= '5';
            if (kept <= 0) {
                d.digits = roundUp ? "1" : "";
                d.exponent = -kDecimals;
            } else {
                d.digits.resize(static_cast<std::size_t>(kept));
                // A carry adds an integer digit: 9.99999996 shows "10.".
                if (roundUp && IncrementDigits(d.digits)) ++d.exponent;
            }
        }
        if (d.exponent >= 0) intPart.assign(static_cast<std::size_t>(d.exponent) + 1, '0');
        fraction.assign(kDecimals, '0');
        for (std::size_t k = 0; k < d.digits.size(); ++k) {
            const int place = d.exponent - static_cast<int>(k);
            if (place >= 0)
                intPart[static_cast<std::size_t>(d.exponent - place)] = d.digits[k];
            else
                fraction[static_cast<std::size_t>(-place - 1)] = d.digits[k];
        }
        while (!fraction.empty() && fraction.back() == '0') fraction.pop_back();
    }

    std::string out;
    if (value < 0 && !(intPart.empty() && fraction.empty())) out.push_back('-');
    for (std::size_t k = 0; k < intPart.size(); ++k) {
        if (k > 0 && (intPart.size() - k) % 3 == 0) out += separators.group;
        out.push_back(intPart[k]);
    }
    out += separators.decimal;
    out += fraction;
    return out;
}

}  // namespace mensura
