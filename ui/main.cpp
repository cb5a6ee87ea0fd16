#include <QApplication>

#include "application.h"
#include "form1.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    mensura::PrepareApplication();
    Form1 form;  // Form_Load runs while it is built
    form.show();
    return QApplication::exec();
}
