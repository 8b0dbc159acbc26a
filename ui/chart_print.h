// The chart on paper through a QPrinter (Qt Print Support, which the
// desktop program links and the command line does not).
#pragma once

#include <QSize>

#include "ui/chart_export.h"

class QPrinter;

namespace celestra {

// Prints the chart on the printer's page, the window's aspect kept and the
// chart as large as the page allows. `blackOnWhite` prints it in the White
// scheme with a white sky and black stars.
void printChart(const ChartPicture& picture, QSize size, bool blackOnWhite, const CColorScheme& white,
                QPrinter& printer);

}  // namespace celestra
