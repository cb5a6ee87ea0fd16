// Links, #SYSTEM records and sitemaps, as strings: the parts of the reader
// that take text from the file, on ordinary and on hostile text.
#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "help_file.h"

namespace mensura::helpfile {
namespace {

struct PathCase {
    std::string link, base;
    std::optional<std::string> expected;
};

// Names the case by its link (escaped), so that test names stay readable and
// the same from one run to the next.
void PrintTo(const PathCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(c.link.substr(0, 40));
}

class ResolvePathTest : public ::testing::TestWithParam<PathCase> {};

TEST_P(ResolvePathTest, StaysInsideTheFile) {
    EXPECT_EQ(ResolvePath(GetParam().link, GetParam().base), GetParam().expected);
}

const std::optional<std::string> kOutside;

INSTANTIATE_TEST_SUITE_P(
    Links, ResolvePathTest,
    ::testing::Values(
        PathCase{"units.html", "/index.html", "/units.html"},
        PathCase{"b.html#x", "/sub/a.html", "/sub/b.html#x"},
        PathCase{"#top", "/sub/a.html#old", "/sub/a.html#top"},
        PathCase{"../index.html", "/sub/a.html", "/index.html"},
        PathCase{"./x/./y//z.htm", "/", "/x/y/z.htm"},
        PathCase{"\\sub\\b.html", "/", "/sub/b.html"}, PathCase{"/a.html?q=1#f", "/", "/a.html#f"},
        PathCase{"my%20page.html", "/", "/my page.html"}, PathCase{"images/", "/", "/images/"},
        // Leaving the file: schemes, drives, network paths, climbing out.
        PathCase{"http://example.org/", "/", kOutside},
        PathCase{"mk:@MSITStore:other.chm::/a.htm", "/", kOutside},
        PathCase{"JavaScript:alert(1)", "/", kOutside},
        PathCase{"C:\\windows\\a.htm", "/", kOutside}, PathCase{"//host/share", "/", kOutside},
        PathCase{"../../etc/passwd", "/sub/a.html", kOutside}, PathCase{"%2e%2e/x", "/", kOutside},
        PathCase{"a%00b.html", "/", kOutside}, PathCase{std::string("a\0b", 3), "/", kOutside},
        PathCase{"a\x01.html", "/", kOutside}, PathCase{"", "/", kOutside},
        PathCase{"   ", "/", kOutside}, PathCase{std::string(600, 'a'), "/", kOutside}));

std::string Record(std::uint16_t code, const std::string& data, std::uint16_t length) {
    std::string r;
    r += static_cast<char>(code & 0xFF);
    r += static_cast<char>(code >> 8);
    r += static_cast<char>(length & 0xFF);
    r += static_cast<char>(length >> 8);
    return r + data;
}

TEST(ParseSystemTest, ReadsTheRecordsItKnows) {
    const std::string version("\x03\0\0\0", 4);
    const auto data = ParseSystem(
        version + Record(9, "HHA", 3) + Record(2, std::string("index.html\0", 11), 11) +
        Record(3, std::string("Title\0junk", 10), 10) + Record(0, std::string("toc.hhc\0", 8), 8));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->defaultTopic, "index.html");
    EXPECT_EQ(data->title, "Title");
    EXPECT_EQ(data->contentsFile, "toc.hhc");
    EXPECT_EQ(data->indexFile, "");
}

TEST(ParseSystemTest, AbsurdLengthsStopTheReadingCleanly) {
    const std::string version("\x03\0\0\0", 4);
    EXPECT_FALSE(ParseSystem(std::string("\x03\0", 2)).has_value());
    // A record claiming 65535 bytes where 5 follow is ignored, and so is
    // everything after it.
    auto data = ParseSystem(version + Record(3, "T", 1) + Record(2, "short", 0xFFFF));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->title, "T");
    EXPECT_EQ(data->defaultTopic, "");
    // A topic with no NUL and more bytes than any path is cut.
    data = ParseSystem(version + Record(2, std::string(60000, 'x'), 60000));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->defaultTopic.size(), kMaxPathLength);
    // A record header cut in half.
    data = ParseSystem(version + std::string("\x02\0\x05", 3));
    ASSERT_TRUE(data.has_value());
    EXPECT_EQ(data->defaultTopic, "");
}

std::string Item(const std::string& name, const std::string& local) {
    return "<LI><OBJECT type=\"text/sitemap\"><param name=\"Name\" value=\"" + name +
           "\"><param name=\"Local\" value=\"" + local + "\"></OBJECT>\n";
}

TEST(ParseSitemapTest, DepthFollowsTheListsAndEntitiesAreDecoded) {
    const std::string hhc =
        "<OBJECT type=\"text/site properties\"><param name=\"Name\" value=\"not me\"></OBJECT>"
        "<UL>" +
        Item("Tom &amp; Jerry &#x41;&#66; &lt;b&gt; &bogus; &#0;", "a.html") + "<UL>" +
        Item("  two\n  words ", "sub/b.html#p") + "</UL>" + Item("Outside", "http://example.org/") +
        "</UL>";
    const auto entries = ParseSitemap(hhc, "/toc/toc.hhc");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "Tom & Jerry AB <b> &bogus;");
    EXPECT_EQ(entries[0].local, "/toc/a.html");
    EXPECT_EQ(entries[0].depth, 0);
    EXPECT_EQ(entries[1].name, "two words");
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

}  // namespace
}  // namespace mensura::helpfile
