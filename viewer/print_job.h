#pragma once

// Printing a help page, in a process of its own that the Help command
// starts when the viewer asks for it (Ctrl+P), in two steps:
//  1. mensura-help --print FILE PAGE [--title TITLE] [--pdf OUTPUT]
//     shows the system's print dialog before anything of the help file is
//     read; the user's choice of a printer, or of a PDF file, is made
//     there. The PDF file is opened now, or a spool folder made for the
//     printer. With --pdf the dialog is skipped (for tests and scripts).
//  2. It then runs itself again as
//     mensura-help --print-confined FILE PAGE SETTINGS...
//     which confines itself as the viewer does, with the PDF file open and
//     the spool folder the only places it may write, reads and lays out the
//     page, and prints it.
#include <QStringList>

namespace mensura {

// Step 1; `arguments` are those after "--print". Returns the exit status.
int RunPrintJob(const QStringList& arguments, int& argc, char** argv);

// Step 2; `arguments` are those after "--print-confined".
int RunConfinedPrint(const QStringList& arguments, int& argc, char** argv);

}  // namespace mensura
