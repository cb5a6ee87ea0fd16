#pragma once
// What a sanitized page promises, checked by reading its HTML back against
// the sanitizer's own allowlist (page_allowlist.h), not a copy of it: the
// fixed prelude; only elements the allowlist writes, each under a parent it
// allows, properly nested; only attributes it keeps on that element, each
// value of the kind its rule gives (numbers within the rule's clamps, links
// and images inside the file or web and mail links); the caps on depth,
// elements, images, table cells and runs of text; valid UTF-8 throughout.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "ascii_text.h"
#include "check_failure.h"
#include "help_file_checks.h"
#include "page_allowlist.h"
#include "page_sanitizer.h"

namespace mensura::testsupport {

using namespace helpfile;
using namespace helpfile::page;

inline bool IsUtf8(std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t n = b < 0x80         ? 1
                        : (b >> 5) == 6  ? 2
                        : (b >> 4) == 14 ? 3
                        : (b >> 3) == 30 ? 4
                                         : 0;
        if (n == 0 || i + n > s.size()) return false;
        std::uint32_t cp = n == 1 ? b : b & (0x7Fu >> n);
        for (std::size_t k = 1; k < n; ++k) {
            const std::uint32_t c = static_cast<unsigned char>(s[i + k]);
            if ((c & 0xC0) != 0x80) return false;
            cp = cp << 6 | (c & 0x3F);
        }
        const std::uint32_t min[] = {0, 0, 0x80, 0x800, 0x10000};
        if (cp < min[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        if (cp < 0x20 && cp != '\n' && cp != '\t' && cp != '\r') return false;
        if (cp >= 0x7F && cp < 0xA0) return false;
        i += n;
    }
    return true;
}

// A written URL path back to the in-file path; empty when a "%" has no two
// hex digits after it.
inline std::string PercentDecodedPath(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '%') {
            out += s[i];
            continue;
        }
        if (i + 2 >= s.size() || HexValue(s[i + 1]) < 0 || HexValue(s[i + 2]) < 0) return {};
        out += static_cast<char>(HexValue(s[i + 1]) * 16 + HexValue(s[i + 2]));
        i += 2;
    }
    return out;
}

inline bool OnlyOf(std::string_view s, std::string_view allowed) {
    return s.find_first_not_of(allowed) == std::string_view::npos;
}

inline constexpr std::string_view kNameChars =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-";

// A path inside the file as the sanitizer writes it in a link or an image.
inline bool IsWrittenPath(std::string_view value) {
    return value.size() <= kMaxPathLength && OnlyOf(value, std::string(kNameChars) + ".~/%#:") &&
           IsCleanPath(PercentDecodedPath(value));
}

// Checks one written attribute value against what its rule says it is.
inline void CheckValue(const AttributeRule& rule, const std::string& value,
                       const SanitizedPage& page, std::set<std::string>& sources) {
    const std::string what = std::string(rule.name) + "=\"" + value + "\"";
    switch (rule.value) {
        case Value::kClasses: {
            std::size_t count = 0;
            for (std::size_t start = 0; start <= value.size(); ++count) {
                const std::size_t end = std::min(value.find(' ', start), value.size());
                const std::size_t length = end - start;
                if (length == 0 || length > kMaxClassName) Fail("class name", what);
                start = end + 1;
            }
            if (count > kMaxClasses || !OnlyOf(value, std::string(kNameChars) + " "))
                Fail("class names", what);
            break;
        }
        case Value::kId:
            if (value.empty() || value.size() > kMaxId ||
                !OnlyOf(value, std::string(kNameChars) + ".:"))
                Fail("id", what);
            break;
        case Value::kLink:
            if (StartsWithNoCase(value, "http://") || StartsWithNoCase(value, "https://") ||
                StartsWithNoCase(value, "mailto:")) {
                if (value.find_first_of(" <>\"") != std::string::npos) Fail("web link", what);
            } else if (!IsWrittenPath(value)) {
                Fail("link", what);
            }
            break;
        case Value::kSource: {
            const std::string path = PercentDecodedPath(value);
            if (!IsWrittenPath(value) || path.find('#') != std::string::npos) Fail("image", what);
            sources.insert(path);
            if (std::find(page.images.begin(), page.images.end(), path) == page.images.end())
                Fail("image not listed", path);
            break;
        }
        case Value::kChoice:
            if (value.empty() || value.find(' ') != std::string::npos ||
                (" " + std::string(rule.choices) + " ").find(" " + value + " ") ==
                    std::string::npos)
                Fail("not one of the choices", what);
            break;
        case Value::kNumber:
        case Value::kSpan: {
            std::string digits = value;
            long max = rule.max;
            if (rule.percent && !digits.empty() && digits.back() == '%') {
                digits.pop_back();
                max = kMaxPercent;
            }
            if (digits.empty() || digits.size() > 5 || !OnlyOf(digits, "0123456789"))
                Fail("not a number", what);
            const long v = std::stol(digits);
            if (v < rule.min || v > max || (rule.value == Value::kSpan && v < 2))
                Fail("number not clamped", what);
            break;
        }
    }
}

// Reads the sanitized page's HTML back and fails on any broken promise.
inline void CheckPage(const SanitizedPage& page) {
    const std::string& html = page.html;
    if (html.size() > kMaxHtmlBytes) Fail("html too large", std::to_string(html.size()));
    if (page.text.size() > kMaxTextBytes) Fail("text too large", "");
    if (page.title.size() > kMaxTitleBytes) Fail("title too long", page.title);
    if (page.title.find("  ") != std::string::npos || page.title.find('\n') != std::string::npos)
        Fail("title blanks", page.title);
    if (!IsUtf8(html) || !IsUtf8(page.text) || !IsUtf8(page.title)) Fail("invalid UTF-8", html);
    if (page.images.size() > kMaxDistinctImages) Fail("too many images", "");

    const std::string prelude = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>";
    const std::string bodyStart = "</title></head>\n<body>";
    const std::string end = "</body></html>\n";
    if (html.rfind(prelude, 0) != 0) Fail("prelude", html);
    const std::size_t body = html.find(bodyStart);
    if (body == std::string::npos || html.size() < body + bodyStart.size() + end.size() ||
        html.compare(html.size() - end.size(), end.size(), end) != 0)
        Fail("page frame", html);
    const std::string_view title =
        std::string_view(html).substr(prelude.size(), body - prelude.size());
    if (title.find('<') != std::string::npos) Fail("markup in title", std::string(title));

    std::vector<const ElementRule*> stack;  // the written elements open
    int tables = 0, indents = 0;
    std::size_t elements = 0, imageReferences = 0, run = 0, pres = 0;
    std::set<std::string> sources;
    // The grids of the tables open (rows, widest row, this row, in
    // columns), and the cells of all grids so far.
    struct Grid {
        long rows = 0, columns = 0, row = 0;
    };
    std::vector<Grid> grids;
    long tableCells = 0;
    const auto has = [](const ElementRule* rule, unsigned flag) { return (rule->flags & flag); };
    const auto breaksRun = [](const ElementRule* rule) {
        return (rule->flags & kBlock) || rule->name == "br";
    };
    const auto inStructure = [&] { return !stack.empty() && has(stack.back(), kInTable); };

    const std::string_view all(html);
    std::size_t i = body + bodyStart.size();
    const std::size_t stop = html.size() - end.size();
    while (i < stop) {
        if (html[i] == '<') {
            const std::size_t close = html.find('>', i);
            if (close == std::string::npos || close >= stop)
                Fail("tag not closed", html.substr(i, 80));
            std::string_view tag = all.substr(i + 1, close - i - 1);
            i = close + 1;
            if (!tag.empty() && tag[0] == '/') {
                const std::string_view name = tag.substr(1);
                if (stack.empty() || stack.back()->out != name)
                    Fail("end tag does not match", std::string(name));
                const ElementRule* rule = stack.back();
                if (has(rule, kTable)) {
                    --tables;
                    tableCells += grids.back().rows * std::max(grids.back().columns, 1L)
                                  << (grids.size() - 1);
                    if (tableCells > kMaxTableCells) Fail("too many table cells", "");
                    grids.pop_back();
                }
                if (has(rule, kIndent)) --indents;
                if (has(rule, kPre)) --pres;
                stack.pop_back();
                if (breaksRun(rule)) run = 0;
                continue;
            }
            const std::size_t nameEnd = std::min(tag.find(' '), tag.size());
            const std::string name(tag.substr(0, nameEnd));
            // Written as itself: a "section" comes out as a "div".
            const ElementRule* rule = FindElement(name);
            if (!rule || rule->out != name) Fail("element not allowed", name);
            if (++elements > kMaxElements) Fail("too many elements", "");
            const ElementRule* parent = stack.empty() ? nullptr : stack.back();
            if (!ParentAllows(*rule, parent))
                Fail("misplaced element", name + " in " + std::string(parent ? parent->out : ""));
            // Attributes: name="value", each kept by the allowlist, once.
            std::string_view rest = tag.substr(nameEnd);
            std::set<std::string> seen;
            while (!rest.empty()) {
                if (rest[0] != ' ') Fail("attribute syntax", std::string(tag));
                const std::size_t eq = rest.find("=\"");
                const std::size_t quote = eq == std::string::npos ? eq : rest.find('"', eq + 2);
                if (quote == std::string::npos) Fail("attribute syntax", std::string(tag));
                const std::string key(rest.substr(1, eq - 1));
                const std::string value(rest.substr(eq + 2, quote - eq - 2));
                rest = rest.substr(quote + 1);
                const AttributeRule* attribute = FindAttribute(*rule, key);
                if (!attribute || !seen.insert(key).second)
                    Fail("attribute not allowed", name + " " + key);
                CheckValue(*attribute, value, page, sources);
            }
            if (name == "table") grids.push_back({});
            if (name == "tr") {
                ++grids.back().rows;
                grids.back().row = 0;
            }
            if (name == "td" || name == "th") {
                const std::size_t at = tag.find(" colspan=\"");
                Grid& grid = grids.back();
                grid.row +=
                    at == std::string_view::npos ? 1 : std::stol(std::string(tag.substr(at + 10)));
                if (grid.row > kMaxColumns) Fail("row too wide", std::string(tag));
                grid.columns = std::max(grid.columns, grid.row);
            }
            if (name == "img") {
                if (!seen.count("src")) Fail("image without source", std::string(tag));
                if (++imageReferences > kMaxImageReferences) Fail("too many image references", "");
                ++run;
            }
            if (breaksRun(rule)) run = 0;
            if (has(rule, kVoid)) continue;
            stack.push_back(rule);
            if (stack.size() > static_cast<std::size_t>(kMaxDepth)) Fail("too deep", name);
            if (has(rule, kTable) && ++tables > kMaxTableDepth) Fail("tables too deep", "");
            if (has(rule, kIndent) && ++indents > kMaxIndentDepth) Fail("indents too deep", "");
            if (has(rule, kPre)) ++pres;
            continue;
        }
        if (html[i] == '>') Fail("stray >", html.substr(i, 80));
        if (inStructure() && html[i] != ' ' && html[i] != '\n')
            Fail("text between cells", html.substr(i, 80));
        // One character of text; an entity counts as one.
        std::size_t length = 1;
        if (html[i] == '&') {
            length = html.find(';', i) - i + 1;
            const std::string entity = html.substr(i, length);
            if (entity != "&amp;" && entity != "&lt;" && entity != "&gt;" && entity != "&quot;")
                Fail("entity", entity);
        } else {
            const auto lead = static_cast<unsigned char>(html[i]);
            length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        }
        const std::string_view ch = all.substr(i, length);
        i += length;
        const bool breaks =
            pres > 0 ? ch == "\n" : (ch == " " || ch == "\n" || ch == "\t" || ch == "\u200B");
        if (breaks) {
            run = 0;
        } else if (++run > kMaxRun) {
            Fail("run of text too long", html.substr(i - 40, 80));
        }
    }
    if (!stack.empty()) Fail("elements left open", std::string(stack.back()->out));
    if (sources.size() != page.images.size()) Fail("image list differs from the html", "");
}

}  // namespace mensura::testsupport
