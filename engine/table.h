#pragma once

// A conversion table and its run: a category's blocks of cells in test order
// and its marking list, the three tables themselves (one file each), and the
// run that RecomputeResults makes of one of them. Behind the window's header
// (recompute.h): for the table files, the tests, the probe and the tools.
#include <string>
#include <vector>

#include "catalogue.h"
#include "cell.h"
#include "converter_fields.h"

namespace mensura {

// The cells a unit writes when it is the unit the number is in, in the
// order they are evaluated and written.
struct Block {
    std::string unit;
    std::vector<Cell> cells;
};

// A unit string and the row whose value label the marking pass writes it
// into.
struct Mark {
    std::string unit;
    int row;
};

// One category's conversions: blocks in test order and the marking list.
struct Table {
    std::string category;
    std::vector<Block> blocks;
    std::vector<Mark> marking;
};

const Table& LengthTable();
const Table& WeightTable();
const Table& CapacityTable();

// The marking list of a category whose every unit marks its own row.
std::vector<Mark> MarkingInRowOrder(const Category& category);

// The table run: read the input, run the block of the unit in the selector,
// mark the unit's own row. A failing cell ends it as `onFailure` says.
RunStatus RunTable(const Table& table, ConverterFields& fields, const Separators& separators,
                   OnFailure onFailure = OnFailure::Stop);

}  // namespace mensura
