#pragma once
// What the help-file reader may answer, checked alike by its tests and its
// fuzz targets.
#include <string>
#include <vector>

#include "check_failure.h"
#include "chm_file.h"
#include "chm_path.h"

namespace mensura::testsupport {

using helpfile::ContentsEntry;
using helpfile::kMaxContentsDepth;
using helpfile::kMaxContentsEntries;
using helpfile::kMaxNameLength;
using helpfile::kMaxPathLength;

// An absolute path inside the file: starts with "/", no empty, "." or ".."
// segment before its fragment, no scheme or drive, no control characters,
// at most kMaxPathLength bytes.
inline bool IsCleanPath(const std::string& s) {
    if (s.empty() || s[0] != '/' || s.size() > kMaxPathLength) return false;
    for (char c : s)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return false;
    const std::string path = s.substr(0, s.find('#'));
    if (path.find(':') != std::string::npos || path.find('\\') != std::string::npos) return false;
    if (path.find("//") != std::string::npos) return false;
    const std::string slashed = path + "/";
    return slashed.find("/./") == std::string::npos && slashed.find("/../") == std::string::npos;
}

// A table of contents as the reader may give it: bounded in lines, depth
// and name length, every name free of control characters, every page a
// clean path.
inline void CheckContents(const std::vector<ContentsEntry>& entries) {
    if (entries.size() > kMaxContentsEntries) Fail("too many contents lines", "");
    for (const ContentsEntry& entry : entries) {
        if (!entry.local.empty() && !IsCleanPath(entry.local)) Fail("contents local", entry.local);
        if (entry.depth < 0 || entry.depth > kMaxContentsDepth) Fail("depth", entry.name);
        if (entry.name.size() > kMaxNameLength) Fail("name too long", entry.name);
        for (char c : entry.name)
            if (static_cast<unsigned char>(c) < 0x20) Fail("control character in name", entry.name);
    }
}

// A keyword index as the reader may give it: bounded like the contents,
// and every page of every keyword a clean path.
inline void CheckIndex(const std::vector<helpfile::IndexEntry>& entries) {
    if (entries.size() > kMaxContentsEntries) Fail("too many keywords", "");
    for (const helpfile::IndexEntry& entry : entries) {
        if (entry.keyword.empty() || entry.keyword.size() > kMaxNameLength)
            Fail("keyword", entry.keyword);
        if (entry.depth < 0 || entry.depth > kMaxContentsDepth) Fail("depth", entry.keyword);
        if (entry.topics.size() > helpfile::kMaxIndexTopics) Fail("too many pages", entry.keyword);
        for (const helpfile::IndexEntry::Topic& topic : entry.topics) {
            if (!IsCleanPath(topic.local)) Fail("index local", topic.local);
            if (topic.title.empty() || topic.title.size() > kMaxNameLength)
                Fail("index title", topic.title);
            for (char c : topic.title + entry.keyword)
                if (static_cast<unsigned char>(c) < 0x20) Fail("control character", entry.keyword);
        }
    }
}

}  // namespace mensura::testsupport
