// The help file the build compiles, read back through the reader: what the
// viewer will show, and whether the content itself holds together.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "chm_file.h"
#include "chm_path.h"
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
    const std::vector<std::string> expected{"/about.html",    "/hidden.html",  "/index.html",
                                            "/keyboard.html", "/numbers.html", "/results.html",
                                            "/units.html"};
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
        {"The units", "/units.html", 0},
        {"Length", "/units.html#length", 1},
        {"Weight", "/units.html#weight", 1},
        {"Capacity", "/units.html#capacity", 1},
        {"Hidden weight units", "/hidden.html", 1},
        {"Typing a number", "/numbers.html", 0},
        {"How results are shown", "/results.html", 0},
        {"Rounding & grouping", "/results.html#rounding", 1},
        {"Overflow and Out of range", "/results.html#messages", 1},
        {"Keyboard and copying", "/keyboard.html", 0},
        {"Help and the About window", "/about.html", 0},
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

}  // namespace
}  // namespace mensura::helpfile
