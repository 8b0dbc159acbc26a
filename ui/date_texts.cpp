#include "ui/date_texts.h"

#include <QTime>

#include "core/angles.h"

namespace celestra {
namespace {

// The short pattern built from the order of the locale's own short format.
QString unambiguousPattern(const QLocale& locale) {
    const QString shortFormat = locale.dateFormat(QLocale::ShortFormat);
    const qsizetype day = shortFormat.indexOf(QLatin1Char('d'));
    const qsizetype month = shortFormat.indexOf(QLatin1Char('M'));
    const qsizetype year = shortFormat.indexOf(QLatin1Char('y'));
    if (day < 0 || month < 0 || (year >= 0 && year < day && year < month)) return QStringLiteral("yyyy-MM-dd");
    if (month < day) return QStringLiteral("MMM d, yyyy");
    // "dd.MM.yy" writes the day as an ordinal with a point: "12. Aug. 2026".
    qsizetype afterDay = day;
    while (afterDay < shortFormat.size() && shortFormat[afterDay] == QLatin1Char('d')) ++afterDay;
    const bool ordinalPoint = afterDay < shortFormat.size() && shortFormat[afterDay] == QLatin1Char('.');
    return ordinalPoint ? QStringLiteral("d. MMM yyyy") : QStringLiteral("d MMM yyyy");
}

QDate dateOf(const BrokenDownTime& t) { return QDate(t.year, t.month, t.day); }

}  // namespace

QString localeDateText(const QDate& date, const QLocale& locale) {
    return locale.toString(date, unambiguousPattern(locale));
}

void installLocaleDateFormatter() {
    DateTimeFormatter f;
    f.shortDate = [](const BrokenDownTime& t) { return localeDateText(dateOf(t)).toStdString(); };
    f.longDate = [](const BrokenDownTime& t) {
        return QLocale().toString(dateOf(t), QLocale::LongFormat).toStdString();
    };
    f.timeOfDay = [](const BrokenDownTime& t) {
        return QTime(t.hour, t.minute, t.second).toString(QStringLiteral("HH:mm:ss")).toStdString();
    };
    setDateTimeFormatter(std::move(f));
}

}  // namespace celestra
