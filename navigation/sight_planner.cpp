#include "navigation/sight_planner.h"

#include <algorithm>
#include <cmath>

#include "catalogs/star_catalog.h"
#include "catalogs/star_place.h"
#include "core/horizon.h"
#include "core/number_text.h"
#include "navigation/navigational_stars.h"
#include "solarsystem/rise_set.h"

namespace celestra {

namespace {

constexpr int kPlanBodies[] = {kVenus, kMars, kJupiter, kSaturn, kMoon};

// A candidate set under comparison.
struct SetScore {
    double smallestGap = -1.0;
    double faintest = 0.0;        // magnitude of the faintest member
    double altitudeSpread = 0.0;  // Σ |Hc − 45°|
};

SetScore score(const std::vector<PlanBody>& bodies, const std::vector<size_t>& set) {
    SetScore s;
    std::vector<double> azimuths;
    s.faintest = -1e9;
    for (size_t i : set) {
        azimuths.push_back(bodies[i].zn);
        s.faintest = std::max(s.faintest, bodies[i].magnitude);
        s.altitudeSpread += std::fabs(bodies[i].hc - kPlanPreferredAltitudeDeg);
    }
    s.smallestGap = smallestAzimuthGap(azimuths);
    return s;
}

// Calls `visit` with every combination of `k` of the indices in `pool`.
template <class Visit>
void combinations(const std::vector<size_t>& pool, size_t k, Visit visit) {
    std::vector<size_t> pick(k);
    for (size_t i = 0; i < k; ++i) pick[i] = i;
    std::vector<size_t> set(k);
    while (true) {
        for (size_t i = 0; i < k; ++i) set[i] = pool[pick[i]];
        visit(set);
        size_t i = k;
        while (i > 0 && pick[i - 1] == pool.size() - k + (i - 1)) --i;
        if (i == 0) return;
        ++pick[i - 1];
        for (size_t j = i; j < k; ++j) pick[j] = pick[j - 1] + 1;
    }
}

std::string degreesText(double degrees) { return formatShortest(degrees) + "\u00b0"; }

}  // namespace

double smallestAzimuthGap(std::vector<double> azimuths) {
    if (azimuths.size() < 2) return 360.0;
    std::sort(azimuths.begin(), azimuths.end());
    double gap = 360.0 - (azimuths.back() - azimuths.front());
    for (size_t i = 1; i < azimuths.size(); ++i) gap = std::min(gap, azimuths[i] - azimuths[i - 1]);
    return gap;
}

std::vector<size_t> chooseBestSet(const std::vector<PlanBody>& bodies, int count) {
    std::vector<size_t> pool(bodies.size());
    for (size_t i = 0; i < pool.size(); ++i) pool[i] = i;
    std::stable_sort(pool.begin(), pool.end(),
                     [&](size_t a, size_t b) { return bodies[a].magnitude < bodies[b].magnitude; });
    if (pool.size() > kPlanSearchCandidates) pool.resize(kPlanSearchCandidates);
    const size_t k = static_cast<size_t>(std::max(count, 1));
    std::vector<size_t> best = pool;
    if (pool.size() > k) {
        double widest = -1.0;
        combinations(pool, k, [&](const std::vector<size_t>& set) {
            widest = std::max(widest, score(bodies, set).smallestGap);
        });
        SetScore chosen;
        combinations(pool, k, [&](const std::vector<size_t>& set) {
            const SetScore s = score(bodies, set);
            if (s.smallestGap < widest - kPlanGapToleranceDeg) return;
            const bool better = chosen.smallestGap < 0.0 || s.faintest < chosen.faintest ||
                                (s.faintest == chosen.faintest && s.altitudeSpread < chosen.altitudeSpread);
            if (better) {
                chosen = s;
                best = set;
            }
        });
    }
    std::sort(best.begin(), best.end(), [&](size_t a, size_t b) { return bodies[a].zn < bodies[b].zn; });
    return best;
}

Status civilTwilightInstant(const PlaceContext& context, double latitude, double longitude, int year, int month,
                            int day, PlanTwilight twilight, JulianDay& utc) {
    // The local mean day runs from 0h at the longitude: it spans two UTC days.
    const JulianDay localDayStart = julianDayFromCalendar(year, month, day, 0.0) - longitude / 360.0;
    ObserverSite site;
    site.latitude = latitude;
    site.longitude = longitude;
    for (JulianDay day0 = std::floor(localDayStart - 0.5) + 0.5; day0 < localDayStart + 1.0; day0 += 1.0) {
        const HorizonDayEvents e =
            horizonDayEvents(&context, riseSetBody(kSun), RiseSetKind::CivilTwilight, day0, deltaT(day0), site);
        if (e.status != Status::Ok) return e.status;
        for (JulianDay t : twilight == PlanTwilight::Morning ? e.rises : e.sets) {
            if (t >= localDayStart && t < localDayStart + 1.0) {
                utc = t;
                return Status::Ok;
            }
        }
    }
    return Status::Failed;
}

SightPlan planSights(const PlaceContext& context, const PlanRequest& request) {
    SightPlan plan;
    const auto within = [](double v, double low, double high) { return v >= low && v <= high; };
    if (!within(request.latitude, -90.0, 90.0) || !within(request.longitude, -180.0, 180.0) ||
        !within(request.minAltitude, -90.0, 90.0) || !within(request.maxAltitude, request.minAltitude, 90.0) ||
        request.count < kPlanMinCount || request.count > kPlanMaxCount) {
        plan.status = Status::BadArgument;
        return plan;
    }
    if (request.atInstant) {
        plan.utc = request.utc;
    } else if (const Status status = civilTwilightInstant(context, request.latitude, request.longitude, request.year,
                                                          request.month, request.day, request.twilight, plan.utc);
               status != Status::Ok) {
        plan.status = status;
        if (status == Status::Failed)
            plan.note = request.twilight == PlanTwilight::Morning
                            ? "The Sun does not rise to 6\u00b0 below the horizon that morning: no civil twilight."
                            : "The Sun does not set to 6\u00b0 below the horizon that evening: no civil twilight.";
        return plan;
    }

    ObserverSite site;
    site.latitude = request.latitude;
    site.longitude = request.longitude;
    const JulianDay tt = ttFromUtc(plan.utc);
    const double dT = deltaT(plan.utc);
    const auto consider = [&](PlanBody body, double ra, double dec) {
        const HorizontalPlace h = equatorialToHorizontal(tt, dT, 0.0, 0.0, site, ra, dec, kRefractionNone);
        body.hc = 90.0 - h.zenithDistanceDeg;
        body.zn = h.azimuthDeg;
        if (within(body.hc, request.minAltitude, request.maxAltitude)) plan.bodies.push_back(body);
    };
    for (const NavigationalStar& n : navigationalStars()) {
        const StarEntry* entry = starByNumber(n.number);
        if (!entry) continue;
        double ra = 0.0, dec = 0.0;
        if (const Status status = geocentricStarUtc(context, plan.utc, starPlaceInput(*entry), ra, dec);
            status != Status::Ok) {
            plan.status = status;
            return plan;
        }
        consider({n.name, n.number, 0, 0.0, 0.0, starMagnitude(*entry)}, ra, dec);
    }
    for (int body : kPlanBodies) {
        double ra = 0.0, dec = 0.0, au = 0.0, magnitude = 0.0;
        Status status = geocentricPlaceUtc(context, plan.utc, body, ra, dec, au);
        if (status == Status::Ok) status = planetMagnitude(context, body, plan.utc, magnitude);
        if (status != Status::Ok) {
            plan.status = status;
            return plan;
        }
        consider({context.bodies[static_cast<size_t>(body - 1)].name, 0, body, 0.0, 0.0, magnitude}, ra, dec);
    }
    std::sort(plan.bodies.begin(), plan.bodies.end(), [](const PlanBody& a, const PlanBody& b) { return a.zn < b.zn; });
    plan.best = chooseBestSet(plan.bodies, request.count);
    if (plan.bodies.size() < static_cast<size_t>(request.count))
        plan.note = (plan.bodies.empty() ? std::string("No body lies")
                                         : "Only " + std::to_string(plan.bodies.size()) +
                                               (plan.bodies.size() == 1 ? " body lies" : " bodies lie")) +
                    " between " + degreesText(request.minAltitude) + " and " + degreesText(request.maxAltitude) +
                    "; a set of " + std::to_string(request.count) + " needs " + std::to_string(request.count) + ".";
    return plan;
}

}  // namespace celestra
