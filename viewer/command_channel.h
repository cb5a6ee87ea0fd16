#pragma once

// The help viewer's line to the program that started it: commands come in
// a line each on standard input ("show", "ping"), answers go out a line
// each on standard output. The end of the input means that program is gone.
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace mensura {

class CommandChannel : public QObject {
    Q_OBJECT

public:
    explicit CommandChannel(QObject* parent = nullptr);
    void Send(const QString& line);

signals:
    void Command(const QString& line);
    void Closed();

private:
    void ReadInput();

    QSocketNotifier* m_notifier = nullptr;
    QByteArray m_pending;
};

}  // namespace mensura
