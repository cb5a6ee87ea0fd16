#include "command_channel.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

namespace mensura {

namespace {

// A command is a word; a longer line is no command of ours and is dropped.
constexpr qsizetype kMaxLine = 256;

}  // namespace

CommandChannel::CommandChannel(QObject* parent) : QObject(parent) {
    m_notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &CommandChannel::ReadInput);
}

void CommandChannel::ReadInput() {
    char buffer[512];
    const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
    if (got < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (got <= 0) {
        m_notifier->setEnabled(false);
        emit Closed();
        return;
    }
    m_pending.append(buffer, got);
    qsizetype newline;
    while ((newline = m_pending.indexOf('\n')) >= 0) {
        const QByteArray line = m_pending.left(newline);
        m_pending.remove(0, newline + 1);
        if (line.size() <= kMaxLine) emit Command(QString::fromUtf8(line).trimmed());
    }
    if (m_pending.size() > kMaxLine) m_pending.clear();
}

void CommandChannel::Send(const QString& line) {
    QByteArray bytes = line.toUtf8();
    bytes.replace('\n', ' ');
    bytes.append('\n');
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t wrote = write(STDOUT_FILENO, bytes.constData() + done,
                                    static_cast<size_t>(bytes.size() - done));
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return;  // nobody listens any more
        done += wrote;
    }
}

}  // namespace mensura
