#include "unit_definitions.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

#include "memory_fields.h"

namespace mensura::exact {

const std::vector<Source>& Sources() {
    static const std::vector<Source> sources{
        {"1959",
         "The international yard and pound agreement of 1959: 1 yard = 0.9144 metre and "
         "1 pound (avoirdupois) = 0.45359237 kilogram, exactly."},
        {"HB44",
         "NIST Handbook 44, Appendix C, General Tables of Units of Measurement: the United "
         "States customary units."},
        {"WMA1985",
         "The Weights and Measures Act 1985 of the United Kingdom, Schedule 1, as enacted in "
         "1985: the imperial gallon of 4.54609 cubic decimetres with its quart, pint and fluid "
         "ounce, and the stone of 14 pounds. The Schedule has been amended since, and not all "
         "of these units are listed in it in force today; they are cited here as enacted."},
        {"SI",
         "The International System of Units (SI): the metre and the gram with their decimal "
         "multiples and parts, and the litre of exactly one cubic decimetre."},
        {"custom",
         "Custom: an old unit that has had more than one size and that no one law defines. The "
         "size given is the one Mensura's table follows; the notes above tell of others."},
    };
    return sources;
}

const std::vector<Definition>& Definitions() {
    // clang-format off
    static const std::vector<Definition> definitions{
    // unit            amount                     of              wording                                              source
    // Length, in metres.
    {"METERS",        "1",                       "",             "the metre",                                         "SI"},
    {"YARDS",         "0.9144",                  "METERS",       "0.9144 metre",                                      "1959"},
    {"FEET",          "1/3",                     "YARDS",        "1/3 yard",                                          "1959"},
    {"INCHES",        "1/36",                    "YARDS",        "1/36 yard (1/12 foot)",                             "1959"},
    {"FATHOM",        "6",                       "FEET",         "6 feet",                                            "HB44"},
    {"RODS",          "16.5",                    "FEET",         "16.5 feet",                                         "HB44"},
    {"FURLONG",       "660",                     "FEET",         "660 feet (40 rods)",                                "HB44"},
    {"MILES",         "5280",                    "FEET",         "5280 feet (8 furlongs), the statute mile",          "HB44"},
    {"LEAGUE",        "3",                       "MILES",        "3 statute miles, the land league",                  "custom"},
    {"MILLIMETERS",   "1/1000",                  "METERS",       "1/1000 metre",                                      "SI"},
    {"CENTIMETERS",   "1/100",                   "METERS",       "1/100 metre",                                       "SI"},
    {"DECIMETERS",    "1/10",                    "METERS",       "1/10 metre",                                        "SI"},
    {"DEKAMETERS",    "10",                      "METERS",       "10 metres",                                         "SI"},
    {"HECTOMETERS",   "100",                     "METERS",       "100 metres",                                        "SI"},
    {"KILOMETERS",    "1000",                    "METERS",       "1000 metres",                                       "SI"},
    // Weight, in grams; the pound and its parts are avoirdupois.
    {"GRAMS",         "1",                       "",             "the gram",                                          "SI"},
    {"POUNDS",        "453.59237",               "GRAMS",        "0.45359237 kilogram",                               "1959"},
    {"OUNCES",        "1/16",                    "POUNDS",       "1/16 pound",                                        "HB44"},
    {"DRAMS",         "1/16",                    "OUNCES",       "1/16 ounce (27 11/32 grains)",                      "HB44"},
    {"GRAINS",        "1/7000",                  "POUNDS",       "1/7000 pound (64.79891 milligrams)",                "HB44"},
    {"TONS",          "2000",                    "POUNDS",       "2000 pounds, the short ton",                        "HB44"},
    {"STONES",        "14",                      "POUNDS",       "14 pounds",                                         "WMA1985"},
    {"CLOVES",        "7",                       "POUNDS",       "7 pounds, the clove of wool",                       "custom"},
    {"SACKS",         "364",                     "POUNDS",       "364 pounds (26 stones), the sack of wool",          "custom"},
    {"MILLIGRAMS",    "1/1000",                  "GRAMS",        "1/1000 gram",                                       "SI"},
    {"CENTIGRAMS",    "1/100",                   "GRAMS",        "1/100 gram",                                        "SI"},
    {"DECIGRAMS",     "1/10",                    "GRAMS",        "1/10 gram",                                         "SI"},
    {"DECAGRAMS",     "10",                      "GRAMS",        "10 grams",                                          "SI"},
    {"HECTOGRAMS",    "100",                     "GRAMS",        "100 grams",                                         "SI"},
    {"KILOGRAMS",     "1000",                    "GRAMS",        "1000 grams",                                        "SI"},
    // Capacity, in litres (cubic decimetres; an inch is 0.254 dm).
    {"LITER",         "1",                       "",             "the litre, one cubic decimetre",                    "SI"},
    {"GALLONS(US)",   "231*0.254*0.254*0.254",   "LITER",        "231 cubic inches",                                  "HB44"},
    {"BARREL(US)",    "31.5",                    "GALLONS(US)",  "31.5 US gallons, the barrel for liquids",           "HB44"},
    {"QUARTS(US)",    "1/4",                     "GALLONS(US)",  "1/4 US gallon",                                     "HB44"},
    {"PINTS(US)",     "1/8",                     "GALLONS(US)",  "1/8 US gallon",                                     "HB44"},
    {"CUPS",          "1/2",                     "PINTS(US)",    "1/2 US pint (8 US fluid ounces), the measuring cup", "HB44"},
    {"OUNCES(US)",    "1/128",                   "GALLONS(US)",  "1/128 US gallon, the US fluid ounce",               "HB44"},
    {"TABLESPOONS",   "1/2",                     "OUNCES(US)",   "1/2 US fluid ounce",                                "HB44"},
    {"TEASPOONS",     "1/3",                     "TABLESPOONS",  "1/3 tablespoon",                                    "HB44"},
    {"GALLONS(GB)",   "4.54609",                 "LITER",        "4.54609 litres, the imperial gallon",               "WMA1985"},
    {"QUARTS(GB)",    "1/4",                     "GALLONS(GB)",  "1/4 imperial gallon",                               "WMA1985"},
    {"PINTS(GB)",     "1/8",                     "GALLONS(GB)",  "1/8 imperial gallon",                               "WMA1985"},
    {"OUNCES(GB)",    "1/20",                    "PINTS(GB)",    "1/20 imperial pint, the imperial fluid ounce",      "WMA1985"},
    {"MILLILITER",    "1/1000",                  "LITER",        "1/1000 litre",                                      "SI"},
    {"KILOLITER",     "1000",                    "LITER",        "1000 litres",                                       "SI"},
    };
    // clang-format on
    return definitions;
}

const Definition& DefinitionOf(const std::string& unit) {
    for (const Definition& d : Definitions())
        if (unit == d.unit) return d;
    throw std::out_of_range("no definition of " + unit);
}

Fraction Size(const std::string& unit) {
    Fraction size = Parse("1");
    std::string at = unit;
    // Each step leads towards the base; a chain longer than the table is
    // a loop.
    for (std::size_t steps = 0; steps <= Definitions().size(); ++steps) {
        const Definition& d = DefinitionOf(at);
        size = size * Parse(d.amount);
        if (*d.of == '\0') return size;
        at = d.of;
    }
    throw std::logic_error("the definition of " + unit + " goes round in a circle");
}

const char* BaseSymbol(const std::string& category) {
    return category == "LENGTH" ? "m" : category == "WEIGHT" ? "g" : "L";
}

const char* KindOf(const std::string& unit) {
    if (std::string(DefinitionOf(unit).source) == "SI") return "metric";
    // A capacity unit is of the gallon it is defined through.
    for (std::string at = unit; !at.empty(); at = DefinitionOf(at).of) {
        if (at == "GALLONS(US)") return "US";
        if (at == "GALLONS(GB)") return "imperial";
    }
    return "standard";
}

Fraction Factor(const Cell& cell) {
    Fraction factor = Parse("1");
    for (const Step& step : cell.steps) {
        if (step.op == Step::Op::None) continue;
        if (step.op == Step::Op::Twice) {
            factor = factor * Parse("2");
            continue;
        }
        char buffer[64];
        const auto result = std::to_chars(buffer, buffer + sizeof buffer, step.constant);
        const Fraction constant =
            Parse(std::string_view(buffer, static_cast<std::size_t>(result.ptr - buffer)));
        factor = step.op == Step::Op::Mul ? factor * constant : factor / constant;
    }
    return factor;
}

namespace {

// A caption read back as a number: grouping dropped, "." alone is zero.
Fraction CaptionValue(std::string caption) {
    caption.erase(std::remove(caption.begin(), caption.end(), ','), caption.end());
    if (caption == "." || caption == "-.") return Parse("0");
    return Parse(caption);
}

}  // namespace

std::vector<CellReport> Survey(const Table& table) {
    const Category* category = FindCategory(table.category);
    if (!category) throw std::invalid_argument("no category " + table.category);
    const auto offered = [&](const std::string& unit) {
        return std::find(category->selectorItems.begin(), category->selectorItems.end(), unit) !=
               category->selectorItems.end();
    };
    std::vector<CellReport> reports;
    for (const Block& block : table.blocks) {
        MemoryFields fields(table.category, block.unit, "1");
        RecomputeResults(fields, Separators{",", "."});
        for (const Cell& cell : block.cells) {
            CellReport r;
            r.from = block.unit;
            r.to = category->units.at(static_cast<std::size_t>(cell.row - 1));
            r.hidden = !offered(r.from) || !offered(r.to);
            r.precision = cell.precision;
            r.shown = fields.Caption(cell.row);
            r.exactValue = Size(r.from) / Size(r.to);
            r.exact = Expansion(r.exactValue, kExactDigits);
            r.exactShown = Pattern(
                RoundLikeCaption(r.exactValue, cell.precision == Precision::Single ? 7 : 15));
            r.differs = r.shown != r.exactShown;
            r.difference = (CaptionValue(r.shown) - r.exactValue) / r.exactValue;
            r.factorError = (Factor(cell) - r.exactValue) / r.exactValue;
            reports.push_back(std::move(r));
        }
    }
    return reports;
}

std::string Percent(const Fraction& relative) {
    if (relative.numerator.IsZero()) return "0";
    Decimal d = Leading(Abs(relative) * Parse("100"), 3);
    d = RoundAt(d, d.exponent + 1);
    return std::string(relative.negative ? "\u2212" : "+") + Plain(d) + " %";
}

}  // namespace mensura::exact
