#include "accuracy_page.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ascii_text.h"
#include "unit_definitions.h"

namespace mensura::exact {

namespace {

using Page = AccuracyPage;

// The pages stand in the contents between these two.
constexpr const char* kBefore[] = {"hidden.html", "Hidden weight units"};
constexpr const char* kAfter[] = {"numbers.html", "Typing a number"};

}  // namespace

// In the notes, {FROM>TO} stands for what the window shows for 1 FROM in the
// TO row, so that a quoted result comes from the table too.
const std::vector<AccuracyPage>& AccuracyPages() {
    static const std::vector<AccuracyPage> pages{
        {mensura::LengthTable(), "accuracy-length.html", "Length",
         "The foot is the international foot of 0.3048 m. The US survey foot (1200/3937 m), "
         "in which American land measures such as the rod, the furlong and the league were "
         "long given, is longer by two parts in a million and is not used here. The league has "
         "had many sizes: the comparison takes the land league of 3 statute miles, as "
         "Mensura's table does (1 LEAGUE gives {LEAGUE>MILES} MILES); the nautical league of 3 "
         "nautical miles is longer."},
        {mensura::WeightTable(), "accuracy-weight.html", "Weight",
         "All weights are avoirdupois: the dram is 1/16 ounce, not the apothecaries' dram of "
         "60 grains, and the ton is the short ton of 2000 pounds, not the long ton of 2240 "
         "pounds nor the metric tonne. CLOVES, SACKS and STONES are the hidden units. Cloves "
         "and sacks of other "
         "goods than wool had other weights: the comparison takes the wool weights of 7 and "
         "364 pounds, as Mensura's table does (1 SACKS gives {SACKS>CLOVES} CLOVES). In the "
         "rows of the hidden units, GRAINS counts grains, 7000 to the pound, as everywhere "
         "else."},
        {mensura::CapacityTable(), "accuracy-capacity.html", "Capacity",
         "Barrels for liquids come in many sizes: Handbook 44 gives 31 to 42 gallons, by law or "
         "trade, among them 31 gallons for fermented liquors, 31.5 gallons as many of the States "
         "fix it, and 42 gallons for crude oil and petroleum products. The comparison takes "
         "the barrel of 31.5 US gallons, as Mensura's table does (1 BARREL(US) gives "
         "{BARREL(US)>GALLONS(US)} GALLONS(US)). Cups and spoons are the US customary "
         "measures: the cup is 1/16 US gallon, the tablespoon 1/2 and the teaspoon 1/6 US "
         "fluid ounce. They are not the cup of 240 ml, the tablespoon of 15 ml and the "
         "teaspoon of 5 ml of US nutrition labelling, nor the metric cup of 250 ml."},
    };
    return pages;
}

namespace {

// Text as HTML, with the help reader's own escaping.
std::string Escaped(const std::string& text) {
    std::string out;
    helpfile::AppendEscaped(out, text);
    return out;
}

// A number the prose states, marked with what it counts so that the tests
// can hold it against the tables on the page.
std::string Counted(const char* what, std::size_t count) {
    return std::string("<span data-count=\"") + what + "\">" + std::to_string(count) + "</span>";
}

std::string Unit(const std::string& unit, bool hidden) {
    return "<span class=\"unit\">" + Escaped(unit) + "</span>" + (hidden ? " (hidden)" : "");
}

bool IsHidden(const mensura::Category& category, const std::string& unit) {
    return std::find(category.selectorItems.begin(), category.selectorItems.end(), unit) ==
           category.selectorItems.end();
}

std::string Row(const std::vector<std::string>& cells, bool marked) {
    std::string out = marked ? "<tr class=\"differs\">" : "<tr>";
    for (const std::string& cell : cells) out += "<td>" + cell + "</td>";
    return out + "</tr>\n";
}

// How far the factor of a cell is from the exact one.
std::string FactorText(const CellReport& r) {
    return r.factorError.numerator.IsZero() ? "exact" : Percent(r.factorError);
}

// The notes with each {FROM>TO} replaced by the caption of that cell.
std::string Filled(std::string notes, const std::vector<CellReport>& reports) {
    for (std::size_t open; (open = notes.find('{')) != std::string::npos;) {
        const std::size_t close = notes.find('}', open);
        const std::size_t arrow = notes.find('>', open);
        if (close == std::string::npos || arrow > close)
            throw std::logic_error("a note's {FROM>TO} is not closed");
        const std::string from = notes.substr(open + 1, arrow - open - 1);
        const std::string to = notes.substr(arrow + 1, close - arrow - 1);
        const auto cell = std::find_if(reports.begin(), reports.end(),
                                       [&](const auto& r) { return r.from == from && r.to == to; });
        if (cell == reports.end()) throw std::logic_error("no cell " + from + " > " + to);
        notes.replace(open, close - open + 1, "\x01" + cell->shown + "\x02");
    }
    std::string out = Escaped(notes);
    for (std::size_t at; (at = out.find('\x01')) != std::string::npos;)
        out.replace(at, 1, "<span class=\"value\">");
    for (std::size_t at; (at = out.find('\x02')) != std::string::npos;)
        out.replace(at, 1, "</span>");
    return out;
}

// The far-off bound in percent: "0.01 %".
std::string FarOffText() {
    return Plain(Leading(Parse(kFarOff) * Parse("100"), 3)) + " %";
}

// Which results the list of differences holds: those whose factor shows
// (not the exact value rounded to the digits shown), and those far off
// through the display alone. A far-off result of the second kind owes it to
// the 7 decimals: rounding to 7 significant digits moves a value by at most
// 5 parts in 10 million, less than the bound.
bool Listed(const CellReport& r) {
    if (Compare(Parse(kFarOff), Parse("0.0000005")) <= 0)
        throw std::logic_error("the far-off bound must lie above what 7 digits can cost");
    return r.differs || Compare(Abs(r.difference), Parse(kFarOff)) >= 0;
}

void WriteDiffering(std::ostream& out, const mensura::Category& category,
                    std::vector<CellReport> listed) {
    out << "<h2><a name=\"differ\"></a>Results that differ from the exact value</h2>\n";
    if (listed.empty()) {
        out << "<p>None: every result shows the exact value, rounded to the digits shown, and "
               "none is "
            << FarOffText() << " or more from it.</p>\n";
        return;
    }
    std::stable_sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
        return Compare(Abs(a.difference), Abs(b.difference)) > 0;
    });
    out << "<p>Largest difference first, by what the window shows against the exact value. "
           "Each line is 1 of the unit in the first column, shown in the unit of the second. "
           "A result shows at most 7 decimals, so the smaller it is, the fewer significant "
           "digits it keeps: below 0.0000001 one at most, and below 0.00000005 none, when it "
           "shows as \".\" (zero). Factor says how far the factor Mensura multiplies or divides "
           "by is from the exact one: for large numbers, that is how far the result is "
           "off.</p>\n<table>\n"
           "<tr><th>1 of</th><th>in</th><th>Mensura shows</th><th>Exact value</th>"
           "<th>Difference</th><th>Factor</th></tr>\n";
    for (const CellReport& r : listed)
        out << Row({Unit(r.from, IsHidden(category, r.from)), Unit(r.to, IsHidden(category, r.to)),
                    "<span class=\"value\">" + r.shown + "</span>", r.exact, Percent(r.difference),
                    FactorText(r)},
                   false);
    out << "</table>\n";
}

// How many factors are rounded, for each kind of unit converted from and to,
// the kinds in the order they first come in the unit list.
void WriteRoundedFactors(std::ostream& out, const mensura::Category& category,
                         const std::vector<CellReport>& reports, std::size_t rounded) {
    std::vector<std::string> kinds;
    for (const std::string& unit : category.units)
        if (std::find(kinds.begin(), kinds.end(), KindOf(unit)) == kinds.end())
            kinds.push_back(KindOf(unit));
    std::map<std::pair<std::string, std::string>, std::pair<std::size_t, std::size_t>> counts;
    for (const CellReport& r : reports) {
        auto& [cells, roundedCells] = counts[{KindOf(r.from), KindOf(r.to)}];
        ++cells;
        if (!r.factorError.numerator.IsZero()) ++roundedCells;
    }
    out << "<p><a name=\"factors\"></a>" << Counted("rounded-factors", rounded) << " of the "
        << Counted("conversions", reports.size())
        << " use a factor that is not exact, by kind of unit"
        << (std::find(kinds.begin(), kinds.end(), "standard") != kinds.end()
                ? " (standard: every unit that is not metric)"
                : "")
        << ":</p>\n<table>\n"
           "<tr><th>From</th><th>To</th><th>Conversions</th><th>Factor not exact</th></tr>\n";
    for (const std::string& from : kinds)
        for (const std::string& to : kinds) {
            const auto it = counts.find({from, to});
            if (it == counts.end()) continue;
            out << Row(
                {from, to, std::to_string(it->second.first), std::to_string(it->second.second)},
                false);
        }
    out << "</table>\n";
}

void WriteEvery(std::ostream& out, const mensura::Category& category,
                const std::vector<CellReport>& reports) {
    out << "<h2><a name=\"all\"></a>Every conversion</h2>\n"
           "<p>In the order of the unit list. \u2260 marks a result that differs from the exact "
           "value rounded to the same digits, as its factor is rounded. In the other lines the "
           "difference comes only from showing at most 7 decimals (and 7 significant digits for "
           "a result computed in single precision). Factor says whether the factor Mensura "
           "multiplies or divides by is exact, and if not, how far it is from the exact "
           "one.</p>\n<table>\n"
           "<tr><th>in</th><th></th><th>Mensura shows</th><th>Exact value</th>"
           "<th>Difference</th><th>Factor</th></tr>\n";
    std::string block;
    for (const CellReport& r : reports) {
        if (r.from != block) {
            block = r.from;
            out << "<tr><th colspan=\"6\">1 " << Unit(r.from, IsHidden(category, r.from))
                << "</th></tr>\n";
        }
        out << Row({Unit(r.to, IsHidden(category, r.to)), r.differs ? "\u2260" : "",
                    "<span class=\"value\">" + r.shown + "</span>", r.exact, Percent(r.difference),
                    FactorText(r)},
                   r.differs);
    }
    out << "</table>\n";
}

// The definitions of the category's units, the notes, and the sources that
// those definitions cite, numbered in the order of the source list.
void WriteDefinitions(std::ostream& out, const mensura::Category& category, const Page& page,
                      const std::vector<CellReport>& reports) {
    std::vector<std::string> cited;
    for (const Source& source : Sources())
        for (const std::string& unit : category.units)
            if (DefinitionOf(unit).source == std::string(source.key) &&
                std::find(cited.begin(), cited.end(), source.key) == cited.end())
                cited.push_back(source.key);
    const auto number = [&](const std::string& key) {
        return std::find(cited.begin(), cited.end(), key) - cited.begin() + 1;
    };
    out << "<h2><a name=\"definitions\"></a>The definitions used</h2>\n<table>\n"
           "<tr><th>Unit</th><th>One unit is</th><th>In "
        << BaseSymbol(category.name) << "</th><th>Source</th></tr>\n";
    for (const std::string& unit : category.units) {
        const auto& d = DefinitionOf(unit);
        out << Row({Unit(unit, IsHidden(category, unit)), Escaped(d.wording),
                    Expansion(Size(unit), kExactDigits, true), std::to_string(number(d.source))},
                   false);
    }
    out << "</table>\n<p>" << Filled(page.notes, reports) << "</p>\n<p>Sources:</p>\n<ol>\n";
    for (const std::string& key : cited)
        for (const Source& source : Sources())
            if (key == source.key) out << "<li>" << Escaped(source.text) << "</li>\n";
    out << "</ol>\n";
}

}  // namespace

std::string AccuracyPageText(std::size_t index) {
    const auto& pages = AccuracyPages();
    const Page& page = pages.at(index);
    const mensura::Category* category = mensura::FindCategory(page.table.category);
    if (!category) throw std::logic_error("no category " + page.table.category);
    const std::vector<CellReport> reports = Survey(page.table);
    std::vector<CellReport> listed;
    std::size_t hidden = 0, differing = 0, roundedFactors = 0;
    for (const CellReport& r : reports) {
        if (Listed(r)) listed.push_back(r);
        if (r.differs) ++differing;
        if (r.hidden) ++hidden;
        if (!r.factorError.numerator.IsZero()) ++roundedFactors;
    }
    const std::string title = std::string("How exact is each conversion: ") + page.name;

    std::ostringstream out;
    out << "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01//EN\">\n<html>\n<head>\n"
           "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\">\n"
           "<title>"
        << title
        << "</title>\n"
           "<link rel=\"stylesheet\" type=\"text/css\" href=\"style.css\">\n</head>\n<body>\n"
           "<h1>"
        << title << "</h1>\n\n";
    out << "<p>Mensura converts with a fixed factor for each pair of units, and some of those "
           "factors are rounded. This page sets every result of the "
        << category->name << " table, for 1 of a unit, beside the exact value that the units' "
        << "definitions give (see <a href=\"#definitions\">The definitions used</a>). "
        << "Results are written with \",\" and \".\" as separators; yours follow your number "
           "settings. The page is made from Mensura's own tables each time Mensura is "
           "built.</p>\n<p>Of the "
        << reports.size() << " conversions";
    if (hidden > 0)
        out << " (" << Counted("hidden", hidden) << " of them to or from the hidden units)";
    out << ", " << Counted("differing", differing)
        << " show a result other than the exact value rounded to the same digits, and "
        << Counted("far-off", listed.size() - differing)
        << " others show that rounded value but are " << FarOffText()
        << " or more from the exact value itself, because they are small. Both kinds are in "
           "<a href=\"#differ\">Results that differ from the exact value</a>, largest "
           "difference first.</p>\n";
    WriteRoundedFactors(out, *category, reports, roundedFactors);
    out << "\n";
    WriteDiffering(out, *category, listed);
    out << "\n";
    WriteEvery(out, *category, reports);
    out << "\n";
    WriteDefinitions(out, *category, page, reports);
    out << "\n<p class=\"note\">The exact values are worked out in exact fractions, not in "
           "floating point. The column Exact value writes a value whole when it ends within "
        << Counted("exact-digits", kExactDigits)
        << " significant digits; a longer one is cut after that many, not rounded, and ends in "
           "&hellip;. For \u2260 the exact value is rounded as Mensura rounds a result: to 7 "
           "significant digits for a result computed in single precision and to 15 for one in "
           "double precision, then to at most 7 decimals, half away from zero each time. "
           "Difference is (shown \u2212 exact) / exact, from the exact value itself.</p>\n\n";

    const auto link = [](const char* file, const std::string& text) {
        return std::string("<a href=\"") + file + "\">" + text + "</a>";
    };
    const std::string back =
        index == 0 ? link(kBefore[0], kBefore[1])
                   : link(pages[index - 1].file,
                          std::string("How exact is each conversion: ") + pages[index - 1].name);
    const std::string next =
        index + 1 == pages.size()
            ? link(kAfter[0], kAfter[1])
            : link(pages[index + 1].file,
                   std::string("How exact is each conversion: ") + pages[index + 1].name);
    out << "<p class=\"nav\">Back: " << back << " &middot; Next:\n" << next << "</p>\n";
    out << "</body>\n</html>\n";
    return out.str();
}

}  // namespace mensura::exact
