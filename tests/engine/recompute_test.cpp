// Whole table runs through RecomputeResults, as the window makes them.
#include "recompute.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "catalogue.h"
#include "memory_fields.h"
#include "table.h"

namespace mensura {
namespace {

const Separators kCommaPoint{",", "."};
constexpr const char* kUnwritten = "<unwritten>";

struct RunCase {
    std::string category, unit, input;
    std::array<const char*, 15> rows;  // nullptr: the run leaves the row alone
};

void PrintTo(const RunCase& c, std::ostream* os) {
    *os << c.category << ' ' << c.unit << " \"" << c.input << '"';
}

class FullRunTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(FullRunTest, WritesEveryRow) {
    const RunCase& c = GetParam();
    MemoryFields fields(c.category, c.unit, c.input);
    EXPECT_EQ(Describe(RecomputeResults(fields, kCommaPoint)), "ok");
    for (int row = 1; row <= kRowCount; ++row) {
        const char* expected = c.rows[static_cast<std::size_t>(row - 1)];
        EXPECT_EQ(fields.Caption(row), expected ? expected : kUnwritten) << "row " << row;
    }
}

// Captions worked out from the printed constants and the display rules.
// Weight row 2 of the hidden units is grains (7000 to the pound).
// clang-format off
const RunCase kExamples[] = {
    {"LENGTH", "FEET", "1", {"12.", "FEET", ".3333333", ".1666667", ".0606061", ".0015152", ".0001894", ".0000631", "304.8", "30.48", "3.048", ".3048", ".03048", ".003048", ".0003048"}},
    {"LENGTH", "KILOMETERS", "1", {"39,370.0788", "3,280.8399", "1,093.6133", "546.80665", "198.8388", "4.9704", ".6213", ".2071", "1,000,000.", "100,000.", "10,000.", "1,000.", "100.", "10.", "KILOMETERS"}},
    {"LENGTH", "FEET", "123456789", {"1,481,481,000.", "FEET", "41,152,260.", "20,576,130.", "7,482,229.8181818", "187,055.8", "23,381.97", "7,793.989", "37,629,630,201.6", "3,762,963,020.16", "376,296,302.016", "37,629,630.2016", "3,762,963.02016", "376,296.302016", "37,629.6302016"}},
    {"LENGTH", "INCHES", "1234567", {"INCHES", "102,880.6", "34,293.53", "17,146.76", "6,235.187", "155.8797", "19.484959", "6.4949863", "31,358,001.8", "3,135,800.18", "313,580.018", "31,358.0018", "3,135.80018", "313.580018", "31.3580018"}},
    {"WEIGHT", "POUNDS", "1", {"256.", "7,000.", nullptr, nullptr, nullptr, "16.", "POUNDS", ".0005", "453.59237", "453,592.37", "45,359.237", "4,535.9237", "45.359237", "4.5359237", ".4535924"}},
    {"WEIGHT", "DRAMS", "1", {"DRAMS", "27.34375", nullptr, nullptr, nullptr, ".0625", ".0039063", ".000002", "1.772", "1,772.", "177.2", "17.72", ".1772", ".01772", ".001772"}},
    {"WEIGHT", "OUNCES", "1", {"16.", "437.5", nullptr, nullptr, nullptr, "OUNCES", ".0625", ".0000313", "28.3495231", "28,349.523125", "2,834.9523125", "283.4952313", "2.8349523", ".2834952", ".0283495"}},
    {"WEIGHT", "GRAMS", "1", {".564383", "15.4323584", nullptr, nullptr, nullptr, ".035274", ".0022046", ".0000011", "GRAMS", "1,000.", "100.", "10.", ".1", ".01", ".001"}},
    {"WEIGHT", "MILLIGRAMS", "1000000", {"564.383", "15,432.3583529", nullptr, nullptr, nullptr, "35.27396", "2.2046226", ".0011023", "1,000.", "MILLIGRAMS", "100,000.", "10,000.", "100.", "10.", "1."}},
    {"WEIGHT", "CENTIGRAMS", "100", {".564383", "15.4323584", nullptr, nullptr, nullptr, ".035274", ".0022046", ".0000011", "1.", "1,000.", "CENTIGRAMS", "10.", ".1", ".01", ".001"}},
    {"WEIGHT", "DECIGRAMS", "1", {".0564383", "1.5432358", nullptr, nullptr, nullptr, ".0035274", ".0002205", ".0000001", ".1", "100.", "10.", "DECIGRAMS", ".01", ".001", ".0001"}},
    {"WEIGHT", "KILOGRAMS", "0.1", {"56.4383008", "1,543.2358583", nullptr, nullptr, nullptr, "3.5273961", ".2204623", ".0001102", "100.", "100,000.0014901", "10,000.000149", "1,000.", "10.", "1.", "KILOGRAMS"}},
    {"WEIGHT", "STONES", "3", {"10,752.", "294,000.", "6.", ".1153846", "STONES", "672.", "42.", ".021", "19,050.87954", "19,050,879.54", "1,905,087.954", "190,508.7954", "1,905.087954", "190.5087954", "19.0508795"}},
    {"WEIGHT", "CLOVES", "1", {"1,792.", "49,000.", "CLOVES", ".0192308", ".5", "112.", "7.", ".0035", "3,175.14659", "3,175,146.59", "317,514.659", "31,751.4659", "317.514659", "31.7514659", "3.1751466"}},
    {"CAPACITY", "GALLONS(US)", "1", {".031746", "GALLONS(US)", ".832674", "4.", "3.3307019", "8.", "6.66158", "16.", "128.", "133.228", "256.", "768.", "3,785.41", "3.78541", ".0037854"}},
    {"CAPACITY", "QUARTS(US)", "3", {".0238095", ".75", ".624507", "QUARTS(US)", "2.4980265", "6.", "4.9960529", "12.", "96.", "99.921058", "192.", "576.", "2,839.059", "2.839059", ".0028391"}},
    {"CAPACITY", "PINTS(US)", "2", {".0079365", ".25", ".208168", "1.", ".8326755", "PINTS(US)", "1.665396", "4.", "32.", "33.307", "64.", "192.", "946.354", ".946352", ".0009464"}},
    {"CAPACITY", "LITER", "0.1", {".0008386", ".0264172", ".0219969", ".105669", ".0879878", ".211338", ".17598", ".422675", "3.3814001", "3.5195101", "6.7628101", "20.2884003", "100.", "LITER", ".0001"}},
};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Examples, FullRunTest, ::testing::ValuesIn(kExamples));

TEST(Recompute, SingleRowExamples) {
    const struct {
        const char *category, *unit, *input;
        int row;
        const char* caption;
    } cases[] = {
        // clang-format off
        {"LENGTH", "FEET", "2", 1, "24."},           {"LENGTH", "FEET", "2", 3, ".6666667"},
        {"LENGTH", "FEET", "2", 9, "609.6"},         {"LENGTH", "FEET", "-3", 1, "-36."},
        {"LENGTH", "FEET", "-3", 4, "-.5"},          {"LENGTH", "FEET", "12 ft", 1, "144."},
        {"LENGTH", "LEAGUE", "1", 9, "4,828,032."},  {"LENGTH", "LEAGUE", "1", 10, "482,803.2"},
        {"LENGTH", "MILLIMETERS", "1", 2, ".0033"},  {"LENGTH", "MILLIMETERS", "1", 4, ".0005468"},
        {"LENGTH", "INCHES", "1", 2, ".0833333"},    {"LENGTH", "INCHES", "1", 7, ".0000158"},
        // ÷ 220 × 0.010936 in double; a single between the steps shows 6,136.925046.
        {"LENGTH", "CENTIMETERS", "123456789", 6, "6,136.9248969"},
        {"CAPACITY", "QUARTS(GB)", "1", 1, ".0095314"}, {"CAPACITY", "BARREL(US)", "1", 5, "104.916924"},
        {"WEIGHT", "SACKS", "1", 2, "2,548,000."},
        // clang-format on
    };
    for (const auto& c : cases) {
        MemoryFields fields(c.category, c.unit, c.input);
        RecomputeResults(fields, kCommaPoint);
        EXPECT_EQ(fields.Caption(c.row), c.caption)
            << c.unit << " \"" << c.input << "\" row " << c.row;
    }
}

// Every unit of every table: its cells in the block's order, each written
// once, then its own row marked with its name. An empty box reads as 0;
// beyond the single range the input is infinite.
TEST(Recompute, EveryUnitWritesItsCellsThenMarksItself) {
    for (const Table* table : {&LengthTable(), &WeightTable(), &CapacityTable()}) {
        for (const Block& block : table->blocks) {
            for (const auto& [input, shown] :
                 {std::pair{"", "."}, {"1e39", "Out of range"}, {"-1e39", "Out of range"}}) {
                SCOPED_TRACE(block.unit + " \"" + input + "\"");
                MemoryFields fields(table->category, block.unit, input);
                EXPECT_EQ(Describe(RecomputeResults(fields, kCommaPoint)), "ok");
                ASSERT_EQ(fields.writes.size(), block.cells.size() + 1);
                for (std::size_t k = 0; k < block.cells.size(); ++k)
                    EXPECT_EQ(fields.writes[k],
                              std::make_pair(block.cells[k].row, std::string(shown)));
                EXPECT_EQ(fields.writes.back(), std::make_pair(UnitRow(block.unit), block.unit));
            }
        }
    }
}

// Each formatted caption comes with the number it was formatted from, in its
// cell's precision; the marked row comes with none.
TEST(Recompute, EveryCaptionComesWithTheNumberItShows) {
    for (const Table* table : {&LengthTable(), &WeightTable(), &CapacityTable()}) {
        for (const Block& block : table->blocks) {
            SCOPED_TRACE(block.unit);
            MemoryFields fields(table->category, block.unit, "1234.5678");
            RecomputeResults(fields, kCommaPoint);
            ASSERT_EQ(fields.numbers.size(), block.cells.size() + 1);
            for (std::size_t k = 0; k < block.cells.size(); ++k) {
                ASSERT_TRUE(fields.numbers[k].has_value());
                EXPECT_EQ(fields.numbers[k]->precision, block.cells[k].precision);
                EXPECT_EQ(FormatResult(fields.numbers[k]->value, fields.numbers[k]->precision,
                                       kCommaPoint),
                          fields.writes[k].second);
            }
            EXPECT_FALSE(fields.numbers.back().has_value());
        }
    }
}

// Every write, a failure's included, comes with the unit string of its row
// in the category run, the hidden weight rows' too.
TEST(Recompute, EveryWriteComesWithTheUnitOfItsRow) {
    for (const Category& category : Categories()) {
        for (const std::string& unit : category.units) {
            for (const char* input : {"1", "1e38"}) {
                SCOPED_TRACE(unit + " \"" + input + "\"");
                MemoryFields fields(category.name, unit, input);
                RecomputeResults(fields, kCommaPoint, OnFailure::ShowInRows);
                ASSERT_FALSE(fields.writes.empty());
                for (std::size_t k = 0; k < fields.writes.size(); ++k) {
                    const int row = fields.writes[k].first;
                    EXPECT_EQ(fields.units[k], category.units[static_cast<std::size_t>(row - 1)])
                        << "row " << row;
                }
            }
        }
    }
}

// A recompute reads each of the three fields once, whatever it meets, and
// says what it read: the window describes the results from that.
TEST(Recompute, ReadsEachFieldOnceAndSaysWhatItRead) {
    struct CountingFields : MemoryFields {
        using MemoryFields::MemoryFields;
        std::string InputText() const override { return ++inputs, MemoryFields::InputText(); }
        std::string UnitText() const override { return ++units, MemoryFields::UnitText(); }
        std::string CategoryTitle() const override {
            return ++titles, MemoryFields::CategoryTitle();
        }
        mutable int inputs = 0, units = 0, titles = 0;
    };
    const struct {
        const char *category, *unit, *input;
        int reads;  // of the input and the unit: none without a table
        float value;
    } cases[] = {
        {"LENGTH", "FEET", "12 ft", 1, 12.0f}, {"WEIGHT", "STONES", "1e38", 1, 1e38f},
        {"CAPACITY", "feet", "2", 1, 2.0f},    {"LENGTH", "LEAGUE", "2.2e34", 1, 2.2e34f},
        {"length", "FEET", "12", 0, 0.0f},     {"", "", "", 0, 0.0f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.category) + " " + c.unit + " \"" + c.input + "\"");
        CountingFields fields(c.category, c.unit, c.input);
        const RunStatus status = RecomputeResults(fields, kCommaPoint, OnFailure::ShowInRows);
        EXPECT_EQ(fields.titles, 1);
        EXPECT_EQ(fields.inputs, c.reads);
        EXPECT_EQ(fields.units, c.reads);
        EXPECT_EQ(status.input.has_value(), c.reads == 1);
        if (status.input) {
            EXPECT_EQ(*status.input, c.value);
        }
        EXPECT_EQ(status.unit, c.reads == 1 ? c.unit : "");
    }
}

TEST(Recompute, OverflowStopsTheRunAtTheFailingCell) {
    const struct {
        const char *category, *unit, *input, *status;
        std::vector<int> written;  // rows, in order, the marking included
    } cases[] = {
        // clang-format off
        {"LENGTH", "LEAGUE", "2.2e34", "overflow at row 2", {1}},
        {"LENGTH", "LEAGUE", "-2.2e34", "overflow at row 2", {1}},
        {"CAPACITY", "BARREL(US)", "1e35", "overflow at row 9", {2, 3, 4, 5, 6, 7, 8}},
        // TONS × 32000 into row 6 is the first weight cell to overflow.
        {"WEIGHT", "TONS", "1.0634e34", "overflow at row 6", {1, 2}},
        {"WEIGHT", "TONS", "1e34", "ok", {1, 2, 6, 7, 9, 10, 11, 12, 13, 14, 15, 8}},
        // × 5280 lands between FLT_MAX and the half-way point: no overflow.
        {"LENGTH", "MILES", "6.444741593672507e34", "ok", {1, 2, 3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 7}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " \"" + c.input + "\"");
        MemoryFields fields(c.category, c.unit, c.input);
        EXPECT_EQ(Describe(RecomputeResults(fields, kCommaPoint)), c.status);
        std::vector<int> rows;
        for (const auto& write : fields.writes) rows.push_back(write.first);
        EXPECT_EQ(rows, c.written);
    }
    MemoryFields fields("LENGTH", "MILES", "6.444741593672507e34");
    RecomputeResults(fields, kCommaPoint);
    EXPECT_EQ(fields.Caption(2), "340,282,300,000,000,000,000,000,000,000,000,000,000.");
}

// What the window shows: after a failing cell, its row names the error and
// every row the run did not write is emptied, whatever it showed before; the
// rows written before the cell keep their numbers. A run that does not fail
// writes the same either way, but for a unit text with no block, which
// empties every row.
TEST(Recompute, AFailingCellIsShownInTheRows) {
    const struct {
        const char *category, *unit, *input;
        int failedRow;  // 0: the run does not fail; -1: no block for the unit
    } cases[] = {
        {"LENGTH", "LEAGUE", "2.2e34", 2},  {"CAPACITY", "BARREL(US)", "1e35", 9},
        {"WEIGHT", "TONS", "1.0634e34", 6}, {"WEIGHT", "STONES", "3", 0},
        {"LENGTH", "feet", "1", -1},        {"LENGTH", "MILES7", "1", -1},
        {"CAPACITY", "POUNDS", "1", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.unit) + " \"" + c.input + "\"");
        MemoryFields stopped(c.category, c.unit, c.input), shown(c.category, c.unit, c.input);
        for (MemoryFields* fields : {&stopped, &shown}) {
            for (int row = 1; row <= kRowCount; ++row)
                fields->SetValueCaption(row, "earlier", CellNumber{1, Double}, "");
            fields->writes.clear();
        }
        RecomputeResults(stopped, kCommaPoint, OnFailure::Stop);
        RecomputeResults(shown, kCommaPoint, OnFailure::ShowInRows);
        for (int row = 1; row <= kRowCount; ++row) {
            std::string expected = stopped.Caption(row);
            if (row == c.failedRow)
                expected = "Overflow";
            else if (c.failedRow != 0 && expected == "earlier")
                expected = "";
            if (c.failedRow == -1) {
                EXPECT_EQ(stopped.Caption(row), "earlier");
            }
            EXPECT_EQ(shown.Caption(row), expected) << "row " << row;
        }
        if (c.failedRow == 0) {
            EXPECT_EQ(shown.writes, stopped.writes);
        }
    }
}

TEST(Recompute, NothingIsWrittenWithoutAMatchingCategoryAndUnit) {
    const struct {
        const char *category, *unit;
    } cases[] = {
        // clang-format off
        {"", "FEET"}, {"", "POUNDS"}, {"length", "FEET"}, {"LENGTH ", "FEET"},
        {"weight", "POUNDS"}, {"Capacity", "LITER"}, {"NOTHING", "GALLONS(US)"},
        {"LENGTH", "feet"}, {"LENGTH", "Feet"}, {"LENGTH", ""}, {"LENGTH", "POUNDS"},
        {"WEIGHT", "FEET"}, {"WEIGHT", "pounds"}, {"WEIGHT", "OUNCES(US)"},
        {"CAPACITY", "OUNCES"}, {"CAPACITY", "barrel(us)"}, {"CAPACITY", "GALLONS (US)"},
        // clang-format on
    };
    for (const auto& c : cases) {
        MemoryFields fields(c.category, c.unit, "1");
        EXPECT_EQ(Describe(RecomputeResults(fields, kCommaPoint)), "nothing matched")
            << '"' << c.category << "\" \"" << c.unit << '"';
        EXPECT_TRUE(fields.writes.empty());
    }
}

// A cell failing for a reason the printed tables cannot produce still
// stops the run and names the reason, in the status and, as the window
// shows it, in its row.
TEST(Recompute, DescribesEachKindOfCellFailure) {
    const struct {
        Step step;
        const char *input, *status, *caption;
    } cases[] = {
        {Div(0), "1", "division by zero at row 4", "Division by zero"},
        {Mul(0), "1e39", "invalid operation at row 4", "Invalid operation"},
        {Twice(), "3e38", "overflow at row 4", "Overflow"},
    };
    for (const auto& c : cases) {
        const Table table{
            "TEST",
            {{"X", {{3, {Div(2)}, Single}, {4, {c.step}, Single}, {5, {Mul(3)}, Single}}}},
            {{"X", 1}}};
        MemoryFields fields("TEST", "X", c.input);
        EXPECT_EQ(Describe(RunTable(table, fields, kCommaPoint)), c.status);
        ASSERT_EQ(fields.writes.size(), 1u) << c.status;
        EXPECT_EQ(fields.writes[0].first, 3);
        MemoryFields shown("TEST", "X", c.input);
        RunTable(table, shown, kCommaPoint, OnFailure::ShowInRows);
        EXPECT_EQ(shown.Caption(4), c.caption);
        EXPECT_EQ(shown.Caption(5), "");
    }
}

TEST(Recompute, UsesTheSeparatorsItIsGiven) {
    MemoryFields fields("LENGTH", "KILOMETERS", "1");
    RecomputeResults(fields, Separators{"\u202F", ","});
    EXPECT_EQ(fields.Caption(1), "39\u202F370,0788");
    EXPECT_EQ(fields.Caption(8), ",2071");
}

}  // namespace
}  // namespace mensura
