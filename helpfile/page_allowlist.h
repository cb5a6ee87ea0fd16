#pragma once
// The allowlist of the page sanitizer: which elements are written and as
// what, which need which parent, and the attributes each keeps, checked,
// clamped and resolved. Internal to the helpfile library; the property
// checks of its tests and fuzz targets read written pages against it.
#include <cstddef>
#include <string>
#include <string_view>

namespace mensura::helpfile::page {

// What an element is, for the caps and the structure checks.
enum Flags : unsigned {
    kBlock = 1,      // a block: its end breaks a run of text
    kVoid = 2,       // no content, no end tag
    kTable = 4,      // counts toward kMaxTableDepth
    kIndent = 8,     // counts toward kMaxIndentDepth
    kPre = 16,       // keeps its blanks and line breaks
    kInTable = 32,   // a table's structure: text directly inside is dropped
    kTablePart = 64  // a table's structure or a cell
};

// Attributes an element may keep, besides class and id, which all may.
enum Attributes : unsigned {
    kHref = 1,        // a: href, name
    kSrc = 2,         // img: src, width, height (alt goes to the text)
    kAlign = 4,       // align
    kTableAttrs = 8,  // width, border, cellpadding, cellspacing
    kCellAttrs = 16   // colspan, rowspan, width, valign
};

struct ElementRule {
    std::string_view name;     // in the page
    std::string_view out;      // written as
    unsigned flags;            // Flags
    std::string_view parents;  // the written parent it needs ("tr"), or empty for any
    unsigned attributes;       // Attributes
};

// The allowlisted element of that name; nullptr for any other.
const ElementRule* FindElement(std::string_view name);
// Elements that go with all they hold (script, style, svg, ...).
bool DroppedWithContent(std::string_view name);
// Blocks not in the allowlist: dropped, but they still break lines.
bool OtherBlock(std::string_view name);
// Whether rule may be written inside the written element parent (nullptr:
// none): cells in rows, rows in tables, items in lists, and nothing but
// those inside a table's structure.
bool ParentAllows(const ElementRule& rule, const ElementRule* parent);

// What a written attribute's value is.
enum class Value {
    kClasses,  // class names of [A-Za-z0-9_-], at most kMaxClasses of kMaxClassName
    kId,       // [A-Za-z0-9_-.:], at most kMaxId
    kLink,     // a path inside the file (PathUrl), or a web or mail address as written
    kSource,   // the image's path inside the file (PathUrl), no fragment
    kChoice,   // one of the words of `choices`, lower case
    kNumber,   // digits within [min, max], or with "%" up to kMaxPercent where allowed
    kSpan      // a cell's colspan, clamped like a number, written when above 1
};

// An attribute an element may keep: its name, the Attributes bit of the
// elements that keep it (kEvery: all of them) and what its value is.
inline constexpr unsigned kEvery = ~0u;
struct AttributeRule {
    std::string_view name;
    unsigned elements;  // Attributes
    Value value;
    std::string_view choices = {};  // kChoice: the words, separated by spaces
    long min = 0, max = 0;          // kNumber, kSpan
    bool percent = false;           // kNumber: a percentage allowed too
};

// The rule for an attribute of that name on an element written as rule;
// nullptr when the element does not keep it.
const AttributeRule* FindAttribute(const ElementRule& rule, std::string_view name);
// Whether some element keeps an attribute of that name, or the sanitizer
// reads it (an image's alt, which goes to the text): the attributes that
// canonical markup passes on to the parser.
bool ReadsAttribute(std::string_view name);

// Caps on the values of class, id and name, and of web and mail links.
inline constexpr std::size_t kMaxClassName = 64;
inline constexpr std::size_t kMaxClasses = 8;
inline constexpr std::size_t kMaxId = 128;
inline constexpr std::size_t kMaxAddress = 2048;

// The attributes an element written as rule keeps from atts (libxml2's
// name, value, ..., nullptr array), appended to out as ` name="value"`:
// class names of [A-Za-z0-9_-] only, ids of those and ".:", links resolved
// against pagePath or web and mail addresses as written, numbers clamped;
// for a cell, colspan="cellSpan" when above 1; for an image, src=imageSrc.
// Returns how many numbers were clamped.
struct AttributeContext {
    std::string_view pagePath;
    int cellSpan = 0;
    std::string_view imageSrc;
};
std::size_t AppendAttributes(const ElementRule& rule, const char* const* atts,
                             const AttributeContext& context, std::string& out);

// A dimension as HTML reads it: leading digits, then "%" if there.
struct Number {
    bool valid = false;
    long value = 0;
    bool percent = false;
};
Number ParseNumber(std::string_view s);

// An in-file path ("/a b.html#x") as it is written in a link or image.
std::string PathUrl(std::string_view path);

}  // namespace mensura::helpfile::page
