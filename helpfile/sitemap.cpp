// The sitemap parser. Everything here comes out of a help file, so every
// loop runs over the given bytes once and every result is bounded.
#include "sitemap.h"

#include <algorithm>
#include <cstdint>

#include "ascii_text.h"
#include "chm_path.h"
#include "utf8_text.h"

namespace mensura::helpfile {

namespace {

// Decodes the character references of an attribute value: the five XML
// names, &nbsp; and numeric ones. Anything else is kept literally. A
// reference to a control character, a surrogate or no character at all
// becomes a blank.
std::string EntitiesDecoded(std::string_view s) {
    struct Named {
        std::string_view name;
        std::uint32_t cp;
    };
    static constexpr Named kNamed[] = {{"amp", '&'},  {"lt", '<'},    {"gt", '>'},
                                       {"quot", '"'}, {"apos", '\''}, {"nbsp", 0xA0}};
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out.push_back(s[i]);
            continue;
        }
        const std::size_t semi = s.find(';', i + 1);
        if (semi == std::string_view::npos || semi - i > 10) {
            out.push_back('&');
            continue;
        }
        const std::string_view ref = s.substr(i + 1, semi - i - 1);
        bool known = false;
        std::uint32_t cp = 0;
        if (ref.size() >= 2 && ref[0] == '#') {
            const bool hex = LowerAscii(ref[1]) == 'x';
            const std::string_view digits = ref.substr(hex ? 2 : 1);
            known = !digits.empty();
            for (char c : digits) {
                const int d = hex ? HexValue(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
                if (d < 0) {
                    known = false;
                    break;
                }
                cp = std::min<std::uint32_t>(cp * (hex ? 16 : 10) + static_cast<std::uint32_t>(d),
                                             0x110000);
            }
        } else {
            for (const Named& n : kNamed) {
                if (ref == n.name) {
                    known = true;
                    cp = n.cp;
                }
            }
        }
        if (!known) {
            out.push_back('&');
            continue;
        }
        if (cp < 0x20 || cp == 0x7F || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) cp = ' ';
        AppendUtf8(out, cp);
        i = semi;
    }
    return out;
}

// Runs of HTML's blanks become one space, other control characters go,
// and the ends are trimmed.
std::string Tidied(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    bool blank = false;
    for (char c : s) {
        if (IsBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (IsControl(c)) continue;
        if (blank) out.push_back(' ');
        blank = false;
        out.push_back(c);
    }
    return out;
}

// One tag of the sitemap: its name in lower case, whether it closes, and
// its attributes (names in lower case, values raw).
struct Tag {
    std::string name;
    bool closing = false;
    std::vector<std::pair<std::string, std::string_view>> attributes;

    std::string_view Attribute(std::string_view key) const {
        for (const auto& [attribute, value] : attributes)
            if (attribute == key) return value;
        return {};
    }
    bool Has(std::string_view key) const {
        return std::any_of(attributes.begin(), attributes.end(),
                           [&](const auto& a) { return a.first == key; });
    }
};

bool IsNameChar(char c) {
    return IsAsciiAlnum(c) || c == '-' || c == '_' || c == ':';
}

// Reads the tag that starts at html[pos] == '<'. Returns the position after
// its '>', or npos when the tag never closes. Every step moves forward.
std::size_t ReadTag(std::string_view html, std::size_t pos, Tag& tag) {
    constexpr std::size_t kMaxAttributes = 64;
    std::size_t i = pos + 1;
    if (i < html.size() && html[i] == '/') {
        tag.closing = true;
        ++i;
    }
    while (i < html.size() && IsNameChar(html[i]) && tag.name.size() < 32)
        tag.name.push_back(LowerAscii(html[i++]));
    while (i < html.size()) {
        const char c = html[i];
        if (c == '>') return i + 1;
        if (IsBlank(c) || c == '/' || !IsNameChar(c)) {
            if (c == '"' || c == '\'') {  // a stray quote: skip its string
                const std::size_t close = html.find(c, i + 1);
                if (close == std::string_view::npos) return std::string_view::npos;
                i = close + 1;
            } else {
                ++i;
            }
            continue;
        }
        std::string key;
        while (i < html.size() && IsNameChar(html[i])) {
            if (key.size() < 32) key.push_back(LowerAscii(html[i]));
            ++i;
        }
        while (i < html.size() && IsBlank(html[i])) ++i;
        std::string_view value;
        if (i < html.size() && html[i] == '=') {
            ++i;
            while (i < html.size() && IsBlank(html[i])) ++i;
            if (i < html.size() && (html[i] == '"' || html[i] == '\'')) {
                const std::size_t close = html.find(html[i], i + 1);
                if (close == std::string_view::npos) return std::string_view::npos;
                value = html.substr(i + 1, close - i - 1);
                i = close + 1;
            } else {
                const std::size_t from = i;
                while (i < html.size() && !IsBlank(html[i]) && html[i] != '>') ++i;
                value = html.substr(from, i - from);
            }
        }
        if (tag.attributes.size() < kMaxAttributes) tag.attributes.emplace_back(key, value);
    }
    return std::string_view::npos;
}

}  // namespace

namespace {

// One <OBJECT type="text/sitemap"> as it stands: its "Name" and "Local"
// params in order (Local true for a "Local"), raw, and its list depth.
struct SitemapObject {
    std::vector<std::pair<bool, std::string>> params;
    int depth = 0;
};

// Walks a sitemap and hands each object to `take`, which returns false to
// stop. Params beyond kMaxObjectParams are dropped.
template <class Take>
void WalkSitemap(std::string_view html, Take take) {
    constexpr std::size_t kMaxObjectParams = 2 * kMaxIndexTopics + 1;
    int lists = 0;          // open <UL>s
    bool inObject = false;  // inside <OBJECT type="text/sitemap">
    SitemapObject object;
    bool more = true;

    const auto flush = [&] {
        if (!inObject) return;
        inObject = false;
        if (object.params.empty()) return;
        object.depth = std::clamp(lists - 1, 0, kMaxContentsDepth);
        more = take(object);
    };
    // A value longer than a name may show is cut before it is decoded, so
    // a huge attribute costs one pass and no more memory than the limit.
    const auto decoded = [](std::string_view raw, std::size_t limit) {
        return EntitiesDecoded(raw.substr(0, limit));
    };

    std::size_t pos = 0;
    while (pos < html.size() && more) {
        pos = html.find('<', pos);
        if (pos == std::string_view::npos) break;
        if (html.substr(pos, 4) == "<!--") {
            const std::size_t end = html.find("-->", pos + 4);
            if (end == std::string_view::npos) break;
            pos = end + 3;
            continue;
        }
        const char next = pos + 1 < html.size() ? html[pos + 1] : '\0';
        if (!(IsNameChar(next) || next == '/')) {
            ++pos;  // a "<" in text
            continue;
        }
        Tag tag;
        const std::size_t after = ReadTag(html, pos, tag);
        if (after == std::string_view::npos) break;  // a tag cut off at the end
        pos = after;

        if (tag.name == "ul") {
            flush();
            if (tag.closing) {
                if (lists > 0) --lists;
            } else if (lists < 1000000) {
                ++lists;
            }
        } else if (tag.name == "li") {
            flush();
        } else if (tag.name == "object") {
            flush();
            if (!tag.closing && EqualsNoCase(Tidied(tag.Attribute("type")), "text/sitemap")) {
                inObject = true;
                object.params.clear();
            }
        } else if (tag.name == "param" && inObject && !tag.closing) {
            const std::string key = Tidied(tag.Attribute("name"));
            if (!tag.Has("value") || object.params.size() >= kMaxObjectParams) continue;
            if (EqualsNoCase(key, "Name"))
                object.params.emplace_back(false,
                                           decoded(tag.Attribute("value"), 4 * kMaxNameLength));
            else if (EqualsNoCase(key, "Local"))
                object.params.emplace_back(true,
                                           decoded(tag.Attribute("value"), 2 * kMaxPathLength));
        }
    }
    if (more) flush();
}

// A name as shown: blanks collapsed, control characters gone, bounded.
std::string ShownName(std::string_view raw) {
    std::string name = Tidied(raw);
    CutUtf8(name, kMaxNameLength);
    return name;
}

}  // namespace

std::vector<ContentsEntry> ParseSitemap(std::string_view html, std::string_view base) {
    std::vector<ContentsEntry> entries;
    WalkSitemap(html, [&](const SitemapObject& object) {
        // The first Name and the first Local.
        const std::string* name = nullptr;
        const std::string* local = nullptr;
        for (const auto& [isLocal, value] : object.params) {
            if (isLocal && !local) local = &value;
            if (!isLocal && !name) name = &value;
        }
        ContentsEntry entry;
        if (local) entry.local = ResolvePath(*local, base).value_or("");
        entry.name = ShownName(name ? *name : std::string());
        if (entry.name.empty() && local) entry.name = ShownName(*local);
        entry.depth = object.depth;
        entries.push_back(std::move(entry));
        return entries.size() < kMaxContentsEntries;
    });
    return entries;
}

std::vector<IndexEntry> ParseIndex(std::string_view html, std::string_view base) {
    std::vector<IndexEntry> entries;
    WalkSitemap(html, [&](const SitemapObject& object) {
        // The first Name is the keyword; each Local after it is a page, under
        // the Name just before it, or under the keyword itself.
        IndexEntry entry;
        entry.depth = object.depth;
        bool haveKeyword = false;
        std::string title;
        for (const auto& [isLocal, value] : object.params) {
            if (!isLocal && !haveKeyword) {
                entry.keyword = ShownName(value);
                haveKeyword = true;
            } else if (!isLocal) {
                title = ShownName(value);
            } else if (!haveKeyword) {
                continue;  // a page before the keyword belongs to no keyword
            } else if (const auto page = ResolvePath(value, base)) {
                if (entry.topics.size() < kMaxIndexTopics)
                    entry.topics.push_back({title.empty() ? entry.keyword : title, *page});
                title.clear();
            }
        }
        if (entry.keyword.empty()) return true;  // nothing to list it by
        entries.push_back(std::move(entry));
        return entries.size() < kMaxContentsEntries;
    });
    return entries;
}

}  // namespace mensura::helpfile
