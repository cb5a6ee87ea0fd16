// The page sanitizer on ordinary, sloppy and hostile pages: what it keeps,
// what it drops, how it resolves links and images, how it reads charsets,
// and that every output keeps the promises the fuzz target checks.
#include "page_sanitizer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "chm_file.h"
#include "sanitized_page_checks.h"

namespace mensura::helpfile {
namespace {

std::string Repeat(const std::string& s, std::size_t n) {
    std::string out;
    out.reserve(s.size() * n);
    for (std::size_t i = 0; i < n; ++i) out += s;
    return out;
}

std::string Body(const SanitizedPage& page) {
    const std::size_t start = page.html.find("<body>") + 6;
    return page.html.substr(start, page.html.rfind("</body>") - start);
}

struct PageCase {
    std::string name;
    std::string page;
    std::vector<std::string> present;  // in the body, as written
    std::vector<std::string> absent;   // nowhere in the html
};

void PrintTo(const PageCase& c, std::ostream* os) {
    *os << c.name;
}

class SanitizeTest : public ::testing::TestWithParam<PageCase> {};

TEST_P(SanitizeTest, KeepsWhatHelpNeedsOnly) {
    const SanitizedPage page = SanitizePage(GetParam().page, "/sub/page.html");
    testsupport::CheckPage(page);
    const std::string body = Body(page);
    for (const std::string& s : GetParam().present)
        EXPECT_NE(body.find(s), std::string::npos) << s << "\n" << body;
    for (const std::string& s : GetParam().absent)
        EXPECT_EQ(page.html.find(s), std::string::npos) << s << "\n" << body;
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Pages, SanitizeTest, ::testing::Values(
    PageCase{"AllowedMarkup",
             "<h2 align=CENTER>T</h2><p class='note x_1'>a <b>b</b> <kbd>c</kbd></p><ul><li>d</ul>"
             "<table border=1><tr><th colspan=2>e<tr><td>f<td>g</table><pre>h  i</pre>",
             {"<h2 align=\"center\">T</h2>", "<p class=\"note x_1\">a <b>b</b> <kbd>c</kbd></p>",
              "<ul><li>d</li></ul>", "<table border=\"1\"><tr><th colspan=\"2\">e</th></tr>",
              "<td>f</td><td>g</td>", "<pre>h  i</pre>"},
             {}},
    PageCase{"NoTooltipsStylesOrHandlers",
             "<p title='<img src=/etc/passwd>' style='padding:2147483647px' onclick=x lang=en>a</p>"
             "<link rel=stylesheet href=x.css><span style=color:red class='ok bad! <x>'>b</span>",
             {"<p>a</p>", "<span class=\"ok\">b</span>"},
             {"title=", "style", "onclick", "link", "x.css", "passwd", "bad"}},
    PageCase{"RichTextHeaderIsNoElement", "<qt type=\"detail\"><img src=x.png>x</qt>",
             {"<img src=\"/sub/x.png\">x"}, {"<qt", "detail"}},
    PageCase{"ContentThatGoesWithItsElement",
             "<script>evil()</script><style>p{}</style><svg><text>svg</text></svg><object>obj"
             "</object><iframe>ifr</iframe><template>tpl</template><select><option>opt</select>"
             "<textarea>txt</textarea><math><mi>m</mi></math><noframes>nf</noframes>ok",
             {"ok"}, {"evil", "p{}", "svg", "obj", "ifr", "tpl", "opt", "txt", "<mi", "nf"}},
    PageCase{"UnknownElementsKeepTheirText",
             "<font color=red>a</font><marquee>b</marquee><form action=x><input value=v>c</form>"
             "<section>d</section><meta http-equiv=refresh content='0;url=file:///etc'>",
             {"a", "b", "c", "<div>d</div>"}, {"font", "marquee", "form", "input", "refresh", "etc"}},
    PageCase{"LinksInsideTheFile",
             "<a href='b.html#x'>1</a><a href='../top.html'>2</a><a href='#here'>3</a>"
             "<a href='my page.html?q=1'>4</a><a name=here id=h2>5</a>",
             {"href=\"/sub/b.html#x\">1", "href=\"/top.html\">2", "href=\"/sub/page.html#here\">3",
              "href=\"/sub/my%20page.html\">4", "name=\"here\" id=\"h2\">5"},
             {"?q"}},
    PageCase{"WebAndMailLinksAsWritten",
             "<a href='https://example.org/?a=1&b=2'>1</a><a href='MAILTO:x@example.org'>2</a>",
             {"href=\"https://example.org/?a=1&amp;b=2\">1", "href=\"MAILTO:x@example.org\">2"}, {}},
    PageCase{"OtherLinksLoseTheirAddress",
             "<a href='javascript:alert(1)'>1</a><a href='file:///etc/passwd'>2</a>"
             "<a href='mk:@MSITStore:x.chm::/a.htm'>3</a><a href='data:text/html,x'>4</a>"
             "<a href='../../../etc/passwd'>5</a><a href='C:\\x.htm'>6</a><a href='ftp://x/'>7</a>",
             {"<a>1</a><a>2</a><a>3</a><a>4</a><a>5</a><a>6</a><a>7</a>"},
             {"href", "javascript", "passwd"}},
    PageCase{"ImagesOutsideTheFileAreDropped",
             "<img src='file:///etc/hostname'><img src='../../x.png'><img src='%2e%2e/%2e%2e/x.png'>"
             "<img src='data:image/png;base64,AAAA'><img src='C:/x.png'><img src='//host/x.png'>"
             "<img src=''><img>a<img src='ok.png#frag' alt='the alt' title=t width=99999 height=7%>",
             {"a<img width=\"2048\" src=\"/sub/ok.png\">"}, {"hostname", "x.png", "base64", "alt", "frag"}},
    PageCase{"NumbersClamped",
             "<table cellpadding=2147483647 cellspacing=-1 border=99 width=150%><tr>"
             "<td colspan=2147483647 rowspan=0 width=abc>a<td width=50000 valign=top>b</table>",
             {"<table cellpadding=\"32\" border=\"8\" width=\"100%\">", "<td rowspan=\"1\" colspan=\"16\">a",
              "<td width=\"2048\" valign=\"top\">b"},
             {"2147483647", "abc", "50000"}},
    PageCase{"StrayStructureIsDropped",
             "<li>item</li><td>cell</td><tr><td>row</td></tr><dd>dd</dd><table>text<tr>x<td>y</table>",
             {"item", "cell", "row", "dd", "<td>y</td>"}, {"<li>", "<dd>", "text", "x<"}}));
// clang-format on

// The property check reads pages against the allowlist itself: a page
// breaking one of its rules fails it, naming the rule.
TEST(CheckPageTest, RefusesWhatTheAllowlistDoesNot) {
    // clang-format off
    const std::pair<const char*, const char*> broken[] = {
        {"<script>x</script>",                              "element not allowed"},
        {"<section>x</section>",                            "element not allowed"},
        {"<td>x</td>",                                      "misplaced element"},
        {"<table><p>x</p></table>",                         "misplaced element"},
        {"<p onclick=\"x\">x</p>",                          "attribute not allowed"},
        {"<em align=\"left\">x</em>",                       "attribute not allowed"},
        {"<p align=\"middle\">x</p>",                       "not one of the choices"},
        {"<table border=\"9\"><tr><td>x</td></tr></table>", "number not clamped"},
        {"<img width=\"50%\" src=\"/a.png\">",              "not a number"},
        {"<a href=\"javascript:x\">x</a>",                  "link"},
        {"<a href=\"/a/../../x.html\">x</a>",               "link"},
        {"<p class=\"a b!\">x</p>",                         "class names"},
        {"<p>x</b>",                                        "end tag does not match"},
    };
    // clang-format on
    for (const auto& [body, rule] : broken) {
        SanitizedPage page;
        page.html =
            "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title></title></head>\n"
            "<body>" +
            std::string(body) + "</body></html>\n";
        EXPECT_DEATH(testsupport::CheckPage(page), std::string("property failed: ") + rule) << body;
    }
}

// Caps: each hostile shape comes out bounded, with the cap it hit counted.
struct CapCase {
    std::string name;
    std::string page;
    std::size_t SanitizedPage::*counter;  // must be above zero
    bool truncated;
};

void PrintTo(const CapCase& c, std::ostream* os) {
    *os << c.name;
}

class CapTest : public ::testing::TestWithParam<CapCase> {};

TEST_P(CapTest, HostileShapesComeOutBounded) {
    const SanitizedPage page = SanitizePage(GetParam().page, "/page.html");
    testsupport::CheckPage(page);
    if (GetParam().counter) {
        EXPECT_GT(page.*(GetParam().counter), 0u);
    }
    EXPECT_EQ(page.truncated, GetParam().truncated);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Shapes, CapTest, ::testing::Values(
    CapCase{"NestedTables", Repeat("<table><tr><td>x", 3000), &SanitizedPage::flattenedTables, true},
    CapCase{"NestedDivs", Repeat("<div>", 100000) + "x", &SanitizedPage::droppedElements, true},
    CapCase{"NestedLists", Repeat("<ul><li>x", 40), &SanitizedPage::droppedElements, false},
    CapCase{"NestedInline", Repeat("<b><i>", 100) + "x", &SanitizedPage::droppedElements, false},
    CapCase{"LongWord", "<p>" + std::string(400000, 'w'), &SanitizedPage::brokenRuns, false},
    CapCase{"LongPreLine", "<pre>" + Repeat("a ", 2000), &SanitizedPage::brokenRuns, false},
    CapCase{"HugeWord", std::string(4 << 20, 'w'), &SanitizedPage::brokenRuns, true},
    CapCase{"ManyColspans", "<table>" + Repeat("<tr><td colspan=2147483647>x</td></tr>", 2000),
            &SanitizedPage::clampedNumbers, false},
    CapCase{"WideRow", "<table><tr>" + Repeat("<td colspan=3>x", 40), &SanitizedPage::droppedElements, false},
    CapCase{"ManyElements", Repeat("<p>x</p>", 20000), &SanitizedPage::droppedElements, false},
    CapCase{"ManyImages", Repeat("<img src=a.png>", 300), &SanitizedPage::droppedImages, false},
    CapCase{"ManyDistinctImages", [] { std::string s; for (int i = 0; i < 40; ++i) s += "<img src=" + std::to_string(i) + ".png>"; return s; }(),
            &SanitizedPage::droppedImages, false},
    CapCase{"ManyAttributes", "<p " + [] { std::string s; for (int i = 0; i < 100000; ++i) s += "a" + std::to_string(i) + " "; return s; }() + ">x",
            nullptr, false},
    CapCase{"StrayEndTags", Repeat("<span>", 200) + Repeat("</b></table>", 200000), nullptr, false}));
// clang-format on

// A table past the page's budget of grid cells ends there; its other rows
// follow as lines of text, none lost.
TEST(SanitizeTest, LongTableEndsButKeepsItsText) {
    std::string html = "<table>";
    for (int row = 0; row < 1000; ++row)
        html += "<tr>" + Repeat("<td>c", 15) + "<td>r" + std::to_string(row);
    const SanitizedPage page = SanitizePage(html, "/page.html");
    testsupport::CheckPage(page);
    EXPECT_GT(page.droppedElements, 0u);
    EXPECT_NE(page.text.find("c c c c c c c c c c c c c c c r999"), std::string::npos);
    EXPECT_LT(page.html.find("</table>"), page.html.find("r999"));
}

TEST(SanitizeTest, SameImageUnderManyQueriesIsOneImage) {
    std::string html;
    for (int i = 1; i <= 24; ++i) html += "<img src=\"b.png?" + std::to_string(i) + "\">";
    const SanitizedPage page = SanitizePage(html, "/page.html");
    EXPECT_EQ(page.images, std::vector<std::string>{"/b.png"});
    EXPECT_EQ(page.droppedImages, 0u);
}

// Charsets: the bytes, what the plain text must read.
struct CharsetCase {
    std::string name, bytes, text;
};

void PrintTo(const CharsetCase& c, std::ostream* os) {
    *os << c.name;
}

class CharsetTest : public ::testing::TestWithParam<CharsetCase> {};

TEST_P(CharsetTest, ReadsAsABrowserWould) {
    const SanitizedPage page = SanitizePage(GetParam().bytes, "/page.html");
    testsupport::CheckPage(page);
    EXPECT_EQ(page.text, GetParam().text);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Charsets, CharsetTest, ::testing::Values(
    CharsetCase{"Utf8Undeclared", "caf\xC3\xA9 \xE2\x82\xAC", "caf\xC3\xA9 \xE2\x82\xAC"},
    CharsetCase{"Windows1252Undeclared", "\x93q\x94 caf\xE9 \x80", "\xE2\x80\x9Cq\xE2\x80\x9D caf\xC3\xA9 \xE2\x82\xAC"},
    CharsetCase{"Latin1DeclaredReadAs1252", "<meta charset=iso-8859-1>\x80", "\xE2\x82\xAC"},
    CharsetCase{"Utf8DeclaredWithBadBytes", "<meta http-equiv=Content-Type content='text/html; charset=UTF-8'>a\xFF\xC3", "a\xEF\xBF\xBD\xEF\xBF\xBD"},
    CharsetCase{"Utf8ByteOrderMark", "\xEF\xBB\xBFx\xC3\xA9", "x\xC3\xA9"},
    CharsetCase{"Utf16LittleEndian", std::string("\xFF\xFEh\0i\0\xAC\x20", 8), "hi\xE2\x82\xAC"},
    CharsetCase{"Utf16BigEndianLoneSurrogate", std::string("\xFE\xFF\0a\xD8\0\0b", 8), "a\xEF\xBF\xBD" "b"},
    CharsetCase{"Windows1251ThroughIconv", "<meta charset=\"windows-1251\">\xCF\xF0\xE8", "\xD0\x9F\xD1\x80\xD0\xB8"},
    CharsetCase{"UnknownCharsetGuessed", "<meta charset=x-unknown>\xE9", "\xC3\xA9"},
    CharsetCase{"ControlsAndNul", std::string("a\0b\x01" "c\x7F" "d&#0;&#x85;e", 18), "a\xEF\xBF\xBD" "bcde"},
    CharsetCase{"EntitiesDecoded", "&lt;&amp;&eacute;&#x263A;&#128512;", "<&\xC3\xA9\xE2\x98\xBA\xF0\x9F\x98\x80"}));
// clang-format on

TEST(SanitizeTest, TitleIsPlainTidiedAndBounded) {
    EXPECT_EQ(SanitizePage("<title>\n A  <b>b</b>\t&amp; c </title>x", "/p.html").title,
              "A <b>b</b> & c");
    const SanitizedPage page =
        SanitizePage("<title>" + std::string(1000, 't') + "</title>", "/p.html");
    EXPECT_EQ(page.title.size(), kMaxTitleBytes);
    testsupport::CheckPage(page);
}

// The help's own pages come through whole: nothing dropped or clamped,
// every link to a page of the file, every image an object of it.
TEST(SanitizeTest, HelpPagesComeThroughWhole) {
    const std::unique_ptr<ChmFile> file = ChmFile::Open(MENSURA_HELP_FILE);
    ASSERT_TRUE(file);
    const std::vector<std::string> pages = file->Pages();
    ASSERT_FALSE(pages.empty());
    for (const std::string& path : pages) {
        SCOPED_TRACE(path);
        const SanitizedPage page = SanitizePage(file->Object(path).value(), path);
        testsupport::CheckPage(page);
        EXPECT_FALSE(page.title.empty());
        EXPECT_EQ(page.droppedElements + page.droppedImages + page.clampedNumbers + page.brokenRuns,
                  0u);
        EXPECT_FALSE(page.truncated);
        for (const std::string& image : page.images) EXPECT_TRUE(file->Object(image)) << image;
        for (std::size_t at = page.html.find("href=\"/"); at != std::string::npos;
             at = page.html.find("href=\"/", at + 1)) {
            std::string target = page.html.substr(at + 6, page.html.find('"', at + 6) - at - 6);
            target = target.substr(0, target.find('#'));
            EXPECT_TRUE(std::binary_search(pages.begin(), pages.end(), target)) << target;
        }
    }
}

}  // namespace
}  // namespace mensura::helpfile
