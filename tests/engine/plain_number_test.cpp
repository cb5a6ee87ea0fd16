// The numbers the window hands out: what Copy Number puts on the clipboard,
// the full digits of a tooltip, and the input value read back.
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
constexpr double kInf = std::numeric_limits<double>::infinity();

struct NumberCase {
    double value;
    Precision precision;
    std::string shown;  // the caption, with "," and "."
    std::string plain;  // what Copy Number gives
    std::string all;    // the tooltip's digits
};

void PrintTo(const NumberCase& c, std::ostream* os) {
    *os << std::setprecision(17) << c.value << (c.precision == Single ? " single" : " double");
}

class PlainNumberTest : public ::testing::TestWithParam<NumberCase> {};

TEST_P(PlainNumberTest, PlainResultAndAllDigits) {
    const NumberCase& c = GetParam();
    EXPECT_EQ(FormatResult(c.value, c.precision, {",", "."}), c.shown);
    EXPECT_EQ(PlainResult(c.value, c.precision), c.plain);
    EXPECT_EQ(AllDigits(c.value, c.precision), c.all);
}

INSTANTIATE_TEST_SUITE_P(
    Values, PlainNumberTest,
    ::testing::Values(
        // The window's own examples: 12 feet in inches, millimetres, kilometres.
        NumberCase{144, Single, "144.", "144", "144"},
        NumberCase{3657.6, Double, "3,657.6", "3657.6", "3657.6"},
        NumberCase{0.0036576, Double, ".0036576", "0.0036576", "0.0036576"},
        // Seven decimals cut off digits the tooltip still shows.
        NumberCase{static_cast<float>(12.0 / 16.5), Single, ".7272727", "0.7272727", "0.7272727"},
        NumberCase{1.0 / 63360, Double, ".0000158", "0.0000158", "0.0000157828282828283"},
        NumberCase{123456792.0 / 16.5, Double, "7,482,229.8181818", "7482229.8181818",
                   "7482229.81818182"},
        NumberCase{static_cast<float>(123456792.0 * 12), Single, "1,481,481,000.", "1481481000",
                   "1481481000"},
        // Zero, negatives, a carry into a new integer digit.
        NumberCase{0, Single, ".", "0", "0"}, NumberCase{-0.0, Double, ".", "0", "0"},
        NumberCase{-2.54, Double, "-2.54", "-2.54", "-2.54"},
        NumberCase{-0.5, Double, "-.5", "-0.5", "-0.5"},
        NumberCase{-4e-8, Double, ".", "0", "-4e-8"},
        NumberCase{9.99999996, Double, "10.", "10", "9.99999996"},
        // An exact tie: the tooltip rounds it as the caption does.
        NumberCase{1234568.5, Single, "1,234,569.", "1234569", "1234569"},
        NumberCase{123456789012344.5, Double, "123,456,789,012,345.", "123456789012345",
                   "123456789012345"},
        // Beyond plain notation's range the tooltip turns scientific.
        NumberCase{4.1817598887420904e39, Double,
                   "4,181,759,888,742,090,000,000,000,000,000,000,000,000.",
                   "4181759888742090000000000000000000000000", "4.18175988874209e+39"},
        NumberCase{1e-9, Single, ".", "0", "1e-9"},
        NumberCase{1.25e21, Double, "1,250,000,000,000,000,000,000.", "1250000000000000000000",
                   "1.25e+21"},
        // An infinite value has no number to copy.
        NumberCase{kInf, Single, "Out of range", "", "Out of range"}));

// Whatever Copy Number gives, pasted into Mensura's own input box, shows
// the very caption it was copied from.
TEST(PlainResult, ReadsBackAsTheSameCaption) {
    const double values[] = {
        144,  3657.6,     0.0036576,  1.0 / 63360, 7482229.8181818181, -2.54, 1234567890123.4567,
        5e-8, 0.99999995, 31358001.8, 1e30};
    for (double v : values)
        for (Precision p : {Single, Double}) {
            const double cell = p == Single ? static_cast<float>(v) : v;
            const std::string plain = PlainResult(cell, p);
            EXPECT_EQ(plain.find(','), std::string::npos) << plain;
            EXPECT_EQ(FormatResult(LeadingNumber(plain), p), FormatResult(cell, p)) << plain;
        }
}

TEST(PlainSingle, ShortestDecimalThatReadsBack) {
    EXPECT_EQ(PlainSingle(12.0f), "12");
    EXPECT_EQ(PlainSingle(0.1f), "0.1");
    EXPECT_EQ(PlainSingle(1500.0f), "1500");
    EXPECT_EQ(PlainSingle(-3.0f), "-3");
    EXPECT_EQ(PlainSingle(1e-9f), "0.000000001");
    EXPECT_EQ(PlainSingle(static_cast<float>(123456789.0)), "123456790");
    EXPECT_EQ(PlainSingle(0.0f), "0");
    EXPECT_EQ(PlainSingle(std::numeric_limits<float>::infinity()), "");
    for (float f : {0.1f, 2.2e34f, 1.17549435e-38f, 1e-45f, 3.4028235e38f, 0.3333333f}) {
        const std::string plain = PlainSingle(f);
        EXPECT_EQ(plain.find('e'), std::string::npos) << plain;
        EXPECT_EQ(static_cast<float>(LeadingNumber(plain)), f) << plain;
    }
}

}  // namespace
}  // namespace mensura
