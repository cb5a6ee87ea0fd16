// Fuzz target: a whole recompute with any category title, unit text,
// separators and input text, the text up to the input box's limit. Checks
// that the run writes what its status reports: for a matching block, its
// cells in order and then the unit's name in the unit's own row; after a
// failing cell nothing more, the rows before it written. Every number shown
// is a form of the display pattern with the separators given, reads back as
// the cell's value, and has the input's sign; a unit's name appears only in
// its own row.
//
// Input: a byte choosing the title (a category's name, or up to 15 bytes
// taken from the input), a byte choosing the unit text (one of the 45 unit
// strings of any category, or up to 31 bytes from the input), a byte for
// each separator (a real setting's, or up to 4 bytes from the input), then
// the input text. The choices take at most 64 bytes, so with -max_len=32831
// the text reaches the input box's limit of 32767 characters.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "memory_fields.h"
#include "recompute.h"
#include "table.h"

namespace {

using mensura::RunStatus;

const mensura::Separators kSettings[] = {
    {",", "."}, {".", ","}, {"\u202F", ","}, {"\u2019", "."}, {"\u00A0", ","}, {"'", "."},
};

std::string Separator(fuzzcheck::ByteReader& in, bool group) {
    const std::uint8_t choice = in.Byte();
    if (choice < 0x80) {
        const mensura::Separators& s = kSettings[choice % std::size(kSettings)];
        return group ? s.group : s.decimal;
    }
    return in.Text(choice % 5u);
}

const mensura::Table* TableOf(const std::string& title) {
    if (title == "LENGTH") return &mensura::LengthTable();
    if (title == "WEIGHT") return &mensura::WeightTable();
    if (title == "CAPACITY") return &mensura::CapacityTable();
    return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzzcheck::ByteReader in(data, size);
    const auto& categories = mensura::Categories();
    mensura::MemoryFields fields;
    const std::uint8_t title = in.Byte();
    fields.category = title < 0xC0 ? categories[title % 3].name : in.Text(title & 0x0Fu);
    const std::uint8_t unit = in.Byte();
    fields.unit = unit < 0xE0 ? categories[unit % 45 / 15].units[unit % 15] : in.Text(unit & 0x1Fu);
    mensura::Separators separators;
    separators.group = Separator(in, true);
    separators.decimal = Separator(in, false);
    fields.input = in.Rest();

    const RunStatus status = mensura::RecomputeResults(fields, separators);
    const std::string context = "\"" + fields.category + "\" \"" + fields.unit + "\" status " +
                                mensura::Describe(status) + ",";

    // A caption written without a number is the mark: the unit text, which
    // must be a unit's name, in that unit's own row.
    for (std::size_t k = 0; k < fields.writes.size(); ++k) {
        const auto& [row, caption] = fields.writes[k];
        if (row < 1 || row > mensura::kRowCount)
            fuzzcheck::Fail("a row out of range", context + " row " + std::to_string(row));
        if (fields.numbers[k]) continue;
        if (caption != fields.unit || mensura::UnitRow(caption) != row)
            fuzzcheck::Fail("a name not in its own row",
                            context + " row " + std::to_string(row) + " \"" + caption + "\"");
    }

    const mensura::Table* table = TableOf(fields.category);
    const mensura::Block* block = nullptr;
    if (table)
        for (const mensura::Block& b : table->blocks)
            if (b.unit == fields.unit) block = &b;
    if (!block) {
        if (status.kind != RunStatus::Kind::NothingMatched || !fields.writes.empty())
            fuzzcheck::Fail("a run without a matching block wrote", context);
        return 0;
    }

    // The block's cells in order, up to the failing one; then the mark.
    std::size_t cells = block->cells.size();
    if (status.kind == RunStatus::Kind::CellFailed) {
        cells = 0;
        while (cells < block->cells.size() && block->cells[cells].row != status.failedRow) ++cells;
        if (cells == block->cells.size())
            fuzzcheck::Fail("the failing row is no row of the block", context);
    } else if (status.kind != RunStatus::Kind::Ok) {
        fuzzcheck::Fail("a matching block reported nothing matched", context);
    }
    const bool marked = status.kind == RunStatus::Kind::Ok;
    if (fields.writes.size() != cells + (marked ? 1 : 0))
        fuzzcheck::Fail("the rows written are not those the status reports",
                        context + " " + std::to_string(fields.writes.size()) + " writes");
    for (std::size_t k = 0; k < cells; ++k)
        if (fields.writes[k].first != block->cells[k].row || !fields.numbers[k])
            fuzzcheck::Fail("cells not written in the block's order",
                            context + " write " + std::to_string(k));
    if (marked && fields.numbers.back())
        fuzzcheck::Fail("the last write of a run is not the mark", context);

    // Every constant is positive: results have the input's sign, are
    // infinite exactly when the input is, and overflow needs a huge input.
    const double input = mensura::ReadInputValue(fields);
    if (status.kind == RunStatus::Kind::CellFailed && !(std::fabs(input) >= 1e24))
        fuzzcheck::Fail("a cell failed for a moderate input", context + " " + fields.input);
    for (std::size_t k = 0; k < cells; ++k) {
        const auto& [row, caption] = fields.writes[k];
        const double value = fields.numbers[k]->value;
        if (value != 0 && input != 0 && (value < 0) != (input < 0))
            fuzzcheck::Fail("a result of the other sign", context + " row " + std::to_string(row));
        if (std::isinf(value) != std::isinf(input))
            fuzzcheck::Fail("a result infinite unless the input is",
                            context + " row " + std::to_string(row));
        fuzzcheck::CheckShown(value, fields.numbers[k]->precision, separators, caption,
                              context + " row " + std::to_string(row));
    }
    return 0;
}
