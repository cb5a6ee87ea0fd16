// Links and paths of a help file. Everything here comes out of the file,
// so every loop runs over the given bytes once and every result is bounded.
#include "chm_path.h"

#include <algorithm>
#include <vector>

#include "ascii_text.h"

namespace mensura::helpfile {

namespace {

// "%41" → "A"; a "%" without two hex digits stays as it is.
std::string PercentDecoded(std::string_view s) {
    std::string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '%' && i + 2 < s.size()) {
            const int hi = HexValue(s[i + 1]);
            const int lo = HexValue(s[i + 2]);
            if (hi >= 0 && lo >= 0) {
                out.push_back(static_cast<char>(hi * 16 + lo));
                i += 2;
                continue;
            }
        }
        out.push_back(s[i]);
    }
    return out;
}

}  // namespace

std::optional<std::string> ResolvePath(std::string_view link, std::string_view base) {
    if (link.size() > kMaxPathLength || base.size() > kMaxPathLength) return std::nullopt;
    while (!link.empty() && link.front() == ' ') link.remove_prefix(1);
    while (!link.empty() && link.back() == ' ') link.remove_suffix(1);
    if (link.empty()) return std::nullopt;

    std::string_view fragment;
    const std::size_t hash = link.find('#');
    if (hash != std::string_view::npos) {
        fragment = link.substr(hash);
        link = link.substr(0, hash);
    }
    const std::size_t query = link.find('?');
    if (query != std::string_view::npos) link = link.substr(0, query);

    std::string path = PercentDecoded(link);
    for (char& c : path)
        if (c == '\\') c = '/';
    if (std::any_of(path.begin(), path.end(), IsControl) ||
        std::any_of(fragment.begin(), fragment.end(), IsControl))
        return std::nullopt;
    // A colon means a scheme or a drive ("http:", "mk:@MSITStore:", "C:"),
    // and "//host" a network path: neither lies inside this file.
    if (path.find(':') != std::string::npos || path.rfind("//", 0) == 0) return std::nullopt;

    std::string joined;
    if (path.empty()) {
        joined = std::string(base.substr(0, base.find('#')));  // "#part" stays on its page
    } else if (path.front() == '/') {
        joined = path;
    } else {
        const std::string_view dir = base.substr(0, base.find('#'));
        const std::size_t slash = dir.rfind('/');
        joined = std::string(slash == std::string_view::npos ? "" : dir.substr(0, slash + 1));
        joined += path;
    }
    for (char& c : joined)
        if (c == '\\') c = '/';

    std::vector<std::string_view> segments;
    const std::string_view all(joined);
    std::size_t start = 0;
    while (start <= all.size()) {
        std::size_t end = all.find('/', start);
        if (end == std::string_view::npos) end = all.size();
        const std::string_view segment = all.substr(start, end - start);
        if (segment == "..") {
            if (segments.empty()) return std::nullopt;
            segments.pop_back();
        } else if (!segment.empty() && segment != ".") {
            segments.push_back(segment);
        }
        start = end + 1;
    }
    std::string out;
    for (std::string_view segment : segments) {
        out += '/';
        out += segment;
    }
    if (out.empty() || (!joined.empty() && joined.back() == '/')) out += '/';
    out += fragment;
    if (out.size() > kMaxPathLength) return std::nullopt;
    return out;
}

}  // namespace mensura::helpfile
