#include "ui/chart_renderer.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "catalogs/constellations.h"
#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/number_text.h"
#include "core/time_scales.h"
#include "solarsystem/comets.h"

namespace celestra {

namespace {

const char* const kBodyNames[11] = {"Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn",
                                    "Uranus", "Neptune", "Pluto", "Sun", "Moon"};

// Star disc radius in scaled pixels by magnitude: Sirius about 4.5, a sixth-magnitude star under 1.
double starRadius(int32_t magnitudeThousandths) {
    return std::clamp(0.6 + 0.5 * (6.5 - magnitudeThousandths * 0.001), 0.6, 4.6);
}
constexpr double kMinRadius = 0.6;
// Azimuth between the facing direction and the altitude labels, degrees.
constexpr double kAltitudeLabelOffsetDeg = 15.0;
constexpr double kMaxRadius = 4.6;

int bucketOf(double radius, int buckets) {
    const double t = (radius - kMinRadius) / (kMaxRadius - kMinRadius);
    return std::clamp(static_cast<int>(std::lround(t * (buckets - 1))), 0, buckets - 1);
}
double radiusOfBucket(int bucket, int buckets) {
    return kMinRadius + (kMaxRadius - kMinRadius) * bucket / (buckets - 1);
}

QString clockText(double hours) { return QString::fromStdString(formatClockTime(hours)); }

}  // namespace

QColor colorOf(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

ChartRenderer::ChartRenderer() {
    font_.setFamily(QStringLiteral("DejaVu Sans"));
    smallFont_ = font_;
    setScale(1.0);
}

void ChartRenderer::setClock(double instantUtc, double zoneOffsetDays, double longitudeDeg) {
    clock_ = {instantUtc, zoneOffsetDays, longitudeDeg};
}

void ChartRenderer::setSnapshot(std::shared_ptr<const SkySnapshot> snapshot) {
    snapshot_ = std::move(snapshot);
    dirty_ = true;
}

void ChartRenderer::setView(const CUniverseViewDrawState& state, int width, int height) {
    if (state.colorScheme.colors != state_.colorScheme.colors) colorsDirty_ = true;
    state_ = state;
    projection_ = ChartProjection::fromDrawState(state_, width, height);
    dirty_ = true;
}

void ChartRenderer::setScale(double scale) {
    scale_ = std::max(1.0, scale);
    font_.setPixelSize(static_cast<int>(std::lround(12 * scale_)));
    smallFont_.setPixelSize(static_cast<int>(std::lround(10 * scale_)));
    texts_.clear();
    colorsDirty_ = true;
    dirty_ = true;
}

void ChartRenderer::setDevicePixelRatio(double ratio) {
    devicePixelRatio_ = std::max(1.0, ratio);
}

void ChartRenderer::setOptions(const ChartOptions& options) {
    options_ = options;
    dirty_ = true;
}

void ChartRenderer::setSelection(const ChartSelection& selection) { selection_ = selection; }

void ChartRenderer::setHoverText(const QPointF& at, const QString& text) {
    hoverAt_ = at;
    hoverText_ = text;
}

int ChartRenderer::labelLevel(double zoom) { return static_cast<int>(std::lround((zoom - 1.5) * 1000.0)); }

double ChartRenderer::starLabelMagnitude(double zoom) { return std::min(6.0, 1.5 + 0.75 * (zoom - 2.0)); }

QStaticText ChartRenderer::staticText(const QString& text) {
    auto it = texts_.find(text);
    if (it == texts_.end()) {
        QStaticText s(text);
        s.setTextFormat(Qt::PlainText);
        s.setPerformanceHint(QStaticText::AggressiveCaching);
        s.prepare(QTransform(), smallFont_);
        it = texts_.insert(text, s);
    }
    return it.value();
}

void ChartRenderer::rebuildColors() {
    for (int k = 0; k < kColorKeyCount; ++k) colors_[static_cast<size_t>(k)] = colorOf(state_.colorScheme.colors[static_cast<size_t>(k)]);
    colorsDirty_ = false;
    rebuildStarAtlas();
}

void ChartRenderer::rebuildStarAtlas() {
    const ColorRef c = state_.colorScheme.colors[Stars];
    if (!starAtlas_.isNull() && c == atlasColor_ && scale_ == atlasScale_ && devicePixelRatio_ == atlasRatio_) return;
    atlasColor_ = c;
    atlasScale_ = scale_;
    atlasRatio_ = devicePixelRatio_;
    atlasCell_ = std::ceil(2.0 * kMaxRadius * scale_ + 2.0);
    const double r = devicePixelRatio_;
    QImage atlas(static_cast<int>(std::ceil(atlasCell_ * kStarBuckets * r)), static_cast<int>(std::ceil(atlasCell_ * r)),
                 QImage::Format_ARGB32_Premultiplied);
    atlas.setDevicePixelRatio(r);
    atlas.fill(Qt::transparent);
    QPainter p(&atlas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(colorOf(c));
    for (int b = 0; b < kStarBuckets; ++b) {
        const double radius = radiusOfBucket(b, kStarBuckets) * scale_;
        p.drawEllipse(QPointF(atlasCell_ * (b + 0.5), atlasCell_ / 2.0), radius, radius);
    }
    p.end();
    starAtlas_ = QPixmap::fromImage(atlas);
}

bool ChartRenderer::onChart(const QPointF& p, double margin) const {
    return p.x() >= -margin && p.y() >= -margin && p.x() <= projection_.width() + margin &&
           p.y() <= projection_.height() + margin;
}

QPointF ChartRenderer::pixel(const HorizontalPoint& h) const {
    const ChartPoint c = projection_.pixel(h.zenithDistance, h.azimuth);
    return {c.x, c.y};
}

void ChartRenderer::projectLine(const std::vector<HorizontalPoint>& points, QVector<QLineF>& out) const {
    QPointF previous;
    bool havePrevious = false;
    for (const HorizontalPoint& h : points) {
        if (h.zenithDistance >= 90.0f) {
            havePrevious = false;
            continue;
        }
        const QPointF p = pixel(h);
        if (havePrevious && (onChart(p, 0.0) || onChart(previous, 0.0))) out.append(QLineF(previous, p));
        previous = p;
        havePrevious = true;
    }
}

void ChartRenderer::prepare() {
    dirty_ = false;
    if (colorsDirty_) rebuildColors();
    const ChartPoint z = projection_.zenithPixel();
    zenith_ = {z.x, z.y};
    horizonRadius_ = projection_.pixelsPerDegree() * 90.0;
    stars_.clear();
    figureLines_.clear();
    eclipticLines_.clear();
    polarGridLines_.clear();
    trackPoints_.clear();
    trackToday_.clear();
    labels_.clear();
    constellationNames_.clear();
    hits_.clear();
    bodies_.clear();
    cometLines_.clear();
    cometPoints_.clear();
    comets_.clear();
    cometDates_.clear();
    if (!snapshot_) return;
    const SkySnapshot& sky = *snapshot_;
    const double margin = 8.0 * scale_;
    const double limit = state_.magnitudeLimit;

    // Every listed object above the horizon gets a pixel; figure lines need
    // partners that are off the window too.
    const size_t n = sky.objects.size();
    std::vector<QPointF> at(n);
    std::vector<char> above(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const SkyObject& o = sky.objects[i];
        if (o.place.zenithDistance >= 90.0f) continue;
        above[i] = 1;
        at[i] = pixel(o.place);
    }

    const double labelMagnitude = starLabelMagnitude(state_.zoom) * 1000.0;
    for (size_t i = 0; i < n; ++i) {
        if (!above[i]) continue;
        const SkyObject& o = sky.objects[i];
        const QPointF p = at[i];
        const bool visible = onChart(p, margin);
        if (o.object < kFirstMessierObject) {
            if (visible && o.magnitude <= limit) {
                const double r = starRadius(o.magnitude);
                stars_.append({p, bucketOf(r, kStarBuckets)});
                hits_.append({p, {ChartSelection::Kind::Object, o.object}});
                if (options_.starNames && o.magnitude <= labelMagnitude) {
                    const StarEntry* e = catalogueObject(o.object);
                    labels_.append({p + QPointF(r * scale_ + 2 * scale_, -6 * scale_), StarNames,
                                    staticText(QString::fromStdString(starChartLabel(*e))), false});
                }
            }
            if (options_.constellationFigures) {
                const StarEntry* e = catalogueObject(o.object);
                for (int32_t link : {e->figureLink1, e->figureLink2}) {
                    if (!figureLinkValid(link)) continue;
                    const int partner = link - 1;
                    const int32_t j = partner < static_cast<int>(sky.indexOfObject.size()) ? sky.indexOfObject[static_cast<size_t>(partner)] : -1;
                    if (j < 0 || !above[static_cast<size_t>(j)]) continue;
                    const QPointF q = at[static_cast<size_t>(j)];
                    if (visible || onChart(q, margin)) figureLines_.append(QLineF(p, q));
                }
            }
        } else if (visible && o.magnitude <= limit) {
            hits_.append({p, {ChartSelection::Kind::Object, o.object}});
            if (options_.deepSkyNames) {
                const bool messier = o.object < kFirstCaldwellObject;
                labels_.append({p + QPointF(4 * scale_, -6 * scale_), messier ? MessierNames : CaldwellNames,
                                staticText(QString::fromStdString(catalogueObjectLabel(o.object))), false});
            }
        }
    }

    if (options_.constellationNames) {
        const int level = labelLevel(state_.zoom);
        const ConstellationLabel* table = constellationLabels();
        for (int k = 0; k < kConstellationLabelCount; ++k) {
            const ConstellationLabel& label = table[k];
            if (!constellationLabelEnabled(label, level)) continue;
            const SkyObject* anchor = sky.objectByNumber(label.anchorStar - 1);
            if (!anchor || anchor->place.zenithDistance >= 90.0f) continue;
            const QPointF p = pixel(anchor->place);
            if (!onChart(p, 60 * scale_)) continue;
            constellationNames_.append({p, ConstellationNames, staticText(QString::fromLatin1(label.name)), true});
        }
    }

    if (options_.ecliptic) projectLine(sky.ecliptic.points, eclipticLines_);
    if (options_.polarGrid) {
        for (const SkyLine& line : sky.equatorialGrid) {
            projectLine(line.points, polarGridLines_);
            // Hour circles are labelled on the equator, parallels on the meridian.
            if (line.labelIndex < 0) continue;
            const size_t k = static_cast<size_t>(line.labelIndex);
            if (k >= line.points.size() || line.points[k].zenithDistance >= 88.0f) continue;
            const QPointF p = pixel(line.points[k]);
            if (!onChart(p, 0.0)) continue;
            const QString text = line.rightAscension ? QStringLiteral("%1h").arg(static_cast<int>(line.value))
                                                     : QStringLiteral("%1°").arg(static_cast<int>(line.value));
            labels_.append({p + QPointF(2 * scale_, 1 * scale_), GridPolarText, staticText(text), false});
        }
    }

    if (options_.orbitalPaths) {
        for (const OrbitalTrack& track : sky.tracks) {
            for (size_t d = 0; d < track.days.size(); ++d) {
                const HorizontalPoint& h = track.days[d];
                if (h.zenithDistance >= 91.0f) continue;
                const QPointF p = pixel(h);
                if (!onChart(p, 0.0)) continue;
                (static_cast<int>(d) == track.currentDay ? trackToday_ : trackPoints_).append(p);
            }
        }
    }

    if (options_.planets) {
        for (const SkyBody& b : sky.bodies) {
            if (!b.valid || b.place.zenithDistance >= 90.0f) continue;
            const QPointF p = pixel(b.place);
            const double minimum = (b.body == 10 || b.body == 11 ? 5.0 : 2.5) * scale_;
            const double r = std::max(minimum, b.angularDiameterDeg / 2.0 * projection_.pixelsPerDegree());
            if (!onChart(p, r + margin)) continue;
            bodies_.append({p, r, b.body});
            hits_.append({p, {ChartSelection::Kind::Body, b.body}});
            labels_.append({p + QPointF(r + 2 * scale_, -6 * scale_), PlanetNames,
                            staticText(QString::fromLatin1(kBodyNames[b.body - 1])), false});
        }
    }
    if (options_.comets) prepareComets();
}

// Each point of a comet's track that has a place above the horizon is a dot,
// joined to its neighbour when that one is up too (below the horizon a track
// breaks, as the orbital paths do). The present point carries the comet's
// mark, its name and the hit. Dates go to every fifth point where they keep
// clear of the name and of each other, so a short track stays readable.
void ChartRenderer::prepareComets() {
    const SkySnapshot& sky = *snapshot_;
    const double margin = 8.0 * scale_;
    const double pad = 2.0 * scale_;
    for (const SkyComet& c : sky.comets) {
        const int n = static_cast<int>(c.points.size());
        if (c.present < 0 || c.present >= n) continue;
        std::vector<QPointF> at(static_cast<size_t>(n));
        std::vector<char> up(static_cast<size_t>(n), 0);
        for (int j = 0; j < n; ++j) {
            const SkyCometPoint& point = c.points[static_cast<size_t>(j)];
            if (!point.valid || point.place.zenithDistance >= 90.0f) continue;
            const QPointF p = pixel(point.place);
            at[static_cast<size_t>(j)] = p;
            up[static_cast<size_t>(j)] = 1;
            const QPointF previous = j > 0 ? at[static_cast<size_t>(j - 1)] : QPointF();
            if (j > 0 && up[static_cast<size_t>(j - 1)] && (onChart(p, 0.0) || onChart(previous, 0.0)))
                cometLines_.append(QLineF(previous, p));
            if (j != c.present && onChart(p, 0.0)) cometPoints_.append(p);
        }
        QVector<QRectF> taken;
        const size_t now = static_cast<size_t>(c.present);
        if (up[now] && onChart(at[now], margin)) {
            CometMark mark{at[now], {}};
            if (c.hasTailPoint) {
                const QPointF d = pixel(c.tailPoint) - at[now];
                const double length = std::hypot(d.x(), d.y());
                if (length > 1e-6) mark.tailDirection = d / length;
            }
            comets_.append(mark);
            hits_.append({at[now], {ChartSelection::Kind::Comet, c.comet}});
            const Label name{at[now] + QPointF(5 * scale_, -6 * scale_), CometNames,
                             staticText(QString::fromStdString(c.name)), false};
            labels_.append(name);
            taken.append(QRectF(name.at, name.text.size()).adjusted(-pad, -pad, pad, pad));
            taken.append(QRectF(at[now] - QPointF(4 * scale_, 4 * scale_), QSizeF(8 * scale_, 8 * scale_)));
        }
        for (int j = 0; j < n; j += 5) {
            const size_t k = static_cast<size_t>(j);
            if (j == c.present || !up[k] || !onChart(at[k], 0.0)) continue;
            const Label date{at[k] + QPointF(3 * scale_, 1 * scale_), CometNames,
                             staticText(QString::fromStdString(c.points[k].label)), false};
            const QRectF box = QRectF(date.at, date.text.size()).adjusted(-pad, -pad, pad, pad);
            if (std::any_of(taken.begin(), taken.end(), [&box](const QRectF& r) { return r.intersects(box); })) continue;
            cometDates_.append(date);
            taken.append(box);
        }
    }
}

QColor ChartRenderer::cometTrackColor() const {
    // The comet's colour two thirds of the way from the sky's: the track and
    // its dates stay behind the comet and its name.
    const QColor& c = colors_[CometNames];
    const QColor& sky = colors_[BackgroundSky];
    auto mix = [](int a, int b) { return (2 * a + b) / 3; };
    return QColor(mix(c.red(), sky.red()), mix(c.green(), sky.green()), mix(c.blue(), sky.blue()));
}

void ChartRenderer::paintComets(QPainter& painter) {
    const double s = scale_;
    const QColor head = colors_[CometNames];
    const double length = 24.0 * s;
    for (const CometMark& m : comets_) {
        if (!m.tailDirection.isNull()) {
            // A fan that widens and fades away from the head, pointing away from the Sun.
            const QPointF d = m.tailDirection, side(-d.y(), d.x());
            const QPointF end = m.at + d * length;
            const QPointF fan[4] = {m.at + side * 2.0 * s, end + side * 5.0 * s, end - side * 5.0 * s,
                                    m.at - side * 2.0 * s};
            QLinearGradient fade(m.at, end);
            QColor faded = head;
            fade.setColorAt(0.0, head);
            faded.setAlpha(0);
            fade.setColorAt(1.0, faded);
            painter.setPen(Qt::NoPen);
            painter.setBrush(fade);
            painter.drawPolygon(fan, 4);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(head);
        painter.drawEllipse(m.at, 3.0 * s, 3.0 * s);
    }
    painter.setBrush(Qt::NoBrush);
}

ChartSelection ChartRenderer::hitTest(const QPointF& at, double radius) const {
    ChartSelection best;
    double bestDistance = radius * radius;
    for (const Hit& h : hits_) {
        const QPointF d = h.at - at;
        const double d2 = d.x() * d.x() + d.y() * d.y();
        // Bodies and comets win ties over the stars they stand on.
        if (d2 < bestDistance || (d2 <= bestDistance && h.what.kind != ChartSelection::Kind::Object)) {
            bestDistance = d2;
            best = h.what;
        }
    }
    return best;
}

bool ChartRenderer::selectionPixel(const ChartSelection& selection, QPointF& at) const {
    for (const Hit& h : hits_) {
        if (h.what == selection) {
            at = h.at;
            return true;
        }
    }
    return false;
}

QString ChartRenderer::selectionName(const ChartSelection& selection) const {
    if (selection.kind == ChartSelection::Kind::Body && selection.id >= 1 && selection.id <= 11)
        return QString::fromLatin1(kBodyNames[selection.id - 1]);
    if (selection.kind == ChartSelection::Kind::Object) return QString::fromStdString(catalogueObjectLabel(selection.id));
    if (selection.kind == ChartSelection::Kind::Comet && snapshot_) {
        if (const SkyComet* c = snapshot_->cometByIndex(selection.id)) return QString::fromStdString(c->name);
    }
    return {};
}

void ChartRenderer::paintMoon(QPainter& painter) {
    const SkySnapshot& sky = *snapshot_;
    for (const BodyMark& b : bodies_) {
        if (b.body != 11) continue;
        const double r = b.radius;
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors_[BackgroundNotSky]);
        painter.drawEllipse(b.at, r, r);
        if (!sky.moon.valid) continue;
        // Screen directions of celestial north and east at the Moon; the
        // bright limb lies at its position angle from north through east.
        const QPointF n = pixel(sky.moon.northPoint) - b.at;
        const QPointF e = pixel(sky.moon.eastPoint) - b.at;
        const double ln = std::hypot(n.x(), n.y()), le = std::hypot(e.x(), e.y());
        if (ln <= 0.0 || le <= 0.0) continue;
        const double pa = sky.moon.brightLimbDeg * kDegToRad;
        const QPointF dir = n / ln * std::cos(pa) + e / le * std::sin(pa);
        const double angle = std::atan2(dir.y(), dir.x()) * kRadToDeg;
        // Lit part in a frame whose +x points at the bright limb: the limb's
        // half circle, back along the terminator x = (1 - 2k) r cos φ.
        const double t = 1.0 - 2.0 * sky.moon.illuminatedFraction;
        QPainterPath lit;
        constexpr int kSteps = 24;
        for (int i = 0; i <= kSteps; ++i) {
            const double phi = (-90.0 + 180.0 * i / kSteps) * kDegToRad;
            const QPointF q(r * std::cos(phi), r * std::sin(phi));
            if (i == 0) lit.moveTo(q); else lit.lineTo(q);
        }
        for (int i = kSteps; i >= 0; --i) {
            const double phi = (-90.0 + 180.0 * i / kSteps) * kDegToRad;
            lit.lineTo(t * r * std::cos(phi), r * std::sin(phi));
        }
        lit.closeSubpath();
        painter.save();
        painter.translate(b.at);
        painter.rotate(angle);
        painter.setBrush(colors_[Stars]);
        painter.drawPath(lit);
        painter.restore();
        painter.setPen(QPen(colors_[Planets], 1.0 * scale_));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(b.at, r, r);
    }
}

void ChartRenderer::paintCompass(QPainter& painter) {
    // Letters just inside the horizon where it is on the window. When the
    // zenith is well inside the window and the horizon is not (the zenith
    // view), the four main letters go where the line from the zenith towards
    // them leaves the window.
    painter.setFont(font_);
    painter.setPen(colors_[NSEW]);
    const QFontMetricsF fm(font_);
    // A letter is drawn where it fits whole; the zenith must be well inside
    // for the letters to be pulled in along their lines.
    const double inset = fm.height() / 2.0 + 1.0;
    const QRectF box(inset, inset, projection_.width() - 2 * inset, projection_.height() - 2 * inset);
    const bool zenithInside = box.adjusted(2 * inset, 2 * inset, -2 * inset, -2 * inset).contains(zenith_);
    static const struct { double az; const char* text; bool main; } kLetters[] = {
        {0, "N", true}, {45, "NE", false}, {90, "E", true}, {135, "SE", false},
        {180, "S", true}, {225, "SW", false}, {270, "W", true}, {315, "NW", false}};
    const double inside = 90.0 - 10.0 * scale_ / std::max(0.01, projection_.pixelsPerDegree());
    for (const auto& l : kLetters) {
        const ChartPoint h = projection_.pixel(inside, l.az);
        QPointF p(h.x, h.y);
        if (!box.contains(p) && box.adjusted(-3 * inset, -3 * inset, 3 * inset, 3 * inset).contains(p)) {
            // Just off the window (the window was resized after facing): pulled in.
            p = QPointF(std::clamp(p.x(), box.left(), box.right()), std::clamp(p.y(), box.top(), box.bottom()));
        } else if (!box.contains(p)) {
            if (!zenithInside || !l.main) continue;
            const QPointF d = p - zenith_;
            double t = 1.0;
            if (d.x() > 0) t = std::min(t, (box.right() - zenith_.x()) / d.x());
            if (d.x() < 0) t = std::min(t, (box.left() - zenith_.x()) / d.x());
            if (d.y() > 0) t = std::min(t, (box.bottom() - zenith_.y()) / d.y());
            if (d.y() < 0) t = std::min(t, (box.top() - zenith_.y()) / d.y());
            p = zenith_ + d * t;
        }
        const QString s = QString::fromLatin1(l.text);
        painter.drawText(QPointF(p.x() - fm.horizontalAdvance(s) / 2.0, p.y() + (fm.ascent() - fm.descent()) / 2.0), s);
    }
}

void ChartRenderer::paintLabels(QPainter& painter, const QVector<Label>& labels) {
    painter.setFont(smallFont_);
    int currentKey = -1;
    for (const Label& l : labels) {
        if (l.key != currentKey) {
            painter.setPen(colors_[static_cast<size_t>(l.key)]);
            currentKey = l.key;
        }
        QPointF at = l.at;
        if (l.centred) at.rx() -= l.text.size().width() / 2.0;
        painter.drawStaticText(at, l.text);
    }
}

QStringList ChartRenderer::timeTexts() const {
    // The clock's instant when the view gave one, else the snapshot's.
    double jd = clock_.instantUtc, zone = clock_.zoneOffsetDays, longitude = clock_.longitudeDeg;
    if (jd == 0.0 && snapshot_) {
        jd = snapshot_->instantUtc;
        zone = snapshot_->zoneOffsetDays;
        longitude = snapshot_->longitude;
    }
    const double gmst = siderealTimeFromUtc(jd, false);
    const double lst = localSiderealTime(gmst, longitude);
    char fov[32];
    snprintfC(fov, sizeof fov, "FOV: %4.1lf°", fieldOfViewDeg(state_.zoom));
    // Civil times are rounded to the second (a truncating clock text would
    // show 22:00:00 UTC as 21:59:59, the JD of an exact hour being a hair short).
    const BrokenDownTime utc = brokenDownTimeFromJulianDay(jd);
    const BrokenDownTime local = brokenDownTimeFromJulianDay(jd + zone);
    const auto hms = [](const BrokenDownTime& t) {
        return QString::asprintf("%02d:%02d:%02d", int(t.hour), int(t.minute), int(t.second));
    };
    return {
        QString::fromUtf8(fov),
        QStringLiteral("UTC  %1-%2-%3 %4")
            .arg(int(utc.year), 4, 10, QLatin1Char('0'))
            .arg(int(utc.month), 2, 10, QLatin1Char('0'))
            .arg(int(utc.day), 2, 10, QLatin1Char('0'))
            .arg(hms(utc)),
        QStringLiteral("%1  %2").arg(hms(local)).arg(QString::fromStdString(formatZoneLabel(zone))),
        QStringLiteral("GMST %1").arg(clockText(gmst)),
        QStringLiteral("LST  %1").arg(clockText(lst)),
    };
}

void ChartRenderer::paintInfo(QPainter& painter) {
    const SkySnapshot& sky = *snapshot_;
    painter.setFont(font_);
    const QFontMetricsF fm(font_);
    const double line = fm.lineSpacing();
    const double x = 6 * scale_;
    double y = 4 * scale_ + fm.ascent();
    painter.setPen(colors_[state_.realTime ? InfoTime : InfoTimeStopped]);
    const QStringList lines = timeTexts();
    double widest = 0.0;
    for (const QString& s : lines) {
        painter.drawText(QPointF(x, y), s);
        widest = std::max(widest, fm.horizontalAdvance(s));
        y += line;
    }
    timeTextRect_ = QRectF(0, 0, x + widest + x, y - line + fm.descent() + 4 * scale_);

    if (selection_.kind == ChartSelection::Kind::None) return;
    double ra = 0, dec = 0, magnitude = 0;
    HorizontalPoint place;
    int number = 0;
    QString magnitudeText;
    if (selection_.kind == ChartSelection::Kind::Comet) {
        const SkyComet* c = sky.cometByIndex(selection_.id);
        if (!c || !c->presentPoint().valid) return;
        ra = c->raHours;
        dec = c->decDeg;
        place = c->presentPoint().place;
        magnitudeText = QString::fromStdString(cometInfoText(c->absoluteMagnitude, c->apparentMagnitude));
    } else if (selection_.kind == ChartSelection::Kind::Object) {
        const SkyObject* o = sky.objectByNumber(selection_.id);
        if (!o) return;
        ra = o->raHours;
        dec = o->decDeg;
        magnitude = o->magnitude * 0.001;
        place = o->place;
        if (o->object < kFirstMessierObject) number = catalogueObject(o->object)->number;
    } else {
        const SkyBody& b = sky.bodies[static_cast<size_t>(selection_.id - 1)];
        if (!b.valid) return;
        ra = b.raHours;
        dec = b.decDeg;
        magnitude = b.magnitude;
        place = b.place;
    }
    if (magnitudeText.isEmpty()) {
        char m[32];
        snprintfC(m, sizeof m, "M: %4.2f", magnitude);
        magnitudeText = QString::fromUtf8(m);
    }
    QStringList info = {
        selectionName(selection_),
        QStringLiteral("RA: ") + clockText(ra),
        QStringLiteral("Dec: ") + QString::fromStdString(formatAngle(dec, 2, AngleSignStyle::Signed)),
        QStringLiteral("Alt: ") + QString::fromStdString(formatAngle(90.0 - place.zenithDistance, 2, AngleSignStyle::Signed)),
        QStringLiteral("Az: ") + QString::fromStdString(formatAngle(place.azimuth, 2, AngleSignStyle::Signed)),
        magnitudeText,
    };
    if (number > 0) {
        char bs[32];
        std::snprintf(bs, sizeof bs, "BS: %4d", number);
        info.append(QString::fromUtf8(bs));
    }
    painter.setPen(colors_[InfoStarData]);
    y = projection_.height() - 6 * scale_ - fm.descent() - line * (info.size() - 1);
    for (const QString& s : info) {
        painter.drawText(QPointF(x, y), s);
        y += line;
    }
}

void ChartRenderer::paint(QPainter& painter) {
    if (painter.device() && painter.device()->devicePixelRatioF() != devicePixelRatio_) {
        setDevicePixelRatio(painter.device()->devicePixelRatioF());
        colorsDirty_ = true;
    }
    if (colorsDirty_) dirty_ = true;
    if (dirty_) prepare();
    const double w = projection_.width(), h = projection_.height();
    const double s = scale_;
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.fillRect(QRectF(0, 0, w, h), colors_[BackgroundNotSky]);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colors_[BackgroundSky]);
    painter.drawEllipse(zenith_, horizonRadius_, horizonRadius_);
    painter.setBrush(Qt::NoBrush);
    if (!snapshot_) return;
    const double ppd = projection_.pixelsPerDegree();

    if (options_.zenithGrid) {
        painter.setPen(QPen(colors_[GridZenith], 0.6 * s, Qt::DotLine));
        for (int alt = 10; alt < 90; alt += 10) painter.drawEllipse(zenith_, (90 - alt) * ppd, (90 - alt) * ppd);
        for (int az = 0; az < 360; az += 30) {
            const ChartPoint e = projection_.pixel(90.0, az);
            painter.drawLine(zenith_, QPointF(e.x, e.y));
        }
        // Altitudes along a line a little to the side of the facing
        // direction, clear of the declinations on the meridian.
        painter.setPen(colors_[GridZenithText]);
        painter.setFont(smallFont_);
        const double facing = facingAzimuth(state_.rotation, state_.flippedEastWest()) - kAltitudeLabelOffsetDeg;
        for (int alt = 10; alt < 90; alt += 10) {
            const ChartPoint p = projection_.pixel(90 - alt, facing);
            const QString label = QStringLiteral("%1°").arg(alt);
            if (p.x >= 0 && p.y >= 0 && p.x < w && p.y < h)
                painter.drawText(QPointF(p.x - QFontMetricsF(smallFont_).horizontalAdvance(label) - 3 * s, p.y - 2 * s), label);
        }
    }
    if (options_.polarGrid) {
        painter.setPen(QPen(colors_[GridPolar], 0.6 * s));
        painter.drawLines(polarGridLines_);
    }
    if (options_.ecliptic) {
        painter.setPen(QPen(colors_[Ecliptic], 1.0 * s, Qt::DashLine));
        painter.drawLines(eclipticLines_);
    }
    // Constellation names under the figure lines when zoomed in past 2.5;
    // otherwise they go with the other labels, over the lines.
    const bool namesUnder = constellationNamesUnderLines(state_.zoom);
    if (namesUnder) paintLabels(painter, constellationNames_);
    if (options_.constellationFigures) {
        painter.setPen(QPen(colors_[Constellations], 1.0 * s));
        painter.drawLines(figureLines_);
    }
    if (!trackPoints_.isEmpty() || !trackToday_.isEmpty()) {
        painter.setPen(QPen(colors_[PlanetOrbits], 2.0 * s, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoints(trackPoints_);
        painter.setPen(QPen(colors_[PlanetOrbits], 5.0 * s, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoints(trackToday_);
    }
    if (!cometLines_.isEmpty() || !cometPoints_.isEmpty()) {
        const QColor track = cometTrackColor();
        painter.setPen(QPen(track, 1.0 * s));
        painter.drawLines(cometLines_);
        painter.setPen(QPen(track, 3.0 * s, Qt::SolidLine, Qt::RoundCap));
        painter.drawPoints(cometPoints_);
    }

    // Stars: one call over sprites of the pre-drawn discs.
    if (!stars_.isEmpty()) {
        QVector<QPainter::PixmapFragment> fragments;
        fragments.reserve(stars_.size());
        // Source rectangles are in the atlas's device pixels.
        const double r = atlasRatio_, cell = atlasCell_ * r;
        for (const StarSprite& st : stars_)
            fragments.append(QPainter::PixmapFragment::create(st.at, QRectF(cell * st.bucket, 0, cell, cell), 1.0 / r, 1.0 / r));
        painter.drawPixmapFragments(fragments.constData(), static_cast<int>(fragments.size()), starAtlas_);
    }

    // Bodies: the Sun and planets as discs, the Moon with its phase.
    for (const BodyMark& b : bodies_) {
        if (b.body == 11) continue;
        painter.setPen(Qt::NoPen);
        painter.setBrush(colors_[Planets]);
        painter.drawEllipse(b.at, b.radius, b.radius);
    }
    paintMoon(painter);
    paintComets(painter);
    painter.setBrush(Qt::NoBrush);

    // Labels last, over everything they name.
    if (!namesUnder) paintLabels(painter, constellationNames_);
    paintLabels(painter, labels_);
    if (!cometDates_.isEmpty()) {
        painter.setPen(cometTrackColor());
        for (const Label& l : cometDates_) painter.drawStaticText(l.at, l.text);
    }

    if (options_.horizon) {
        painter.setPen(QPen(colors_[HorizonCircle], 1.5 * s));
        painter.drawEllipse(zenith_, horizonRadius_, horizonRadius_);
    }

    // Zenith crosshatch.
    painter.setPen(QPen(colors_[ZenithCrosshatch], 1.0 * s));
    const double c = 6 * s;
    painter.drawLine(zenith_ - QPointF(c, 0), zenith_ + QPointF(c, 0));
    painter.drawLine(zenith_ - QPointF(0, c), zenith_ + QPointF(0, c));

    if (options_.telrad) {
        painter.setPen(QPen(colors_[Telrad], 1.0 * s));
        const QPointF centre(w / 2.0, h / 2.0);
        for (double deg : {0.5, 2.0, 4.0}) painter.drawEllipse(centre, deg * ppd, deg * ppd);
    }

    QPointF selected;
    if (selection_.kind != ChartSelection::Kind::None && selectionPixel(selection_, selected)) {
        painter.setPen(QPen(colors_[SelectionBox], 1.5 * s));
        const double half = 8 * s;
        painter.drawRect(QRectF(selected.x() - half, selected.y() - half, 2 * half, 2 * half));
    }

    // North arrow in the bottom right corner, pointing where north lies on the chart.
    {
        const double theta = projection_.screenAngleDeg(0.0) * kDegToRad;
        const QPointF dir(std::cos(theta), std::sin(theta));
        const QPointF centre(w - 22 * s, h - 22 * s);
        const QPointF tip = centre + dir * 14 * s, tail = centre - dir * 14 * s;
        const QPointF side(-dir.y(), dir.x());
        painter.setPen(QPen(colors_[NorthArrow], 1.5 * s));
        painter.drawLine(tail, tip);
        painter.setBrush(colors_[NorthArrow]);
        const QPointF head[3] = {tip, tip - dir * 7 * s + side * 4 * s, tip - dir * 7 * s - side * 4 * s};
        painter.drawPolygon(head, 3);
        painter.setBrush(Qt::NoBrush);
    }

    paintCompass(painter);
    if (options_.infoTexts) paintInfo(painter);

    if (!hoverText_.isEmpty()) {
        painter.setFont(font_);
        painter.setPen(colors_[InfoStarData]);
        painter.drawText(hoverAt_ + QPointF(12 * s, -4 * s), hoverText_);
    }
}

}  // namespace celestra
