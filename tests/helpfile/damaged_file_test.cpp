// Damaged and hostile files: each is refused cleanly or read within bounds.
// Several rows are files on which chmlib alone divides by zero, loops for
// ever or overruns a buffer; the container check must refuse them first.
#include <fcntl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "chm_file.h"
#include "chm_layout.h"
#include "help_file_checks.h"
#include "help_test_util.h"

namespace mensura::helpfile {
namespace {

using testing::CompiledHelp;
using testing::TempFile;

// Every answer of an opened file stays within the reader's promises.
void ExpectBoundedAnswers(const ChmFile& file) {
    const std::string topic = file.DefaultTopic();
    EXPECT_TRUE(topic.empty() || testsupport::IsCleanPath(topic)) << topic;
    for (const ContentsEntry& entry : file.Contents()) {
        EXPECT_TRUE(entry.local.empty() || testsupport::IsCleanPath(entry.local)) << entry.local;
        EXPECT_LE(entry.depth, kMaxContentsDepth);
    }
    const std::vector<std::string> pages = file.Pages();
    EXPECT_TRUE(std::is_sorted(pages.begin(), pages.end()));
    for (const std::string& page : pages) {
        EXPECT_TRUE(testsupport::IsCleanPath(page)) << page;
        (void)file.Object(page);  // the sanitizer build watches the reading
    }
}

void ExpectRefusedOrBounded(const std::string& bytes, const std::string& what) {
    const TempFile file(bytes);
    std::string error;
    const auto help = ChmFile::Open(file.Path(), &error);
    if (!help) {
        EXPECT_FALSE(error.empty()) << what;
        return;
    }
    SCOPED_TRACE(what);
    ExpectBoundedAnswers(*help);
}

TEST(DamagedFileTest, NothingToReadIsRefusedWithAReason) {
    for (const std::string path : {"/nonexistent/MnsHlp.chm", "/tmp", "/dev/null", ""}) {
        std::string error;
        EXPECT_EQ(ChmFile::Open(path, &error), nullptr) << path;
        EXPECT_FALSE(error.empty()) << path;
    }
    const TempFile empty("");
    EXPECT_EQ(ChmFile::Open(empty.Path()), nullptr);
}

TEST(DamagedFileTest, TruncatedCopiesAreRefusedOrReadWithinBounds) {
    const std::string& whole = CompiledHelp();
    ASSERT_GT(whole.size(), 10000u);
    for (std::size_t length :
         {std::size_t{1}, std::size_t{4}, std::size_t{0x5F}, std::size_t{0x60}, std::size_t{0xB0},
          std::size_t{300}, std::size_t{4200}, std::size_t{4500}, std::size_t{4600},
          whole.size() / 2, whole.size() - 100, whole.size() - 1})
        ExpectRefusedOrBounded(whole.substr(0, length), "cut at " + std::to_string(length));
}

TEST(DamagedFileTest, RandomBytesAndGarbageAfterAHeaderAreRefused) {
    std::mt19937 random(7);
    for (int i = 0; i < 20; ++i) {
        std::string bytes(1 + random() % 20000, '\0');
        for (char& c : bytes) c = static_cast<char>(random());
        ExpectRefusedOrBounded(bytes, "random " + std::to_string(i));
        if (bytes.size() > 0x60) {
            bytes.replace(0, 0x60, CompiledHelp().substr(0, 0x60));
            ExpectRefusedOrBounded(bytes, "header and random " + std::to_string(i));
        }
    }
}

// Single bytes of the real file changed at random: a cheap relative of the
// fuzz target, so that every build tries a few hundred damaged files.
TEST(DamagedFileTest, FlippedBytesAreRefusedOrReadWithinBounds) {
    std::mt19937 random(11);
    for (int i = 0; i < 300; ++i) {
        std::string bytes = CompiledHelp();
        for (int k = 0; k < 4; ++k) {
            // Mostly the headers and the directory, where a byte matters most.
            const std::size_t at = random() % 2 ? random() % 4800 : random() % bytes.size();
            bytes[at] = static_cast<char>(random());
        }
        ExpectRefusedOrBounded(bytes, "flips " + std::to_string(i));
    }
}

// --- Hand-made damage at known places --------------------------------------

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}

// Where things lie in the compiled file, found through the container walk.
struct Places {
    std::size_t itsp = 0, chunk = 0, control = 0, resetTable = 0, content = 0;
    std::size_t contentLength = 0;
};

Places Find() {
    const std::string& bytes = CompiledHelp();
    Places p;
    p.itsp = U32(bytes, 0x48);
    p.chunk = p.itsp + 0x54;
    const std::size_t data = U32(bytes, 0x58);
    const int fd = open(MENSURA_HELP_FILE, O_RDONLY);
    std::string error;
    const auto layout = detail::CheckLayout(fd, bytes.size(), error);
    close(fd);
    EXPECT_TRUE(layout.has_value()) << error;
    for (const detail::DirectoryEntry& e : layout->entries) {
        if (e.name == "::DataSpace/Storage/MSCompressed/ControlData") p.control = data + e.start;
        if (e.name == "::DataSpace/Storage/MSCompressed/Content") {
            p.content = data + e.start;
            p.contentLength = e.length;
        }
        if (e.name.find("InstanceData/ResetTable") != std::string::npos)
            p.resetTable = data + e.start;
    }
    return p;
}

void Put32(std::string& b, std::size_t at, std::uint32_t v) {
    std::memcpy(b.data() + at, &v, 4);
}
void Put64(std::string& b, std::size_t at, std::uint64_t v) {
    std::memcpy(b.data() + at, &v, 8);
}

struct Damage {
    const char* name;
    std::function<void(std::string&, const Places&)> apply;
};

class HostileFileTest : public ::testing::TestWithParam<Damage> {};

TEST_P(HostileFileTest, IsRefused) {
    std::string bytes = CompiledHelp();
    GetParam().apply(bytes, Find());
    const TempFile file(bytes);
    std::string error;
    EXPECT_EQ(ChmFile::Open(file.Path(), &error), nullptr);
    EXPECT_FALSE(error.empty());
    RecordProperty("reason", error);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Damages, HostileFileTest, ::testing::Values(
    Damage{"DirectoryBeyondTheEnd", [](std::string& b, const Places&) { Put64(b, 0x48, 1ull << 40); }},
    Damage{"DirectoryPagesOfNoSize", [](std::string& b, const Places& p) { Put32(b, p.itsp + 0x10, 0); }},
    Damage{"DirectoryPagesOfFourGigabytes", [](std::string& b, const Places& p) { Put32(b, p.itsp + 0x10, 0xFFFFFFFF); }},
    Damage{"IndexRootBeyondThePages", [](std::string& b, const Places& p) { Put32(b, p.itsp + 0x1C, 7); }},
    Damage{"FreeSpaceLargerThanThePage", [](std::string& b, const Places& p) { Put32(b, p.chunk + 4, 0xFFFF); }},
    // An index page that points to itself: chmlib would follow it for ever.
    Damage{"IndexPageLoopingToItself", [](std::string& b, const Places& p) {
        const std::uint32_t size = U32(b, p.itsp + 0x10);
        std::memcpy(b.data() + p.chunk, "PMGI", 4);
        Put32(b, p.chunk + 4, size - 8 - 3);
        std::memcpy(b.data() + p.chunk + 8, "\x01/\x00", 3);
        Put32(b, p.itsp + 0x1C, 0); }},
    // A name longer than what is left of its page.
    Damage{"NameRunningPastItsPage", [](std::string& b, const Places& p) {
        Put32(b, p.chunk + 4, 0);
        std::memcpy(b.data() + p.chunk + 0x14, "\x83\x7F", 2); }},
    // chmlib divides by the window size even when it rejects it.
    Damage{"WindowOfNoSize", [](std::string& b, const Places& p) { Put32(b, p.control + 16, 0); }},
    Damage{"WindowTooLarge", [](std::string& b, const Places& p) { Put32(b, p.control + 16, 0x10000); }},
    Damage{"NoWindowsPerReset", [](std::string& b, const Places& p) { Put32(b, p.control + 20, 0); }},
    Damage{"CompressionSignatureWrong", [](std::string& b, const Places& p) { std::memcpy(b.data() + p.control + 4, "LZXD", 4); }},
    Damage{"BlocksOfNoSize", [](std::string& b, const Places& p) { Put64(b, p.resetTable + 32, 0); }},
    Damage{"NoBlocks", [](std::string& b, const Places& p) { Put32(b, p.resetTable + 4, 0); }},
    Damage{"MillionsOfBlocks", [](std::string& b, const Places& p) { Put32(b, p.resetTable + 4, 50000000); }},
    Damage{"ContentOfAnExabyte", [](std::string& b, const Places& p) { Put64(b, p.resetTable + 16, 1ull << 60); }},
    Damage{"CompressedDataBeyondItsObject", [](std::string& b, const Places& p) { Put64(b, p.resetTable + 24, 1ull << 20); }},
    // A block ending far beyond the data: chmlib would read it into a
    // buffer of 38 KB.
    Damage{"BlockBeyondTheData", [](std::string& b, const Places& p) {
        Put64(b, p.resetTable + U32(b, p.resetTable + 12) + 8, 1ull << 62); }}),
    [](const ::testing::TestParamInfo<Damage>& row) { return std::string(row.param.name); });
// clang-format on

// Compressed data damaged where no header can tell. chmlib's decoder
// would run over it (and, failing, would later hand out its half-filled
// buffer for the block as if it were the page); the walk of the stream
// refuses damage to the first block's header and code trees before chmlib
// decodes anything. Damage further on may still decode under every rule of
// the format (the file carries no checksum): the file is then refused or
// read within the reader's promises, wherever the damage lies.
TEST(DamagedFileTest, ScrambledCompressedDataIsRefusedOrReadSafely) {
    const Places p = Find();
    ASSERT_GT(p.contentLength, 400u);
    for (std::size_t from = 0; from + 200 <= p.contentLength; from += 8 + from / 2) {
        std::string bytes = CompiledHelp();
        for (std::size_t i = from; i < from + 200; ++i) bytes[p.content + i] = '\xA5';
        if (from < 16) {
            const TempFile file(bytes);
            std::string error;
            EXPECT_EQ(ChmFile::Open(file.Path(), &error), nullptr) << from;
            EXPECT_NE(error.find("compressed data"), std::string::npos) << error;
        } else {
            ExpectRefusedOrBounded(bytes, "scrambled from " + std::to_string(from));
        }
    }
}

// LZX bits as the decoder reads them: 16-bit little-endian words, each
// filled from its most significant bit.
class LzxWriter {
public:
    void Bits(std::uint32_t value, int count) {
        for (int i = count - 1; i >= 0; --i) {
            m_word = static_cast<std::uint16_t>(std::uint32_t{m_word} << 1 | ((value >> i) & 1));
            if (++m_used == 16) Flush();
        }
    }
    void Align() {
        while (m_used) Bits(0, 1);
    }
    void Bytes(const std::string& raw) { m_out += raw; }
    const std::string& Out() const { return m_out; }

private:
    void Flush() {
        m_out += static_cast<char>(m_word & 0xFF);
        m_out += static_cast<char>(m_word >> 8);
        m_word = 0;
        m_used = 0;
    }
    std::string m_out;
    std::uint16_t m_word = 0;
    int m_used = 0;
};

// A stored block may set the decoder's repeat offsets to anything; chmlib
// then copies a match from 256 MB before its window and dies (SIGSEGV on
// this very file). The walk sees the offset and refuses the file.
TEST(DamagedFileTest, MatchFromOutsideTheWindowIsRefused) {
    LzxWriter w;
    w.Bits(0, 1);                  // no E8 translation
    w.Bits(3, 3), w.Bits(16, 24);  // a stored block of 16 bytes
    w.Align();
    const std::uint32_t repeats[] = {0x10000000, 1, 1};  // R0, R1, R2
    w.Bytes(std::string(reinterpret_cast<const char*>(repeats), sizeof repeats));
    w.Bytes(std::string(16, 'A'));
    w.Bits(1, 3), w.Bits(32768 - 16, 24);  // a verbatim block, the rest of the frame
    // Code lengths through a pretree of four 2-bit codes: 0 keeps a
    // length of 0, 16 makes it 1, 17 and 18 are runs of zeros.
    const auto pretree = [&] {
        for (int sym = 0; sym < 20; ++sym) w.Bits(sym == 0 || (sym >= 16 && sym <= 18) ? 2 : 0, 4);
    };
    const auto zeros = [&](std::uint32_t n) {
        for (; n >= 20; n -= std::min(n, 51u)) w.Bits(3, 2), w.Bits(std::min(n, 51u) - 20, 5);
        if (n) w.Bits(2, 2), w.Bits(n - 4, 4);
    };
    pretree(), zeros(65), w.Bits(1, 2), zeros(190);  // literals: only 'A'
    pretree(), w.Bits(1, 2), zeros(255);             // matches: only "repeat R0, length 2"
    pretree(), zeros(249);                           // no length tree
    w.Bits(0, 1), w.Bits(1, 1), w.Bits(0, 16);       // 'A', then the match
    w.Align();

    std::string bytes = CompiledHelp();
    const Places p = Find();
    bytes.replace(p.content, w.Out().size(), w.Out());
    Put64(bytes, p.resetTable + 16, 32768);  // one frame of content
    const TempFile file(bytes);
    std::string error;
    EXPECT_EQ(ChmFile::Open(file.Path(), &error), nullptr);
    EXPECT_NE(error.find("outside the window"), std::string::npos) << error;
}

}  // namespace
}  // namespace mensura::helpfile
