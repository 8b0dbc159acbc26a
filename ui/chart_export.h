// The chart as a file or on paper: PNG, SVG or PDF at the chart's size or
// another, and printing through a QPrinter, all drawn by the chart's own
// renderer. Files are written atomically (a temporary beside the target,
// renamed over it only when complete).
#pragma once

#include <QSize>
#include <QString>

#include <memory>

#include "sky/chart_sky.h"
#include "sky/draw_state.h"
#include "ui/chart_renderer.h"

class QPrinter;

namespace celestra {

enum class ChartFileFormat { Png, Svg, Pdf };

// The format a file name's extension names (.png, .svg, .pdf, any case);
// false for any other.
bool chartFileFormatOf(const QString& path, ChartFileFormat& format);

// What is drawn: the snapshot in a view, with its options and selection.
struct ChartPicture {
    std::shared_ptr<const SkySnapshot> sky;
    CUniverseViewDrawState state;
    ChartOptions options;
    ChartSelection selection;
};

// Writes the chart at `size` (pixels; an SVG in CSS pixels of 96 per inch,
// a PDF page in points, one per pixel). False with `error` set when the file
// could not be written; the target is then left as it was.
bool exportChart(const ChartPicture& picture, QSize size, ChartFileFormat format, const QString& path, QString& error);

// The drawing state for paper: the White scheme's colours given, the sky
// white whatever the Sun, the stars black (ChartOptions::paper).
CUniverseViewDrawState paperState(const CUniverseViewDrawState& state, const CColorScheme& white);

// Prints the chart on the printer's page, the window's aspect kept and the
// chart as large as the page allows. `blackOnWhite` prints it in the White
// scheme with a white sky and black stars.
void printChart(const ChartPicture& picture, QSize size, bool blackOnWhite, const CColorScheme& white, QPrinter& printer);

}  // namespace celestra
