#pragma once
// The sitemap format of a help file's table of contents (.hhc) and keyword
// index (.hhk): nested lists of <OBJECT type="text/sitemap"> entries.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mensura::helpfile {

// One line of the table of contents, in the order of the file's sitemap.
struct ContentsEntry {
    std::string name;   // the title shown
    std::string local;  // the page inside the file, "/units.html" or "/units.html#length";
                        // empty for a heading without a page
    int depth = 0;      // 0 for top-level entries, 1 for their children, ...
};

// One keyword of the index and the pages it leads to.
struct IndexEntry {
    struct Topic {
        std::string title;  // the page's title as the index names it
        std::string local;  // the page inside the file, as in ContentsEntry
    };
    std::string keyword;
    std::vector<Topic> topics;  // none for a heading of sub-keywords
    int depth = 0;              // 0 for keywords, 1 for their sub-keywords, ...
};

// Limits of the sitemap parser: entries kept, nesting depth reported
// (deeper lists are reported at this depth), bytes of a name, and pages of
// one keyword.
inline constexpr std::size_t kMaxContentsEntries = 10000;
inline constexpr int kMaxContentsDepth = 32;
inline constexpr std::size_t kMaxNameLength = 1024;
inline constexpr std::size_t kMaxIndexTopics = 64;

// Parses a .hhc sitemap: <UL> nesting gives the depth, every
// <OBJECT type="text/sitemap"> one entry from its "Name" and "Local" params
// (entities such as &amp; decoded, blanks collapsed). Local paths are
// resolved with ResolvePath against `base`, the sitemap's own path; one that
// leads outside the file leaves the entry without a page. Forgiving of
// missing closing tags and unquoted values; stops at kMaxContentsEntries.
std::vector<ContentsEntry> ParseSitemap(std::string_view html, std::string_view base = "/");

// Parses a .hhk index the same way: each object's first "Name" is a
// keyword, and every "Local" after it a page, titled by the "Name" just
// before it (or by the keyword). Pages that lead outside the file are
// dropped; an object without a keyword is skipped. Stops at
// kMaxContentsEntries keywords and kMaxIndexTopics pages a keyword.
std::vector<IndexEntry> ParseIndex(std::string_view html, std::string_view base = "/");

}  // namespace mensura::helpfile
