// The unit catalogue: the three categories, their rows' unit strings, what
// the unit selector offers and what the name labels show.
#include "catalogue.h"

namespace mensura {

namespace {

// The selector offers every row, in row order, and every name label shows
// its row's unit string.
Category FullCategory(std::string name, std::array<std::string, kRowCount> units,
                      std::string defaultUnit) {
    Category c;
    c.name = std::move(name);
    c.units = units;
    c.selectorItems.assign(units.begin(), units.end());
    c.defaultUnit = std::move(defaultUnit);
    c.nameCaptions = units;
    return c;
}

// Weight rows 3 to 5 hold units the selector never offers; their name labels
// stay blank, yet their rows are real rows of the table.
Category WeightCategory() {
    Category c;
    c.name = "WEIGHT";
    c.units = {"DRAMS",      "GRAINS",    "CLOVES",    "SACKS",      "STONES",
               "OUNCES",     "POUNDS",    "TONS",      "GRAMS",      "MILLIGRAMS",
               "CENTIGRAMS", "DECIGRAMS", "DECAGRAMS", "HECTOGRAMS", "KILOGRAMS"};
    for (int row = 1; row <= kRowCount; ++row) {
        const bool hidden = row >= 3 && row <= 5;
        const std::string& unit = c.units[static_cast<std::size_t>(row - 1)];
        if (!hidden) c.selectorItems.push_back(unit);
        c.nameCaptions[static_cast<std::size_t>(row - 1)] = hidden ? std::string() : unit;
    }
    c.defaultUnit = "POUNDS";
    return c;
}

}  // namespace

const std::array<Category, 3>& Categories() {
    static const std::array<Category, 3> categories = {
        FullCategory("LENGTH",
                     {"INCHES", "FEET", "YARDS", "FATHOM", "RODS", "FURLONG", "MILES", "LEAGUE",
                      "MILLIMETERS", "CENTIMETERS", "DECIMETERS", "METERS", "DEKAMETERS",
                      "HECTOMETERS", "KILOMETERS"},
                     "FEET"),
        WeightCategory(),
        FullCategory("CAPACITY",
                     {"BARREL(US)", "GALLONS(US)", "GALLONS(GB)", "QUARTS(US)", "QUARTS(GB)",
                      "PINTS(US)", "PINTS(GB)", "CUPS", "OUNCES(US)", "OUNCES(GB)", "TABLESPOONS",
                      "TEASPOONS", "MILLILITER", "LITER", "KILOLITER"},
                     "GALLONS(US)"),
    };
    return categories;
}

const Category* FindCategory(const std::string& name) {
    for (const Category& c : Categories())
        if (c.name == name) return &c;
    return nullptr;
}

int UnitRow(const std::string& unit) {
    for (const Category& c : Categories())
        for (int row = 1; row <= kRowCount; ++row)
            if (c.units[static_cast<std::size_t>(row - 1)] == unit) return row;
    return 0;
}

}  // namespace mensura
