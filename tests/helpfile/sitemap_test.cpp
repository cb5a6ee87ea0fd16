// Sitemaps of the table of contents and of the keyword index, on ordinary
// and on hostile text.
#include "sitemap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mensura::helpfile {
namespace {

std::string Item(const std::string& name, const std::string& local) {
    return "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\n";
}

TEST(ParseSitemapTest, DepthFollowsTheListsAndEntitiesAreDecoded) {
    const std::string hhc =
        "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"not me\"></OBJECT>"
        "<UL>" +
        Item("Tom &amp; Jerry &#x41;&#66; &lt;b&gt; &bogus; &#0;", "a.html") + "<UL>" +
        Item("  two\n  words\fin\tall ", "sub/b.html#p") + "</UL>" +
        Item("Outside", "http://example.org/") + "</UL>";
    const auto entries = ParseSitemap(hhc, "/toc/toc.hhc");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Tom & Jerry AB <b> &bogus;");
    EXPECT_EQ(entries[0].local, "/toc/a.html");
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_EQ(entries[1].name, "two words in all");  // HTML's five blanks, form feed too
    EXPECT_EQ(entries[1].local, "/toc/sub/b.html#p");
    EXPECT_EQ(entries[1].depth, 1);
    EXPECT_EQ(entries[2].local, "");  // a link out of the file is no page
    EXPECT_EQ(entries[2].depth, 0);
}

TEST(ParseSitemapTest, MissingClosingTagsAndUnquotedValuesAreForgiven) {
    const auto entries = ParseSitemap(
        "<ul><li><object type=text/sitemap><param name=Name value=A><param name=Local value=a.htm>"
        "<li><object type='text/sitemap'><param name='Name' value='B'>"
        "<ul><li><object type=\"TEXT/SITEMAP\"><param value=\"C\" name=\"name\">");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "A");
    EXPECT_EQ(entries[0].local, "/a.htm");
    EXPECT_EQ(entries[1].name, "B");
    EXPECT_EQ(entries[1].local, "");
    EXPECT_EQ(entries[2].name, "C");
    EXPECT_EQ(entries[2].depth, 1);
}

TEST(ParseSitemapTest, HostileSitemapsGiveBoundedResults) {
    // Nesting far deeper than any contents is reported at the deepest level.
    std::string deep;
    for (int i = 0; i < 200000; ++i) deep += "<ul>";
    auto entries = ParseSitemap(deep + Item("Deep", "d.html"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].depth, kMaxContentsDepth);

    // A name of 3 MB of two-byte characters is cut on a character boundary.
    std::string huge;
    for (int i = 0; i < 1500000; ++i) huge += "\xC3\xA9";
    entries = ParseSitemap("<ul>" + Item(huge, "x.html"));
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_LE(entries[0].name.size(), kMaxNameLength);
    EXPECT_EQ(entries[0].name.size() % 2, 0u);

    // More entries than any contents holds are cut at the limit.
    std::string many = "<ul>";
    for (std::size_t i = 0; i < kMaxContentsEntries + 50; ++i) many += Item("n", "n.html");
    EXPECT_EQ(ParseSitemap(many).size(), kMaxContentsEntries);

    // Tags and strings cut off at the end, closing lists that never opened.
    for (const std::string& cut : std::vector<std::string>{
             "<ul><li><object type=\"text/sitemap\"><param name=\"Name\" value=\"A",
             "<ul><li><object type=\"text/sitemap\"><param name=\"Name\"", "<!-- never closed <ul>",
             "</ul></ul></ul>" + Item("Top", "t.html"), "<", "<<<<>>>>", "<a \"\">"})
        for (const ContentsEntry& e : ParseSitemap(cut)) EXPECT_EQ(e.depth, 0) << cut;
}

std::string Param(const char* key, const std::string& value) {
    return "<param name=\"" + std::string(key) + "\" value=\"" + value + "\">";
}

// A keyword's pages: each Local under the Name before it, or the keyword.
TEST(ParseIndexTest, KeywordsLeadToTheirPages) {
    const std::string hhk =
        "<UL><LI><OBJECT type=\"text/sitemap\">" + Param("Name", "gallon") +
        Param("Name", "The units") + Param("Local", "units.html#capacity") +
        Param("Name", "Capacity") + Param("Local", "accuracy-capacity.html") +
        "</OBJECT><LI><OBJECT type=\"text/sitemap\">" + Param("Name", "inch") +
        Param("Local", "units.html") + Param("Local", "http://example.org/") +
        Param("Local", "../../outside.html") + "</OBJECT><UL><LI><OBJECT type=\"text/sitemap\">" +
        Param("Name", "sub") + "</OBJECT></UL><LI><OBJECT type=\"text/sitemap\">" +
        Param("Local", "nameless.html") + "</OBJECT><LI><OBJECT type=\"text/sitemap\">" +
        Param("Name", "many");
    std::string many;
    for (int i = 0; i < 100; ++i) many += Param("Local", "p" + std::to_string(i) + ".html");
    const auto entries = ParseIndex(hhk + many + "</OBJECT></UL>", "/help/index.hhk");
    ASSERT_EQ(entries.size(), 4u);  // the object without a keyword is left out
    EXPECT_EQ(entries[0].keyword, "gallon");
    ASSERT_EQ(entries[0].topics.size(), 2u);
    EXPECT_EQ(entries[0].topics[0].title, "The units");
    EXPECT_EQ(entries[0].topics[0].local, "/help/units.html#capacity");
    EXPECT_EQ(entries[0].topics[1].title, "Capacity");
    EXPECT_EQ(entries[0].topics[1].local, "/help/accuracy-capacity.html");
    // Pages outside the file are dropped; an untitled page takes the keyword.
    ASSERT_EQ(entries[1].topics.size(), 1u);
    EXPECT_EQ(entries[1].topics[0].title, "inch");
    EXPECT_EQ(entries[2].keyword, "sub");
    EXPECT_EQ(entries[2].depth, 1);
    EXPECT_TRUE(entries[2].topics.empty());
    EXPECT_EQ(entries[3].topics.size(), kMaxIndexTopics);
}

}  // namespace
}  // namespace mensura::helpfile
