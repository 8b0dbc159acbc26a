// The questions start-up asks about the document's files: the document is
// open in another Celestra, or a file is there that cannot be read. Each
// opens window-modal over the main window without an event loop of its own
// (a termination signal must still end the program), and until it is
// answered the safe choice holds: nothing is written over the file in
// question. Each returns its box, so that a test can answer it.
#pragma once

#include <sys/types.h>

#include <QString>

class QFileDialog;
class QMessageBox;

namespace celestra {

class MainWindow;

// "Open Read-Only" (the default) or "Quit". `holderPid` 0: not known.
QMessageBox* askOpenElsewhere(MainWindow& window, pid_t holderPid);

// The window's kept files (its write access says which), each with the
// reason it could not be read. For a kept document: "Move Aside", "Save
// As..." or "Don't Save" (the default); for a kept colour file alone:
// "Move Aside" or "Keep" (the default). Moving the document aside opens the
// first start's place page: the session then is a new document.
QMessageBox* askAboutKeptFiles(MainWindow& window, const QString& documentProblem, const QString& colorsProblem);

// The file dialog of "Save As..." (a test fills it in); its choice goes to
// MainWindow::saveSessionAs, a failure is shown.
QFileDialog* askSessionName(MainWindow& window);

}  // namespace celestra
