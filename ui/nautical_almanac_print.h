// The nautical almanac's printed pages, laid out as navigators know them:
// for three days a left-hand page (Aries, Venus, Mars, Jupiter, Saturn and
// the stars) and a right-hand page (the Sun, the Moon, the rise, set and
// twilight table and the day's data), then the increments and corrections,
// two minutes a page. One layout serves the screen, the printer and PDF.
//
// A page is drawn in a box of A4 proportions (210 × 297 mm) fitted into the
// target rectangle; texts come from the engine's printed forms.
#pragma once

#include <QPageSize>
#include <QString>

#include "navigation/nautical_almanac.h"

class QPagedPaintDevice;
class QPainter;
class QRectF;

namespace celestra {

constexpr int kAlmanacDailyPages = 2;
constexpr int kAlmanacIncrementPages = 30;

// Page `page` of the almanac: 0 the left-hand daily page, 1 the right-hand
// one, 2 .. 31 the increments of minutes 2(page − 2) and the next.
void paintAlmanacPage(QPainter& painter, const QRectF& target, const NauticalAlmanac& almanac, int page);

// The number of pages printed: the two daily pages, and the increments
// with `withIncrements`.
int almanacPageCount(bool withIncrements);

// Paints every page onto a paged device (printer or PDF writer), a new page
// between them. False when the painter cannot begin on the device.
bool printAlmanac(QPagedPaintDevice& device, const NauticalAlmanac& almanac, bool withIncrements);

// Writes the pages as a PDF file at `path`, replacing it only once the whole
// file is written. False, with `error`, when it cannot be written.
bool writeAlmanacPdf(const NauticalAlmanac& almanac, const QString& path, QPageSize::PageSizeId paper,
                     bool withIncrements, QString& error);

}  // namespace celestra
