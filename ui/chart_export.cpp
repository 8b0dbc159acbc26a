#include "ui/chart_export.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>

namespace celestra {

namespace {

// A fast deflate level (Qt scales 0..100 to zlib levels): a chart is mostly flat colour.
constexpr int kPngCompression = 20;

}  // namespace

void paintPicture(const ChartPicture& picture, QSize size, QPainter& painter) {
    ChartRenderer renderer;
    renderer.setSnapshot(picture.sky);
    renderer.setView(picture.state, size.width(), size.height());
    renderer.setOptions(picture.options);
    renderer.setSelection(picture.selection);
    renderer.paint(painter);
}

bool chartFileFormatOf(const QString& path, ChartFileFormat& format) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("png")) format = ChartFileFormat::Png;
    else if (suffix == QLatin1String("svg")) format = ChartFileFormat::Svg;
    else if (suffix == QLatin1String("pdf")) format = ChartFileFormat::Pdf;
    else return false;
    return true;
}

bool exportChart(const ChartPicture& picture, QSize size, ChartFileFormat format, const QString& path, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    bool drawn = true;
    if (format == ChartFileFormat::Png) {
        // Opaque: the chart covers every pixel, and PNG then stores three channels.
        QImage image(size, QImage::Format_RGB32);
        {
            QPainter painter(&image);
            paintPicture(picture, size, painter);
        }
        QImageWriter writer(&file, "png");
        writer.setCompression(kPngCompression);
        drawn = writer.write(image);
        if (!drawn) error = writer.errorString();
    } else if (format == ChartFileFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(96);  // CSS pixels: a viewer shows it at the chart's size
        svg.setTitle(QStringLiteral("Celestra star chart"));
        QPainter painter;
        drawn = painter.begin(&svg);
        if (drawn) paintPicture(picture, size, painter);
        if (!drawn) error = ChartRenderer::tr("the SVG drawing could not be started");
    } else {
        QPdfWriter pdf(&file);
        pdf.setCreator(QStringLiteral("Celestra"));
        pdf.setTitle(QStringLiteral("Celestra star chart"));
        pdf.setResolution(72);
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point, QString(), QPageSize::ExactMatch));
        QPainter painter;
        drawn = painter.begin(&pdf);
        if (drawn) paintPicture(picture, size, painter);
        if (!drawn) error = ChartRenderer::tr("the PDF document could not be started");
    }
    if (!drawn) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

CUniverseViewDrawState paperState(const CUniverseViewDrawState& state, const CColorScheme& white) {
    CUniverseViewDrawState paper = state;
    paper.colorPreset = kPresetWhite;
    paper.colorScheme.CopyColorsFrom(white);
    return paper;
}

}  // namespace celestra
