#pragma once
// Links and paths found in a help file, made into absolute paths inside it.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mensura::helpfile {

// Longest path or link Mensura accepts from a help file, in bytes.
inline constexpr std::size_t kMaxPathLength = 512;

// A link or path found in a help file, resolved against the object it was
// found in (an absolute path such as "/sub/page.html"; its folder is the
// base): "b.html" in "/sub/a.html" gives "/sub/b.html", "../x.html" gives
// "/x.html", "#top" gives "/sub/a.html#top". Backslashes count as "/", "."
// and empty segments are dropped. nullopt for anything that does not stay
// inside the file: a scheme ("http:", "mk:@MSITStore:", "javascript:"), a
// ".." above the root, control characters, an empty link or one longer than
// kMaxPathLength. A fragment ("#part") is kept, a query ("?x") dropped.
std::optional<std::string> ResolvePath(std::string_view link, std::string_view base = "/");

}  // namespace mensura::helpfile
