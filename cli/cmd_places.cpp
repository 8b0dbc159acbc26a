// celestra-cli places: the built-in world places with coordinates and country.
#include <cstdio>
#include <string>
#include <vector>

#include "catalogs/places.h"
#include "cli/cli.h"

namespace celestra::cli {
namespace {

// The custom slots carry country index 0 only as a filler; they have no country.
const char* shownCountry(int index, const PlaceEntry& p) {
    return index < kCustomPlaceSlots ? "" : countryName(p.country);
}

int runPlaces(const std::vector<std::string>& words) {
    const Args args(words, {"search"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    std::vector<int> indices;
    if (auto text = args.value("search")) {
        indices = findPlaces(*text);
    } else {
        for (int i = 0; i < placeCount(); ++i) indices.push_back(i);
    }
    if (args.flag("json")) {
        Json j;
        j.beginObject().field("count", static_cast<int>(indices.size()));
        j.key("places").beginArray();
        for (int i : indices) {
            const PlaceEntry& p = *place(i);
            j.beginObject()
                .field("index", i)
                .field("name", p.name)
                .field("lat_deg", placeLatitude(i))
                .field("lon_deg", placeLongitude(i))
                .field("country", shownCountry(i, p))
                .field("zone", p.zone)
                .endObject();
        }
        j.endArray().endObject();
        std::printf("%s\n", j.str().c_str());
        return kExitOk;
    }
    for (int i : indices) {
        const PlaceEntry& p = *place(i);
        const char* country = shownCountry(i, p);
        std::printf("%4d %7.2f %8.2f  %s%s%s%s%s\n", i, placeLatitude(i), placeLongitude(i), p.name,
                    *country ? ", " : "", country, *p.zone ? "  " : "", p.zone);
    }
    return kExitOk;
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"places", "the built-in world places with latitude, longitude and country",
                             "Usage: celestra-cli places [--search TEXT] [--json]\n"
                             "\n"
                             "Lists the place table: index, latitude and longitude in degrees (north and\n"
                             "east positive), name, country and IANA time zone. Indices 0..4 are the\n"
                             "custom slots, shown without a country or zone.\n"
                             "--search keeps the places whose name or country contains TEXT, ignoring\n"
                             "case and accents (\"zurich\" finds Zürich). JSON: {count, places: [{index,\n"
                             "name, lat_deg, lon_deg, country, zone}]}.\n",
                             runPlaces});

}  // namespace celestra::cli
