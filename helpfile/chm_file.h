#pragma once

// Reads compiled HTML help files (.chm), the format of Mensura's help.
// Standard C++ over chmlib, no Qt. A help file may come from any folder, so
// everything read from it is treated as untrusted: lengths are checked
// before anything is allocated, one object may take at most kMaxObjectSize
// bytes, every loop over the file's own counts is bounded, and a damaged,
// truncated or hostile file gives a clean refusal, never a crash or a hang.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sitemap.h"

namespace mensura::helpfile {

// The most one object of a help file may take; larger ones are refused.
inline constexpr std::size_t kMaxObjectSize = 4 * 1024 * 1024;

class ChmFile {
public:
    // Opens a help file; nullptr when it is missing or is no readable help
    // file, with the reason in *error if given.
    static std::unique_ptr<ChmFile> Open(const std::string& path, std::string* error = nullptr);
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // The bytes of the object at an absolute path inside the file
    // ("/index.html"; a "#part" of a contents line or topic is no part of
    // the name), looked up without regard to case; nullopt when there is no
    // such object, it is larger than kMaxObjectSize, or it cannot be read
    // whole.
    std::optional<std::string> Object(std::string_view path) const;

    // The page to show first, as an absolute path inside the file: the
    // default topic the file names, else index.htm(l) or default.htm(l),
    // else its first page; empty when the file holds no page at all.
    std::string DefaultTopic() const;

    // The table of contents, from the file's .hhc sitemap, flattened in
    // order; empty when the file has none.
    std::vector<ContentsEntry> Contents() const;

    // The keyword index, from the file's .hhk sitemap; empty when it has
    // none.
    std::vector<IndexEntry> Index() const;

    // The absolute paths of every page (.htm and .html) in the file, sorted.
    std::vector<std::string> Pages() const;

    // The title the file gives itself (its project's Title=); empty if none.
    std::string Title() const;

private:
    struct Impl;
    explicit ChmFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

}  // namespace mensura::helpfile
