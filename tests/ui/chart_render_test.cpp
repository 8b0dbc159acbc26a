// The chart as pixels: background colours of the three schemes, Sirius,
// Vega and the Moon where the test's own projection of their horizontal
// places puts them, nothing below the horizon in the zenith view, text
// that is really drawn, and a comet with its name and track.
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
#include "core/angles.h"
#include "core/horizon.h"
#include "core/time_scales.h"
#include "solarsystem/ephemeris.h"
#include "solarsystem/planets.h"
#include "sky/view_commands.h"
#include "tests/ui/qt_test_support.h"
#include "ui/chart_image.h"

using namespace celestra;

namespace {

constexpr int kW = 1280;
constexpr int kH = 800;
// 2024-02-15 20:00 UTC near Copenhagen: Sirius near the meridian about 18°
// up, Vega near lower culmination a few degrees up in the north, and the
// Moon before first quarter high in the south-west.
const double kJd = julianDayFromCalendar(2024, 2, 15, 20.0);
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
        case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
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

    void starAt(int hr, const QImage& image, const CUniverseViewDrawState& s) {
        const StarEntry* star = starByNumber(hr);
        QVERIFY(star);
        const double lst = localSiderealTime(siderealTimeFromUtc(kJd, false), kLon);
        double zd = 0, az = 0;
        chartZenithAzimuth(makeChartFrame(lst, kLat), star->rightAscension, star->declination, zd, az);
        QVERIFY2(zd < 90.0, star->name);
        const QPointF p = project(zd, az, s.zoom, s.rotation, s.flippedEastWest(), s.offsetX, s.offsetY);
        const QColor starColor = colorOf(s.colorScheme.colors[Stars]);
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
            QVERIFY(near(image.pixel(5, kH - 5), colorOf(c.colors[BackgroundNotSky]), 0));
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
        QCOMPARE(horizonPlace(context, kJd, kMoon, site, true, PlaceForm::Topocentric, moon), 0);
        QVERIFY(moon.altitudeDeg > 10.0);
        MoonPhase phase;
        QCOMPARE(moonPhase(context, kJd, phase), 0);
        const QPointF centre = project(90.0 - moon.altitudeDeg, moon.azimuthDeg, 1.0, 90.0, false, 0, 0);
        const QColor lit = colorOf(s.colorScheme.colors[Stars]);
        const QColor dark = colorOf(s.colorScheme.colors[BackgroundNotSky]);
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
        QVERIFY2(std::abs(share - phase.illuminatedFraction) < 0.25,
                 qPrintable(QStringLiteral("lit share %1, illuminated fraction %2").arg(share).arg(phase.illuminatedFraction)));
    }

    void nothingBelowTheHorizonFacingTheZenith() {
        const CUniverseViewDrawState s = zenithState(kPresetBlack, 1.0);
        ChartOptions options;
        options.infoTexts = false;
        options.starNames = false;
        options.constellationNames = false;
        options.planets = false;
        // Magnitude 7: the faintest stars too, every one of them inside the circle.
        CUniverseViewDrawState faint = s;
        faint.magnitudeLimit = 7000;
        const auto all = computeSnapshot(*universe_, observer_, faint);
        QVERIFY(all->objects.size() > 8000u);
        const QImage image = renderChartImage(all, faint, kW, kH, options);
        const QColor notSky = colorOf(s.colorScheme.colors[BackgroundNotSky]);
        const double r = 400.0 + 3.0;
        int stray = 0;
        for (int y = 0; y < kH; ++y) {
            for (int x = 0; x < kW; ++x) {
                if (std::hypot(x + 0.5 - kW / 2.0, y + 0.5 - kH / 2.0) <= r) continue;
                if (x > kW - 48 && y > kH - 48) continue;  // the north arrow's corner
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
        const QColor notSky = colorOf(s.colorScheme.colors[BackgroundNotSky]);
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
                          &options.ecliptic, &options.planets, &options.orbitalPaths, &options.comets,
                          &options.telrad, &options.horizon, &options.infoTexts})
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
