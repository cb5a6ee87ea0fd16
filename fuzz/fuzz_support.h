// What the fuzz targets share: reading fields from the fuzzer's bytes, and
// the properties of a displayed value (the form of the display pattern, the
// separators, the sign, the digits kept, and that the text reads back as the
// value within the display's two roundings).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "check_failure.h"
#include "number_text.h"

namespace fuzzcheck {

using mensura::Precision;
using mensura::Separators;

// Takes fields from the front of the fuzzer's input; an exhausted input
// gives zeros and empty texts.
class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    std::uint8_t Byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    std::string Text(std::size_t length) {
        const std::size_t n = std::min(length, m_size - m_pos);
        std::string text(reinterpret_cast<const char*>(m_data + m_pos), n);
        m_pos += n;
        return text;
    }
    // A value from its bytes, least significant first.
    std::uint64_t Bits(int bytes) {
        std::uint64_t bits = 0;
        for (int i = 0; i < bytes; ++i) bits |= std::uint64_t{Byte()} << (8 * i);
        return bits;
    }
    float Float() {
        const auto bits = static_cast<std::uint32_t>(Bits(4));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    double Double() {
        const std::uint64_t bits = Bits(8);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::string Rest() { return Text(m_size - m_pos); }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

using mensura::testsupport::Fail;

inline std::string Show(double value) {
    char text[40];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A text the pattern "#,###,###.#######" can produce with "," and ".":
// -?(d{1,3}(,ddd)*)?.d{0,7} (up to kResultDecimals decimals), no leading
// zero, no trailing zero after the point, and no sign on a zero.
inline bool IsPatternText(const std::string& s) {
    std::size_t i = 0;
    const bool negative = i < s.size() && s[i] == '-';
    if (negative) ++i;
    const std::size_t intStart = i;
    while (i < s.size() && (IsDigit(s[i]) || s[i] == ',')) ++i;
    const std::string intPart = s.substr(intStart, i - intStart);
    if (i >= s.size() || s[i] != '.') return false;
    const std::string fraction = s.substr(i + 1);
    if (fraction.size() > static_cast<std::size_t>(mensura::kResultDecimals)) return false;
    for (char c : fraction)
        if (!IsDigit(c)) return false;
    if (!fraction.empty() && fraction.back() == '0') return false;
    if (!intPart.empty()) {
        if (intPart[0] == '0' || intPart[0] == ',') return false;
        for (std::size_t k = 0; k < intPart.size(); ++k) {
            const bool comma = (intPart.size() - k) % 4 == 0;
            if (comma != (intPart[k] == ',')) return false;
        }
    }
    if (negative && intPart.empty() && fraction.find_first_not_of('0') == std::string::npos)
        return false;  // "-." or a negative zero
    return true;
}

// A pattern text with "," and "." replaced by the given separators.
inline std::string WithSeparators(const std::string& standard, const Separators& separators) {
    std::string out;
    for (char c : standard) {
        if (c == ',')
            out += separators.group;
        else if (c == '.')
            out += separators.decimal;
        else
            out += c;
    }
    return out;
}

// Significant digits of a pattern text: from its first non-zero digit to
// its last ("1,481,481,000." has 7).
inline std::size_t DigitsShown(const std::string& standard) {
    std::string digits;
    for (char c : standard)
        if (IsDigit(c)) digits += c;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return 0;
    return digits.find_last_not_of('0') - first + 1;
}

// The largest distance between a value and what its display reads back as:
// half a unit of the last significant digit kept (7th for a single, 15th for
// a double), plus half a unit of the last decimal (the 7th), plus a few
// units in the last place for the read-back's own rounding.
inline double DisplayTolerance(double value, Precision precision) {
    const double halfDecimal = 0.5 * std::pow(10.0, -mensura::kResultDecimals);
    const double magnitude = std::fabs(value);
    if (magnitude == 0) return halfDecimal;
    int k = static_cast<int>(std::floor(std::log10(magnitude)));
    if (std::pow(10.0, k + 1) <= magnitude) ++k;  // log10 just below a power of ten
    const int kept = mensura::SignificantDigits(precision);
    const double ulp = std::ldexp(1.0, std::ilogb(magnitude) - 52);
    return 0.5 * std::pow(10.0, k - kept + 1) + halfDecimal + 4 * ulp;
}

// Whether a typed-back display text ("1234.5", no group separators) reads
// as the value within the display's roundings. Near the top of the double
// range the rounded digits may lie beyond it; those compare scaled down.
inline bool ReadsBackAs(const std::string& typed, double value, Precision precision) {
    const double tolerance = DisplayTolerance(value, precision);
    if (std::fabs(value) < 1e300)
        return std::fabs(mensura::LeadingNumber(typed) - value) <= tolerance;
    const double back = mensura::LeadingNumber(typed + "e-100");
    return std::fabs(back - value * 1e-100) <= tolerance * 1e-100 * (1 + 1e-15);
}

// Checks the text FormatResult gave for a value under the given separators.
inline void CheckShown(double value, Precision precision, const Separators& separators,
                       const std::string& shown, const std::string& context) {
    const std::string detail = context + " value " + Show(value) +
                               (precision == Precision::Single ? " single" : " double") +
                               " shown \"" + shown + "\"";
    const std::string standard = mensura::FormatResult(value, precision, {",", "."});
    if (!std::isfinite(value)) {
        if (shown != mensura::kOutOfRangeText || standard != shown)
            Fail("an infinity or NaN must show the out-of-range text", detail);
        return;
    }
    if (!IsPatternText(standard))
        Fail("not a form of the display pattern", detail + " as " + standard);
    if (shown != WithSeparators(standard, separators))
        Fail("the separators are not the ones given", detail + " standard " + standard);
    const bool nonZero = standard.find_first_of("123456789") != std::string::npos;
    if ((standard[0] == '-') != (value < 0 && nonZero))
        Fail("the sign does not match the value", detail);
    if (DigitsShown(standard) > static_cast<std::size_t>(mensura::SignificantDigits(precision)))
        Fail("more significant digits than the precision keeps", detail);
    std::string typed;
    for (char c : standard)
        if (c != ',') typed += c;
    if (!ReadsBackAs(typed, value, precision))
        Fail("the text does not read back as the value", detail);
}

}  // namespace fuzzcheck
