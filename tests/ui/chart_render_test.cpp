// The chart as pixels: background colours of the three schemes, Sirius,
// Vega and the Moon where the test's own projection of their horizontal
// places puts them, nothing below the horizon in the zenith view, text
// that is really drawn, a comet with its name and track; stars in their
// spectral class's hue, the ground and the sky each on their side of the
// horizon by night and by day, and labels that never overlap in the
// crowded fields of Orion and the Pleiades.
#include <QApplication>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>
#include <climits>
#include <cmath>
#include <vector>

#include "app/document.h"
#include "catalogs/star_catalog.h"
#include "catalogs/star_place.h"
#include "core/angles.h"
#include "core/horizon.h"
#include "core/time_scales.h"
#include "sky/chart_looks.h"
#include "sky/view_commands.h"
#include "solarsystem/ephemeris.h"
#include "solarsystem/planets.h"
#include "tests/ui/qt_test_support.h"
#include "ui/chart_image.h"
#include "ui/label_layout.h"

using namespace celestra;

namespace {

constexpr int kW = 1280;
constexpr int kH = 800;
// 2024-02-15 20:00 UTC near Copenhagen: Sirius near the meridian about 18°
// up, Vega near lower culmination a few degrees up in the north, and the
// Moon before first quarter high in the south-west.
const double kJd = julianDayFromCalendar(2024, 2, 15, 20.0);
// The same day at 16:45 UTC (the Sun about 3° below the horizon: civil
// twilight) and at 11:10 UTC (the Sun near the meridian, about 22° up).
const double kJdTwilight = julianDayFromCalendar(2024, 2, 15, 16.75);
const double kJdNoon = julianDayFromCalendar(2024, 2, 15, 11.1667);
constexpr double kLat = 55.0;
constexpr double kLon = 12.5;

// The test's own projection: azimuthal equidistant about the zenith,
// r = zd / 90 × R0 × zoom, screen angle rotation + 180° - A (y down), or
// A + rotation - 180° flipped.
QPointF project(double zd, double az, double zoom, double rotation, bool flipped, double ox, double oy) {
    const double r0 = std::min(kW, kH) / 2.0;
    const double theta = (flipped ? az + rotation - 180.0 : rotation + 180.0 - az) * kDegToRad;
    const double r = zd / 90.0 * r0;
    return {kW / 2.0 + zoom * (r * std::cos(theta) + ox), kH / 2.0 + zoom * (r * std::sin(theta) + oy)};
}

bool near(QRgb a, const QColor& b, int tolerance) {
    return std::abs(qRed(a) - b.red()) <= tolerance && std::abs(qGreen(a) - b.green()) <= tolerance &&
           std::abs(qBlue(a) - b.blue()) <= tolerance;
}

CUniverseViewDrawState zenithState(int preset, double zoom) {
    DocumentData doc(kJd, 0.0);
    doc.drawState.colorPreset = preset;
    doc.ApplyColorPreset();
    faceDirection(doc.drawState, FacingDirection::Zenith, kH);
    doc.drawState.zoom = zoom;
    doc.drawState.realTime = 0;
    return doc.drawState;
}

// A comet 60° from the zenith in the south-west whose track runs down the
// vertical 4° a step, below the horizon from point 18 on; the tail points
// across the track, towards smaller azimuths.
std::shared_ptr<SkySnapshot> cometSky() {
    auto sky = std::make_shared<SkySnapshot>();
    sky->instantUtc = kJd;
    SkyComet c;
    c.comet = 3;
    c.name = "C/1995 O1 (Hale-Bopp)";
    c.absoluteMagnitude = -2.0;
    c.apparentMagnitude = -1.7;
    c.present = 10;
    for (int j = 0; j <= 20; ++j)
        c.points.push_back({{static_cast<float>(60.0 + (j - 10) * 4.0), 225.0f}, true, "4." + std::to_string(j + 1)});
    c.points[2].valid = false;  // no place for that date: neither dot nor line
    c.hasTailPoint = true;
    c.tailPoint = {60.0f, 222.0f};
    sky->comets.push_back(c);
    return sky;
}

// A paint device that keeps the order of what is drawn on it: each call of
// lines or text with the pen's colour.
class RecordingEngine : public QPaintEngine {
public:
    struct Call {
        char kind;  // 'L' lines, 'T' text
        QColor pen;
    };
    std::vector<Call> calls;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState& changed) override {
        if (changed.state() & QPaintEngine::DirtyPen) pen_ = changed.pen().color();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawLines(const QLineF*, int) override { calls.push_back({'L', pen_}); }
    void drawLines(const QLine*, int) override { calls.push_back({'L', pen_}); }
    void drawTextItem(const QPointF&, const QTextItem&) override { calls.push_back({'T', pen_}); }
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawPath(const QPainterPath&) override {}

private:
    QColor pen_;
};

class RecordingDevice : public QPaintDevice {
public:
    mutable RecordingEngine engine;
    QPaintEngine* paintEngine() const override { return &engine; }

protected:
    int metric(PaintDeviceMetric m) const override {
        switch (m) {
            case PdmWidth: return kW;
            case PdmHeight: return kH;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY: return 96;
            case PdmDepth: return 32;
            case PdmNumColors: return INT_MAX;
            case PdmDevicePixelRatio: return 1;
            case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
            default: return 0;
        }
    }
};

}  // namespace

class ChartRenderTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<CUniverse> universe_;
    std::shared_ptr<SkySnapshot> snapshot_;
    CObserverState observer_{kJd, 0.0};

    // The star's refracted topocentric place from the one-object pipeline,
    // in its spectral class's colour.
    void starAt(int hr, const QImage& image, const CUniverseViewDrawState& s) {
        const StarEntry* star = starByNumber(hr);
        QVERIFY(star);
        HorizonResult place;
        QCOMPARE(horizonPlace(universe_->Places(), kJd, starPlaceInput(*star), observerSite(observer_), true,
                              PlaceForm::Topocentric, place),
                 Status::Ok);
        QVERIFY2(place.altitudeDeg > 0.0, star->name);
        const QPointF p = project(90.0 - place.altitudeDeg, place.azimuthDeg, s.zoom, s.rotation, s.flippedEastWest(),
                                  s.offsetX, s.offsetY);
        const QColor starColor = colorOf(
            celestra::starColor(static_cast<char>(star->spectralClass), s.colorScheme.colors[Stars], s.colorPreset));
        QVERIFY2(near(image.pixel(qRound(p.x()), qRound(p.y())), starColor, 24),
                 qPrintable(QStringLiteral("%1 not drawn at %2,%3").arg(star->name).arg(p.x()).arg(p.y())));
    }

private slots:
    void initTestCase() {
        UniverseConfig config;
        config.ephemerisPath = test::builtEphemeris().toStdString();
        universe_ = std::make_unique<CUniverse>(config);
        QVERIFY(universe_->StartupMessage().empty());
        observer_.latitude = kLat;
        observer_.longitude = kLon;
        snapshot_ = computeSnapshot(*universe_, observer_, zenithState(kPresetBlack, 1.0));
    }

    void backgroundOfEachScheme() {
        // An empty sky: only the backgrounds, grid and frame are drawn.
        auto empty = std::make_shared<SkySnapshot>();
        empty->instantUtc = kJd;
        for (int preset : {kPresetRed, kPresetBlack, kPresetWhite}) {
            const CUniverseViewDrawState s = zenithState(preset, 1.0);
            const QImage image = renderChartImage(empty, s, kW, kH);
            const CColorScheme& c = s.colorScheme;
            QVERIFY(near(image.pixel(5, kH - 5), colorOf(groundColor(c, preset)), 0));
            const QPointF inside = project(15.0, 10.0, 1.0, 90.0, false, 0, 0);
            QVERIFY(near(image.pixel(inside.toPoint()), colorOf(c.colors[BackgroundSky]), 0));
        }
    }

    void siriusAndVegaWhereTheirPlacesProject() {
        for (bool flipped : {false, true}) {
            CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
            if (flipped) toggleFlipEastWest(s);
            const QImage image = renderChartImage(snapshot_, s, kW, kH);
            starAt(2491, image, s);  // Sirius
            starAt(7001, image, s);  // Vega
        }
        // Facing south, zoomed: Sirius low in the south, near the bottom centre.
        CUniverseViewDrawState s = zenithState(kPresetWhite, 1.0);
        faceDirection(s, FacingDirection::South, kH);
        const QImage image = renderChartImage(snapshot_, s, kW, kH);
        starAt(2491, image, s);
    }

    void moonWithItsPhase() {
        const CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        const QImage image = renderChartImage(snapshot_, s, kW, kH);
        EphemerisFile& reader = processEphemeris();
        const PlaceContext context = makePlaceContext(reader);
        ObserverSite site;
        site.latitude = kLat;
        site.longitude = kLon;
        site.height = observer_.height;
        site.temperature = observer_.temperature;
        site.pressure = observer_.pressure;
        HorizonResult moon;
        QCOMPARE(horizonPlace(context, kJd, kMoon, site, true, PlaceForm::Topocentric, moon), Status::Ok);
        QVERIFY(moon.altitudeDeg > 10.0);
        MoonPhase phase;
        QCOMPARE(moonPhase(context, kJd, phase), Status::Ok);
        const QPointF centre = project(90.0 - moon.altitudeDeg, moon.azimuthDeg, 1.0, 90.0, false, 0, 0);
        const QColor lit = colorOf(bodyColor(kMoon, s.colorScheme, kPresetBlack));
        const QColor dark(lit.red() * 18 / 100, lit.green() * 18 / 100, lit.blue() * 18 / 100);
        // Inside the disc every pixel is lit or dark, and the lit share is the illuminated fraction.
        const double r = 5.0;  // the smallest Moon the chart draws at this zoom
        int litCount = 0, total = 0;
        for (int dy = -4; dy <= 4; ++dy) {
            for (int dx = -4; dx <= 4; ++dx) {
                if (dx * dx + dy * dy > (r - 1.5) * (r - 1.5)) continue;
                const QRgb px = image.pixel(qRound(centre.x()) + dx, qRound(centre.y()) + dy);
                ++total;
                if (near(px, lit, 60)) ++litCount;
                else QVERIFY2(near(px, dark, 90) || qGray(px) < qGray(lit.rgb()), "Moon disc has a stray colour");
            }
        }
        const double share = double(litCount) / total;
        QVERIFY2(
            std::abs(share - phase.illuminatedFraction) < 0.25,
            qPrintable(
                QStringLiteral("lit share %1, illuminated fraction %2").arg(share).arg(phase.illuminatedFraction)));
    }

    void nothingBelowTheHorizonFacingTheZenith() {
        const CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        ChartOptions options;
        options.infoTexts = false;
        options.starNames = false;
        options.constellationNames = false;
        options.planets = false;
        options.deepSkyNames = false;
        // Magnitude 7: the faintest stars too, every one of them inside the circle.
        CUniverseViewDrawState faint = s;
        faint.magnitudeLimit = 7000;
        const auto all = computeSnapshot(*universe_, observer_, faint);
        QVERIFY(all->objects.size() > 8000u);
        const QImage image = renderChartImage(all, faint, kW, kH, options);
        const QColor notSky = colorOf(groundColor(s.colorScheme, kPresetBlack));
        const double r = 400.0 + 3.0;
        // The compass letters stand on the ground, 12 pixels out.
        QVector<QRect> letters;
        for (int az = 0; az < 360; az += 45) {
            const QPointF p = project(90.0 + 12.0 / (400.0 / 90.0), az, 1.0, 90.0, false, 0, 0);
            letters.append(QRect(p.toPoint() - QPoint(14, 10), QSize(28, 20)));
        }
        int stray = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                if (std::hypot(x + 0.5 - kW / 2.0, y + 0.5 - kH / 2.0) <= r) continue;
                if (x > kW - 48 && y > kH - 48) continue;  // the north arrow's corner
                if (std::any_of(letters.begin(), letters.end(), [x, y](const QRect& l) { return l.contains(x, y); }))
                    continue;
                if (!near(image.pixel(x, y), notSky, 0)) ++stray;
            }
        }
        QCOMPARE(stray, 0);
    }

    void cometWithItsNameAndTrack() {
        const CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        const auto sky = cometSky();
        const QColor comet = colorOf(s.colorScheme.colors[CometNames]);
        const QColor skyColor = colorOf(s.colorScheme.colors[BackgroundSky]);
        const QColor notSky = colorOf(groundColor(s.colorScheme, kPresetBlack));
        const QColor track((2 * comet.red() + skyColor.red()) / 3, (2 * comet.green() + skyColor.green()) / 3,
                           (2 * comet.blue() + skyColor.blue()) / 3);
        const auto at = [](double zd) { return project(zd, 225.0, 1.0, 90.0, false, 0, 0).toPoint(); };
        const auto inkIn = [](const QImage& image, const QRect& box, const QColor& c) {
            int n = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x) n += near(image.pixel(x, y), c, 30);
            return n;
        };
        ChartOptions options;
        options.infoTexts = false;
        ChartRenderer renderer;
        renderer.setSnapshot(sky);
        renderer.setView(s, kW, kH);
        renderer.setOptions(options);
        QImage image(kW, kH, QImage::Format_ARGB32_Premultiplied);
        {
            QPainter painter(&image);
            renderer.paint(painter);
        }
        // The head at the present point, the name to its right, in "CometNames".
        const QPoint now = at(60.0);
        QVERIFY(near(image.pixel(now), comet, 30));
        const QRect name(now.x() + 5, now.y() - 8, 140, 16);
        QVERIFY2(inkIn(image, name, comet) > 40, "no name beside the comet");
        // The tail across the track, to the tail point's side only.
        const QPointF tail = project(60.0, 222.5, 1.0, 90.0, false, 0, 0);
        const QPointF otherSide = project(60.0, 227.5, 1.0, 90.0, false, 0, 0);
        QVERIFY(!near(image.pixel(tail.toPoint()), skyColor, 10));
        QVERIFY(near(image.pixel(otherSide.toPoint()), skyColor, 10));
        // Track points in the dimmer colour; none where there is no place; none below the horizon.
        QVERIFY(near(image.pixel(at(40.0)), track, 30));
        QVERIFY(near(image.pixel(at(72.0)), track, 30));
        QVERIFY(near(image.pixel(at(28.0)), skyColor, 10));
        QVERIFY(near(image.pixel(at(96.0)), notSky, 0));
        // A date beside a labelled point (point 5, 20° from the present).
        QVERIFY2(inkIn(image, QRect(at(40.0) + QPoint(3, 1), QSize(24, 12)), track) > 8, "no date at point 5");
        // Selectable like a planet, by the name the chart gives it.
        const ChartSelection hit = renderer.hitTest(QPointF(now) + QPointF(3, 2), 8.0);
        QCOMPARE(hit, (ChartSelection{ChartSelection::Kind::Comet, 3}));
        QCOMPARE(renderer.selectionName(hit), QStringLiteral("C/1995 O1 (Hale-Bopp)"));

        // The comets option off: no comet, no hit.
        options.comets = false;
        const QImage off = renderChartImage(sky, s, kW, kH, options);
        QCOMPARE(inkIn(off, QRect(now - QPoint(30, 30), QSize(200, 60)), comet), 0);
        QCOMPARE(inkIn(off, QRect(at(40.0) - QPoint(5, 5), QSize(10, 10)), track), 0);
        renderer.setOptions(options);
        QPainter painter(&image);
        renderer.paint(painter);
        QCOMPARE(renderer.hitTest(QPointF(now), 8.0).kind, ChartSelection::Kind::None);
    }

    void constellationNamesUnderTheLinesOnlyZoomedInPastTwoAndAHalf() {
        ChartOptions options;
        for (bool* off : {&options.starNames, &options.deepSkyNames, &options.zenithGrid, &options.polarGrid,
                          &options.ecliptic, &options.planets, &options.orbitalPaths, &options.comets, &options.telrad,
                          &options.horizon, &options.infoTexts})
            *off = false;
        for (double zoom : {2.0, 2.5, 2.75, 3.0, 6.0}) {
            const CUniverseViewDrawState s = zenithState(kPresetBlack, zoom);
            const QColor lines = colorOf(s.colorScheme.colors[Constellations]);
            const QColor names = colorOf(s.colorScheme.colors[ConstellationNames]);
            ChartRenderer renderer;
            renderer.setSnapshot(snapshot_);
            renderer.setView(s, kW, kH);
            renderer.setOptions(options);
            RecordingDevice device;
            {
                QPainter painter(&device);
                renderer.paint(painter);
            }
            int firstLine = -1, lastLine = -1, firstName = -1, lastName = -1;
            const auto& calls = device.engine.calls;
            for (int i = 0; i < static_cast<int>(calls.size()); ++i) {
                const auto& c = calls[static_cast<size_t>(i)];
                int& first = c.kind == 'L' ? firstLine : firstName;
                int& last = c.kind == 'L' ? lastLine : lastName;
                if (c.pen != (c.kind == 'L' ? lines : names)) continue;
                if (first < 0) first = i;
                last = i;
            }
            const QString at = QStringLiteral("zoom %1").arg(zoom);
            QVERIFY2(firstLine >= 0 && firstName >= 0, qPrintable(at + QStringLiteral(": nothing drawn")));
            if (zoom > 2.5) QVERIFY2(lastName < firstLine, qPrintable(at + QStringLiteral(": a name over the lines")));
            else QVERIFY2(firstName > lastLine, qPrintable(at + QStringLiteral(": a name under the lines")));
        }
    }

    // The pixel where the view draws a listed object.
    static QPointF pixelOf(const SkySnapshot& sky, int object, const CUniverseViewDrawState& s) {
        const SkyObject* o = sky.objectByNumber(object);
        if (!o) return {-1, -1};
        const ChartPoint c = ChartProjection::fromDrawState(s, kW, kH).pixel(o->place.zenithDistance, o->place.azimuth);
        return {c.x, c.y};
    }

    void starsInTheirSpectralClassHue() {
        // Rigel (HR 1713, B8) and Betelgeuse (HR 2061, M2), both up in the south.
        CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        faceDirection(s, FacingDirection::South, kH);
        ChartOptions bare;
        bare.starNames = bare.constellationNames = bare.constellationFigures = bare.polarGrid = bare.zenithGrid = false;
        const QImage image = renderChartImage(snapshot_, s, kW, kH, bare);
        const QColor rigel = image.pixelColor(pixelOf(*snapshot_, 1712, s).toPoint());
        const QColor betelgeuse = image.pixelColor(pixelOf(*snapshot_, 2060, s).toPoint());
        QVERIFY2(rigel.blue() > rigel.red(), qPrintable(rigel.name()));
        QVERIFY2(betelgeuse.red() > betelgeuse.blue() + 40, qPrintable(betelgeuse.name()));
        const int dh = std::abs(rigel.hsvHue() - betelgeuse.hsvHue());
        QVERIFY2(std::min(dh, 360 - dh) > 90,
                 qPrintable(QStringLiteral("hues %1 %2").arg(rigel.hsvHue()).arg(betelgeuse.hsvHue())));
    }

    // Every pixel on its side of the horizon: nothing above it in the ground
    // colour and nothing below it in the sky colour, everything drawn, at
    // night, in civil twilight and at noon, facing south and the zenith.
    void groundAndSkyEachOnTheirSideOfTheHorizon() {
        for (double jd : {kJd, kJdTwilight, kJdNoon}) {
            CObserverState observer = observer_;
            observer.instant = jd;
            for (int preset : {kPresetBlack, kPresetWhite, kPresetRed}) {
                for (bool zenith : {false, true}) {
                    CUniverseViewDrawState s = zenithState(preset, 1.0);
                    if (!zenith) faceDirection(s, FacingDirection::South, kH);
                    s.magnitudeLimit = 6000;
                    ChartRenderer renderer;
                    renderer.setSnapshot(computeSnapshot(*universe_, observer, s));
                    renderer.setView(s, kW, kH);
                    QImage image(kW, kH, QImage::Format_ARGB32_Premultiplied);
                    {
                        QPainter painter(&image);
                        renderer.paint(painter);
                    }
                    const ChartProjection p = ChartProjection::fromDrawState(s, kW, kH);
                    const ChartPoint z = p.zenithPixel();
                    const double horizon = p.pixelsPerDegree() * 90.0;
                    const QRgb sky = renderer.skyColor().rgb(), ground = renderer.groundColor().rgb();
                    QVERIFY(sky != ground);
                    int groundAbove = 0, skyBelow = 0;
                    for (int y = 0; y < kH; ++y) {
                        for (int x = 0; x < kW; ++x) {
                            const double d = std::hypot(x + 0.5 - z.x, y + 0.5 - z.y);
                            const QRgb px = image.pixel(x, y);
                            if (d < horizon - 2.0 && px == ground) ++groundAbove;
                            if (d > horizon + 2.0 && px == sky) ++skyBelow;
                        }
                    }
                    QVERIFY2(groundAbove == 0 && skyBelow == 0,
                             qPrintable(QStringLiteral(
                                            "jd %1 preset %2 zenith %3: %4 ground pixels above, %5 sky pixels below")
                                            .arg(jd)
                                            .arg(preset)
                                            .arg(zenith)
                                            .arg(groundAbove)
                                            .arg(skyBelow)));
                }
            }
        }
    }

    void theSkyFollowsTheSunInTheBlackScheme() {
        CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        QColor seen[3];
        int i = 0;
        for (double jd : {kJd, kJdTwilight, kJdNoon}) {
            CObserverState observer = observer_;
            observer.instant = jd;
            ChartRenderer renderer;
            renderer.setSnapshot(computeSnapshot(*universe_, observer, s));
            renderer.setView(s, kW, kH);
            renderer.prepare();
            seen[i++] = renderer.skyColor();
        }
        QCOMPARE(seen[0], colorOf(s.colorScheme.colors[BackgroundSky]));
        QVERIFY(seen[1].lightness() > seen[0].lightness());
        QVERIFY(seen[2].lightness() > seen[1].lightness());
        QVERIFY(seen[2].blue() > seen[2].red());
    }

    // Orion's belt and sword at 18° across and the Pleiades at 9° and 4.5°,
    // every name on, to magnitude 7, the field's brightest star selected: no
    // two labels meet, none covers the selection marker or the time texts.
    void labelsNeverOverlapInCrowdedFields() {
        CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        s.magnitudeLimit = 7000;
        const auto sky = computeSnapshot(*universe_, observer_, s);
        const struct {
            int object;
            double zoom;
        } fields[] = {{1898, 10.0}, {1164, 20.0}, {1164, 40.0}};
        for (const auto& f : fields) {
            const SkyObject* o = sky->objectByNumber(f.object);
            QVERIFY(o && o->place.zenithDistance < 80.0f);
            CUniverseViewDrawState v = s;
            faceDirection(v, FacingDirection::South, kH);
            v.zoom = f.zoom;
            QVERIFY(centreOn(v, ChartProjection::fromDrawState(v, kW, kH), o->place.zenithDistance, o->place.azimuth,
                             false));
            ChartRenderer renderer;
            renderer.setSnapshot(sky);
            renderer.setView(v, kW, kH);
            renderer.setSelection({ChartSelection::Kind::Object, f.object});
            QImage image(kW, kH, QImage::Format_ARGB32_Premultiplied);
            {
                QPainter painter(&image);
                renderer.paint(painter);
            }
            const QVector<QRectF>& rects = renderer.labelRects();
            QVERIFY2(rects.size() >= 6, qPrintable(QString::number(rects.size())));
            const QRectF marker(QPointF(kW / 2.0 - 8, kH / 2.0 - 8), QSizeF(16, 16));
            for (int i = 0; i < rects.size(); ++i) {
                QVERIFY(!rects[i].intersects(marker));
                QVERIFY(!rects[i].intersects(renderer.timeTextRect()));
                for (int j = i + 1; j < rects.size(); ++j)
                    QVERIFY2(!rects[i].intersects(rects[j]),
                             qPrintable(QStringLiteral("labels %1 and %2").arg(i).arg(j)));
            }
        }
    }

    // Under a star the status line reads the star's own corner-text place,
    // refraction taken off for the right ascension and declination.
    void thePlaceUnderThePointerIsTheStarsPlace() {
        CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        faceDirection(s, FacingDirection::South, kH);
        ChartRenderer renderer;
        renderer.setSnapshot(snapshot_);
        renderer.setView(s, kW, kH);
        for (int hr : {2491, 1713}) {  // Sirius low, Rigel
            const SkyObject* o = snapshot_->objectByNumber(hr - 1);
            QVERIFY(o);
            const QString text = renderer.placeTextAt(pixelOf(*snapshot_, hr - 1, s));
            const QString alt =
                QString::fromStdString(formatAngle(90.0 - o->place.zenithDistance, 2, AngleSignStyle::Signed));
            const QString ra = QString::fromStdString(formatClockTime(o->raHours));
            const QString dec = QString::fromStdString(formatAngle(o->decDeg, 2, AngleSignStyle::Signed));
            QVERIFY2(text.startsWith(QStringLiteral("Alt: ") + alt), qPrintable(text + QStringLiteral(" / ") + alt));
            QVERIFY2(text.contains(QStringLiteral("RA: ") + ra), qPrintable(text + QStringLiteral(" / ") + ra));
            QVERIFY2(text.contains(QStringLiteral("Dec: ") + dec), qPrintable(text + QStringLiteral(" / ") + dec));
        }
    }

    void labelLayoutKeepsOffLabelsReservedAreasAndBrighterDiscs() {
        LabelLayout layout(QRectF(0, 0, 400, 300), 32.0);
        layout.reserve(QRectF(0, 0, 100, 50));
        layout.addDisc(QPointF(200, 150), 5.0, 1.0);
        QRectF placed;
        // A reserved corner: the second candidate.
        QVERIFY(layout.place({QRectF(10, 10, 40, 12), QRectF(10, 60, 40, 12)}, 2.0, placed));
        QCOMPARE(placed, QRectF(10, 60, 40, 12));
        // The same place again: taken.
        QVERIFY(!layout.place({QRectF(20, 62, 40, 12)}, 2.0, placed));
        // The disc of a brighter star stops a fainter object's label, not a brighter one's.
        const QRectF overDisc(198, 140, 40, 12);
        QVERIFY(!layout.place({overDisc}, 2.0, placed));
        QVERIFY(layout.place({overDisc}, 0.5, placed));
        // A corner of the box near, but outside, the disc is free.
        QVERIFY(layout.place({QRectF(204, 154, 30, 10)}, 9.0, placed));
        // The window's edge would cut it: not placed.
        QVERIFY(!layout.place({QRectF(390, 200, 30, 10)}, 9.0, placed));
        // Around a disc: right first, vertically centred, clear of it.
        const QVector<QRectF> around = LabelLayout::around(QPointF(50, 200), 4.0, QSizeF(30, 10), 2.0);
        QCOMPARE(around.size(), 8);
        QCOMPARE(around[0], QRectF(56, 195, 30, 10));
        QCOMPARE(around[1].right(), 44.0);
        QCOMPARE(layout.placed().size(), 3);
    }

    void textIsReallyDrawn() {
        const QFont font(QStringLiteral("DejaVu Sans"));
        const QFontMetrics fm(font);
        for (QChar c : QStringLiteral("FOVUTCGMSLRADecAzM:°0123456789"))
            QVERIFY2(fm.inFont(c), qPrintable(QStringLiteral("no glyph for %1").arg(c)));
        const CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        const QImage image = renderChartImage(snapshot_, s, kW, kH);
        // The information texts, top left, in the stopped-time colour.
        const QColor info = colorOf(s.colorScheme.colors[InfoTimeStopped]);
        int inked = 0;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 180; ++x) inked += near(image.pixel(x, y), info, 40);
        QVERIFY2(inked > 150, qPrintable(QStringLiteral("%1 text pixels").arg(inked)));
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    ChartRenderTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "chart_render_test.moc"
