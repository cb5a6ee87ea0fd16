// The leading-number parse: the number at the start of what was typed into
// the input box, as LeadingNumber (number_text.h) reads it, and where in the
// text that number ends.
#include <charconv>
#include <cstddef>
#include <limits>
#include <string>
#include <system_error>

#include "number_text.h"

namespace mensura {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "&H1F" or "&O17", read as a non-negative integer of any width; digits that
// do not fit a double's precision are rounded, and too many give infinity.
// `pos` ends after the last digit read.
double RadixInteger(std::string_view s, std::size_t& pos, int radix) {
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

std::string WithoutBlanks(std::string_view text) {
    std::string compact;
    compact.reserve(text.size());
    for (char c : text)
        if (!IsInputBlank(c)) compact.push_back(c);
    return compact;
}

double LeadingNumber(std::string_view text) {
    return ReadLeadingNumber(text).value;
}

LeadingNumberRead ReadLeadingNumber(std::string_view text) {
    // Blanks go wherever they stand; a text without any (the usual case) is
    // read where it is.
    std::string compact;
    if (text.find_first_of(kInputBlanks) != std::string_view::npos) {
        compact = WithoutBlanks(text);
        text = compact;
    }
    const std::string_view s = text;
    LeadingNumberRead read;

    if (s.size() >= 2 && s[0] == '&') {
        read.radix = s[1] == 'H' || s[1] == 'h' ? 16 : s[1] == 'O' || s[1] == 'o' ? 8 : 10;
        if (read.radix != 10) {
            read.end = 2;
            read.value = RadixInteger(s, read.end, read.radix);
            read.digits = read.end > 2;
            return read;
        }
    }

    // Longest prefix of the form [+-] digits [. digits] [(E|e) [+-] digits];
    // from_chars reads it from after the sign, which it does not take.
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t start = i;
    int intDigits = 0, leadingFractionZeros = 0;
    bool nonZeroSeen = false;
    bool anyDigit = false;
    for (; i < s.size() && IsDigit(s[i]); ++i) {
        anyDigit = true;
        if (s[i] != '0') nonZeroSeen = true;
        if (nonZeroSeen) ++intDigits;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && IsDigit(s[i]); ++i) {
            anyDigit = true;
            if (s[i] != '0') nonZeroSeen = true;
            if (!nonZeroSeen) ++leadingFractionZeros;
        }
    }
    if (!anyDigit) return read;  // no number: 0, and nothing of the text used
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) expNegative = s[j++] == '-';
        if (j < s.size() && IsDigit(s[j])) {
            for (; j < s.size() && IsDigit(s[j]); ++j)
                if (exponent < 1000000) exponent = exponent * 10 + (s[j] - '0');
            if (expNegative) exponent = -exponent;
            i = j;  // the exponent is part of the number
        }
    }
    read.digits = true;
    read.end = i;
    if (!nonZeroSeen) {
        read.value = negative ? -0.0 : 0.0;
        return read;
    }

    double value = 0;
    const auto result = std::from_chars(s.data() + start, s.data() + i, value);
    if (result.ec == std::errc::result_out_of_range) {
        // Decimal magnitude of the first significant digit tells overflow
        // from underflow.
        const long long magnitude =
            intDigits > 0 ? intDigits + exponent : exponent - leadingFractionZeros;
        value = magnitude > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    read.value = negative ? -value : value;
    return read;
}

}  // namespace mensura
