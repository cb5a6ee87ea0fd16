#include "command_channel.h"

#include <unistd.h>

#include <utility>

namespace mensura {

CommandChannel::CommandChannel(channel::LineReader reader, QObject* parent)
    : QObject(parent), m_reader(&CommandChannel::ReadInput, this, std::move(reader)) {}

// The reader waits on standard input for the rest of the process's life; the
// process ends without unwinding it (main.cpp).
CommandChannel::~CommandChannel() {
    m_reader.detach();
}

void CommandChannel::ReadInput(channel::LineReader reader) {
    while (const std::optional<QByteArray> line = channel::ReadLine(STDIN_FILENO, reader)) {
        if (channel::Decode<channel::Ping>(*line)) {
            Send(channel::Pong{});
            continue;
        }
        QMetaObject::invokeMethod(this, [this, command = *line] { emit Command(command); });
    }
    QMetaObject::invokeMethod(this, [this] { emit Closed(); });
}

void CommandChannel::SendLine(const QByteArray& line) {
    const std::lock_guard<std::mutex> lock(m_sending);
    channel::WriteAll(STDOUT_FILENO, line);  // false: nobody listens any more
}

}  // namespace mensura
