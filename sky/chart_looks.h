// How the star chart colours and sizes what it draws: star colours from
// the spectral class, disc sizes from the magnitude and the chart's limit,
// the planets' own colours, the ground, and the sky's colour by the Sun's
// altitude. Colours are 0x00BBGGRR (model/color_scheme.h); everything takes
// the scheme's keys as its base, so an edited scheme still shows, and the
// Red scheme stays red: no colour made here has green or blue above red.
#pragma once

#include "model/color_scheme.h"

namespace celestra {

// The typical B−V colour index of a spectral class letter (as the
// catalogue's spectral field gives it). O to M: the main-sequence intrinsic
// colours of subtype 5 (M: M2) of Schmidt-Kaler (1982, Landolt-Börnstein
// VI/2b); S: +1.70, as the late M giants it resembles; C, N (carbon stars):
// +2.50; W (Wolf-Rayet) and P (planetary-nebula nuclei): as O; D (white
// dwarfs): 0.00. Another letter (or '0', no class) has none: false.
bool bMinusVOfClass(char spectralClass, double& bMinusV);

// The colour of a star of colour index B−V, at full brightness: the
// effective temperature of Ballesteros (2012, EPL 97, 34008),
// T = 4600 K (1 / (0.92 (B−V) + 1.7) + 1 / (0.92 (B−V) + 0.62)), taken to
// CIE 1931 chromaticity along the Planckian locus of Kim et al. (2002,
// IEEE Trans. Consum. Electron. 48; 1667 K .. 25000 K), then to sRGB (D65
// white, so a 6500 K star is white) scaled to a brightest channel of 255.
// B−V is taken within -0.4 .. +3.0 (21700 K .. 2400 K), where the formula
// falls monotonically. An O star is a pale blue, the Sun a warm white, an
// M star orange.
ColorRef colorOfBMinusV(double bMinusV);

// A star's disc colour in a scheme: the "Stars" key carries the brightness
// (its brightest channel) and the spectral class the hue. In the Red
// scheme, and for a star without a class, the key itself.
ColorRef starColor(char spectralClass, ColorRef starsKey, int32_t preset);

// Disc radius in pixels at display scale 1 of a star of `magnitude` on a
// chart whose faintest magnitude is `limit`: 0.7 at the limit, growing by
// equal steps per magnitude to 4.6 at magnitude -1.5 (whatever the limit,
// so the brightest stars keep their size and the faintest stay visible).
double starDiscRadius(double magnitude, double limit);

// The own colour of a body (1 Mercury .. 9 Pluto, 10 Sun, 11 Moon), as the
// naked eye or a small telescope shows it, for the scheme: full colours on
// the Black scheme's dark sky, darker ones (two thirds) on the White scheme,
// and in the Red scheme the "Planets" key (the Sun and the Moon: the
// "Stars" key).
ColorRef bodyColor(int body, const CColorScheme& scheme, int32_t preset);

// The ground below the horizon: the "BackgroundNotSky" key in earth tones
// (its brightness; red, green and blue at 0.95, 0.85 and 0.6 of it), or in
// the Red scheme that key's brightest channel in red with a fifth as much
// green. The colour file keeps its 34 keys per scheme, so the ground has no
// key of its own.
ColorRef groundColor(const CColorScheme& scheme, int32_t preset);

// The sky for the Sun's altitude (degrees; NaN or no Sun: night). In the
// Black and White schemes the "BackgroundSky" key is the night sky, below
// -18° (astronomical night); it brightens towards fixed colours at -12°
// (end of nautical twilight), -6° (end of civil twilight), 0° and +10° (full
// day), linearly in between. The Red scheme keeps its sky at all hours.
ColorRef skyColorForSun(const CColorScheme& scheme, int32_t preset, double sunAltitudeDeg);

}  // namespace celestra
