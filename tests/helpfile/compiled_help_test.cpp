// The help file the build compiles, read back through the reader: what the
// viewer will show, and whether the content itself holds together.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "chm_file.h"
#include "chm_path.h"
#include "chm_system.h"
#include "help_test_util.h"

namespace mensura::helpfile {
namespace {

using testing::ReadFile;

class CompiledHelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_file = ChmFile::Open(MENSURA_HELP_FILE, &error);
        ASSERT_NE(m_file, nullptr) << error;
    }
    std::unique_ptr<ChmFile> m_file;
};

TEST_F(CompiledHelpTest, DefaultTopicAndTitleComeFromTheProjectFile) {
    EXPECT_EQ(m_file->DefaultTopic(), "/index.html");
    EXPECT_EQ(m_file->Title(), "Mensura Help");
}

TEST_F(CompiledHelpTest, ObjectsAreFoundWithoutRegardToCaseAndHoldTheirSourceBytes) {
    const std::string source = ReadFile(MENSURA_HELP_SOURCE_DIR "/units.html");
    ASSERT_FALSE(source.empty());
    for (const char* path : {"/units.html", "/UNITS.HTML", "/Units.Html"}) {
        const auto bytes = m_file->Object(path);
        ASSERT_TRUE(bytes.has_value()) << path;
        EXPECT_EQ(*bytes, source) << path;
    }
    const auto picture = m_file->Object("/images/mensura.png");
    ASSERT_TRUE(picture.has_value());
    // The picture is the program's 32-pixel icon.
    EXPECT_EQ(*picture, ReadFile(MENSURA_HELP_SOURCE_DIR "/../packaging/icons/mensura-32.png"));
}

TEST_F(CompiledHelpTest, MissingOrMalformedNamesFindNothing) {
    for (const std::string& path :
         std::vector<std::string>{"/nothing.html", "units.html", "", "/units.html/",
                                  std::string("/units.html\0x", 13), "/" + std::string(600, 'a')})
        EXPECT_FALSE(m_file->Object(path).has_value()) << path;
}

TEST_F(CompiledHelpTest, PagesAreTheHtmlSources) {
    const std::vector<std::string> expected{"/about.html",           "/accuracy-capacity.html",
                                            "/accuracy-length.html", "/accuracy-weight.html",
                                            "/hidden.html",          "/index.html",
                                            "/keyboard.html",        "/numbers.html",
                                            "/results.html",         "/units.html"};
    EXPECT_EQ(m_file->Pages(), expected);
}

// The table of contents, line by line as the sitemap has it.
TEST_F(CompiledHelpTest, ContentsFollowTheSitemap) {
    struct Line {
        const char* name;
        const char* local;
        int depth;
    };
    const Line expected[] = {
        {"Welcome to Mensura", "/index.html", 0},
        {"In four steps", "/index.html#steps", 1},
        {"Where to read on", "/index.html#more", 1},
        {"The units", "/units.html", 0},
        {"Length", "/units.html#length", 1},
        {"Weight", "/units.html#weight", 1},
        {"Capacity", "/units.html#capacity", 1},
        {"Hidden weight units", "/hidden.html", 1},
        {"How to convert from a hidden unit", "/hidden.html#convert", 2},
        {"How exact the results are", "/units.html#exact", 0},
        {"Length: every conversion", "/accuracy-length.html", 1},
        {"Results that differ from the exact value", "/accuracy-length.html#differ", 2},
        {"Every conversion", "/accuracy-length.html#all", 2},
        {"The definitions used", "/accuracy-length.html#definitions", 2},
        {"Weight: every conversion", "/accuracy-weight.html", 1},
        {"Results that differ from the exact value", "/accuracy-weight.html#differ", 2},
        {"Every conversion", "/accuracy-weight.html#all", 2},
        {"The definitions used", "/accuracy-weight.html#definitions", 2},
        {"Capacity: every conversion", "/accuracy-capacity.html", 1},
        {"Results that differ from the exact value", "/accuracy-capacity.html#differ", 2},
        {"Every conversion", "/accuracy-capacity.html#all", 2},
        {"The definitions used", "/accuracy-capacity.html#definitions", 2},
        {"Typing a number", "/numbers.html", 0},
        {"What Mensura reads", "/numbers.html#reading", 1},
        {"The decimal point is always \".\"", "/numbers.html#point", 1},
        {"Hexadecimal and octal", "/numbers.html#hex", 1},
        {"How exactly the number is kept", "/numbers.html#kept", 1},
        {"How results are shown", "/results.html", 0},
        {"How a result is computed", "/results.html#computed", 1},
        {"Rounding", "/results.html#rounding", 1},
        {"How a result is written", "/results.html#grouping", 1},
        {"Overflow and Out of range", "/results.html#messages", 1},
        {"Keyboard and copying", "/keyboard.html", 0},
        {"Keys", "/keyboard.html#keys", 1},
        {"Taking a result elsewhere", "/keyboard.html#copying", 1},
        {"With a screen reader", "/keyboard.html#reader", 1},
        {"Help and the About window", "/about.html", 0},
        {"The Help menu", "/about.html#menu", 1},
        {"The About window", "/about.html#about", 1},
    };
    const std::vector<ContentsEntry> contents = m_file->Contents();
    ASSERT_EQ(contents.size(), std::size(expected));
    for (std::size_t i = 0; i < contents.size(); ++i) {
        EXPECT_EQ(contents[i].name, expected[i].name) << "line " << i;
        EXPECT_EQ(contents[i].local, expected[i].local) << "line " << i;
        EXPECT_EQ(contents[i].depth, expected[i].depth) << "line " << i;
    }
}

// True when the page at `path` exists and, for "#part", has that anchor.
::testing::AssertionResult Reaches(const ChmFile& file, const std::string& target) {
    const std::size_t hash = target.find('#');
    const auto page = file.Object(target.substr(0, hash));
    if (!page) return ::testing::AssertionFailure() << target << " is not in the file";
    if (hash != std::string::npos) {
        const std::string anchor = target.substr(hash + 1);
        if (page->find("name=\"" + anchor + "\"") == std::string::npos)
            return ::testing::AssertionFailure() << target << " has no anchor " << anchor;
    }
    return ::testing::AssertionSuccess();
}

TEST_F(CompiledHelpTest, EveryContentsLineLeadsToAPage) {
    for (const ContentsEntry& entry : m_file->Contents()) {
        ASSERT_FALSE(entry.local.empty()) << entry.name;
        EXPECT_TRUE(Reaches(*m_file, entry.local));
    }
}

// Every href and src in every page, stylesheet and picture included, must
// lead to an object of the file: a broken link is a fault of the content.
TEST_F(CompiledHelpTest, EveryLinkInEveryPageResolvesInsideTheFile) {
    const std::regex link(R"re((href|src)\s*=\s*"([^"]*)")re", std::regex::icase);
    std::set<std::string> reachedPages{m_file->DefaultTopic()};
    int links = 0;
    for (const std::string& page : m_file->Pages()) {
        const auto html = m_file->Object(page);
        ASSERT_TRUE(html.has_value()) << page;
        for (std::sregex_iterator it(html->begin(), html->end(), link), end; it != end; ++it) {
            const std::string target = (*it)[2];
            const auto resolved = ResolvePath(target, page);
            ASSERT_TRUE(resolved.has_value()) << page << ": " << target;
            EXPECT_TRUE(Reaches(*m_file, *resolved)) << "in " << page;
            reachedPages.insert(resolved->substr(0, resolved->find('#')));
            ++links;
        }
    }
    EXPECT_GT(links, 20);
    // No page is an orphan: each one is linked from a page.
    for (const std::string& page : m_file->Pages()) EXPECT_EQ(reachedPages.count(page), 1u) << page;
}

// Each page has a contents line, and so has each of its sections: every
// <h2> carries an anchor that a contents line leads to.
TEST_F(CompiledHelpTest, EverySectionHasAContentsLine) {
    std::set<std::string> lines;
    for (const ContentsEntry& entry : m_file->Contents()) lines.insert(entry.local);
    const std::regex heading(R"re(<h2>\s*(<a name="([^"]+)"></a>)?([^<]*))re", std::regex::icase);
    int sections = 0;
    for (const std::string& page : m_file->Pages()) {
        EXPECT_EQ(lines.count(page), 1u) << page;
        const std::string html = m_file->Object(page).value_or("");
        for (std::sregex_iterator it(html.begin(), html.end(), heading), end; it != end; ++it) {
            ++sections;
            ASSERT_TRUE((*it)[1].matched) << page << ": no anchor in <h2>" << (*it)[3];
            EXPECT_EQ(lines.count(page + "#" + std::string((*it)[2])), 1u)
                << page << ": section " << (*it)[3] << " is not in the contents";
        }
    }
    EXPECT_GT(sections, 25);
}

// "Back" and "Next" at the foot of each page lead to the page before and
// after it in the order in which the contents first name the pages.
TEST_F(CompiledHelpTest, BackAndNextFollowTheContents) {
    std::vector<std::string> order;
    for (const ContentsEntry& entry : m_file->Contents()) {
        const std::string page = entry.local.substr(0, entry.local.find('#'));
        if (std::find(order.begin(), order.end(), page) == order.end()) order.push_back(page);
    }
    ASSERT_EQ(order.size(), m_file->Pages().size());
    const std::regex back(R"re(Back:\s*<a href="([^"]+)")re"),
        next(R"re(Next:\s*<a href="([^"]+)")re");
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::string html = m_file->Object(order[i]).value_or("");
        const std::string nav = html.substr(std::min(html.find("<p class=\"nav\">"), html.size()));
        ASSERT_FALSE(nav.empty()) << order[i] << " has no Back/Next line";
        std::smatch m;
        if (i == 0) {
            EXPECT_FALSE(std::regex_search(nav, m, back)) << order[i];
        } else {
            ASSERT_TRUE(std::regex_search(nav, m, back)) << order[i];
            EXPECT_EQ(ResolvePath(m[1].str(), order[i]), order[i - 1]) << "Back on " << order[i];
        }
        if (i + 1 == order.size()) {
            EXPECT_FALSE(std::regex_search(nav, m, next)) << order[i];
        } else {
            ASSERT_TRUE(std::regex_search(nav, m, next)) << order[i];
            EXPECT_EQ(ResolvePath(m[1].str(), order[i]), order[i + 1]) << "Next on " << order[i];
        }
    }
}

// The keyword index is compiled in and named by the file's system record;
// each keyword leads to one or more pages of the file, given as pairs of a
// topic name and a page after the keyword's own name.
TEST_F(CompiledHelpTest, KeywordIndexIsCompiledInAndLeadsToPages) {
    const auto system = ParseSystem(m_file->Object("/#SYSTEM").value_or(""));
    ASSERT_TRUE(system.has_value());
    EXPECT_EQ(system->indexFile, "index.hhk");
    const auto index = m_file->Object("/index.hhk");
    ASSERT_TRUE(index.has_value());
    EXPECT_EQ(*index, ReadFile(MENSURA_HELP_SOURCE_DIR "/index.hhk"));

    const std::regex object(R"re(<object type="text/sitemap">([^]*?)</object>)re",
                            std::regex::icase);
    const std::regex param(R"re(<param name="(Name|Local)" value="([^"]*)">)re");
    std::map<std::string, std::vector<std::string>> keywords;
    for (std::sregex_iterator it(index->begin(), index->end(), object), end; it != end; ++it) {
        const std::string body = (*it)[1];
        std::vector<std::pair<std::string, std::string>> params;
        for (std::sregex_iterator p(body.begin(), body.end(), param); p != end; ++p)
            params.emplace_back((*p)[1], (*p)[2]);
        ASSERT_GE(params.size(), 3u) << body;
        ASSERT_EQ(params.size() % 2, 1u) << body;
        ASSERT_EQ(params[0].first, "Name") << body;
        auto& pages = keywords[params[0].second];
        EXPECT_TRUE(pages.empty()) << params[0].second << " is listed twice";
        for (std::size_t i = 1; i < params.size(); i += 2) {
            EXPECT_EQ(params[i].first, "Name") << body;
            EXPECT_FALSE(params[i].second.empty()) << body;
            ASSERT_EQ(params[i + 1].first, "Local") << body;
            const auto page = ResolvePath(params[i + 1].second, "/");
            ASSERT_TRUE(page.has_value()) << params[i + 1].second;
            EXPECT_TRUE(Reaches(*m_file, *page));
            pages.push_back(*page);
        }
    }
    EXPECT_GT(keywords.size(), 80u);
    const std::vector<std::string> gallon{"/units.html#capacity", "/accuracy-capacity.html"};
    EXPECT_EQ(keywords["gallon"], gallon);
    // The reader's index has every keyword with all its pages.
    const std::vector<IndexEntry> entries = m_file->Index();
    ASSERT_EQ(entries.size(), keywords.size());
    for (const IndexEntry& entry : entries) {
        std::vector<std::string> pages;
        for (const IndexEntry::Topic& topic : entry.topics) pages.push_back(topic.local);
        EXPECT_EQ(pages, keywords[entry.keyword]) << entry.keyword;
    }
}

}  // namespace
}  // namespace mensura::helpfile
