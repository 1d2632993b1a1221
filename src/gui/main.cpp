#include "app/TFApplication.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // The program ends when the background window closes, not when some dialog happens to be last.
    QApplication::setQuitOnLastWindowClosed(false);

    TFApplication::Options options;
    options.arguments = QApplication::arguments().mid(1);
    TFApplication program(options);
    QObject::connect(&program, &TFApplication::finished, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    program.show();
    const int result = QApplication::exec();
    program.shutDown();
    return result;
}
