// The help's style sheet read as the viewer applies it: every text colour it
// sets against every background that text can stand on, at the contrast
// WCAG asks of body text (4.5:1), so that no page depends on the desktop's
// colours for its text, links or bullets.
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <regex>
#include <set>
#include <string>

#include "help_test_util.h"

namespace {

struct Rule {
    std::string color, background;
};

// The rules of the style sheet by selector, with the two colours they set.
std::map<std::string, Rule> Rules(std::string css) {
    css = std::regex_replace(css, std::regex(R"(/\*[^*]*\*+([^/*][^*]*\*+)*/)"), "");
    std::map<std::string, Rule> rules;
    const std::regex rule(R"(([^{}]+)\{([^}]*)\})"), declaration(R"(([a-z-]+)\s*:\s*([^;]+))");
    for (std::sregex_iterator r(css.begin(), css.end(), rule), end; r != end; ++r) {
        const std::string selectors = (*r)[1], body = (*r)[2];
        for (std::sregex_iterator d(body.begin(), body.end(), declaration); d != end; ++d) {
            const std::string property = (*d)[1];
            const std::string value = std::regex_replace((*d)[2].str(), std::regex(R"(\s+$)"), "");
            // One rule may name several selectors, "ul, ol".
            static const std::regex comma(R"(\s*,\s*)");
            std::sregex_token_iterator s(selectors.begin(), selectors.end(), comma, -1);
            for (; s != std::sregex_token_iterator(); ++s) {
                const std::string selector =
                    std::regex_replace(s->str(), std::regex(R"(^\s+|\s+$)"), "");
                if (property == "color") rules[selector].color = value;
                if (property == "background-color" || property == "background")
                    rules[selector].background = value;
            }
        }
    }
    return rules;
}

// WCAG 2 relative luminance of "#rrggbb"; NaN for what it cannot read.
double Luminance(const std::string& colour) {
    if (!std::regex_match(colour, std::regex("#[0-9a-fA-F]{6}"))) return std::nan("");
    double sum = 0;
    const double weights[] = {0.2126, 0.7152, 0.0722};
    for (std::size_t i = 0; i < 3; ++i) {
        const double c = std::stoi(colour.substr(1 + 2 * i, 2), nullptr, 16) / 255.0;
        sum += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return sum;
}

double Contrast(const std::string& a, const std::string& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(HelpStyleContrastTest, EveryTextColourStandsOutFromItsBackground) {
    const auto rules =
        Rules(mensura::helpfile::testing::ReadFile(MENSURA_HELP_SOURCE_DIR "/style.css"));
    ASSERT_TRUE(rules.count("body"));
    const Rule& body = rules.at("body");
    ASSERT_FALSE(body.color.empty());
    ASSERT_FALSE(body.background.empty());
    // Links and list items (whose colour the viewer gives their bullets)
    // are given the page's colours; the desktop's need not suit it.
    ASSERT_TRUE(rules.count("a") && !rules.at("a").color.empty());
    ASSERT_TRUE(rules.count("li") && !rules.at("li").color.empty());

    // Text of a rule without a background of its own stands on the page or
    // on any background set without a text colour (a highlighted row).
    std::set<std::string> surfaces{body.background};
    for (const auto& [selector, rule] : rules)
        if (rule.color.empty() && !rule.background.empty()) surfaces.insert(rule.background);
    int pairs = 0;
    for (const auto& [selector, rule] : rules) {
        const std::string text = rule.color.empty() ? body.color : rule.color;
        if (rule.color.empty() && rule.background.empty()) continue;
        std::set<std::string> under{rule.background};
        if (rule.background.empty()) under = surfaces;
        for (const std::string& background : under) {
            const double ratio = Contrast(text, background);
            EXPECT_GE(ratio, 4.5) << selector << ": " << text << " on " << background;
            ++pairs;
        }
    }
    EXPECT_GE(pairs, 8);
}

}  // namespace
