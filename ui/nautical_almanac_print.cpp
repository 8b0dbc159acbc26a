#include "ui/nautical_almanac_print.h"

#include <QCoreApplication>
#include <QDate>
#include <QFont>
#include <QLocale>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <cmath>

#include "ui/translations.h"

namespace celestra {

// The printed page's texts are translated in the almanac page's context,
// named in full at each call so that lupdate finds them: the page's dialog
// class is Qt Widgets, which the drawing code does not link.

namespace {

// The page in tenths of a point: A4 is 595 × 842 pt.
constexpr double kPageWidth = 5950.0;
constexpr double kPageHeight = 8420.0;
constexpr double kLeft = 300.0;
constexpr double kRight = kPageWidth - 300.0;
constexpr double kTitleY = 330.0;
constexpr double kTableY = 560.0;
constexpr double kRow = 95.0;     // one hour's row
constexpr double kDayGap = 30.0;  // between the days
constexpr int kTextSize = 66;     // 6.6 pt
constexpr int kHeadSize = 62;
constexpr int kTitleSize = 100;

QString q(const std::string& s) { return QString::fromStdString(s); }

// Draws into the page's coordinates: cells with right- or left-aligned text.
class PageWriter {
public:
    explicit PageWriter(QPainter& p) : p_(p) {
        font_ = QFont(QStringLiteral("DejaVu Sans Condensed"));
        font_.setStyleHint(QFont::SansSerif);
        setSize(kTextSize);
    }
    void setSize(int size, bool bold = false) {
        font_.setPixelSize(size);
        font_.setBold(bold);
        p_.setFont(font_);
    }
    void right(double x, double y, double w, const QString& text) { cell(x, y, w, Qt::AlignRight, text); }
    void left(double x, double y, double w, const QString& text) { cell(x, y, w, Qt::AlignLeft, text); }
    void centre(double x, double y, double w, const QString& text) { cell(x, y, w, Qt::AlignHCenter, text); }
    void rule(double x0, double x1, double y, double width = 4.0) {
        p_.setPen(QPen(Qt::black, width));
        p_.drawLine(QPointF(x0, y), QPointF(x1, y));
    }
    void vrule(double x, double y0, double y1) {
        p_.setPen(QPen(Qt::black, 3.0));
        p_.drawLine(QPointF(x, y0), QPointF(x, y1));
    }
    void shade(double x0, double y0, double x1, double y1) {
        p_.fillRect(QRectF(x0, y0, x1 - x0, y1 - y0), QColor(232, 232, 232));
    }

private:
    void cell(double x, double y, double w, Qt::Alignment align, const QString& text) {
        p_.setPen(Qt::black);
        p_.drawText(QRectF(x, y, w, kRow), align | Qt::AlignVCenter, text);
    }
    QPainter& p_;
    QFont font_;
};

QString dayName(const AlmanacDay& d) {
    return translationLocale().dayName(QDate(d.year, d.month, d.day).dayOfWeek(), QLocale::ShortFormat);
}

// "2024 MARCH 19, 20, 21 (TUE., WED., THU.)"
QString pageTitle(const NauticalAlmanac& a) {
    QString days, names;
    for (size_t i = 0; i < a.days.size(); ++i) {
        const AlmanacDay& d = a.days[i];
        if (i) {
            days += QStringLiteral(", ");
            names += QStringLiteral(", ");
        }
        if (i == 0 || d.month != a.days[i - 1].month)
            days += translationLocale().monthName(d.month).toUpper() + QLatin1Char(' ');
        days += QString::number(d.day);
        // "TUE." and, where the locale's short names carry their point, "DI.".
        const QString name = dayName(d).toUpper();
        names += name.endsWith(QLatin1Char('.')) ? name : name + QLatin1Char('.');
    }
    return QString::number(a.days.front().year) + QLatin1Char(' ') + days + QStringLiteral("  (") + names +
           QLatin1Char(')');
}

// The y of hour row k (0 .. 71) below the table head at `top`.
double hourY(double top, size_t k) {
    return top + static_cast<double>(k) * kRow + static_cast<double>(k / 24) * kDayGap;
}

// The UT column: the day's date and name at its first hours, then the
// hours; a rule between the days across the hourly columns up to `right`.
void utColumn(PageWriter& w, const NauticalAlmanac& a, double top, double right) {
    for (size_t k = 0; k < a.hours.size(); ++k) {
        const double y = hourY(top, k);
        const AlmanacDay& d = a.days[k / 24];
        if (k % 24 == 0) w.left(kLeft, y, 200, QString::number(d.day));
        if (k % 24 == 1) w.left(kLeft, y, 200, dayName(d));
        w.right(kLeft + 150, y, 190, QStringLiteral("%1").arg(k % 24, 2, 10, QLatin1Char('0')));
        if (k % 24 == 23 && k + 1 < a.hours.size()) w.rule(kLeft, right, y + kRow + kDayGap / 2, 2.0);
    }
}

void ghaDecCells(PageWriter& w, double x, double y, const GhaDec& g, double ghaWidth, double decWidth) {
    w.right(x, y, ghaWidth, q(almanacHourAngle(g.gha)));
    w.right(x + ghaWidth, y, decWidth, q(almanacDeclination(g.dec)));
}

double tableBottom(const NauticalAlmanac& a, double top) { return hourY(top, a.hours.size()); }

// Left-hand page: Aries, the planets and the stars.
void leftPage(PageWriter& w, const NauticalAlmanac& a) {
    constexpr double kUt = 350, kGha = 390, kDec = 420, kPlanet = kGha + kDec;
    const double xAries = kLeft + kUt, xPlanets = xAries + kGha, xStars = xPlanets + 4 * kPlanet + 40;
    const double top = kTableY + 2 * kRow;
    const AlmanacDay& middle = a.days[static_cast<size_t>(a.middleDay())];

    w.setSize(kHeadSize, true);
    w.centre(kLeft, kTableY, kUt, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "UT"));
    w.centre(xAries, kTableY, kGha, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "ARIES"));
    w.right(xAries, kTableY + kRow, kGha, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "GHA"));
    for (size_t p = 0; p < middle.planets.size(); ++p) {
        const AlmanacPlanetDay& planet = middle.planets[p];
        const double x = xPlanets + static_cast<double>(p) * kPlanet;
        w.centre(x, kTableY, kPlanet,
                 q(planet.name).toUpper() + QStringLiteral("  ") + QString::number(planet.magnitude, 'f', 1));
        w.right(x, kTableY + kRow, kGha, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "GHA"));
        w.right(x + kGha, kTableY + kRow, kDec, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Dec"));
        w.vrule(x + 10, kTableY, tableBottom(a, top) + 3 * kRow);
    }
    w.centre(xStars, kTableY, kRight - xStars, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "STARS"));
    w.left(xStars + 20, kTableY + kRow, 500, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Name"));
    w.right(xStars + 500, kTableY + kRow, 380, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SHA"));
    w.right(xStars + 880, kTableY + kRow, kRight - xStars - 880,
            QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Dec"));
    w.vrule(xStars + 10, kTableY, tableBottom(a, top) + 3 * kRow);
    w.rule(kLeft, kRight, top - 10);
    w.setSize(kTextSize);

    utColumn(w, a, top, xStars);
    for (size_t k = 0; k < a.hours.size(); ++k) {
        const AlmanacHour& h = a.hours[k];
        const double y = hourY(top, k);
        w.right(xAries, y, kGha, q(almanacHourAngle(h.ariesGha)));
        for (size_t p = 0; p < h.planets.size(); ++p)
            ghaDecCells(w, xPlanets + static_cast<double>(p) * kPlanet, y, h.planets[p], kGha, kDec);
    }
    for (size_t i = 0; i < a.stars.size(); ++i) {
        const AlmanacStar& s = a.stars[i];
        // Polaris stands apart below the 57.
        const double y = top + static_cast<double>(i + (i + 1 == a.stars.size() ? 1 : 0)) * kRow;
        w.left(xStars + 20, y, 500, QString::fromLatin1(s.name));
        w.right(xStars + 500, y, 380, q(almanacHourAngle(s.sha)));
        w.right(xStars + 880, y, kRight - xStars - 880, q(almanacDeclination(s.dec)));
    }

    // The foot: the middle day's meridian passages, v and d.
    const double foot = tableBottom(a, top) + 20;
    w.rule(kLeft, kRight, foot - 10);
    w.left(kLeft, foot, kUt + kGha,
           QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Mer. Pass. ") +
               q(almanacClock(middle.ariesMeridianPassage)));
    for (size_t p = 0; p < middle.planets.size(); ++p) {
        const AlmanacPlanetDay& planet = middle.planets[p];
        const double x = xPlanets + static_cast<double>(p) * kPlanet + 40;
        w.left(x, foot, kPlanet,
               QStringLiteral("v ") + q(almanacMinutes(planet.v)) + QStringLiteral("   d ") +
                   q(almanacMinutes(planet.d, false)));
        w.left(x, foot + kRow, kPlanet,
               QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Mer. Pass. ") +
                   q(almanacClock(planet.meridianPassage)));
    }
    w.left(xStars + 20, foot, kRight - xStars,
           QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SHA and Dec at 12h UT of the %1th")
               .arg(middle.day));
}

// The event cell's text: the time, or a short word the legend explains.
QString eventCell(const AlmanacEvent& e) {
    switch (e.note) {
        case AlmanacEventNote::AlwaysAbove: return QStringLiteral("above");
        case AlmanacEventNote::AlwaysBelow: return QStringLiteral("below");
        case AlmanacEventNote::TwilightAllNight:
            return QCoreApplication::translate("celestra::NauticalAlmanacDialog", "all night");
        case AlmanacEventNote::None: break;
    }
    return q(almanacClock(e.hours));
}

// Right-hand page: the Sun, the Moon, the latitude table and the day's data.
void rightPage(PageWriter& w, const NauticalAlmanac& a) {
    constexpr double kUt = 350, kGha = 390, kDec = 420, kSmall = 200, kHp = 230;
    const double xSun = kLeft + kUt, xMoon = xSun + kGha + kDec;
    const double xMoonV = xMoon + kGha, xMoonDec = xMoonV + kSmall, xMoonD = xMoonDec + kDec, xMoonHp = xMoonD + kSmall,
                 xTable = xMoonHp + kHp + 100;
    const double top = kTableY + 2 * kRow;
    const size_t middleIndex = static_cast<size_t>(a.middleDay());

    w.setSize(kHeadSize, true);
    w.centre(kLeft, kTableY, kUt, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "UT"));
    w.centre(xSun, kTableY, kGha + kDec, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SUN"));
    w.right(xSun, kTableY + kRow, kGha, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "GHA"));
    w.right(xSun + kGha, kTableY + kRow, kDec, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Dec"));
    w.centre(xMoon, kTableY, xMoonHp + kHp - xMoon,
             QCoreApplication::translate("celestra::NauticalAlmanacDialog", "MOON"));
    w.right(xMoon, kTableY + kRow, kGha, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "GHA"));
    w.right(xMoonV, kTableY + kRow, kSmall, QStringLiteral("v"));
    w.right(xMoonDec, kTableY + kRow, kDec, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Dec"));
    w.right(xMoonD, kTableY + kRow, kSmall, QStringLiteral("d"));
    w.right(xMoonHp, kTableY + kRow, kHp, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "HP"));
    w.vrule(xSun + 10, kTableY, tableBottom(a, top) + 2 * kRow);
    w.vrule(xMoon + 10, kTableY, tableBottom(a, top) + 2 * kRow);
    w.rule(kLeft, xMoonHp + kHp, top - 10);
    w.setSize(kTextSize);

    utColumn(w, a, top, xMoonHp + kHp);
    for (size_t k = 0; k < a.hours.size(); ++k) {
        const AlmanacHour& h = a.hours[k];
        const double y = hourY(top, k);
        ghaDecCells(w, xSun, y, h.sun, kGha, kDec);
        w.right(xMoon, y, kGha, q(almanacHourAngle(h.moon.gha)));
        w.right(xMoonV, y, kSmall, q(almanacMinutes(h.moonV)));
        w.right(xMoonDec, y, kDec, q(almanacDeclination(h.moon.dec)));
        w.right(xMoonD, y, kSmall, q(almanacMinutes(h.moonD, false)));
        w.right(xMoonHp, y, kHp, q(almanacMinutes(h.moonHp)));
    }
    const double foot = tableBottom(a, top) + 20;
    w.rule(kLeft, xMoonHp + kHp, foot - 10);
    const AlmanacDay& middle = a.days[middleIndex];
    w.left(xSun + 40, foot, kGha + kDec,
           QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SD ") + q(almanacMinutes(middle.sunSd)) +
               QStringLiteral("   d ") + q(almanacMinutes(middle.sunD, false)));
    QString moonSd = QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SD");
    for (const AlmanacDay& d : a.days) moonSd += QStringLiteral("  ") + q(almanacMinutes(d.moonSd));
    w.left(xMoon + 40, foot, xMoonHp + kHp - xMoon, moonSd);

    // The latitude table: the Sun's events of the middle day, the Moon's of every day.
    constexpr double kLat = 250, kCell = 400;
    const double xMoonCells = xTable + kLat + 3 * kCell;
    const auto eventBlock = [&](double y, bool rising) {
        w.setSize(kHeadSize, true);
        w.left(xTable, y + kRow, kLat, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Lat."));
        const QString sunHeads[2][3] = {{QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Naut."),
                                         QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Civil"),
                                         QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Sunrise")},
                                        {QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Sunset"),
                                         QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Civil"),
                                         QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Naut.")}};
        const int r = rising ? 0 : 1;
        w.centre(xTable + kLat + (rising ? 0 : kCell), y, 2 * kCell,
                 QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Twilight"));
        for (int c = 0; c < 3; ++c) w.right(xTable + kLat + c * kCell, y + kRow, kCell, sunHeads[r][c]);
        w.centre(xMoonCells, y, kCell * static_cast<double>(a.days.size()),
                 rising ? QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Moonrise")
                        : QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Moonset"));
        for (size_t d = 0; d < a.days.size(); ++d)
            w.right(xMoonCells + static_cast<double>(d) * kCell, y + kRow, kCell, QString::number(a.days[d].day));
        w.rule(xTable, kRight, y + 2 * kRow);
        w.setSize(kTextSize);
        for (size_t i = 0; i < kAlmanacLatitudes.size(); ++i) {
            const double lat = kAlmanacLatitudes[i];
            const double rowY =
                y + 2 * kRow + static_cast<double>(i) * kRow + (i >= 12 ? kDayGap : 0.0) + (i >= 19 ? kDayGap : 0.0);
            w.left(xTable, rowY, kLat,
                   (lat > 0   ? QStringLiteral("N")
                    : lat < 0 ? QStringLiteral("S")
                              : QString()) +
                       QString::number(std::fabs(lat)));
            const AlmanacLatitudeRow& sun = a.events[middleIndex * kAlmanacLatitudes.size() + i];
            const AlmanacEvent* cells[2][3] = {{&sun.nauticalBegin, &sun.civilBegin, &sun.sunrise},
                                               {&sun.sunset, &sun.civilEnd, &sun.nauticalEnd}};
            for (int c = 0; c < 3; ++c) w.right(xTable + kLat + c * kCell, rowY, kCell, eventCell(*cells[r][c]));
            for (size_t d = 0; d < a.days.size(); ++d) {
                const AlmanacLatitudeRow& row = a.events[d * kAlmanacLatitudes.size() + i];
                w.right(xMoonCells + static_cast<double>(d) * kCell, rowY, kCell,
                        eventCell(rising ? row.moonrise : row.moonset));
            }
        }
        return y + (2 + static_cast<double>(kAlmanacLatitudes.size())) * kRow + 2 * kDayGap;
    };
    double y = kTableY;
    if (!a.events.empty()) {
        y = eventBlock(y, true) + kRow / 2;
        y = eventBlock(y, false) + kRow / 2;
    }

    // The day's data.
    w.setSize(kHeadSize, true);
    const double xDay = xTable, xEqt = xDay + 250, xMer = xEqt + 2 * 360, xMoonMer = xMer + 330,
                 xAge = xMoonMer + 2 * 330, xPhase = xAge + 220;
    w.centre(xEqt, y, 2 * 360 + 330, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SUN"));
    w.centre(xMoonMer, y, kRight - xMoonMer, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "MOON"));
    w.left(xDay, y + kRow, 250, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Day"));
    w.right(xEqt, y + kRow, 360, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Eqn. 00h"));
    w.right(xEqt + 360, y + kRow, 360, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "of T. 12h"));
    w.right(xMer, y + kRow, 330, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Mer. P."));
    w.right(xMoonMer, y + kRow, 330, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Upper"));
    w.right(xMoonMer + 330, y + kRow, 330, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Lower"));
    w.right(xAge, y + kRow, 220, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Age"));
    w.right(xPhase, y + kRow, kRight - xPhase, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Phase"));
    w.rule(xTable, kRight, y + 2 * kRow);
    w.setSize(kTextSize);
    for (size_t d = 0; d < a.days.size(); ++d) {
        const AlmanacDay& day = a.days[d];
        const double rowY = y + static_cast<double>(2 + d) * kRow;
        w.left(xDay, rowY, 250, QString::number(day.day));
        w.right(xEqt, rowY, 360, q(almanacEquationOfTime(day.eqt00hSeconds)));
        w.right(xEqt + 360, rowY, 360, q(almanacEquationOfTime(day.eqt12hSeconds)));
        w.right(xMer, rowY, 330, q(almanacClock(day.sunMeridianPassage)));
        w.right(xMoonMer, rowY, 330, q(almanacClock(day.moonUpper)));
        w.right(xMoonMer + 330, rowY, 330, q(almanacClock(day.moonLower)));
        w.right(xAge, rowY, 220, QStringLiteral("%1d").arg(std::floor(day.moonAgeDays)));
        w.right(xPhase, rowY, kRight - xPhase, QStringLiteral("%1%").arg(std::lround(day.moonIlluminatedPercent)));
    }
    // What the words in the table mean.
    const double legend = y + static_cast<double>(3 + a.days.size()) * kRow;
    w.setSize(56);
    const QString lines[] = {
        QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Times are UT at Greenwich (local mean time)."),
        QCoreApplication::translate("celestra::NauticalAlmanacDialog",
                                    "above: the body stays above the horizon all day;"),
        QCoreApplication::translate("celestra::NauticalAlmanacDialog",
                                    "below: it stays below all day;  all night: twilight"),
        QCoreApplication::translate("celestra::NauticalAlmanacDialog",
                                    "lasts all night;  24:xx: the next day's event."),
        QCoreApplication::translate("celestra::NauticalAlmanacDialog",
                                    "Eqn. of time: apparent minus mean time (\u2212: the Sun"),
        QCoreApplication::translate("celestra::NauticalAlmanacDialog", "crosses the meridian after 12h)."),
    };
    for (size_t i = 0; i < std::size(lines); ++i)
        w.left(xTable, legend + static_cast<double>(i) * 80.0, kRight - xTable, lines[i]);
}

// "15 02.5" of an increment in tenths of an arcminute.
QString incrementText(int tenths) {
    return QStringLiteral("%1 %2.%3")
        .arg(tenths / 600)
        .arg(tenths % 600 / 10, 2, 10, QLatin1Char('0'))
        .arg(tenths % 10);
}

// One minute of the increments and corrections in a half-page column.
void incrementsMinute(PageWriter& w, double x0, double width, int minute) {
    constexpr double kS = 170, kCol = 420, kRowHeight = 118;
    const double pair = (width - kS - 3 * kCol) / 3.0;
    const double top = kTableY + 2 * kRow;
    w.setSize(kTitleSize, true);
    w.left(x0, kTitleY, 600, QStringLiteral("%1m").arg(minute));
    w.setSize(kHeadSize, true);
    const QString heads[] = {QCoreApplication::translate("celestra::NauticalAlmanacDialog", "PLANETS"),
                             QCoreApplication::translate("celestra::NauticalAlmanacDialog", "ARIES"),
                             QCoreApplication::translate("celestra::NauticalAlmanacDialog", "MOON")};
    w.right(x0, kTableY + kRow, kS, QStringLiteral("s"));
    w.right(x0 + kS, kTableY, kCol, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "SUN"));
    for (int c = 0; c < 3; ++c) w.right(x0 + kS + c * kCol, kTableY + kRow, kCol, heads[c]);
    for (int c = 0; c < 3; ++c) {
        const double x = x0 + kS + 3 * kCol + c * pair;
        w.right(x, kTableY, pair, QCoreApplication::translate("celestra::NauticalAlmanacDialog", "v or d"));
        w.right(x, kTableY + kRow, pair / 2, QStringLiteral("v"));
        w.right(x + pair / 2, kTableY + kRow, pair / 2,
                QCoreApplication::translate("celestra::NauticalAlmanacDialog", "Corr"));
        w.vrule(x + 15, kTableY, top + 61 * kRowHeight);
    }
    w.rule(x0, x0 + width, top - 10);
    w.setSize(kTextSize);
    for (int s = 0; s <= 60; ++s) {
        const double y = top + s * kRowHeight;
        if (s % 10 == 5) w.shade(x0, y + 10, x0 + width, y + kRowHeight - 10);
        w.right(x0, y, kS, QStringLiteral("%1").arg(s, 2, 10, QLatin1Char('0')));
        w.right(x0 + kS, y, kCol, incrementText(incrementTenths(IncrementColumn::SunPlanets, minute, s)));
        w.right(x0 + kS + kCol, y, kCol, incrementText(incrementTenths(IncrementColumn::Aries, minute, s)));
        w.right(x0 + kS + 2 * kCol, y, kCol, incrementText(incrementTenths(IncrementColumn::Moon, minute, s)));
        // v or d from 0.0 to 18.0 in three columns of 61 rows (6.0 and 12.0 twice).
        for (int c = 0; c < 3; ++c) {
            const int v = c * 60 + s;
            const double x = x0 + kS + 3 * kCol + c * pair;
            w.right(x, y, pair / 2, QStringLiteral("%1.%2").arg(v / 10).arg(v % 10));
            const int corr = correctionTenths(v, minute);
            w.right(x + pair / 2, y, pair / 2, QStringLiteral("%1.%2").arg(corr / 10).arg(corr % 10));
        }
    }
}

void incrementsPage(PageWriter& w, int index) {
    const double half = (kRight - kLeft - 200) / 2.0;
    incrementsMinute(w, kLeft, half, 2 * index);
    incrementsMinute(w, kLeft + half + 200, half, 2 * index + 1);
    w.setSize(56);
    w.centre(kLeft, kPageHeight - 280, kRight - kLeft,
             QCoreApplication::translate("celestra::NauticalAlmanacDialog", "INCREMENTS AND CORRECTIONS"));
}

}  // namespace

void paintAlmanacPage(QPainter& painter, const QRectF& target, const NauticalAlmanac& almanac, int page) {
    painter.save();
    // The A4 box fitted into the target, centred.
    const double scale = std::min(target.width() / kPageWidth, target.height() / kPageHeight);
    painter.translate(target.x() + (target.width() - kPageWidth * scale) / 2.0,
                      target.y() + (target.height() - kPageHeight * scale) / 2.0);
    painter.scale(scale, scale);
    painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    PageWriter w(painter);
    if (page >= kAlmanacDailyPages) {
        incrementsPage(w, page - kAlmanacDailyPages);
    } else if (!almanac.days.empty() && almanac.hours.size() == 24 * almanac.days.size()) {
        w.setSize(kTitleSize, true);
        w.centre(kLeft, kTitleY - kRow, kRight - kLeft, pageTitle(almanac));
        if (page == 0) leftPage(w, almanac);
        else rightPage(w, almanac);
    }
    painter.restore();
}

int almanacPageCount(bool withIncrements) { return kAlmanacDailyPages + (withIncrements ? kAlmanacIncrementPages : 0); }

bool printAlmanac(QPagedPaintDevice& device, const NauticalAlmanac& almanac, bool withIncrements) {
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&device)) return false;
    const int pages = almanacPageCount(withIncrements);
    for (int page = 0; page < pages; ++page) {
        if (page) device.newPage();
        const QRectF area = painter.viewport();
        paintAlmanacPage(painter, QRectF(0, 0, area.width(), area.height()), almanac, page);
    }
    return painter.end();
}

bool writeAlmanacPdf(const NauticalAlmanac& almanac, const QString& path, QPageSize::PageSizeId paper,
                     bool withIncrements, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = file.errorString();
        return false;
    }
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(paper));
        pdf.setResolution(600);
        pdf.setTitle(QStringLiteral("Nautical almanac ") + pageTitle(almanac));
        pdf.setCreator(QStringLiteral("Celestra"));
        if (!printAlmanac(pdf, almanac, withIncrements)) {
            error = QCoreApplication::translate("celestra::NauticalAlmanacDialog", "the pages could not be drawn");
            file.cancelWriting();
            return false;
        }
    }
    if (!file.commit()) {
        error = file.errorString();
        return false;
    }
    return true;
}

}  // namespace celestra
