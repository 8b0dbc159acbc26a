#include "sky/chart_looks.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace celestra {

namespace {

struct Rgb {
    double r, g, b;  // 0..255
};

Rgb rgbOf(ColorRef c) { return {double(c & 0xFF), double((c >> 8) & 0xFF), double((c >> 16) & 0xFF)}; }
ColorRef refOf(const Rgb& c) {
    const auto channel = [](double v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.0, 255.0))); };
    return rgb(channel(c.r), channel(c.g), channel(c.b));
}
double brightest(ColorRef c) {
    const Rgb v = rgbOf(c);
    return std::max({v.r, v.g, v.b});
}
Rgb mix(const Rgb& a, const Rgb& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

// sRGB companding of a linear value in [0, 1].
double encodeSrgb(double v) { return v <= 0.0031308 ? 12.92 * v : 1.055 * std::pow(v, 1.0 / 2.4) - 0.055; }

// Sky colours of the Black and White schemes at the Sun's altitudes of
// kTwilightSteps; the night (-18°) is the scheme's own key.
constexpr std::array<double, 5> kTwilightSteps = {-18.0, -12.0, -6.0, 0.0, 10.0};
constexpr std::array<Rgb, 4> kBlackSky = {{{10, 16, 40}, {28, 46, 96}, {62, 102, 166}, {78, 132, 204}}};
constexpr std::array<Rgb, 4> kWhiteSky = {{{240, 242, 250}, {222, 231, 246}, {204, 222, 246}, {188, 212, 244}}};

// Planet colours on a dark sky, index body - 1 (the Earth is never drawn).
constexpr std::array<Rgb, 11> kBodyColors = {{
    {190, 178, 164},  // Mercury: grey-tan
    {255, 250, 222},  // Venus: pale yellow-white
    {255, 255, 255},  // Earth
    {236, 116, 64},   // Mars: orange-red
    {244, 226, 188},  // Jupiter: cream
    {234, 206, 138},  // Saturn: pale gold
    {160, 226, 232},  // Uranus: pale cyan
    {100, 140, 236},  // Neptune: blue
    {196, 176, 156},  // Pluto: brownish grey
    {255, 244, 196},  // Sun: warm white
    {236, 234, 222},  // Moon: grey-white
}};

}  // namespace

bool bMinusVOfClass(char spectralClass, double& bMinusV) {
    switch (spectralClass) {
        case 'O':
        case 'W':
        case 'P': bMinusV = -0.32; return true;
        case 'B': bMinusV = -0.16; return true;
        case 'A': bMinusV = 0.15; return true;
        case 'F': bMinusV = 0.44; return true;
        case 'G': bMinusV = 0.68; return true;
        case 'K': bMinusV = 1.15; return true;
        case 'M': bMinusV = 1.49; return true;
        case 'S': bMinusV = 1.70; return true;
        case 'C':
        case 'N': bMinusV = 2.50; return true;
        case 'D': bMinusV = 0.00; return true;
        default: bMinusV = 0.0; return false;
    }
}

ColorRef colorOfBMinusV(double bMinusV) {
    // Within -0.4 .. +3.0 the temperature falls monotonically (the formula's
    // pole lies at -0.67).
    const double bv = std::clamp(bMinusV, -0.4, 3.0);
    const double t = std::clamp(4600.0 * (1.0 / (0.92 * bv + 1.7) + 1.0 / (0.92 * bv + 0.62)), 1667.0, 25000.0);
    const double t2 = t * t, t3 = t2 * t;
    const double x = t <= 4000.0 ? -0.2661239e9 / t3 - 0.2343589e6 / t2 + 0.8776956e3 / t + 0.179910
                                 : -3.0258469e9 / t3 + 2.1070379e6 / t2 + 0.2226347e3 / t + 0.240390;
    const double x2 = x * x, x3 = x2 * x;
    const double y = t <= 2222.0   ? -1.1063814 * x3 - 1.34811020 * x2 + 2.18555832 * x - 0.20219683
                     : t <= 4000.0 ? -0.9549476 * x3 - 1.37418593 * x2 + 2.09137015 * x - 0.16748867
                                   : 3.0817580 * x3 - 5.87338670 * x2 + 3.75112997 * x - 0.37001483;
    const double bigX = x / y, bigZ = (1.0 - x - y) / y;  // Y = 1
    double r = 3.2406 * bigX - 1.5372 - 0.4986 * bigZ;
    double g = -0.9689 * bigX + 1.8758 + 0.0415 * bigZ;
    double b = 0.0557 * bigX - 0.2040 + 1.0570 * bigZ;
    r = std::max(r, 0.0);
    g = std::max(g, 0.0);
    b = std::max(b, 0.0);
    const double top = std::max({r, g, b});
    return refOf({255.0 * encodeSrgb(r / top), 255.0 * encodeSrgb(g / top), 255.0 * encodeSrgb(b / top)});
}

ColorRef starColor(char spectralClass, ColorRef starsKey, int32_t preset) {
    double bv = 0.0;
    if (preset == kPresetRed || !bMinusVOfClass(spectralClass, bv)) return starsKey;
    // The key's hue times the class's, brought back to the key's brightness.
    const Rgb key = rgbOf(starsKey), hue = rgbOf(colorOfBMinusV(bv));
    const Rgb tinted{key.r * hue.r / 255.0, key.g * hue.g / 255.0, key.b * hue.b / 255.0};
    const double top = std::max({tinted.r, tinted.g, tinted.b});
    if (top <= 0.0) return starsKey;
    const double scale = brightest(starsKey) / top;
    return refOf({tinted.r * scale, tinted.g * scale, tinted.b * scale});
}

double starDiscRadius(double magnitude, double limit) {
    constexpr double kSmallest = 0.7, kLargest = 4.6, kBrightest = -1.5;
    const double span = std::max(limit - kBrightest, 1.0);
    return kSmallest + (kLargest - kSmallest) * std::clamp((limit - magnitude) / span, 0.0, 1.0);
}

ColorRef bodyColor(int body, const CColorScheme& scheme, int32_t preset) {
    const bool sunOrMoon = body == 10 || body == 11;
    if (preset == kPresetRed) return scheme.colors[sunOrMoon ? Stars : Planets];
    if (body < 1 || body > 11) return scheme.colors[Planets];
    const Rgb c = kBodyColors[static_cast<size_t>(body - 1)];
    if (preset == kPresetWhite) return refOf({c.r * 2.0 / 3.0, c.g * 2.0 / 3.0, c.b * 2.0 / 3.0});
    return refOf(c);
}

ColorRef groundColor(const CColorScheme& scheme, int32_t preset) {
    const ColorRef base = scheme.colors[BackgroundNotSky];
    const Rgb c = rgbOf(base);
    // A fifth as much green as red: still no light but red, yet earth rather
    // than one more of the chart's reds.
    if (preset == kPresetRed) return refOf({brightest(base), brightest(base) * 0.2, 0.0});
    const double brightness = (c.r + c.g + c.b) / 3.0;
    return refOf({brightness * 0.95, brightness * 0.85, brightness * 0.6});
}

ColorRef skyColorForSun(const CColorScheme& scheme, int32_t preset, double sunAltitudeDeg) {
    const ColorRef night = scheme.colors[BackgroundSky];
    if (preset == kPresetRed || !(sunAltitudeDeg > kTwilightSteps[0])) return night;
    const auto& steps = preset == kPresetWhite ? kWhiteSky : kBlackSky;
    if (sunAltitudeDeg >= kTwilightSteps.back()) return refOf(steps.back());
    size_t i = 0;
    while (sunAltitudeDeg >= kTwilightSteps[i + 1]) ++i;
    const double t = (sunAltitudeDeg - kTwilightSteps[i]) / (kTwilightSteps[i + 1] - kTwilightSteps[i]);
    const Rgb from = i == 0 ? rgbOf(night) : steps[i - 1];
    return refOf(mix(from, steps[i], t));
}

}  // namespace celestra
