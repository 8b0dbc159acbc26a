// celestra: the desktop program.
#include <QApplication>

#include "ui/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    auto program = celestra::startProgram(QApplication::applicationFilePath());
    celestra::closeOnTerminationSignals(program->window.get());
    program->window->show();
    const int code = app.exec();
    program->window.reset();
    return code;
}
