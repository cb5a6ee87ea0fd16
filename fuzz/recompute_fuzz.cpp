// Fuzz target: any input text, under any unit of any category, must give
// captions that are a unit's name, "Out of range" or a well-formed result of
// the display pattern, and a run must end with a status that matches what
// it wrote.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iostream>
#include <string>

#include "recompute.h"

namespace {

class FuzzFields : public mensura::ConverterFields {
public:
    std::string category, unit, input;
    std::string captions[mensura::kRowCount];
    int writes = 0;
    std::string InputText() const override { return input; }
    std::string UnitText() const override { return unit; }
    std::string CategoryTitle() const override { return category; }
    void SetValueCaption(int row, const std::string& caption,
                         std::optional<mensura::CellNumber>) override {
        if (row < 1 || row > mensura::kRowCount) Fail("row out of range", caption);
        captions[row - 1] = caption;
        ++writes;
    }
    [[noreturn]] void Fail(const char* what, const std::string& caption) const {
        std::cerr << what << ": caption \"" << caption << "\" for input \"" << input << "\" in "
                  << unit << '\n';
        std::abort();
    }
};

// -?(d{1,3}(,ddd)*)?.d{0,7} with no trailing zero after the point, and no
// sign on a zero.
bool IsPatternResult(const std::string& s) {
    std::size_t i = 0;
    if (i < s.size() && s[i] == '-') ++i;
    const std::size_t intStart = i;
    while (i < s.size() && (std::isdigit(static_cast<unsigned char>(s[i])) || s[i] == ',')) ++i;
    const std::string intPart = s.substr(intStart, i - intStart);
    if (i >= s.size() || s[i] != '.') return false;
    const std::string fraction = s.substr(i + 1);
    if (fraction.size() > 7 || fraction.find_first_not_of("0123456789") != std::string::npos)
        return false;
    if (!fraction.empty() && fraction.back() == '0') return false;
    if (!intPart.empty()) {
        if (intPart[0] == '0' || intPart[0] == ',') return false;
        for (std::size_t k = 0; k < intPart.size(); ++k) {
            const bool comma = (intPart.size() - k) % 4 == 0;
            if (comma != (intPart[k] == ',')) return false;
        }
    }
    if (intStart == 1 && intPart.empty() && fraction.empty()) return false;  // "-."
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks one of the 45 units; the rest is the input text.
    const auto& categories = mensura::Categories();
    const std::size_t pick = data[0] % 45;
    const mensura::Category& category = categories[pick / 15];
    FuzzFields fields;
    fields.category = category.name;
    fields.unit = category.units[pick % 15];
    fields.input.assign(reinterpret_cast<const char*>(data + 1), size - 1);

    const mensura::RunStatus status = mensura::RecomputeResults(fields);
    for (const std::string& caption : fields.captions) {
        if (caption.empty() || caption == fields.unit || caption == mensura::kOutOfRangeText)
            continue;
        if (!IsPatternResult(caption)) fields.Fail("malformed", caption);
    }
    const bool hidden = category.name == "WEIGHT" && pick % 15 >= 2 && pick % 15 <= 4;
    const int expectedWrites = category.name == "WEIGHT" && !hidden ? 12 : 15;
    if (status.kind == mensura::RunStatus::Kind::Ok && fields.writes != expectedWrites)
        fields.Fail("wrong number of rows written", fields.unit);
    if (status.kind == mensura::RunStatus::Kind::NothingMatched)
        fields.Fail("a catalogue unit matched nothing", fields.unit);
    return 0;
}
