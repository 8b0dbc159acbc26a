// celestra-cli render: the star chart of one instant and place as a PNG,
// SVG or PDF file, drawn by the desktop program's own chart code.
#include <QGuiApplication>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "app/document.h"
#include "cli/cli.h"
#include "core/iso_time.h"
#include "sky/view_commands.h"
#include "ui/chart_export.h"
#include "ui/chart_image.h"

namespace celestra::cli {
namespace {

const char* const kUsage =
    "Usage: celestra-cli render --utc YYYY-MM-DDThh:mm:ss --lat DEG --lon DEG --out FILE\n"
    "         [--format png|svg|pdf] [--width 1280] [--height 800]\n"
    "         [--facing north|east|south|west|zenith] [--flip] [--zoom F]\n"
    "         [--scheme black|white|red] [--mag M] [--ephemeris PATH]\n"
    "         [--comet-folder DIR [--comet-mag M]]\n\n"
    "Draws the star chart for the instant (UTC) and place (latitude north, longitude\n"
    "east, degrees) into a PNG image, an SVG drawing or a PDF page (--format, else\n"
    "the extension of --out, else PNG; SVG and PDF measure the size in points).\n"
    "--facing sets the direction the chart looks\n"
    "(south by default) and its zoom; --zoom replaces that zoom (field of view 180°\n"
    "divided by it); --flip mirrors east and west; --mag is the faintest magnitude\n"
    "drawn, 2 to 7 (5 by default). --comet-folder draws the comets of the element\n"
    "files in DIR (Celestra.Comets.txt, Celestra.CometsTarnwell.txt,\n"
    "Celestra.CometsUser.txt) whose absolute magnitude is at most --comet-mag (10 by\n"
    "default), with their tracks. Without a display the offscreen platform is used.\n";

int runRender(const std::vector<std::string>& words) {
    const Args args(words,
                    {"utc", "lat", "lon", "width", "height", "facing", "zoom", "scheme", "mag", "out", "ephemeris",
                     "comet-folder", "comet-mag", "format"},
                    {"flip"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const std::string utcText = args.require("utc");
    std::string problem;
    const auto jd = parseIsoTime(utcText, &problem);
    if (!jd && !problem.empty()) usageError("--utc: " + problem);
    if (!jd) usageError("--utc needs a valid time YYYY-MM-DDThh:mm:ss, not \"" + utcText + "\"");
    if (!args.has("lat") || !args.has("lon")) usageError("--lat and --lon are required");
    const double lat = *args.number("lat");
    const double lon = *args.number("lon");
    if (lat < -90.0 || lat > 90.0) usageError("--lat must lie between -90 and 90");
    if (lon < -180.0 || lon > 180.0) usageError("--lon must lie between -180 and 180");
    const long width = args.integer("width").value_or(1280);
    const long height = args.integer("height").value_or(800);
    if (width < 16 || height < 16 || width > 16384 || height > 16384)
        usageError("--width and --height must lie between 16 and 16384");
    const std::string out = args.require("out");
    ChartFileFormat format = ChartFileFormat::Png;
    if (const auto name = args.value("format")) {
        if (*name == "png") format = ChartFileFormat::Png;
        else if (*name == "svg") format = ChartFileFormat::Svg;
        else if (*name == "pdf") format = ChartFileFormat::Pdf;
        else usageError("--format must be png, svg or pdf");
    } else {
        chartFileFormatOf(QString::fromStdString(out), format);  // PNG unless the extension names another
    }

    DocumentData doc(*jd, 0.0);
    doc.observer.latitude = lat;
    doc.observer.longitude = lon;
    CUniverseViewDrawState& state = doc.drawState;
    state.realTime = 0;
    if (args.flag("flip")) toggleFlipEastWest(state);
    const std::string facing = args.value("facing").value_or("south");
    static const std::pair<const char*, FacingDirection> kFacings[] = {{"north", FacingDirection::North},
                                                                       {"east", FacingDirection::East},
                                                                       {"south", FacingDirection::South},
                                                                       {"west", FacingDirection::West},
                                                                       {"zenith", FacingDirection::Zenith}};
    bool known = false;
    for (const auto& [name, direction] : kFacings) {
        if (facing == name) {
            faceDirection(state, direction, static_cast<int>(height));
            known = true;
        }
    }
    if (!known) usageError("--facing must be north, east, south, west or zenith");
    if (auto zoom = args.number("zoom")) {
        if (*zoom < kMinZoom || *zoom > kMaxZoom) usageError("--zoom must lie between 0.5 and 200");
        state.zoom = *zoom;
    }
    const std::string scheme = args.value("scheme").value_or("black");
    if (scheme == "black") state.colorPreset = kPresetBlack;
    else if (scheme == "white") state.colorPreset = kPresetWhite;
    else if (scheme == "red") state.colorPreset = kPresetRed;
    else usageError("--scheme must be black, white or red");
    doc.ApplyColorPreset();
    if (auto mag = args.number("mag")) {
        if (*mag < 2.0 || *mag > 7.0) usageError("--mag must lie between 2 and 7");
        state.magnitudeLimit = static_cast<int32_t>(*mag * 1000.0 + 0.5);
    }

    UniverseConfig config;
    config.ephemerisPath = args.value("ephemeris").value_or("");
    config.cometFolder = args.value("comet-folder").value_or("");
    state.overlays[kCometsOverlay] = config.cometFolder.empty() ? 0 : 1;
    if (auto mag = args.number("comet-mag")) {
        if (config.cometFolder.empty()) usageError("--comet-mag needs --comet-folder");
        if (*mag < -5.0 || *mag > 30.0) usageError("--comet-mag must lie between -5 and 30");
        state.cometMagnitudeLimit = static_cast<int32_t>(std::lround(*mag * 1000.0));
    } else {
        state.cometMagnitudeLimit = kDefaultCometMagnitudeLimit;
    }
    CUniverse universe(config);
    if (!universe.StartupMessage().empty())
        std::fprintf(stderr, "celestra-cli render: no ephemeris; the chart has no Sun, Moon or planets\n");
    else if (*jd < universe.EphemerisStart() || *jd > universe.EphemerisEnd())
        fail(Status::OutsideEphemeris, "the instant lies outside the ephemeris");
    state.overlays[kOrbitalPathsOverlay] = 1;
    const auto snapshot = computeSnapshot(universe, doc.observer, state);

    useOffscreenPlatformWithoutDisplay();
    int argc = 1;
    char name[] = "celestra-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);
    // Qt took the user's LC_NUMERIC; the command line's printed numbers keep the point.
    std::setlocale(LC_NUMERIC, "C");
    ChartPicture picture;
    picture.sky = snapshot;
    picture.state = state;
    QString error;
    if (!exportChart(picture, QSize(static_cast<int>(width), static_cast<int>(height)), format,
                     QString::fromStdString(out), error))
        fail(Status::IoError, "cannot write " + out + ": " + error.toStdString());
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"render", "draw the star chart of an instant and place as a PNG, SVG or PDF file", kUsage,
                             runRender});

}  // namespace celestra::cli
