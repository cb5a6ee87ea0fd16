// The bare reference window as a program of its own, for bench/startup.sh.
#include <QApplication>

#include "bare_window.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    BareWindow window;
    window.show();
    return QApplication::exec();
}
