// The desktop program's life, one path from main() to the end:
//   programMain: --help and --version (answered before Qt starts, so they
//     need no display); the application; the termination handler, before
//     anything can open a dialog; the command line; startProgram; runProgram.
//   startProgram: display metrics from the screen, the paths, the data
//     folder and the seed document, the working document (or a new one), the
//     install record in the settings, then the main window and the image
//     library it shows pictures from. It opens no dialog.
//   runProgram: the window, the start-up messages and (first start) the
//     place page, the event loop, and the window's one save at exit.
#pragma once

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/document_guard.h"
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
    QString ephemerisError;   // the message shown when there is no ephemeris
    QString seedMessage;      // "Could not create the .clj file!" when no data folder can be made
    QString dataFolderNote;   // for the status line: the data folder moved, or cannot be made
    QString cometProblems;    // comet element files that exist but were skipped, one a line
    bool firstStart = false;  // no document yet (missing or empty): the place page is due
    // The document's lock and what the session may write, handed to the
    // window: read-only when another Celestra holds the lock, the document or
    // its colour file kept as it is when it could not be read.
    WriteAccess access;
    pid_t lockHolder = 0;            // the other Celestra, when it said which
    QString documentProblem;         // why the document could not be read ("" when it could)
    QString colorsProblem;           // why the colour file could not be read
    QPointer<QMessageBox> question;  // the start-up question about the document, while it is open
};

// Runs the start-up steps for the executable at `exePath` (the running
// program's own path in normal use) and creates the main window, not yet
// shown. `documentFile`, when given, is the document to open and save
// instead of the working document (it is not seeded). Needs a QApplication.
std::unique_ptr<Program> startProgram(const QString& exePath, const QString& documentFile = QString());

// Shows the window and what start-up has to say: its messages, the
// question about the document (open elsewhere, or a file kept as it is) and,
// at the first start, the place page. Nothing waits for an answer.
void showProgram(Program& program);

// showProgram, the event loop, then the save at exit. Returns the event
// loop's exit code.
int runProgram(Program& program);

// The whole program (main() calls only this).
int programMain(int argc, char** argv);

// What the command line asks for, read from the arguments after the
// program's name once Qt has taken its own options out.
struct ProgramOptions {
    bool help = false;
    bool version = false;
    QString documentFile;  // absolute path, "" for the working document
    QString error;         // an unknown option or a second file: exit code 2
};
ProgramOptions parseProgramArguments(const QStringList& arguments);
// The text of --help.
QString programUsage();

// SIGTERM, SIGINT and SIGHUP: the handler writes a byte to a pipe; `onSignal` runs
// on `context`'s thread when the event loop reads it (a signal before the
// loop runs waits in the pipe). Installing again replaces the action.
void onTerminationSignals(QObject* context, std::function<void()> onSignal);

}  // namespace celestra
