#pragma once

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "converter_fields.h"

// A window of fifteen value captions that start unwritten; records the order
// of the writes.
class FakeFields : public mensura::ConverterFields {
public:
    FakeFields(std::string categoryTitle, std::string unitText, std::string inputText)
        : category(std::move(categoryTitle)),
          unit(std::move(unitText)),
          input(std::move(inputText)) {}
    std::string InputText() const override { return input; }
    std::string UnitText() const override { return unit; }
    std::string CategoryTitle() const override { return category; }
    void SetValueCaption(int row, const std::string& text,
                         std::optional<mensura::CellNumber> number) override {
        captions.at(static_cast<std::size_t>(row - 1)) = text;
        writes.emplace_back(row, text);
        numbers.push_back(number);
    }
    // Caption of row 1..15, or "<unwritten>".
    std::string Caption(int row) const {
        const auto& c = captions.at(static_cast<std::size_t>(row - 1));
        return c ? *c : "<unwritten>";
    }

    std::string category, unit, input;
    std::array<std::optional<std::string>, 15> captions;
    std::vector<std::pair<int, std::string>> writes;
    std::vector<std::optional<mensura::CellNumber>> numbers;  // beside each write
};
