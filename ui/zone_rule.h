// The zone the Time page chose, as the pages apply it at any instant: the
// offsets come from the engine's rule (the system's zone, the longitude's,
// a custom one, or the place's named zone from the tz database); a local
// date and time typed into a page is turned back into UTC through Qt's
// time zones, which know where daylight saving skips or repeats an hour.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <QTimeZone>

#include "sky/zone_choice.h"

namespace celestra {

class ZoneRule {
public:
    // A fixed offset (days, local minus UTC): what the pages used before a
    // zone could change with the date.
    static ZoneRule fixed(double offsetDays);
    ZoneRule(const ZoneChoice& choice, double longitudeDeg);

    double offsetDaysAt(double jdUtc) const;
    bool daylightAt(double jdUtc) const;
    // The UTC Julian day of a local date and time. A time that daylight
    // saving skips moves forward by the gap (01:30 on a night the clocks go
    // from 01:00 to 02:00 is 02:30); a repeated one is its first occurrence.
    double utcFromLocal(const QDate& date, const QTime& time) const;

private:
    ZoneRule() = default;
    // The Qt zone behind a database-backed choice; invalid for a fixed offset.
    QTimeZone qtZone() const;
    ZoneChoice choice_;
    double longitude_ = 0.0;
    bool fixed_ = false;
    double fixedDays_ = 0.0;
};

// The Qt zone of an IANA identifier when Qt knows it; invalid otherwise.
QTimeZone namedZone(const std::string& id);
// "Europe/London (BST, UTC+01:00)" at a UTC instant; "" for an unknown name.
QString namedZoneText(const std::string& id, double jdUtc);

}  // namespace celestra
