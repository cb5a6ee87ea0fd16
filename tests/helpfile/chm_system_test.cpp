// The #SYSTEM records of a help file, on ordinary and on hostile bytes.
#include "chm_system.h"

#include <gtest/gtest.h>

#include <string>

namespace mensura::helpfile {
namespace {

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

}  // namespace
}  // namespace mensura::helpfile
