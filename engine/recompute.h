#pragma once

// What the main window may call of the engine: one recompute of the value
// column from what the fields show, the input value as a recompute reads it,
// and, through the headers below, the catalogue (for the category switch and
// the unit choice), the number texts (for copying and the tooltip) and the
// words on how the input was read. The
// tables and their cells stay behind this header (table.h, cell.h).
#include "catalogue.h"
#include "converter_fields.h"
#include "input_reading.h"
#include "number_text.h"

namespace mensura {

// Runs the table of the category that the title shows, if any: reads the
// input, runs the block of the unit in the selector and marks the unit's own
// row. The title is read once; no table changes it.
RunStatus RecomputeResults(ConverterFields& fields, const Separators& separators = {},
                           OnFailure onFailure = OnFailure::Stop);

// The input box's text as the single-precision input value: its leading
// number, rounded once to the nearest single.
float ReadInputValue(const ConverterFields& fields);

}  // namespace mensura
