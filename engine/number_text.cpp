// Results as text: the display pattern, and the plain texts of a result for
// copying and for the tooltip. (The leading-number parse is in
// leading_number.cpp.)
#include "number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <utility>

namespace mensura {

namespace {

// Products of a 53-bit significand and a power of five need up to 109 bits.
__extension__ typedef unsigned __int128 Uint128;

constexpr std::uint64_t kPow10[] = {1,
                                    10,
                                    100,
                                    1000,
                                    10000,
                                    100000,
                                    1000000,
                                    10000000,
                                    100000000,
                                    1000000000,
                                    10000000000,
                                    100000000000,
                                    1000000000000,
                                    10000000000000,
                                    100000000000000,
                                    1000000000000000,
                                    10000000000000000,
                                    100000000000000000,
                                    1000000000000000000,
                                    10000000000000000000u};

// Below this magnitude a value shows as zero: even rounded up to its
// significant digits it stays below half a unit of the last decimal.
constexpr double kZeroBelow = 1.0 / static_cast<double>(kPow10[kResultDecimals + 1]);
static_assert(kResultDecimals + 1 < 20, "the zero threshold is a power of ten of the table above");

// floor(log2(x)) of a positive x, worked out at compile time.
constexpr int FloorLog2(double x) {
    int p = 0;
    for (; x < 1; x *= 2) --p;
    for (; x >= 2; x /= 2) ++p;
    return p;
}

// The largest power of ten RoundSignificant scales by: the most significant
// digits kept, less the lowest decimal magnitude of a value it is given (at
// least kZeroBelow), worked out as it does, from the binary exponent.
constexpr int kMaxScale = kDoubleSignificant - ((FloorLog2(kZeroBelow) * 78913) >> 18);

// 5^n, or 0 where it does not fit 64 bits.
constexpr std::uint64_t Pow5(int n) {
    std::uint64_t p = 1;
    for (int i = 0; i < n; ++i) {
        if (p > std::numeric_limits<std::uint64_t>::max() / 5) return 0;
        p *= 5;
    }
    return p;
}

template <std::size_t... N>
constexpr std::array<std::uint64_t, sizeof...(N)> Powers5(std::index_sequence<N...>) {
    return {Pow5(static_cast<int>(N))...};
}

// 5^0 to 5^kMaxScale, each within 64 bits.
constexpr auto kPow5 = Powers5(std::make_index_sequence<kMaxScale + 1>());
static_assert(kPow5[kMaxScale] != 0,
              "the powers of five that the display's decimals need do not fit 64 bits");

// A decimal number digits * 10^exponent.
struct Decimal {
    std::uint64_t digits = 0;
    int exponent = 0;
};

// Rounds `digits` to the nearest multiple of 10^places, half away from zero,
// and divides by it.
std::uint64_t DropDigits(std::uint64_t digits, int places) {
    if (places == 0) return digits;
    if (places >= 20) return 0;
    const std::uint64_t unit = kPow10[places];
    return digits / unit + (digits % unit >= unit / 2 ? 1 : 0);
}

// A magnitude of at least kZeroBelow rounded to `count` (at most 15) significant
// digits, half away from zero, on its exact binary value.
//
// It scales the magnitude by a power of ten so that its integer part holds
// count + 1 or count + 2 digits, exactly, in integer arithmetic. Those
// extra digits alone decide the rounding: the remainder below the count-th
// digit is r + f with r a whole number of units and f < 1, and it reaches
// the half (a whole number of units too) exactly when r does.
Decimal RoundSignificant(double magnitude, int count) {
    std::uint64_t bits;
    std::memcpy(&bits, &magnitude, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);
    const std::uint64_t significand = (bits & ((std::uint64_t{1} << 52) - 1)) | std::uint64_t{1}
                                                                                    << 52;
    const int e = biased - 1075;  // magnitude = significand * 2^e, a normal number
    // 2^p <= magnitude < 2^(p + 1), so floor(log10(magnitude)) is k or k + 1.
    const int k = ((biased - 1023) * 78913) >> 18;  // floor(p * log10(2))
    int scale = count - k;

    std::uint64_t scaled;  // floor(magnitude * 10^scale), in [10^count, 10^(count + 2))
    if (magnitude >= 0x1p64) {
        // A whole number with 20 to 309 digits: read its leading ones from
        // its exact expansion.
        char buffer[320];
        const auto r =
            std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::fixed, 0);
        scaled = 0;
        for (const char* p = buffer; p < buffer + count + 1; ++p)
            scaled = scaled * 10 + static_cast<std::uint64_t>(*p - '0');
        scale = count + 1 - static_cast<int>(r.ptr - buffer);
    } else if (scale >= 0) {
        // significand * 5^scale * 2^(e + scale); kZeroBelow <= magnitude
        // keeps scale at kMaxScale or below.
        const Uint128 product = Uint128{significand} * kPow5[static_cast<std::size_t>(scale)];
        const int shift = e + scale;
        scaled = static_cast<std::uint64_t>(shift >= 0 ? product << shift : product >> -shift);
    } else {
        // significand * 2^(e - r) / 5^r with r = -scale; magnitude < 2^64
        // keeps the dividend in 64 bits, and dividing in two steps floors
        // the same as in one.
        const int r = -scale;
        const int shift = e - r;
        const std::uint64_t dividend = shift >= 0 ? significand << shift : significand >> -shift;
        scaled = dividend / kPow5[static_cast<std::size_t>(r)];
    }

    if (scaled >= kPow10[count + 1]) return {DropDigits(scaled, 2), 2 - scale};
    return {DropDigits(scaled, 1), 1 - scale};
}

constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes n < 10^8 as eight digits, leading zeros included.
void WriteEightDigits(std::uint32_t n, char* p) {
    const std::uint32_t high = n / 10000, low = n % 10000;
    std::memcpy(p, kDigitPairs + 2 * (high / 100), 2);
    std::memcpy(p + 2, kDigitPairs + 2 * (high % 100), 2);
    std::memcpy(p + 4, kDigitPairs + 2 * (low / 100), 2);
    std::memcpy(p + 6, kDigitPairs + 2 * (low % 100), 2);
}

// Digits of n, none for 0: from its bit length, floor(bits * log10(2)) or
// one more.
int DigitCount(std::uint64_t n) {
    const int bits = n == 0 ? 0 : 64 - __builtin_clzll(n);
    const int count = (bits * 1233) >> 12;
    return n >= kPow10[count] ? count + 1 : count;
}

char* Append(char* p, const std::string& text) {
    if (text.size() == 1) {  // the usual separator: no call for one byte
        *p = text[0];
        return p + 1;
    }
    return std::copy(text.begin(), text.end(), p);
}

// The decimals are copied in whole 8-byte moves, all of them at once; a
// group of three digits is copied as three bytes.
constexpr std::size_t kDecimalsCopy = (static_cast<std::size_t>(kResultDecimals) + 7) / 8 * 8;
static_assert(kDecimalsCopy >= static_cast<std::size_t>(kResultDecimals) && kDecimalsCopy >= 3);

// Writes a rounded value through the pattern: sign, grouped integer part
// (absent when 0), decimal separator, decimals.
void WritePattern(bool negative, Decimal d, const Separators& separators, std::string& out) {
    // The places to write, most significant first, as plain digits: the
    // digits (at most 10^15, so 16 places hold them) with zeros in front,
    // and zeros down to the units place when the exponent is positive
    // (at most 308).
    constexpr int kPlaces = 16;
    static_assert(kPlaces == kDoubleSignificant + 1 && kResultDecimals <= kPlaces,
                  "the digits and the decimals fit the two runs of eight places");
    char plain[kPlaces + 310 + kDecimalsCopy];  // room for the last fixed-size copy
    WriteEightDigits(static_cast<std::uint32_t>(d.digits / 100000000), plain);
    WriteEightDigits(static_cast<std::uint32_t>(d.digits % 100000000), plain + 8);
    int size = kPlaces;
    if (d.exponent > 0) {
        std::memset(plain + size, '0', static_cast<std::size_t>(d.exponent));
        size += d.exponent;
    }
    // Leading zeros go, except those that stand after the decimal separator.
    const int decimals = d.exponent < 0 ? -d.exponent : 0;
    const int first = kPlaces - std::max(DigitCount(d.digits), decimals);
    const int intDigits = size - first - decimals;
    const int groups = intDigits > 0 ? (intDigits - 1) / 3 : 0;
    const std::size_t length = (negative ? 1u : 0u) + static_cast<std::size_t>(size - first) +
                               static_cast<std::size_t>(groups) * separators.group.size() +
                               separators.decimal.size();

    // The text goes into a buffer with room to spare, so that short runs of
    // digits are copied in fixed sizes (up to kDecimalsCopy bytes written
    // past a run).
    constexpr std::size_t kSlack = kDecimalsCopy;
    char local[256];
    const bool fits = length + kSlack <= sizeof local;
    if (!fits) out.resize(length + kSlack);
    char* const begin = fits ? local : out.data();
    char* p = begin;
    if (negative) *p++ = '-';
    const char* digit = plain + first;
    if (intDigits > 0) {
        // A first group of one to three digits, then groups of three.
        const int lead = intDigits - 3 * groups;
        std::memcpy(p, digit, 3);
        p += lead;
        digit += lead;
        for (int g = 0; g < groups; ++g, digit += 3) {
            p = Append(p, separators.group);
            std::memcpy(p, digit, 3);
            p += 3;
        }
    }
    p = Append(p, separators.decimal);
    std::memcpy(p, digit, kDecimalsCopy);  // decimals <= kResultDecimals
    if (fits)
        out.assign(local, length);
    else
        out.resize(length);
}

}  // namespace

void FormatResult(double value, Precision precision, const Separators& separators,
                  std::string& out) {
    if (!std::isfinite(value)) {
        out.assign(kOutOfRangeText);
        return;
    }
    const double magnitude = std::fabs(value);
    Decimal d;  // zero
    // Below kZeroBelow (1e-8) even a rounding up of the significant digits
    // stays below half a unit of the last decimal (0.00000005), which shows
    // as zero.
    if (magnitude >= kZeroBelow) {
        d = RoundSignificant(magnitude, SignificantDigits(precision));
        // Round the significant digits to 7 decimals; a carry may add an
        // integer digit (9.99999996 shows "10.").
        if (d.exponent < -kResultDecimals) {
            d.digits = DropDigits(d.digits, -kResultDecimals - d.exponent);
            d.exponent = -kResultDecimals;
        }
        while (d.exponent < 0 && d.digits != 0 && d.digits % 10 == 0) {
            d.digits /= 10;
            ++d.exponent;
        }
        if (d.digits == 0) d.exponent = 0;
    }
    WritePattern(value < 0 && d.digits != 0, d, separators, out);
}

std::string FormatResult(double value, Precision precision, const Separators& separators) {
    std::string out;
    FormatResult(value, precision, separators, out);
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
    const int significant = SignificantDigits(precision);
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value,
                                 std::chars_format::scientific, significant - 1);
    bool negative = false;
    std::string digits;
    int exponent = 0;
    SplitRendering(buffer, r.ptr, negative, digits, exponent);
    if (std::fabs(value) >= kZeroBelow) {
        // The caption's rounding, half away from zero: to_chars takes an
        // exact tie to even, and the tooltip would contradict the caption.
        // Below kZeroBelow, where RoundSignificant does not reach, the
        // caption shows no digits to contradict; nor is any double below
        // 1e-8 an exact tie at 15 digits (5^23 has more than 16).
        Decimal d = RoundSignificant(std::fabs(value), significant);
        while (d.digits % 10 == 0) {
            d.digits /= 10;
            ++d.exponent;
        }
        digits = std::to_string(d.digits);
        exponent = d.exponent + static_cast<int>(digits.size()) - 1;
    }
    if (exponent >= -kResultDecimals && exponent < 21)
        return PlainDecimal(negative, digits, exponent);
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
