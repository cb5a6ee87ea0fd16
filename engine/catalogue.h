#pragma once

// The unit catalogue: for each category, the unit string of every result
// row, the unit selector's items, the default unit and the name labels'
// captions; the row of any unit string; and, for the unit strings that could
// be read as more than one unit, which one Mensura's tables follow.
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

// A size that a unit's note states: `amount` (as the note writes it:
// "2,000", "1/16", "907.18474") of the unit string `of`, a unit of the same
// category; it is what the table makes of 1 of the noted unit in the row of
// `of` (a test holds the two against each other).
struct StatedSize {
    const char* amount;
    const char* of;
};

// What an ambiguous unit string stands for in Mensura: the kind of unit its
// table converts as, the sizes the table gives it, and the units of the same
// name it is not.
struct UnitNote {
    const char* unit;
    const char* kind;               // "short ton"
    std::vector<StatedSize> sizes;  // "2,000" of POUNDS, "907.18474" of KILOGRAMS
    const char* others;             // "not the long ton (2,240 lb) or ..."
};
const std::vector<UnitNote>& UnitNotes();

// The short symbol a note writes a unit string's sizes in ("lb", "mL",
// "US fl oz"); empty for a unit no note states a size in.
std::string UnitSymbol(const std::string& unit);

// The note of a unit string as one line, for its tooltip and accessible
// description: "short ton (2,000 lb, 907.18474 kg), not the long ton
// (2,240 lb) or the tonne (1,000 kg)". Empty for a unit string that needs
// none ("INCHES", "LITER") and for any other text.
std::string UnitNoteText(const std::string& unit);

}  // namespace mensura
