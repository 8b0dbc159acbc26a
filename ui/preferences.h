// Preferences kept outside the document, in the program's settings: the
// server addresses, the gpsd daemon, and where the time page takes the zone from.
#pragma once

#include <QString>

#include "sky/zone_choice.h"

namespace celestra {

struct Preferences {
    QString cometServer = QStringLiteral("https://www.minorplanetcenter.net/");
    QString website;  // the project website; empty: none
    QString gpsdHost = QStringLiteral("localhost");
    int gpsdPort = 2947;
    ZoneChoice zone;
};

Preferences loadPreferences();
void savePreferences(const Preferences& preferences);

}  // namespace celestra
