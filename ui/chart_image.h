// The chart drawn into an image, without a window: the command line's
// render, the rendering tests and the benchmarks use the same renderer as
// the chart widget.
#pragma once

#include <QImage>

#include "sky/universe.h"
#include "ui/chart_renderer.h"

namespace celestra {

// Recomputes the model here for the states and gathers the snapshot.
std::shared_ptr<SkySnapshot> computeSnapshot(CUniverse& universe, const CObserverState& observer,
                                             const CUniverseViewDrawState& state);

QImage renderChartImage(const std::shared_ptr<const SkySnapshot>& sky, const CUniverseViewDrawState& state, int width,
                        int height, const ChartOptions& options = {}, const ChartSelection& selection = {});

// Selects the offscreen platform when there is no display to draw on (and
// the caller has not chosen a platform), so a chart can be made anywhere.
void useOffscreenPlatformWithoutDisplay();

}  // namespace celestra
