// Preferences kept outside the document, in the program's settings: the
// server addresses, the gpsd daemon, the GPS page's settings, and where the
// time page takes the zone from.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

#include "gps/gps_source.h"
#include "model/draw_state.h"
#include "sky/zone_choice.h"
#include "solarsystem/comet_download.h"

namespace celestra {

struct Preferences {
    QString cometServer = QString::fromLatin1(kDefaultCometElementsServer);
    QString website;  // the project website; empty: none
    QString gpsdHost = QStringLiteral("localhost");
    int gpsdPort = 2947;
    uint32_t gpsSettings = kDefaultGpsSettingsWord;  // the GPS page's settings word
    // The device the GPS page read last: the word's 8-bit port field can
    // only say which entry of the page's list it was.
    QString gpsDevice;
    ZoneChoice zone;
    // The IANA zones given to the five custom places ("" where none was):
    // the document's layout has no room for them.
    QStringList customPlaceZones = QStringList(5, QString());
};

Preferences loadPreferences();
// The servers the comet download fetches from.
CometServers cometServers(const Preferences& preferences);
void savePreferences(const Preferences& preferences);

// The drawing state's twelve overlay switches ("Chart/Overlays"): a stored
// list of another length leaves the state as it is.
void loadOverlays(CUniverseViewDrawState& state);
void saveOverlays(const CUniverseViewDrawState& state);

}  // namespace celestra
