#include "ui/calculator_pictures.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>
#include <tuple>

namespace celestra {

namespace {

constexpr double kDeg = 0.017453292519943295;

struct Vec {
    double x, y, z;
};

Vec unitOf(double latDeg, double lonDeg) {
    const double p = latDeg * kDeg, l = lonDeg * kDeg;
    return {std::cos(p) * std::cos(l), std::cos(p) * std::sin(l), std::sin(p)};
}
double dot(const Vec& a, const Vec& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec scaled(const Vec& a, double k) { return {a.x * k, a.y * k, a.z * k}; }
Vec sum(const Vec& a, const Vec& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
QPointF latLonOf(const Vec& v) {
    return {std::asin(std::clamp(v.z / std::sqrt(dot(v, v)), -1.0, 1.0)) / kDeg, std::atan2(v.y, v.x) / kDeg};
}

// A colour between the page's background and its ink: 0 the one, 1 the other.
QColor blend(const QColor& from, const QColor& to, double t) {
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * t,
                            from.greenF() + (to.greenF() - from.greenF()) * t,
                            from.blueF() + (to.blueF() - from.blueF()) * t);
}

}  // namespace

// ---------------------------------------------------------------- Globe

GlobeView::GlobeView(double centreLatitudeDeg, double centreLongitudeDeg) {
    const double p = centreLatitudeDeg * kDeg, l = centreLongitudeDeg * kDeg;
    const Vec c = unitOf(centreLatitudeDeg, centreLongitudeDeg);
    // East and north at the centre; both stay defined at the poles.
    const Vec e{-std::sin(l), std::cos(l), 0.0};
    const Vec n{-std::sin(p) * std::cos(l), -std::sin(p) * std::sin(l), std::cos(p)};
    centre_[0] = c.x, centre_[1] = c.y, centre_[2] = c.z;
    east_[0] = e.x, east_[1] = e.y, east_[2] = e.z;
    north_[0] = n.x, north_[1] = n.y, north_[2] = n.z;
}

GlobeView GlobeView::between(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg) {
    const Vec m = sum(unitOf(lat1Deg, lon1Deg), unitOf(lat2Deg, lon2Deg));
    if (dot(m, m) < 1e-18) return GlobeView(lat1Deg, lon1Deg);
    const QPointF c = latLonOf(m);
    return GlobeView(c.x(), c.y());
}

std::optional<QPointF> GlobeView::project(double latitudeDeg, double longitudeDeg) const {
    const Vec v = unitOf(latitudeDeg, longitudeDeg);
    const Vec c{centre_[0], centre_[1], centre_[2]};
    if (dot(v, c) < -1e-12) return std::nullopt;  // the far half
    return QPointF(dot(v, {east_[0], east_[1], east_[2]}), dot(v, {north_[0], north_[1], north_[2]}));
}

std::vector<QPointF> greatCircleArc(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg, int steps) {
    const Vec a = unitOf(lat1Deg, lon1Deg), b = unitOf(lat2Deg, lon2Deg);
    const double d = std::acos(std::clamp(dot(a, b), -1.0, 1.0));
    const double s = std::sin(d);
    // Equal places: one point; antipodal ones have no single shorter arc: the two ends.
    if (d < 1e-12) return {QPointF(lat1Deg, lon1Deg)};
    if (s < 1e-9) return {QPointF(lat1Deg, lon1Deg), QPointF(lat2Deg, lon2Deg)};
    steps = std::max(steps, 1);
    std::vector<QPointF> out;
    out.reserve(static_cast<size_t>(steps) + 1);
    for (int i = 0; i <= steps; ++i) {
        const double t = static_cast<double>(i) / steps;
        out.push_back(latLonOf(sum(scaled(a, std::sin((1.0 - t) * d) / s), scaled(b, std::sin(t * d) / s))));
    }
    return out;
}

namespace {

// `steps` + 1 places round the whole great circle through two places that
// are neither equal nor antipodal, from the first and back to it.
std::vector<QPointF> greatCircleThrough(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg, int steps) {
    const Vec a = unitOf(lat1Deg, lon1Deg), b = unitOf(lat2Deg, lon2Deg);
    // The unit vector 90° from the first place towards the second.
    const Vec towards = sum(b, scaled(a, -dot(a, b)));
    const Vec u = scaled(towards, 1.0 / std::sqrt(dot(towards, towards)));
    std::vector<QPointF> out;
    for (int i = 0; i <= steps; ++i) {
        const double t = 2.0 * std::numbers::pi * i / steps;
        out.push_back(latLonOf(sum(scaled(a, std::cos(t)), scaled(u, std::sin(t)))));
    }
    return out;
}

}  // namespace

GreatCirclePicture::GreatCirclePicture(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumHeight(fontMetrics().height() * 11);
}

QSize GreatCirclePicture::sizeHint() const { return {fontMetrics().height() * 12, fontMetrics().height() * 12}; }

void GreatCirclePicture::setRoute(double lat1Deg, double lon1Deg, double lat2Deg, double lon2Deg) {
    lat1_ = lat1Deg, lon1_ = lon1Deg, lat2_ = lat2Deg, lon2_ = lon2Deg;
    update();
}

void GreatCirclePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ground = palette().color(QPalette::Window);
    const QColor ink = palette().color(QPalette::WindowText);
    const double margin = fontMetrics().height() * 0.75;
    const double r = std::max(10.0, std::min(width(), height()) / 2.0 - margin);
    const QPointF mid(width() / 2.0, height() / 2.0);
    const GlobeView view = GlobeView::between(lat1_, lon1_, lat2_, lon2_);
    const auto toWidget = [&](const QPointF& p) { return QPointF(mid.x() + p.x() * r, mid.y() - p.y() * r); };
    // A line of places drawn where it faces the viewer, broken behind the globe.
    const auto drawPlaces = [&](const std::vector<QPointF>& places) {
        QPainterPath path;
        bool drawing = false;
        for (const QPointF& ll : places) {
            const auto p = view.project(ll.x(), ll.y());
            if (!p) {
                drawing = false;
                continue;
            }
            if (drawing) path.lineTo(toWidget(*p));
            else path.moveTo(toWidget(*p));
            drawing = true;
        }
        painter.drawPath(path);
    };

    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(blend(ground, ink, 0.12));
    painter.drawEllipse(mid, r, r);
    painter.setBrush(Qt::NoBrush);

    // Meridians and parallels every 30°.
    painter.setPen(QPen(blend(ground, ink, 0.4), 0.8));
    for (int lon = -180; lon < 180; lon += 30) {
        std::vector<QPointF> meridian;
        for (int lat = -90; lat <= 90; lat += 3) meridian.emplace_back(lat, lon);
        drawPlaces(meridian);
    }
    for (int lat = -60; lat <= 60; lat += 30) {
        std::vector<QPointF> parallel;
        for (int lon = -180; lon <= 180; lon += 3) parallel.emplace_back(lat, lon);
        drawPlaces(parallel);
    }

    // The whole great circle, dashed, round the far side too (none when the
    // places coincide or are antipodal: no single circle then).
    const std::vector<QPointF> route = greatCircleArc(lat1_, lon1_, lat2_, lon2_, 90);
    if (route.size() > 2) {
        painter.setPen(QPen(ink, 1.0, Qt::DashLine));
        drawPlaces(greatCircleThrough(lat1_, lon1_, lat2_, lon2_, 180));
    }
    painter.setPen(QPen(ink, 2.5, Qt::SolidLine, Qt::RoundCap));
    drawPlaces(route);

    painter.setPen(ink);
    painter.setBrush(ink);
    const QFontMetricsF fm(font());
    for (const auto& [lat, lon, name] : {std::tuple(lat1_, lon1_, "1"), std::tuple(lat2_, lon2_, "2")}) {
        const auto p = view.project(lat, lon);
        if (!p) continue;
        const QPointF at = toWidget(*p);
        painter.drawEllipse(at, 3.5, 3.5);
        painter.drawText(at + QPointF(5, -5), QString::fromLatin1(name));
    }
}

// ---------------------------------------------------------------- Horizon

HorizonPicture::HorizonPicture(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(fontMetrics().height() * 22, fontMetrics().height() * 10);
}

QSize HorizonPicture::sizeHint() const { return {fontMetrics().height() * 26, fontMetrics().height() * 12}; }

void HorizonPicture::setDistances(const QString& visible, const QString& radar) {
    visible_ = visible;
    radar_ = radar;
    update();
}

// Not to scale: the height of eye is over a quarter of the picture and the
// Earth a circle little wider than it, so the dip shows as an angle. The
// radar horizon lies beyond the visible one in the ratio of their
// coefficients for metres (2.21 to 2.07): the radar's waves bend further
// round the Earth. The two distances stand in a legend at the top right,
// clear of the lines.
void HorizonPicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QColor ground = palette().color(QPalette::Window);
    const QColor ink = palette().color(QPalette::WindowText);
    const QFontMetricsF fm(font());
    const double line = fm.height();
    const double w = width(), h = height();

    const double x0 = line * 2.0;  // the mast
    const double sea = h * 0.45;   // sea level under the eye
    const double eyeHeight = h * 0.28;
    const double radius = std::max(w * 1.2, h);  // the Earth
    const QPointF centre(x0, sea + radius);
    const QPointF eye(x0, sea - eyeHeight);
    const double dip = std::acos(radius / (radius + eyeHeight));  // radians; also the arc to the horizon
    const double radarArc = dip * 2.21 / 2.07;
    const auto onSurface = [&](double arc) {
        return centre + QPointF(radius * std::sin(arc), -radius * std::cos(arc));
    };
    const QPointF horizon = onSurface(dip), radarHorizon = onSurface(radarArc);

    painter.setPen(QPen(ink, 1.2));
    painter.setBrush(blend(ground, ink, 0.15));
    painter.drawEllipse(centre, radius, radius);
    painter.setBrush(Qt::NoBrush);

    // The horizontal through the eye, and the line of sight to the horizon.
    painter.setPen(QPen(blend(ground, ink, 0.6), 1.0, Qt::DashLine));
    painter.drawLine(eye, QPointF(w - line * 0.5, eye.y()));
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(eye, horizon);
    // The radar ray, bent down towards the sea.
    const QPointF ray = radarHorizon - eye;
    const QPointF up(ray.y(), -ray.x());  // the chord's normal, pointing up
    QPainterPath radar(eye);
    radar.quadTo((eye + radarHorizon) / 2.0 + up * 0.12, radarHorizon);
    painter.setPen(QPen(ink, 1.2, Qt::DotLine));
    painter.drawPath(radar);

    // The dip between the horizontal and the line of sight.
    const double arcRadius = line * 3.0;
    painter.setPen(QPen(ink, 1.0));
    painter.drawArc(QRectF(eye.x() - arcRadius, eye.y() - arcRadius, 2 * arcRadius, 2 * arcRadius), 0,
                    -static_cast<int>(std::lround(dip / kDeg * 16.0)));
    painter.drawText(eye + QPointF(arcRadius + 4, fm.ascent() * 0.5 + arcRadius * std::sin(dip / 2.0)), tr("Dip"));

    // The mast and the eye.
    painter.setPen(QPen(ink, 1.5));
    painter.drawLine(QPointF(x0, sea), eye);
    painter.setBrush(ink);
    painter.drawEllipse(eye, 3.5, 3.5);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(eye + QPointF(line * 0.4, -line * 0.35), tr("Eye"));
    const QString height = tr("Height");
    painter.save();
    painter.translate(x0 - line * 0.35, (sea + eye.y()) / 2.0 + fm.horizontalAdvance(height) / 2.0);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), height);
    painter.restore();

    // The two horizons: a dot for the visible one, a ring for the radar's,
    // and the same marks in the legend.
    const double mark = 3.0;
    const auto drawMark = [&](const QPointF& at, bool filled) {
        painter.setBrush(filled ? QBrush(ink) : QBrush(Qt::NoBrush));
        painter.drawEllipse(at, mark, mark);
        painter.setBrush(Qt::NoBrush);
    };
    drawMark(horizon, true);
    drawMark(radarHorizon, false);
    const QString rows[2][2] = {{tr("Visible horizon"), visible_}, {tr("Radar horizon"), radar_}};
    const double nameWidth = std::max(fm.horizontalAdvance(rows[0][0]), fm.horizontalAdvance(rows[1][0]));
    const double valueWidth = std::max(fm.horizontalAdvance(rows[0][1]), fm.horizontalAdvance(rows[1][1]));
    const double left = w - line * 0.5 - valueWidth - line * 0.6 - nameWidth - line;
    for (int i = 0; i < 2; ++i) {
        const double baseline = eye.y() + line * (1.6 + 1.2 * i);
        drawMark(QPointF(left + mark, baseline - fm.ascent() * 0.35), i == 0);
        painter.drawText(QPointF(left + line, baseline), rows[i][0]);
        painter.drawText(QPointF(left + line + nameWidth + line * 0.6, baseline), rows[i][1]);
    }
}

}  // namespace celestra
