#pragma once

// Checks the container of a help file before chmlib is allowed near it.
//
// chmlib 0.40 trusts its input: it divides by header fields, allocates
// what they say, follows index pages wherever they point (a loop of pages
// hangs it) and reads compressed blocks into fixed buffers by lengths taken
// from the file. So the reader first walks the whole structure itself,
// with bounded reads, and hands the file to chmlib only when every header,
// every directory page and every block of the reset table is one that
// chmlib handles safely. The walk also yields the directory, which gives
// the list of pages and the bounds of every object.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace mensura::helpfile::detail {

// One object of the directory, as the file lists it.
struct DirectoryEntry {
    std::string name;          // as stored, "/index.html", "::DataSpace/..."
    std::uint64_t space = 0;   // 0 stored, 1 compressed
    std::uint64_t start = 0;   // offset in its space
    std::uint64_t length = 0;  // bytes
    bool readable = false;     // lies wholly inside its space
};

struct Layout {
    std::vector<DirectoryEntry> entries;  // in directory order, names unique without case
    std::unordered_map<std::string, std::size_t> byName;  // Folded(name) -> index in entries
};

// The entry of this name, case aside, or nullptr.
const DirectoryEntry* Find(const Layout& layout, std::string_view name);

// Limits of what the reader accepts from a file.
inline constexpr std::uint32_t kMaxChunkSize = 64 * 1024;
inline constexpr std::uint64_t kMaxDirectoryChunks = 4096;
inline constexpr std::size_t kMaxDirectoryEntries = 100000;
// Decompressed size of the compressed section: a hostile file could
// otherwise make chmlib decompress gigabytes to reach one object.
inline constexpr std::uint64_t kMaxContentSize = 32ull * 1024 * 1024;

// Walks the container behind the open descriptor `fd` of a regular file
// of `fileSize` bytes; nullopt with the reason in `error` when chmlib
// must not be given the file.
std::optional<Layout> CheckLayout(int fd, std::uint64_t fileSize, std::string& error);

}  // namespace mensura::helpfile::detail
