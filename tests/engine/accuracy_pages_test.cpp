// The help's accuracy pages read back as a reader reads them: their prose
// against their own tables, their list of differences against what the
// window shows and the units' definitions, their exact values against the
// note that says how they are written.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "accuracy_page.h"
#include "unit_definitions.h"

namespace mensura::exact {
namespace {

// One result line of a page's tables, its cells as text, tags dropped.
struct Line {
    std::string from, to, shown, exact, difference, factor;
    bool marked = false;  // ≠
};

std::string Text(const std::string& html) {
    return std::regex_replace(html, std::regex("<[^>]*>"), "");
}

// The part of a page from an anchor to the end of the table after it.
std::string Section(const std::string& page, const std::string& anchor) {
    const std::size_t from = page.find("<a name=\"" + anchor + "\">");
    EXPECT_NE(from, std::string::npos) << anchor;
    return page.substr(from, page.find("</table>", from) - from);
}

std::vector<std::vector<std::string>> Rows(const std::string& section) {
    const std::regex row("<tr[^>]*>(.*)</tr>"), cell("<t[dh][^>]*>(.*?)</t[dh]>");
    std::vector<std::vector<std::string>> rows;
    for (std::sregex_iterator r(section.begin(), section.end(), row), end; r != end; ++r) {
        const std::string line = (*r)[1];
        std::vector<std::string> cells;
        for (std::sregex_iterator c(line.begin(), line.end(), cell); c != end; ++c)
            cells.push_back(Text((*c)[1]));
        rows.push_back(cells);
    }
    return rows;
}

std::string UnitName(std::string cell) {
    return cell.substr(0, cell.find(" (hidden)"));
}

// The every-conversion table, each line with the unit of its block.
std::vector<Line> Every(const std::string& page) {
    std::vector<Line> lines;
    std::string block;
    for (const auto& cells : Rows(Section(page, "all"))) {
        if (cells.size() == 1) block = UnitName(cells[0].substr(2));  // "1 FEET"
        if (cells.size() != 6 || cells[0] == "in") continue;
        lines.push_back({block, UnitName(cells[0]), cells[2], cells[3], cells[4], cells[5],
                         cells[1] == "\u2260"});
    }
    return lines;
}

std::vector<Line> Listed(const std::string& page) {
    std::vector<Line> lines;
    for (const auto& cells : Rows(Section(page, "differ")))
        if (cells.size() == 6 && cells[0] != "1 of")
            lines.push_back(
                {UnitName(cells[0]), UnitName(cells[1]), cells[2], cells[3], cells[4], cells[5]});
    return lines;
}

// A number the prose states, by what it counts.
std::size_t Count(const std::string& page, const std::string& what) {
    std::smatch m;
    const std::regex marked("<span data-count=\"" + what + "\">([0-9]+)</span>");
    EXPECT_TRUE(std::regex_search(page, m, marked)) << what;
    return m.empty() ? 0 : std::stoul(m[1]);
}

// A caption or a written exact value as a number: grouping and the
// ellipsis dropped, "." alone zero.
Fraction Value(std::string text) {
    text = std::regex_replace(text, std::regex(",|\u2026"), "");
    if (text == ".") return Parse("0");
    return Parse(text.front() == '.' ? "0" + text : text);
}

Fraction Exact(const Line& line) {
    return Size(line.from) / Size(line.to);
}

// How far what the window shows is from the exact value, relative to it.
Fraction Off(const Line& line) {
    return Abs((Value(line.shown) - Exact(line)) / Exact(line));
}

class AccuracyPagesTest : public ::testing::TestWithParam<std::size_t> {
protected:
    std::string page = AccuracyPageText(GetParam());
    std::vector<Line> every = Every(page);
};

TEST_P(AccuracyPagesTest, ProseCountsAreThoseOfTheTables) {
    std::size_t marked = 0, rounded = 0;
    for (const Line& l : every) {
        if (l.marked) ++marked;
        if (l.factor != "exact") ++rounded;
    }
    EXPECT_EQ(Count(page, "conversions"), every.size());
    EXPECT_EQ(Count(page, "differing"), marked);
    EXPECT_EQ(Count(page, "far-off"), Listed(page).size() - marked);
    EXPECT_EQ(Count(page, "rounded-factors"), rounded);
    // The table of rounded factors, kind by kind, recounted.
    std::map<std::pair<std::string, std::string>, std::pair<std::size_t, std::size_t>> kinds;
    for (const Line& l : every) {
        auto& [cells, roundedCells] = kinds[{KindOf(l.from), KindOf(l.to)}];
        ++cells;
        if (l.factor != "exact") ++roundedCells;
    }
    std::size_t rows = 0;
    for (const auto& cells : Rows(Section(page, "factors"))) {
        if (cells.size() != 4 || cells[0] == "From") continue;
        ++rows;
        EXPECT_EQ(std::to_string(kinds[{cells[0], cells[1]}].first), cells[2]) << cells[0];
        EXPECT_EQ(std::to_string(kinds[{cells[0], cells[1]}].second), cells[3]) << cells[0];
    }
    EXPECT_EQ(rows, kinds.size());
}

// The list holds every result marked ≠ and every one at least the bound
// the prose names away from the exact value, by what the window shows, and
// nothing else, largest difference first.
TEST_P(AccuracyPagesTest, ListRanksByWhatTheWindowShows) {
    std::smatch m;
    ASSERT_TRUE(std::regex_search(page, m, std::regex(R"re(are ([0-9.]+) % or more from)re")));
    const Fraction bound = Parse(m[1].str()) / Parse("100");
    std::vector<std::string> expected;
    for (const Line& l : every)
        if (l.marked || Compare(Off(l), bound) >= 0) expected.push_back(l.from + ">" + l.to);
    std::vector<std::string> listed;
    const std::vector<Line> lines = Listed(page);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        listed.push_back(lines[i].from + ">" + lines[i].to);
        if (i > 0) {
            EXPECT_GE(Compare(Off(lines[i - 1]), Off(lines[i])), 0) << listed.back();
        }
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> sorted = listed;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, expected);
    // The results furthest off through the display stand near the top.
    const auto place = [&](const std::string& cell) {
        return std::find(listed.begin(), listed.end(), cell) - listed.begin();
    };
    if (GetParam() == 0) {
        EXPECT_LT(place("INCHES>LEAGUE"), 5);
    } else if (GetParam() == 1) {
        EXPECT_EQ(place("MILLIGRAMS>TONS"), 0);
    }
}

// An exact value is written whole, or cut after as many significant digits
// as the note says, not rounded, with an ellipsis.
TEST_P(AccuracyPagesTest, ExactValuesAreWrittenAsTheNoteSays) {
    const std::size_t digits = Count(page, "exact-digits");
    for (const Line& l : every) {
        const Fraction written = Value(l.exact);
        if (l.exact.find("\u2026") == std::string::npos) {
            EXPECT_EQ(Compare(written, Exact(l)), 0) << l.from << ">" << l.to << " " << l.exact;
            continue;
        }
        const std::string significant =
            std::regex_replace(l.exact, std::regex("^[.,0]+|[.,]|\u2026"), "");
        EXPECT_EQ(significant.size(), digits) << l.exact;
        // Cut off: below the exact value by less than one in the last digit.
        const std::size_t decimals = l.exact.size() - l.exact.find('.') - 1 - 3;  // "…"
        const Fraction unit = Parse("1e-" + std::to_string(decimals));
        EXPECT_LT(Compare(written, Exact(l)), 0) << l.exact;
        EXPECT_LT(Compare(Exact(l) - written, unit), 0) << l.exact;
    }
}

INSTANTIATE_TEST_SUITE_P(Pages, AccuracyPagesTest, ::testing::Values(0u, 1u, 2u));

}  // namespace
}  // namespace mensura::exact
