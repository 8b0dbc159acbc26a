// The almanac subcommand's PDF output: the desktop program's page layout,
// linked into the command line when the program is built.
#include <QGuiApplication>

#include "cli/almanac_pdf.h"
#include "ui/chart_image.h"
#include "ui/nautical_almanac_print.h"

namespace celestra::cli {
namespace {

bool writePdf(const NauticalAlmanac& almanac, const std::string& path, PaperSize paper, std::string& error) {
    // Fonts need a GUI application; without a display the offscreen platform serves.
    useOffscreenPlatformWithoutDisplay();
    int argc = 1;
    char name[] = "celestra-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    QString message;
    const bool ok = writeAlmanacPdf(almanac, QString::fromStdString(path),
                                    paper == PaperSize::Letter ? QPageSize::Letter : QPageSize::A4, true, message);
    error = message.toStdString();
    return ok;
}

const bool registered = registerAlmanacPdfWriter(writePdf);

}  // namespace
}  // namespace celestra::cli
