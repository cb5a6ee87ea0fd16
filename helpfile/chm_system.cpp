// The records of a help file's /#SYSTEM object, read from untrusted bytes:
// every record is checked against what is left before it is taken.
#include "chm_system.h"

#include <algorithm>

namespace mensura::helpfile {

std::optional<SystemData> ParseSystem(std::string_view bytes) {
    if (bytes.size() < 4) return std::nullopt;
    SystemData data;
    std::size_t pos = 4;  // after the version
    // Each record takes at least four bytes, so this ends within size/4 steps.
    while (bytes.size() - pos >= 4) {
        const auto byte = [&](std::size_t i) {
            return static_cast<std::size_t>(static_cast<unsigned char>(bytes[pos + i]));
        };
        const std::size_t code = byte(0) | byte(1) << 8;
        const std::size_t length = byte(2) | byte(3) << 8;
        pos += 4;
        if (length > bytes.size() - pos) break;
        std::string_view text = bytes.substr(pos, length);
        text = text.substr(0, std::min(text.find('\0'), kMaxPathLength));
        switch (code) {
            case 0:
                data.contentsFile = text;
                break;
            case 1:
                data.indexFile = text;
                break;
            case 2:
                data.defaultTopic = text;
                break;
            case 3:
                data.title = text;
                break;
            default:
                break;
        }
        pos += length;
    }
    return data;
}

}  // namespace mensura::helpfile
