#pragma once

#include <string>

namespace mensura {

// What a table run may read and write of the main window. The window
// implements it over its own controls; tests and the probe fake it.
class ConverterFields {
public:
    virtual ~ConverterFields() = default;
    virtual std::string InputText() const = 0;      // the input box
    virtual std::string UnitText() const = 0;       // the unit selector's text
    virtual std::string CategoryTitle() const = 0;  // the category title label
    // Sets the caption of the value label of a result row, row 1..15.
    virtual void SetValueCaption(int row, const std::string& caption) = 0;
};

}  // namespace mensura
