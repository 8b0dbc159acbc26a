#include "ui/preferences.h"

#include <QSettings>

namespace celestra {

Preferences loadPreferences() {
    Preferences p;
    QSettings s;
    s.beginGroup(QStringLiteral("Preferences"));
    p.cometServer = s.value(QStringLiteral("CometServer"), p.cometServer).toString();
    p.website = s.value(QStringLiteral("Website"), p.website).toString();
    p.gpsdHost = s.value(QStringLiteral("GpsdHost"), p.gpsdHost).toString();
    const int port = s.value(QStringLiteral("GpsdPort"), p.gpsdPort).toInt();
    if (port >= 1 && port <= 65535) p.gpsdPort = port;
    bool wordOk = false;
    const uint word = s.value(QStringLiteral("GpsSettings"), p.gpsSettings).toUInt(&wordOk);
    if (wordOk) p.gpsSettings = word;
    p.gpsDevice = s.value(QStringLiteral("GpsDevice"), p.gpsDevice).toString();
    const int source = s.value(QStringLiteral("ZoneSource"), 0).toInt();
    if (source >= 0 && source <= 3) p.zone.source = static_cast<ZoneSource>(source);
    p.zone.placeZone = s.value(QStringLiteral("PlaceZone")).toString().toStdString();
    const QStringList zones = s.value(QStringLiteral("CustomPlaceZones")).toStringList();
    if (zones.size() == p.customPlaceZones.size()) p.customPlaceZones = zones;
    const double hours = s.value(QStringLiteral("ZoneHours"), 0.0).toDouble();
    if (hours >= -14.0 && hours <= 14.0) p.zone.customHours = hours;
    p.zone.daylight = s.value(QStringLiteral("ZoneDaylight"), false).toBool();
    return p;
}

CometServers cometServers(const Preferences& p) {
    CometServers servers;
    if (!p.cometServer.trimmed().isEmpty()) servers.elements = p.cometServer.trimmed().toStdString();
    servers.projectWebsite = p.website.trimmed().toStdString();
    return servers;
}

void savePreferences(const Preferences& p) {
    QSettings s;
    s.beginGroup(QStringLiteral("Preferences"));
    s.setValue(QStringLiteral("CometServer"), p.cometServer);
    s.setValue(QStringLiteral("Website"), p.website);
    s.setValue(QStringLiteral("GpsdHost"), p.gpsdHost);
    s.setValue(QStringLiteral("GpsdPort"), p.gpsdPort);
    s.setValue(QStringLiteral("GpsSettings"), p.gpsSettings);
    s.setValue(QStringLiteral("GpsDevice"), p.gpsDevice);
    s.setValue(QStringLiteral("ZoneSource"), static_cast<int>(p.zone.source));
    s.setValue(QStringLiteral("ZoneHours"), p.zone.customHours);
    s.setValue(QStringLiteral("ZoneDaylight"), p.zone.daylight);
    s.setValue(QStringLiteral("PlaceZone"), QString::fromStdString(p.zone.placeZone));
    s.setValue(QStringLiteral("CustomPlaceZones"), p.customPlaceZones);
}

void loadOverlays(CUniverseViewDrawState& state) {
    const QVariantList list = QSettings().value(QStringLiteral("Chart/Overlays")).toList();
    if (list.size() != kOverlayCount) return;
    for (int i = 0; i < kOverlayCount; ++i) state.overlays[static_cast<size_t>(i)] = list[i].toInt() != 0 ? 1 : 0;
}

void saveOverlays(const CUniverseViewDrawState& state) {
    QVariantList list;
    for (int32_t v : state.overlays) list << v;
    QSettings().setValue(QStringLiteral("Chart/Overlays"), list);
}

}  // namespace celestra
