// The dates the program shows: in the desktop's language through Qt, and
// never in an order a reader from another country could take for another
// date ("12/08/26"): the month is a name, in the locale's order of day and
// month ("12. Aug. 2026", "12 août 2026", "Aug 12, 2026"), or, where the
// locale writes the year first, ISO 8601 ("2026-08-12"). Times of day are
// 24-hour "hh:mm:ss" everywhere.
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace celestra {

// The short date of the rule above.
QString localeDateText(const QDate& date, const QLocale& locale = QLocale());

// Makes the engine's date texts (the sight's Details, the LOP list) follow
// the rule in the default locale. Call once the application object exists.
void installLocaleDateFormatter();

}  // namespace celestra
