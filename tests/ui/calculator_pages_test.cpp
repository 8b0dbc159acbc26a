// The calculator pages, Rise Set Times and the lunar calendar as a user
// drives them: typed fields, buttons and radios, the texts shown, refused
// fields, and the state the navigation pages keep between openings.
// PNG grabs of every page go to $CELESTRA_PAGE_SHOTS when it is set.
#include "ui/calculator_pages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <cmath>
#include <numbers>
#include <vector>

#include "app/document.h"
#include "calculators/converters.h"
#include "core/angles.h"
#include "solarsystem/ephemeris.h"
#include "tests/ui/qt_test_support.h"
#include "ui/almanac_pages.h"
#include "ui/calculator_pictures.h"
#include "ui/program_colors.h"

using namespace celestra;

namespace {

void type(QLineEdit* edit, const QString& text) { edit->setText(text); }

void setGroup(LatLongGroup* g, const QStringList& lat, const QStringList& lon) {
    type(g->latDeg, lat[0]), type(g->latMin, lat[1]), type(g->latSec, lat[2]);
    type(g->lonDeg, lon[0]), type(g->lonMin, lon[1]), type(g->lonSec, lon[2]);
}

void shoot(QWidget* page, const char* name) {
    const QByteArray dir = qgetenv("CELESTRA_PAGE_SHOTS");
    if (dir.isEmpty()) return;
    page->show();
    QCoreApplication::processEvents();
    page->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

// Seconds since midnight of an "hh:mm:ss" text.
int clockSeconds(const QString& text) {
    const QStringList p = text.split(QLatin1Char(':'));
    return p.size() == 3 ? p[0].toInt() * 3600 + p[1].toInt() * 60 + p[2].toInt() : -1;
}

}  // namespace

class CalculatorPagesTest : public QObject {
    Q_OBJECT
private:
    QStringList messages_;
    // London on the summer solstice of 2024, British Summer Time.
    DocumentData doc_{julianDayFromCivil({2024, 6, 21, 11, 0, 0}), 1.0 / 24.0};

private slots:
    void initTestCase() {
        setFieldMessageSink([this](QWidget*, const QString& m) { messages_ << m; });
        doc_.observer.latitude = 51.5;
        doc_.observer.longitude = -0.1275;
        const QString ephemeris = test::builtEphemeris();
        if (!ephemeris.isEmpty() && !processEphemeris().isOpen()) processEphemeris().open(ephemeris.toStdString());
    }
    void init() { messages_.clear(); }

    void greatCircleLondonNewYork() {
        GreatCircleDialog page(doc_);
        setGroup(page.group1, {"51", "30", "0"}, {"-0", "7", "0"});
        setGroup(page.group2, {"40", "43", "0"}, {"-74", "0", "0"});
        page.sphere->click();
        QCOMPARE(page.distance->text(), QStringLiteral("3005.83"));
        QCOMPARE(page.course->text(), QStringLiteral("Initial Course: 288.34\u00b0T"));
        // Negative degrees turn the hemisphere button and are kept positive.
        QCOMPARE(page.group1->eastWest->text(), QStringLiteral("W"));
        QCOMPARE(page.group1->lonDeg->text(), QStringLiteral("0"));
        QCOMPARE(page.group2->eastWest->text(), QStringLiteral("W"));
        QCOMPARE(page.group2->lonDeg->text(), QStringLiteral("74"));
        page.ellipsoid->click();
        QCOMPARE(page.distance->text(), QStringLiteral("3015.98"));
        QVERIFY(page.note->text().isEmpty());
        // The unit recomputes at once: kilometres are 1.852 nautical miles.
        page.units->setCurrentIndex(kKilometres);
        emit page.units->activated(kKilometres);
        QVERIFY2(std::abs(page.distance->text().toDouble() - 3015.98 * 1.852) < 0.01,
                 qPrintable(page.distance->text()));
        page.units->setCurrentIndex(kNauticalMiles);
        emit page.units->activated(kNauticalMiles);
        shoot(&page, "great_circle");

        // The state outlives the page.
        GreatCircleDialog again(doc_);
        QCOMPARE(again.distance->text(), QStringLiteral("3015.98"));
        QCOMPARE(again.group2->lonDeg->text(), QStringLiteral("74"));
        QVERIFY(again.ellipsoid->isChecked());
    }

    void greatCircleRefusalsAndEdges() {
        GreatCircleDialog page(doc_);
        page.show();
        QVERIFY(QTest::qWaitForWindowActive(&page));
        setGroup(page.group1, {"51", "30", "0"}, {"0", "7", "0"});
        setGroup(page.group2, {"91", "0", "0"}, {"74", "0", "0"});
        const QString before = page.distance->text();
        QVERIFY(!page.compute());
        QCOMPARE(messages_, QStringList{QStringLiteral("Please enter a number between -90 and 90.")});
        QVERIFY(page.group2->latDeg->hasFocus());
        QCOMPARE(page.distance->text(), before);
        type(page.group2->latDeg, QStringLiteral("40"));
        type(page.group2->lonSec, QStringLiteral("60"));
        QVERIFY(!page.compute());
        QCOMPARE(messages_.last(), QStringLiteral("Please enter a number between 0 and 59."));
        QVERIFY(page.group2->lonSec->hasFocus());
        type(page.group2->lonSec, QStringLiteral("x"));  // not a number: the same range message
        QVERIFY(!page.compute());
        QCOMPARE(messages_.last(), QStringLiteral("Please enter a number between 0 and 59."));

        // A typed -33 is 33 south; the button flips it back.
        setGroup(page.group2, {"-33", "0", "0"}, {"0", "7", "0"});
        QVERIFY(page.compute());
        QCOMPARE(page.group2->latDeg->text(), QStringLiteral("33"));
        QCOMPARE(page.group2->northSouth->text(), QStringLiteral("S"));
        type(page.group2->latMin, QStringLiteral("15"));  // typed, not yet read
        page.group2->northSouth->click();
        QCOMPARE(page.group2->northSouth->text(), QStringLiteral("N"));
        QCOMPARE(page.group2->latMin->text(), QStringLiteral("15"));

        // Coincident places: the ellipsoid has no answer, the sphere's is shown beside the note.
        setGroup(page.group2, {"51", "30", "0"}, {"0", "7", "0"});
        page.group2->eastWest->setText(page.group1->eastWest->text());
        GreatCircleDialog::state().lat2.sign = GreatCircleDialog::state().lat1.sign;
        GreatCircleDialog::state().lon2.sign = GreatCircleDialog::state().lon1.sign;
        page.ellipsoid->click();
        QCOMPARE(page.distance->text(), QStringLiteral("0.00"));
        QCOMPARE(page.course->text(), QStringLiteral("Initial Course: 0.00\u00b0T"));
        QVERIFY(!page.note->text().isEmpty());
        shoot(&page, "great_circle_undefined");

        // The assumed position, half a degree south, keeps its hemisphere.
        doc_.currentSight.observer.latitude = -0.5;
        doc_.currentSight.observer.longitude = 12.25;
        page.group1->assumedPosition->click();
        QCOMPARE(page.group1->latDeg->text(), QStringLiteral("0"));
        QCOMPARE(page.group1->latMin->text(), QStringLiteral("30"));
        QCOMPARE(page.group1->northSouth->text(), QStringLiteral("S"));
        QCOMPARE(page.group1->lonMin->text(), QStringLiteral("15"));
        QCOMPARE(page.group1->eastWest->text(), QStringLiteral("E"));
    }

    void rangeAndBearing() {
        RangeBearingDialog page(doc_);
        QVERIFY(messages_.isEmpty());  // no distance yet: nothing refused on opening
        QVERIFY(page.result->text().isEmpty());
        setGroup(page.group, {"40", "0", "0"}, {"170", "0", "0"});
        type(page.courseEdit, QStringLiteral("90"));
        type(page.distanceEdit, QStringLiteral("1200"));
        page.rhumbLine->click();
        QVERIFY(page.compute());
        // Due east on a rhumb line keeps the latitude and crosses 180° into the west.
        const QStringList lines = page.result->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 2);
        QCOMPARE(lines[0], QString::fromStdString(formatAngle(40.0, 0, AngleSignStyle::Latitude)));
        QVERIFY2(lines[1].startsWith(QLatin1Char('W')), qPrintable(lines[1]));
        shoot(&page, "range_bearing");
        // A click on the result shows the next angle form.
        const QString first = page.result->text();
        page.result->click();
        QCOMPARE(RangeBearingDialog::state().formatIndex, 1);
        QVERIFY(page.result->text() != first);
        page.result->click();
        page.result->click();
        QCOMPARE(page.result->text(), first);

        // Due north the two methods agree on the latitude.
        type(page.courseEdit, QStringLiteral("0"));
        page.greatCircle->click();
        QVERIFY(page.compute());
        const QString greatCircle = page.result->text();
        page.rhumbLine->click();
        QVERIFY(page.compute());
        QCOMPARE(page.result->text().section(QLatin1Char('\n'), 0, 0), greatCircle.section(QLatin1Char('\n'), 0, 0));

        // Every choice shows its result at once, the same as "Calculate" gives.
        type(page.courseEdit, QStringLiteral("45"));
        page.greatCircle->click();
        QVERIFY(page.compute());
        const QString alongGreatCircle = page.result->text();
        page.rhumbLine->click();
        const QString alongRhumbLine = page.result->text();
        QVERIFY(alongRhumbLine != alongGreatCircle);
        QVERIFY(page.compute());
        QCOMPARE(page.result->text(), alongRhumbLine);
        page.greatCircle->click();
        QCOMPARE(page.result->text(), alongGreatCircle);
        page.units->setCurrentIndex(kKilometres);  // 1200 km, not 1200 nautical miles
        emit page.units->activated(kKilometres);
        QVERIFY(page.result->text() != alongGreatCircle);
        page.units->setCurrentIndex(kNauticalMiles);
        emit page.units->activated(kNauticalMiles);
        QCOMPARE(page.result->text(), alongGreatCircle);

        type(page.distanceEdit, QStringLiteral("0"));
        QVERIFY(!page.compute());
        QCOMPARE(messages_.last(), QStringLiteral("Please enter a number between 0.00001 and 999999."));
        QVERIFY(page.result->text().isEmpty());  // no result of other entries left standing
        type(page.distanceEdit, QStringLiteral("10"));
        type(page.group->latDeg, QStringLiteral("-5"));
        QVERIFY(!page.compute());
        QCOMPARE(messages_.last(), QStringLiteral("Please enter a number between 0 and 90."));
    }

    void horizonDistance() {
        HorizonDialog page;
        QCOMPARE(page.height->text(), QStringLiteral("2"));
        QCOMPARE(page.visible->text(), QStringLiteral("2.93 NMi"));
        QCOMPARE(page.radar->text(), QStringLiteral("3.13 NMi"));
        shoot(&page, "horizon");
        type(page.height, QStringLiteral("100"));
        page.feet->click();
        QCOMPARE(page.visible->text(), QStringLiteral("2.93 NMi"));  // only "Calculate" recomputes
        page.calculate->click();
        QCOMPARE(page.visible->text(), QStringLiteral("11.70 NMi"));
        QCOMPARE(page.radar->text(), QStringLiteral("12.20 NMi"));
        type(page.height, QStringLiteral("100000"));
        QVERIFY(!page.compute());
        QCOMPARE(messages_.last(), QStringLiteral("Please enter a number between 0 and 99999."));
        QCOMPARE(page.visible->text(), QStringLiteral("11.70 NMi"));
        HorizonDialog again;  // the last accepted height and unit
        QCOMPARE(again.height->text(), QStringLiteral("100"));
        QVERIFY(again.feet->isChecked());
    }

    void globeAndGreatCircleArc() {
        // East is right and north up; the far half has no image.
        const GlobeView atGreenwich(0.0, 0.0);
        QVERIFY(atGreenwich.project(0.0, 0.0)->manhattanLength() < 1e-12);
        QVERIFY(atGreenwich.project(0.0, 30.0)->x() > 0.49 && std::abs(atGreenwich.project(0.0, 30.0)->y()) < 1e-12);
        QVERIFY(atGreenwich.project(30.0, 0.0)->y() > 0.49);
        QVERIFY(!atGreenwich.project(0.0, 91.0));
        QVERIFY(!atGreenwich.project(-45.0, 180.0));
        // Centred between two places, they stand on opposite sides of the
        // middle (London and New York: 5570 km apart, sin(25°) from it).
        const GlobeView between = GlobeView::between(51.5, -0.13, 40.72, -74.0);
        const QPointF london = *between.project(51.5, -0.13), newYork = *between.project(40.72, -74.0);
        QVERIFY(std::abs(london.x() + newYork.x()) < 1e-9 && std::abs(london.y() + newYork.y()) < 1e-9);
        QVERIFY(london.x() > 0.0);  // London east of New York
        QVERIFY(std::abs(std::hypot(london.x(), london.y()) -
                         std::sin(0.5 * 3005.83 / 60.0 * std::numbers::pi / 180.0)) < 1e-4);

        // Tokyo to San Francisco: the short way, over the North Pacific
        // across 180°, highest near 48° N.
        const std::vector<QPointF> pacific = greatCircleArc(35.68, 139.69, 37.77, -122.42, 60);
        QCOMPARE(pacific.size(), size_t(61));
        QVERIFY(std::abs(pacific.front().x() - 35.68) < 1e-9 && std::abs(pacific.back().y() + 122.42) < 1e-9);
        double highest = -90.0;
        for (const QPointF& p : pacific) {
            QVERIFY2(std::abs(p.y()) > 120.0, qPrintable(QStringLiteral("%1, %2").arg(p.x()).arg(p.y())));
            highest = std::max(highest, p.x());
        }
        QVERIFY2(highest > 47.0 && highest < 49.5, qPrintable(QString::number(highest)));
        // The same place: one point; antipodes: no single shorter arc.
        QCOMPARE(greatCircleArc(10.0, 20.0, 10.0, 20.0, 8).size(), size_t(1));
        QCOMPARE(greatCircleArc(10.0, 20.0, -10.0, -160.0, 8).size(), size_t(2));
    }

    void picturesInEachScheme() {
        GreatCircleDialog circle(doc_);
        HorizonDialog horizon;
        for (int preset : {kPresetBlack, kPresetWhite, kPresetRed}) {
            applyProgramColors(doc_.colorSchemes.forPreset(preset));
            const QString scheme = QString::number(preset);
            shoot(&circle, qPrintable(QStringLiteral("great_circle_scheme") + scheme));
            shoot(&horizon, qPrintable(QStringLiteral("horizon_scheme") + scheme));
        }
        // The illustrations draw in the page's colours: red light only at night.
        for (QWidget* picture : {static_cast<QWidget*>(circle.picture), static_cast<QWidget*>(horizon.picture)}) {
            picture->resize(320, 200);
            const QImage image = picture->grab().toImage();
            int inked = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    QVERIFY2(c.green() <= c.red() && c.blue() <= c.red(), qPrintable(c.name()));
                    inked += c != image.pixelColor(0, 0);
                }
            QVERIFY(inked > 2000);
        }
        applyProgramColors(doc_.colorSchemes.forPreset(kPresetBlack));
    }

    void dmsAndHms() {
        DmsDialog page;
        QCOMPARE(page.decimal->text(), QStringLiteral("359.5"));
        page.toDms->click();
        QCOMPARE(page.degrees->text(), QStringLiteral("359"));
        QCOMPARE(page.minutes->text(), QStringLiteral("30.000000"));
        QCOMPARE(page.seconds->text(), QString());
        type(page.decimal, QStringLiteral("-12.5"));
        page.useSeconds->click();  // toggling converts
        QCOMPARE(page.degrees->text(), QStringLiteral("-12"));
        QCOMPARE(page.minutes->text(), QStringLiteral("30"));
        QCOMPARE(page.seconds->text(), QStringLiteral("0.000000"));
        type(page.decimal, QStringLiteral("-0.5"));
        page.toDms->click();
        QCOMPARE(page.degrees->text(), QStringLiteral("-00"));
        // Rounding carries into the next unit; a value past the whole-degree
        // field is refused, not shown wrapped.
        type(page.decimal, QStringLiteral("0.9999999999"));
        page.toDms->click();
        QCOMPARE(page.degrees->text() + page.minutes->text() + page.seconds->text(), QStringLiteral("01000.000000"));
        type(page.decimal, QStringLiteral("12345678"));
        page.toDms->click();
        QCOMPARE(messages_.last(), QStringLiteral("Please enter a number between -999999 and 999999."));
        QCOMPARE(page.degrees->text(), QStringLiteral("01"));
        type(page.decimal, QStringLiteral("-0.5"));
        page.toDms->click();
        shoot(&page, "dms");
        // And back, the sign of "-00" kept.
        page.toDecimal->click();
        QCOMPARE(page.decimal->text(), QStringLiteral("-0.500000"));
        page.useSeconds->setChecked(false);
        type(page.degrees, QStringLiteral("-12"));
        type(page.minutes, QStringLiteral("30"));
        page.toDecimal->click();
        QCOMPARE(page.decimal->text(), QStringLiteral("-12.500000"));
    }

    void julianDay() {
        JulianDayDialog page;
        // It opens on the clock's instant in UT, not on London's summer time.
        QCOMPARE(page.julianDay->text(), QStringLiteral("2460598.750000"));
        QCOMPARE(page.date->displayFormat(), QStringLiteral("d MMM yyyy"));
        QCOMPARE(page.time->displayFormat(), QStringLiteral("HH:mm:ss"));
        page.date->setDate(QDate(2000, 1, 1));
        page.time->setTime(QTime(12, 0, 0));
        page.toJulian->click();
        QCOMPARE(page.julianDay->text(), QStringLiteral("2451545.000000"));
        type(page.julianDay, QStringLiteral("2451544.5"));
        page.toCalendar->click();
        QCOMPARE(page.date->date(), QDate(2000, 1, 1));
        QCOMPARE(page.time->time(), QTime(0, 0, 0));
        // 23:59:59.9 on the 31st carries into the 1st of February.
        type(page.julianDay, QStringLiteral("2451575.4999988"));
        page.toCalendar->click();
        QCOMPARE(page.date->date(), QDate(2000, 2, 1));
        QCOMPARE(page.time->time(), QTime(0, 0, 0));
        shoot(&page, "julian_day");
        type(page.julianDay, QStringLiteral("9e9"));
        page.toCalendar->click();
        QVERIFY2(!messages_.isEmpty() && messages_.last().startsWith(
                                             QStringLiteral("Please enter a number between 1721425.5 and 5373484.5.")),
                 qPrintable(messages_.join(QLatin1Char('|'))));
        QCOMPARE(page.date->date(), QDate(2000, 2, 1));
    }

    void riseSetTimes() {
        QVERIFY2(processEphemeris().isOpen(), "the default ephemeris celestra.405 was not built");
        RiseSetDialog page(doc_);
        QCOMPARE(page.date->date(), QDate(2024, 6, 21));
        QVERIFY(page.zone->text().startsWith(QStringLiteral("UTC+01:00")));
        QVERIFY2(page.zone->text().endsWith(QLatin1String(kDaylightSavingTimeLabel)), qPrintable(page.zone->text()));
        QCOMPARE(zoneLabel(0.0, QDate(2024, 12, 21)), QLatin1String(kStandardTimeLabel));
        QCOMPARE(zoneLabel(1.0 / 24.0, QDate(2024, 12, 21)),
                 QLatin1String(kStandardTimeLabel));  // not the zone's offset then
        QCOMPARE(zoneLabel(0.0, QDate(2024, 6, 21)), QLatin1String(kStandardTimeLabel));
        // The almanac's London sunrise and sunset of that day: 04:43 and 21:21 BST.
        QCOMPARE(page.rise->text().left(5), QStringLiteral("04:43"));
        QCOMPARE(page.set->text().left(5), QStringLiteral("21:21"));
        QVERIFY(std::abs(clockSeconds(page.transit->text()) - clockSeconds(QStringLiteral("13:02:25"))) < 60);
        shoot(&page, "rise_set");
        const int sunrise = clockSeconds(page.rise->text());
        page.civil->click();
        QCOMPARE(page.setCaption->text(), QStringLiteral("Ends:"));
        QVERIFY(!page.body->isEnabled());
        const int dawn = clockSeconds(page.rise->text());
        QVERIFY2(dawn > 0 && dawn < sunrise - 30 * 60, qPrintable(page.rise->text()));
        page.nautical->click();
        QVERIFY(clockSeconds(page.rise->text()) < dawn);

        // A star by name, and a name that is no star.
        page.riseSet->click();
        page.body->setEditText(QStringLiteral("Sirius"));
        page.compute();
        QVERIFY(clockSeconds(page.rise->text()) >= 0);
        QVERIFY(clockSeconds(page.set->text()) >= 0);
        page.body->setEditText(QStringLiteral("Xyzzy"));
        page.compute();
        QVERIFY(page.rise->text().isEmpty());
        QVERIFY(page.message->text().contains(QStringLiteral("Xyzzy")));

        // 80° north at midsummer: the Sun never sets.
        DocumentData arctic = doc_;
        arctic.observer.latitude = 80.0;
        RiseSetDialog north(arctic);
        QCOMPARE(north.rise->text(), QLatin1String(kCircumpolar));
        QCOMPARE(north.set->text(), QLatin1String(kNoSet));

        // 65° N 65° E, 1 April 2025: the Moon rises twice in the UTC day.
        DocumentData urals = doc_;
        urals.observer.latitude = 65.0;
        urals.observer.longitude = 65.0;
        urals.observer.zoneOffset = 0.0;
        RiseSetDialog twice(urals);
        twice.date->setDate(QDate(2025, 4, 1));
        twice.body->setCurrentIndex(twice.body->findText(QStringLiteral("Moon")));
        twice.compute();
        QVERIFY2(twice.rise->text().startsWith(QStringLiteral("00:19:")) &&
                     twice.rise->text().endsWith(QStringLiteral("(first of 2)")),
                 qPrintable(twice.rise->text()));
        QCOMPARE(clockSeconds(twice.set->text()) / 60, 22 * 60 + 25);
        shoot(&twice, "rise_set_two_moonrises");
    }

    void lunarCalendar() {
        QVERIFY2(processEphemeris().isOpen(), "the default ephemeris celestra.405 was not built");
        LunarPhaseDialog page(doc_);
        QCOMPARE(page.year(), 2024);
        QCOMPARE(page.month(), 6);
        // The month's name in the desktop's language ("June 2024", "Juni 2024").
        QCOMPARE(page.title->text(), QLocale().standaloneMonthName(6) + QStringLiteral(" 2024"));
        // The almanac's phases of June 2024 (UTC 12:38, 05:18, 01:08, 21:53), in BST.
        const QString text = page.phases->text();
        for (const char* line : {"New Moon        2024-06-06 13:38", "First Quarter   2024-06-14 06:18",
                                 "Full Moon       2024-06-22 02:08", "Last Quarter    2024-06-28 22:53"})
            QVERIFY2(text.contains(QLatin1String(line)), qPrintable(text));
        const auto& days = page.calendar().days;
        QCOMPARE(days.size(), size_t(30));
        for (const auto& d : days) QVERIFY(d.valid);
        QVERIFY(days[21].illuminatedFraction > 0.97);  // the 22nd, hours after full
        QVERIFY(days[5].illuminatedFraction < 0.03);   // the 6th, hours before new
        // Waxing: the bright limb to the west (position angle near 270°); waning: east.
        QVERIFY(std::abs(days[9].brightLimbDeg - 270.0) < 60.0);
        QVERIFY(std::abs(days[25].brightLimbDeg - 90.0) < 60.0);
        page.resize(640, 720);
        shoot(&page, "lunar_phase");
        // The night scheme reaches the calendar: no white light on the page.
        applyProgramColors(doc_.colorSchemes.forPreset(kPresetRed));
        const QImage red = page.grab().toImage();
        for (int y = 0; y < red.height(); y += 7)
            for (int x = 0; x < red.width(); x += 7) {
                const QColor c = red.pixelColor(x, y);
                QVERIFY2(c.green() <= c.red() && c.blue() <= c.red(), qPrintable(c.name()));
            }
        shoot(&page, "lunar_phase_red");
        applyProgramColors(doc_.colorSchemes.forPreset(kPresetBlack));
        shoot(&page, "lunar_phase_black");
        page.next->click();
        QCOMPARE(page.month(), 7);
        page.previous->click();
        page.previous->click();
        QCOMPARE(page.month(), 5);
        page.showMonth(2024, 12);
        page.next->click();
        QCOMPARE(page.year(), 2025);
        QCOMPARE(page.month(), 1);
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    // A zone with summer time, so the zone label has both answers.
    setenv("TZ", "Europe/London", 1);
    QApplication app(argc, argv);
    CalculatorPagesTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "calculator_pages_test.moc"
