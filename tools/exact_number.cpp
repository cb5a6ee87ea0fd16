// Exact arithmetic for checking the tables: natural numbers, fractions, and
// decimal rounding on the exact value.
#include "exact_number.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace mensura::exact {

// --- Natural ------------------------------------------------------------------

Natural::Natural(std::uint32_t value) {
    if (value != 0) m_limbs.push_back(value);
}

void Natural::Trim() {
    while (!m_limbs.empty() && m_limbs.back() == 0) m_limbs.pop_back();
}

int Compare(const Natural& a, const Natural& b) {
    if (a.m_limbs.size() != b.m_limbs.size()) return a.m_limbs.size() < b.m_limbs.size() ? -1 : 1;
    for (std::size_t i = a.m_limbs.size(); i-- > 0;)
        if (a.m_limbs[i] != b.m_limbs[i]) return a.m_limbs[i] < b.m_limbs[i] ? -1 : 1;
    return 0;
}

Natural operator+(const Natural& a, const Natural& b) {
    Natural sum;
    sum.m_limbs.resize(std::max(a.m_limbs.size(), b.m_limbs.size()) + 1);
    std::uint64_t carry = 0;
    for (std::size_t i = 0; i < sum.m_limbs.size(); ++i) {
        carry += i < a.m_limbs.size() ? a.m_limbs[i] : 0;
        carry += i < b.m_limbs.size() ? b.m_limbs[i] : 0;
        sum.m_limbs[i] = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    sum.Trim();
    return sum;
}

Natural operator-(const Natural& a, const Natural& b) {
    if (Compare(a, b) < 0) throw std::logic_error("negative natural number");
    Natural difference = a;
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < difference.m_limbs.size(); ++i) {
        std::int64_t limb = static_cast<std::int64_t>(difference.m_limbs[i]) - borrow -
                            (i < b.m_limbs.size() ? b.m_limbs[i] : 0);
        borrow = limb < 0 ? 1 : 0;
        if (limb < 0) limb += std::int64_t{1} << 32;
        difference.m_limbs[i] = static_cast<std::uint32_t>(limb);
    }
    difference.Trim();
    return difference;
}

Natural operator*(const Natural& a, const Natural& b) {
    Natural product;
    if (a.IsZero() || b.IsZero()) return product;
    product.m_limbs.assign(a.m_limbs.size() + b.m_limbs.size(), 0);
    for (std::size_t i = 0; i < a.m_limbs.size(); ++i) {
        std::uint64_t carry = 0;
        for (std::size_t j = 0; j < b.m_limbs.size(); ++j) {
            carry += std::uint64_t{a.m_limbs[i]} * b.m_limbs[j] + product.m_limbs[i + j];
            product.m_limbs[i + j] = static_cast<std::uint32_t>(carry);
            carry >>= 32;
        }
        product.m_limbs[i + b.m_limbs.size()] = static_cast<std::uint32_t>(carry);
    }
    product.Trim();
    return product;
}

// --- Fraction -----------------------------------------------------------------

namespace {

const Natural kTen{10};

Natural Power(const Natural& base, int exponent) {
    Natural result{1};
    for (int i = 0; i < exponent; ++i) result = result * base;
    return result;
}

}  // namespace

Fraction operator*(const Fraction& a, const Fraction& b) {
    return {a.negative != b.negative, a.numerator * b.numerator, a.denominator * b.denominator};
}

Fraction operator/(const Fraction& a, const Fraction& b) {
    if (b.numerator.IsZero()) throw std::domain_error("division by zero");
    return {a.negative != b.negative, a.numerator * b.denominator, a.denominator * b.numerator};
}

Fraction operator-(const Fraction& a, const Fraction& b) {
    // a - b = (na * db -/+ nb * da) / (da * db), by the signs.
    const Natural left = a.numerator * b.denominator;
    const Natural right = b.numerator * a.denominator;
    const Natural denominator = a.denominator * b.denominator;
    if (a.negative != b.negative) return {a.negative, left + right, denominator};
    if (Compare(left, right) >= 0) return {a.negative, left - right, denominator};
    return {!a.negative, right - left, denominator};
}

int Compare(const Fraction& a, const Fraction& b) {
    const bool aNegative = a.negative && !a.numerator.IsZero();
    const bool bNegative = b.negative && !b.numerator.IsZero();
    if (aNegative != bNegative) return aNegative ? -1 : 1;
    const int magnitude = Compare(a.numerator * b.denominator, b.numerator * a.denominator);
    return aNegative ? -magnitude : magnitude;
}

Fraction Abs(Fraction a) {
    a.negative = false;
    return a;
}

namespace {

// One decimal with an optional sign, point and exponent.
Fraction ParseDecimal(std::string_view text) {
    Fraction value;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) value.negative = text[i++] == '-';
    int digits = 0, decimals = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9') {
            value.numerator = value.numerator * kTen + Natural(static_cast<std::uint32_t>(c - '0'));
            ++digits;
            if (point) ++decimals;
        } else {
            break;
        }
    }
    int exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool negative = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        if (i == text.size()) throw std::invalid_argument("no exponent");
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
            exponent = exponent * 10 + (text[i] - '0');
        if (negative) exponent = -exponent;
    }
    if (digits == 0 || i != text.size() || std::abs(exponent) > 400)
        throw std::invalid_argument("not a decimal: " + std::string(text));
    exponent -= decimals;
    if (exponent >= 0)
        value.numerator = value.numerator * Power(kTen, exponent);
    else
        value.denominator = Power(kTen, -exponent);
    return value;
}

}  // namespace

Fraction Parse(std::string_view text) {
    Fraction value = ParseDecimal("1");
    std::size_t start = 0;
    bool divide = false;
    while (true) {
        const std::size_t end = text.find_first_of("*/", start);
        const Fraction term = ParseDecimal(text.substr(start, end - start));
        value = divide ? value / term : value * term;
        if (end == std::string_view::npos) break;
        divide = text[end] == '/';
        start = end + 1;
    }
    return value;
}

Fraction FromDouble(double value) {
    if (!std::isfinite(value)) throw std::domain_error("not a finite number");
    Fraction result;
    result.negative = std::signbit(value);
    int exponent = 0;
    // |value| = mantissa * 2^exponent with a 53-bit whole mantissa.
    const double mantissa = std::ldexp(std::frexp(std::fabs(value), &exponent), 53);
    exponent -= 53;
    const auto whole = static_cast<std::uint64_t>(mantissa);
    result.numerator = Natural(static_cast<std::uint32_t>(whole >> 32)) * Power(Natural{2}, 32) +
                       Natural(static_cast<std::uint32_t>(whole));
    if (exponent >= 0)
        result.numerator = result.numerator * Power(Natural{2}, exponent);
    else
        result.denominator = Power(Natural{2}, -exponent);
    return result;
}

// --- Decimal digits -------------------------------------------------------------

Decimal Leading(const Fraction& value, int count, bool* exact) {
    Decimal out;
    out.negative = value.negative;
    if (exact) *exact = true;
    if (value.numerator.IsZero()) return out;
    // Scale so that divisor <= remainder < 10 * divisor: the first digit is
    // then the whole part of remainder / divisor, and 10^point its place.
    Natural remainder = value.numerator, divisor = value.denominator;
    int point = 0;
    while (Compare(remainder, divisor * kTen) >= 0) {
        divisor = divisor * kTen;
        ++point;
    }
    while (Compare(remainder, divisor) < 0) {
        remainder = remainder * kTen;
        --point;
    }
    for (int i = 0; i < count; ++i) {
        char digit = '0';
        while (Compare(remainder, divisor) >= 0) {
            remainder = remainder - divisor;
            ++digit;
        }
        out.digits += digit;
        remainder = remainder * kTen;
    }
    if (exact) *exact = remainder.IsZero();
    out.exponent = point - count + 1;
    return out;
}

Decimal RoundAt(Decimal value, int place) {
    if (value.exponent >= place) return value;
    const int length = static_cast<int>(value.digits.size());
    const int kept = length - (place - value.exponent);  // digits that stay
    const bool up = kept >= 0 && value.digits[static_cast<std::size_t>(kept)] >= '5';
    value.digits = kept > 0 ? value.digits.substr(0, static_cast<std::size_t>(kept)) : "";
    value.exponent = place;
    if (up) {
        std::size_t i = value.digits.size();
        while (i > 0 && value.digits[i - 1] == '9') value.digits[--i] = '0';
        if (i == 0)
            value.digits.insert(value.digits.begin(), '1');
        else
            ++value.digits[i - 1];
    }
    // Trailing zeros go into the exponent; zero has no digits.
    while (!value.digits.empty() && value.digits.back() == '0') {
        value.digits.pop_back();
        ++value.exponent;
    }
    if (value.digits.empty()) value.exponent = 0;
    return value;
}

Decimal RoundLikeCaption(const Fraction& value, int significant) {
    // One digit more than kept decides the rounding half away from zero.
    Decimal d = Leading(value, significant + 1);
    if (d.digits.empty()) return d;
    d = RoundAt(d, d.exponent + 1);
    return RoundAt(d, -kResultDecimals);
}

namespace {

// The integer part and the decimals of a decimal, as digit strings.
std::pair<std::string, std::string> Split(const Decimal& value) {
    if (value.exponent >= 0)
        return {value.digits + std::string(static_cast<std::size_t>(value.exponent), '0'), ""};
    const int length = static_cast<int>(value.digits.size());
    const int whole = length + value.exponent;  // digits before the point
    if (whole <= 0) return {"", std::string(static_cast<std::size_t>(-whole), '0') + value.digits};
    return {value.digits.substr(0, static_cast<std::size_t>(whole)),
            value.digits.substr(static_cast<std::size_t>(whole))};
}

}  // namespace

namespace {

// The writer of Pattern and Plain; `trim` drops the decimals' zeros at the
// end, which in a cut expansion are digits like any other.
std::string Write(const Decimal& value, const Separators* grouped, bool trim) {
    auto [whole, decimals] = Split(value);
    if (trim)
        while (!decimals.empty() && decimals.back() == '0') decimals.pop_back();
    std::string out = value.negative && !value.digits.empty() ? "-" : "";
    if (!grouped) {
        out += whole.empty() ? "0" : whole;
        return decimals.empty() ? out : out + "." + decimals;
    }
    for (std::size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) out += grouped->group;
        out += whole[i];
    }
    return out + grouped->decimal + decimals;
}

}  // namespace

std::string Pattern(const Decimal& value, const Separators& separators) {
    return Write(value, &separators, true);
}

std::string Plain(const Decimal& value) {
    return Write(value, nullptr, true);
}

std::string Expansion(const Fraction& value, int count, bool plain) {
    bool complete = false;
    const Decimal digits = Leading(value, count, &complete);
    const Separators separators;
    const std::string text = Write(digits, plain ? nullptr : &separators, complete);
    return complete ? text : text + "\u2026";
}

}  // namespace mensura::exact
