// A page's bytes to clean UTF-8: its byte-order mark, its declared charset
// or a browser's guess, then every character checked.
#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>

#include "ascii_text.h"
#include "page_parts.h"
#include "utf8_text.h"

namespace mensura::helpfile::page {

namespace {

// What survives into the page: no NUL (it becomes U+FFFD), no other C0 or
// C1 control but tab, line feed and carriage return, no noncharacter.
bool Dropped(std::uint32_t cp) {
    if (cp < 0x20) return !(cp == '\t' || cp == '\n' || cp == '\r');
    if (cp >= 0x7F && cp < 0xA0) return true;
    if (cp >= 0xFDD0 && cp <= 0xFDEF) return true;
    return (cp & 0xFFFE) == 0xFFFE;
}

void AppendChecked(std::string& out, std::uint32_t cp) {
    if (cp == 0) cp = 0xFFFD;
    if (!Dropped(cp)) AppendUtf8(out, cp);
}

// windows-1252's characters for the bytes 0x80 to 0x9F; the five it leaves
// undefined map to the C1 controls and are dropped.
constexpr std::uint16_t kWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::string FromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        AppendChecked(out, b >= 0x80 && b < 0xA0 ? kWindows1252[b - 0x80] : b);
    }
    return out;
}

std::string FromUtf16(std::string_view bytes, bool bigEndian) {
    std::string out;
    out.reserve(bytes.size());
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const std::uint32_t a = static_cast<unsigned char>(bytes[i]);
        const std::uint32_t b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        std::uint32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendChecked(out, cp >= 0xD800 && cp <= 0xDFFF ? 0xFFFD : cp);
    }
    if (i < bytes.size()) AppendUtf8(out, 0xFFFD);
    return out;
}

// The legacy charsets handed to iconv: those Windows help files were
// written in. Stateful encodings (ISO-2022 and the like) are left out on
// purpose: they are rare in help and hard on converters.
constexpr std::string_view kIconvCharsets[] = {
    "windows-1250", "windows-1251", "windows-1253", "windows-1254", "windows-1255", "windows-1256",
    "windows-1257", "windows-1258", "windows-874",  "iso-8859-2",   "iso-8859-3",   "iso-8859-4",
    "iso-8859-5",   "iso-8859-6",   "iso-8859-7",   "iso-8859-8",   "iso-8859-9",   "iso-8859-10",
    "iso-8859-13",  "iso-8859-14",  "iso-8859-15",  "iso-8859-16",  "koi8-r",       "koi8-u",
    "shift_jis",    "euc-jp",       "gb2312",       "gbk",          "gb18030",      "big5",
    "euc-kr",       "cp932",        "cp936",        "cp949",        "cp950"};

// Converts with iconv; a byte it cannot take becomes U+FFFD and the
// conversion goes on after it. False when iconv does not know the charset.
bool FromIconv(std::string_view bytes, const std::string& charset, std::string& out) {
    iconv_t cd = iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string utf8;
    char buffer[4096];
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &to, &toLeft);
        utf8.append(buffer, static_cast<std::size_t>(to - buffer));
        if (done == static_cast<std::size_t>(-1) && errno != E2BIG) {
            AppendUtf8(utf8, 0xFFFD);
            if (errno == EINVAL) break;  // cut off at the end
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    out.clear();
    AppendCleanUtf8(out, utf8);
    return true;
}

// The charset a <meta> declares within the first 1024 bytes, lower-cased;
// empty when none does: <meta charset="x"> and <meta http-equiv=...
// content="text/html; charset=x"> alike.
std::string DeclaredCharset(std::string_view bytes) {
    const std::string head = Folded(bytes.substr(0, 1024));
    std::size_t pos = 0;
    while ((pos = head.find("<meta", pos)) != std::string::npos) {
        pos += 5;
        const std::size_t end = std::min(head.find('>', pos), head.size());
        for (std::size_t at = head.find("charset", pos); at < end;
             at = head.find("charset", at + 1)) {
            std::size_t i = at + 7;
            while (i < end && IsBlank(head[i])) ++i;
            if (i >= end || head[i] != '=') continue;
            ++i;
            while (i < end && (IsBlank(head[i]) || head[i] == '"' || head[i] == '\'')) ++i;
            std::size_t stop = i;
            while (stop < end && (IsAsciiAlnum(head[stop]) || head[stop] == '-' ||
                                  head[stop] == '_' || head[stop] == '.' || head[stop] == ':'))
                ++stop;
            if (stop > i) return head.substr(i, stop - i);
        }
    }
    return {};
}

// Reads one UTF-8 character at bytes[i]: its length, or 0 when the bytes
// there are no valid UTF-8 (overlong, a surrogate, beyond U+10FFFF, cut).
std::size_t ReadUtf8(std::string_view bytes, std::size_t i, std::uint32_t& cp) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
        cp = b;
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t min = 0;
    if (b >= 0xC2 && b <= 0xDF) {
        length = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        length = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        length = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) return 0;
    for (std::size_t k = 1; k < length; ++k) {
        const auto c = static_cast<unsigned char>(bytes[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = cp << 6 | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool IsValidUtf8(std::string_view bytes) {
    std::uint32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = ReadUtf8(bytes, i, cp);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

}  // namespace

void AppendCleanUtf8(std::string& out, std::string_view bytes) {
    std::uint32_t cp = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = ReadUtf8(bytes, i, cp);
        AppendChecked(out, length == 0 ? 0xFFFD : cp);
        i += length == 0 ? 1 : length;
    }
}

std::string DecodePage(std::string_view bytes) {
    std::string out;
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        AppendCleanUtf8(out, bytes.substr(3));
        return out;
    }
    if (bytes.substr(0, 2) == "\xFF\xFE") return FromUtf16(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF") return FromUtf16(bytes.substr(2), true);

    std::string charset = DeclaredCharset(bytes);
    // Labels browsers read as one of the two charsets decoded here. A page
    // that says UTF-16 without a byte-order mark is read as UTF-8.
    if (charset == "utf-8" || charset == "utf8" || charset.rfind("utf-16", 0) == 0 ||
        charset == "unicode-1-1-utf-8") {
        AppendCleanUtf8(out, bytes);
        return out;
    }
    if (charset == "windows-1252" || charset == "cp1252" || charset == "x-cp1252" ||
        charset == "iso-8859-1" || charset == "iso8859-1" || charset == "latin1" ||
        charset == "l1" || charset == "us-ascii" || charset == "ascii" || charset == "iso-ascii" ||
        charset == "ansi_x3.4-1968")
        return FromWindows1252(bytes);
    if (charset == "shift-jis" || charset == "sjis" || charset == "x-sjis") charset = "shift_jis";
    if (charset == "ks_c_5601-1987") charset = "cp949";
    if (std::find(std::begin(kIconvCharsets), std::end(kIconvCharsets), charset) !=
            std::end(kIconvCharsets) &&
        FromIconv(bytes, charset, out))
        return out;

    if (IsValidUtf8(bytes)) {
        AppendCleanUtf8(out, bytes);
        return out;
    }
    return FromWindows1252(bytes);
}

}  // namespace mensura::helpfile::page
