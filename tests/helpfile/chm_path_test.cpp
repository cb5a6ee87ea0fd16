// Links found in a help file, resolved to paths inside it, on ordinary and
// on hostile text.
#include "chm_path.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

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

}  // namespace
}  // namespace mensura::helpfile
