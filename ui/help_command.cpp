#include "help_command.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPointer>

#include "help_window.h"

namespace mensura {

namespace {

// The one help window, built at the first request.
QPointer<HelpWindow>& Viewer() {
    static QPointer<HelpWindow> viewer;
    return viewer;
}

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

QWidget* ShowHelp(const QString& requested, const QString& programFolder) {
    QPointer<HelpWindow>& viewer = Viewer();
    if (!viewer) viewer = new HelpWindow;  // no parent: no owner

    const QStringList candidates = HelpFileCandidates(requested, programFolder);
    QString found;
    for (const QString& path : candidates) {
        if (QFileInfo(path).isFile()) {
            found = path;
            break;
        }
    }
    if (found.isEmpty())
        viewer->ShowNotFound(candidates);
    else
        viewer->ShowFile(found);

    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}

QWidget* HtmlHelp(QWidget* /*caller*/, const char* file, unsigned int command,
                  std::uintptr_t /*data*/) {
    switch (command) {
        case HH_DISPLAY_TOPIC:
            return ShowHelp(QString::fromLocal8Bit(file ? file : ""),
                            QCoreApplication::applicationDirPath());
        case HH_CLOSE_ALL:
            delete Viewer().data();
            return nullptr;
        default:
            return nullptr;
    }
}

}  // namespace mensura
