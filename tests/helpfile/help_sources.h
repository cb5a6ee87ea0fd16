#pragma once
// What the help's own sources say, for the tests of the compiled help: the
// project file's options and its [FILES], and the lines of the contents
// sitemap, each read here on its own terms (not through the reader under
// test), so that the tests expect what help/ holds rather than a copy of
// it. And a comparison of two lists of lines that shows only where they
// part, not the whole of both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "ascii_text.h"
#include "help_test_util.h"

namespace mensura::helpfile::testing {

// The help project file (.hhp): the options the tests look at, and every
// file under [FILES] as written.
struct HelpProject {
    std::string contentsFile, indexFile, defaultTopic, title;
    std::vector<std::string> files;
};

inline HelpProject ReadProject(const std::string& path) {
    HelpProject project;
    std::istringstream in(ReadFile(path));
    std::string section;
    for (std::string line; std::getline(in, line);) {
        line = std::string(Trimmed(line));
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            section = line;
            continue;
        }
        if (section == "[FILES]") {
            project.files.push_back(line);
            continue;
        }
        const std::size_t eq = line.find('=');
        if (section != "[OPTIONS]" || eq == std::string::npos) continue;
        const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "Contents file") project.contentsFile = value;
        if (key == "Index file") project.indexFile = value;
        if (key == "Default topic") project.defaultTopic = value;
        if (key == "Title") project.title = value;
    }
    return project;
}

// The pages the project lists (its .htm and .html files) as absolute paths
// inside the compiled file, sorted as the reader sorts its pages.
inline std::vector<std::string> ProjectPages(const HelpProject& project) {
    std::vector<std::string> pages;
    for (std::string file : project.files) {
        std::replace(file.begin(), file.end(), '\\', '/');
        if (EndsWithNoCase(file, ".htm") || EndsWithNoCase(file, ".html"))
            pages.push_back("/" + file);
    }
    std::sort(pages.begin(), pages.end());
    return pages;
}

// One contents line as the tests print it: indented by its depth, its
// name, and the page it leads to.
inline std::string ContentsLine(int depth, const std::string& name, const std::string& local) {
    return std::string(2 * static_cast<std::size_t>(std::max(depth, 0)), ' ') + name + " -> " +
           local;
}

// The contents lines of a .hhc source at the top of the file: each
// <OBJECT type="text/sitemap"> a line, at the depth of the <UL>s around it,
// with its Name (its few character references decoded) and its Local.
inline std::vector<std::string> SourceContentsLines(const std::string& hhc) {
    const std::regex token(R"re(<ul>|</ul>|<object type="text/sitemap">([^]*?)</object>)re",
                           std::regex::icase);
    const std::regex param(R"re(<param name="(Name|Local)" value="([^"]*)">)re", std::regex::icase);
    const auto decoded = [](std::string s) {
        for (const auto& [from, to] : {std::pair<const char*, const char*>{"&quot;", "\""},
                                       {"&lt;", "<"},
                                       {"&gt;", ">"},
                                       {"&amp;", "&"}})
            for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
                s.replace(at, std::string(from).size(), to);
        return s;
    };
    std::vector<std::string> lines;
    int lists = 0;
    for (std::sregex_iterator it(hhc.begin(), hhc.end(), token), end; it != end; ++it) {
        const std::string whole = Folded((*it)[0].str().substr(0, 5));
        if (whole == "<ul>") {
            ++lists;
        } else if (whole == "</ul>") {
            --lists;
        } else {
            std::string name, local;
            const std::string body = (*it)[1];
            for (std::sregex_iterator p(body.begin(), body.end(), param); p != end; ++p)
                (EqualsNoCase((*p)[1].str(), "Name") ? name : local) = decoded((*p)[2]);
            lines.push_back(ContentsLine(lists - 1, name, local.empty() ? "" : "/" + local));
        }
    }
    return lines;
}

// Whether two lists of lines agree; when not, the rule that they break and
// where they part: the lines between their common beginning and their
// common end, a few of each at most, with a line of context either side.
inline ::testing::AssertionResult SameLines(const std::string& rule,
                                            const std::vector<std::string>& expected,
                                            const std::vector<std::string>& actual) {
    if (expected == actual) return ::testing::AssertionSuccess();
    std::size_t head = 0;
    while (head < expected.size() && head < actual.size() && expected[head] == actual[head]) ++head;
    std::size_t tail = 0;
    while (tail < expected.size() - head && tail < actual.size() - head &&
           expected[expected.size() - 1 - tail] == actual[actual.size() - 1 - tail])
        ++tail;
    constexpr std::size_t kShown = 8;
    auto failure = ::testing::AssertionFailure();
    failure << rule << "\n  expected " << expected.size() << " lines, found " << actual.size()
            << "; they part at line " << head + 1 << ":\n";
    if (head > 0) failure << "    " << expected[head - 1] << "\n";
    const auto part = [&](const std::vector<std::string>& lines, const char* mark) {
        const std::size_t stop = lines.size() - tail;
        for (std::size_t i = head; i < stop && i < head + kShown; ++i)
            failure << "  " << mark << " " << lines[i] << "\n";
        if (stop > head + kShown)
            failure << "  " << mark << " ... " << stop - head - kShown << " more\n";
    };
    part(expected, "-");
    part(actual, "+");
    if (tail > 0) failure << "    " << expected[expected.size() - tail] << "\n";
    return failure;
}

// A text's lines, for SameLines.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace mensura::helpfile::testing
