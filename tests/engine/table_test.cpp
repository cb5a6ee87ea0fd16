// Properties that hold over every cell of the three conversion tables.
#include "table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "catalogue.h"

namespace mensura {
namespace {

struct TableCase {
    const Table* table;
    int cellCount;
};

std::vector<TableCase> AllTables() {
    return {{&LengthTable(), 210}, {&WeightTable(), 174}, {&CapacityTable(), 210}};
}

const std::string& UnitOf(const Category& category, int row) {
    return category.units.at(static_cast<std::size_t>(row - 1));
}

// What a cell makes of 1 of its block's unit, its steps run in double.
double CellFactor(const Cell& cell) {
    double factor = 1;
    for (const Step& step : cell.steps) {
        if (step.op == Step::Op::Mul) factor *= step.constant;
        if (step.op == Step::Op::Div) factor /= step.constant;
        if (step.op == Step::Op::Twice) factor *= 2;
    }
    return factor;
}

const Table& TableOf(const std::string& unit) {
    for (const Table* table : {&LengthTable(), &WeightTable(), &CapacityTable()})
        for (const Block& block : table->blocks)
            if (block.unit == unit) return *table;
    throw std::out_of_range("no table converts " + unit);
}

bool IsHiddenWeightUnit(const std::string& unit) {
    return unit == "CLOVES" || unit == "SACKS" || unit == "STONES";
}

// The rows a block must write: every other row, except that the listed
// weight units leave the hidden rows 3 to 5 alone.
std::vector<int> ExpectedRows(const Category& category, const std::string& unit) {
    const bool listedWeight = category.name == "WEIGHT" && !IsHiddenWeightUnit(unit);
    std::vector<int> rows;
    for (int row = 1; row <= kRowCount; ++row) {
        if (row == UnitRow(unit)) continue;
        if (listedWeight && row >= 3 && row <= 5) continue;
        rows.push_back(row);
    }
    return rows;
}

// Row 2 of the hidden weight blocks is our own choice (grains), not a
// printed cell; some counts leave it out.
bool IsHiddenGrainsCell(const Table& table, const Block& block, const Cell& cell) {
    return table.category == "WEIGHT" && IsHiddenWeightUnit(block.unit) && cell.row == 2;
}

TEST(TableShape, BlocksAndMarkingCoverEveryUnit) {
    // Weight tests the hidden units after GRAINS and GRAMS after DECIGRAMS;
    // the other two tables test in row order.
    const std::vector<std::string> weightOrder = {"DRAMS",      "GRAINS",     "CLOVES",    "SACKS",
                                                  "STONES",     "OUNCES",     "POUNDS",    "TONS",
                                                  "MILLIGRAMS", "CENTIGRAMS", "DECIGRAMS", "GRAMS",
                                                  "DECAGRAMS",  "HECTOGRAMS", "KILOGRAMS"};
    for (const TableCase& t : AllTables()) {
        const Category* found = FindCategory(t.table->category);
        ASSERT_NE(found, nullptr) << t.table->category;
        const Category& category = *found;
        SCOPED_TRACE(category.name);
        std::vector<std::string> order;
        int cells = 0;
        for (const Block& block : t.table->blocks) {
            order.push_back(block.unit);
            std::vector<int> rows;
            for (const Cell& cell : block.cells) rows.push_back(cell.row);
            EXPECT_EQ(rows, ExpectedRows(category, block.unit)) << block.unit;
            cells += static_cast<int>(block.cells.size());
        }
        EXPECT_EQ(cells, t.cellCount);
        EXPECT_EQ(order,
                  category.name == "WEIGHT"
                      ? weightOrder
                      : std::vector<std::string>(category.units.begin(), category.units.end()));
        ASSERT_EQ(t.table->marking.size(), 15u);
        for (int row = 1; row <= kRowCount; ++row) {
            const Mark& mark = t.table->marking[static_cast<std::size_t>(row - 1)];
            EXPECT_EQ(mark.unit, UnitOf(category, row));
            EXPECT_EQ(mark.row, row);
        }
    }
}

TEST(TableShape, CellIsSingleExactlyWhenItsConstantsAreSmallWholeNumbers) {
    std::map<std::string, std::pair<int, int>> singleDouble;  // printed cells only
    for (const TableCase& t : AllTables()) {
        for (const Block& block : t.table->blocks) {
            for (const Cell& cell : block.cells) {
                SCOPED_TRACE(block.unit + " row " + std::to_string(cell.row));
                bool smallWhole = true;
                int steps = 0;
                for (const Step& step : cell.steps) {
                    if (step.op == Step::Op::None) continue;
                    ++steps;
                    if (step.op == Step::Op::Twice) continue;
                    if (step.constant != std::floor(step.constant) || step.constant > 32767)
                        smallWhole = false;
                }
                EXPECT_GE(steps, 1);
                EXPECT_EQ(cell.precision == Single, smallWhole);
                if (IsHiddenGrainsCell(*t.table, block, cell)) continue;
                auto& count = singleDouble[t.table->category];
                ++(cell.precision == Single ? count.first : count.second);
            }
        }
    }
    EXPECT_EQ(singleDouble["WEIGHT"], std::make_pair(58, 113));
    EXPECT_EQ(singleDouble["CAPACITY"], std::make_pair(31, 179));
}

// Each unit in a base unit of its category (millimetre, gram, litre),
// from the definitions rather than from the tables.
std::map<std::string, double> BaseAmounts() {
    const double inch = 25.4, foot = 12 * inch, mile = 5280 * foot;
    const double pound = 453.59237, ounce = pound / 16;
    const double gallonUs = 3.785411784, flOzUs = gallonUs / 128, tbsp = flOzUs / 2;
    const double gallonGb = 4.54609;
    // clang-format off
    return {
        {"INCHES", inch}, {"FEET", foot}, {"YARDS", 3 * foot}, {"FATHOM", 6 * foot},
        {"RODS", 16.5 * foot}, {"FURLONG", 660 * foot}, {"MILES", mile}, {"LEAGUE", 3 * mile},
        {"MILLIMETERS", 1}, {"CENTIMETERS", 10}, {"DECIMETERS", 100}, {"METERS", 1e3},
        {"DEKAMETERS", 1e4}, {"HECTOMETERS", 1e5}, {"KILOMETERS", 1e6},

        {"DRAMS", ounce / 16}, {"GRAINS", pound / 7000}, {"CLOVES", 7 * pound},
        {"SACKS", 364 * pound}, {"STONES", 14 * pound}, {"OUNCES", ounce}, {"POUNDS", pound},
        {"TONS", 2000 * pound}, {"GRAMS", 1}, {"MILLIGRAMS", 1e-3}, {"CENTIGRAMS", 1e-2},
        {"DECIGRAMS", 1e-1}, {"DECAGRAMS", 10}, {"HECTOGRAMS", 100}, {"KILOGRAMS", 1e3},

        {"BARREL(US)", 31.5 * gallonUs}, {"GALLONS(US)", gallonUs}, {"GALLONS(GB)", gallonGb},
        {"QUARTS(US)", gallonUs / 4}, {"QUARTS(GB)", gallonGb / 4}, {"PINTS(US)", gallonUs / 8},
        {"PINTS(GB)", gallonGb / 8}, {"CUPS", gallonUs / 16}, {"OUNCES(US)", flOzUs},
        {"OUNCES(GB)", gallonGb / 160}, {"TABLESPOONS", tbsp}, {"TEASPOONS", tbsp / 3},
        {"MILLILITER", 1e-3}, {"LITER", 1}, {"KILOLITER", 1e3},
    };
    // clang-format on
}

// Catches a mistyped constant, a × for a ÷ or a cell in the wrong row; the
// table's own shortened constants (0.0033 feet per millimetre, ...) pass.
TEST(TableFactors, EveryCellIsWithinOnePercentOfTheUnitDefinitions) {
    const auto base = BaseAmounts();
    for (const TableCase& t : AllTables()) {
        const Category* found = FindCategory(t.table->category);
        ASSERT_NE(found, nullptr) << t.table->category;
        const Category& category = *found;
        for (const Block& block : t.table->blocks) {
            for (const Cell& cell : block.cells) {
                const double factor = CellFactor(cell);
                const std::string& to = UnitOf(category, cell.row);
                const double exact = base.at(block.unit) / base.at(to);
                EXPECT_NEAR(factor / exact, 1.0, 0.01) << block.unit << " -> " << to;
            }
        }
    }
}

// Unit strings are looked up without a category, exactly as typed. Weight
// keeps rows 3 to 5 out of the selector and leaves their names blank.
TEST(Catalogue, UnitStringsAndWhatTheSelectorOffers) {
    std::set<std::string> all;
    for (const Category& category : Categories()) {
        std::vector<std::string> offered;
        for (int row = 1; row <= kRowCount; ++row) {
            const std::string& unit = UnitOf(category, row);
            const bool hidden = category.name == "WEIGHT" && row >= 3 && row <= 5;
            all.insert(unit);
            EXPECT_EQ(UnitRow(unit), row) << unit;
            EXPECT_EQ(category.nameCaptions[static_cast<std::size_t>(row - 1)], hidden ? "" : unit);
            if (!hidden) offered.push_back(unit);
        }
        EXPECT_EQ(category.selectorItems, offered) << category.name;
    }
    EXPECT_EQ(all.size(), 45u);
    for (const char* text : {"feet", "Feet", " FEET", "FEET ", "GALLONS (US)", "", "LENGTH"})
        EXPECT_EQ(UnitRow(text), 0) << '"' << text << '"';
    EXPECT_EQ(FindCategory("length"), nullptr);
}

// Every size a unit's note states is what that unit's table makes of 1 of
// it in the row of the size's unit, to the last digit the note writes; the
// note's line names it in the unit's symbol.
TEST(Catalogue, UnitNotesStateTheTablesOwnSizes) {
    for (const UnitNote& note : UnitNotes()) {
        SCOPED_TRACE(note.unit);
        const std::string unit = note.unit;  // a named string: no temporary behind the reference
        const Table& table = TableOf(unit);
        const Category& category = *FindCategory(table.category);
        const std::string line = UnitNoteText(note.unit);
        EXPECT_EQ(line.rfind(note.kind, 0), 0u) << line;
        ASSERT_FALSE(note.sizes.empty());
        for (const StatedSize& size : note.sizes) {
            SCOPED_TRACE(size.of);
            // The amount as written: grouping commas, or a fraction "1/16".
            std::string amount = size.amount;
            amount.erase(std::remove(amount.begin(), amount.end(), ','), amount.end());
            const std::size_t slash = amount.find('/');
            const double stated =
                slash == std::string::npos
                    ? std::stod(amount)
                    : std::stod(amount.substr(0, slash)) / std::stod(amount.substr(slash + 1));
            const int row = UnitRow(size.of);
            ASSERT_EQ(UnitOf(category, row), size.of) << "not a unit of " << category.name;
            const Block* block = nullptr;
            for (const Block& b : table.blocks)
                if (b.unit == note.unit) block = &b;
            const Cell* cell = nullptr;
            for (const Cell& c : block->cells)
                if (c.row == row) cell = &c;
            ASSERT_NE(cell, nullptr);
            EXPECT_NEAR(stated / CellFactor(*cell), 1.0, 1e-12) << size.amount;
            EXPECT_FALSE(UnitSymbol(size.of).empty());
            EXPECT_NE(line.find(std::string(size.amount) + " " + UnitSymbol(size.of)),
                      std::string::npos)
                << line;
        }
    }
    EXPECT_EQ(UnitNoteText("TONS"),
              "short ton (2,000 lb, 907.18474 kg), not the long ton (2,240 lb) or the tonne "
              "(1,000 kg)");
    for (const char* plain : {"INCHES", "METERS", "GRAMS", "LITER", "feet", ""})
        EXPECT_EQ(UnitNoteText(plain), "") << plain;
}

}  // namespace
}  // namespace mensura
