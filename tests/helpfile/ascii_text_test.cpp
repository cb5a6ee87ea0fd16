// The help's text rules that the reader and the programs writing help pages
// share: HTML escaping by the characters a place needs escaped, and names
// compared and folded by their ASCII letters alone.
#include "ascii_text.h"

#include <gtest/gtest.h>

#include <string>

namespace mensura::helpfile {
namespace {

TEST(AsciiTextTest, EscapesOnlyTheCharactersAPlaceNeeds) {
    struct Case {
        std::string_view special, in, out;
    };
    // clang-format off
    const Case cases[] = {
        {kHtmlSpecial, "a<b>&\"c'",       "a&lt;b&gt;&amp;&quot;c'"},  // a value in double quotes
        {"&<>",        "1 < 2 & \"3\"",   "1 &lt; 2 &amp; \"3\""},     // text
        {"<",          "&amp; <p> \"",    "&amp; &lt;p> \""},          // markup parsed again
        {"\"<>",       "&x; \"<>",        "&x; &quot;&lt;&gt;"},
        {kHtmlSpecial, "\xC3\xA9\x01",    "\xC3\xA9\x01"},             // other bytes as they are
    };
    // clang-format on
    for (const Case& c : cases) {
        std::string out = "kept";
        AppendEscaped(out, c.in, c.special);
        EXPECT_EQ(out, "kept" + std::string(c.out)) << c.in;
    }
}

TEST(AsciiTextTest, NamesCompareByTheirAsciiLettersAlone) {
    EXPECT_TRUE(EqualsNoCase("Local", "LOCAL"));
    EXPECT_FALSE(EqualsNoCase("\xC3\x89", "\xC3\xA9"));  // É and é are not ASCII letters
    EXPECT_EQ(Folded("Index.HHK \xC3\x89"), "index.hhk \xC3\x89");
    EXPECT_TRUE(StartsWithNoCase("HTTPS://x", "https://"));
    EXPECT_TRUE(EndsWithNoCase("/A.HTM", ".htm"));
    EXPECT_FALSE(EndsWithNoCase("htm", ".htm"));
    EXPECT_EQ(Trimmed(" \t\n\r\fa b\f "), "a b");
    EXPECT_EQ(HexValue('F') + HexValue('a') + HexValue('9'), 15 + 10 + 9);
    EXPECT_EQ(HexValue('g'), -1);
}

}  // namespace
}  // namespace mensura::helpfile
