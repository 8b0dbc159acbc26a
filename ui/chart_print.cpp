#include "ui/chart_print.h"

#include <QPainter>
#include <QPrinter>
#include <algorithm>

namespace celestra {

void printChart(const ChartPicture& picture, QSize size, bool blackOnWhite, const CColorScheme& white,
                QPrinter& printer) {
    ChartPicture page = picture;
    if (blackOnWhite) {
        page.state = paperState(picture.state, white);
        page.options.paper = true;
    }
    QPainter painter;
    if (!painter.begin(&printer)) return;
    // The chart at the window's size, scaled to fit the printable area and centred.
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(area.width() / size.width(), area.height() / size.height());
    painter.translate((area.width() - size.width() * scale) / 2.0, (area.height() - size.height() * scale) / 2.0);
    painter.scale(scale, scale);
    painter.setClipRect(QRect(QPoint(0, 0), size));
    paintPicture(page, size, painter);
}

}  // namespace celestra
