#pragma once

// The help viewer's line to the program that started it: messages of the
// help protocol (help_protocol.h) come in a line each on standard input,
// answers go out a line each on standard output. The end of the input
// means that program is gone.
#include <QByteArray>
#include <QObject>

#include "help_protocol.h"

class QSocketNotifier;

namespace mensura {

class CommandChannel : public QObject {
    Q_OBJECT

public:
    // `reader` holds what was read from standard input before, if anything.
    explicit CommandChannel(channel::LineReader reader = {}, QObject* parent = nullptr);

    template <class Message>
    void Send(const Message& message) {
        SendLine(channel::Encode(message));
    }

signals:
    // A line that came in, without its line end.
    void Command(const QByteArray& line);
    void Closed();

private:
    void ReadInput();
    void SendLine(const QByteArray& line);

    QSocketNotifier* m_notifier = nullptr;
    channel::LineReader m_reader;
};

}  // namespace mensura
