// The twelve overlay switches of the drawing state, as the "General" page
// and the chart read them. Entries 8 to 10 are switched on by every document
// load; 10 and 11 are also the model's comets and "Orbital Paths" switches.
#pragma once

#include "model/draw_state.h"
#include "ui/chart_renderer.h"

namespace celestra {

enum ChartOverlay {
    kOverlayZenithGrid = 0,
    kOverlayPolarGrid = 1,
    kOverlayEcliptic = 2,
    kOverlayHorizon = 3,
    kOverlayFigures = 4,
    kOverlayConstellationNames = 5,
    kOverlayStarNames = 6,
    kOverlayDeepSkyNames = 7,
    kOverlayTelrad = 8,
    kOverlayComets = 10,
    kOverlayOrbitalPaths = 11,
};

inline ChartOptions chartOptionsFor(const CUniverseViewDrawState& s) {
    auto on = [&s](int i) { return s.overlays[static_cast<size_t>(i)] != 0; };
    ChartOptions o;
    o.zenithGrid = on(kOverlayZenithGrid);
    o.polarGrid = on(kOverlayPolarGrid);
    o.ecliptic = on(kOverlayEcliptic);
    o.horizon = on(kOverlayHorizon);
    o.constellationFigures = on(kOverlayFigures);
    o.constellationNames = on(kOverlayConstellationNames);
    o.starNames = on(kOverlayStarNames);
    o.deepSkyNames = on(kOverlayDeepSkyNames);
    o.telrad = on(kOverlayTelrad);
    // The planets show unless switched off; a fresh state has entry 9 off until a load.
    o.planets = true;
    o.orbitalPaths = on(kOverlayOrbitalPaths);
    o.comets = on(kOverlayComets);
    return o;
}

}  // namespace celestra
