#include "help_command.h"

#include <sys/mman.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

namespace mensura {

namespace {

constexpr int kDefaultDeadlineMs = 5000;  // a hung viewer is ended after this
constexpr int kPingEveryMs = 2000;        // while a viewer runs

// Starts the print job detached, so that a print the user has started
// outlives the converter, with the request on its standard input, from a
// file in memory that it alone reads. The job starts in the home folder.
void StartPrintJob(const QString& program, const QProcessEnvironment& environment,
                   const channel::Print& request) {
    const int input = memfd_create("mensura-print-request", MFD_CLOEXEC);
    if (input < 0) return;
    QFile written;
    const QByteArray line = channel::Encode(request);
    if (written.open(input, QIODevice::WriteOnly, QFileDevice::DontCloseHandle) &&
        written.write(line) == line.size() && written.flush() && lseek(input, 0, SEEK_SET) == 0) {
        QProcess printing;
        printing.setProgram(program);
        printing.setArguments({QString::fromLatin1(channel::kPrintArgument)});
        printing.setProcessEnvironment(environment);
        printing.setWorkingDirectory(QDir::homePath());
        printing.setStandardInputFile(QStringLiteral("/proc/self/fd/%1").arg(input));
        printing.startDetached();
    }
    close(input);
}

// The one help viewer process and the conversation with it in the help
// protocol (help_protocol.h): the places to look first, then a line per
// command on its standard input (Show, Ping), a line per answer on its
// standard output (Shown, Pong, Print, Open). Every line counts as a sign
// of life; a viewer that owes one, to a Ping, for longer than the deadline
// is ended. It answers a Ping while its window lays out a slow page, so
// only a viewer that has stopped answering goes; one that has not shown
// the help within the deadline is started afresh at the next Help command.
// Its standard error goes to ours. Nothing here waits for the viewer: the
// converter's window answers whatever the viewer does.
class ViewerProcess : public QObject {
public:
    static ViewerProcess& Instance() {
        static auto* instance = new ViewerProcess;  // lives as long as the program
        return *instance;
    }

    bool Show(const QString& program, const QByteArrayList& candidates) {
        if (m_process && !m_pong.Overdue(m_deadline) && !m_shown.Overdue(m_deadline)) {
            Send(channel::Show{});
            m_shown.Ask();
            return true;
        }
        Drop(Ending::Kill);  // one that stopped answering goes; a fresh one starts
        return Start(program, candidates);
    }

    // Closing its input tells the viewer to close; one that has not gone
    // a second later is killed.
    void Close() { Drop(Ending::Ask); }

    HelpViewerState State() const { return m_state; }

    int SetDeadline(int milliseconds) {
        m_pinger.setInterval(std::min(kPingEveryMs, std::max(milliseconds / 2, 10)));
        return std::exchange(m_deadline, milliseconds);
    }

private:
    enum class Ending { Ask, Kill };

    ViewerProcess() {
        m_pinger.setInterval(kPingEveryMs);
        connect(&m_pinger, &QTimer::timeout, this, [this] {
            if (m_pong.Overdue(m_deadline)) {
                Drop(Ending::Kill);
            } else if (!m_pong.due) {
                Send(channel::Ping{});
                m_pong.Ask();
            }
        });
    }

    bool Start(const QString& program, const QByteArrayList& candidates) {
        if (program.isEmpty()) {
            Tell(QStringLiteral("The help viewer, mensura-help, is not installed beside Mensura."));
            return false;
        }
        auto* process = new QProcess(this);
        process->setProgram(program);
        // The viewer draws where the converter draws.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
        // The viewer can make no folder; the one Qt makes here, where the
        // desktop gave none, serves both.
        if (!environment.contains(QStringLiteral("XDG_RUNTIME_DIR")))
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"),
                               QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        connect(process, &QProcess::readyReadStandardOutput, this, &ViewerProcess::Read);
        // Ended by itself, by a crash or by its window being closed: the
        // next Help command starts a fresh one.
        connect(process, &QProcess::finished, this, [this] { Drop(Ending::Kill); });
        connect(process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
            if (error != QProcess::FailedToStart || !m_process) return;
            const QString why = m_process->errorString();
            Drop(Ending::Kill);
            Tell(QStringLiteral("The help viewer could not be started: %1.").arg(why));
        });
        m_process = process;
        m_input = channel::LineReader();
        process->start();
        if (!m_process) return false;  // it failed to start, and said so
        m_state.pid = process->processId();
        // Its first line: where to look, before it confines itself.
        process->write(channel::Encode(channel::Places{candidates}));
        // Its first Shown comes once its window stands.
        m_shown.Ask();
        m_pinger.start();
        return true;
    }

    void Drop(Ending ending) {
        m_pinger.stop();
        m_pong = Owed{};
        m_shown = Owed{};
        m_state = HelpViewerState{};
        QProcess* process = m_process;
        m_process = nullptr;
        if (!process) return;
        process->disconnect(this);
        if (process->state() == QProcess::NotRunning) {
            process->deleteLater();
            return;
        }
        // Reaped when it has gone, without waiting here.
        connect(process, &QProcess::finished, process, &QObject::deleteLater);
        if (ending == Ending::Ask) {
            // Closing the help is the one moment worth a short wait: the
            // program may be ending, and no viewer is to outlive it.
            process->closeWriteChannel();
            if (process->waitForFinished(1000)) return;
        }
        process->kill();
    }

    template <class Message>
    void Send(const Message& message) {
        m_process->write(channel::Encode(message));
    }

    void Read() {
        m_input.Append(m_process->readAllStandardOutput());
        while (m_process) {
            const std::optional<QByteArray> line = m_input.Next();
            if (!line) break;
            m_pong.Answered();
            if (const auto shown = channel::Decode<channel::Shown>(*line)) {
                m_shown.Answered();
                m_state.path = shown->file;
                m_state.file = QFile::decodeName(shown->file);
                m_state.page = QUrl::fromEncoded(shown->page, QUrl::StrictMode).toString();
                ++m_state.shown;
            } else if (const auto print = channel::Decode<channel::Print>(*line)) {
                Print(*print);
            } else if (const auto open = channel::Decode<channel::Open>(*line)) {
                Open(QUrl::fromEncoded(open->url, QUrl::StrictMode));
            }
        }
        // A viewer that writes without ever ending a line is not answering.
        if (m_process && m_input.Overlong()) Drop(Ending::Kill);
    }

    // Printing runs in a process of its own, which shows the print dialog
    // before it reads anything of the file. Only the file the viewer shows
    // is printed, and only a page of it; the request is made afresh here,
    // its title only ever a title.
    void Print(const channel::Print& asked) {
        const QUrl page = QUrl::fromEncoded(asked.page, QUrl::StrictMode);
        if (asked.file.isEmpty() || asked.file != m_state.path || page.scheme() != kHelpScheme)
            return;
        StartPrintJob(m_process->program(), m_process->processEnvironment(),
                      channel::Print{asked.file, page.toEncoded(), asked.title, asked.window,
                                     asked.middleX, asked.middleY});
    }

    // A web or mail address a help page links to, clicked in the viewer,
    // goes to the desktop from here: the confined viewer starts nothing.
    static void Open(const QUrl& url) {
        const QString scheme = url.scheme().toLower();
        if (!url.isValid() ||
            !(scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
              scheme == QLatin1String("mailto")))
            return;
        QDesktopServices::openUrl(url);
    }

    // The main window's own word when there is no viewer: a window of its
    // own that does not block the converter.
    static void Tell(const QString& text) {
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Mensura"),
                                    text + QStringLiteral(" Mensura carries on without its help."));
        box->setObjectName(QStringLiteral("helpProblem"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->setWindowModality(Qt::NonModal);
        box->show();
    }

    QPointer<QProcess> m_process;
    channel::LineReader m_input;  // what the viewer has said
    QTimer m_pinger;
    // An answer the viewer owes, and since when.
    struct Owed {
        bool due = false;
        QElapsedTimer since;
        void Ask() {
            if (!due) since.start();
            due = true;
        }
        void Answered() { due = false; }
        bool Overdue(int deadline) const { return due && since.elapsed() > deadline; }
    };
    Owed m_pong;   // to a Ping: any line answers it
    Owed m_shown;  // to its start or a Show
    int m_deadline = kDefaultDeadlineMs;
    HelpViewerState m_state;
};

}  // namespace

QByteArrayList HelpFileCandidates(const QByteArray& requested, const QString& programFolder) {
    QByteArrayList candidates{requested};
    const qsizetype slash = requested.lastIndexOf('/');
    const QByteArray name = requested.mid(slash + 1);
    if (name.isEmpty() || programFolder.isEmpty()) return candidates;
    QByteArrayList seen{QFile::encodeName(QDir::cleanPath(QFile::decodeName(requested)))};
    for (const QString& folder :
         {programFolder, programFolder + QStringLiteral("/../share/mensura")}) {
        const QByteArray path = QFile::encodeName(QDir::cleanPath(folder)) + '/' + name;
        if (seen.contains(path)) continue;
        seen << path;
        candidates << path;
    }
    return candidates;
}

QByteArray CurrentDirectory() {
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (error) return QFile::encodeName(QDir::currentPath());
    return QByteArray::fromStdString(current.native());
}

QString HelpViewerProgram(const QString& programFolder) {
    for (const QString& path :
         {programFolder + QStringLiteral("/mensura-help"),
          programFolder + QStringLiteral("/../libexec/mensura/mensura-help")}) {
        const QFileInfo info(path);
        if (info.isFile() && info.isExecutable()) return QDir::cleanPath(path);
    }
    return QString();
}

bool ShowHelp(const QByteArray& requested, const QString& programFolder) {
    return ViewerProcess::Instance().Show(HelpViewerProgram(programFolder),
                                          HelpFileCandidates(requested, programFolder));
}

HelpViewerState CurrentHelpViewer() {
    return ViewerProcess::Instance().State();
}

int SetHelpViewerDeadline(int milliseconds) {
    return ViewerProcess::Instance().SetDeadline(milliseconds);
}

bool HtmlHelp(QWidget* /*caller*/, const char* file, unsigned int command,
              std::uintptr_t /*data*/) {
    switch (command) {
        case HH_DISPLAY_TOPIC:
            return ShowHelp(QByteArray(file ? file : ""), QCoreApplication::applicationDirPath());
        case HH_CLOSE_ALL:
            ViewerProcess::Instance().Close();
            return false;
        default:
            return false;
    }
}

}  // namespace mensura
