#pragma once

// The unit catalogue: for each category, the unit string of every result
// row, the unit selector's items, the default unit and the name labels'
// captions; and the row of any unit string.
#include <array>
#include <string>
#include <vector>

namespace mensura {

constexpr int kRowCount = 15;

// One category: which unit sits in which row, what the unit selector offers
// and what the row-name labels show.
struct Category {
    std::string name;                                 // "LENGTH", "WEIGHT", "CAPACITY"
    std::array<std::string, kRowCount> units;         // unit string of rows 1..15
    std::vector<std::string> selectorItems;           // in the selector's order
    std::string defaultUnit;                          // selector text after entering
    std::array<std::string, kRowCount> nameCaptions;  // captions of lb_1..lb_15
};

// The three categories in the order the unit-selection pass walks them:
// LENGTH, WEIGHT, CAPACITY.
const std::array<Category, 3>& Categories();

// The category with this exact name, or nullptr.
const Category* FindCategory(const std::string& name);

// The row (1..15) of a unit string of any category, or 0 when the text is
// none of the 45 unit strings. Exact comparison: case and length count.
int UnitRow(const std::string& unit);

}  // namespace mensura
