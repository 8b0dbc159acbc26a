// Draws the star chart from a sky snapshot onto any QPainter (the chart
// widget, an image, an SVG or PDF file, a printer). Everything that depends
// on the sky or the view is projected, coloured and laid out once in
// prepare(); paint() only draws.
//
// Looks (sky/chart_looks.h): stars coloured by spectral class and sized by
// magnitude against the chart's limit, the bodies in their own colours with
// the Sun and the Moon at their apparent size, the ground below the horizon
// with the compass letters on it, and in the Black and White schemes a sky
// that brightens with the Sun. Labels (ui/label_layout.h) are placed most
// important first (bodies, comets, named stars, constellations, deep sky,
// the other stars, the orbital paths' dates, grid numbers) where they cover
// no other label, no brighter disc, no corner text and not the selection.
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QFont>
#include <QHash>
#include <QPixmap>
#include <QPointF>
#include <QStaticText>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <memory>
#include <vector>

#include "model/draw_state.h"
#include "sky/chart_geometry.h"
#include "sky/chart_sky.h"

class QPainter;

namespace celestra {

// Which parts of the chart are drawn. All on by default.
struct ChartOptions {
    bool constellationFigures = true;
    bool constellationNames = true;
    bool starNames = true;
    bool deepSkyNames = true;
    bool zenithGrid = true;
    bool polarGrid = true;
    bool ecliptic = true;
    bool planets = true;
    bool orbitalPaths = true;
    bool comets = true;
    bool telrad = true;
    bool horizon = true;
    bool infoTexts = true;
    // For paper: the sky the scheme's night sky whatever the Sun, the stars black.
    bool paper = false;
};

// What the pointer selects: a catalogue object, a body or a comet.
struct ChartSelection {
    enum class Kind { None, Object, Body, Comet };
    Kind kind = Kind::None;
    int id = 0;  // combined catalogue number, body number 1..11, or index in the comet list
    bool operator==(const ChartSelection&) const = default;
};

QColor colorOf(ColorRef c);

class ChartRenderer {
    Q_DECLARE_TR_FUNCTIONS(ChartRenderer)

public:
    ChartRenderer();

    void setSnapshot(std::shared_ptr<const SkySnapshot> snapshot);
    const SkySnapshot* snapshot() const { return snapshot_.get(); }
    // The drawing state (zoom, offsets, rotation, flip, magnitude limit,
    // real-time flag and colours) and the client size in device-independent pixels.
    void setView(const CUniverseViewDrawState& state, int width, int height);
    // The instant the time texts in the top left show (UTC Julian day), with
    // the zone (days) and east longitude (degrees) of their local and
    // sidereal times. The sky itself is the snapshot's, which arrives from
    // the model's worker a moment after each change of the instant; the
    // texts follow this instead, so in real time they move each second.
    // Until it is set (instant 0) the texts are the snapshot's.
    void setClock(double instantUtc, double zoneOffsetDays, double longitudeDeg);
    // The time texts: field of view, UTC date and time, local time and zone,
    // GMST and LST.
    QStringList timeTexts() const;
    // Size factor of lines, stars and text: the display scale (DPI / 96, at least 1).
    void setScale(double scale);
    // Device pixels per pixel of the target (high-density screens), so the
    // pre-drawn star discs stay sharp.
    void setDevicePixelRatio(double ratio);
    void setOptions(const ChartOptions& options);
    void setSelection(const ChartSelection& selection);
    const ChartSelection& selection() const { return selection_; }
    // A text drawn beside the pointer; empty for none.
    void setHoverText(const QPointF& at, const QString& text);
    const QString& hoverText() const { return hoverText_; }
    // Where the time texts were last drawn (a tap there opens the time menu).
    const QRectF& timeTextRect() const { return timeTextRect_; }
    // Every label drawn, as laid out by the last prepare().
    const QVector<QRectF>& labelRects() const { return labelRects_; }
    // The sky's and the ground's colours of the last prepare().
    const QColor& skyColor() const { return sky_; }
    const QColor& groundColor() const { return ground_; }

    const ChartProjection& projection() const { return projection_; }
    // The constellation-label level at this zoom: labels whose threshold is
    // at most this are drawn (-500 at zoom 1, 500 at zoom 2, 4500 at zoom 6).
    static int labelLevel(double zoom);
    // The faintest magnitude that gets a name at this zoom.
    static double starLabelMagnitude(double zoom);
    // Whether the constellation names are drawn before (under) the figure
    // lines: at zooms above 2.5, so in the zenith view (3.0) and closer; in
    // the horizon view (2.0) the lines go first and the names over them.
    static bool constellationNamesUnderLines(double zoom) { return zoom > 2.5; }

    // Projects the snapshot for the current view. Called by paint() when
    // something changed since the last call.
    void prepare();
    void paint(QPainter& painter);

    // The drawn object nearest to a pixel within `radius` pixels.
    ChartSelection hitTest(const QPointF& at, double radius) const;
    // Where a selection is drawn; false when it is not on the chart.
    bool selectionPixel(const ChartSelection& selection, QPointF& at) const;
    // The selection's name as the chart labels it.
    QString selectionName(const ChartSelection& selection) const;
    // The sky under a pixel for the status line: altitude and azimuth as
    // drawn (refracted when the observer's option is on) and the unrefracted
    // right ascension and declination of date, in the corner text's forms.
    // Empty without a snapshot.
    QString placeTextAt(const QPointF& at) const;

private:
    struct StarSprite {
        QPointF at;
        int bucket;  // size
        int row;     // colour class
        double magnitude;
    };
    struct Label {
        QPointF at;  // top left
        QColor color;
        QStaticText text;  // shared with the cache, so copying is cheap
    };
    // A label waiting for its place: its candidate rectangles in order of
    // preference, what it names (kind, then brightness) and how it looks.
    struct LabelRequest {
        int kind;
        double magnitude;
        QVector<QRectF> candidates;
        QColor color;
        QStaticText text;
    };
    struct Hit {
        QPointF at;
        ChartSelection what;
    };

    QStaticText staticText(const QString& text);
    void rebuildColors();
    void rebuildStarAtlas();
    void prepareStarsAndDeepSky(std::vector<LabelRequest>& requests);
    void prepareGrids(std::vector<LabelRequest>& requests);
    void prepareOrbitalPaths(std::vector<LabelRequest>& requests);
    void prepareBodies(std::vector<LabelRequest>& requests);
    void prepareCompass();
    void layOutLabels(std::vector<LabelRequest>& requests);
    // A label request at the places around a disc.
    LabelRequest labelAround(int kind, double magnitude, const QPointF& at, double radius, const QString& text,
                             const QColor& color);
    QStringList selectionLines() const;
    void paintBodies(QPainter& painter);
    bool onChart(const QPointF& p, double margin) const;
    void projectLine(const std::vector<HorizontalPoint>& points, QVector<QLineF>& out) const;
    QPointF pixel(const HorizontalPoint& h) const;
    void paintLabels(QPainter& painter, const QVector<Label>& labels);
    void paintInfo(QPainter& painter);
    void paintMoon(QPainter& painter);
    void prepareComets(std::vector<LabelRequest>& requests);
    void paintComets(QPainter& painter);
    QColor cometTrackColor() const;
    void paintCompass(QPainter& painter);
    void paintNorthArrow(QPainter& painter);

    std::shared_ptr<const SkySnapshot> snapshot_;
    CUniverseViewDrawState state_;
    ChartProjection projection_;
    ChartOptions options_;
    ChartSelection selection_;
    double scale_ = 1.0;
    bool dirty_ = true;
    bool colorsDirty_ = true;
    std::array<QColor, kColorKeyCount> colors_;
    QColor sky_, ground_;
    QFont font_;
    QFont smallFont_;
    QHash<QString, QStaticText> texts_;
    QPointF hoverAt_;
    QString hoverText_;
    QRectF timeTextRect_;
    struct Clock {
        double instantUtc = 0.0;
        double zoneOffsetDays = 0.0;
        double longitudeDeg = 0.0;
    } clock_;

    // Star sprites: one anti-aliased disc per size bucket side by side, a
    // row per colour class.
    static constexpr int kStarBuckets = 12;
    static constexpr int kStarColorRows = 11;
    QPixmap starAtlas_;
    double atlasCell_ = 0.0;
    std::array<ColorRef, kStarColorRows> atlasColors_{};
    double atlasScale_ = 0.0;
    double devicePixelRatio_ = 1.0;
    double atlasRatio_ = 0.0;

    // Prepared geometry.
    QPointF zenith_;
    double horizonRadius_ = 0.0;
    QVector<StarSprite> stars_;
    QVector<QPointF> messierMarks_, caldwellMarks_;
    QVector<QLineF> figureLines_;
    QVector<QLineF> eclipticLines_;
    QVector<QLineF> polarGridLines_;
    QVector<QPointF> trackPoints_;
    QVector<QPointF> trackToday_;
    QVector<Label> labels_;
    QVector<Label> constellationNames_;  // laid out with the others, drawn by constellationNamesUnderLines
    QVector<QRectF> labelRects_;
    QVector<Hit> hits_;
    struct BodyMark {
        QPointF at;
        double radius;
        int body;
        QColor color;
        double magnitude;
    };
    QVector<BodyMark> bodies_;
    // Comets: their tracks, the present point with its tail, and the track's dates.
    QVector<QLineF> cometLines_;
    QVector<QPointF> cometPoints_;
    struct CometMark {
        QPointF at;
        QPointF tailDirection;  // unit vector on the screen; null without a Sun
    };
    QVector<CometMark> comets_;
    // The compass letters on the ground, and the corners no label may cover.
    QVector<Label> compass_;
    QVector<QRectF> reserved_;

    // SVG, PDF and printers get the stars as shapes rather than sprites.
    void paintStarShapes(QPainter& painter);
};

}  // namespace celestra
