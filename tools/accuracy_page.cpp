#include "accuracy_page.h"

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "unit_definitions.h"

namespace mensura::exact {

namespace {

using Page = AccuracyPage;

// The pages stand in the contents between these two.
constexpr const char* kBefore[] = {"hidden.html", "Hidden weight units"};
constexpr const char* kAfter[] = {"numbers.html", "Typing a number"};

}  // namespace

const std::vector<AccuracyPage>& AccuracyPages() {
    static const std::vector<AccuracyPage> pages{
        {mensura::LengthTable(), "accuracy-length.html", "Length",
         "The foot is the international foot of 0.3048 m. The US survey foot (1200/3937 m), "
         "in which American land measures such as the rod, the furlong and the league were "
         "long given, is longer by two parts in a million and is not used here. No law in "
         "force defines the league: the comparison takes the land league of 3 statute miles, "
         "as Mensura's table does (1 LEAGUE gives 3 MILES)."},
        {mensura::WeightTable(), "accuracy-weight.html", "Weight",
         "All weights are avoirdupois: the dram is 1/16 ounce, not the apothecaries' dram of "
         "60 grains, and the ton is the short ton of 2000 pounds, not the long ton of 2240 "
         "pounds nor the metric tonne. CLOVES, SACKS and STONES are the hidden units, which "
         "you call up by typing their name into the unit selector; cloves and sacks are old "
         "weights of wool, of 7 and 364 pounds, as Mensura's table takes them. In the rows of "
         "the hidden units, GRAINS counts grains, 7000 to the pound, as everywhere else."},
        {mensura::CapacityTable(), "accuracy-capacity.html", "Capacity",
         "The US barrel is the barrel for liquids of 31.5 US gallons, which Mensura's table "
         "uses (1 BARREL(US) gives 31.5 GALLONS(US)) and which many of the States fix by law; "
         "it is not the barrel of 42 gallons in which crude oil is counted. Cups and spoons are "
         "the US customary measures: the cup is 1/16 US gallon, the tablespoon 1/2 and the "
         "teaspoon 1/6 US fluid ounce. They are not the cup of 240 ml, the tablespoon of 15 ml "
         "and the teaspoon of 5 ml of US nutrition labelling, nor the metric cup of 250 ml."},
    };
    return pages;
}

namespace {

std::string Escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            default:
                out += c;
        }
    }
    return out;
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
    return r.factorError.numerator.IsZero() ? "exact" : mensura::exact::Percent(r.factorError);
}

void WriteDiffering(std::ostream& out, const mensura::Category& category,
                    std::vector<CellReport> differing) {
    out << "<h2><a name=\"differ\"></a>Results that differ from the exact value</h2>\n";
    if (differing.empty()) {
        out << "<p>None: every result shows the exact value, rounded to the digits shown.</p>\n";
        return;
    }
    std::stable_sort(differing.begin(), differing.end(), [](const auto& a, const auto& b) {
        return Compare(Abs(a.difference), Abs(b.difference)) > 0;
    });
    out << "<p>Largest difference first. Each line is 1 of the unit in the first column, shown "
           "in the unit of the second. Factor says how far the factor Mensura multiplies or "
           "divides by is from the exact one: for large numbers, that is how far the result is "
           "off.</p>\n<table>\n"
           "<tr><th>1 of</th><th>in</th><th>Mensura shows</th><th>Exact value</th>"
           "<th>Difference</th><th>Factor</th></tr>\n";
    for (const CellReport& r : differing)
        out << Row({Unit(r.from, IsHidden(category, r.from)), Unit(r.to, IsHidden(category, r.to)),
                    "<span class=\"value\">" + r.shown + "</span>", r.exact,
                    mensura::exact::Percent(r.difference), FactorText(r)},
                   false);
    out << "</table>\n";
}

void WriteEvery(std::ostream& out, const mensura::Category& category,
                const std::vector<CellReport>& reports) {
    out << "<h2><a name=\"all\"></a>Every conversion</h2>\n"
           "<p>In the order of the unit list. \u2260 marks a result that differs from the exact "
           "value rounded to the same digits. In the other lines the difference comes only from "
           "showing at most 7 decimals (and 7 significant digits for a result computed in "
           "single precision). Factor says whether the factor Mensura multiplies or divides by is "
           "exact, and if not, how far it is from the exact one.</p>\n<table>\n"
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
                    "<span class=\"value\">" + r.shown + "</span>", r.exact,
                    r.shown == "." ? "too small to show" : mensura::exact::Percent(r.difference),
                    FactorText(r)},
                   r.differs);
    }
    out << "</table>\n";
}

void WriteDefinitions(std::ostream& out, const mensura::Category& category, const Page& page) {
    const auto& sources = mensura::exact::Sources();
    const auto sourceNumber = [&](const std::string& key) {
        for (std::size_t i = 0; i < sources.size(); ++i)
            if (key == sources[i].key) return i + 1;
        throw std::out_of_range("no source " + key);
    };
    out << "<h2><a name=\"definitions\"></a>The definitions used</h2>\n<table>\n"
           "<tr><th>Unit</th><th>One unit is</th><th>In "
        << mensura::exact::BaseSymbol(category.name) << "</th><th>Source</th></tr>\n";
    for (const std::string& unit : category.units) {
        const auto& d = mensura::exact::DefinitionOf(unit);
        bool complete = false;
        const std::string size = mensura::exact::Plain(
            mensura::exact::Leading(mensura::exact::Size(unit), 18, &complete));
        out << Row({Unit(unit, IsHidden(category, unit)), Escaped(d.wording),
                    complete ? size : size + "\u2026", std::to_string(sourceNumber(d.source))},
                   false);
    }
    out << "</table>\n<p>" << Escaped(page.notes) << "</p>\n<p>Sources:</p>\n<ol>\n";
    for (const auto& source : sources) out << "<li>" << Escaped(source.text) << "</li>\n";
    out << "</ol>\n";
}

}  // namespace

std::string AccuracyPageText(std::size_t index) {
    const auto& pages = AccuracyPages();
    const Page& page = pages.at(index);
    const mensura::Category* category = mensura::FindCategory(page.table.category);
    if (!category) throw std::logic_error("no category " + page.table.category);
    const std::vector<CellReport> reports = mensura::exact::Survey(page.table);
    std::vector<CellReport> differing;
    std::size_t hidden = 0, roundedFactors = 0;
    for (const CellReport& r : reports) {
        if (r.differs) differing.push_back(r);
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
        << "legal definitions give (see <a href=\"#definitions\">The definitions used</a>). "
        << "Results are written with \",\" and \".\" as separators; yours follow your number "
           "settings.</p>\n<p>Of the "
        << reports.size() << " conversions";
    if (hidden > 0) out << " (" << hidden << " of them to or from the hidden units)";
    out << ", " << differing.size()
        << " show a result other than the exact value rounded to the same digits; they are "
           "listed first, largest difference first. "
        << roundedFactors
        << " conversions in all use a factor that is not exact. The page is made from "
           "Mensura's own tables each time Mensura is built.</p>\n\n";
    WriteDiffering(out, *category, differing);
    out << "\n";
    WriteEvery(out, *category, reports);
    out << "\n";
    WriteDefinitions(out, *category, page);
    out << "\n<p class=\"note\">The exact values are worked out in exact fractions, not in "
           "floating point, and rounded as Mensura rounds a result: to 7 significant digits for "
           "a result computed in single precision and to 15 for one in double precision, then "
           "to at most 7 decimals, half away from zero each time. Difference is (shown "
           "\u2212 exact) / exact. A value that goes on without end is cut after 18 digits and "
           "ends in &hellip;.</p>\n\n";

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
