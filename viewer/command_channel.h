#pragma once

// The help viewer's line to the program that started it: messages of the
// help protocol (help_protocol.h) come in a line each on standard input,
// answers go out a line each on standard output. The end of the input
// means that program is gone.
//
// The input is read by a thread of its own, which answers a Ping at once:
// the program asks whether the viewer is alive, and a page that takes
// seconds to lay out (the window's thread busy) does not make it look hung.
// Every other command comes to the window's thread as Command.
#include <QByteArray>
#include <QObject>
#include <mutex>
#include <thread>

#include "help_protocol.h"

namespace mensura {

class CommandChannel : public QObject {
    Q_OBJECT

public:
    // `reader` holds what was read from standard input before, if anything.
    explicit CommandChannel(channel::LineReader reader = {}, QObject* parent = nullptr);
    ~CommandChannel() override;

    template <class Message>
    void Send(const Message& message) {
        SendLine(channel::Encode(message));
    }

signals:
    // A line that came in, without its line end.
    void Command(const QByteArray& line);
    void Closed();

private:
    void ReadInput(channel::LineReader reader);
    void SendLine(const QByteArray& line);

    std::mutex m_sending;  // one line at a time, from either thread
    std::thread m_reader;
};

}  // namespace mensura
