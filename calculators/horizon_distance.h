// The "Horizon Distance" calculator: the distance to the visible (light)
// horizon and to the radar horizon for a height of eye or of an antenna,
// with the standard refraction folded into the coefficients.
#pragma once

#include <string>

namespace celestra {

enum class HeightUnit { Meters, Feet };

// Accepted heights (in the chosen unit).
constexpr double kMinHorizonHeight = 0.0;
constexpr double kMaxHorizonHeight = 99999.0;

struct HorizonDistance {
    double visibleNm = 0.0;
    double radarNm = 0.0;
    std::string visibleText;  // "%.2lf NMi"
    std::string radarText;
};

// Nautical miles per square root of the height unit: metres 2.07 (light)
// and 2.21 (radar), feet 1.17 and 1.22. A height of 0 or below is taken
// as 1e-7 so the square root stays defined.
HorizonDistance horizonDistance(double height, HeightUnit unit);

// The page's state for the run of the program: the last height and unit.
// The results change only on "Calculate", not when the unit is switched.
struct HorizonCalculatorState {
    double height = 2.0;
    HeightUnit unit = HeightUnit::Meters;
};

}  // namespace celestra
