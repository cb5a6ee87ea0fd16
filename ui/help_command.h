#pragma once

// The call the Help menu makes to show the help file, shaped like the HTML
// Help API's HtmlHelpA (owner window, file path in the local 8-bit
// encoding, command, data), and the layer behind it. As the system's HTML
// Help viewer would, the help runs in a process of its own: mensura-help,
// installed with Mensura. Its pages are read from a file that may come from
// any folder, so whatever they make Qt's renderer do, crash, hang or grow,
// happens there; the converter's window keeps answering. The viewer is
// started at the first call, asked to show its default topic again at the
// next ones, and ended when it stops answering; the next call then starts a
// fresh one.
#include <QByteArray>
#include <QByteArrayList>
#include <QString>
#include <cstdint>

#include "help_protocol.h"  // kHelpScheme

class QWidget;

namespace mensura {

// The commands the layer knows.
constexpr unsigned int HH_DISPLAY_TOPIC = 0x0000;  // show the file's default topic
constexpr unsigned int HH_CLOSE_ALL = 0x0012;      // close the help window

// HH_DISPLAY_TOPIC: finds the help file (HelpFileCandidates) and shows its
// default topic in the help viewer, brought to the front. A file found
// nowhere, or one that cannot be read, gets a message in the viewer's
// window; a viewer that cannot be started, a message of the main window's
// own. The caller and the data are not used: the help window has no owner
// and the topic is the default one. The file is looked for first where
// the caller asks.
// HH_CLOSE_ALL: closes the help viewer (file may be null).
// Returns whether a viewer was asked to show the help.
bool HtmlHelp(QWidget* caller, const char* file, unsigned int command, std::uintptr_t data);

// The places the help file is looked for, in order: the path asked for, as
// it is; then a file of the same name in the program's own folder; then in
// the data folder of an installation, ../share/mensura beside the folder of
// the program (/usr/bin/mensura looks in /usr/share/mensura). A place that
// is the same as an earlier one is left out.
// The process's current directory as the system names it, in its own
// bytes, for the Help command to ask for the file in. Qt's spelling of it
// (QDir::currentPath) would not do: of a name that is not UTF-8 it is
// another name, and of one longer than PATH_MAX, none. Where the system
// cannot say, Qt's spelling, which may be empty.
QByteArray CurrentDirectory();

// Paths are in the system's bytes, which need not be UTF-8.
QByteArrayList HelpFileCandidates(const QByteArray& requested, const QString& programFolder);

// Where the help viewer program is: beside the program (in the build
// tree), else in ../libexec/mensura (/usr/bin/mensura uses
// /usr/libexec/mensura/mensura-help). Empty when it is in neither.
QString HelpViewerProgram(const QString& programFolder);

// The layer behind HH_DISPLAY_TOPIC with the program's folder given: asks a
// running viewer to show the help again, or starts one over the candidates.
bool ShowHelp(const QByteArray& requested, const QString& programFolder);

// What the running viewer last reported, for tests and the installed-help
// check: its process id (0 when none runs), the help file it shows (empty
// while it shows a message instead) and the page.
struct HelpViewerState {
    qint64 pid = 0;
    QString file;
    QByteArray path;  // the same file, in the system's bytes
    QString page;
    int shown = 0;  // how many times it has shown the help since it started
};
HelpViewerState CurrentHelpViewer();

// How long a viewer may take to answer before it is taken for hung and
// ended; tests shorten it. Returns the previous value.
int SetHelpViewerDeadline(int milliseconds);

}  // namespace mensura
