// Reading the number at the start of the input box.
#include <gtest/gtest.h>

#include <cfloat>
#include <limits>
#include <string>

#include "memory_fields.h"
#include "number_text.h"
#include "recompute.h"

namespace mensura {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

struct ParseCase {
    std::string text;
    double expected;
};

// Names the case in test output; very long texts by their length.
void PrintTo(const ParseCase& c, std::ostream* os) {
    if (c.text.size() > 40)
        *os << c.text.size() << " characters from " << c.text.substr(0, 4);
    else
        *os << '"' << c.text << '"';
}

class LeadingNumberTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(LeadingNumberTest, ReadsTheLongestNumberPrefix) {
    EXPECT_EQ(LeadingNumber(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(
        // The number stops at the first character that cannot continue it.
        ParseCase{"12 ft", 12}, ParseCase{"1,500", 1}, ParseCase{"1.5.2", 1.5},
        ParseCase{"12abc", 12}, ParseCase{"3-4", 3},
        // Blanks, tabs and line feeds go wherever they stand.
        ParseCase{" 1 5 0 0", 1500}, ParseCase{"\t7\n", 7}, ParseCase{"1\n5\t0", 150},
        ParseCase{"- 2 . 5", -2.5}, ParseCase{"1 e 3", 1000},
        // Signs and decimal points.
        ParseCase{".5", 0.5}, ParseCase{"5.", 5}, ParseCase{"-3", -3}, ParseCase{"+2", 2},
        ParseCase{"-.25", -0.25}, ParseCase{"007", 7}, ParseCase{"+-2", 0},
        // Exponents; an exponent without digits is not part of the number.
        ParseCase{"1e3", 1000}, ParseCase{"2.5E-2", 0.025}, ParseCase{"1e+2", 100},
        ParseCase{"1e", 1}, ParseCase{"1e+", 1}, ParseCase{"1e-x", 1}, ParseCase{"E5", 0},
        // No number at all.
        ParseCase{"", 0}, ParseCase{"-", 0}, ParseCase{".", 0}, ParseCase{"abc", 0},
        ParseCase{"\t \n", 0},
        // Hexadecimal and octal, letters in either case, never negative.
        ParseCase{"&H1F", 31}, ParseCase{"&h1f", 31}, ParseCase{"&HFFFF", 65535},
        ParseCase{"&HFFFFFFFFFF", 1099511627775.0}, ParseCase{"&O17", 15}, ParseCase{"&o17", 15},
        ParseCase{"&O8", 0}, ParseCase{"&O178", 15}, ParseCase{"&H", 0}, ParseCase{"&HG", 0},
        ParseCase{"& H10", 16}, ParseCase{"&H-1", 0}, ParseCase{"&X1", 0},
        // Beyond the range of a double.
        ParseCase{"1e400", kInf}, ParseCase{"-1e400", -kInf}, ParseCase{"0.001e312", kInf},
        ParseCase{std::string(400, '9'), kInf}, ParseCase{"1e-400", 0}, ParseCase{"12345e-330", 0},
        ParseCase{"1e99999999999999999999", kInf},
        ParseCase{"0." + std::string(400, '0') + "1", 0}));

// The input box's text as the single the cells start from.
TEST(ReadInputValue, RoundsOnceToSingle) {
    const struct {
        const char* text;
        float expected;
    } cases[] = {
        {"123456789", 123456792.0f},
        {"0.1", 0.1f},
        {"3.4028235e38", FLT_MAX},  // just above FLT_MAX, below the half-way point
        {"3.4028236e38", std::numeric_limits<float>::infinity()},
        {"-1e39", -std::numeric_limits<float>::infinity()},
        {"1e400", std::numeric_limits<float>::infinity()},
        {"1e-50", 0.0f},
        {"", 0.0f},
    };
    for (const auto& c : cases) {
        MemoryFields fields("LENGTH", "FEET", c.text);
        EXPECT_EQ(ReadInputValue(fields), c.expected) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace mensura
