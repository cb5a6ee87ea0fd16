#pragma once
// ASCII text of a help file: names inside a help file compare without
// regard to the case of their ASCII letters, as the format's own readers
// do, and everything that compares names or keywords of a help file does it
// through here; and hex digits, of escapes and character references.
#include <string>
#include <string_view>

namespace mensura::helpfile {

inline char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
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

}  // namespace mensura::helpfile
