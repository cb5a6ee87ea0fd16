// Mensura's start: the application set up, the main window shown, the
// event loop run.
#include <QApplication>

#include "application.h"
#include "form1.h"
#include "help_command.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mensura::PrepareApplication();
    int result = 0;
    {
        mensura::Form1 form;  // Form_Load runs while it is built
        form.show();
        result = QApplication::exec();
    }
    // The help window, if any, goes with the program.
    mensura::HtmlHelp(nullptr, nullptr, mensura::HH_CLOSE_ALL, 0);
    return result;
}
