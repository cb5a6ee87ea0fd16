// Evaluating one result cell: steps in double, one rounding, the range check.
#include "cell.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <string>

#include "memory_fields.h"

namespace mensura {
namespace {

const Separators kCommaPoint{",", "."};

TEST(RoundToSingle, OverflowsOnlyFromTheHalfWayPointAboveTheLargestSingle) {
    constexpr double kInf = std::numeric_limits<double>::infinity();
    // Half-way between FLT_MAX and 2^128; a tie rounds to the even 2^128.
    const double halfWay = 0x1.ffffffp127;
    const struct {
        double in;
        double out;
        FpError error;
    } cases[] = {
        {FLT_MAX, FLT_MAX, FpError::None},
        {std::nextafter(FLT_MAX, kInf), FLT_MAX, FpError::None},
        {std::nextafter(halfWay, 0.0), FLT_MAX, FpError::None},
        {-std::nextafter(halfWay, 0.0), -FLT_MAX, FpError::None},
        {halfWay, kInf, FpError::Overflow},
        {-halfWay, -kInf, FpError::Overflow},
        {1e300, kInf, FpError::Overflow},
        {kInf, kInf, FpError::None},  // already infinite: nothing new overflowed
        {-kInf, -kInf, FpError::None},
        {1e-50, 0.0, FpError::None},  // underflow is not checked
        {0.1, static_cast<double>(0.1f), FpError::None},
    };
    for (const auto& c : cases) {
        const CellValue v = RoundToSingle(c.in);
        EXPECT_EQ(v.value, c.out) << std::hexfloat << c.in;
        EXPECT_EQ(v.error, c.error) << std::hexfloat << c.in;
    }
}

TEST(WriteResultCell, RoundsOnceAfterAllSteps) {
    // Rounding 1/3 to single before the "× 100" would show 33.33334.
    MemoryFields fields("LENGTH", "FEET", "1");
    std::string caption;
    EXPECT_EQ(
        WriteResultCell(1.0f, {4, {Div(3), Mul(100)}, Single}, fields, kCommaPoint, caption, ""),
        FpError::None);
    EXPECT_EQ(
        WriteResultCell(1.0f, {5, {Div(3), Mul(100)}, Double}, fields, kCommaPoint, caption, ""),
        FpError::None);
    EXPECT_EQ(fields.Caption(4), "33.33333");
    EXPECT_EQ(fields.Caption(5), "33.3333333");
}

}  // namespace
}  // namespace mensura
