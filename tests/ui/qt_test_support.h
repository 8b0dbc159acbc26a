// What every Qt test of the program needs before its QApplication: the
// offscreen platform unless the caller chose one, a temporary home with its
// own settings, documents, data and cache folders, where the default
// ephemeris is linked in so the program finds it as an installed one, and a
// fixed clock, zone and locale, so that no result depends on when or where
// the test runs.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <memory>

class QWidget;

namespace celestra {
class SkyModel;
struct Program;
}  // namespace celestra

namespace celestra::test {

// The instant the clock shows in every Qt test: 2024-10-15 06:00:00 UTC,
// 23:00 the evening before at the default place (Seattle), with the
// Andromeda galaxy high in the east.
constexpr double kTestClockJd = 2460598.75;

// Whether the test runs in the C.UTF-8 locale whatever the machine's, or in
// the one its runner chose (CTest runs the locale test under several LANGs).
enum class TestLocale { Fixed, FromEnvironment };

// Call first in main(): the clock stops at kTestClockJd, TZ is UTC and,
// unless asked otherwise, the locale is C.UTF-8 (a test that needs another
// zone sets it after this call). Returns the temporary home.
QString prepareQtTestEnvironment(TestLocale locale = TestLocale::Fixed);

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

// Every text a user can read in a widget tree: titles, labels, buttons,
// tooltips, fields, list, combo and table items.
QStringList visibleTexts(QWidget* root);

}  // namespace celestra::test
