#include "solarsystem/comets.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "core/horizon.h"
#include "core/log.h"
#include "core/number_text.h"
#include "core/regular_file.h"

namespace celestra {

namespace {

// Columns `first`..`last` (from 1, inclusive) of a line, clipped to its length.
std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
    if (line.size() < first) return {};
    return line.substr(first - 1, std::min(last, line.size()) - (first - 1));
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The whole trimmed field as a number; a blank field gives `blank` when it
// is allowed. from_chars, so the reading never depends on the C locale.
template <class T>
bool number(std::string_view field, T& out, bool blankAllowed = false) {
    field = trim(field);
    if (field.empty()) {
        out = T{};
        return blankAllowed;
    }
    if (field.front() == '+') field.remove_prefix(1);
    const char* end = field.data() + field.size();
    const auto [ptr, ec] = std::from_chars(field.data(), end, out);
    if (ec != std::errc() || ptr != end) return false;
    if constexpr (std::is_floating_point_v<T>) return std::isfinite(out);
    return true;
}

bool leapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int daysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && leapYear(year) ? 29 : kDays[month - 1];
}

bool validDate(int year, int month, int day) {
    return year > -4700 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

// 8-bit text read as Latin-1, written as UTF-8; trailing blanks removed.
std::string displayName(std::string_view field) {
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t')) field.remove_suffix(1);
    std::string out;
    out.reserve(field.size());
    for (const char ch : field) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

ObserverSite siteOf(const CObserverState& o) {
    return ObserverSite{o.latitude, o.longitude, o.height, o.temperature, o.pressure};
}

// cometHeliocentric's codes: 1 bad elements or instant, 2 no convergence.
Status keplerStatus(int code) { return code == 1 ? Status::BadArgument : Status::Failed; }

}  // namespace

bool parseCometLine(std::string_view line, CometRecord& c) {
    if (line.size() < kCometLineMin || line.size() > kCometLineMax) return false;
    c.orbitType = line[4];
    if (c.orbitType != 'C' && c.orbitType != 'P' && c.orbitType != 'D') return false;
    if (!number(columns(line, 1, 4), c.periodicNumber, true)) return false;
    c.provisional = std::string(columns(line, 6, 12));
    if (!number(columns(line, 15, 18), c.perihelionYear) || !number(columns(line, 20, 21), c.perihelionMonth) ||
        !number(columns(line, 23, 29), c.perihelionDay) || !number(columns(line, 31, 39), c.q) ||
        !number(columns(line, 42, 49), c.e) || !number(columns(line, 52, 59), c.perihelionArgDeg) ||
        !number(columns(line, 62, 69), c.nodeDeg) || !number(columns(line, 72, 79), c.inclinationDeg) ||
        !number(columns(line, 92, 95), c.absoluteMagnitude) || !number(columns(line, 97, 101), c.slope))
        return false;
    if (!number(columns(line, 82, 85), c.epochYear, true) || !number(columns(line, 86, 87), c.epochMonth, true) ||
        !number(columns(line, 88, 89), c.epochDay, true))
        return false;

    // An impossible orbit or date never reaches the Kepler solution.
    const double wholeDay = std::floor(c.perihelionDay);
    if (!(c.q > 0.0) || !(c.e >= 0.0) || !(wholeDay >= 1.0 && wholeDay <= 31.0) ||
        !validDate(c.perihelionYear, c.perihelionMonth, static_cast<int>(wholeDay)))
        return false;
    const bool epochBlank = c.epochYear == 0 && c.epochMonth == 0 && c.epochDay == 0;
    if (!epochBlank && !validDate(c.epochYear, c.epochMonth, c.epochDay)) return false;
    // Four columns hold at most 9999; a wider reading (such as 1e99) is no magnitude.
    if (std::fabs(c.absoluteMagnitude) >= 10000.0) return false;

    c.perihelionJd = julianDayFromCalendar(c.perihelionYear, c.perihelionMonth, static_cast<int>(wholeDay), 0.0) +
                     (c.perihelionDay - wholeDay);
    c.epochJd = epochBlank ? 0.0 : julianDayFromCalendar(c.epochYear, c.epochMonth, c.epochDay, 0.0);
    c.hThousandths = static_cast<int32_t>(c.absoluteMagnitude * 1000.0);
    c.apparentMagnitude = 0.0;
    c.name = displayName(columns(line, 103, 159));
    const CometElements elements{c.q, c.e, c.inclinationDeg, c.nodeDeg, c.perihelionArgDeg, c.perihelionJd};
    return prepareCometOrbit(elements, c.orbit) == 0;
}

CometFileCounts parseCometText(const char* data, std::size_t size, std::vector<CometRecord>& out) {
    CometFileCounts counts;
    std::size_t pos = 0;
    while (pos < size) {
        std::size_t end = pos;
        while (end < size && data[end] != '\r' && data[end] != '\n') ++end;
        CometRecord record;
        if (end == pos) {
            // Only line ends at the start of the text: no line, nothing to count.
        } else if (parseCometLine(std::string_view(data + pos, end - pos), record)) {
            out.push_back(std::move(record));
            ++counts.accepted;
        } else {
            ++counts.rejected;
        }
        while (end < size && (data[end] == '\r' || data[end] == '\n')) ++end;
        pos = end;
    }
    return counts;
}

std::array<std::string, kCometFileCount> cometFilePaths(const std::string& dataFolder) {
    std::string folder = dataFolder;
    while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
    std::array<std::string, kCometFileCount> paths;
    for (int i = 0; i < kCometFileCount; ++i) paths[i] = folder + "/" + kCometFileNames[i];
    return paths;
}

std::unique_lock<std::timed_mutex> lockComets(CometList& list) {
    return std::unique_lock<std::timed_mutex>(list.lock, std::chrono::milliseconds(kCometLockWaitMs));
}

CometFileCounts readCometFile(const std::string& path, std::vector<CometRecord>& out, InputFileError& error) {
    std::vector<uint8_t> bytes;
    if (readRegularFile(path, kCometFileMaxBytes, bytes, error) != InputFileStatus::Ok) return {};
    return parseCometText(reinterpret_cast<const char*>(bytes.data()), bytes.size(), out);
}

int loadComets(CometList& list, const std::array<std::string, kCometFileCount>& paths) {
    // The files are read before the lock is taken, so the worker waits only for the swap.
    std::vector<CometRecord> records;
    CometFileCounts counts;
    std::vector<std::string> problems;
    for (const std::string& path : paths) {
        InputFileError error;
        const CometFileCounts c = readCometFile(path, records, error);
        if (error.status != InputFileStatus::Ok && error.status != InputFileStatus::Missing) {
            problems.push_back(inputFileMessage("comet file", path, error) + "; skipped");
            debugLog("%s\n", problems.back().c_str());
        }
        counts.accepted += c.accepted;
        counts.rejected += c.rejected;
    }
    const auto lock = lockComets(list);
    if (!lock.owns_lock()) return 0;
    list.records.swap(records);
    list.counts = counts;
    list.problems.swap(problems);
    // The old selection indexes the old list: empty it, and have the next step rebuild it.
    list.selection.clear();
    list.reselect = true;
    list.tracksValid = false;
    return 1;
}

int loadComets(CometList& list, const std::string& dataFolder) { return loadComets(list, cometFilePaths(dataFolder)); }

double cometMagnitude(double absoluteMagnitude, double slope, double deltaAu, double rAu) {
    return absoluteMagnitude + 5.0 * std::log10(deltaAu) + 2.5 * slope * std::log10(rAu);
}

Status cometDistances(const PlaceContext& context, const CometRecord& comet, JulianDay jdTt, double& deltaAu,
                      double& rAu) {
    deltaAu = rAu = 0.0;
    if (!comet.orbit.valid) return Status::BadArgument;
    if (context.ephemeris == nullptr) return Status::OutsideEphemeris;
    EarthState earth;
    if (const Status status = earthState(*context.ephemeris, jdTt, context.earth(), earth); status != Status::Ok)
        return status;
    Vector3 helio;
    if (const int rc = cometHeliocentric(comet.orbit, earth.jdTdb, helio); rc != 0) return keplerStatus(rc);
    deltaAu = (helio - earth.helioPos).norm();
    rAu = helio.norm();
    return Status::Ok;
}

Status cometApparentPlace(const PlaceContext& context, const CometRecord& comet, JulianDay jdUtc,
                          const ObserverSite* site, double& raHours, double& decDeg, double& distanceAu) {
    raHours = decDeg = distanceAu = 0.0;
    if (!comet.orbit.valid) return Status::BadArgument;
    if (context.ephemeris == nullptr) return Status::OutsideEphemeris;
    EphemerisFile& reader = *context.ephemeris;
    const JulianDay jdTt = ttFromUtc(jdUtc);
    EarthState earth;
    if (const Status status = earthState(reader, jdTt, context.earth(), earth); status != Status::Ok) return status;
    const CometOrbit& orbit = comet.orbit;
    // The position function answers the place pipeline in its integer
    // convention; why it failed is kept here.
    Status failure = Status::Failed;
    const BodyPositionFn position = [&reader, &orbit, &failure](JulianDay jdTdb, Vector3& pos) {
        Vector3 sun, vel, helio;
        if (const int rc = reader.solarSystemState(jdTdb, kSun, kOriginBarycentre, sun, vel); rc != 0) {
            failure = statusFromEphemerisCode(rc);
            return rc;
        }
        if (const int rc = cometHeliocentric(orbit, jdTdb, helio); rc != 0) {
            failure = keplerStatus(rc);
            return rc;
        }
        pos = sun + helio;
        return 0;
    };
    const int rc = site == nullptr
                       ? apparentBody(earth, position, raHours, decDeg, distanceAu)
                       : topocentricBody(earth, jdTt, deltaT(jdUtc), position, *site, raHours, decDeg, distanceAu);
    return rc == 0 ? Status::Ok : failure;
}

int selectVisibleComets(CometList& list, const PlaceContext& context, JulianDay jdUtc, int32_t limitThousandths) {
    list.selection.clear();
    const JulianDay jdTt = ttFromUtc(jdUtc);
    for (std::size_t i = 0; i < list.records.size(); ++i) {
        CometRecord& comet = list.records[i];
        double delta = 0.0, r = 0.0;
        comet.apparentMagnitude = cometDistances(context, comet, jdTt, delta, r) == Status::Ok
                                      ? cometMagnitude(comet.absoluteMagnitude, comet.slope, delta, r)
                                      : 0.0;
        if (limitThousandths >= comet.hThousandths) list.selection.push_back(static_cast<int>(i));
    }
    return static_cast<int>(list.selection.size());
}

double cometTrackStepDays(bool globalMode, double zoom) {
    if (globalMode) return 14.0;
    return zoom < 10.0 ? 7.0 : 1.0;
}

CometStepResult updateComets(CometList& list, const CObserverState& observer, const CometStepInputs& inputs,
                             const PlaceContext& context, std::vector<CometTrack>& tracks) {
    const auto lock = lockComets(list);
    if (!lock.owns_lock()) return CometStepResult::Busy;

    bool stale = !list.tracksValid;
    if (inputs.magnitudeLimit != list.lastLimit || list.reselect) {
        list.lastLimit = inputs.magnitudeLimit;
        list.reselect = false;
        selectVisibleComets(list, context, observer.instant, inputs.magnitudeLimit);
        stale = true;
    }
    if (!observer.IsSameAs(list.lastObserver, kCometsInstantTolerance)) stale = true;
    const double step = cometTrackStepDays(inputs.globalMode, inputs.zoom);
    if (step != list.lastStepDays) stale = true;
    if (!inputs.cometsOn) {
        list.tracksValid = false;
        tracks.clear();
        return CometStepResult::Cleared;
    }
    if (!stale) return CometStepResult::Unchanged;

    const ObserverSite site = siteOf(observer);
    const int refraction = observer.refraction != 0 ? kRefractionSite : kRefractionNone;
    tracks.resize(list.selection.size());
    for (std::size_t k = 0; k < list.selection.size(); ++k) {
        CometRecord& comet = list.records[static_cast<std::size_t>(list.selection[k])];
        CometTrack& track = tracks[k];
        track.comet = list.selection[k];
        track.name = comet.name;
        track.absoluteMagnitude = comet.absoluteMagnitude;
        for (int j = 0; j < kCometTrackPoints; ++j) {
            const JulianDay u = observer.instant + (j - kCometPresentPoint) * step;
            CometTrackPoint& point = track.points[static_cast<std::size_t>(j)];
            const CalendarDate date = calendarFromJulianDay(u);
            char label[24];
            snprintfC(label, sizeof label, "%d.%d", date.month, date.day);
            point.label = label;
            double ra = 0.0, dec = 0.0, distance = 0.0;
            point.valid = cometApparentPlace(context, comet, u, &site, ra, dec, distance) == Status::Ok;
            if (!point.valid) {
                point.zenithDistanceFixed = point.azimuthFixed = 0;
                continue;
            }
            const ChartFrame frame =
                makeChartFrame(localSiderealTime(siderealTimeFromUtc(u, false), site.longitude), site.latitude);
            double zenithDistance = 0.0, azimuth = 0.0;
            chartZenithAzimuth(frame, ra, dec, zenithDistance, azimuth);
            zenithDistance = apparentZenithDistance(site, refraction, zenithDistance);
            if (j == kCometPresentPoint) {
                track.raHours = ra;
                track.decDeg = dec;
            }
            point.zenithDistanceFixed = toFixed16(zenithDistance);
            point.azimuthFixed = toFixed16(azimuth);
        }
        double delta = 0.0, r = 0.0;
        if (cometDistances(context, comet, ttFromUtc(observer.instant), delta, r) == Status::Ok)
            comet.apparentMagnitude = cometMagnitude(comet.absoluteMagnitude, comet.slope, delta, r);
        track.apparentMagnitude = comet.apparentMagnitude;
    }
    list.lastObserver = observer;
    list.lastStepDays = step;
    list.tracksValid = true;
    return CometStepResult::Recomputed;
}

std::string cometInfoText(double absoluteMagnitude, double apparentMagnitude) {
    char text[64];
    snprintfC(text, sizeof text, "M-abs:%4.1lf, M-app:%4.1lf", absoluteMagnitude, apparentMagnitude);
    return text;
}

std::string cometInfoText(const CometRecord& comet) {
    return cometInfoText(comet.absoluteMagnitude, comet.apparentMagnitude);
}

}  // namespace celestra
