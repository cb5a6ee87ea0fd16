// The LZX walk. It follows chmlib's decoder step for step (the same 32-bit
// bit buffer, the same tables, the same order of reads), so that a stream
// it accepts takes exactly the same path there, and it refuses where that
// decoder would read outside its input, its tables or its window, use a
// code tree it never built, or fail.
#include "lzx_check.h"

#include <array>

namespace mensura::helpfile::detail {

namespace {

constexpr int kNumChars = 256;
constexpr int kMinMatch = 2;
constexpr int kNumPrimaryLengths = 7;
constexpr int kNumSecondaryLengths = 249;
constexpr int kSafety = 64;  // room the decoder gives runs of code lengths

enum BlockType : std::uint32_t { kInvalid = 0, kVerbatim = 1, kAligned = 2, kUncompressed = 3 };

// clang-format off
constexpr std::array<std::uint8_t, 51> kExtraBits{
     0,  0,  0,  0,  1,  1,  2,  2,  3,  3,  4,  4,  5,  5,  6,  6,
     7,  7,  8,  8,  9,  9, 10, 10, 11, 11, 12, 12, 13, 13, 14, 14,
    15, 15, 16, 16, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17, 17,
    17, 17, 17};
constexpr std::array<std::uint32_t, 51> kPositionBase{
          0,       1,       2,      3,      4,      6,      8,     12,     16,     24,     32,       48,      64,      96,     128,     192,
        256,     384,     512,    768,   1024,   1536,   2048,   3072,   4096,   6144,   8192,    12288,   16384,   24576,   32768,   49152,
      65536,   98304,  131072, 196608, 262144, 393216, 524288, 655360, 786432, 917504, 1048576, 1179648, 1310720, 1441792, 1572864, 1703936,
    1835008, 1966080, 2097152};
// clang-format on

// A Huffman tree as the decoder keeps it: code lengths and a lookup table.
struct Tree {
    Tree(std::uint32_t symbols, std::uint32_t tableBits)
        : syms(symbols),
          bits(tableBits),
          table((1u << tableBits) + (symbols << 1), 0),
          lengths(symbols + kSafety, 0) {}
    std::uint32_t syms, bits;
    std::vector<std::uint16_t> table;
    std::vector<std::uint8_t> lengths;
    bool built = false;  // the table holds a complete code

    // The decoder's make_decode_table: false for lengths that overfill or
    // underfill the code. All lengths zero is accepted, as the decoder does,
    // but leaves the tree unusable.
    bool Build() {
        built = false;
        std::uint32_t pos = 0;
        std::uint32_t tableMask = 1u << bits;
        std::uint32_t bitMask = tableMask >> 1;
        std::uint32_t nextSymbol = bitMask;
        std::uint32_t bitNum = 1;
        for (; bitNum <= bits; ++bitNum, bitMask >>= 1) {
            for (std::uint32_t sym = 0; sym < syms; ++sym) {
                if (lengths[sym] != bitNum) continue;
                std::uint32_t leaf = pos;
                if ((pos += bitMask) > tableMask) return false;
                for (std::uint32_t fill = bitMask; fill > 0; --fill)
                    table[leaf++] = static_cast<std::uint16_t>(sym);
            }
        }
        if (pos != tableMask) {
            for (std::uint32_t sym = pos; sym < tableMask; ++sym) table[sym] = 0;
            pos <<= 16;
            tableMask <<= 16;
            bitMask = 1u << 15;
            for (; bitNum <= 16; ++bitNum, bitMask >>= 1) {
                for (std::uint32_t sym = 0; sym < syms; ++sym) {
                    if (lengths[sym] != bitNum) continue;
                    std::uint32_t leaf = pos >> 16;
                    for (std::uint32_t fill = 0; fill < bitNum - bits; ++fill) {
                        if (leaf >= table.size()) return false;
                        if (table[leaf] == 0) {
                            if ((nextSymbol << 1) + 1 >= table.size()) return false;
                            table[nextSymbol << 1] = 0;
                            table[(nextSymbol << 1) + 1] = 0;
                            table[leaf] = static_cast<std::uint16_t>(nextSymbol++);
                        }
                        leaf = static_cast<std::uint32_t>(table[leaf]) << 1;
                        if ((pos >> (15 - fill)) & 1) ++leaf;
                    }
                    if (leaf >= table.size()) return false;
                    table[leaf] = static_cast<std::uint16_t>(sym);
                    if ((pos += bitMask) > tableMask) return false;
                }
            }
        }
        if (pos == tableMask) {
            built = true;
            return true;
        }
        for (std::uint32_t sym = 0; sym < syms; ++sym)
            if (lengths[sym]) return false;
        return true;  // an empty tree: fine until a symbol is read from it
    }
};

// Raised by the walk when the decoder would go wrong; caught per stream.
struct Refusal {
    const char* reason;
};

class Walker {
public:
    Walker(std::uint32_t windowSize, std::uint32_t frameLength)
        : m_windowSize(windowSize), m_frameLength(frameLength) {
        std::uint32_t bits = 0;
        while ((1u << bits) < windowSize) ++bits;
        const std::uint32_t slots = bits == 20 ? 42 : bits == 21 ? 50 : bits << 1;
        m_mainElements = kNumChars + (slots << 3);
    }

    void Reset() {
        m_r0 = m_r1 = m_r2 = 1;
        m_headerRead = false;
        m_blockRemaining = 0;
        m_blockType = kInvalid;
        m_windowPosn = 0;
        std::fill(m_main.lengths.begin(), m_main.lengths.end(), 0);
        std::fill(m_length.lengths.begin(), m_length.lengths.end(), 0);
    }

    // One frame: `in` decodes to m_frameLength bytes.
    void Frame(std::string_view in) {
        m_in = in;
        m_inpos = 0;
        m_bitbuf = 0;
        m_bitsleft = 0;
        if (!m_headerRead) {
            if (ReadBits(1)) {
                ReadBits(16);
                ReadBits(16);
            }
            m_headerRead = true;
        }
        std::int64_t togo = m_frameLength;
        while (togo > 0) {
            if (m_blockRemaining == 0) NewBlock();
            if (m_inpos > m_in.size() && (m_inpos > m_in.size() + 2 || m_bitsleft < 16))
                throw Refusal{"compressed data ends early"};
            std::int64_t run;
            while ((run = m_blockRemaining) > 0 && togo > 0) {
                if (run > togo) run = togo;
                togo -= run;
                m_blockRemaining -= static_cast<std::uint32_t>(run);
                m_windowPosn &= m_windowSize - 1;
                if (m_windowPosn + run > m_windowSize) throw Refusal{"a run crosses the window"};
                if (m_blockType == kUncompressed) {
                    if (m_inpos + static_cast<std::uint64_t>(run) > m_in.size())
                        throw Refusal{"stored data runs past its block"};
                    m_inpos += static_cast<std::size_t>(run);
                    m_windowPosn += static_cast<std::uint32_t>(run);
                } else {
                    Matches(run);
                }
            }
        }
    }

private:
    // Every bit taken must lie in this frame's data: beyond it chmlib
    // reads whatever its buffer holds, or memory past it.
    void Consumed() const {
        const std::int64_t taken = static_cast<std::int64_t>(m_inpos) * 8 - m_bitsleft;
        if (taken > static_cast<std::int64_t>(m_in.size()) * 8)
            throw Refusal{"compressed data ends early"};
    }
    std::uint32_t Byte(std::size_t i) const {
        return i < m_in.size() ? static_cast<unsigned char>(m_in[i]) : 0;
    }
    void EnsureBits(int n) {
        while (m_bitsleft < n) {
            m_bitbuf |= ((Byte(m_inpos + 1) << 8) | Byte(m_inpos)) << (32 - 16 - m_bitsleft);
            m_bitsleft += 16;
            m_inpos += 2;
        }
    }
    std::uint32_t PeekBits(int n) const { return n == 0 ? 0 : m_bitbuf >> (32 - n); }
    void RemoveBits(int n) {
        m_bitbuf = n >= 32 ? 0 : m_bitbuf << n;
        m_bitsleft -= n;
        Consumed();
    }
    std::uint32_t ReadBits(int n) {
        EnsureBits(n);
        const std::uint32_t v = PeekBits(n);
        RemoveBits(n);
        return v;
    }
    std::uint32_t Symbol(const Tree& tree) {
        if (!tree.built) throw Refusal{"a symbol from an empty code"};
        EnsureBits(16);
        std::uint32_t i = tree.table[PeekBits(static_cast<int>(tree.bits))];
        if (i >= tree.syms) {
            std::uint32_t j = 1u << (32 - tree.bits);
            do {
                j >>= 1;
                i <<= 1;
                i |= (m_bitbuf & j) ? 1 : 0;
                if (!j || i >= tree.table.size()) throw Refusal{"a code longer than its tree"};
            } while ((i = tree.table[i]) >= tree.syms);
        }
        RemoveBits(tree.lengths[i]);
        return i;
    }
    void Build(Tree& tree) {
        if (!tree.Build()) throw Refusal{"a damaged code tree"};
    }
    // The decoder's lzx_read_lens: lengths as differences, through a pretree.
    void ReadLengths(Tree& tree, std::uint32_t first, std::uint32_t last) {
        for (std::uint32_t x = 0; x < 20; ++x)
            m_pretree.lengths[x] = static_cast<std::uint8_t>(ReadBits(4));
        Build(m_pretree);
        std::vector<std::uint8_t>& lens = tree.lengths;
        const auto put = [&](std::uint32_t x, int value) {
            if (x >= lens.size()) throw Refusal{"code lengths overrun their table"};
            lens[x] = static_cast<std::uint8_t>(value);
        };
        const auto delta = [&](std::uint32_t x, int z) {
            if (x >= lens.size()) throw Refusal{"code lengths overrun their table"};
            z = lens[x] - z;
            return z < 0 ? z + 17 : z;
        };
        for (std::uint32_t x = first; x < last;) {
            int z = static_cast<int>(Symbol(m_pretree));
            if (z == 17) {
                for (std::uint32_t y = ReadBits(4) + 4; y > 0; --y) put(x++, 0);
            } else if (z == 18) {
                for (std::uint32_t y = ReadBits(5) + 20; y > 0; --y) put(x++, 0);
            } else if (z == 19) {
                std::uint32_t y = ReadBits(1) + 4;
                z = delta(x, static_cast<int>(Symbol(m_pretree)));
                for (; y > 0; --y) put(x++, z);
            } else {
                put(x, delta(x, z));
                ++x;
            }
        }
    }
    void NewBlock() {
        if (m_blockType == kUncompressed) {
            if (m_blockLength & 1) ++m_inpos;
            m_bitbuf = 0;
            m_bitsleft = 0;
        }
        m_blockType = ReadBits(3);
        const std::uint32_t high = ReadBits(16);
        const std::uint32_t low = ReadBits(8);
        m_blockRemaining = m_blockLength = (high << 8) | low;
        switch (m_blockType) {
            case kAligned:
                for (std::uint32_t i = 0; i < 8; ++i)
                    m_aligned.lengths[i] = static_cast<std::uint8_t>(ReadBits(3));
                Build(m_aligned);
                [[fallthrough]];
            case kVerbatim:
                ReadLengths(m_main, 0, 256);
                ReadLengths(m_main, 256, m_mainElements);
                Build(m_main);
                ReadLengths(m_length, 0, kNumSecondaryLengths);
                Build(m_length);
                break;
            case kUncompressed: {
                EnsureBits(16);
                if (m_bitsleft > 16) m_inpos -= 2;
                if (m_inpos + 12 > m_in.size()) throw Refusal{"stored block header cut off"};
                const auto u32 = [&](std::size_t at) {
                    return Byte(at) | Byte(at + 1) << 8 | Byte(at + 2) << 16 | Byte(at + 3) << 24;
                };
                m_r0 = u32(m_inpos);
                m_r1 = u32(m_inpos + 4);
                m_r2 = u32(m_inpos + 8);
                m_inpos += 12;
                break;
            }
            default:
                throw Refusal{"an unknown block type"};
        }
    }
    void Matches(std::int64_t run) {
        const bool aligned = m_blockType == kAligned;
        while (run > 0) {
            std::uint32_t element = Symbol(m_main);
            if (element < kNumChars) {
                ++m_windowPosn;
                --run;
                continue;
            }
            element -= kNumChars;
            std::int64_t matchLength = element & kNumPrimaryLengths;
            if (matchLength == kNumPrimaryLengths) matchLength += Symbol(m_length);
            matchLength += kMinMatch;
            std::uint32_t offset = element >> 3;
            if (offset > 2) {
                if (offset >= kExtraBits.size()) throw Refusal{"a position slot out of range"};
                if (!aligned) {
                    if (offset != 3) {
                        const int extra = kExtraBits[offset];
                        offset = kPositionBase[offset] - 2 + ReadBits(extra);
                    } else {
                        offset = 1;
                    }
                } else {
                    int extra = kExtraBits[offset];
                    offset = kPositionBase[offset] - 2;
                    if (extra > 3) {
                        extra -= 3;
                        offset += ReadBits(extra) << 3;
                        offset += Symbol(m_aligned);
                    } else if (extra == 3) {
                        offset += Symbol(m_aligned);
                    } else if (extra > 0) {
                        offset += ReadBits(extra);
                    } else {
                        offset = 1;
                    }
                }
                m_r2 = m_r1;
                m_r1 = m_r0;
                m_r0 = offset;
            } else if (offset == 0) {
                offset = m_r0;
            } else if (offset == 1) {
                offset = m_r1;
                m_r1 = m_r0;
                m_r0 = offset;
            } else {
                offset = m_r2;
                m_r2 = m_r0;
                m_r0 = offset;
            }
            // The decoder copies from `offset` bytes back, wrapping once
            // around the window: further back lies outside it.
            if (offset > m_windowSize) throw Refusal{"a match reaches outside the window"};
            m_windowPosn += static_cast<std::uint32_t>(matchLength);
            if (m_windowPosn > m_windowSize) throw Refusal{"a match runs past the window"};
            run -= matchLength;
        }
    }

    const std::uint32_t m_windowSize, m_frameLength;
    std::uint32_t m_mainElements = 0;
    Tree m_pretree{20, 6}, m_main{kNumChars + 50 * 8, 12}, m_length{kNumSecondaryLengths + 1, 12},
        m_aligned{8, 7};
    std::uint32_t m_r0 = 1, m_r1 = 1, m_r2 = 1;
    bool m_headerRead = false;
    std::uint32_t m_blockType = kInvalid, m_blockLength = 0, m_blockRemaining = 0;
    std::uint32_t m_windowPosn = 0;
    std::string_view m_in;
    std::size_t m_inpos = 0;
    std::uint32_t m_bitbuf = 0;
    int m_bitsleft = 0;
};

}  // namespace

bool CheckLzxStream(const LzxBlocks& blocks, std::string& error) {
    if (blocks.resetBlocks == 0 || blocks.blockLength == 0 ||
        blocks.blockLength > blocks.windowSize) {
        error = "unsupported compression parameters";
        return false;
    }
    Walker walker(blocks.windowSize, blocks.blockLength);
    try {
        for (std::size_t b = 0; b < blocks.bounds.size(); ++b) {
            if (b % blocks.resetBlocks == 0) walker.Reset();
            const auto [from, to] = blocks.bounds[b];
            if (from > to || to > blocks.data.size()) throw Refusal{"a block outside the data"};
            walker.Frame(blocks.data.substr(static_cast<std::size_t>(from),
                                            static_cast<std::size_t>(to - from)));
        }
    } catch (const Refusal& refusal) {
        error = std::string("damaged compressed data (") + refusal.reason + ")";
        return false;
    }
    return true;
}

}  // namespace mensura::helpfile::detail
