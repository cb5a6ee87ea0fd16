// mensura-help: Mensura's help viewer, started by the Help command
// (help_viewer.h). Started with --print or --print-confined it prints a page
// instead (print_job.h).
#include <QStringList>
#include <cstring>

#include "help_protocol.h"
#include "help_viewer.h"
#include "print_job.h"

int main(int argc, char* argv[]) {
    namespace channel = mensura::channel;
    if (argc >= 2 && (std::strcmp(argv[1], channel::kPrintArgument) == 0 ||
                      std::strcmp(argv[1], channel::kConfinedPrintArgument) == 0)) {
        QStringList arguments;
        for (int i = 2; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
        int qtArgc = 1;
        mensura::QuitNow(std::strcmp(argv[1], channel::kPrintArgument) == 0
                             ? mensura::RunPrintJob(arguments, qtArgc, argv)
                             : mensura::RunConfinedPrint(arguments, qtArgc, argv));
    }
    mensura::RunHelpViewer(argv);
}
