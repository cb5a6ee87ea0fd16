// The help file the build compiles, read back through the reader: what the
// viewer will show, and whether the content itself holds together. What is
// expected comes from the help's sources (MnsHlp.hhp, its contents and
// index files), and each check names the rule it holds the help to, so
// that a page added to help/ needs no change here.
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
#include "help_sources.h"
#include "help_test_util.h"

namespace mensura::helpfile {
namespace {

using testing::ContentsLine;
using testing::HelpProject;
using testing::Lines;
using testing::ProjectPages;
using testing::ReadFile;
using testing::ReadProject;
using testing::SameLines;
using testing::SourceContentsLines;

class CompiledHelpTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        m_file = ChmFile::Open(MENSURA_HELP_FILE, &error);
        ASSERT_NE(m_file, nullptr) << error;
        m_project = ReadProject(MENSURA_HELP_SOURCE_DIR "/MnsHlp.hhp");
        ASSERT_FALSE(m_project.files.empty()) << "MnsHlp.hhp lists no [FILES]";
    }
    std::unique_ptr<ChmFile> m_file;
    HelpProject m_project;
};

TEST_F(CompiledHelpTest, DefaultTopicAndTitleComeFromTheProjectFile) {
    ASSERT_FALSE(m_project.defaultTopic.empty()) << "MnsHlp.hhp names no Default topic";
    EXPECT_EQ(m_file->DefaultTopic(), "/" + m_project.defaultTopic)
        << "rule: the first page shown is MnsHlp.hhp's Default topic";
    EXPECT_EQ(m_file->Title(), m_project.title) << "rule: the title is MnsHlp.hhp's Title";
}

TEST_F(CompiledHelpTest, ObjectsAreFoundWithoutRegardToCaseAndHoldTheirSourceBytes) {
    const std::string source = ReadFile(MENSURA_HELP_SOURCE_DIR "/units.html");
    ASSERT_FALSE(source.empty());
    for (const char* path : {"/units.html", "/UNITS.HTML", "/Units.Html"}) {
        const auto bytes = m_file->Object(path);
        ASSERT_TRUE(bytes.has_value()) << path;
        EXPECT_TRUE(SameLines(std::string("rule: ") + path + " holds help/units.html's bytes",
                              Lines(source), Lines(*bytes)));
        EXPECT_EQ(bytes->size(), source.size()) << path;
    }
    const auto picture = m_file->Object("/images/mensura.png");
    ASSERT_TRUE(picture.has_value());
    // The picture is the program's 32-pixel icon.
    EXPECT_TRUE(*picture == ReadFile(MENSURA_HELP_SOURCE_DIR "/../packaging/icons/mensura-32.png"))
        << "rule: the help's picture is packaging/icons/mensura-32.png";
}

TEST_F(CompiledHelpTest, MissingOrMalformedNamesFindNothing) {
    for (const std::string& path :
         std::vector<std::string>{"/nothing.html", "units.html", "", "/units.html/",
                                  std::string("/units.html\0x", 13), "/" + std::string(600, 'a')})
        EXPECT_FALSE(m_file->Object(path).has_value()) << path;
}

// The file holds the pages MnsHlp.hhp lists under [FILES], those in help/
// and those the build writes, and no other.
TEST_F(CompiledHelpTest, PagesAreTheHtmlSources) {
    EXPECT_TRUE(SameLines("rule: the file's pages are the pages MnsHlp.hhp's [FILES] lists",
                          ProjectPages(m_project), m_file->Pages()));
}

// The table of contents, line by line as the project's contents sitemap
// has it, read here from the source.
TEST_F(CompiledHelpTest, ContentsFollowTheSitemap) {
    ASSERT_FALSE(m_project.contentsFile.empty()) << "MnsHlp.hhp names no Contents file";
    const std::vector<std::string> expected = SourceContentsLines(
        ReadFile(std::string(MENSURA_HELP_SOURCE_DIR "/") + m_project.contentsFile));
    ASSERT_FALSE(expected.empty()) << m_project.contentsFile << " has no entries";
    std::vector<std::string> actual;
    for (const ContentsEntry& entry : m_file->Contents())
        actual.push_back(ContentsLine(entry.depth, entry.name, entry.local));
    EXPECT_TRUE(SameLines("rule: the contents are the lines of help/" + m_project.contentsFile,
                          expected, actual));
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
        ASSERT_FALSE(entry.local.empty())
            << "rule: every contents line leads to a page; " << entry.name << " leads nowhere";
        EXPECT_TRUE(Reaches(*m_file, entry.local))
            << "rule: every contents line leads to a page and anchor of the file";
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
            ASSERT_TRUE(resolved.has_value())
                << "rule: every link stays inside the file; " << page << ": " << target;
            EXPECT_TRUE(Reaches(*m_file, *resolved))
                << "rule: every link leads to an object of the file; in " << page;
            reachedPages.insert(resolved->substr(0, resolved->find('#')));
            ++links;
        }
    }
    EXPECT_GT(links, 20);
    // No page is an orphan: each one is linked from a page.
    for (const std::string& page : m_file->Pages())
        EXPECT_EQ(reachedPages.count(page), 1u)
            << "rule: every page is linked from a page or is the first one; " << page << " is not";
}

// Each page the project lists has a contents line, and so has each of its
// sections: every <h2> carries an anchor that a contents line leads to.
TEST_F(CompiledHelpTest, EverySectionHasAContentsLine) {
    std::set<std::string> lines;
    for (const ContentsEntry& entry : m_file->Contents()) lines.insert(entry.local);
    const std::regex heading(R"re(<h2>\s*(<a name="([^"]+)"></a>)?([^<]*))re", std::regex::icase);
    int sections = 0;
    for (const std::string& page : ProjectPages(m_project)) {
        EXPECT_EQ(lines.count(page), 1u)
            << "rule: every page MnsHlp.hhp lists has a contents line; " << page << " has none";
        const std::string html = m_file->Object(page).value_or("");
        for (std::sregex_iterator it(html.begin(), html.end(), heading), end; it != end; ++it) {
            ++sections;
            ASSERT_TRUE((*it)[1].matched)
                << "rule: every <h2> carries an anchor; " << page << ": <h2>" << (*it)[3];
            EXPECT_EQ(lines.count(page + "#" + std::string((*it)[2])), 1u)
                << "rule: every section has a contents line; " << page << ": section " << (*it)[3]
                << " has none";
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
    ASSERT_EQ(order.size(), m_file->Pages().size()) << "rule: the contents name every page";
    const std::regex back(R"re(Back:\s*<a href="([^"]+)")re"),
        next(R"re(Next:\s*<a href="([^"]+)")re");
    for (std::size_t i = 0; i < order.size(); ++i) {
        const std::string html = m_file->Object(order[i]).value_or("");
        const std::string nav = html.substr(std::min(html.find("<p class=\"nav\">"), html.size()));
        ASSERT_FALSE(nav.empty()) << "rule: every page ends in a Back/Next line; " << order[i]
                                  << " has none";
        std::smatch m;
        const std::string before = "rule: Back leads to the page before in the contents; on ";
        const std::string after = "rule: Next leads to the page after in the contents; on ";
        if (i == 0) {
            EXPECT_FALSE(std::regex_search(nav, m, back)) << before << order[i] << ", the first";
        } else {
            ASSERT_TRUE(std::regex_search(nav, m, back)) << before << order[i] << ": no Back";
            EXPECT_EQ(ResolvePath(m[1].str(), order[i]), order[i - 1]) << before << order[i];
        }
        if (i + 1 == order.size()) {
            EXPECT_FALSE(std::regex_search(nav, m, next)) << after << order[i] << ", the last";
        } else {
            ASSERT_TRUE(std::regex_search(nav, m, next)) << after << order[i] << ": no Next";
            EXPECT_EQ(ResolvePath(m[1].str(), order[i]), order[i + 1]) << after << order[i];
        }
    }
}

// The keyword index is compiled in and named by the file's system record;
// each keyword leads to one or more pages of the file, given as pairs of a
// topic name and a page after the keyword's own name.
TEST_F(CompiledHelpTest, KeywordIndexIsCompiledInAndLeadsToPages) {
    const auto system = ParseSystem(m_file->Object("/#SYSTEM").value_or(""));
    ASSERT_TRUE(system.has_value());
    ASSERT_FALSE(m_project.indexFile.empty()) << "MnsHlp.hhp names no Index file";
    EXPECT_EQ(system->indexFile, m_project.indexFile)
        << "rule: the file's index is MnsHlp.hhp's Index file";
    const auto index = m_file->Object("/" + m_project.indexFile);
    ASSERT_TRUE(index.has_value());
    EXPECT_TRUE(SameLines("rule: the index compiled in is help/" + m_project.indexFile,
                          Lines(ReadFile(MENSURA_HELP_SOURCE_DIR "/" + m_project.indexFile)),
                          Lines(*index)));

    const std::regex object(R"re(<object type="text/sitemap">([^]*?)</object>)re",
                            std::regex::icase);
    const std::regex param(R"re(<param name="(Name|Local)" value="([^"]*)">)re");
    std::map<std::string, std::vector<std::string>> keywords;
    for (std::sregex_iterator it(index->begin(), index->end(), object), end; it != end; ++it) {
        const std::string body = (*it)[1];
        std::vector<std::pair<std::string, std::string>> params;
        for (std::sregex_iterator p(body.begin(), body.end(), param); p != end; ++p)
            params.emplace_back((*p)[1], (*p)[2]);
        const std::string shape =
            "rule: an index entry is its keyword's Name, then a Name and a Local for each page; ";
        ASSERT_GE(params.size(), 3u) << shape << body;
        ASSERT_EQ(params.size() % 2, 1u) << shape << body;
        ASSERT_EQ(params[0].first, "Name") << shape << body;
        auto& pages = keywords[params[0].second];
        EXPECT_TRUE(pages.empty()) << "rule: each keyword has one entry, with all its pages; "
                                   << params[0].second << " has two";
        for (std::size_t i = 1; i < params.size(); i += 2) {
            EXPECT_EQ(params[i].first, "Name") << shape << body;
            EXPECT_FALSE(params[i].second.empty()) << shape << body;
            ASSERT_EQ(params[i + 1].first, "Local") << shape << body;
            const auto page = ResolvePath(params[i + 1].second, "/");
            ASSERT_TRUE(page.has_value())
                << "rule: every index page is inside the file; " << params[i + 1].second;
            EXPECT_TRUE(Reaches(*m_file, *page))
                << "rule: every index page leads to a page and anchor of the file";
            pages.push_back(*page);
        }
    }
    EXPECT_GT(keywords.size(), 80u);
    // Keywords with several pages are there, so that the reader's reading of
    // them is checked below too.
    EXPECT_TRUE(std::any_of(keywords.begin(), keywords.end(),
                            [](const auto& keyword) { return keyword.second.size() > 1; }));
    // The reader's index has every keyword with all its pages.
    const std::vector<IndexEntry> entries = m_file->Index();
    ASSERT_EQ(entries.size(), keywords.size()) << "rule: the reader gives every keyword";
    for (const IndexEntry& entry : entries) {
        std::vector<std::string> pages;
        for (const IndexEntry::Topic& topic : entry.topics) pages.push_back(topic.local);
        EXPECT_TRUE(SameLines("rule: the reader gives every page of keyword " + entry.keyword,
                              keywords[entry.keyword], pages));
    }
}

}  // namespace
}  // namespace mensura::helpfile
