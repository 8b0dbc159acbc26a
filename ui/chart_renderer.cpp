#include "ui/chart_renderer.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <limits>

#include "catalogs/constellations.h"
#include "catalogs/deep_sky.h"
#include "core/angles.h"
#include "core/number_text.h"
#include "core/time_scales.h"
#include "sky/chart_looks.h"
#include "solarsystem/comets.h"
#include "ui/label_layout.h"
#include "ui/translations.h"

namespace celestra {

namespace {

const char* const kBodyNames[11] = {"Mercury", "Venus",   "Earth", "Mars", "Jupiter", "Saturn",
                                    "Uranus",  "Neptune", "Pluto", "Sun",  "Moon"};

// Star disc radii at scale 1 (sky/chart_looks.h), in kStarBuckets steps.
constexpr double kMinRadius = 0.7;
constexpr double kMaxRadius = 4.6;
// Azimuth between the facing direction and the altitude labels, degrees.
constexpr double kAltitudeLabelOffsetDeg = 15.0;
// The smallest Sun and Moon, and the smallest planet, pixels at scale 1.
constexpr double kSunMoonMinRadius = 5.0;
constexpr double kPlanetMinRadius = 1.8;
// Days between the dated points of an orbital path, and how many each side
// of the present day are dated.
constexpr int kPathDateDays = 30;
constexpr int kPathDatedSteps = 3;
// Half the selection marker's side, pixels at scale 1.
constexpr double kSelectionHalfSize = 9.0;
// How much brighter than a named star an unnamed one must be for its number.
constexpr double kNumberedStarMargin = 2.0;

// Label kinds, most important first: the order labels get their places in.
enum LabelKind {
    kBodyLabel,
    kCometLabel,
    kNamedStarLabel,
    kConstellationLabel,
    kDeepSkyLabel,
    kStarNumberLabel,
    kDateLabel,
    kGridLabel
};
// Constellation names and grid numbers keep off the discs of the stars
// brighter than this (they name no object of their own).
constexpr double kUnownedLabelMagnitude = 3.5;

int bucketOf(double radius, int buckets) {
    const double t = (radius - kMinRadius) / (kMaxRadius - kMinRadius);
    return std::clamp(static_cast<int>(std::lround(t * (buckets - 1))), 0, buckets - 1);
}
double radiusOfBucket(int bucket, int buckets) {
    return kMinRadius + (kMaxRadius - kMinRadius) * bucket / (buckets - 1);
}

// The atlas row of a spectral class letter, and a letter of each row.
constexpr char kRowClass[] = {'O', 'B', 'A', 'F', 'G', 'K', 'M', 'S', 'C', 'D', '0'};
int rowOfClass(int32_t spectralClass) {
    switch (spectralClass) {
        case 'O':
        case 'W':
        case 'P': return 0;
        case 'B': return 1;
        case 'A': return 2;
        case 'F': return 3;
        case 'G': return 4;
        case 'K': return 5;
        case 'M': return 6;
        case 'S': return 7;
        case 'C':
        case 'N': return 8;
        case 'D': return 9;
        default: return 10;
    }
}

QString clockText(double hours) { return QString::fromStdString(formatClockTime(hours)); }

QColor mixed(const QColor& a, const QColor& b, double t) {
    return QColor::fromRgbF(static_cast<float>(a.redF() + (b.redF() - a.redF()) * t),
                            static_cast<float>(a.greenF() + (b.greenF() - a.greenF()) * t),
                            static_cast<float>(a.blueF() + (b.blueF() - a.blueF()) * t));
}

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
    if (state.colorScheme.colors != state_.colorScheme.colors || state.colorPreset != state_.colorPreset)
        colorsDirty_ = true;
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

void ChartRenderer::setDevicePixelRatio(double ratio) { devicePixelRatio_ = std::max(1.0, ratio); }

void ChartRenderer::setOptions(const ChartOptions& options) {
    if (options.paper != options_.paper) colorsDirty_ = true;
    options_ = options;
    dirty_ = true;
}

void ChartRenderer::setSelection(const ChartSelection& selection) {
    // The selection's marker and its corner text take room from the labels.
    if (!(selection == selection_)) dirty_ = true;
    selection_ = selection;
}

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
    for (int k = 0; k < kColorKeyCount; ++k)
        colors_[static_cast<size_t>(k)] = colorOf(state_.colorScheme.colors[static_cast<size_t>(k)]);
    ground_ = colorOf(celestra::groundColor(state_.colorScheme, state_.colorPreset));
    colorsDirty_ = false;
    rebuildStarAtlas();
}

void ChartRenderer::rebuildStarAtlas() {
    std::array<ColorRef, kStarColorRows> rowColors{};
    for (int row = 0; row < kStarColorRows; ++row)
        rowColors[static_cast<size_t>(row)] =
            options_.paper ? rgb(0, 0, 0)
                           : starColor(kRowClass[row], state_.colorScheme.colors[Stars], state_.colorPreset);
    if (!starAtlas_.isNull() && rowColors == atlasColors_ && scale_ == atlasScale_ && devicePixelRatio_ == atlasRatio_)
        return;
    atlasColors_ = rowColors;
    atlasScale_ = scale_;
    atlasRatio_ = devicePixelRatio_;
    atlasCell_ = std::ceil(2.0 * kMaxRadius * scale_ + 2.0);
    const double r = devicePixelRatio_;
    QImage atlas(static_cast<int>(std::ceil(atlasCell_ * kStarBuckets * r)),
                 static_cast<int>(std::ceil(atlasCell_ * kStarColorRows * r)), QImage::Format_ARGB32_Premultiplied);
    atlas.setDevicePixelRatio(r);
    atlas.fill(Qt::transparent);
    QPainter p(&atlas);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int row = 0; row < kStarColorRows; ++row) {
        p.setBrush(colorOf(rowColors[static_cast<size_t>(row)]));
        for (int b = 0; b < kStarBuckets; ++b) {
            const double radius = radiusOfBucket(b, kStarBuckets) * scale_;
            p.drawEllipse(QPointF(atlasCell_ * (b + 0.5), atlasCell_ * (row + 0.5)), radius, radius);
        }
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

ChartRenderer::LabelRequest ChartRenderer::labelAround(int kind, double magnitude, const QPointF& at, double radius,
                                                       const QString& text, const QColor& color) {
    LabelRequest r{kind, magnitude, {}, color, staticText(text)};
    r.candidates = LabelLayout::around(at, radius, r.text.size(), 2.0 * scale_);
    return r;
}

void ChartRenderer::prepare() {
    dirty_ = false;
    if (colorsDirty_) rebuildColors();
    const ChartPoint z = projection_.zenithPixel();
    zenith_ = {z.x, z.y};
    horizonRadius_ = projection_.pixelsPerDegree() * 90.0;
    for (auto* v : {&figureLines_, &eclipticLines_, &polarGridLines_, &cometLines_}) v->clear();
    for (auto* v : {&trackPoints_, &trackToday_, &cometPoints_, &messierMarks_, &caldwellMarks_}) v->clear();
    stars_.clear();
    labels_.clear();
    constellationNames_.clear();
    labelRects_.clear();
    hits_.clear();
    bodies_.clear();
    comets_.clear();
    compass_.clear();
    reserved_.clear();
    sky_ = colors_[BackgroundSky];
    if (!snapshot_) return;
    const SkyBody& sun = snapshot_->bodies[kSun - 1];
    if (!options_.paper)
        sky_ = colorOf(skyColorForSun(state_.colorScheme, state_.colorPreset,
                                      sun.valid ? 90.0 - sun.place.zenithDistance : std::nan("")));

    std::vector<LabelRequest> requests;
    prepareStarsAndDeepSky(requests);
    prepareGrids(requests);
    if (options_.orbitalPaths) prepareOrbitalPaths(requests);
    if (options_.planets) prepareBodies(requests);
    if (options_.comets) prepareComets(requests);
    prepareCompass();
    layOutLabels(requests);
}

// Every listed object above the horizon gets a pixel; figure lines need
// partners that are off the window too. A star fainter than the limit is
// drawn only when it is the selection (Find marks what it centres on).
void ChartRenderer::prepareStarsAndDeepSky(std::vector<LabelRequest>& requests) {
    const SkySnapshot& sky = *snapshot_;
    const double margin = 8.0 * scale_;
    const double limit = state_.magnitudeLimit * 0.001;
    const size_t n = sky.objects.size();
    std::vector<QPointF> at(n);
    std::vector<char> above(n, 0);
    for (size_t i = 0; i < n; ++i) {
        const SkyObject& o = sky.objects[i];
        if (o.place.zenithDistance >= 90.0f) continue;
        above[i] = 1;
        at[i] = pixel(o.place);
    }

    const double labelMagnitude = starLabelMagnitude(state_.zoom);
    for (size_t i = 0; i < n; ++i) {
        if (!above[i]) continue;
        const SkyObject& o = sky.objects[i];
        const QPointF p = at[i];
        const bool visible = onChart(p, margin);
        const double magnitude = o.magnitude * 0.001;
        const bool selected = selection_.kind == ChartSelection::Kind::Object && selection_.id == o.object;
        const bool shown = visible && (magnitude <= limit || selected);
        const StarEntry* e = catalogueObject(o.object);
        if (o.object < kFirstMessierObject) {
            if (shown) {
                const double r = starDiscRadius(std::min(magnitude, limit), limit);
                stars_.append({p, bucketOf(r, kStarBuckets), rowOfClass(e->spectralClass), magnitude});
                hits_.append({p, {ChartSelection::Kind::Object, o.object}});
                // A star without a proper name is numbered two magnitudes
                // further in than the named ones, so numbers do not crowd the field.
                const bool named = e->name[0] != '\0';
                if (options_.starNames && magnitude <= labelMagnitude - (named ? 0.0 : kNumberedStarMargin)) {
                    const double clear = selected ? kSelectionHalfSize * scale_ : r * scale_;
                    requests.push_back(labelAround(named ? kNamedStarLabel : kStarNumberLabel, magnitude, p, clear,
                                                   QString::fromStdString(starChartLabel(*e)), colors_[StarNames]));
                }
            }
            if (options_.constellationFigures) {
                for (int32_t link : {e->figureLink1, e->figureLink2}) {
                    if (!figureLinkValid(link)) continue;
                    const int partner = link - 1;
                    const int32_t j = partner < static_cast<int>(sky.indexOfObject.size())
                                          ? sky.indexOfObject[static_cast<size_t>(partner)]
                                          : -1;
                    if (j < 0 || !above[static_cast<size_t>(j)]) continue;
                    const QPointF q = at[static_cast<size_t>(j)];
                    if (visible || onChart(q, margin)) figureLines_.append(QLineF(p, q));
                }
            }
        } else if (shown) {
            const bool messier = o.object < kFirstCaldwellObject;
            (messier ? messierMarks_ : caldwellMarks_).append(p);
            hits_.append({p, {ChartSelection::Kind::Object, o.object}});
            if (options_.deepSkyNames)
                requests.push_back(labelAround(kDeepSkyLabel, magnitude, p,
                                               (selected ? kSelectionHalfSize : 4.0) * scale_,
                                               QString::fromStdString(catalogueObjectLabel(o.object)),
                                               colors_[messier ? MessierNames : CaldwellNames]));
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
            // Centred on its star, nudged off the star's disc: below, above,
            // then a line further each way.
            LabelRequest r{kConstellationLabel,
                           kUnownedLabelMagnitude,
                           {},
                           colors_[ConstellationNames],
                           staticText(QString::fromLatin1(label.name))};
            const QSizeF size = r.text.size();
            const double gap = 6.0 * scale_;
            for (double dy : {gap, -gap - size.height(), gap + size.height(), -gap - 2 * size.height()})
                r.candidates.append(QRectF(p.x() - size.width() / 2, p.y() + dy, size.width(), size.height()));
            requests.push_back(r);
        }
    }
}

void ChartRenderer::prepareGrids(std::vector<LabelRequest>& requests) {
    const SkySnapshot& sky = *snapshot_;
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
            LabelRequest r = labelAround(kGridLabel, kUnownedLabelMagnitude, p, 0.0, text, colors_[GridPolarText]);
            // Below and right of the node first, as the grid's numbers always stood.
            r.candidates.prepend(QRectF(p + QPointF(2 * scale_, 1 * scale_), r.text.size()));
            requests.push_back(r);
        }
    }
    if (options_.zenithGrid) {
        // Altitudes along a line a little to the side of the facing
        // direction, clear of the declinations on the meridian.
        const double facing = facingAzimuth(state_.rotation, state_.flippedEastWest()) - kAltitudeLabelOffsetDeg;
        for (int alt = 10; alt < 90; alt += 10) {
            const ChartPoint c = projection_.pixel(90 - alt, facing);
            const QPointF p(c.x, c.y);
            if (!onChart(p, 0.0)) continue;
            LabelRequest r{kGridLabel,
                           kUnownedLabelMagnitude,
                           {},
                           colors_[GridZenithText],
                           staticText(QStringLiteral("%1°").arg(alt))};
            const QSizeF size = r.text.size();
            r.candidates = {
                QRectF(p.x() - size.width() - 3 * scale_, p.y() - size.height(), size.width(), size.height()),
                QRectF(p.x() + 3 * scale_, p.y() - size.height(), size.width(), size.height())};
            requests.push_back(r);
        }
    }
}

// Daily dots, the present day's larger; thirty, sixty and ninety days each
// side of it dated ("month.day"), the nearest with the body's name
// ("Mars 3.15").
void ChartRenderer::prepareOrbitalPaths(std::vector<LabelRequest>& requests) {
    const SkySnapshot& sky = *snapshot_;
    for (const OrbitalTrack& track : sky.tracks) {
        const QString name = track.body >= 1 && track.body <= 11 ? bodyText(kBodyNames[track.body - 1]) : QString();
        for (size_t d = 0; d < track.days.size(); ++d) {
            const HorizontalPoint& h = track.days[d];
            if (h.zenithDistance >= 91.0f) continue;
            const QPointF p = pixel(h);
            if (!onChart(p, 0.0)) continue;
            const int fromToday = static_cast<int>(d) - track.currentDay;
            (fromToday == 0 ? trackToday_ : trackPoints_).append(p);
            const int steps = std::abs(fromToday) / kPathDateDays;
            if (fromToday % kPathDateDays != 0 || steps < 1 || steps > kPathDatedSteps || h.zenithDistance >= 90.0f)
                continue;
            const BrokenDownTime t = brokenDownTimeFromJulianDay(sky.instantUtc + fromToday);
            QString text = QStringLiteral("%1.%2").arg(int(t.month)).arg(int(t.day));
            if (steps == 1) text = name + QLatin1Char(' ') + text;
            requests.push_back(
                labelAround(kDateLabel, kUnownedLabelMagnitude, p, 2.0 * scale_, text, colors_[PlanetOrbits]));
        }
    }
}

void ChartRenderer::prepareBodies(std::vector<LabelRequest>& requests) {
    const SkySnapshot& sky = *snapshot_;
    const double margin = 8.0 * scale_;
    const double limit = state_.magnitudeLimit * 0.001;
    for (const SkyBody& b : sky.bodies) {
        if (!b.valid || b.place.zenithDistance >= 90.0f) continue;
        const QPointF p = pixel(b.place);
        const bool sunOrMoon = b.body == kSun || b.body == kMoon;
        // A planet as bright as a star of its magnitude, a little larger; any
        // body at least its apparent disc when zoomed in that far.
        const double minimum =
            sunOrMoon ? kSunMoonMinRadius : std::max(kPlanetMinRadius, starDiscRadius(b.magnitude, limit) + 0.6);
        const double r = std::max(minimum * scale_, b.angularDiameterDeg / 2.0 * projection_.pixelsPerDegree());
        if (!onChart(p, r + margin)) continue;
        bodies_.append({p, r, b.body, colorOf(bodyColor(b.body, state_.colorScheme, state_.colorPreset)), b.magnitude});
        hits_.append({p, {ChartSelection::Kind::Body, b.body}});
        const bool selected = selection_.kind == ChartSelection::Kind::Body && selection_.id == b.body;
        requests.push_back(labelAround(kBodyLabel, b.magnitude, p,
                                       selected ? std::max(r, kSelectionHalfSize * scale_) : r,
                                       bodyText(kBodyNames[b.body - 1]), colors_[PlanetNames]));
    }
}

// The compass letters stand on the ground just below the horizon where it
// is on the window. When the zenith is well inside the window and the
// horizon is not (the zenith view), the four main letters go where the line
// from the zenith towards them leaves the window.
void ChartRenderer::prepareCompass() {
    const QFontMetricsF fm(font_);
    // A letter is drawn where it fits whole; the zenith must be well inside
    // for the letters to be pulled in along their lines.
    const double inset = fm.height() / 2.0 + 1.0;
    const QRectF box(inset, inset, projection_.width() - 2 * inset, projection_.height() - 2 * inset);
    const bool zenithInside = box.adjusted(2 * inset, 2 * inset, -2 * inset, -2 * inset).contains(zenith_);
    static const struct {
        double az;
        const char* text;
        bool main;
    } kLetters[] = {{0, QT_TR_NOOP("N"), true},     {45, QT_TR_NOOP("NE"), false}, {90, QT_TR_NOOP("E"), true},
                    {135, QT_TR_NOOP("SE"), false}, {180, QT_TR_NOOP("S"), true},  {225, QT_TR_NOOP("SW"), false},
                    {270, QT_TR_NOOP("W"), true},   {315, QT_TR_NOOP("NW"), false}};
    const double below = 90.0 + inset * 1.2 / std::max(0.01, projection_.pixelsPerDegree());
    for (const auto& l : kLetters) {
        const ChartPoint h = projection_.pixel(below, l.az);
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
        const QString s = tr(l.text);
        const double w = fm.horizontalAdvance(s);
        const QPointF baseline(p.x() - w / 2.0, p.y() + (fm.ascent() - fm.descent()) / 2.0);
        compass_.append({baseline, colors_[NSEW], QStaticText(s)});
        reserved_.append(QRectF(baseline.x(), baseline.y() - fm.ascent(), w, fm.height()));
    }
}

void ChartRenderer::layOutLabels(std::vector<LabelRequest>& requests) {
    const double w = projection_.width(), h = projection_.height(), s = scale_;
    LabelLayout layout(QRectF(0, 0, w, h));
    // The corner texts and the north arrow.
    const QFontMetricsF fm(font_);
    const auto widest = [&fm](const QStringList& lines) {
        double most = 0.0;
        for (const QString& line : lines) most = std::max(most, fm.horizontalAdvance(line));
        return most;
    };
    if (options_.infoTexts) {
        const QStringList time = timeTexts();
        reserved_.append(QRectF(0, 0, 6 * s + widest(time) + 6 * s, 4 * s + fm.lineSpacing() * time.size() + 4 * s));
        const QStringList selected = selectionLines();
        if (!selected.isEmpty()) {
            const double height = fm.lineSpacing() * selected.size() + 6 * s + 4 * s;
            reserved_.append(QRectF(0, h - height, 6 * s + widest(selected) + 6 * s, height));
        }
    }
    reserved_.append(QRectF(w - 44 * s, h - 44 * s, 44 * s, 44 * s));
    QPointF selected;
    if (selection_.kind != ChartSelection::Kind::None && selectionPixel(selection_, selected)) {
        const double half = kSelectionHalfSize * s;
        reserved_.append(QRectF(selected - QPointF(half, half), QSizeF(2 * half, 2 * half)));
    }
    for (const QRectF& r : reserved_) layout.reserve(r);

    for (const StarSprite& st : stars_)
        layout.addDisc(st.at, radiusOfBucket(st.bucket, kStarBuckets) * s, st.magnitude);
    for (const BodyMark& b : bodies_) layout.addDisc(b.at, b.radius, b.magnitude);

    std::stable_sort(requests.begin(), requests.end(), [](const LabelRequest& a, const LabelRequest& b) {
        return a.kind != b.kind ? a.kind < b.kind : a.magnitude < b.magnitude;
    });
    for (const LabelRequest& r : requests) {
        QRectF placed;
        if (!layout.place(r.candidates, r.magnitude, placed)) continue;
        (r.kind == kConstellationLabel ? constellationNames_ : labels_).append({placed.topLeft(), r.color, r.text});
    }
    labelRects_ = layout.placed();
}

// Each point of a comet's track that has a place above the horizon is a dot,
// joined to its neighbour when that one is up too (below the horizon a track
// breaks, as the orbital paths do). The present point carries the comet's
// mark, its name and the hit. Dates go to every fifth point where they keep
// clear of the other labels, so a short track stays readable.
void ChartRenderer::prepareComets(std::vector<LabelRequest>& requests) {
    const SkySnapshot& sky = *snapshot_;
    const double margin = 8.0 * scale_;
    const QColor track = cometTrackColor();
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
            const bool selected = selection_.kind == ChartSelection::Kind::Comet && selection_.id == c.comet;
            LabelRequest name =
                labelAround(kCometLabel, c.apparentMagnitude, at[now], (selected ? kSelectionHalfSize : 3.0) * scale_,
                            QString::fromStdString(c.name), colors_[CometNames]);
            // Right of the head, its top a little above it, as comets were always named.
            if (!selected)
                name.candidates.prepend(QRectF(at[now] + QPointF(5 * scale_, -6 * scale_), name.text.size()));
            requests.push_back(name);
        }
        for (int j = 0; j < n; j += 5) {
            const size_t k = static_cast<size_t>(j);
            if (j == c.present || !up[k] || !onChart(at[k], 0.0)) continue;
            LabelRequest date = labelAround(kDateLabel, c.apparentMagnitude, at[k], 1.5 * scale_,
                                            QString::fromStdString(c.points[k].label), track);
            date.candidates.prepend(QRectF(at[k] + QPointF(3 * scale_, 1 * scale_), date.text.size()));
            requests.push_back(date);
        }
    }
}

QColor ChartRenderer::cometTrackColor() const {
    // The comet's colour two thirds of the way from the sky's: the track and
    // its dates stay behind the comet and its name.
    return mixed(colors_[BackgroundSky], colors_[CometNames], 2.0 / 3.0);
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
        return bodyText(kBodyNames[selection.id - 1]);
    if (selection.kind == ChartSelection::Kind::Object)
        return QString::fromStdString(catalogueObjectLabel(selection.id));
    if (selection.kind == ChartSelection::Kind::Comet && snapshot_) {
        if (const SkyComet* c = snapshot_->cometByIndex(selection.id)) return QString::fromStdString(c->name);
    }
    return {};
}

void ChartRenderer::paintStarShapes(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    int row = -1;
    for (const StarSprite& st : stars_) {
        if (st.row != row) {
            row = st.row;
            painter.setBrush(colorOf(atlasColors_[static_cast<size_t>(row)]));
        }
        const double r = radiusOfBucket(st.bucket, kStarBuckets) * scale_;
        painter.drawEllipse(st.at, r, r);
    }
    painter.setBrush(Qt::NoBrush);
}

QString ChartRenderer::placeTextAt(const QPointF& at) const {
    if (!snapshot_) return {};
    double zd = 0.0, az = 0.0, ra = 0.0, dec = 0.0;
    projection_.horizontalOfPixel(at.x(), at.y(), zd, az);
    if (!(zd <= 180.0)) return {};  // beyond the nadir's circle: no sky there
    equatorialOfChartPlace(*snapshot_, zd, az, ra, dec);
    return tr("Alt: %1  Az: %2   RA: %3  Dec: %4")
        .arg(QString::fromStdString(formatAngle(90.0 - zd, 2, AngleSignStyle::Signed)),
             QString::fromStdString(formatAngle(az, 2, AngleSignStyle::Signed)), clockText(ra),
             QString::fromStdString(formatAngle(dec, 2, AngleSignStyle::Signed)));
}

// The Sun with a soft glow, the planets as discs in their own colours, the
// Moon with its phase.
void ChartRenderer::paintBodies(QPainter& painter) {
    for (const BodyMark& b : bodies_) {
        if (b.body == kMoon) continue;
        if (b.body == kSun) {
            QRadialGradient glow(b.at, b.radius * 3.0);
            QColor edge = b.color;
            edge.setAlpha(0);
            QColor inner = b.color;
            inner.setAlpha(110);
            glow.setColorAt(0.0, inner);
            glow.setColorAt(1.0, edge);
            painter.setPen(Qt::NoPen);
            painter.setBrush(glow);
            painter.drawEllipse(b.at, b.radius * 3.0, b.radius * 3.0);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(b.color);
        painter.drawEllipse(b.at, b.radius, b.radius);
    }
    paintMoon(painter);
    painter.setBrush(Qt::NoBrush);
}

void ChartRenderer::paintMoon(QPainter& painter) {
    const SkySnapshot& sky = *snapshot_;
    for (const BodyMark& b : bodies_) {
        if (b.body != kMoon) continue;
        const double r = b.radius;
        // The unlit part faintly against the sky (earthshine), edged so a
        // new Moon still shows.
        painter.setPen(QPen(mixed(sky_, b.color, 0.45), 1.0 * scale_));
        painter.setBrush(mixed(sky_, b.color, 0.18));
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
            if (i == 0) lit.moveTo(q);
            else lit.lineTo(q);
        }
        for (int i = kSteps; i >= 0; --i) {
            const double phi = (-90.0 + 180.0 * i / kSteps) * kDegToRad;
            lit.lineTo(t * r * std::cos(phi), r * std::sin(phi));
        }
        lit.closeSubpath();
        painter.save();
        painter.translate(b.at);
        painter.rotate(angle);
        painter.setPen(Qt::NoPen);
        painter.setBrush(b.color);
        painter.drawPath(lit);
        painter.restore();
    }
}

void ChartRenderer::paintCompass(QPainter& painter) {
    painter.setFont(font_);
    painter.setPen(colors_[NSEW]);
    for (const Label& l : compass_) painter.drawText(l.at, l.text.text());
}

// North arrow in the bottom right corner, pointing where north lies on the chart.
void ChartRenderer::paintNorthArrow(QPainter& painter) {
    const double w = projection_.width(), h = projection_.height(), s = scale_;
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
    snprintfC(fov, sizeof fov, "%4.1lf°", fieldOfViewDeg(state_.zoom));
    // Civil times are rounded to the second (a truncating clock text would
    // show 22:00:00 UTC as 21:59:59, the JD of an exact hour being a hair short).
    const BrokenDownTime utc = brokenDownTimeFromJulianDay(jd);
    const BrokenDownTime local = brokenDownTimeFromJulianDay(jd + zone);
    const auto hms = [](const BrokenDownTime& t) {
        return QString::asprintf("%02d:%02d:%02d", int(t.hour), int(t.minute), int(t.second));
    };
    return {
        tr("FOV: %1").arg(QString::fromUtf8(fov)),
        tr("UTC  %1-%2-%3 %4")
            .arg(int(utc.year), 4, 10, QLatin1Char('0'))
            .arg(int(utc.month), 2, 10, QLatin1Char('0'))
            .arg(int(utc.day), 2, 10, QLatin1Char('0'))
            .arg(hms(utc)),
        QStringLiteral("%1  %2").arg(hms(local)).arg(QString::fromStdString(formatZoneLabel(zone))),
        tr("GMST %1").arg(clockText(gmst)),
        tr("LST  %1").arg(clockText(lst)),
    };
}

// The selected object's name, apparent place of date, altitude, azimuth
// and magnitude; empty without a selection on the snapshot.
QStringList ChartRenderer::selectionLines() const {
    const SkySnapshot& sky = *snapshot_;
    if (selection_.kind == ChartSelection::Kind::None) return {};
    double ra = 0, dec = 0, magnitude = 0;
    HorizontalPoint place;
    int number = 0;
    QString magnitudeText;
    if (selection_.kind == ChartSelection::Kind::Comet) {
        const SkyComet* c = sky.cometByIndex(selection_.id);
        if (!c || !c->presentPoint().valid) return {};
        ra = c->raHours;
        dec = c->decDeg;
        place = c->presentPoint().place;
        magnitudeText = engineText(cometInfoText(c->absoluteMagnitude, c->apparentMagnitude));
    } else if (selection_.kind == ChartSelection::Kind::Object) {
        const SkyObject* o = sky.objectByNumber(selection_.id);
        if (!o) return {};
        ra = o->raHours;
        dec = o->decDeg;
        magnitude = o->magnitude * 0.001;
        place = o->place;
        if (o->object < kFirstMessierObject) number = catalogueObject(o->object)->number;
    } else {
        const SkyBody& b = sky.bodies[static_cast<size_t>(selection_.id - 1)];
        if (!b.valid) return {};
        ra = b.raHours;
        dec = b.decDeg;
        magnitude = b.magnitude;
        place = b.place;
    }
    if (magnitudeText.isEmpty()) {
        char m[32];
        snprintfC(m, sizeof m, "%4.2f", magnitude);
        magnitudeText = tr("M: %1").arg(QString::fromUtf8(m));
    }
    QStringList info = {
        selectionName(selection_),
        tr("RA: ") + clockText(ra),
        tr("Dec: ") + QString::fromStdString(formatAngle(dec, 2, AngleSignStyle::Signed)),
        tr("Alt: ") + QString::fromStdString(formatAngle(90.0 - place.zenithDistance, 2, AngleSignStyle::Signed)),
        tr("Az: ") + QString::fromStdString(formatAngle(place.azimuth, 2, AngleSignStyle::Signed)),
        magnitudeText,
    };
    if (number > 0) {
        char bs[32];
        snprintfC(bs, sizeof bs, "BS: %4d", number);
        info.append(QString::fromUtf8(bs));
    }
    return info;
}

void ChartRenderer::paintLabels(QPainter& painter, const QVector<Label>& labels) {
    painter.setFont(smallFont_);
    QRgb currentColor = 0;
    bool havePen = false;
    for (const Label& l : labels) {
        if (!havePen || l.color.rgba() != currentColor) {
            painter.setPen(l.color);
            currentColor = l.color.rgba();
            havePen = true;
        }
        painter.drawStaticText(l.at, l.text);
    }
}

void ChartRenderer::paintInfo(QPainter& painter) {
    painter.setFont(font_);
    const QFontMetricsF fm(font_);
    const double line = fm.lineSpacing();
    const double x = 6 * scale_;
    double y = 4 * scale_ + fm.ascent();
    painter.setPen(colors_[state_.realTime ? InfoTime : InfoTimeStopped]);
    double widest = 0.0;
    for (const QString& s : timeTexts()) {
        painter.drawText(QPointF(x, y), s);
        widest = std::max(widest, fm.horizontalAdvance(s));
        y += line;
    }
    timeTextRect_ = QRectF(0, 0, x + widest + x, y - line + fm.descent() + 4 * scale_);

    const QStringList info = selectionLines();
    if (info.isEmpty()) return;
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
    // The ground everywhere, the sky inside the horizon.
    painter.fillRect(QRectF(0, 0, w, h), ground_);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sky_);
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
    const QPaintEngine* engine = painter.paintEngine();
    if (engine && (engine->type() == QPaintEngine::SVG || engine->type() == QPaintEngine::Pdf)) {
        paintStarShapes(painter);
    } else if (!stars_.isEmpty()) {
        QVector<QPainter::PixmapFragment> fragments;
        fragments.reserve(stars_.size());
        // Source rectangles are in the atlas's device pixels.
        const double r = atlasRatio_, cell = atlasCell_ * r;
        for (const StarSprite& st : stars_)
            fragments.append(QPainter::PixmapFragment::create(
                st.at, QRectF(cell * st.bucket, cell * st.row, cell, cell), 1.0 / r, 1.0 / r));
        painter.drawPixmapFragments(fragments.constData(), static_cast<int>(fragments.size()), starAtlas_);
    }
    // Deep-sky objects: open circles in their catalogue's colour.
    painter.setBrush(Qt::NoBrush);
    for (const auto& [marks, key] :
         {std::pair{&messierMarks_, MessierNames}, std::pair{&caldwellMarks_, CaldwellNames}}) {
        painter.setPen(QPen(colors_[key], 1.0 * s));
        for (const QPointF& p : *marks) painter.drawEllipse(p, 3.5 * s, 3.5 * s);
    }

    paintBodies(painter);
    paintComets(painter);

    if (options_.horizon) {
        painter.setPen(QPen(colors_[HorizonCircle], 1.5 * s));
        painter.drawEllipse(zenith_, horizonRadius_, horizonRadius_);
    }

    // Labels over everything they name.
    if (!namesUnder) paintLabels(painter, constellationNames_);
    paintLabels(painter, labels_);

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
        const double half = (kSelectionHalfSize - 1.0) * s;
        painter.drawRect(QRectF(selected.x() - half, selected.y() - half, 2 * half, 2 * half));
    }

    paintNorthArrow(painter);
    paintCompass(painter);
    if (options_.infoTexts) paintInfo(painter);

    if (!hoverText_.isEmpty()) {
        painter.setFont(font_);
        painter.setPen(colors_[InfoStarData]);
        painter.drawText(hoverAt_ + QPointF(12 * s, -4 * s), hoverText_);
    }
}

}  // namespace celestra
