#include "ui/chart_image.h"

#include <QPainter>
#include <cstdlib>

namespace celestra {

std::shared_ptr<SkySnapshot> computeSnapshot(CUniverse& universe, const CObserverState& observer,
                                             const CUniverseViewDrawState& state) {
    universe.Update(observer, state, false);
    auto snapshot = std::make_shared<SkySnapshot>();
    universe.ReadChart([&](const ChartData& chart) {
        snapshotFromChart(chart, observer, universe.EphemerisStart(), universe.EphemerisEnd(), *snapshot);
    });
    return snapshot;
}

QImage renderChartImage(const std::shared_ptr<const SkySnapshot>& sky, const CUniverseViewDrawState& state, int width,
                        int height, const ChartOptions& options, const ChartSelection& selection) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    ChartRenderer renderer;
    renderer.setSnapshot(sky);
    renderer.setView(state, width, height);
    renderer.setOptions(options);
    renderer.setSelection(selection);
    QPainter painter(&image);
    renderer.paint(painter);
    return image;
}

void useOffscreenPlatformWithoutDisplay() {
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const bool none = (!display || !*display) && (!wayland || !*wayland);
    if (none && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

}  // namespace celestra
