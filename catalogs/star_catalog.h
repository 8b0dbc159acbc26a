// The bright-star table: every entry of the Bright Star Catalogue (5th
// revised edition) in catalogue order, compiled in as constant data, and the
// texts the chart, the status line and the information page show for a star.
#pragma once

#include <cstdint>
#include <string>

namespace celestra {

// One catalogue record, 13 fields. Stars and deep-sky objects share it.
// Coordinates are J2000.0 (equinox and epoch), single precision; callers
// widen them to double for computation.
struct StarEntry {
    std::int32_t number;         // Bright Star (HR) number 1..9110; M or C number for deep-sky
    const char* identity;        // catalogue's 10-character Flamsteed/Bayer text, or ""
    const char* name;            // proper name (ASCII, <= 17 characters), or ""
    float rightAscension;        // hours, [0, 24)
    float declination;           // degrees
    std::int32_t magnitude;      // visual magnitude in thousandths (-1460 = -1.46)
    float properMotionRa;        // seconds of time of RA per Julian century
    float properMotionDec;       // arcseconds per Julian century
    float parallax;              // arcseconds; 0 when not measured
    float radialVelocity;        // km/s, positive receding
    std::int32_t figureLink1;    // HR number of a figure partner; -1 or 9999 for none
    std::int32_t figureLink2;    // a second partner; -1 or 9999 for none
    std::int32_t spectralClass;  // one ASCII letter (O B A F G K M C S N W P D), '0' if none
};

constexpr int kBrightStarCount = 9110;
// Magnitude of the 14 catalogue numbers that are not stars (novae, clusters):
// fainter than any drawn star, so the chart never shows them.
constexpr std::int32_t kPlaceholderMagnitude = 10000;
// The information text's light years per parsec (3.26 / parallax).
constexpr double kLightYearsPerParsecShown = 3.26;

// Entry of Bright Star number n (1..9110), or nullptr outside that range.
const StarEntry* starByNumber(int n);

// Whether Bright Star number n is one of the 14 slots kept for catalogue
// numbers that are not stars (novae, clusters): 92, 95, 182, 1057, 1841,
// 2472, 2496, 3515, 3671, 6309, 6515, 7189, 7539, 8296.
bool isPlaceholderStar(int n);

// Visual magnitude in magnitudes (the stored thousandths × 0.001).
double starMagnitude(const StarEntry& entry);

// Distance in light years, 3.26 / parallax. Returns false (and 0) when the
// parallax is 0 or negative, i.e. not measured.
bool starDistanceLightYears(const StarEntry& entry, double& lightYears);

// The information page's text block, lines ended by "\r\n", for a fixed-pitch
// font: catalogue number, name, identity, RA, Dec, magnitude, proper motions
// with their units, parallax, distance ("Data Missing" without parallax) and
// radial velocity.
std::string starInfoText(const StarEntry& entry);

// Chart label: the proper name, or "BS: <number>" when there is none.
std::string starChartLabel(const StarEntry& entry);

// Status-line text "BS: %4d\n\r" (that order of line-end characters is the
// status line's own).
std::string starStatusText(const StarEntry& entry);

// Star whose proper name equals `text`, ignoring case and surrounding blanks;
// nullptr when none.
const StarEntry* findStarByName(const std::string& text);

// Star whose Flamsteed/Bayer identity matches `text`, ignoring case and
// blanks: the whole identity ("9 Alp CMa"), the Bayer part with its
// constellation ("alp cma", "pi3 ori") or the Flamsteed number with it
// ("9 CMa"). The first match in catalogue order; nullptr when none.
const StarEntry* findStarByIdentity(const std::string& text);

}  // namespace celestra
