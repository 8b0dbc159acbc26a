// celestra-cli doc dump FILE [--json]: a document as the program loads it.
#include <cstdio>
#include <string>
#include <variant>
#include <vector>

#include "app/document.h"
#include "cli/cli.h"

namespace celestra::cli {
namespace {

// A small tree of named values, printed either as JSON or as indented text.
struct Node {
    using Value = std::variant<std::monostate, double, long long, bool, std::string>;
    std::string key;
    Value value;
    std::vector<Node> children;
    bool isArray = false;

    Node& add(const std::string& k, Value v) {
        children.push_back(Node{k, std::move(v), {}, false});
        return *this;
    }
    Node& object(const std::string& k) {
        children.push_back(Node{k, std::monostate{}, {}, false});
        return children.back();
    }
    Node& array(const std::string& k) {
        children.push_back(Node{k, std::monostate{}, {}, true});
        return children.back();
    }
    bool isLeaf() const { return !isArray && children.empty() && !std::holds_alternative<std::monostate>(value); }
};

void toJson(const Node& n, Json& json) {
    if (n.isLeaf()) {
        std::visit(
            [&](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, std::monostate>) json.null();
                else json.value(v);
            },
            n.value);
        return;
    }
    if (n.isArray) {
        json.beginArray();
        for (const Node& c : n.children) toJson(c, json);
        json.endArray();
    } else {
        json.beginObject();
        for (const Node& c : n.children) {
            json.key(c.key);
            toJson(c, json);
        }
        json.endObject();
    }
}

std::string leafText(const Node::Value& value) {
    char buf[64];
    if (const auto* d = std::get_if<double>(&value)) {
        std::snprintf(buf, sizeof buf, "%.17g", *d);
        return buf;
    }
    if (const auto* i = std::get_if<long long>(&value)) return std::to_string(*i);
    if (const auto* b = std::get_if<bool>(&value)) return *b ? "true" : "false";
    if (const auto* s = std::get_if<std::string>(&value)) return "\"" + *s + "\"";
    return "null";
}

void toText(const Node& n, const std::string& indent, std::string& out) {
    for (size_t i = 0; i < n.children.size(); ++i) {
        const Node& c = n.children[i];
        const std::string label = n.isArray ? "[" + std::to_string(i) + "]" : c.key;
        if (c.isLeaf()) {
            out += indent + label + ": " + leafText(c.value) + "\n";
        } else {
            out += indent + label + (c.isArray ? " (" + std::to_string(c.children.size()) + ")" : "") + ":\n";
            toText(c, indent + "  ", out);
        }
    }
}

void addObserver(Node& n, const CObserverState& s) {
    n.add("flags", static_cast<long long>(s.flags))
        .add("instant_jd_utc", s.instant)
        .add("zone_offset_days", s.zoneOffset)
        .add("lat_deg", s.latitude)
        .add("lon_deg", s.longitude)
        .add("height_m", s.height)
        .add("temperature_c", s.temperature)
        .add("pressure_mbar", s.pressure)
        .add("lat_whole_deg", static_cast<long long>(s.latitudeDegrees))
        .add("lat_minutes", static_cast<long long>(s.latitudeMinutes))
        .add("lat_seconds", static_cast<long long>(s.latitudeSeconds))
        .add("lon_whole_deg", static_cast<long long>(s.longitudeDegrees))
        .add("lon_minutes", static_cast<long long>(s.longitudeMinutes))
        .add("lon_seconds", static_cast<long long>(s.longitudeSeconds))
        .add("refraction", static_cast<long long>(s.refraction));
}

void addDrawState(Node& n, const CUniverseViewDrawState& d) {
    auto i = [](int32_t v) { return static_cast<long long>(v); };
    n.add("real_time", i(d.realTime))
        .add("field2", i(d.field2))
        .add("field3", i(d.field3))
        .add("field4", i(d.field4))
        .add("field5", i(d.field5))
        .add("field6", i(d.magnitudeFilter))
        .add("magnitude_limit_millimag", i(d.magnitudeLimit))
        .add("field8", i(d.field8))
        .add("field9", i(d.field9))
        .add("field10", i(d.field10))
        .add("field11", i(d.field11))
        .add("field12", i(d.cometMagnitudeLimit))
        .add("field13", i(d.field13))
        .add("field14", i(d.field14))
        .add("field15", i(d.field15))
        .add("flags", i(d.flags))
        .add("flip_east_west", d.flippedEastWest())
        .add("field17", i(d.field17))
        .add("zoom", d.zoom)
        .add("offset_x_units", d.offsetX)
        .add("offset_y_units", d.offsetY)
        .add("field21", i(d.field21))
        .add("field22", i(d.field22))
        .add("field23", i(d.field23))
        .add("field24", i(d.field24))
        .add("field25", i(d.field25))
        .add("field26", i(d.field26))
        .add("deep_sky_selection", i(d.deepSkySelection))
        .add("rotation_deg", d.rotation)
        .add("color_preset", i(d.colorPreset))
        .add("field30", i(d.field30))
        .add("field31", i(d.field31));
    Node& overlays = n.array("overlays");
    for (int32_t v : d.overlays) overlays.add("", i(v));
}

void addSight(Node& n, const CMeasure& m) {
    auto i = [](int32_t v) { return static_cast<long long>(v); };
    addObserver(n.object("ap"), m.observer);
    n.add("active", i(m.active))
        .add("is_star", i(m.isStar))
        .add("body_index", i(m.bodyIndex))
        .add("reserved5", i(m.reserved5))
        .add("upper_limb", i(m.upperLimb))
        .add("corrections_disabled", i(m.correctionsDisabled))
        .add("ra_hours", m.rightAscension)
        .add("dec_deg", m.declination)
        .add("distance_km", m.distance)
        .add("zenith_distance_deg", m.zenithDistance)
        .add("azimuth_deg", m.azimuth)
        .add("dip_short_distance_nmi", m.dipShortDistance)
        .add("dip_short_enabled", m.dipShortEnabled)
        .add("reserved15_a", m.reserved15[0])
        .add("reserved15_b", m.reserved15[1])
        .add("course_deg", m.course)
        .add("speed_kn", m.speed)
        .add("ap_time_override_jd_utc", m.apTimeOverride)
        .add("observation_time_jd_utc", m.observationTime)
        .add("time_entered_as_utc", i(m.timeEnteredAsUtc))
        .add("hs_deg", m.hs)
        .add("ha_deg", m.ha)
        .add("dip_deg", m.dip)
        .add("index_correction_deg", m.indexCorrection)
        .add("refraction_correction_deg", m.refractionCorrection)
        .add("parallax_deg", m.parallax)
        .add("semi_diameter_deg", m.semiDiameter)
        .add("ho_deg", m.ho)
        .add("hc_deg", m.hc)
        .add("intercept_deg", m.intercept)
        .add("run_time_hours", m.runTime)
        .add("dr_lat_deg", m.drLatitude)
        .add("dr_lon_deg", m.drLongitude)
        .add("fix_lon_deg", m.fixLongitude)
        .add("fix_lat_deg", m.fixLatitude)
        .add("fix_shift", m.fixShift);
}

std::string hexColor(ColorRef c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02x%02x%02x", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
    return buf;
}

void addScheme(Node& n, const CColorScheme& s) {
    n.add("first_flag", static_cast<long long>(s.firstFlag)).add("second_flag", static_cast<long long>(s.secondFlag));
    Node& colors = n.object("colors_rgb");
    for (int k = 0; k < kColorKeyCount; ++k)
        colors.add(colorKeyNames()[static_cast<size_t>(k)], hexColor(s.colors[static_cast<size_t>(k)]));
}

const char* statusName(FileStatus s) {
    switch (s) {
        case FileStatus::Ok: return "ok";
        case FileStatus::Missing: return "missing";
        case FileStatus::Empty: return "empty";
        case FileStatus::WrongVersion: return "wrong_version";
        case FileStatus::Damaged: return "damaged";
        case FileStatus::Unreadable: return "unreadable";
    }
    return "unknown";
}

int runDump(const std::string& path, bool json) {
    const std::string colorsPath = colorFilePathFor(path);
    DocumentData data(0.0, 0.0);
    std::string error;
    const LoadResult result = loadDocument(path, colorsPath, data, error);
    if (!result.ok()) fail(Status::Damaged, error);

    Node root;
    root.add("file", path).add("version", static_cast<long long>(result.versionFound));
    addDrawState(root.object("draw_state"), data.drawState);
    addObserver(root.object("observer"), data.observer);
    addSight(root.object("current_sight"), data.currentSight);
    Node& sights = root.array("sights");
    for (size_t k = 0; k < data.sights.Count(); ++k) addSight(sights.object(""), data.sights.At(k));
    Node& places = root.array("custom_places");
    for (const CustomPlace& p : data.places)
        places.object("").add("name", p.name).add("lat_deg", p.latitude).add("lon_deg", p.longitude);
    Node& colors = root.object("colors");
    colors.add("file", colorsPath).add("status", std::string(statusName(result.colors)));
    addScheme(colors.object("black"), data.colorSchemes.black);
    addScheme(colors.object("white"), data.colorSchemes.white);
    addScheme(colors.object("red"), data.colorSchemes.red);
    addScheme(colors.object("active"), data.drawState.colorScheme);

    std::string out;
    if (json) {
        Json writer;
        toJson(root, writer);
        out = writer.str() + "\n";
    } else {
        toText(root, "", out);
    }
    std::fputs(out.c_str(), stdout);
    // The document was read; a damaged colour file is still a bad file.
    if (!result.colorError.empty()) fail(Status::Damaged, result.colorError);
    return kExitOk;
}

int run(const std::vector<std::string>& words) {
    Args args(words, {}, {"json"});
    const auto& pos = args.positional();
    if (pos.empty() || pos[0] != "dump") usageError("expected \"dump FILE\"");
    if (pos.size() != 2) usageError("\"dump\" takes one FILE");
    return runDump(pos[1], args.flag("json"));
}

}  // namespace

CELESTRA_CLI_COMMAND(Command{"doc", "print a document file as the program loads it",
                             "Usage: celestra-cli doc dump FILE [--json]\n\n"
                             "Prints the document FILE as the program loads it (after its load-time\n"
                             "rules): drawing state, observer state, current sight, saved sights,\n"
                             "custom places, and the colour file beside it (same folder and stem,\n"
                             "extension .colors) with its status; the colour schemes are the defaults\n"
                             "when that file is missing, of another version or damaged.\n"
                             "Exit code 4 when FILE is missing, empty, damaged or of another version\n"
                             "(the message names the byte offset, or the versions), or when the colour\n"
                             "file is damaged (the dump is printed first).\n",
                             run});

}  // namespace celestra::cli
