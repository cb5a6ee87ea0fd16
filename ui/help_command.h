#pragma once

// The call the Help menu makes to show the help file, shaped like the HTML
// Help API's HtmlHelpA (owner window, file path in the local 8-bit
// encoding, command, data), and the layer behind it. There is no system
// HTML Help viewer here, so the layer finds the file and shows it in
// Mensura's own help window (help_window.h). It is built at the first call.
#include <QString>
#include <QStringList>
#include <cstdint>

class QWidget;

namespace mensura {

// The commands the layer knows.
constexpr unsigned int HH_DISPLAY_TOPIC = 0x0000;  // show the file's default topic
constexpr unsigned int HH_CLOSE_ALL = 0x0012;      // close the help window

// HH_DISPLAY_TOPIC: finds the help file (HelpFileCandidates), opens it in
// the help window and shows its default topic; the one help window is
// reused and brought to the front. A file found nowhere, or one that
// cannot be read, gets a message in that window. The caller and the data
// are not used: the window has no owner and the topic is the default one.
// HH_CLOSE_ALL: closes and destroys the help window (file may be null).
// Returns the help window, or nullptr after HH_CLOSE_ALL or for a command
// it does not know.
QWidget* HtmlHelp(QWidget* caller, const char* file, unsigned int command, std::uintptr_t data);

// The places the help file is looked for, in order: the path asked for, as
// it is; then a file of the same name in the program's own folder; then in
// the data folder of an installation, ../share/mensura beside the folder of
// the program (/usr/bin/mensura looks in /usr/share/mensura). A place that
// is the same as an earlier one is left out.
QStringList HelpFileCandidates(const QString& requested, const QString& programFolder);

// The layer behind HH_DISPLAY_TOPIC with the program's folder given: shows
// the first of HelpFileCandidates that is a file, or the message naming
// them all.
QWidget* ShowHelp(const QString& requested, const QString& programFolder);

}  // namespace mensura
