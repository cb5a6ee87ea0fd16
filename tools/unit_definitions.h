#pragma once

// The definitions of Mensura's 45 units (legal ones, or the size the table
// follows for a unit of several sizes), and every cell of the three
// conversion tables set against them: what the window shows for 1 of a
// unit, and what the definitions make of it.
#include <string>
#include <vector>

#include "catalogue.h"
#include "exact_number.h"
#include "recompute.h"
#include "table.h"

namespace mensura::exact {

// Where a definition comes from.
struct Source {
    const char* key;   // "1959", "HB44", ...
    const char* text;  // the source, named for the reader
};
const std::vector<Source>& Sources();

// One unit: `amount` of the unit `of` ("1/3" of "YARDS"); the base unit of
// a category (METERS, GRAMS, LITER) has no `of`.
struct Definition {
    const char* unit;
    const char* amount;  // as exact_number's Parse reads it
    const char* of;
    const char* wording;  // the definition, as the page states it
    const char* source;   // a Source key
};
const std::vector<Definition>& Definitions();

// The definition of a unit string; throws std::out_of_range for none.
const Definition& DefinitionOf(const std::string& unit);

// A unit's size in its category's base unit, from the definitions.
Fraction Size(const std::string& unit);

// The base unit's name for sizes ("m", "g", "L").
const char* BaseSymbol(const std::string& category);

// The kind of a unit, for counting where the factors are rounded: "metric";
// "imperial" and "US" for the capacity units that differ between Britain
// and the United States; "standard" for the lengths and weights the two
// share.
const char* KindOf(const std::string& unit);

// How many significant digits of an exact value the pages write before they
// cut it off.
constexpr int kExactDigits = 18;

// The factor of a cell's steps: each constant taken as the shortest
// decimal that reads back as it, which is the decimal the table wrote.
Fraction Factor(const Cell& cell);

// One cell of a table, for 1 of its block's unit.
struct CellReport {
    std::string from, to;  // unit strings: the block's and the row's
    bool hidden = false;   // from or to is a unit the selector does not offer
    Precision precision = Precision::Double;
    std::string shown;       // the caption the window shows
    Fraction exactValue;     // the exact value from the definitions
    std::string exact;       // Expansion of the exact value to kExactDigits
    std::string exactShown;  // the exact value, rounded and written as the caption is
    bool differs = false;    // shown != exactShown
    Fraction difference;     // (shown - exact) / exact
    Fraction factorError;    // (factor - exact) / exact; zero for an exact factor
};

// Every cell of a table in the order of its blocks and cells, each caption
// read through RecomputeResults with "1" in the input and "," and "." as
// separators, as the window would show it.
std::vector<CellReport> Survey(const Table& table);

// A relative difference in percent with two significant digits: "0",
// "+0.0029 %", "−0.58 %".
std::string Percent(const Fraction& relative);

}  // namespace mensura::exact
