#pragma once

// The help viewer's run, from its first line to its end, as mensura-help
// runs it: it reads the places to look for the help file (the first line of
// its standard input, help_protocol.h), opens them and confines itself
// (confinement.h), shows the first readable help file in its window and
// answers the commands of the channel (command_channel.h). It ends when its
// window is closed or when the program that started it closes the line.

namespace mensura {

// Runs the viewer; does not return.
[[noreturn]] void RunHelpViewer(char** argv);

// Ends the process with `status` without tearing Qt down. Nothing of the
// help needs it: it holds no file open for writing and nothing unsaved. And
// Qt 6.4's Wayland plugin can wait for ever in its display's destructor
// once the program's line has closed, which would leave a viewer behind.
[[noreturn]] void QuitNow(int status);

}  // namespace mensura
