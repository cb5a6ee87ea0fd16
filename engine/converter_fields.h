#pragma once

#include <optional>
#include <string>

#include "number_text.h"

namespace mensura {

// The number behind a value caption, as its cell computed it: already
// rounded to the cell's precision, before the display pattern.
struct CellNumber {
    double value = 0;
    Precision precision = Precision::Double;
};

// What a table run may read and write of the main window. The window
// implements it over its own controls; tests and the probe fake it.
class ConverterFields {
public:
    virtual ~ConverterFields() = default;
    virtual std::string InputText() const = 0;      // the input box
    virtual std::string UnitText() const = 0;       // the unit selector's text
    virtual std::string CategoryTitle() const = 0;  // the category title label
    // Sets the caption of the value label of a result row, row 1..15. A
    // formatted result comes with the number it was formatted from; a unit's
    // name (the source row) comes without one.
    virtual void SetValueCaption(int row, const std::string& caption,
                                 std::optional<CellNumber> number) = 0;
};

}  // namespace mensura
