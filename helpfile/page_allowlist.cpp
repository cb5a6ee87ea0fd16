// The allowlist: the elements a sanitized page may hold, and what each of
// their attributes may say.
#include "page_allowlist.h"

#include <algorithm>
#include <climits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ascii_text.h"
#include "chm_path.h"
#include "page_sanitizer.h"

namespace mensura::helpfile::page {

namespace {

// The allowlist. Elements not listed are dropped and their text kept
// (or, for those in kDroppedWithContent, their text too).
// clang-format off
// page name    written as    flags                            parent needed              attributes
constexpr ElementRule kElements[] = {
    {"p",          "p",          kBlock,                          "",                        kAlign},
    {"h1",         "h1",         kBlock,                          "",                        kAlign},
    {"h2",         "h2",         kBlock,                          "",                        kAlign},
    {"h3",         "h3",         kBlock,                          "",                        kAlign},
    {"h4",         "h4",         kBlock,                          "",                        kAlign},
    {"h5",         "h5",         kBlock,                          "",                        kAlign},
    {"h6",         "h6",         kBlock,                          "",                        kAlign},
    {"div",        "div",        kBlock,                          "",                        kAlign},
    {"blockquote", "blockquote", kBlock | kIndent,                "",                        0},
    {"pre",        "pre",        kBlock | kPre,                   "",                        0},
    {"hr",         "hr",         kBlock | kVoid,                  "",                        0},
    {"br",         "br",         kVoid,                           "",                        0},
    {"ul",         "ul",         kBlock | kIndent,                "",                        0},
    {"ol",         "ol",         kBlock | kIndent,                "",                        0},
    {"li",         "li",         kBlock,                          "ul ol",                   0},
    {"dl",         "dl",         kBlock | kIndent,                "",                        0},
    {"dt",         "dt",         kBlock,                          "dl",                      0},
    {"dd",         "dd",         kBlock,                          "dl",                      0},
    {"table",      "table",      kBlock | kTable | kInTable,      "",                        kTableAttrs | kAlign},
    {"caption",    "caption",    kBlock | kTablePart,             "table",                   kAlign},
    {"thead",      "thead",      kBlock | kInTable | kTablePart,  "table",                   0},
    {"tbody",      "tbody",      kBlock | kInTable | kTablePart,  "table",                   0},
    {"tfoot",      "tfoot",      kBlock | kInTable | kTablePart,  "table",                   0},
    {"tr",         "tr",         kBlock | kInTable | kTablePart,  "table thead tbody tfoot", 0},
    {"td",         "td",         kBlock | kTablePart,             "tr",                      kCellAttrs | kAlign},
    {"th",         "th",         kBlock | kTablePart,             "tr",                      kCellAttrs | kAlign},
    {"a",          "a",          0,                               "",                        kHref},
    {"img",        "img",        kVoid,                           "",                        kSrc},
    {"em",         "em",         0,                               "",                        0},
    {"strong",     "strong",     0,                               "",                        0},
    {"b",          "b",          0,                               "",                        0},
    {"i",          "i",          0,                               "",                        0},
    {"u",          "u",          0,                               "",                        0},
    {"sub",        "sub",        0,                               "",                        0},
    {"sup",        "sup",        0,                               "",                        0},
    {"small",      "small",      0,                               "",                        0},
    {"code",       "code",       0,                               "",                        0},
    {"kbd",        "kbd",        0,                               "",                        0},
    {"tt",         "tt",         0,                               "",                        0},
    {"span",       "span",       0,                               "",                        0},
    // Sectioning blocks of newer HTML are shown as plain blocks.
    {"section",    "div",        kBlock,                          "",                        0},
    {"article",    "div",        kBlock,                          "",                        0},
    {"header",     "div",        kBlock,                          "",                        0},
    {"footer",     "div",        kBlock,                          "",                        0},
    {"nav",        "div",        kBlock,                          "",                        0},
    {"main",       "div",        kBlock,                          "",                        0},
    {"aside",      "div",        kBlock,                          "",                        0},
    {"figure",     "div",        kBlock,                          "",                        0},
    {"figcaption", "div",        kBlock,                          "",                        0},
    {"center",     "div",        kBlock,                          "",                        0},
    {"address",    "div",        kBlock,                          "",                        0},
};
// clang-format on

// Elements that go with all they hold: code, styles, embedded documents,
// other vocabularies, form fields. (The title's text is kept as the title.)
constexpr std::string_view kDroppedWithContent[] = {
    "script",   "style",    "title",    "object",   "embed", "applet", "iframe", "frame",
    "frameset", "noframes", "noembed",  "template", "svg",   "math",   "select", "option",
    "optgroup", "datalist", "textarea", "audio",    "video", "canvas", "map",    "xml"};

// Blocks not in the allowlist: dropped, but their ends still break lines.
constexpr std::string_view kOtherBlocks[] = {
    "html", "body", "form",    "fieldset",  "legend",   "details", "summary",
    "menu", "dir",  "listing", "plaintext", "noscript", "hgroup"};

// The attributes kept, by the Attributes bit of the elements that keep
// them. (A cell's colspan and an image's src are written from what the
// sanitizer made of them, not as the page wrote them.)
// clang-format off
// name          kept by                    value            choices                     min  max
constexpr AttributeRule kAttributes[] = {
    {"class",       kEvery,                   Value::kClasses},
    {"id",          kEvery,                   Value::kId},
    {"name",        kHref,                    Value::kId},
    {"href",        kHref,                    Value::kLink},
    {"src",         kSrc,                     Value::kSource},
    {"align",       kAlign,                   Value::kChoice,  "left right center justify"},
    {"valign",      kCellAttrs,               Value::kChoice,  "top middle bottom"},
    {"colspan",     kCellAttrs,               Value::kSpan,    {},                         1,   kMaxSpan},
    {"rowspan",     kCellAttrs,               Value::kNumber,  {},                         1,   kMaxSpan},
    {"width",       kCellAttrs | kTableAttrs, Value::kNumber,  {},                         1,   kMaxLength, true},
    {"width",       kSrc,                     Value::kNumber,  {},                         1,   kMaxLength},
    {"height",      kSrc,                     Value::kNumber,  {},                         1,   kMaxLength},
    {"border",      kTableAttrs,              Value::kNumber,  {},                         0,   kMaxBorder},
    {"cellpadding", kTableAttrs,              Value::kNumber,  {},                         0,   kMaxCellPadding},
    {"cellspacing", kTableAttrs,              Value::kNumber,  {},                         0,   kMaxCellSpacing},
};
// clang-format on

template <std::size_t N>
bool OneOf(std::string_view s, const std::string_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), s) != std::end(list);
}

bool ListHas(std::string_view list, std::string_view word) {
    std::size_t start = 0;
    while (start < list.size()) {
        std::size_t end = list.find(' ', start);
        if (end == std::string_view::npos) end = list.size();
        if (list.substr(start, end - start) == word) return true;
        start = end + 1;
    }
    return false;
}

bool IsNameChar(char c) {
    return IsAsciiAlnum(c) || c == '_' || c == '-';
}

void Classes(std::string_view value, std::string& out) {
    std::string kept;
    std::size_t count = 0;
    std::size_t start = 0;
    while (start < value.size() && count < kMaxClasses) {
        while (start < value.size() && IsBlank(value[start])) ++start;
        std::size_t end = start;
        while (end < value.size() && !IsBlank(value[end])) ++end;
        const std::string_view token = value.substr(start, end - start);
        if (!token.empty() && token.size() <= kMaxClassName &&
            std::all_of(token.begin(), token.end(), IsNameChar)) {
            if (!kept.empty()) kept += ' ';
            kept += token;
            ++count;
        }
        start = end;
    }
    if (kept.empty()) return;
    out += " class=\"" + kept + "\"";
}

// href: a place in the file, resolved against the page, or a web or
// mail address as written; anything else is dropped.
void Link(std::string_view value, std::string_view pagePath, std::string& out) {
    const std::string_view href = Trimmed(value);
    if (StartsWithNoCase(href, "http://") || StartsWithNoCase(href, "https://") ||
        StartsWithNoCase(href, "mailto:")) {
        if (href.size() > kMaxAddress || std::any_of(href.begin(), href.end(), [](char c) {
                return static_cast<unsigned char>(c) <= 0x20;
            }))
            return;
        out += " href=\"";
        AppendEscaped(out, href);
        out += '"';
        return;
    }
    const std::optional<std::string> path = ResolvePath(href, pagePath);
    // Written percent-encoded, a path must still be a link the reader
    // takes (kMaxPathLength), so that the written page reads the same.
    if (path && PathUrl(*path).size() <= kMaxPathLength) out += " href=\"" + PathUrl(*path) + "\"";
}

void Choice(std::string_view key, std::string_view value, std::string_view choices,
            std::string& out) {
    const std::string lowered = Folded(Trimmed(value).substr(0, 16));
    if (lowered.empty() || !ListHas(choices, lowered)) return;
    out += " ";
    out += key;
    out += "=\"" + lowered + "\"";
}

// Writes a number clamped to [min, max] (or a percentage to
// kMaxPercent, where allowed); 1 when it had to be clamped.
std::size_t Clamped(std::string_view key, std::string_view value, long min, long max,
                    bool percentAllowed, std::string& out) {
    Number n = ParseNumber(value);
    if (!n.valid || (n.percent && !percentAllowed)) return 0;
    const long limit = n.percent ? kMaxPercent : max;
    const long clamped = std::clamp(n.value, min, limit);
    out += " ";
    out += key;
    out += "=\"" + std::to_string(clamped) + (n.percent ? "%\"" : "\"");
    return clamped != n.value ? 1 : 0;
}

}  // namespace

// An in-file path as a URL path: everything but unreserved characters, "/"
// and, in the fragment, ":" percent-encoded, so that the viewer's decoding
// gives the path back.
std::string PathUrl(std::string_view path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    bool fragment = false;
    for (char c : path) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~' ||
                           c == '/' || (fragment && c == ':');
        if (c == '#' && !fragment) {
            fragment = true;
            out += c;
        } else if (plain) {
            out += c;
        } else {
            out += '%';
            out += kHex[u >> 4];
            out += kHex[u & 15];
        }
    }
    return out;
}

Number ParseNumber(std::string_view s) {
    s = Trimmed(s);
    Number n;
    std::size_t i = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        n.value = std::min<long>(n.value * 10 + (s[i] - '0'), INT_MAX);
        n.valid = true;
        ++i;
    }
    n.percent = i < s.size() && s[i] == '%';
    return n;
}

const ElementRule* FindElement(std::string_view name) {
    for (const ElementRule& rule : kElements)
        if (rule.name == name) return &rule;
    return nullptr;
}

bool DroppedWithContent(std::string_view name) {
    return OneOf(name, kDroppedWithContent);
}

bool OtherBlock(std::string_view name) {
    return OneOf(name, kOtherBlocks);
}

bool ParentAllows(const ElementRule& rule, const ElementRule* parent) {
    if (rule.parents.empty()) return !(parent && (parent->flags & kInTable));
    return parent && ListHas(rule.parents, parent->name);
}

const AttributeRule* FindAttribute(const ElementRule& rule, std::string_view name) {
    for (const AttributeRule& attribute : kAttributes)
        if (attribute.name == name &&
            (attribute.elements == kEvery || (rule.attributes & attribute.elements)))
            return &attribute;
    return nullptr;
}

bool ReadsAttribute(std::string_view name) {
    return name == "alt" ||
           std::any_of(std::begin(kAttributes), std::end(kAttributes),
                       [&](const AttributeRule& attribute) { return attribute.name == name; });
}

std::size_t AppendAttributes(const ElementRule& rule, const char* const* atts,
                             const AttributeContext& context, std::string& out) {
    std::size_t clamped = 0;
    std::vector<std::string_view> seen;  // the first class, and the first valid id and name
    for (const char* const* a = atts; a && a[0]; a += 2) {
        const std::string_view key(a[0]);
        const std::string_view value = a[1] ? std::string_view(a[1]) : std::string_view();
        const AttributeRule* attribute = FindAttribute(rule, key);
        if (!attribute || std::find(seen.begin(), seen.end(), key) != seen.end()) continue;
        switch (attribute->value) {
            case Value::kClasses:
                seen.push_back(key);
                Classes(value, out);
                break;
            case Value::kId: {
                const std::string_view id = Trimmed(value);
                if (id.empty() || id.size() > kMaxId ||
                    !std::all_of(id.begin(), id.end(),
                                 [](char c) { return IsNameChar(c) || c == '.' || c == ':'; }))
                    break;
                seen.push_back(key);
                out += " ";
                out += key;
                out += "=\"";
                out += id;
                out += '"';
                break;
            }
            case Value::kLink:
                Link(value, context.pagePath, out);
                break;
            case Value::kChoice:
                Choice(key, value, attribute->choices, out);
                break;
            case Value::kNumber:
                clamped +=
                    Clamped(key, value, attribute->min, attribute->max, attribute->percent, out);
                break;
            case Value::kSource:
            case Value::kSpan:
                break;  // written below, from what the sanitizer made of them
        }
    }
    if ((rule.attributes & kCellAttrs) && context.cellSpan > 1)
        out += " colspan=\"" + std::to_string(context.cellSpan) + "\"";
    if (rule.attributes & kSrc) {
        out += " src=\"";
        out += context.imageSrc;
        out += '"';
    }
    return clamped;
}

}  // namespace mensura::helpfile::page
