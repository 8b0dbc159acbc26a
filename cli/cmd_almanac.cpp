// celestra-cli almanac: the nautical almanac's daily pages for one to three
// days, as text, as JSON or (with the desktop program's build) as a PDF.
#include <cstdio>
#include <string>

#include "cli/almanac_pdf.h"
#include "cli/cli.h"
#include "cli/ephemeris_option.h"
#include "core/iso_time.h"

namespace celestra::cli {
namespace {

AlmanacPdfWriter& pdfWriter() {
    static AlmanacPdfWriter writer = nullptr;
    return writer;
}

const char* planetName(const PlaceContext& context, int body) {
    return context.bodies[static_cast<size_t>(body - 1)].name.c_str();
}

std::string dateText(const AlmanacDay& day) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", day.year, day.month, day.day);
    return buffer;
}

void writeJson(const NauticalAlmanac& a, const PlaceContext& context) {
    Json j;
    j.beginObject().key("hours").beginArray();
    const auto ghaDec = [&j](const char* key, const GhaDec& g) {
        j.key(key).beginObject().field("gha", g.gha).field("dec", g.dec).endObject();
    };
    for (const AlmanacHour& h : a.hours) {
        j.beginObject().field("utc", formatIsoTime(h.utc)).field("aries_gha", h.ariesGha);
        ghaDec("sun", h.sun);
        for (size_t p = 0; p < kAlmanacPlanets.size(); ++p) {
            std::string key = planetName(context, kAlmanacPlanets[p]);
            for (char& c : key) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            ghaDec(key.c_str(), h.planets[p]);
        }
        j.key("moon").beginObject().field("gha", h.moon.gha).field("v", h.moonV).field("dec", h.moon.dec);
        j.field("d", h.moonD).field("hp", h.moonHp).endObject();
        j.endObject();
    }
    j.endArray().key("stars").beginArray();
    for (const AlmanacStar& s : a.stars)
        j.beginObject().field("name", s.name).field("bs", s.number).field("sha", s.sha).field("dec", s.dec).endObject();
    j.endArray().key("days").beginArray();
    for (const AlmanacDay& d : a.days) {
        j.beginObject().field("date", dateText(d)).field("sun_sd", d.sunSd).field("moon_sd", d.moonSd);
        j.field("sun_d", d.sunD).field("eqt_00h_s", d.eqt00hSeconds).field("eqt_12h_s", d.eqt12hSeconds);
        j.field("aries_mer_pass", almanacClock(d.ariesMeridianPassage));
        j.field("sun_mer_pass", almanacClock(d.sunMeridianPassage));
        j.field("moon_upper", almanacClock(d.moonUpper)).field("moon_lower", almanacClock(d.moonLower));
        j.field("moon_age_days", d.moonAgeDays).field("moon_illuminated_pct", d.moonIlluminatedPercent);
        j.key("planets").beginArray();
        for (const AlmanacPlanetDay& p : d.planets)
            j.beginObject()
                .field("name", p.name)
                .field("mer_pass", almanacClock(p.meridianPassage))
                .field("magnitude", p.magnitude)
                .field("v", p.v)
                .field("d", p.d)
                .endObject();
        j.endArray().endObject();
    }
    j.endArray().key("events").beginArray();
    for (const AlmanacLatitudeRow& r : a.events) {
        j.beginObject().field("date", dateText(a.days[static_cast<size_t>(r.dayIndex)])).field("lat", r.latitude);
        const std::pair<const char*, const AlmanacEvent*> cells[] = {{"sunrise", &r.sunrise},
                                                                     {"sunset", &r.sunset},
                                                                     {"civil_begin", &r.civilBegin},
                                                                     {"civil_end", &r.civilEnd},
                                                                     {"nautical_begin", &r.nauticalBegin},
                                                                     {"nautical_end", &r.nauticalEnd},
                                                                     {"moonrise", &r.moonrise},
                                                                     {"moonset", &r.moonset}};
        for (const auto& [key, event] : cells) {
            if (event->happens()) j.field(key, almanacClock(event->hours));
            else j.nullField(key);
        }
        j.key("note").beginObject();
        for (const auto& [key, event] : cells)
            if (!event->happens()) j.field(key, almanacEventNoteText(event->note));
        j.endObject().endObject();
    }
    j.endArray().endObject();
    std::printf("%s\n", j.str().c_str());
}

void writeText(const NauticalAlmanac& a, const PlaceContext& context) {
    for (size_t d = 0; d < a.days.size(); ++d) {
        const AlmanacDay& day = a.days[d];
        std::printf("%s%s (UT)\n", d ? "\n" : "", dateText(day).c_str());
        std::printf("UT    ARIES GHA |   SUN GHA     Dec   |");
        for (int body : kAlmanacPlanets) std::printf("  %-8s GHA     Dec   |", planetName(context, body));
        std::printf("   MOON GHA    v      Dec     d    HP\n");
        for (size_t k = d * 24; k < d * 24 + 24; ++k) {
            const AlmanacHour& h = a.hours[k];
            std::printf("%02zu    %s  | %s %s |", k % 24, almanacHourAngle(h.ariesGha).c_str(),
                        almanacHourAngle(h.sun.gha).c_str(), almanacDeclination(h.sun.dec).c_str());
            for (const GhaDec& p : h.planets)
                std::printf("  %s %s |", almanacHourAngle(p.gha).c_str(), almanacDeclination(p.dec).c_str());
            std::printf(" %s %5s %s %5s %5s\n", almanacHourAngle(h.moon.gha).c_str(), almanacMinutes(h.moonV).c_str(),
                        almanacDeclination(h.moon.dec).c_str(), almanacMinutes(h.moonD, false).c_str(),
                        almanacMinutes(h.moonHp).c_str());
        }
        std::printf("Sun: SD %s  d %s  Eqn. of time 00h %s 12h %s  Mer. pass. %s\n", almanacMinutes(day.sunSd).c_str(),
                    almanacMinutes(day.sunD, false).c_str(), almanacEquationOfTime(day.eqt00hSeconds).c_str(),
                    almanacEquationOfTime(day.eqt12hSeconds).c_str(), almanacClock(day.sunMeridianPassage).c_str());
        std::printf("Moon: SD %s  Mer. pass. upper %s lower %s  Age %.0f d  %.0f%% illuminated\n",
                    almanacMinutes(day.moonSd).c_str(), almanacClock(day.moonUpper).c_str(),
                    almanacClock(day.moonLower).c_str(), day.moonAgeDays, day.moonIlluminatedPercent);
        std::printf("Aries: Mer. pass. %s\n", almanacClock(day.ariesMeridianPassage).c_str());
        for (const AlmanacPlanetDay& p : day.planets)
            std::printf("%-8s Mer. pass. %s  Mag. %+.1f  v %s  d %s\n", p.name.c_str(),
                        almanacClock(p.meridianPassage).c_str(), p.magnitude, almanacMinutes(p.v).c_str(),
                        almanacMinutes(p.d, false).c_str());
    }
    std::printf("\nStars (%s)             SHA       Dec\n",
                dateText(a.days[static_cast<size_t>(a.middleDay())]).c_str());
    for (const AlmanacStar& s : a.stars)
        std::printf("%-16s %5d  %s  %s\n", s.name, s.number, almanacHourAngle(s.sha).c_str(),
                    almanacDeclination(s.dec).c_str());
    if (a.events.empty()) return;
    std::printf("\nLat     Naut.   Civil   Sunrise Sunset  Civil   Naut.   Moonrise Moonset (UT at Greenwich)\n");
    for (const AlmanacLatitudeRow& r : a.events) {
        if (r.latitude == kAlmanacLatitudes.front())
            std::printf("%s\n", dateText(a.days[static_cast<size_t>(r.dayIndex)]).c_str());
        std::printf("%c%-3.0f", r.latitude < 0.0 ? 'S' : 'N', std::fabs(r.latitude));
        for (const AlmanacEvent* e : {&r.nauticalBegin, &r.civilBegin, &r.sunrise, &r.sunset, &r.civilEnd,
                                      &r.nauticalEnd, &r.moonrise, &r.moonset})
            std::printf("  %-6s", almanacEventText(*e).c_str());
        std::printf("\n");
    }
}

int runAlmanac(const std::vector<std::string>& words) {
    const Args args(words, {"date", "days", "pdf", "paper", "ephemeris"}, {"json"});
    if (!args.positional().empty()) usageError("unexpected argument \"" + args.positional().front() + "\"");
    const std::string date = args.require("date");
    const std::optional<JulianDay> jd0 = parseIsoTime(date + "T00:00:00");
    if (!jd0 || date.size() != 10) usageError("--date must be YYYY-MM-DD, not \"" + date + "\"");
    const long days = args.integer("days").value_or(3);
    if (days < 1 || days > 3) usageError("--days must be 1, 2 or 3");
    if (args.flag("json") && args.has("pdf")) usageError("give --json or --pdf, not both");
    const std::string paper = args.value("paper").value_or("a4");
    if (paper != "a4" && paper != "letter") usageError("--paper must be a4 or letter");
    if (args.has("paper") && !args.has("pdf")) usageError("--paper goes with --pdf");
    if (args.has("pdf") && !pdfWriter())
        fail(Status::Failed, "PDF output comes with the desktop program's build, which this one is not");

    const EphemerisInfo info = openEphemerisOrFail(args);
    const PlaceContext context = makePlaceContext(processEphemeris());
    const CalendarDate c = calendarFromJulianDay(*jd0);
    NauticalAlmanac almanac;
    if (computeAlmanac(context, c.year, c.month, c.day, static_cast<int>(days), true, almanac) != Status::Ok)
        failOutsideEphemeris(info, "the almanac from " + date);

    if (const std::optional<std::string> path = args.value("pdf")) {
        std::string error;
        if (!pdfWriter()(almanac, *path, paper == "letter" ? PaperSize::Letter : PaperSize::A4, error))
            fail(Status::IoError, "cannot write " + *path + ": " + error);
        return kExitOk;
    }
    if (args.flag("json")) writeJson(almanac, context);
    else writeText(almanac, context);
    return kExitOk;
}

}  // namespace

bool registerAlmanacPdfWriter(AlmanacPdfWriter writer) {
    pdfWriter() = writer;
    return true;
}

CELESTRA_CLI_COMMAND(Command{
    "almanac", "the nautical almanac's daily pages for one to three days",
    std::string(
        "Usage: celestra-cli almanac --date YYYY-MM-DD [--days 1..3] [--json | --pdf FILE [--paper a4|letter]]\n"
        "                            [--ephemeris PATH]\n\n"
        "The daily pages from --date on (3 days by default): for each hour of UT the GHA\n"
        "of Aries and the GHA and declination of the Sun, Venus, Mars, Jupiter, Saturn and\n"
        "the Moon with the Moon's v, d and HP; the 57 navigational stars and Polaris (SHA\n"
        "and declination at 12h UT of the middle day); each day's semidiameters, equation\n"
        "of time, meridian passages, the Moon's age and phase, the planets' magnitude, v\n"
        "and d; and sunrise, sunset, civil and nautical twilight, moonrise and moonset for\n"
        "the latitude rows 72 N to 60 S at Greenwich (UT). Values are rounded as the printed\n"
        "almanac rounds them (0.1', the minute); events that do not happen are named:\n"
        "\"always above\", \"always below\", \"twilight all night\". A moonrise, moonset or\n"
        "Moon transit that a day lacks is the next day's, as 24:mm and later.\n\n"
        "  --pdf FILE         write the pages and the increments and corrections as a PDF\n"
        "                     (A4, or US Letter with --paper letter)\n") +
        kEphemerisOptionUsage +
        "  --json             one JSON document, angles in degrees unrounded: hours (utc,\n"
        "                     aries_gha, sun, venus, mars, jupiter, saturn {gha, dec}, moon\n"
        "                     {gha, v, dec, d, hp}), stars (name, bs, sha, dec), days (date,\n"
        "                     sun_sd, moon_sd, sun_d, eqt_00h_s, eqt_12h_s, aries_mer_pass,\n"
        "                     sun_mer_pass, moon_upper, moon_lower, moon_age_days,\n"
        "                     moon_illuminated_pct, planets [name, mer_pass, magnitude, v, d]),\n"
        "                     events (date, lat, sunrise, sunset, civil_begin, civil_end,\n"
        "                     nautical_begin, nautical_end, moonrise, moonset as \"hh:mm\" or\n"
        "                     null, and note naming why each null one does not happen)\n",
    runAlmanac});

}  // namespace celestra::cli
