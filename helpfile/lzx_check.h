#pragma once

// Checks the LZX stream of a help file's compressed section before chmlib
// decompresses it.
//
// chmlib's LZX decoder checks where it writes but not where it reads: a
// match offset taken from the stream (an uncompressed block's repeat
// offsets, or a position slot beyond the window) makes it copy from far
// outside its window, a code tree built from no lengths at all is used
// with whatever the table held before, and its input is read on past the
// end of a block's data. So the reader walks the stream first, bit for
// bit as chmlib's decoder will, without producing any output (the path
// through the stream never depends on the decoded bytes), and accepts the
// file only when every block decodes with every read inside its block and
// every match inside the window.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mensura::helpfile::detail {

struct LzxBlocks {
    std::string_view data;                                        // the compressed section
    std::vector<std::pair<std::uint64_t, std::uint64_t>> bounds;  // [from, to) of each block
    std::uint32_t windowSize = 0;                                 // a power of two, 2^15 to 2^21
    std::uint64_t resetBlocks = 0;  // the decoder starts afresh every this many blocks
    std::uint32_t blockLength = 0;  // bytes each block decodes to
};

// True when chmlib's decoder can decode every block safely; else false
// with the reason in `error`.
bool CheckLzxStream(const LzxBlocks& blocks, std::string& error);

}  // namespace mensura::helpfile::detail
