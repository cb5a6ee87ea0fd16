// Whole lines of the protocol through file descriptors, as the viewer and
// its print steps read their standard input and write their answers. Kept
// apart from the encoding, which the converter uses on lines that reach it
// through QProcess, so that its program holds no raw descriptor reads.
#include <unistd.h>

#include <cerrno>

#include "help_protocol.h"

namespace mensura::channel {

std::optional<QByteArray> ReadLine(int fd, LineReader& reader) {
    for (;;) {
        if (std::optional<QByteArray> line = reader.Next()) return line;
        char buffer[4096];
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return std::nullopt;
        reader.Append(QByteArrayView(buffer, got));
    }
}

bool WriteAll(int fd, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote =
            write(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        done += wrote;
    }
    return true;
}

}  // namespace mensura::channel
