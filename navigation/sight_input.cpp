#include "navigation/sight_input.h"

#include <strings.h>

#include "catalogs/star_catalog.h"
#include "core/iso_time.h"
#include "core/number_text.h"
#include "navigation/sight_reduction.h"

namespace celestra {

std::optional<SightInput> buildSight(const SightLookup& lookup, const PlaceContext& context,
                                     const std::function<std::string(const std::string&)>& spell, std::string& error) {
    const auto bad = [&](const std::string& message) -> std::optional<SightInput> {
        error = message;
        return std::nullopt;
    };
    // A number within [low, high]; `fallback` when absent.
    const auto numberOf = [&](const std::string& key, double fallback, double low, double high, double& out) -> bool {
        const std::optional<std::string> text = lookup(key);
        if (!text) {
            out = fallback;
            return true;
        }
        const std::optional<double> v = parseDecimal(*text);
        if (!v || *v < low || *v > high) {
            error = spell(key) + " must be a number from " + formatShortest(low) + " to " + formatShortest(high) +
                    ", not \"" + *text + "\"";
            return false;
        }
        out = *v;
        return true;
    };
    const auto instantOf = [&](const std::string& key, std::optional<JulianDay>& out) -> bool {
        const std::optional<std::string> text = lookup(key);
        if (!text) return true;
        std::string problem;
        out = parseIsoTime(*text, &problem);
        if (!out)
            error =
                spell(key) + (problem.empty() ? " must be YYYY-MM-DDThh:mm:ss, not \"" + *text + "\"" : ": " + problem);
        return out.has_value();
    };

    const std::optional<std::string> body = lookup("body"), star = lookup("star");
    if (body.has_value() == star.has_value()) return bad("give either " + spell("body") + " or " + spell("star"));
    std::optional<JulianDay> utc, apUtc;
    if (!lookup("utc")) return bad(spell("utc") + " is required");
    if (!instantOf("utc", utc) || !instantOf("ap_utc", apUtc)) return std::nullopt;
    for (const char* key : {"hs", "ap_lat", "ap_lon"})
        if (!lookup(key)) return bad(spell(key) + " is required");

    SightInput in{CMeasure(CObserverState(apUtc.value_or(*utc), 0.0)), 0.0};
    CMeasure& m = in.sight;
    m.observationTime = *utc;
    m.timeEnteredAsUtc = 1;
    if (star) {
        const std::optional<double> n = parseDecimal(*star);
        const int number = n && *n == static_cast<int>(*n) ? static_cast<int>(*n) : 0;
        if (!starByNumber(number) || isPlaceholderStar(number))
            return bad(spell("star") + " needs a Bright Star number 1..9110 that denotes a star, not \"" + *star +
                       "\"");
        m.isStar = 1;
        m.bodyIndex = number;
    } else {
        m.isStar = 0;
        for (int i = kMercury; i <= kMoon; ++i)
            if (i != kEarth && ::strcasecmp(body->c_str(), context.bodies[i - 1].name.c_str()) == 0) m.bodyIndex = i;
        if (m.bodyIndex < 0) return bad("unknown body \"" + *body + "\" (Mercury .. Pluto, Sun, Moon)");
    }
    if (const std::optional<std::string> limb = lookup("limb")) {
        if (m.isStar || (m.bodyIndex != kSun && m.bodyIndex != kMoon))
            return bad(spell("limb") + " applies to the Sun and the Moon only");
        if (*limb != "lower" && *limb != "upper") return bad(spell("limb") + " must be lower or upper");
        m.upperLimb = *limb == "upper" ? 1 : 0;
    }

    double lat = 0.0, lon = 0.0;
    if (!numberOf("hs", 0.0, 0.0, 90.0, in.hs) || !numberOf("ap_lat", 0.0, -90.0, 90.0, lat) ||
        !numberOf("ap_lon", 0.0, -180.0, 360.0, lon))
        return std::nullopt;
    m.observer.latitude = lat;
    m.observer.longitude = lon > 180.0 ? lon - 360.0 : lon;

    const struct {
        const char* key;
        EnviroField field;
    } enviro[] = {{"height", EnviroField::Height},
                  {"temp", EnviroField::Temperature},
                  {"pressure", EnviroField::Pressure},
                  {"index_min", EnviroField::IndexCorrection},
                  {"dip_short_nm", EnviroField::DipShortDistance},
                  {"speed", EnviroField::Speed},
                  {"course", EnviroField::Course}};
    for (const auto& e : enviro) {
        const EnviroRange range = enviroRange(e.field);
        double v = 0.0;
        if (!numberOf(e.key, enviroValue(m, e.field), range.low, range.high, v)) return std::nullopt;
        setEnviro(m, e.field, v);
    }
    if (lookup("dip_short_nm")) setDipShortEnabled(m, true);
    if (const std::optional<std::string> off = lookup("no_corrections")) {
        if (*off != "true" && *off != "false") return bad(spell("no_corrections") + " must be true or false");
        setCorrectionsDisabled(m, *off == "true");
    }
    return in;
}

}  // namespace celestra
