// What every Qt test of the program needs before its QApplication: the
// offscreen platform unless the caller chose one, and a temporary home with
// its own settings, documents, data and cache folders, where the default
// ephemeris is linked in so the program finds it as an installed one.
#pragma once

#include <QImage>
#include <QString>

#include <memory>

namespace celestra {
class SkyModel;
struct Program;
}

namespace celestra::test {

// Call first in main(). Returns the temporary home.
QString prepareQtTestEnvironment();

// The default ephemeris the build made ("" when there is none).
QString builtEphemeris();

// Waits until the sky model's worker is idle and the chart has been told.
void waitForSkyModel(SkyModel& model);

// The program as a user starts it with fresh settings (orbital paths off,
// so no daily table is built), its pages modeless, the window shown and the
// first recompute done; null when the window could not be shown.
std::unique_ptr<Program> startProgramForTest();

// A PDF's first page or an SVG drawing as a viewer shows it, through
// poppler's pdftoppm (72 dpi: a point a pixel) or librsvg's rsvg-convert
// (96 dpi: a CSS pixel a pixel). A null image, with `error` saying why, when
// the tool is missing or refuses the file.
QImage viewedFile(const QString& path, QString& error);

}  // namespace celestra::test
