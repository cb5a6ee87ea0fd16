// The container walk: ITSF header, ITSP directory header, every directory
// page (PMGL leaves and PMGI index pages), and the LZX control data and
// reset table of the compressed section. Each rule below closes a way in
// which chmlib 0.40 would crash, hang or overrun a buffer on that file.
#include "chm_layout.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "ascii_text.h"
#include "lzx_check.h"

namespace mensura::helpfile::detail {

namespace {

constexpr std::uint64_t kItsfLength = 0x60;  // chmlib always reads this much
constexpr std::uint64_t kItspLength = 0x54;
constexpr std::uint64_t kPmglHeader = 0x14;
constexpr std::uint64_t kPmgiHeader = 0x08;
constexpr std::uint64_t kMaxNameBytes = 512;  // chmlib's path buffer
constexpr std::uint64_t kResetTableHeader = 0x28;
constexpr std::uint64_t kLzxFrame = 0x8000;  // every LZX block of a help file
// chmlib reads one compressed block into a buffer of the frame plus 6144
// bytes, and its decoder reads a few bytes past the data it is given.
constexpr std::uint64_t kMaxCompressedBlock = kLzxFrame + 6144 - 64;

constexpr char kResetTable[] =
    "::DataSpace/Storage/MSCompressed/Transform/{7FC28940-9D31-11D0-9B27-00A0C91E9C7C}/"
    "InstanceData/ResetTable";
constexpr char kContent[] = "::DataSpace/Storage/MSCompressed/Content";
constexpr char kControlData[] = "::DataSpace/Storage/MSCompressed/ControlData";

std::uint32_t U32(const std::string& b, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i)
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

std::uint64_t U64(const std::string& b, std::size_t at) {
    return U32(b, at) | static_cast<std::uint64_t>(U32(b, at + 4)) << 32;
}

// a + b, or nullopt when it overflows.
std::optional<std::uint64_t> Add(std::uint64_t a, std::uint64_t b) {
    if (a > UINT64_MAX - b) return std::nullopt;
    return a + b;
}

// True when [offset, offset + length) lies inside [0, limit).
bool Inside(std::uint64_t offset, std::uint64_t length, std::uint64_t limit) {
    return offset <= limit && length <= limit - offset;
}

class Reader {
public:
    Reader(int fd, std::uint64_t size) : m_fd(fd), m_size(size) {}
    std::uint64_t Size() const { return m_size; }

    // Exactly `length` bytes at `offset`, or nullopt.
    std::optional<std::string> Read(std::uint64_t offset, std::uint64_t length) const {
        if (!Inside(offset, length, m_size) || length > kMaxContentSize) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(length), '\0');
        std::size_t done = 0;
        while (done < bytes.size()) {
            const ssize_t got = pread(m_fd, bytes.data() + done, bytes.size() - done,
                                      static_cast<off_t>(offset + done));
            if (got <= 0) return std::nullopt;
            done += static_cast<std::size_t>(got);
        }
        return bytes;
    }

private:
    int m_fd;
    std::uint64_t m_size;
};

// A chunk of the directory, read entry by entry with every read bounded by
// the end of the chunk's used space.
class ChunkCursor {
public:
    ChunkCursor(const std::string& chunk, std::size_t from, std::size_t end)
        : m_chunk(chunk), m_pos(from), m_end(end) {}
    bool AtEnd() const { return m_pos >= m_end; }

    // An encoded integer: seven bits a byte, high bit set on all but the
    // last. chmlib reads up to the first byte below 0x80 wherever that is.
    bool Number(std::uint64_t& value) {
        value = 0;
        for (int i = 0; i < 9; ++i) {
            if (m_pos >= m_end) return false;
            const auto byte = static_cast<unsigned char>(m_chunk[m_pos++]);
            value = value << 7 | (byte & 0x7F);
            if (byte < 0x80) return true;
        }
        return false;  // longer than any 63-bit value
    }

    bool Name(std::string& name) {
        std::uint64_t length = 0;
        if (!Number(length) || length > kMaxNameBytes || length > m_end - m_pos) return false;
        name.assign(m_chunk, m_pos, static_cast<std::size_t>(length));
        m_pos += static_cast<std::size_t>(length);
        return true;
    }

private:
    const std::string& m_chunk;
    std::size_t m_pos;
    std::size_t m_end;
};

// The LZX parameters exactly as chmlib derives them, in its 32-bit
// arithmetic; refused unless chmlib's divisions and its decoder are safe.
bool CheckControlData(const std::string& b, std::uint32_t& window, std::uint64_t& resetBlocks,
                      std::string& error) {
    if (b.size() < 0x18 || b.size() > 256 || std::memcmp(b.data() + 4, "LZXC", 4) != 0) {
        error = "damaged compression header";
        return false;
    }
    const std::uint32_t version = U32(b, 8);
    std::uint32_t resetInterval = U32(b, 12);
    std::uint32_t windowSize = U32(b, 16);
    const std::uint32_t windowsPerReset = U32(b, 20);
    if (version == 2) {
        resetInterval *= 0x8000;  // wraps as chmlib's does
        windowSize *= 0x8000;
    }
    const bool windowOk = windowSize >= (1u << 15) && windowSize <= (1u << 21) &&
                          (windowSize & (windowSize - 1)) == 0;
    if (!windowOk || resetInterval == 0 || resetInterval % (windowSize / 2) != 0 ||
        windowsPerReset == 0 ||
        static_cast<std::uint64_t>(resetInterval / (windowSize / 2)) * windowsPerReset >
            UINT32_MAX) {
        error = "unsupported compression parameters";
        return false;
    }
    window = windowSize;
    resetBlocks = static_cast<std::uint64_t>(resetInterval / (windowSize / 2)) * windowsPerReset;
    return true;
}

}  // namespace

const DirectoryEntry* Find(const Layout& layout, std::string_view name) {
    const auto it = layout.byName.find(Folded(name));
    return it == layout.byName.end() ? nullptr : &layout.entries[it->second];
}

std::optional<Layout> CheckLayout(int fd, std::uint64_t fileSize, std::string& error) {
    const Reader file(fd, fileSize);

    const auto itsf = file.Read(0, kItsfLength);
    if (!itsf || std::memcmp(itsf->data(), "ITSF", 4) != 0) {
        error = "not a compiled help file";
        return std::nullopt;
    }
    const std::uint32_t version = U32(*itsf, 4);
    const std::uint32_t headerLength = U32(*itsf, 8);
    if (!((version == 2 && headerLength >= 0x58) || (version == 3 && headerLength >= 0x60))) {
        error = "unsupported help file version";
        return std::nullopt;
    }
    const std::uint64_t dirOffset = U64(*itsf, 0x48);
    const std::uint64_t dirLength = U64(*itsf, 0x50);
    const auto dirEnd = Add(dirOffset, dirLength);
    const std::uint64_t dataOffset = version == 3 ? U64(*itsf, 0x58) : dirEnd.value_or(UINT64_MAX);
    if (!dirEnd || *dirEnd > fileSize || dataOffset > fileSize || dirLength < kItspLength) {
        error = "truncated or damaged help file";
        return std::nullopt;
    }

    const auto itsp = file.Read(dirOffset, kItspLength);
    if (!itsp || std::memcmp(itsp->data(), "ITSP", 4) != 0 || U32(*itsp, 4) != 1 ||
        U32(*itsp, 8) != kItspLength) {
        error = "damaged help file directory";
        return std::nullopt;
    }
    const std::uint32_t chunkSize = U32(*itsp, 0x10);
    const auto indexRoot = static_cast<std::int32_t>(U32(*itsp, 0x1C));
    const auto indexHead = static_cast<std::int32_t>(U32(*itsp, 0x20));
    const std::int64_t root = indexRoot <= -1 ? indexHead : indexRoot;  // as chmlib picks it
    if (chunkSize < 0x40 || chunkSize > kMaxChunkSize) {
        error = "damaged help file directory";
        return std::nullopt;
    }
    const std::uint64_t chunkCount = (dirLength - kItspLength) / chunkSize;
    if (chunkCount == 0 || chunkCount > kMaxDirectoryChunks || root < 0 ||
        static_cast<std::uint64_t>(root) >= chunkCount) {
        error = "damaged help file directory";
        return std::nullopt;
    }

    Layout layout;
    // PMGI pages and the pages they point to, to rule out loops.
    std::vector<std::vector<std::uint64_t>> next(static_cast<std::size_t>(chunkCount));
    std::vector<bool> isIndex(static_cast<std::size_t>(chunkCount), false);
    const std::uint64_t chunksAt = dirOffset + kItspLength;
    for (std::uint64_t c = 0; c < chunkCount; ++c) {
        const auto chunk = file.Read(chunksAt + c * chunkSize, chunkSize);
        if (!chunk) {
            error = "truncated help file directory";
            return std::nullopt;
        }
        const bool leaf = std::memcmp(chunk->data(), "PMGL", 4) == 0;
        const bool index = std::memcmp(chunk->data(), "PMGI", 4) == 0;
        if (!leaf && !index) continue;  // chmlib gives up on such a page
        const std::uint64_t header = leaf ? kPmglHeader : kPmgiHeader;
        const std::uint32_t freeSpace = U32(*chunk, 4);
        if (freeSpace > chunkSize - header) {
            error = "damaged help file directory";
            return std::nullopt;
        }
        ChunkCursor cursor(*chunk, header, chunkSize - freeSpace);
        isIndex[c] = index;
        while (!cursor.AtEnd()) {
            std::string name;
            if (!cursor.Name(name)) {
                error = "damaged help file directory";
                return std::nullopt;
            }
            if (index) {
                std::uint64_t page = 0;
                if (!cursor.Number(page) || page >= chunkCount) {
                    error = "damaged help file index";
                    return std::nullopt;
                }
                next[c].push_back(page);
                continue;
            }
            DirectoryEntry entry;
            entry.name = std::move(name);
            if (!cursor.Number(entry.space) || !cursor.Number(entry.start) ||
                !cursor.Number(entry.length) || entry.space > 1) {
                error = "damaged help file directory";
                return std::nullopt;
            }
            // chmlib finds the first of two names that differ only in case;
            // refusing duplicates keeps its answer and ours the same.
            if (layout.entries.size() >= kMaxDirectoryEntries ||
                !layout.byName.emplace(Folded(entry.name), layout.entries.size()).second) {
                error = "damaged help file directory";
                return std::nullopt;
            }
            layout.entries.push_back(std::move(entry));
        }
    }

    // chmlib follows index pages until it reaches a leaf; a loop among
    // them would hang it. Depth-first walk from the root, colouring pages.
    {
        enum : char { kNew, kOpen, kDone };
        std::vector<char> colour(static_cast<std::size_t>(chunkCount), kNew);
        std::vector<std::pair<std::uint64_t, std::size_t>> stack{{root, 0}};
        colour[static_cast<std::size_t>(root)] = kOpen;
        while (!stack.empty()) {
            auto& [page, edge] = stack.back();
            const auto& out = next[static_cast<std::size_t>(page)];
            if (edge == out.size()) {
                colour[static_cast<std::size_t>(page)] = kDone;
                stack.pop_back();
                continue;
            }
            const std::uint64_t to = out[edge++];
            if (!isIndex[static_cast<std::size_t>(to)]) continue;
            if (colour[static_cast<std::size_t>(to)] == kOpen) {
                error = "damaged help file index (a loop)";
                return std::nullopt;
            }
            if (colour[static_cast<std::size_t>(to)] == kNew) {
                colour[static_cast<std::size_t>(to)] = kOpen;
                stack.emplace_back(to, 0);
            }
        }
    }

    // Objects stored as they are must lie inside the file.
    for (DirectoryEntry& e : layout.entries)
        if (e.space == 0) e.readable = Inside(e.start, e.length, fileSize - dataOffset);

    // The compressed section. chmlib uses it only when all three of its
    // objects are there and stored uncompressed; then every one must hold.
    const DirectoryEntry* resetTable = Find(layout, kResetTable);
    const DirectoryEntry* content = Find(layout, kContent);
    const DirectoryEntry* control = Find(layout, kControlData);
    if (!resetTable || !content || !control || resetTable->space != 0 || content->space != 0 ||
        control->space != 0)
        return layout;  // no compressed section: compressed objects stay unreadable

    const auto readObject = [&](const DirectoryEntry& e) -> std::optional<std::string> {
        if (!e.readable) return std::nullopt;
        return file.Read(dataOffset + e.start, e.length);
    };
    const auto controlBytes = control->length <= 256 ? readObject(*control) : std::nullopt;
    std::uint32_t windowSize = 0;
    std::uint64_t resetBlocks = 0;
    if (!controlBytes || !CheckControlData(*controlBytes, windowSize, resetBlocks, error)) {
        if (error.empty()) error = "damaged compression header";
        return std::nullopt;
    }
    const auto header = resetTable->length >= kResetTableHeader && resetTable->readable
                            ? file.Read(dataOffset + resetTable->start, kResetTableHeader)
                            : std::nullopt;
    if (!header || U32(*header, 0) != 2) {
        error = "damaged compression table";
        return std::nullopt;
    }
    const std::uint64_t blockCount = U32(*header, 4);
    const std::uint64_t tableOffset = U32(*header, 12);
    const std::uint64_t uncompressedLength = U64(*header, 16);
    const std::uint64_t compressedLength = U64(*header, 24);
    const std::uint64_t blockLength = U64(*header, 32);
    const std::uint64_t blocksUsed = (uncompressedLength + kLzxFrame - 1) / kLzxFrame;
    if (blockLength != kLzxFrame || uncompressedLength > kMaxContentSize || blockCount == 0 ||
        blockCount < blocksUsed || blockCount > kMaxContentSize / kLzxFrame + 1 ||
        compressedLength > kMaxContentSize || tableOffset < kResetTableHeader ||
        !Inside(tableOffset, blockCount * 8, resetTable->length) || !content->readable ||
        compressedLength > content->length) {
        error = "damaged compression table";
        return std::nullopt;
    }
    const auto table = file.Read(dataOffset + resetTable->start + tableOffset, blockCount * 8);
    if (!table) {
        error = "damaged compression table";
        return std::nullopt;
    }
    // Each block chmlib may decompress: from its table entry to the next
    // one, the last to the end of the compressed data.
    LzxBlocks lzx;
    lzx.windowSize = windowSize;
    lzx.resetBlocks = resetBlocks;
    lzx.blockLength = static_cast<std::uint32_t>(kLzxFrame);
    for (std::uint64_t b = 0; b < blocksUsed; ++b) {
        const std::uint64_t from = U64(*table, static_cast<std::size_t>(b * 8));
        const std::uint64_t to = b + 1 < blockCount
                                     ? U64(*table, static_cast<std::size_t>(b * 8 + 8))
                                     : compressedLength;
        if (from > to || to > compressedLength || to - from > kMaxCompressedBlock) {
            error = "damaged compressed block";
            return std::nullopt;
        }
        lzx.bounds.emplace_back(from, to);
    }
    // The stream itself, walked as chmlib's decoder will walk it.
    const auto compressed = file.Read(dataOffset + content->start, compressedLength);
    if (!compressed) {
        error = "damaged compressed data";
        return std::nullopt;
    }
    lzx.data = *compressed;
    if (!CheckLzxStream(lzx, error)) return std::nullopt;
    for (DirectoryEntry& e : layout.entries)
        if (e.space == 1) e.readable = Inside(e.start, e.length, uncompressedLength);
    return layout;
}

}  // namespace mensura::helpfile::detail
