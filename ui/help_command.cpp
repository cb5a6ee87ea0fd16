#include "help_command.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <utility>

namespace mensura {

namespace {

constexpr int kDefaultDeadlineMs = 5000;  // a hung viewer is ended after this
constexpr int kPingEveryMs = 2000;        // while a viewer runs
constexpr qint64 kMaxReplyBytes = 64 * 1024;

// The one help viewer process and the conversation with it: a line per
// command on its standard input ("show", "ping"), a line per answer on its
// standard output ("shown FILE<TAB>PAGE", "pong"). Every answer counts as a
// sign of life; a viewer that owes one for longer than the deadline is
// ended. Its standard error goes to ours. Nothing here waits for the
// viewer: the converter's window answers whatever the viewer does.
class ViewerProcess : public QObject {
public:
    static ViewerProcess& Instance() {
        static auto* instance = new ViewerProcess;  // lives as long as the program
        return *instance;
    }

    bool Show(const QString& program, const QStringList& candidates) {
        if (m_process && !Overdue()) {
            Send("show");
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
            if (Overdue())
                Drop(Ending::Kill);
            else if (!m_owed)
                Send("ping");
        });
    }

    bool Start(const QString& program, const QStringList& candidates) {
        if (program.isEmpty()) {
            Tell(QStringLiteral("The help viewer, mensura-help, is not installed beside Mensura."));
            return false;
        }
        auto* process = new QProcess(this);
        process->setProgram(program);
        process->setArguments(QStringList{QStringLiteral("--")} + candidates);
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
        process->start();
        if (!m_process) return false;  // it failed to start, and said so
        m_state.pid = process->processId();
        // Its first answer, "shown", comes once its window stands.
        m_owed = true;
        m_owedSince.start();
        m_pinger.start();
        return true;
    }

    void Drop(Ending ending) {
        m_pinger.stop();
        m_owed = false;
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

    void Send(const char* command) {
        if (!m_owed) {
            m_owed = true;
            m_owedSince.start();
        }
        m_process->write(command);
        m_process->write("\n");
    }

    bool Overdue() const { return m_owed && m_owedSince.elapsed() > m_deadline; }

    void Read() {
        while (m_process && m_process->canReadLine()) {
            QString line = QString::fromUtf8(m_process->readLine(kMaxReplyBytes));
            if (line.endsWith(QLatin1Char('\n'))) line.chop(1);
            m_owed = false;
            if (line.startsWith(QLatin1String("shown "))) {
                const QStringList parts = line.mid(6).split(QLatin1Char('\t'));
                m_state.file = parts.value(0);
                m_state.page = parts.value(1);
                ++m_state.shown;
            } else if (line.startsWith(QLatin1String("print "))) {
                Print(line.mid(6).split(QLatin1Char('\t')));
            } else if (line.startsWith(QLatin1String("open "))) {
                Open(QUrl::fromEncoded(line.mid(5).toUtf8(), QUrl::StrictMode));
            }
        }
        // A viewer that writes without ever ending a line is not answering.
        if (m_process && m_process->bytesAvailable() > kMaxReplyBytes) Drop(Ending::Kill);
    }

    // Printing runs in a process of its own, which shows the print dialog
    // before it reads anything of the file. Only the file the viewer shows
    // is printed, and only a page of it.
    void Print(const QStringList& parts) {
        const QString file = parts.value(0);
        const QUrl page(parts.value(1));
        if (file.isEmpty() || file != m_state.file || page.scheme() != kHelpScheme) return;
        QProcess printing;
        printing.setProgram(m_process->program());
        printing.setArguments({QStringLiteral("--print"), file, page.toString(),
                               QStringLiteral("--title"), parts.value(2).left(200)});
        printing.setProcessEnvironment(m_process->processEnvironment());
        printing.startDetached();
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
    QTimer m_pinger;
    bool m_owed = false;  // an answer is due
    QElapsedTimer m_owedSince;
    int m_deadline = kDefaultDeadlineMs;
    HelpViewerState m_state;
};

}  // namespace

QStringList HelpFileCandidates(const QString& requested, const QString& programFolder) {
    QStringList candidates{requested};
    const QString name = QFileInfo(requested).fileName();
    if (name.isEmpty() || programFolder.isEmpty()) return candidates;
    QStringList seen{QDir::cleanPath(requested)};
    for (const QString& folder :
         {programFolder, programFolder + QStringLiteral("/../share/mensura")}) {
        const QString path = QDir::cleanPath(folder + QLatin1Char('/') + name);
        if (seen.contains(path)) continue;
        seen << path;
        candidates << path;
    }
    return candidates;
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

bool ShowHelp(const QString& requested, const QString& programFolder) {
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
            return ShowHelp(QString::fromLocal8Bit(file ? file : ""),
                            QCoreApplication::applicationDirPath());
        case HH_CLOSE_ALL:
            ViewerProcess::Instance().Close();
            return false;
        default:
            return false;
    }
}

}  // namespace mensura
