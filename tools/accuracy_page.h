#pragma once

// The help's pages "How exact is each conversion", one per category: every
// cell of the table, what the window shows for 1 of the unit, the exact
// value from the units' definitions and how far apart they are. Written
// from the tables by mensura-accuracy-pages when Mensura is built, and read
// by the tests.
#include <string>
#include <vector>

#include "catalogue.h"
#include "table.h"

namespace mensura::exact {

struct AccuracyPage {
    const Table& table;
    const char* file;   // "accuracy-length.html"
    const char* name;   // "Length"
    const char* notes;  // what the comparison takes each unclear unit to be
};
const std::vector<AccuracyPage>& AccuracyPages();

// The page's HTML.
std::string AccuracyPageText(std::size_t index);

// A shown result counts as far off when it is at least this far from the
// exact value, relative to it: 1 in 10,000.
inline constexpr const char* kFarOff = "0.0001";

}  // namespace mensura::exact
