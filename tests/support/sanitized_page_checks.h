#pragma once
// What a sanitized page promises, checked by reading its HTML back: the
// fixed prelude; only allowlisted elements and attributes, properly nested,
// in the structure QTextDocument expects (cells in rows, rows in tables,
// items in lists); the caps on depth, elements, images and runs of text;
// numbers within their clamps; links and images inside the file (or web
// and mail links); valid UTF-8 throughout.
#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "check_failure.h"
#include "help_file_checks.h"
#include "page_sanitizer.h"

namespace mensura::testsupport {

using helpfile::kMaxBorder;
using helpfile::kMaxCellPadding;
using helpfile::kMaxCellSpacing;
using helpfile::kMaxColumns;
using helpfile::kMaxDepth;
using helpfile::kMaxDistinctImages;
using helpfile::kMaxElements;
using helpfile::kMaxHtmlBytes;
using helpfile::kMaxImageReferences;
using helpfile::kMaxIndentDepth;
using helpfile::kMaxLength;
using helpfile::kMaxPercent;
using helpfile::kMaxRun;
using helpfile::kMaxSpan;
using helpfile::kMaxTableCells;
using helpfile::kMaxTableDepth;
using helpfile::kMaxTextBytes;
using helpfile::kMaxTitleBytes;
using helpfile::SanitizedPage;

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

inline std::string PercentDecodedPath(std::string_view s) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
            i += 2;
        } else {
            out += s[i];
        }
    }
    return out;
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

    // element → {flags: v void, t table, i indent, p pre, s table structure;
    //            the written parents it needs; the attributes it may have}
    struct Rule {
        std::string flags, parents;
        std::set<std::string> attributes;
    };
    static const std::map<std::string, Rule> kRules = [] {
        std::map<std::string, Rule> rules;
        const std::set<std::string> align = {"class", "id", "align"};
        for (const char* e : {"p", "h1", "h2", "h3", "h4", "h5", "h6", "div"})
            rules[e] = {"", "", align};
        for (const char* e : {"em", "strong", "b", "i", "u", "sub", "sup", "small", "code", "kbd",
                              "tt", "span", "br"})
            rules[e] = {"", "", {"class", "id"}};
        rules["br"].flags = "v";
        rules["hr"] = {"v", "", {"class", "id"}};
        rules["blockquote"] = {"i", "", {"class", "id"}};
        rules["pre"] = {"p", "", {"class", "id"}};
        for (const char* e : {"ul", "ol", "dl"}) rules[e] = {"i", "", {"class", "id"}};
        rules["li"] = {"", " ul ol ", {"class", "id"}};
        rules["dt"] = rules["dd"] = {"", " dl ", {"class", "id"}};
        rules["table"] = {
            "ts", "", {"class", "id", "align", "width", "border", "cellpadding", "cellspacing"}};
        rules["caption"] = {"", " table ", align};
        for (const char* e : {"thead", "tbody", "tfoot"})
            rules[e] = {"s", " table ", {"class", "id"}};
        rules["tr"] = {"s", " table thead tbody tfoot ", {"class", "id"}};
        rules["td"] = rules["th"] = {
            "", " tr ", {"class", "id", "align", "valign", "colspan", "rowspan", "width"}};
        rules["a"] = {"", "", {"class", "id", "name", "href"}};
        rules["img"] = {"v", "", {"class", "id", "src", "width", "height"}};
        return rules;
    }();

    struct Open {
        std::string name;
        const Rule* rule;
    };
    std::vector<Open> stack;
    int tables = 0, indents = 0, pres = 0;
    std::size_t elements = 0, imageReferences = 0, run = 0;
    std::set<std::string> sources;
    // The grids of the tables open (rows, widest row, this row, in
    // columns), and the cells of all grids so far.
    struct Grid {
        long rows = 0, columns = 0, row = 0;
    };
    std::vector<Grid> grids;
    long tableCells = 0;
    // Elements whose tags break a run of text; inline ones do not.
    static const std::string kBlocks =
        " p h1 h2 h3 h4 h5 h6 div blockquote pre hr br ul ol li dl dt dd table caption thead tbody "
        "tfoot tr td th ";
    const auto inStructure = [&] {
        return !stack.empty() && stack.back().rule->flags.find('s') != std::string::npos;
    };

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
                const std::string name(tag.substr(1));
                if (stack.empty() || stack.back().name != name)
                    Fail("end tag does not match", name);
                const std::string& flags = stack.back().rule->flags;
                if (flags.find('t') != std::string::npos) {
                    --tables;
                    tableCells += grids.back().rows * std::max(grids.back().columns, 1L)
                                  << (grids.size() - 1);
                    if (tableCells > kMaxTableCells) Fail("too many table cells", "");
                    grids.pop_back();
                }
                if (flags.find('i') != std::string::npos) --indents;
                if (flags.find('p') != std::string::npos) --pres;
                stack.pop_back();
                if (kBlocks.find(" " + name + " ") != std::string::npos) run = 0;
                continue;
            }
            const std::size_t nameEnd = std::min(tag.find(' '), tag.size());
            const std::string name(tag.substr(0, nameEnd));
            const auto rule = kRules.find(name);
            if (rule == kRules.end()) Fail("element not allowed", name);
            if (++elements > kMaxElements) Fail("too many elements", "");
            const std::string parent = stack.empty() ? "" : stack.back().name;
            if (rule->second.parents.empty()
                    ? inStructure()
                    : rule->second.parents.find(" " + parent + " ") == std::string::npos)
                Fail("misplaced element", name + " in " + parent);
            // Attributes: name="value", each allowed, numbers clamped.
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
                if (!rule->second.attributes.count(key) || !seen.insert(key).second)
                    Fail("attribute not allowed", name + " " + key);
                const auto number = [&](long lo, long hi, bool percent) {
                    std::string digits = value;
                    if (percent && !digits.empty() && digits.back() == '%') {
                        digits.pop_back();
                        hi = kMaxPercent;
                    }
                    if (digits.empty() || digits.size() > 5 ||
                        digits.find_first_not_of("0123456789") != std::string::npos)
                        Fail("not a number", key + "=" + value);
                    const long v = std::stol(digits);
                    if (v < lo || v > hi) Fail("number not clamped", key + "=" + value);
                };
                if (key == "class") {
                    if (value.empty() ||
                        value.find_first_not_of(
                            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_- ") !=
                            std::string::npos)
                        Fail("class", value);
                } else if (key == "id" || key == "name") {
                    if (value.empty() || value.size() > 128 ||
                        value.find_first_not_of(
                            "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.:") !=
                            std::string::npos)
                        Fail("id", value);
                } else if (key == "href") {
                    std::string lower = value.substr(0, 8);
                    for (char& c : lower)
                        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                    const bool web = lower.rfind("http://", 0) == 0 ||
                                     lower.rfind("https://", 0) == 0 ||
                                     lower.rfind("mailto:", 0) == 0;
                    if (web) {
                        if (value.find_first_of(" <>\"") != std::string::npos)
                            Fail("web link", value);
                    } else if (value.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQ"
                                                       "RSTUVWXYZ0123456789-._~/%#:") !=
                                   std::string::npos ||
                               !IsCleanPath(PercentDecodedPath(value))) {
                        Fail("link", value);
                    }
                } else if (key == "src") {
                    const std::string path = PercentDecodedPath(value);
                    if (!IsCleanPath(path) || path.find('#') != std::string::npos)
                        Fail("image", value);
                    sources.insert(path);
                    if (std::find(page.images.begin(), page.images.end(), path) ==
                        page.images.end())
                        Fail("image not listed", path);
                } else if (key == "align") {
                    if (value != "left" && value != "right" && value != "center" &&
                        value != "justify")
                        Fail("align", value);
                } else if (key == "valign") {
                    if (value != "top" && value != "middle" && value != "bottom")
                        Fail("valign", value);
                } else if (key == "colspan" || key == "rowspan") {
                    number(1, kMaxSpan, false);
                } else if (key == "width" || key == "height") {
                    number(1, kMaxLength, name != "img");
                } else if (key == "border") {
                    number(0, kMaxBorder, false);
                } else if (key == "cellpadding") {
                    number(0, kMaxCellPadding, false);
                } else if (key == "cellspacing") {
                    number(0, kMaxCellSpacing, false);
                }
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
            const std::string& flags = rule->second.flags;
            if (kBlocks.find(" " + name + " ") != std::string::npos) run = 0;
            if (flags.find('v') != std::string::npos) continue;
            stack.push_back({name, &rule->second});
            if (stack.size() > static_cast<std::size_t>(kMaxDepth)) Fail("too deep", name);
            if (flags.find('t') != std::string::npos && ++tables > kMaxTableDepth)
                Fail("tables too deep", "");
            if (flags.find('i') != std::string::npos && ++indents > kMaxIndentDepth)
                Fail("indents too deep", "");
            if (flags.find('p') != std::string::npos) ++pres;
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
    if (!stack.empty()) Fail("elements left open", stack.back().name);
    if (sources.size() != page.images.size()) Fail("image list differs from the html", "");
}

}  // namespace mensura::testsupport
