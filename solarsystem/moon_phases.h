// The lunar phase calendar: the Moon's illuminated fraction and bright limb
// day by day, and the instants of the principal phases.
//
// A principal phase is the instant when the Moon's apparent geocentric
// ecliptic longitude minus the Sun's (true equinox and ecliptic of date) is
// 0° (new), 90° (first quarter), 180° (full) or 270° (last quarter). The
// extremes of the Sun-Moon angle are not used: away from the nodes they miss
// new and full Moon by up to half an hour.
#pragma once

#include <string>
#include <vector>

#include "solarsystem/planets.h"

namespace celestra {

enum class LunarPhase { New = 0, FirstQuarter = 1, Full = 2, LastQuarter = 3 };

// "new", "first_quarter", "full", "last_quarter".
const char* lunarPhaseKey(LunarPhase phase);
// "New Moon", "First Quarter", "Full Moon", "Last Quarter".
const char* lunarPhaseName(LunarPhase phase);

// Apparent geocentric ecliptic longitude of the Moon minus the Sun's, degrees
// [0, 360), at a UTC instant. Returns the failing place's code (then 0).
Status moonSunLongitudeDifference(const PlaceContext& context, JulianDay jdUtc, double& differenceDeg);

struct LunarPhaseEvent {
    LunarPhase phase = LunarPhase::New;
    JulianDay jdUtc = 0.0;  // to well under a second
};

// The principal phases whose instants lie in [jdUtcBegin, jdUtcEnd), in time
// order. Returns 0, or the code of the first place that failed (then the
// list holds what was found before it).
Status findLunarPhases(const PlaceContext& context, JulianDay jdUtcBegin, JulianDay jdUtcEnd,
                       std::vector<LunarPhaseEvent>& out);

// "YYYY-MM-DDThh:mm" of a UTC instant rounded to the nearest minute.
std::string formatPhaseMinute(JulianDay jdUtc);

struct LunarCalendarDay {
    int day = 0;                       // 1..31
    JulianDay jdUtc = 0.0;             // local midnight of that day, as UTC
    double illuminatedFraction = 0.0;  // 0..1
    double brightLimbDeg = 0.0;        // position angle of the bright limb, north through east
    double phaseAngleDeg = 0.0;
    bool valid = false;  // false when the place failed (outside the ephemeris)
};

struct LunarCalendarMonth {
    int year = 0, month = 0;
    std::vector<LunarCalendarDay> days;   // one per day of the month
    std::vector<LunarPhaseEvent> phases;  // principal phases within the local month
    Status status = Status::Ok;
};

// The page's month: every day at local midnight (zoneOffsetDays = local
// minus UTC) and the principal phases from local midnight of the 1st to
// local midnight of the 1st of the next month.
LunarCalendarMonth lunarCalendarMonth(const PlaceContext& context, int year, int month, double zoneOffsetDays);

}  // namespace celestra
