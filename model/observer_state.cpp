#include "model/observer_state.h"

#include <cmath>

#include "core/archive.h"
#include "core/time_scales.h"

namespace celestra {

CObserverState::CObserverState() : instant(currentJulianDayUtc()), zoneOffset(platformZoneOffset().offsetDays) {}

CObserverState::CObserverState(double instantJdUtc, double zoneOffsetDays)
    : instant(instantJdUtc), zoneOffset(zoneOffsetDays) {}

bool CObserverState::IsSameAs(const CObserverState& other, double toleranceDays) const {
    // Written so that every comparison with a NaN yields "changed".
    if (!(std::fabs(instant - other.instant) < toleranceDays)) return false;
    if ((flags & kTestedFlagBit) != (other.flags & kTestedFlagBit)) return false;
    return zoneOffset == other.zoneOffset && latitude == other.latitude && longitude == other.longitude &&
           height == other.height && temperature == other.temperature && pressure == other.pressure &&
           refraction == other.refraction;
}

void CObserverState::Serialize(ArchiveWriter& ar) const {
    ar.writeInt32(flags);
    for (double v : {instant, zoneOffset, latitude, longitude, height, temperature, pressure}) ar.writeDouble(v);
    for (int32_t v : {latitudeDegrees, latitudeMinutes, latitudeSeconds, longitudeDegrees, longitudeMinutes,
                      longitudeSeconds, refraction})
        ar.writeInt32(v);
}

void CObserverState::Serialize(ArchiveReader& ar) {
    flags = ar.readInt32();
    for (double* v : {&instant, &zoneOffset, &latitude, &longitude, &height, &temperature, &pressure})
        *v = ar.readDouble();
    for (int32_t* v : {&latitudeDegrees, &latitudeMinutes, &latitudeSeconds, &longitudeDegrees, &longitudeMinutes,
                       &longitudeSeconds, &refraction})
        *v = ar.readInt32();
}

void setObserverPlace(CObserverState& observer, double latitudeDeg, double longitudeDeg) {
    observer.latitude = latitudeDeg;
    observer.longitude = longitudeDeg;
    auto entered = [](double v, int32_t& d, int32_t& m, int32_t& s) {
        const int total = static_cast<int>(std::lround(std::fabs(v) * 3600.0));
        d = (total / 3600) * (v < 0 ? -1 : 1);
        m = (total / 60) % 60;
        s = total % 60;
    };
    entered(latitudeDeg, observer.latitudeDegrees, observer.latitudeMinutes, observer.latitudeSeconds);
    entered(longitudeDeg, observer.longitudeDegrees, observer.longitudeMinutes, observer.longitudeSeconds);
}

ObserverSite observerSite(const CObserverState& observer) {
    ObserverSite site;
    site.latitude = observer.latitude;
    site.longitude = observer.longitude;
    site.height = observer.height;
    site.temperature = observer.temperature;
    site.pressure = observer.pressure;
    return site;
}

}  // namespace celestra
