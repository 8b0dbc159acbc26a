#include "cli/catalog_output.h"

#include <charconv>
#include <cstdio>
#include <string>

#include "catalogs/constellations.h"
#include "catalogs/deep_sky.h"
#include "cli/cli.h"

namespace celestra::cli {
namespace {

// The stored single-precision value as the shortest decimal that reads back
// to it (6.75247222, not 6.752472400665283).
double shortestValue(float value) {
    char buffer[32];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    double shortest = 0.0;
    std::from_chars(buffer, written.ptr, shortest);
    return shortest;
}

const char* catalogueName(CatalogueKind kind) {
    switch (kind) {
        case CatalogueKind::BrightStar: return "bright_star";
        case CatalogueKind::Messier: return "messier";
        case CatalogueKind::Caldwell: return "caldwell";
    }
    return "";
}

}  // namespace

int printCatalogueObject(int k, bool json) {
    const StarEntry& e = *catalogueObject(k);
    const std::string info = catalogueObjectInfoText(k);
    if (!json) {
        // The text block keeps its "\r\n" line ends for the information page;
        // a terminal wants plain new lines.
        std::string text;
        for (char c : info) {
            if (c != '\r') text += c;
        }
        std::fputs(text.c_str(), stdout);
        return kExitOk;
    }
    Json j;
    j.beginObject()
        .field("object", k)
        .field("catalogue", catalogueName(*catalogueKind(k)))
        .field("number", static_cast<int>(e.number))
        .field("identity", e.identity)
        .field("name", e.name)
        .field("label", catalogueObjectLabel(k))
        .field("ra_hours", shortestValue(e.rightAscension))
        .field("dec_deg", shortestValue(e.declination))
        .field("magnitude", static_cast<int>(e.magnitude))
        .field("pm_ra", shortestValue(e.properMotionRa))
        .field("pm_dec", shortestValue(e.properMotionDec))
        .field("parallax", shortestValue(e.parallax))
        .field("radial_velocity", shortestValue(e.radialVelocity))
        .field("spectral_class", std::string(1, static_cast<char>(e.spectralClass)));
    j.key("figure_links").beginArray();
    for (std::int32_t link : {e.figureLink1, e.figureLink2}) {
        if (figureLinkValid(link)) j.value(static_cast<int>(link));
    }
    j.endArray().field("info_text", info).endObject();
    std::printf("%s\n", j.str().c_str());
    return kExitOk;
}

}  // namespace celestra::cli
