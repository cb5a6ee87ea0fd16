#pragma once

// Turns a page of a help file into HTML that Qt's text renderer can show
// without harm. A help file may come from any folder, so its pages are
// hostile input: QTextDocument's layout doubles its time with every level
// of nested tables, is quadratic in unbroken words and in nested blocks,
// builds a grid as wide as the largest colspan, and falls back to the disk
// for any image the document cannot supply.
//
// SanitizePage parses the page with libxml2's HTML parser (through its SAX
// interface and a stack of our own, so no depth of nesting recurses) and
// writes out a small allowlisted subset, every number clamped and every
// count capped, links and images resolved to paths inside the file. It
// returns the page's title and its plain text too, which search indexes.
// Standard C++, no Qt.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mensura::helpfile {

// --- Caps; each is measured against QTextDocument's layout cost ---------

// Nesting of elements written out, all kinds together; deeper elements are
// dropped and their text kept.
inline constexpr int kMaxDepth = 32;
// Nested tables: each level roughly doubles the layout time. Deeper tables
// are flattened into their text, a line for each row.
inline constexpr int kMaxTableDepth = 4;
// Nested lists, definition lists and quotations: each level indents, so
// deeper ones would leave the text no width.
inline constexpr int kMaxIndentDepth = 8;
// Elements written out per page; later ones are dropped, their text kept.
inline constexpr std::size_t kMaxElements = 10000;
// Characters of text without a break opportunity (outside <pre>), and of a
// line inside <pre>; a longer run gets a zero-width space (a <pre> line a
// line break).
inline constexpr std::size_t kMaxRun = 256;
// Bytes of HTML written out; the page ends there.
inline constexpr std::size_t kMaxHtmlBytes = 512 * 1024;
// Bytes of plain text kept for search.
inline constexpr std::size_t kMaxTextBytes = 512 * 1024;
// Bytes of the title.
inline constexpr std::size_t kMaxTitleBytes = 256;
// <img> elements per page, and distinct images among them.
inline constexpr std::size_t kMaxImageReferences = 256;
inline constexpr std::size_t kMaxDistinctImages = 32;
// colspan and rowspan: the table's grid grows with them.
inline constexpr int kMaxSpan = 16;
// Columns of a table row, colspans counted; cells beyond are dropped.
inline constexpr int kMaxColumns = 32;
// Cells in the grids of all the tables of a page, each table counting its
// rows times its widest row (Qt makes a block for every cell of the grid),
// twice for each table it lies in (Qt lays nested tables out again for
// each level). A table that would pass it ends there, its other rows
// following as lines of text.
inline constexpr long kMaxTableCells = 10000;
// Widths and heights in pixels (tables, cells, images), and in percent.
inline constexpr int kMaxLength = 2048;
inline constexpr int kMaxPercent = 100;
// cellpadding, cellspacing and border, in pixels.
inline constexpr int kMaxCellPadding = 32;
inline constexpr int kMaxCellSpacing = 32;
inline constexpr int kMaxBorder = 8;

// What SanitizePage makes of a page.
struct SanitizedPage {
    // UTF-8 HTML: the fixed prelude (doctype, UTF-8 meta, title, <body>),
    // then allowlisted elements and attributes only.
    std::string html;
    // The page's <title>: plain text, blanks collapsed, at most
    // kMaxTitleBytes.
    std::string title;
    // The visible text: blocks on lines of their own, blanks collapsed; what
    // search looks in. Image descriptions (alt) are in it; the html has none.
    std::string text;
    // The distinct images the html refers to, as absolute paths inside the
    // file, in order of first use.
    std::vector<std::string> images;

    // What the caps took away, for tests and the status line.
    std::size_t droppedElements = 0;  // beyond kMaxElements or kMaxDepth
    std::size_t flattenedTables = 0;  // tables deeper than kMaxTableDepth
    std::size_t droppedImages = 0;    // references refused or beyond the caps
    std::size_t brokenRuns = 0;       // break opportunities inserted
    std::size_t clampedNumbers = 0;   // numeric attributes clamped
    bool truncated = false;           // the page was cut (size or parser depth)
};

// Sanitizes the bytes of the page at pagePath, the page's absolute path
// inside the file ("/sub/page.html"), against which links and images are
// resolved. Never fails: any bytes give a bounded page.
SanitizedPage SanitizePage(std::string_view bytes, std::string_view pagePath);

}  // namespace mensura::helpfile
