// The unit catalogue: the three categories, their rows' unit strings, what
// the unit selector offers and what the name labels show, and the notes on
// the units whose names could mean more than one unit.
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

// Each note's kind and sizes are those of its table (the sizes are checked
// against the table's cells); what a unit is not is said in words.
const std::vector<UnitNote>& UnitNotes() {
    // clang-format off
    static const std::vector<UnitNote> notes{
    // unit           kind                         sizes                                          others
    {"MILES",       "statute mile",              {{"5,280", "FEET"}, {"1,609.344", "METERS"}},    "not the nautical mile (1,852 m)"},
    {"LEAGUE",      "land league",               {{"3", "MILES"}, {"4,828.032", "METERS"}},       "one of several sizes of league"},
    {"DRAMS",       "avoirdupois dram",          {{"1/16", "OUNCES"}, {"27.34375", "GRAINS"}},    "not the apothecaries' dram (60 gr) or the fluid dram"},
    {"OUNCES",      "avoirdupois ounce",         {{"1/16", "POUNDS"}, {"28.349523125", "GRAMS"}}, "not the troy ounce (31.1034768 g) or a fluid ounce"},
    {"POUNDS",      "avoirdupois pound",         {{"16", "OUNCES"}, {"0.45359237", "KILOGRAMS"}}, "not the troy pound (373.2417216 g)"},
    {"TONS",        "short ton",                 {{"2,000", "POUNDS"}, {"907.18474", "KILOGRAMS"}}, "not the long ton (2,240 lb) or the tonne (1,000 kg)"},
    {"BARREL(US)",  "US liquid barrel",          {{"31.5", "GALLONS(US)"}, {"119.24", "LITER"}},  "not the oil barrel (42 US gal)"},
    {"GALLONS(US)", "US liquid gallon",          {{"4", "QUARTS(US)"}, {"3.78541", "LITER"}},     "not the imperial gallon (GALLONS(GB)) or the US dry gallon"},
    {"QUARTS(US)",  "US liquid quart",           {{"2", "PINTS(US)"}, {"0.946353", "LITER"}},     "not the imperial quart (QUARTS(GB)) or the US dry quart"},
    {"PINTS(US)",   "US liquid pint",            {{"16", "OUNCES(US)"}, {"0.473176", "LITER"}},   "not the imperial pint (PINTS(GB)) or the US dry pint"},
    {"CUPS",        "US cup",                    {{"8", "OUNCES(US)"}, {"236.588", "MILLILITER"}}, "not the metric cup (250 mL)"},
    {"OUNCES(US)",  "US fluid ounce",            {{"1/128", "GALLONS(US)"}, {"29.5735", "MILLILITER"}}, "a volume, not the ounce of weight"},
    {"OUNCES(GB)",  "imperial fluid ounce",      {{"1/160", "GALLONS(GB)"}, {"28.4131", "MILLILITER"}}, "a volume, not the ounce of weight"},
    {"TABLESPOONS", "US tablespoon",             {{"1/2", "OUNCES(US)"}, {"14.7868", "MILLILITER"}}, "not the metric tablespoon (15 mL)"},
    {"TEASPOONS",   "US teaspoon",               {{"4.92892", "MILLILITER"}},                     "not the metric teaspoon (5 mL)"},
    };
    // clang-format on
    return notes;
}

std::string UnitSymbol(const std::string& unit) {
    static const struct {
        const char *unit, *symbol;
    } symbols[] = {
        {"FEET", "ft"},
        {"MILES", "mi"},
        {"METERS", "m"},
        {"GRAINS", "gr"},
        {"OUNCES", "oz"},
        {"POUNDS", "lb"},
        {"GRAMS", "g"},
        {"KILOGRAMS", "kg"},
        {"GALLONS(US)", "US gal"},
        {"QUARTS(US)", "US qt"},
        {"PINTS(US)", "US pt"},
        {"OUNCES(US)", "US fl oz"},
        {"GALLONS(GB)", "imp gal"},
        {"LITER", "L"},
        {"MILLILITER", "mL"},
    };
    for (const auto& s : symbols)
        if (unit == s.unit) return s.symbol;
    return {};
}

std::string UnitNoteText(const std::string& unit) {
    for (const UnitNote& note : UnitNotes()) {
        if (unit != note.unit) continue;
        std::string text = note.kind;
        const char* separator = " (";
        for (const StatedSize& size : note.sizes) {
            text += separator;
            text += size.amount;
            text += ' ';
            text += UnitSymbol(size.of);
            separator = ", ";
        }
        if (!note.sizes.empty()) text += ')';
        return text + ", " + note.others;
    }
    return {};
}

}  // namespace mensura
