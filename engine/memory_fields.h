#pragma once

// The fields of the main window held in memory: the three texts a recompute
// reads and the fifteen value captions it writes. What drives the engine
// without the window (the probe, the tools, the tests, the fuzz targets and
// the benchmarks) hands it one of these.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "catalogue.h"
#include "converter_fields.h"

namespace mensura {

class MemoryFields : public ConverterFields {
public:
    MemoryFields() = default;
    MemoryFields(std::string categoryTitle, std::string unitText, std::string inputText)
        : category(std::move(categoryTitle)),
          unit(std::move(unitText)),
          input(std::move(inputText)) {}

    std::string InputText() const override { return input; }
    std::string UnitText() const override { return unit; }
    std::string CategoryTitle() const override { return category; }
    // Keeps the caption of a row in range; with `record`, also every write,
    // in order, rows out of range included.
    void SetValueCaption(int row, const std::string& caption, std::optional<CellNumber> number,
                         std::string_view rowUnit) override {
        if (row >= 1 && row <= kRowCount) captions[static_cast<std::size_t>(row - 1)] = caption;
        if (!record) return;
        writes.emplace_back(row, caption);
        numbers.push_back(number);
        units.emplace_back(rowUnit);
    }

    // Caption of row 1..15, or "<unwritten>".
    std::string Caption(int row) const {
        const auto& caption = captions.at(static_cast<std::size_t>(row - 1));
        return caption ? *caption : "<unwritten>";
    }

    std::string category, unit, input;
    // Off, a run only sets captions: what a benchmark wants to time.
    bool record = true;
    std::array<std::optional<std::string>, kRowCount> captions;  // none: never written
    std::vector<std::pair<int, std::string>> writes;
    std::vector<std::optional<CellNumber>> numbers;  // beside each write
    std::vector<std::string> units;                  // the row's unit, beside each write
};

}  // namespace mensura
