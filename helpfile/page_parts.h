#pragma once
// The steps of SanitizePage before the parser: bytes to clean UTF-8, and
// UTF-8 to canonical markup. Internal to the helpfile library; declared
// here so that they can be tested on their own.
#include <cstdint>
#include <string>
#include <string_view>

namespace mensura::helpfile::page {

// The page's bytes as UTF-8, by its byte-order mark, else the charset its
// first 1024 bytes declare in a <meta>, else UTF-8 when the bytes are valid
// UTF-8 and windows-1252 when not (as browsers guess for old pages).
// ISO-8859-1 and ASCII are read as windows-1252, as browsers do; a few
// other common legacy charsets go through iconv; an unknown one counts as
// undeclared. The result is always valid UTF-8 without NUL, other C0 or C1
// controls (tab, line feed and carriage return stay) or noncharacters.
std::string DecodePage(std::string_view bytes);

// Appends valid UTF-8 from possibly invalid UTF-8: each invalid byte becomes
// U+FFFD, NUL too; the controls and noncharacters above are dropped.
void AppendCleanUtf8(std::string& out, std::string_view bytes);

// Rewrites clean UTF-8 HTML into markup that libxml2's parser cannot read
// two ways and cannot be made slow by: comments, doctypes and processing
// instructions removed; the content of script, style and the other
// raw-text elements removed (a title's kept as text); every tag written
// anew as <name a="v"> with a lower-case name, only the attributes that
// the sanitizer may keep (the first of each name, values escaped and cut
// to kMaxAttributeValue bytes), or </name>; end tags of elements never
// opened dropped; a "<" that opens no tag escaped. Text is copied as it is,
// character references included, which the parser decodes.
inline constexpr std::size_t kMaxAttributeValue = 2048;
inline constexpr std::size_t kMaxMarkupBytes = 8 * 1024 * 1024;
std::string CanonicalMarkup(std::string_view html, bool* truncated = nullptr);

}  // namespace mensura::helpfile::page
