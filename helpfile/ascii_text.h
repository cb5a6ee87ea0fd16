#pragma once
// The ASCII rules of a help file's text, in one place for every part of the
// reader (and for tools that write help pages): names compare without
// regard to the case of their ASCII letters, as the format's own readers
// do; blanks are HTML's five; control characters, hex digits of escapes
// and character references; and the escaping of HTML text and values.
// Locale-free on purpose: a Qt program sets the C locale from the user's.
#include <cstddef>
#include <string>
#include <string_view>

namespace mensura::helpfile {

inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

inline bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

inline bool IsAsciiAlnum(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// HTML's blanks: space, tab, line feed, carriage return, form feed.
inline bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// A character below space, or DEL.
inline bool IsControl(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

// A text without the blanks at its ends.
inline std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// A name with its ASCII letters in lower case.
inline std::string Folded(std::string_view name) {
    std::string out(name);
    for (char& c : out) c = LowerAscii(c);
    return out;
}

inline bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

inline bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && EqualsNoCase(s.substr(0, prefix.size()), prefix);
}

inline bool EndsWithNoCase(std::string_view s, std::string_view suffix) {
    return s.size() >= suffix.size() && EqualsNoCase(s.substr(s.size() - suffix.size()), suffix);
}

// The value of a hex digit, or -1.
inline int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Appends s to HTML with those of &, <, > and " that `special` names written
// as character references, so that text or a value between double quotes
// reads back as s. Markup that is parsed again keeps its own references by
// leaving & out of `special`.
inline constexpr std::string_view kHtmlSpecial = "&<>\"";
inline void AppendEscaped(std::string& out, std::string_view s,
                          std::string_view special = kHtmlSpecial) {
    for (char c : s) {
        if (special.find(c) == std::string_view::npos) {
            out += c;
            continue;
        }
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            default:
                out += c;
        }
    }
}

}  // namespace mensura::helpfile
