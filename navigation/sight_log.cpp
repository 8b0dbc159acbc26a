#include "navigation/sight_log.h"

#include <cstring>
#include <set>

#include "core/iso_time.h"
#include "core/json_lines.h"
#include "core/number_text.h"
#include "core/regular_file.h"
#include "navigation/sight_input.h"
#include "navigation/sight_reduction.h"

namespace celestra {

namespace {

const std::set<std::string> kSightKeys = {"body",         "star",   "limb",   "utc",           "hs",       "ap_lat",
                                          "ap_lon",       "ap_utc", "height", "temp",          "pressure", "index_min",
                                          "dip_short_nm", "course", "speed",  "no_corrections"};

// A CSV field, quoted when it holds a separator, a quote or a line end.
void appendCsvField(const std::string& text, std::string& out) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) {
        out += text;
        return;
    }
    out += '"';
    for (char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

std::string trimmed(const std::string& s) {
    const size_t a = s.find_first_not_of(' ');
    if (a == std::string::npos) return {};
    return s.substr(a, s.find_last_not_of(' ') - a + 1);
}

// The header cell of a Details row: "Sextant Alt. Hs", "Height h (M)".
std::string csvHeader(const DetailRow& row) {
    std::string h = trimmed(row.measurement);
    if (!row.symbol.empty()) h += " " + row.symbol;
    if (!row.unit.empty()) h += " (" + row.unit + ")";
    return h;
}

SightFileResult fault(Status status, std::size_t line, const std::string& message) {
    return {status, line, "line " + std::to_string(line) + ": " + message};
}

}  // namespace

std::string sightLogCsv(const ObservationList& list, const PlaceContext& context, int format) {
    std::string out;
    // The header comes from any sight's rows; the row names do not depend on
    // the values, except the last one's (star number or body index).
    const std::vector<DetailRow> names = fillDetails(CMeasure(CObserverState(kJ2000, 0.0)), context, format);
    for (size_t i = 0; i < names.size(); ++i) {
        if (i) out += ',';
        appendCsvField(i + 1 == names.size() ? std::string("BrightStar # / Body Index") : csvHeader(names[i]), out);
    }
    out += "\r\n";
    for (size_t s = 0; s < list.Count(); ++s) {
        const std::vector<DetailRow> rows = fillDetails(list.At(s), context, format);
        for (size_t i = 0; i < rows.size(); ++i) {
            if (i) out += ',';
            appendCsvField(trimmed(rows[i].value), out);
        }
        out += "\r\n";
    }
    return out;
}

std::string sightJsonLine(const CMeasure& sight, const PlaceContext& context) {
    std::string out = "{";
    const auto add = [&out](const char* key, const std::string& jsonValue) {
        if (out.size() > 1) out += ", ";
        out += '"';
        out += key;
        out += "\": ";
        out += jsonValue;
    };
    const auto text = [](const std::string& s) { return "\"" + s + "\""; };
    const auto number = [](double v) { return formatShortest(v); };
    if (sight.isStar) {
        add("star", std::to_string(sight.bodyIndex));
    } else {
        const bool known = sight.bodyIndex >= kMercury && sight.bodyIndex <= kMoon;
        add("body", text(known ? context.bodies[static_cast<size_t>(sight.bodyIndex - 1)].name : std::string("?")));
        if (sight.bodyIndex == kSun || sight.bodyIndex == kMoon) add("limb", text(sight.upperLimb ? "upper" : "lower"));
    }
    add("utc", text(formatIsoTimeMillis(sight.observationTime)));
    add("hs", number(sight.hs));
    add("ap_lat", number(sight.observer.latitude));
    add("ap_lon", number(sight.observer.longitude));
    add("ap_utc", text(formatIsoTimeMillis(sight.ApTime())));
    add("height", number(sight.observer.height));
    add("temp", number(sight.observer.temperature));
    add("pressure", number(sight.observer.pressure));
    add("index_min", number(sight.indexCorrection * 60.0));
    if (sight.dipShortEnabled != 0.0) add("dip_short_nm", number(sight.dipShortDistance));
    add("course", number(sight.course));
    add("speed", number(sight.speed));
    add("no_corrections", sight.correctionsDisabled ? "true" : "false");
    return out + "}";
}

std::string sightLogJsonLines(const ObservationList& list, const PlaceContext& context) {
    std::string out;
    for (size_t i = 0; i < list.Count(); ++i) out += sightJsonLine(list.At(i), context) + "\n";
    return out;
}

SightFileResult readSightLines(LineReader& in, const PlaceContext& context, ObservationList& out) {
    std::string text;
    std::size_t lineNumber = 0, read = 0;
    while (true) {
        const LineReader::Result got = in.next(text);
        if (got == LineReader::Result::End) break;
        if (got == LineReader::Result::Error)
            return {Status::IoError, lineNumber,
                    "reading failed after line " + std::to_string(lineNumber) + ": " + std::strerror(in.lastErrno())};
        ++lineNumber;
        if (got == LineReader::Result::TooLong)
            return fault(Status::Damaged, lineNumber, "longer than " + std::to_string(kSightLineMaxBytes) + " bytes");
        if (text.find_first_not_of(" \t\r") == std::string::npos) continue;
        if (++read > kSightFileMaxSights)
            return fault(Status::Damaged, lineNumber,
                         "more than " + std::to_string(kSightFileMaxSights) + " sights in one file");
        std::string error;
        const std::optional<FlatObject> object = parseFlatObject(text, error);
        if (!object) return fault(Status::Damaged, lineNumber, error);
        for (const auto& [key, value] : *object)
            if (!kSightKeys.count(key)) return fault(Status::Damaged, lineNumber, "unknown key \"" + key + "\"");
        const SightLookup lookup = [&](const std::string& key) -> std::optional<std::string> {
            const auto it = object->find(key);
            if (it == object->end() || it->second.kind == JsonScalar::Kind::Null) return std::nullopt;
            return it->second.text;
        };
        std::optional<SightInput> input = buildSight(
            lookup, context, [](const std::string& key) { return key; }, error);
        if (!input) return fault(Status::Damaged, lineNumber, error);
        if (!observationInEphemerisRange(input->sight, context))
            return fault(Status::OutsideEphemeris, lineNumber, "the sight's instant is outside the ephemeris");
        if (reduceSight(input->sight, context, input->hs) != Status::Ok) {
            // A place that fails inside the range: the file is damaged there.
            if (context.ephemeris)
                if (const std::string damage = context.ephemeris->damage(); !damage.empty())
                    return fault(Status::Damaged, lineNumber,
                                 "ephemeris file " + context.ephemeris->info().path + ": " + damage);
            return fault(Status::Failed, lineNumber, "the body's place is not available");
        }
        input->sight.active = 1;
        out.Append(input->sight);
    }
    return {};
}

}  // namespace celestra
