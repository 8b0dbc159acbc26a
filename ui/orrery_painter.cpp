#include "ui/orrery_painter.h"

#include <QDateTime>
#include <QLineF>
#include <QTimeZone>

#include "sky/orrery.h"
#include "sky/sky_search.h"
#include "solarsystem/planets.h"
#include "ui/chart_renderer.h"
#include "ui/translations.h"

namespace celestra {

void paintOrrery(QPainter& painter, const CUniverseViewDrawState& state, double jdUtc, const PlaceContext& context,
                 int width, int height, double displayScale) {
    const CColorScheme& scheme = state.colorScheme;
    auto color = [&scheme](ColorKey key) { return colorOf(scheme.colors[static_cast<size_t>(key)]); };
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.fillRect(QRect(0, 0, width, height), color(BackgroundSky));
    const QPointF centre(width / 2.0, height / 2.0);
    const double ppau = orreryPixelsPerAu(state.zoom, std::min(width, height) / 2.0);
    const double rotation = state.rotation - 90.0;  // a fresh state (90) shows the equinox to the right
    auto toPixel = [&](const OrreryPoint& p) { return QPointF(centre.x() + p.x * ppau, centre.y() + p.y * ppau); };

    const auto planets = orreryPlanets(context, jdUtc);
    const double pen = 1.0 * displayScale;
    for (const OrreryPlanet& planet : planets) {
        if (!planet.valid || planet.orbit.empty()) continue;
        const size_t n = planet.orbit.size();
        for (size_t i = 0; i < n; ++i) {
            const OrreryPoint a = orreryView(planet.orbit[i], rotation, kOrreryTiltDeg);
            const OrreryPoint b = orreryView(planet.orbit[(i + 1) % n], rotation, kOrreryTiltDeg);
            const bool behind = a.depth + b.depth > 0.0;
            painter.setPen(QPen(color(behind ? OrreryOrbitsBehind : OrreryOrbits), pen));
            painter.drawLine(toPixel(a), toPixel(b));
        }
    }
    // The Sun, then the planets with their names.
    painter.setPen(Qt::NoPen);
    painter.setBrush(color(PlanetNames));
    painter.drawEllipse(centre, 4.0 * displayScale, 4.0 * displayScale);
    QFont font = painter.font();
    font.setPixelSize(static_cast<int>(11 * displayScale));
    painter.setFont(font);
    for (int body = 1; body <= 9; ++body) {
        const OrreryPlanet& planet = planets[static_cast<size_t>(body - 1)];
        if (!planet.valid) continue;
        const QPointF at = toPixel(orreryView(planet.position, rotation, kOrreryTiltDeg));
        painter.setPen(Qt::NoPen);
        painter.setBrush(color(Stars));
        painter.drawEllipse(at, 3.0 * displayScale, 3.0 * displayScale);
        // Names only where the planet stands clear of the Sun: the inner
        // planets' names would pile up on it until one zooms in.
        if (QLineF(centre, at).length() < 24.0 * displayScale) continue;
        painter.setPen(color(PlanetNames));
        painter.drawText(at + QPointF(5 * displayScale, -4 * displayScale), bodyText(bodyName(body)));
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(color(state.realTime ? InfoTime : InfoTimeStopped));
    const QDateTime utc =
        QDateTime::fromMSecsSinceEpoch(static_cast<qint64>((jdUtc - 2440587.5) * 86400000.0), Qt::UTC);
    painter.drawText(QPointF(6 * displayScale, 16 * displayScale),
                     utc.toString(QStringLiteral("yyyy-MM-dd hh:mm 'UTC'")) +
                         ChartRenderer::tr("   Zoom %1").arg(state.zoom, 0, 'f', 0));
    if (!context.ephemeris || !planets[2].valid)
        painter.drawText(QPointF(6 * displayScale, 32 * displayScale), ChartRenderer::tr("No ephemeris for this date"));
}

}  // namespace celestra
