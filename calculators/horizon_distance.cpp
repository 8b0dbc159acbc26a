#include "calculators/horizon_distance.h"

#include <cmath>
#include <cstdio>

#include "core/number_text.h"

namespace celestra {

HorizonDistance horizonDistance(double height, HeightUnit unit) {
    const bool feet = unit == HeightUnit::Feet;
    const double h = height <= 0.0 ? 1e-7 : height;
    const double r = std::sqrt(h);
    HorizonDistance out;
    out.visibleNm = r * (feet ? 1.17 : 2.07);
    out.radarNm = r * (feet ? 1.22 : 2.21);
    char buf[64];
    snprintfC(buf, sizeof buf, "%.2lf NMi", out.visibleNm);
    out.visibleText = buf;
    snprintfC(buf, sizeof buf, "%.2lf NMi", out.radarNm);
    out.radarText = buf;
    return out;
}

}  // namespace celestra
