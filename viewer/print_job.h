#pragma once

// Printing a help page, in a process of its own that the Help command
// starts when the viewer asks for it (Ctrl+P), in two steps:
//  1. mensura-help --print [--pdf OUTPUT | --printer NAME]
//     reads the page to print from standard input (a Print message of
//     help_protocol.h: the help file, the page, the page's title as text)
//     and shows the system's print dialog before anything of the help file
//     is read; the user's choice of a printer, or of a PDF file, is made
//     there. The PDF file is opened now, once, without following a link in
//     its last part; or a spool folder is made for the printer. --pdf (an
//     absolute path) or --printer skip the dialog, for tests and scripts;
//     nothing a page holds ever becomes an option.
//  2. It then runs itself again as
//     mensura-help --print-confined
//     with the dialog's choices on standard input (a PrintSettings) and the
//     PDF file as an open descriptor; it confines itself as the viewer does,
//     with no file writable (a PDF goes to the descriptor) but the printer's
//     spool folder, reads and lays out the page, and prints it.
// A failure is said on standard error and, after the dialog, in a message.
#include <QStringList>

namespace mensura {

// The options of step 1 that skip the dialog.
inline constexpr char kPdfOption[] = "--pdf";
inline constexpr char kPrinterOption[] = "--printer";

// Step 1; `arguments` are those after "--print". Returns the exit status.
int RunPrintJob(const QStringList& arguments, int& argc, char** argv);

// Step 2; `arguments` are those after "--print-confined", none.
int RunConfinedPrint(const QStringList& arguments, int& argc, char** argv);

}  // namespace mensura
