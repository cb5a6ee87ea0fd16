// Every number the help pages quote as a result is marked in their HTML
// with what it is the result of, and is worked out here again by the
// engine, so that a changed table or rounding rule cannot leave the help
// wrong:
//   data-input, data-unit, data-row   the caption of the row for that input
//                                     and unit (data-show="digits": its
//                                     tooltip digits; "plain": Copy Number)
//   data-value [data-precision]       a value through the display pattern
//   data-reads="text|text"            what the number box reads from each
//                                     text (data-show="single": as held;
//                                     "copy": as Copy Number gives it)
//   data-size, data-in                a unit's exact size in another unit,
//                                     from the units' definitions
// Optional data-group and data-decimal set the separators (default "," and
// "."). A quote with class="value" must match the caption character for
// character; a quote in running text must have the same number.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "memory_fields.h"
#include "recompute.h"
#include "unit_definitions.h"

namespace {

using Attributes = std::map<std::string, std::string>;

std::string Decoded(std::string text) {
    const std::pair<const char*, const char*> entities[] = {
        {"&nbsp;", "\u00a0"}, {"&#8239;", "\u202f"}, {"&hellip;", "\u2026"}, {"&amp;", "&"}};
    for (const auto& [entity, character] : entities)
        for (std::size_t at; (at = text.find(entity)) != std::string::npos;)
            text.replace(at, std::string(entity).size(), character);
    return text;
}

// The number in a text, its grouping left out ("49,000" and "49,000." are
// 49000); the decimal separator is given.
double Number(std::string text, const mensura::Separators& separators) {
    std::string plain;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, separators.group.size(), separators.group) == 0) {
            i += separators.group.size();
        } else if (text.compare(i, separators.decimal.size(), separators.decimal) == 0) {
            plain += '.';
            i += separators.decimal.size();
        } else {
            plain += text[i++];
        }
    }
    return mensura::LeadingNumber(plain);
}

// True for digits with separators and a sign, nothing else.
bool IsNumber(const std::string& text, const mensura::Separators& separators) {
    std::string rest = text;
    for (const std::string& s : {separators.group, separators.decimal, std::string("-")})
        for (std::size_t at; !s.empty() && (at = rest.find(s)) != std::string::npos;)
            rest.erase(at, s.size());
    return !rest.empty() && rest.find_first_not_of("0123456789") == std::string::npos;
}

std::string Attribute(const Attributes& a, const std::string& name, std::string fallback = "") {
    const auto it = a.find(name);
    return it == a.end() ? fallback : it->second;
}

// What the engine gives for a quote, and whether it must match as text.
struct Worked {
    std::string text;
    bool exactText;
};

// The engine's result of a conversion quote: its caption as the window
// shows it ("Overflow" when the row fails its check), tooltip digits or
// Copy Number text.
std::string Conversion(const Attributes& a, const mensura::Separators& separators) {
    const std::string unit = Attribute(a, "data-unit");
    std::string category;
    for (const mensura::Category& c : mensura::Categories())
        for (const std::string& u : c.units)
            if (u == unit) category = c.name;
    mensura::MemoryFields fields(category, unit, Attribute(a, "data-input"));
    mensura::RecomputeResults(fields, separators, mensura::OnFailure::ShowInRows);
    const int row = mensura::UnitRow(Attribute(a, "data-row"));
    if (row == 0) return "<no such row>";
    const std::string show = Attribute(a, "data-show");
    if (show.empty()) return fields.Caption(row);
    for (std::size_t i = fields.writes.size(); i-- > 0;) {
        if (fields.writes[i].first != row || !fields.numbers[i]) continue;
        const mensura::CellNumber n = *fields.numbers[i];
        if (show == "digits") return mensura::AllDigits(n.value, n.precision);
        if (show == "plain") return mensura::PlainResult(n.value, n.precision);
    }
    return "<no number in row>";
}

Worked Work(const Attributes& a, const std::string& quoted) {
    mensura::Separators separators;
    separators.group = Attribute(a, "data-group", ",");
    separators.decimal = Attribute(a, "data-decimal", ".");
    const bool caption = Attribute(a, "class") == "value";
    if (a.count("data-input")) {
        const std::string text = Conversion(a, separators);
        return {text, caption || !IsNumber(text, separators) || !IsNumber(quoted, separators)};
    }
    if (a.count("data-value")) {
        const auto precision = Attribute(a, "data-precision") == "single"
                                   ? mensura::Precision::Single
                                   : mensura::Precision::Double;
        return {mensura::FormatResult(mensura::LeadingNumber(Attribute(a, "data-value")), precision,
                                      separators),
                true};
    }
    if (a.count("data-reads")) {
        // Each of the texts must read as the quoted number.
        const std::string texts = Attribute(a, "data-reads") + "|";
        std::string answer;
        for (std::size_t from = 0, bar; (bar = texts.find('|', from)) != std::string::npos;
             from = bar + 1) {
            const double read = mensura::LeadingNumber(texts.substr(from, bar - from));
            const auto held = static_cast<float>(read);
            const std::string show = Attribute(a, "data-show");
            const std::string one = show == "copy" ? mensura::PlainSingle(held)
                                    : show == "single"
                                        ? mensura::PlainResult(held, mensura::Precision::Double)
                                        : mensura::PlainResult(read, mensura::Precision::Double);
            if (!answer.empty() && one != answer) return {"<texts read differently>", true};
            answer = one;
        }
        return {answer, Attribute(a, "data-show") == "copy"};
    }
    if (a.count("data-size")) {
        // All the digits of the exact size; a quote that ends in an ellipsis
        // gives its first digits of a size that goes on without end.
        using namespace mensura::exact;
        const Fraction size = Size(Attribute(a, "data-size")) / Size(Attribute(a, "data-in"));
        bool complete = false;
        const std::string digits = Plain(Leading(size, 40, &complete));
        const std::string ellipsis = "\u2026";
        const std::size_t cut = quoted.rfind(ellipsis);
        if (!complete && cut != std::string::npos && cut + ellipsis.size() == quoted.size() &&
            digits.compare(0, cut, quoted, 0, cut) == 0)
            return {quoted, true};
        return {complete ? digits : digits + ellipsis, true};
    }
    return {"<not a quote Mensura knows how to check>", true};
}

std::vector<std::string> HelpPages() {
    std::vector<std::string> pages;
    for (const auto& entry : std::filesystem::directory_iterator(MENSURA_HELP_SOURCE_DIR))
        if (entry.path().extension() == ".html") pages.push_back(entry.path().filename());
    return pages;
}

TEST(HelpExamplesTest, EveryQuotedResultIsTheEngines) {
    const std::regex span(R"re(<span\b([^>]*)>([^<]*)</span>)re");
    const std::regex attribute(R"re(([a-z-]+)="([^"]*)")re");
    int checked = 0;
    const std::vector<std::string> pages = HelpPages();
    ASSERT_GE(pages.size(), 7u);
    for (const std::string& page : pages) {
        std::ifstream in(std::string(MENSURA_HELP_SOURCE_DIR) + "/" + page);
        const std::string html((std::istreambuf_iterator<char>(in)), {});
        for (std::sregex_iterator it(html.begin(), html.end(), span), end; it != end; ++it) {
            Attributes a;
            const std::string attributes = (*it)[1];
            for (std::sregex_iterator at(attributes.begin(), attributes.end(), attribute);
                 at != end; ++at)
                a[(*at)[1]] = Decoded((*at)[2]);
            const bool marked = a.count("data-input") || a.count("data-value") ||
                                a.count("data-reads") || a.count("data-size");
            const std::string quoted = Decoded((*it)[2]);
            // A value styled as the window shows one is always a checked quote.
            if (!marked) {
                EXPECT_NE(Attribute(a, "class"), "value") << page << ": unmarked " << quoted;
                continue;
            }
            ++checked;
            const Worked worked = Work(a, quoted);
            const mensura::Separators separators{Attribute(a, "data-group", ","),
                                                 Attribute(a, "data-decimal", ".")};
            if (worked.exactText)
                EXPECT_EQ(quoted, worked.text) << page << ": " << (*it)[0];
            else
                EXPECT_EQ(Number(quoted, separators), Number(worked.text, separators))
                    << page << ": " << (*it)[0] << " gives " << worked.text;
        }
    }
    EXPECT_GT(checked, 90);
}

}  // namespace
