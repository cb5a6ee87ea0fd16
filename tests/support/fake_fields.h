#pragma once
// The one stand-in for the window that tests, fuzz targets and benchmarks
// hand to the engine: fifteen value captions that start unwritten, and the
// order of the writes.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "catalogue.h"
#include "converter_fields.h"

class FakeFields : public mensura::ConverterFields {
public:
    FakeFields() = default;
    FakeFields(std::string categoryTitle, std::string unitText, std::string inputText)
        : category(std::move(categoryTitle)),
          unit(std::move(unitText)),
          input(std::move(inputText)) {}
    std::string InputText() const override { return input; }
    std::string UnitText() const override { return unit; }
    std::string CategoryTitle() const override { return category; }
    // Keeps the caption of a row in range; with `record`, also every write,
    // in order, rows out of range included.
    void SetValueCaption(int row, const std::string& text,
                         std::optional<mensura::CellNumber> number) override {
        if (row >= 1 && row <= mensura::kRowCount)
            captions[static_cast<std::size_t>(row - 1)] = text;
        if (!record) return;
        writes.emplace_back(row, text);
        numbers.push_back(number);
    }
    // Caption of row 1..15, or "<unwritten>".
    std::string Caption(int row) const {
        const auto& c = captions.at(static_cast<std::size_t>(row - 1));
        return c ? *c : "<unwritten>";
    }

    std::string category, unit, input;
    // Off, a run only sets captions: what a benchmark wants to time.
    bool record = true;
    std::array<std::optional<std::string>, mensura::kRowCount> captions;
    std::vector<std::pair<int, std::string>> writes;
    std::vector<std::optional<mensura::CellNumber>> numbers;  // beside each write
};
