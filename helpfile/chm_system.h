#pragma once
// The /#SYSTEM object of a help file: which of its objects are the table of
// contents, the keyword index and the first page, and its title.
#include <optional>
#include <string>
#include <string_view>

#include "chm_path.h"

namespace mensura::helpfile {

// What the file's /#SYSTEM object says about it; each string is cut at its
// first NUL and at kMaxPathLength bytes, and is otherwise as the file wrote
// it (not yet resolved).
struct SystemData {
    std::string contentsFile;  // record 0: the .hhc sitemap
    std::string indexFile;     // record 1: the .hhk index
    std::string defaultTopic;  // record 2: the page shown first
    std::string title;         // record 3: the title
};

// Reads the records of a /#SYSTEM object: a 4-byte version, then records of
// {16-bit code, 16-bit length, data}, little-endian. A record that runs past
// the end stops the reading and is ignored; nullopt when not even the
// version is there.
std::optional<SystemData> ParseSystem(std::string_view bytes);

}  // namespace mensura::helpfile
