// celestra: the desktop program.
#include <QApplication>

#include <clocale>

#include "ui/program.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    // Qt has set the C library's locale from the environment. Numbers the
    // program writes or reads keep the point whatever it says (the engine
    // formats in the "C" locale anyway; this covers any library below it),
    // while dates and the fields' decimal comma follow the desktop through
    // QLocale, which reads the environment itself.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    auto program = celestra::startProgram(QApplication::applicationFilePath());
    celestra::closeOnTerminationSignals(program->window.get());
    program->window->show();
    const int code = app.exec();
    program->window.reset();
    return code;
}
