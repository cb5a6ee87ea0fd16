// The display pattern "#,###,###.#######" applied to cell results.
#include <gtest/gtest.h>

#include <cmath>
#include <iomanip>
#include <limits>
#include <string>

#include "number_text.h"

namespace mensura {
namespace {

constexpr Precision Single = Precision::Single;
constexpr Precision Double = Precision::Double;
const Separators kCommaPoint{",", "."};

struct FormatCase {
    double value;
    Precision precision;
    std::string expected;
};

void PrintTo(const FormatCase& c, std::ostream* os) {
    *os << std::setprecision(17) << c.value << (c.precision == Single ? " single" : " double");
}

class FormatResultTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatResultTest, ShowsThePattern) {
    EXPECT_EQ(FormatResult(GetParam().value, GetParam().precision, kCommaPoint),
              GetParam().expected);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Values, FormatResultTest,
    ::testing::Values(
        // Grouping, the decimal separator always written, no leading zero.
        FormatCase{1234.5, Double, "1,234.5"}, FormatCase{24, Single, "24."},
        FormatCase{0.5, Double, ".5"}, FormatCase{0, Single, "."},
        FormatCase{1234567890, Double, "1,234,567,890."}, FormatCase{-2.54, Double, "-2.54"},
        FormatCase{1e20, Double, "100,000,000,000,000,000,000."},
        FormatCase{-123456, Single, "-123,456."},
        // Single keeps 7 significant digits, double 15, even in whole numbers.
        FormatCase{1234567890, Single, "1,234,568,000."}, FormatCase{1.0f / 12, Single, ".0833333"},
        FormatCase{1.0 / 63360, Double, ".0000158"},
        FormatCase{123456789012345678.0, Double, "123,456,789,012,346,000."},
        FormatCase{0.1f, Single, ".1"}, FormatCase{100000.00149011612, Double, "100,000.0014901"},
        // Exact ties of the significant digits go away from zero, not to even
        // (187055.25 is 2244663 inches in feet).
        FormatCase{187055.75, Single, "187,055.8"}, FormatCase{-187055.75, Single, "-187,055.8"},
        FormatCase{187055.25, Single, "187,055.3"}, FormatCase{1234568.5, Single, "1,234,569."},
        // The 7 decimals are rounded on the rounded digits: these lie just
        // below the tie in binary, but their 15 digits end in 5.
        FormatCase{4.9999999999999991e-8, Double, ".0000001"},
        FormatCase{1.00000005, Double, "1.0000001"},
        FormatCase{12345.12345675, Double, "12,345.1234568"},
        // 16 digits would round these two alike; the 15th digit is ...7|48 and ...7|50.
        FormatCase{12345678.123456748, Double, "12,345,678.1234567"},
        FormatCase{12345678.12345675, Double, "12,345,678.1234568"},
        // Its digits past the 15th are 4999999…: a short look-ahead reads 5000.
        FormatCase{16375753868.34445, Double, "16,375,753,868.3444"},
        FormatCase{1.5e-7, Double, ".0000002"}, FormatCase{5e-8f, Single, ".0000001"},
        FormatCase{4.9e-8, Double, "."},
        // A carry that adds an integer digit.
        FormatCase{9.99999996, Double, "10."}, FormatCase{999999.99999999, Double, "1,000,000."},
        FormatCase{-0.99999999, Double, "-1."},
        // Negative values that round to zero show no sign.
        FormatCase{-4e-8, Double, "."}, FormatCase{-1e-9, Single, "."},
        FormatCase{-0.0, Double, "."}, FormatCase{5e-324, Double, "."},
        // Whole numbers of 20 digits and more, up to the largest single.
        FormatCase{18446744073709551616.0, Double, "18,446,744,073,709,600,000."},  // 2^64
        FormatCase{18446744073709549568.0, Double, "18,446,744,073,709,500,000."},
        FormatCase{18446744073709551616.0, Single, "18,446,740,000,000,000,000."},
        FormatCase{3.4028234663852886e38, Single,
                   "340,282,300,000,000,000,000,000,000,000,000,000,000."},
        // Infinities (from an input beyond the single range) and NaN.
        FormatCase{kInf, Single, "Out of range"}, FormatCase{-kInf, Double, "Out of range"},
        FormatCase{std::nan(""), Double, "Out of range"}));

TEST(FormatResult, UsesTheSeparatorsItIsGiven) {
    // French: narrow no-break space (three bytes in UTF-8) and a comma.
    const Separators french{"\u202F", ","};
    EXPECT_EQ(FormatResult(1234567.25, Double, french), "1\u202F234\u202F567,25");
    EXPECT_EQ(FormatResult(-1234, Single, french), "-1\u202F234,");
    EXPECT_EQ(FormatResult(0.5, Double, french), ",5");
    EXPECT_EQ(FormatResult(0, Double, french), ",");
    const Separators noGrouping{"", "."};
    EXPECT_EQ(FormatResult(1234567.25, Double, noGrouping), "1234567.25");
}

// A table run formats every cell into one string; the largest double with a
// four-byte group separator makes a text of 717 bytes.
TEST(FormatResult, WritesTextsOfAnyLengthIntoAReusedString) {
    const double largest = std::numeric_limits<double>::max();
    const std::string standard = FormatResult(largest, Double, kCommaPoint);
    EXPECT_EQ(standard.size(), 309u + 102u + 1u);
    EXPECT_EQ(standard.substr(0, 24), "179,769,313,486,232,000,");
    const Separators wide{"\U0001F600", "\u202F"};
    std::string expected;
    for (char c : standard)
        expected += c == ',' ? wide.group : c == '.' ? wide.decimal : std::string(1, c);
    std::string reused(1000, 'x');
    FormatResult(largest, Double, wide, reused);
    EXPECT_EQ(reused, expected);
    FormatResult(-0.5, Single, wide, reused);
    EXPECT_EQ(reused, "-\u202F5");
}

}  // namespace
}  // namespace mensura
