// Canonical markup for the parser. libxml2's HTML parser compares every
// attribute of a tag with all those before it (100,000 attributes in one
// tag take seconds) and looks for an end tag through its whole stack of
// open elements, and its reading of quotes and comments differs from a
// browser's in corners. So the page's tags are read here first, once, the
// way the HTML standard's tokenizer reads them, and written anew in a form
// that has one reading: few attributes, quoted values, nothing to skip.
#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

#include "ascii_text.h"
#include "page_allowlist.h"
#include "page_parts.h"

namespace mensura::helpfile::page {

namespace {

// Elements whose content is no markup and goes: scripts, styles, frames,
// form fields and the like. (A title's content is text, kept.)
constexpr std::string_view kRawTextElements[] = {"script",  "style",    "xmp",     "iframe",
                                                 "noembed", "noframes", "textarea"};

constexpr std::string_view kVoidElements[] = {"area", "base",  "br",     "col",    "embed",
                                              "hr",   "img",   "input",  "keygen", "link",
                                              "meta", "param", "source", "track",  "wbr"};

template <std::size_t N>
bool OneOf(std::string_view s, const std::string_view (&list)[N]) {
    return std::find(std::begin(list), std::end(list), s) != std::end(list);
}

struct Tag {
    std::string name;  // lower case
    bool closing = false;
    bool valid = false;      // a name Mensura can write: [a-z][a-z0-9]*, short
    std::string attributes;  // canonical: ` a="v"` for each kept one
};

class Lexer {
public:
    explicit Lexer(std::string_view html) : m_in(html) {}

    std::string Run(bool* truncated) {
        while (m_pos < m_in.size() && m_out.size() < kMaxMarkupBytes) {
            const std::size_t lt = m_in.find('<', m_pos);
            const std::size_t end = lt == std::string_view::npos ? m_in.size() : lt;
            m_out.append(m_in.substr(m_pos, end - m_pos));
            m_pos = end;
            if (m_pos < m_in.size()) Markup();
        }
        if (truncated) *truncated = m_pos < m_in.size();
        if (m_out.size() > kMaxMarkupBytes) {
            // Cut at a character, and before any tag or reference begun.
            std::size_t cut = kMaxMarkupBytes;
            while (cut > 0 && (static_cast<unsigned char>(m_out[cut]) & 0xC0) == 0x80) --cut;
            const std::size_t open = m_out.find_last_of("<&", cut);
            if (open != std::string::npos && m_out.find_first_of(">;", open) >= cut) cut = open;
            m_out.resize(cut);
            if (truncated) *truncated = true;
        }
        return std::move(m_out);
    }

private:
    // At a "<": a comment, a doctype or processing instruction, a tag, or a
    // plain "<" in text.
    void Markup() {
        const std::string_view rest = m_in.substr(m_pos);
        if (rest.substr(0, 4) == "<!--") {
            // "<!-->" and "<!--->" close at once, as in browsers; an
            // unclosed comment runs to the end.
            std::size_t close = rest.find("-->", 2);
            if (rest.substr(4, 1) == ">") close = 2;
            if (rest.substr(4, 2) == "->") close = 3;
            m_pos = close == std::string_view::npos ? m_in.size() : m_pos + close + 3;
            return;
        }
        const char next = rest.size() > 1 ? rest[1] : '\0';
        if (next == '!' || next == '?' ||
            (next == '/' && rest.size() > 2 && !IsAsciiLetter(rest[2]))) {
            // Doctype, processing instruction, bogus comment, "</>".
            const std::size_t close = rest.find('>');
            m_pos = close == std::string_view::npos ? m_in.size() : m_pos + close + 1;
            return;
        }
        if (!IsAsciiLetter(next) && next != '/') {
            m_out += "&lt;";
            ++m_pos;
            return;
        }
        Tag tag;
        if (!ReadTag(tag)) {
            m_pos = m_in.size();  // a tag cut off by the end of the page goes
            return;
        }
        if (!tag.valid) return;
        if (tag.closing) {
            auto open = m_open.find(tag.name);
            if (open == m_open.end() || open->second == 0) return;  // never opened
            --open->second;
            m_out += "</" + tag.name + ">";
            return;
        }
        if (OneOf(tag.name, kRawTextElements)) {
            SkipRawText(tag.name, false);
            return;
        }
        if (tag.name == "plaintext") {
            // Everything after it is text.
            AppendText(m_in.substr(m_pos));
            m_pos = m_in.size();
            return;
        }
        m_out += "<" + tag.name + tag.attributes + ">";
        if (tag.name == "title") {
            SkipRawText(tag.name, true);
            m_out += "</title>";
            return;
        }
        if (!OneOf(tag.name, kVoidElements)) ++m_open[tag.name];
    }

    // Past the content of a raw-text element up to its end tag (which is
    // read, but not written), copying it as escaped text if keep.
    void SkipRawText(const std::string& name, bool keep) {
        std::size_t at = m_pos;
        while (true) {
            at = m_in.find("</", at);
            if (at == std::string_view::npos) break;
            std::size_t k = 0;
            while (k < name.size() && at + 2 + k < m_in.size() &&
                   LowerAscii(m_in[at + 2 + k]) == name[k])
                ++k;
            const std::size_t after = at + 2 + k;
            if (k == name.size() && (after >= m_in.size() || IsBlank(m_in[after]) ||
                                     m_in[after] == '/' || m_in[after] == '>'))
                break;
            at += 2;
        }
        const std::size_t end = at == std::string_view::npos ? m_in.size() : at;
        if (keep) AppendText(m_in.substr(m_pos, end - m_pos));
        m_pos = end;
        Tag closing;
        if (m_pos < m_in.size() && !ReadTag(closing)) m_pos = m_in.size();
    }

    // Text in which no "<" may open a tag.
    void AppendText(std::string_view text) { AppendEscaped(m_out, text, "<"); }

    // Reads the tag at m_pos ("<name ...>" or "</name ...>") as the HTML
    // tokenizer does; false when the page ends inside it.
    bool ReadTag(Tag& tag) {
        std::size_t i = m_pos + 1;
        if (m_in[i] == '/') {
            tag.closing = true;
            ++i;
        }
        const std::size_t nameStart = i;
        while (i < m_in.size() && !IsBlank(m_in[i]) && m_in[i] != '/' && m_in[i] != '>') ++i;
        tag.name.assign(m_in.substr(nameStart, std::min<std::size_t>(i - nameStart, 17)));
        tag.valid = tag.name.size() <= 16;
        for (char& c : tag.name) {
            c = LowerAscii(c);
            if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))) tag.valid = false;
        }
        // Attributes: name, then optionally "=" and a value, quoted or not.
        while (true) {
            while (i < m_in.size() && (IsBlank(m_in[i]) || m_in[i] == '/')) ++i;
            if (i >= m_in.size()) return false;
            if (m_in[i] == '>') break;
            const std::size_t attrStart = i;
            ++i;  // the first character may be "="
            while (i < m_in.size() && !IsBlank(m_in[i]) && m_in[i] != '/' && m_in[i] != '>' &&
                   m_in[i] != '=')
                ++i;
            const std::string attr =
                Folded(m_in.substr(attrStart, std::min<std::size_t>(i - attrStart, 16)));
            while (i < m_in.size() && IsBlank(m_in[i])) ++i;
            std::string_view value;
            bool hasValue = false;
            if (i < m_in.size() && m_in[i] == '=') {
                ++i;
                while (i < m_in.size() && IsBlank(m_in[i])) ++i;
                if (i >= m_in.size()) return false;
                hasValue = true;
                if (m_in[i] == '"' || m_in[i] == '\'') {
                    const std::size_t close = m_in.find(m_in[i], i + 1);
                    if (close == std::string_view::npos) return false;
                    value = m_in.substr(i + 1, close - i - 1);
                    i = close + 1;
                } else {
                    const std::size_t start = i;
                    while (i < m_in.size() && !IsBlank(m_in[i]) && m_in[i] != '>') ++i;
                    value = m_in.substr(start, i - start);
                }
            }
            // Only the attributes the allowlist keeps or reads reach the
            // parser, so no tag carries more than those few.
            if (tag.closing || !ReadsAttribute(attr)) continue;
            const std::string marker = " " + attr + "=";
            if (tag.attributes.find(marker) != std::string::npos) continue;  // the first counts
            tag.attributes += marker + "\"";
            if (hasValue) AppendValue(tag.attributes, value);
            tag.attributes += "\"";
        }
        m_pos = i + 1;
        return true;
    }

    // An attribute value between double quotes: quotes and angle brackets
    // escaped, cut at kMaxAttributeValue bytes on a character.
    static void AppendValue(std::string& out, std::string_view value) {
        if (value.size() > kMaxAttributeValue) {
            std::size_t cut = kMaxAttributeValue;
            while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
            value = value.substr(0, cut);
        }
        AppendEscaped(out, value, "\"<>");
    }

    std::string_view m_in;
    std::size_t m_pos = 0;
    std::string m_out;
    std::unordered_map<std::string, std::size_t> m_open;  // start tags not yet ended
};

}  // namespace

std::string CanonicalMarkup(std::string_view html, bool* truncated) {
    return Lexer(html).Run(truncated);
}

}  // namespace mensura::helpfile::page
