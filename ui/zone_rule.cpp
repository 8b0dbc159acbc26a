#include "ui/zone_rule.h"

#include <QDateTime>
#include <cmath>

namespace celestra {
namespace {
constexpr double kUnixEpochJd = 2440587.5;
double jdOfMsecs(qint64 msecs) { return kUnixEpochJd + static_cast<double>(msecs) / 86400000.0; }
QDateTime utcDateTime(double jd) {
    return QDateTime::fromMSecsSinceEpoch(std::llround((jd - kUnixEpochJd) * 86400000.0), QTimeZone::utc());
}
}  // namespace

ZoneRule ZoneRule::fixed(double offsetDays) {
    ZoneRule r;
    r.fixed_ = true;
    r.fixedDays_ = offsetDays;
    return r;
}

ZoneRule::ZoneRule(const ZoneChoice& choice, double longitudeDeg) : choice_(choice), longitude_(longitudeDeg) {}

double ZoneRule::offsetDaysAt(double jdUtc) const {
    return fixed_ ? fixedDays_ : zoneOffsetDays(choice_, jdUtc, longitude_);
}

bool ZoneRule::daylightAt(double jdUtc) const { return !fixed_ && zoneDaylight(choice_, jdUtc); }

QTimeZone ZoneRule::qtZone() const {
    if (fixed_) return {};
    if (choice_.source == ZoneSource::SystemClock) return QTimeZone::systemTimeZone();
    if (choice_.source == ZoneSource::Place) return namedZone(choice_.placeZone);
    return {};
}

double ZoneRule::utcFromLocal(const QDate& date, const QTime& time) const {
    const QTimeZone zone = qtZone();
    if (zone.isValid()) return jdOfMsecs(QDateTime(date, time, zone).toMSecsSinceEpoch());
    const double reading = jdOfMsecs(QDateTime(date, time, QTimeZone::utc()).toMSecsSinceEpoch());
    return reading - offsetDaysAt(reading);
}

QTimeZone namedZone(const std::string& id) {
    if (id.empty()) return {};
    const QTimeZone zone(QByteArray::fromStdString(id));
    return zone.isValid() ? zone : QTimeZone();
}

QString namedZoneText(const std::string& id, double jdUtc) {
    const QTimeZone zone = namedZone(id);
    if (!zone.isValid()) return {};
    const QDateTime at = utcDateTime(jdUtc);
    const int seconds = zone.offsetFromUtc(at);
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1 (%2, UTC%3%4:%5)")
        .arg(QString::fromStdString(id), zone.abbreviation(at), seconds < 0 ? QStringLiteral("-") : QStringLiteral("+"))
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

}  // namespace celestra
