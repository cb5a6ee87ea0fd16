#include "number_text.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace mensura {

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

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

// Significant digits of a magnitude, most significant first:
// value = 0.d1d2d3... * 10^(exponent + 1). Fixed storage, as this runs for
// every cell of every keystroke.
struct Decimal {
    char digits[80];
    int count = 0;
    int exponent = 0;
};

// Digits and exponent of a to_chars scientific rendering "d.ddde±x".
void SplitScientific(const char* begin, const char* end, Decimal& d) {
    const char* e = begin;
    while (*e != 'e') ++e;
    d.digits[0] = *begin;
    d.count = 1;
    for (const char* p = begin + 2; p < e; ++p) d.digits[d.count++] = *p;
    const bool negative = e[1] == '-';
    d.exponent = 0;
    for (const char* p = e + 2; p != end; ++p) d.exponent = d.exponent * 10 + (*p - '0');
    if (negative) d.exponent = -d.exponent;
}

// Adds one unit in the last of the first `count` digits. When every digit
// was 9 the result is 1 followed by zeros and the exponent grows by one.
void IncrementDigits(Decimal& d, int count) {
    for (int k = count; k-- > 0;) {
        if (d.digits[k] != '9') {
            ++d.digits[k];
            return;
        }
        d.digits[k] = '0';
    }
    d.digits[0] = '1';
    ++d.exponent;
}

// Rounds a magnitude to `count` significant digits, half away from zero,
// on its exact decimal expansion rather than on the binary value.
void RoundSignificant(double magnitude, int count, Decimal& d) {
    // Four more correctly rounded digits decide the rounding unless they
    // read "5000": the exact remainder may then lie just below one half, or
    // be an exact tie. Only then read far enough into the expansion to see
    // it: 45 more digits tell any double of at least 1e-8 from a half-way
    // decimal of 16 digits or fewer, and smaller values round to zero at 7
    // decimals anyway.
    char buffer[128];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                           count + 3);
    SplitScientific(buffer, r.ptr, d);
    if (d.digits[count] == '5' && d.digits[count + 1] == '0' && d.digits[count + 2] == '0' &&
        d.digits[count + 3] == '0') {
        r = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific,
                          count + 45);
        SplitScientific(buffer, r.ptr, d);
    }
    const bool roundUp = d.digits[count] >= '5';
    d.count = count;
    if (roundUp) IncrementDigits(d, count);
}

}  // namespace

std::string FormatResult(double value, Precision precision, const Separators& separators) {
    if (std::isnan(value) || std::isinf(value)) return std::string(kOutOfRangeText);

    constexpr int kDecimals = 7;
    Decimal d;
    if (value != 0) {
        RoundSignificant(std::fabs(value), precision == Precision::Single ? 7 : 15, d);
        // Digit k stands at the place 10^(exponent - k). Keep the places down
        // to 10^-kDecimals and round at the first dropped digit, which is an
        // implicit 0 when even the leading digit lies further right.
        const int kept = d.exponent + kDecimals + 1;
        if (kept < d.count) {
            const bool roundUp = kept >= 0 && d.digits[kept] >= '5';
            if (kept <= 0) {
                d.count = roundUp ? 1 : 0;
                d.digits[0] = '1';
                d.exponent = -kDecimals;
            } else {
                d.count = kept;
                // A carry adds an integer digit: 9.99999996 shows "10.".
                if (roundUp) IncrementDigits(d, kept);
            }
        }
        while (d.count > 0 && d.digits[d.count - 1] == '0') --d.count;
    }

    // Integer places exponent..0, then decimals down to the last digit.
    const int intDigits = d.count > 0 && d.exponent >= 0 ? d.exponent + 1 : 0;
    const auto digitAt = [&d](int place) {
        const int k = d.exponent - place;
        return k >= 0 && k < d.count ? d.digits[k] : '0';
    };
    std::string out;
    out.reserve(static_cast<std::size_t>(intDigits) * (1 + separators.group.size() / 3) + 16);
    if (value < 0 && d.count > 0) out.push_back('-');
    for (int place = intDigits - 1; place >= 0; --place) {
        out.push_back(digitAt(place));
        if (place > 0 && place % 3 == 0) out += separators.group;
    }
    out += separators.decimal;
    const int lastPlace = d.count > 0 ? d.exponent - (d.count - 1) : 0;
    for (int place = -1; place >= lastPlace; --place) out.push_back(digitAt(place));
    return out;
}

std::string PlainResult(double value, Precision precision) {
    if (!std::isfinite(value)) return {};
    // The shown digits themselves, only without grouping and with ".", so
    // that the copied number never differs from the caption.
    std::string text = FormatResult(value, precision, Separators{"", "."});
    const std::size_t point = text.find('.');
    if (point + 1 == text.size()) text.pop_back();  // "144." -> "144", "." -> ""
    const std::size_t digitsFrom = text.compare(0, 1, "-") == 0 ? 1 : 0;
    if (text.size() == digitsFrom || text[digitsFrom] == '.') text.insert(digitsFrom, "0");
    return text;
}

namespace {

// A decimal given by its significant digits (no trailing zeros) and the
// power of ten of the first, in plain notation: "0.00015", "123400".
std::string PlainDecimal(bool negative, const std::string& digits, int exponent) {
    std::string out = negative ? "-" : "";
    const int count = static_cast<int>(digits.size());
    if (exponent < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
    } else if (exponent + 1 >= count) {
        out += digits;
        out.append(static_cast<std::size_t>(exponent + 1 - count), '0');
    } else {
        const auto split = static_cast<std::size_t>(exponent + 1);
        out += digits.substr(0, split);
        out += '.';
        out += digits.substr(split);
    }
    return out;
}

// Splits a to_chars scientific rendering "-d.ddde±x" into its sign,
// significant digits without trailing zeros, and exponent.
void SplitRendering(const char* begin, const char* end, bool& negative, std::string& digits,
                    int& exponent) {
    negative = *begin == '-';
    if (negative) ++begin;
    const char* e = begin;
    while (e != end && *e != 'e') ++e;
    digits.clear();
    for (const char* p = begin; p != e; ++p)
        if (*p != '.') digits.push_back(*p);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    exponent = 0;
    std::from_chars(e + 1 + (e[1] == '+' ? 1 : 0), end, exponent);
}

}  // namespace

std::string AllDigits(double value, Precision precision) {
    if (std::isnan(value) || std::isinf(value)) return std::string(kOutOfRangeText);
    if (value == 0) return "0";
    char buffer[64];
    const int significant = precision == Precision::Single ? 7 : 15;
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific, significant - 1);
    bool negative = false;
    std::string digits;
    int exponent = 0;
    SplitRendering(buffer, r.ptr, negative, digits, exponent);
    if (exponent >= -7 && exponent < 21) return PlainDecimal(negative, digits, exponent);
    std::string out = negative ? "-" : "";
    out += digits.substr(0, 1);
    if (digits.size() > 1) out += "." + digits.substr(1);
    out += exponent < 0 ? "e-" : "e+";
    out += std::to_string(exponent < 0 ? -exponent : exponent);
    return out;
}

std::string PlainSingle(float value) {
    if (!std::isfinite(value)) return {};
    if (value == 0) return "0";
    char buffer[64];
    // Shortest round trip: as many digits as it takes to read back the
    // same single, and no more.
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    bool negative = false;
    std::string digits;
    int exponent = 0;
    SplitRendering(buffer, r.ptr, negative, digits, exponent);
    return PlainDecimal(negative, digits, exponent);
}

}  // namespace mensura
