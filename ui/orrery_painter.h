// Paints the orrery: the Sun, the planets' orbits (the part nearer the
// viewer than the Sun in "OrreryOrbits", the far part in
// "OrreryOrbitsBehind") and their current places with names.
#pragma once

#include <QPainter>

#include "model/draw_state.h"

namespace celestra {

struct PlaceContext;

// The orrery's own drawing state starts at zoom 2 and a 60° tilt.
constexpr double kOrreryTiltDeg = 60.0;

void paintOrrery(QPainter& painter, const CUniverseViewDrawState& state, double jdUtc, const PlaceContext& context,
                 int width, int height, double displayScale);

}  // namespace celestra
