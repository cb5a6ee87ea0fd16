#include "command_channel.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <utility>

namespace mensura {

CommandChannel::CommandChannel(channel::LineReader reader, QObject* parent)
    : QObject(parent), m_reader(std::move(reader)) {
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CommandChannel::ReadInput);
    // Lines read before the channel stood are handed on once the event
    // loop runs, as if they had just come.
    QTimer::singleShot(0, this, [this] {
        while (std::optional<QByteArray> line = m_reader.Next()) emit Command(*line);
    });
}

void CommandChannel::ReadInput() {
    char buffer[4096];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (got <= 0) {
        m_notifier->setEnabled(false);
        emit Closed();
        return;
    }
    m_reader.Append(QByteArrayView(buffer, got));
    while (std::optional<QByteArray> line = m_reader.Next()) emit Command(*line);
}

void CommandChannel::SendLine(const QByteArray& line) {
    channel::WriteAll(STDOUT_FILENO, line);  // false: nobody listens any more
}

}  // namespace mensura
