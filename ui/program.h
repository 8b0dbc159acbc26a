// Start-up of the desktop program, in order: display metrics from the
// screen, the paths, the seed document, the working document (or a new one),
// the install record in the settings, then the main window and the image
// library it shows pictures from.
#pragma once

#include <QString>

#include <memory>

#include "app/startup.h"
#include "ui/main_window.h"
#include "ui/sky_model.h"

namespace celestra {

struct Program {
    DisplayMetrics metrics;
    AppPaths paths;
    DocumentData document;
    std::unique_ptr<SkyModel> model;
    std::unique_ptr<MainWindow> window;
    QString ephemerisError;  // the message shown when there is no ephemeris
};

// Runs the start-up steps for the executable at `exePath` (the running
// program's own path in normal use) and creates the main window, not yet
// shown. Needs a QApplication.
std::unique_ptr<Program> startProgram(const QString& exePath);

// SIGTERM and SIGINT close the main window as "Exit" does (the document is
// saved): the handler writes to a pipe that the event loop watches.
void closeOnTerminationSignals(QWidget* window);

}  // namespace celestra
