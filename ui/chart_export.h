// The chart as a file: PNG, SVG or PDF at the chart's size or another,
// drawn by the chart's own renderer (printing: chart_print.h). Files are
// written atomically (a temporary beside the target, renamed over it only
// when complete).
#pragma once

#include <QSize>
#include <QString>
#include <memory>

#include "model/draw_state.h"
#include "sky/chart_sky.h"
#include "ui/chart_renderer.h"

class QPainter;

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

// Draws the picture at `size` (pixels) on a painter that is already active.
void paintPicture(const ChartPicture& picture, QSize size, QPainter& painter);

}  // namespace celestra
