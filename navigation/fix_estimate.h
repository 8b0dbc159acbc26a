// The fix from two or more lines of position: least squares over the active
// sights of the observation list, iterated by re-reducing every sight from
// the improved position; with three or more sights the standard error and
// the error ellipse. Also the LOPs page's texts and the LOP graph's geometry.
//
// Angles are degrees, distances nautical miles. The fix is the position at
// the sights' AP time (each sight's run carries it to its own instant).
#pragma once

#include <string>
#include <vector>

#include "calculators/geodesy.h"
#include "model/observation_list.h"
#include "navigation/sight_reduction.h"

namespace celestra {

constexpr int kFixMaxPasses = 10;
constexpr double kFixStopThresholdNm = 20.0;
constexpr double kFixInitialShiftNm = 1000000.0;
constexpr double kEllipseScale = 2.4;

// Estimates the fix for `sight` (a member of `list`) and writes it into every
// active sight's fix latitude and longitude, the last step's length into
// `sight`'s fix shift, and the sums' results into list.fix.
// Steps: the start is the AP of the last active sight; each pass solves
//   A = Σcos²Z, B = Σ sinZ cosZ, C = Σ sin²Z, D = Σ p cosZ, E = Σ p sinZ,
//   G = AC − B², ΔL = (CD − BE)/G, Δλ = (AE − BD)/(G cos L);
// the loop stops when a step is not at least 20 nautical miles shorter than
// the one before (the first pass never stops it) or after 10 passes; every
// other pass re-reduces each active sight from the new estimate.
// With n > 2: s = 60 √((F − ΔL D − cosL Δλ E)/(n − 2)), θ = ½ atan2(2B, A − C),
// semi-axes 2.4 s / √(n/2 ± B / sin 2θ).
// Returns false, with list.fix.reason saying why, when fewer than two sights
// are active, the lines of position are parallel (G ≈ 0), the estimate
// reaches a pole or a re-reduction fails. The ellipse is left out, with
// list.fix.ellipseReason, when sin 2θ = 0 or n/2 − B / sin 2θ ≤ 0.
// Accuracy: for sights without observational error the iteration returns the
// position the sights were taken at to better than 0.01 nautical mile (see
// tests/navigation/fix_estimate_test.cpp).
bool estimateFix(CMeasure& sight, const PlaceContext& context, ObservationList& list);

// Appends "AP Correction:\n    %.2lf nM bearing %05.1lf° to\n", the fix's
// latitude (form F′) and longitude (form F) on lines indented by ten spaces,
// and with `withMpp` the Most Probable Position at the sight's time.
void formatFixText(const CMeasure& sight, int format, std::string& out, bool withMpp);

// The Most Probable Position at the sight's own instant: the fix run on by
// the sight's course, speed and run time with the dead reckoning that
// carried its AP (deadReckoning), so it is the DR of the re-reduction the
// fix was solved with.
GeoPoint mostProbablePosition(const CMeasure& sight);

constexpr const char* kLopsHint =
    "Enable two or more of the above\r\nobservations to estimate an\r\nimproved Fix.\n\nThen select \"Graph\" to "
    "plot\r\nthe improved FIX.";

// One row of the LOPs list: "%d)  ", date and time of the observation (local
// unless entered as UTC), "    ", Ho in degrees and minutes to 0.1' (" 23°27.4'"),
// "   " and the body name.
std::string lopRowText(const CMeasure& sight, size_t position, const PlaceContext& context);

// The LOPs page's text area: the hint with fewer than two active sights;
// otherwise the fix for the selected row when it is active (with the MPP) or
// for the first active sight (without), then "Err: %.1lf NMi" with more than
// two active sights. When no fix or no ellipse can be formed, a line says why.
// `selectedRow` is a list position, or -1 for none.
std::string lopsPageText(ObservationList& list, const PlaceContext& context, int selectedRow, int format);

// The Graph button's warning for an inconsistent sight at 0-based position
// k > 0; empty for k = 0.
std::string inconsistentSightWarning(size_t position);
constexpr const char* kInconsistentSightTitle = "Warning";

// ---------------------------------------------------------------------------
// The LOP graph in a local plane: x nautical miles east, y north of the AP of
// the sight the fix was computed for (a plane tangent at that AP; longitudes
// differences wrapped into ±180°).

struct PlanePoint {
    double x = 0.0;
    double y = 0.0;
};

struct LopGraphLine {
    int number = 0;        // 1-based position in the list ("#%d")
    PlanePoint intercept;  // the foot of the intercept from the sight's AP
    PlanePoint from, to;   // the line of position, perpendicular to Zn, across the plot
    double azimuthDeg = 0.0;
    double interceptNm = 0.0;
};

struct LopGraph {
    double originLatitude = 0.0;  // the AP: the plane's origin
    double originLongitude = 0.0;
    PlanePoint ap;  // "AP"
    bool hasFix = false;
    PlanePoint fix;  // "FIX"
    bool hasEllipse = false;
    double ellipseMajorNm = 0.0;
    double ellipseMinorNm = 0.0;
    double majorAxisBearingDeg = 0.0;  // compass bearing of the major axis, [0, 180)
    std::vector<PlanePoint> ellipse;   // closed outline, 72 points
    std::vector<LopGraphLine> lines;
    double halfSpanNm = 0.0;               // half the side of a square that holds every item
    std::vector<std::string> statusLines;  // the no-fix or no-ellipse reason, if any
};

// The geometry after estimateFix(sight, ...) for the active sights of `list`.
LopGraph makeLopGraph(const CMeasure& sight, const ObservationList& list);

// The status text for a click at `click` on the graph nearest line `line`:
// "OBS %d:         Az: %.1lf°      Intercept: %.2lf NMi" and
// "           Dist: %.2lf NMi\r\n" with the click's distance from that line.
std::string lopStatusText(const LopGraphLine& line, PlanePoint click);
// Index into graph.lines of the line nearest `click`; -1 with no lines.
int nearestLop(const LopGraph& graph, PlanePoint click);
constexpr const char* kGraphPrompt = "Click on graph";

}  // namespace celestra
