// What the manual page says the window shows where a result cannot be
// shown, read from the page as a reader reads it and worked out again by
// the engine.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "cell.h"
#include "memory_fields.h"
#include "number_text.h"
#include "recompute.h"

namespace {

// The page's running text: requests and comments dropped, font changes
// and the escapes it uses turned into what they print, lines joined.
std::string Text() {
    std::ifstream in(MENSURA_MANUAL_PAGE);
    std::string text;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(".\\\"", 0) == 0) continue;
        if (!line.empty() && line[0] == '.')
            line = line.substr(std::min(line.find(' '), line.size()));
        text += line + " ";
    }
    const std::pair<const char*, const char*> escapes[] = {
        {R"(\\f[BIRP])", ""}, {R"(\\\(lq|\\\(rq)", "\""},
        {R"(\\\(mu)", "x"},   {R"(\\\(ha)", "^"},
        {R"(\\-)", "-"},      {R"(\\&)", ""}};
    for (const auto& [escape, printed] : escapes)
        text = std::regex_replace(text, std::regex(escape), printed);
    return std::regex_replace(text, std::regex(" +"), " ");
}

std::size_t Occurrences(const std::string& text, const std::string& what) {
    std::size_t count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1))
        ++count;
    return count;
}

std::string CategoryOf(const std::string& unit) {
    for (const mensura::Category& c : mensura::Categories())
        for (const std::string& u : c.units)
            if (u == unit) return c.name;
    return "";
}

TEST(ManualPageTest, OutOfRangeIsTheInputsOverflowOneRows) {
    const std::string text = Text();
    const std::string outOfRange(mensura::kOutOfRangeText);
    const std::string overflow = mensura::ErrorCaption(mensura::FpError::Overflow);
    // Each named once, in a sentence of its own that gives an example.
    EXPECT_EQ(Occurrences(text, "\"" + outOfRange + "\""), 1u) << text;
    EXPECT_EQ(Occurrences(text, "\"" + overflow + "\""), 1u) << text;

    std::smatch m;
    ASSERT_TRUE(std::regex_search(
        text, m,
        std::regex("beyond about ([0-9.]+)x10\\^([0-9]+), such as ([^ ,]+), is out of range "
                   "itself: every result shows \"" +
                   outOfRange + "\"")))
        << text;
    EXPECT_EQ(std::round(FLT_MAX / std::pow(10.0, std::stoi(m[2])) * 10) / 10, std::stod(m[1]));
    mensura::MemoryFields typed("LENGTH", "FEET", m[3]);
    EXPECT_EQ(mensura::RecomputeResults(typed).kind, mensura::RunStatus::Kind::Ok);
    for (int row = 1; row <= mensura::kRowCount; ++row)
        EXPECT_EQ(typed.Caption(row), row == mensura::UnitRow("FEET") ? "FEET" : outOfRange);

    ASSERT_TRUE(std::regex_search(text, m,
                                  std::regex("that row alone shows \"" + overflow +
                                             "\", the results above it stay and every other row "
                                             "is emptied, as with ([^ ]+) in ([A-Z()]+), which "
                                             "overflows in the ([A-Z()]+) row")))
        << text;
    mensura::MemoryFields big(CategoryOf(m[2]), m[2], m[1]);
    const mensura::RunStatus status =
        mensura::RecomputeResults(big, {}, mensura::OnFailure::ShowInRows);
    ASSERT_EQ(status.kind, mensura::RunStatus::Kind::CellFailed);
    EXPECT_EQ(status.failedRow, mensura::UnitRow(m[3]));
    EXPECT_EQ(mensura::ErrorCaption(status.error), overflow);
    // What the window shows: results above the row, the error in it, and
    // every other row empty.
    for (int row = 1; row <= mensura::kRowCount; ++row) {
        const std::string caption = big.Caption(row);
        if (row < status.failedRow)
            EXPECT_TRUE(mensura::LeadingNumber(caption) != 0 || caption == ".") << caption;
        else if (row == status.failedRow)
            EXPECT_EQ(caption, overflow);
        else
            EXPECT_EQ(caption, "") << "row " << row;
    }
}

}  // namespace
