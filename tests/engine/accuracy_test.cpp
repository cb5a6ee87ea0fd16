// The exact arithmetic behind the help's accuracy pages, and what those
// pages (and the units page, in words) say about the tables.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "memory_fields.h"
#include "recompute.h"
#include "unit_definitions.h"

namespace mensura::exact {
namespace {

// Exact values through the display pattern's two roundings.
TEST(AccuracyTest, ExactValuesRoundAsCaptionsDo) {
    struct Case {
        const char* value;
        int significant;
        const char* shown;
    };
    const Case cases[] = {
        {"2/3", 7, ".6666667"},
        {"1/12", 7, ".0833333"},
        {"123456789", 7, "123,456,800."},
        {"1234567.5", 7, "1,234,568."},
        {"999999.95", 7, "1,000,000."},
        {"1/3*1000000000000", 15, "333,333,333,333.333"},
        {"0.00000005", 15, ".0000001"},
        {"0.00000004999", 15, "."},
        // Rounded first to 15 digits, to 5e-8, and that then up to 7 decimals.
        {"0.00000004999999999999995", 15, ".0000001"},
        {"-2.54", 15, "-2.54"},
        {"-0.00000001", 15, "."},
        {"0", 15, "."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pattern(RoundLikeCaption(Parse(c.value), c.significant)), c.shown) << c.value;
    EXPECT_EQ(Pattern(RoundLikeCaption(Parse("1234.5"), 15), {".", ","}), "1.234,5");
    EXPECT_EQ(Percent(Parse("0.000029")), "+0.0029 %");
    EXPECT_EQ(Percent(Parse("-0.0057843")), "\u22120.58 %");
    EXPECT_EQ(Percent(Parse("0.0099999")), "+1 %");
    EXPECT_EQ(Percent(Parse("0")), "0");
}

// The engine's pattern and the exact rounding agree on every cell of every
// table: each caption is the cell's own number, rounded exactly.
TEST(AccuracyTest, CaptionsAreTheirNumbersRoundedExactly) {
    int cells = 0;
    for (const Category& category : Categories()) {
        for (const std::string& unit : category.units) {
            for (const char* input : {"1", "7", "0.1", "123456789", "-2.5e-3"}) {
                MemoryFields fields(category.name, unit, input);
                RecomputeResults(fields);
                for (std::size_t i = 0; i < fields.writes.size(); ++i) {
                    if (!fields.numbers[i]) continue;
                    const CellNumber n = *fields.numbers[i];
                    const int digits = SignificantDigits(n.precision);
                    EXPECT_EQ(fields.writes[i].second,
                              Pattern(RoundLikeCaption(FromDouble(n.value), digits)))
                        << unit << " " << input << " row " << fields.writes[i].first;
                    ++cells;
                }
            }
        }
    }
    EXPECT_EQ(cells, 5 * (210 + 174 + 210));
}

TEST(AccuracyTest, EveryUnitHasOneDefinitionWithinItsCategory) {
    std::map<std::string, int> defined;
    for (const Definition& d : Definitions()) ++defined[d.unit];
    for (const Category& category : Categories()) {
        for (const std::string& unit : category.units) {
            EXPECT_EQ(defined[unit], 1) << unit;
            bool sourced = false;
            for (const Source& s : Sources())
                sourced = sourced || DefinitionOf(unit).source == std::string(s.key);
            EXPECT_TRUE(sourced) << unit;
            // Every step of the chain stays in the category.
            for (std::string at = unit; *DefinitionOf(at).of != '\0'; at = DefinitionOf(at).of)
                EXPECT_NE(
                    std::find(category.units.begin(), category.units.end(), DefinitionOf(at).of),
                    category.units.end())
                    << unit;
        }
    }
    EXPECT_EQ(Definitions().size(), 45u);
}

// The kind of a unit: 'C' customary (US or old English), 'I' imperial,
// 'M' metric.
char KindOf(const std::string& unit) {
    if (std::string(DefinitionOf(unit).source) == "SI") return 'M';
    return unit.find("(GB)") != std::string::npos ? 'I' : 'C';
}

// Which factors are exact, by the kinds of unit they lead from and to, as
// the units page says in words; and a result never differs from the exact
// value where its factor is exact.
TEST(AccuracyTest, RoundedFactorsLieWhereTheHelpSaysTheyDo) {
    using Key = std::tuple<std::string, char, char>;
    const char C = 'C', I = 'I', M = 'M';
    // category, from, to: cells and rounded factors
    const std::map<Key, std::pair<int, int>> expected{
        {{"LENGTH", C, C}, {56, 0}},    {{"LENGTH", C, M}, {56, 6}},
        {{"LENGTH", M, C}, {56, 56}},   {{"LENGTH", M, M}, {42, 0}},
        {{"WEIGHT", C, C}, {41, 7}},    {{"WEIGHT", C, M}, {56, 14}},
        {{"WEIGHT", M, C}, {35, 21}},   {{"WEIGHT", M, M}, {42, 0}},
        {{"CAPACITY", C, C}, {56, 11}}, {{"CAPACITY", C, I}, {32, 32}},
        {{"CAPACITY", C, M}, {24, 24}}, {{"CAPACITY", I, C}, {32, 32}},
        {{"CAPACITY", I, I}, {12, 9}},  {{"CAPACITY", I, M}, {12, 9}},
        {{"CAPACITY", M, C}, {24, 24}}, {{"CAPACITY", M, I}, {12, 12}},
        {{"CAPACITY", M, M}, {6, 0}},
    };
    std::map<Key, std::pair<int, int>> found;
    std::vector<std::string> shortened;  // standard to metric length
    std::vector<std::string> exactImperialToMetric;
    for (const Table* table : {&LengthTable(), &WeightTable(), &CapacityTable()}) {
        for (const CellReport& r : Survey(*table)) {
            const bool rounded = !r.factorError.numerator.IsZero();
            auto& [cells, roundedCells] = found[{table->category, KindOf(r.from), KindOf(r.to)}];
            ++cells;
            roundedCells += rounded ? 1 : 0;
            EXPECT_TRUE(rounded || !r.differs) << r.from << " to " << r.to;
            if (table->category == "LENGTH" && rounded && KindOf(r.from) == C)
                shortened.push_back(r.from + ">" + r.to);
            if (!rounded && KindOf(r.from) == I && KindOf(r.to) == M)
                exactImperialToMetric.push_back(r.from + ">" + r.to);
        }
    }
    EXPECT_EQ(found, expected);
    EXPECT_EQ(shortened, (std::vector<std::string>{"YARDS>KILOMETERS", "FATHOM>KILOMETERS",
                                                   "MILES>HECTOMETERS", "MILES>KILOMETERS",
                                                   "LEAGUE>HECTOMETERS", "LEAGUE>KILOMETERS"}));
    EXPECT_EQ(exactImperialToMetric,
              (std::vector<std::string>{"GALLONS(GB)>MILLILITER", "GALLONS(GB)>LITER",
                                        "GALLONS(GB)>KILOLITER"}));
}

}  // namespace
}  // namespace mensura::exact
