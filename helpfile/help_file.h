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

namespace mensura::helpfile {

// The most one object of a help file may take; larger ones are refused.
inline constexpr std::size_t kMaxObjectSize = 4 * 1024 * 1024;

// One line of the table of contents, in the order of the file's sitemap.
struct ContentsEntry {
    std::string name;   // the title shown
    std::string local;  // the page inside the file, "/units.html" or "/units.html#length";
                        // empty for a heading without a page
    int depth = 0;      // 0 for top-level entries, 1 for their children, ...
};

class HelpFile {
public:
    // Opens a help file; nullptr when it is missing or is no readable help
    // file, with the reason in *error if given.
    static std::unique_ptr<HelpFile> Open(const std::string& path, std::string* error = nullptr);
    ~HelpFile();
    HelpFile(const HelpFile&) = delete;
    HelpFile& operator=(const HelpFile&) = delete;

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

    // The absolute paths of every page (.htm and .html) in the file, sorted.
    std::vector<std::string> Pages() const;

    // The title the file gives itself (its project's Title=); empty if none.
    std::string Title() const;

private:
    struct Impl;
    explicit HelpFile(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> m_impl;
};

// --- Pieces of the reader that work on strings alone ---------------------
// They take bytes that came out of a help file, so they are as careful as
// the reader itself; they are public so that they can be tested and fuzzed
// without a file.

// Longest path or link Mensura accepts from a help file, in bytes.
inline constexpr std::size_t kMaxPathLength = 512;

// A link or path found in a help file, resolved against the object it was
// found in (an absolute path such as "/sub/page.html"; its folder is the
// base): "b.html" in "/sub/a.html" gives "/sub/b.html", "../x.html" gives
// "/x.html", "#top" gives "/sub/a.html#top". Backslashes count as "/", "."
// and empty segments are dropped. nullopt for anything that does not stay
// inside the file: a scheme ("http:", "mk:@MSITStore:", "javascript:"), a
// ".." above the root, control characters, an empty link or one longer than
// kMaxPathLength. A fragment ("#part") is kept, a query ("?x") dropped.
std::optional<std::string> ResolvePath(std::string_view link, std::string_view base = "/");

// What the file's /#SYSTEM object says about it; each string is cut at its
// first NUL and at kMaxPathLength bytes, and is otherwise as the file wrote
// it (not yet resolved).
struct SystemData {
    std::string contentsFile;  // record 0: the .hhc sitemap
    std::string indexFile;     // record 1: the .hhk index
    std::string defaultTopic;  // record 2: the page shown first
    std::string title;         // record 3: the title
};

// Reads the records of a /#SYSTEM object: a 4-byte version, then records of
// {16-bit code, 16-bit length, data}, little-endian. A record that runs past
// the end stops the reading and is ignored; nullopt when not even the
// version is there.
std::optional<SystemData> ParseSystem(std::string_view bytes);

// Limits of the sitemap parser: entries kept, nesting depth reported
// (deeper lists are reported at this depth), and bytes of a name.
inline constexpr std::size_t kMaxContentsEntries = 10000;
inline constexpr int kMaxContentsDepth = 32;
inline constexpr std::size_t kMaxNameLength = 1024;

// Parses a .hhc sitemap: <UL> nesting gives the depth, every
// <OBJECT type="text/sitemap"> one entry from its "Name" and "Local" params
// (entities such as &amp; decoded, blanks collapsed). Local paths are
// resolved with ResolvePath against `base`, the sitemap's own path; one that
// leads outside the file leaves the entry without a page. Forgiving of
// missing closing tags and unquoted values; stops at kMaxContentsEntries.
std::vector<ContentsEntry> ParseSitemap(std::string_view html, std::string_view base = "/");

}  // namespace mensura::helpfile
