// The pages under the desktop's locale: CTest runs this program with LANG
// set to de_DE.UTF-8, fr_FR.UTF-8 and C.UTF-8. Every number field takes
// the point and the locale's separator alike and refuses anything else with
// its range; every text shows the point; dates name their month; and the
// place's own time zone sets the chart's clock, the Time page and Rise Set
// Times, summer and winter, as Qt's reading of the tz database says.
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTimeZone>
#include <clocale>
#include <cmath>
#include <cstring>

#include "calculators/converters.h"
#include "calculators/horizon_distance.h"
#include "catalogs/places.h"
#include "solarsystem/ephemeris.h"
#include "tests/support/gpsd_process.h"
#include "tests/support/pty_pair.h"
#include "tests/ui/qt_test_support.h"
#include "ui/almanac_pages.h"
#include "ui/calculator_pages.h"
#include "ui/date_texts.h"
#include "ui/first_start_page.h"
#include "ui/gps_page.h"
#include "ui/nautical_almanac_page.h"
#include "ui/nav_pages.h"
#include "ui/number_field.h"
#include "ui/object_pages.h"
#include "ui/program.h"
#include "ui/sight_planner_page.h"

using namespace celestra;

namespace {

constexpr double kUnixEpochJd = 2440587.5;

double jdOf(int y, int m, int d, int h) { return julianDayFromCivil({y, m, d, h, 0, 0}); }

QDateTime utcOf(double jd) {
    return QDateTime::fromMSecsSinceEpoch(std::llround((jd - kUnixEpochJd) * 86400000.0), QTimeZone::utc());
}

}  // namespace

class LocalePagesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    QStringList messages_;
    MainWindow* window() { return program_->window.get(); }
    DocumentData& doc() { return program_->document; }
    // The locale's decimal separator: "," in German and French, "." otherwise.
    QString sep() const { return QLocale().decimalPoint(); }
    QString lastMessage() const { return messages_.isEmpty() ? QString() : messages_.last(); }

    void waitForModel() { test::waitForSkyModel(*program_->model); }
    SettingsDialog* openSettings(SettingsDialog::Page page) {
        window()->openSettings(page);
        return qobject_cast<SettingsDialog*>(window()->lastPage());
    }
    // Types `text` into a spin box as a user does and leaves the field.
    void typeInto(QAbstractSpinBox* box, const QString& text) {
        box->selectAll();
        QTest::keyClicks(box, text);
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(box, &out);
    }
    // With CELESTRA_PAGE_SHOTS set, a PNG of the page there, named by the locale.
    void shoot(QWidget* page, const QString& name) {
        const QString dir = qEnvironmentVariable("CELESTRA_PAGE_SHOTS");
        QCoreApplication::processEvents();  // the layout after the page's last change
        if (!dir.isEmpty()) page->grab().save(dir + QStringLiteral("/%1-%2.png").arg(QLocale().name(), name));
    }
    // Texts of a page that show a number with a comma: none may.
    QStringList commaNumbers(QWidget* page) {
        static const QRegularExpression comma(QStringLiteral("\\d,\\d"));
        QStringList found;
        for (const QString& t : test::visibleTexts(page))
            if (t.contains(comma)) found << t;
        return found;
    }

private slots:
    void initTestCase() {
        const QByteArray lang = qgetenv("LANG");
        const char* numeric = std::setlocale(LC_NUMERIC, nullptr);
        // QApplication took LC_NUMERIC from LANG; "C" means the locale is not generated here.
        if (!lang.startsWith("C") && numeric && std::strcmp(numeric, "C") == 0)
            QSKIP(qPrintable(
                QStringLiteral("locale %1 is not generated on this machine").arg(QString::fromLatin1(lang))));
        setFieldMessageSink([this](QWidget*, const QString& m) { messages_ << m; });
        program_ = test::startProgramForTest();
        QVERIFY(program_);
    }
    void cleanupTestCase() {
        program_.reset();
        setFieldMessageSink({});
    }
    void init() { messages_.clear(); }

    void julianDayPageTakesBothSeparators() {
        JulianDayDialog page;
        for (const QString& text :
             {QStringLiteral("2451545") + sep() + QStringLiteral("5"), QStringLiteral("2451545.5")}) {
            page.julianDay->setText(text);
            page.convertToCalendar();
            QCOMPARE(page.date->date(), QDate(2000, 1, 2));
            QCOMPARE(page.time->time(), QTime(0, 0, 0));
        }
        page.date->setDate(QDate(2024, 6, 21));
        page.time->setTime(QTime(18, 0, 0));
        page.convertToJulian();
        QCOMPARE(page.julianDay->text(), QStringLiteral("2460483.250000"));
        // Never truncated to the leading number: refused with the page's range.
        for (const char* bad : {"2451545.5.3", "2451545x", "2451545,5,5", "1.234,5"}) {
            messages_.clear();
            page.julianDay->setText(QString::fromLatin1(bad));
            page.convertToCalendar();
            QVERIFY2(lastMessage().startsWith(QStringLiteral("Please enter a number between 1721425.5 and ")), bad);
            QCOMPARE(page.date->date(), QDate(2024, 6, 21));
        }
    }

    void calculatorsTakeBothSeparators() {
        GreatCircleDialog gc(doc());
        auto fill = [](LatLongGroup* g, const QString& latMin, const QString& lonMin) {
            g->latDeg->setText(QStringLiteral("51")), g->latMin->setText(latMin),
                g->latSec->setText(QStringLiteral("0"));
            g->lonDeg->setText(QStringLiteral("-0")), g->lonMin->setText(lonMin),
                g->lonSec->setText(QStringLiteral("0"));
        };
        gc.sphere->click();
        fill(gc.group2, QStringLiteral("0"), QStringLiteral("0"));
        fill(gc.group1, QStringLiteral("30.5"), QStringLiteral("7.25"));
        QVERIFY(gc.compute());
        const QString distance = gc.distance->text();
        fill(gc.group1, QStringLiteral("30") + sep() + QStringLiteral("5"),
             QStringLiteral("7") + sep() + QStringLiteral("25"));
        QVERIFY(gc.compute());
        QCOMPARE(gc.distance->text(), distance);
        QVERIFY(!distance.contains(QLatin1Char(',')));
        gc.group1->latDeg->setText(QStringLiteral("51.5.3"));
        QVERIFY(!gc.compute());
        QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between -90 and 90."));
        gc.group1->latDeg->setText(QStringLiteral("51"));
        gc.group1->lonSec->setText(QStringLiteral("7x"));
        QVERIFY(!gc.compute());
        QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between 0 and 59."));

        RangeBearingDialog rb(doc());
        rb.courseEdit->setText(QStringLiteral("45") + sep() + QStringLiteral("5"));
        rb.distanceEdit->setText(QStringLiteral("100") + sep() + QStringLiteral("25"));
        QVERIFY(rb.compute());
        const QString reached = rb.result->text();
        rb.courseEdit->setText(QStringLiteral("45.5"));
        rb.distanceEdit->setText(QStringLiteral("100.25"));
        QVERIFY(rb.compute());
        QCOMPARE(rb.result->text(), reached);
        rb.distanceEdit->setText(QStringLiteral("100.2.5"));
        QVERIFY(!rb.compute());
        QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between 0.00001 and 999999."));

        HorizonDialog horizon;
        horizon.height->setText(QStringLiteral("10") + sep() + QStringLiteral("5"));
        QVERIFY(horizon.compute());
        const QString visible = horizon.visible->text();
        horizon.height->setText(QStringLiteral("10.5"));
        QVERIFY(horizon.compute());
        QCOMPARE(horizon.visible->text(), visible);
        QCOMPARE(visible, QString::fromStdString(horizonDistance(10.5, HeightUnit::Meters).visibleText));
        horizon.height->setText(QStringLiteral("10,5,5"));
        QVERIFY(!horizon.compute());
        QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between 0 and 99999."));
    }

    void sextantAltitudeAndEnviroTakeBothSeparators() {
        SextantDialog* sextant = window()->openSextant();
        QDoubleSpinBox* minutes = sextant->minutesBox();
        typeInto(minutes, QStringLiteral("12") + sep() + QStringLiteral("5"));
        QCOMPARE(minutes->value(), 12.5);
        QCOMPARE(minutes->text(), QStringLiteral("12.5"));
        typeInto(minutes, QStringLiteral("33.4"));
        QCOMPARE(minutes->value(), 33.4);
        QVERIFY(messages_.isEmpty());
        for (const char* bad : {"12.5.3", "12x", "61"}) {
            messages_.clear();
            typeInto(minutes, QString::fromLatin1(bad));
            QCOMPARE(minutes->value(), 33.4);  // the last value, never 12 or 125
            QCOMPARE(minutes->text(), QStringLiteral("33.4"));
            QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between 0 and 60."));
        }
        sextant->close();

        EnviroDialog* enviro = window()->openEnviro();
        QLineEdit* height = enviro->field(EnviroField::Height);
        height->setText(QStringLiteral("10") + sep() + QStringLiteral("5"));
        QVERIFY(enviro->apply());
        QCOMPARE(doc().currentSight.observer.height, 10.5);
        height->setText(QStringLiteral("11.25"));
        QVERIFY(enviro->apply());
        QCOMPARE(doc().currentSight.observer.height, 11.25);
        height->setText(QStringLiteral("10.5.3"));
        QVERIFY(!enviro->apply());
        QCOMPARE(enviro->messageLabel()->text(),
                 QStringLiteral("Height of eye must be a number from 0 to 30000 Meters."));
        QCOMPARE(doc().currentSight.observer.height, 11.25);
        height->setText(QStringLiteral("11.25"));
        enviro->close();
    }

    void zoneBoxTakesBothSeparators() {
        SettingsDialog* d = openSettings(SettingsDialog::TimePage);
        QVERIFY(d);
        for (QRadioButton* r : d->findChildren<QRadioButton*>())
            if (r->text() == QStringLiteral("Custom")) r->click();
        QComboBox* hours = d->zoneHoursBox();
        QCOMPARE(hours->itemText(hours->findText(QStringLiteral("+5.5"))), QStringLiteral("+5.5"));
        for (const QString& text : {QStringLiteral("+5") + sep() + QStringLiteral("75"), QStringLiteral("+5.75")}) {
            hours->setCurrentText(QStringLiteral("+1"));
            hours->setCurrentText(text);
            emit hours->lineEdit()->editingFinished();
            QCOMPARE(window()->preferences().zone.customHours, 5.75);
            QCOMPARE(doc().observer.zoneOffset, 5.75 / 24.0);
        }
        QVERIFY(messages_.isEmpty());
        hours->setCurrentText(QStringLiteral("5.5.5"));
        emit hours->lineEdit()->editingFinished();
        QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between -14 and 14."));
        QCOMPARE(hours->currentText(), QStringLiteral("+5.75"));
        QCOMPARE(window()->preferences().zone.customHours, 5.75);
        d->close();
    }

    // Every page, filled: no number shown with a comma.
    void noPageShowsACommaNumber() {
        QVERIFY2(processEphemeris().isOpen(), "the default ephemeris celestra.405 was not built");
        for (int page = 0; page < 3; ++page) {
            SettingsDialog* d = openSettings(static_cast<SettingsDialog::Page>(page));
            QVERIFY2(commaNumbers(d).isEmpty(), qPrintable(commaNumbers(d).join(QLatin1Char('|'))));
            d->close();
        }
        // The sight at the chart's place and instant: Calculate asks nothing.
        doc().currentSight.observer = doc().observer;
        doc().currentSight.apTimeOverride = 0.0;
        SextantDialog* sextant = window()->openSextant();
        sextant->setPickers(doc().observer.instant);
        sextant->minutesBox()->setValue(12.3);
        sextant->calculate();
        sextant->saveLop();
        sextant->openDetails();
        QVERIFY(sextant->detailsDialog());
        shoot(sextant, QStringLiteral("sextant"));
        shoot(sextant->detailsDialog(), QStringLiteral("details"));
        QVERIFY2(commaNumbers(sextant).isEmpty(), qPrintable(commaNumbers(sextant).join(QLatin1Char('|'))));
        QVERIFY2(commaNumbers(sextant->detailsDialog()).isEmpty(),
                 qPrintable(commaNumbers(sextant->detailsDialog()).join(QLatin1Char('|'))));
        // The sight's date names its month, in the locale's language.
        const QDate sightDate = sextant->dateEdit()->date();
        bool dated = false;
        for (const QString& t : test::visibleTexts(sextant->detailsDialog()))
            dated = dated || t == localeDateText(sightDate);
        QVERIFY2(dated, qPrintable(localeDateText(sightDate)));
        QVERIFY(localeDateText(sightDate).contains(QLocale().monthName(sightDate.month(), QLocale::ShortFormat)) ||
                localeDateText(sightDate).startsWith(sightDate.toString(Qt::ISODate)));
        sextant->minutesBox()->setValue(14.7);
        sextant->calculate();
        sextant->saveLop();
        sextant->close();
        LopsDialog* lops = window()->openLops();
        shoot(lops, QStringLiteral("lops"));
        QVERIFY2(commaNumbers(lops).isEmpty(), qPrintable(commaNumbers(lops).join(QLatin1Char('|'))));
        lops->close();
        EnviroDialog* enviro = window()->openEnviro();
        QVERIFY2(commaNumbers(enviro).isEmpty(), qPrintable(commaNumbers(enviro).join(QLatin1Char('|'))));
        enviro->close();

        GreatCircleDialog gc(doc());
        RangeBearingDialog rb(doc());
        rb.distanceEdit->setText(QStringLiteral("123.5"));
        rb.compute();
        HorizonDialog horizon;
        DmsDialog dms;
        dms.convertToDms();
        JulianDayDialog jd;
        RiseSetDialog riseSet(doc(), nullptr, window()->zoneRule());
        LunarPhaseDialog lunar(doc(), nullptr, window()->zoneRule());
        for (QWidget* page : std::initializer_list<QWidget*>{&gc, &rb, &horizon, &dms, &jd, &riseSet, &lunar})
            QVERIFY2(commaNumbers(page).isEmpty(), qPrintable(page->windowTitle() + QStringLiteral(": ") +
                                                              commaNumbers(page).join(QLatin1Char('|'))));
        window()->chart()->setSelection({ChartSelection::Kind::Body, 11});
        waitForModel();
        window()->openInfo();
        QWidget* info = window()->lastPage();
        QVERIFY2(commaNumbers(info).isEmpty(), qPrintable(commaNumbers(info).join(QLatin1Char('|'))));
        const CalendarDate today = calendarFromJulianDay(doc().observer.instant + doc().observer.zoneOffset);
        QVERIFY(static_cast<InfoDialog*>(info)->text()->toPlainText().contains(
            QStringLiteral("Today, ") + localeDateText(QDate(today.year, today.month, today.day))));
        info->close();

        // The later pages: a planned set, an almanac day, a first start with
        // a place chosen, and a GPS fix read from a receiver.
        SightPlannerDialog planner(doc());
        planner.plan->click();
        QVERIFY(!planner.result().best.empty());
        NauticalAlmanacDialog almanac(doc());
        QVERIFY(almanac.valid());
        Preferences prefs;
        prefs.gpsdHost = QStringLiteral("127.0.0.1");
        prefs.gpsdPort = test::freeLoopbackPort();
        FirstStartPage first(doc(), prefs);
        first.search()->setText(QStringLiteral("Sydney"));
        QVERIFY(first.hasPlace());
        test::PtyPair pty;
        QVERIFY(pty.ok());
        GpsPage gps(prefs);
        gps.portBox()->setEditText(QString::fromStdString(pty.slavePath()));
        gps.startButton()->click();
        QVERIFY(gps.running());
        QVERIFY(pty.Write(test::nmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,W,022.4,084.4,081226,003.1,W,A")));
        QTRY_VERIFY_WITH_TIMEOUT(gps.received().latitudeValid, 5000);
        for (QWidget* page : std::initializer_list<QWidget*>{&planner, &almanac, &first, &gps})
            QVERIFY2(commaNumbers(page).isEmpty(), qPrintable(page->windowTitle() + QStringLiteral(": ") +
                                                              commaNumbers(page).join(QLatin1Char('|'))));
        gps.stop();
    }

    // The planner's place takes either separator and refuses a malformed
    // number with its range, keeping the last value.
    void sightPlannerTakesBothSeparators() {
        SightPlannerDialog planner(doc());
        planner.show();
        for (const QString& text : {QStringLiteral("47") + sep() + QStringLiteral("55"), QStringLiteral("-47.55")}) {
            planner.latitude->setValue(0.0);
            typeInto(planner.latitude, text);
            QCOMPARE(std::fabs(planner.latitude->value()), 47.55);
        }
        QCOMPARE(planner.latitude->text(), QStringLiteral("-47.5500"));
        for (const char* bad : {"47.5.3", "47x", "91"}) {
            messages_.clear();
            typeInto(planner.latitude, QString::fromLatin1(bad));
            QCOMPARE(lastMessage(), QStringLiteral("Please enter a number between -90 and 90."));
            QCOMPARE(planner.latitude->value(), -47.55);
        }
        typeInto(planner.longitude, QStringLiteral("-122") + sep() + QStringLiteral("3"));
        QCOMPARE(planner.longitude->value(), -122.3);
    }

    // The place's named zone, summer and winter: the chart's clock, the Time
    // page's pickers and Rise Set Times follow Qt's reading of the database.
    void placeZoneSetsTheClocks_data() {
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("zone");
        QTest::newRow("London") << QStringLiteral("London, United Kingdom") << QStringLiteral("Europe/London");
        QTest::newRow("Sydney") << QStringLiteral("Sydney, Australia") << QStringLiteral("Australia/Sydney");
        QTest::newRow("Kathmandu") << QStringLiteral("Kathmandu, Nepal") << QStringLiteral("Asia/Kathmandu");
    }
    void placeZoneSetsTheClocks() {
        QFETCH(QString, search);
        QFETCH(QString, zone);
        QVERIFY2(processEphemeris().isOpen(), "the default ephemeris celestra.405 was not built");
        const QTimeZone tz(zone.toLatin1());
        QVERIFY(tz.isValid());
        SettingsDialog* d = openSettings(SettingsDialog::PlacePage);
        d->placeSearch()->setText(search.section(QLatin1Char(','), 0, 0));
        const auto found = d->placeList()->findItems(search, Qt::MatchExactly);
        QCOMPARE(found.size(), 1);
        d->placeList()->setCurrentItem(found[0]);
        QCOMPARE(d->placeZoneBox()->currentText(), zone);
        for (QRadioButton* r : d->findChildren<QRadioButton*>())
            if (r->text() == QStringLiteral("Place's time zone")) r->click();
        QCOMPARE(window()->preferences().zone.source, ZoneSource::Place);
        for (int month : {1, 7}) {
            const double jd = jdOf(2024, month, 15, 12);
            QVERIFY(window()->chart()->timeControl().setInstant(jd));
            waitForModel();
            const int offset = tz.offsetFromUtc(utcOf(jd));
            QCOMPARE(std::lround(doc().observer.zoneOffset * 86400.0), long(offset));
            QCOMPARE(std::lround(program_->model->snapshot()->zoneOffsetDays * 86400.0), long(offset));
            // The Time page shows the chart's instant in the zone's local time.
            d->tabs()->setCurrentIndex(SettingsDialog::PlacePage);
            d->tabs()->setCurrentIndex(SettingsDialog::TimePage);
            const QDateTime local = utcOf(jd).toTimeZone(tz);
            QCOMPARE(d->findChild<QDateEdit*>()->date(), local.date());
            QCOMPARE(d->findChild<QTimeEdit*>()->time(), local.time());
            shoot(d, QStringLiteral("time-%1-%2").arg(QTest::currentDataTag()).arg(month));
            // Sunrise on that date at the zone's offset of the date.
            RiseSetDialog page(doc(), nullptr, window()->zoneRule());
            page.date->setDate(QDate(2024, month, 15));
            const QString hhmm = QStringLiteral("%1%2:%3")
                                     .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                                     .arg(std::abs(offset) / 3600, 2, 10, QLatin1Char('0'))
                                     .arg(std::abs(offset) / 60 % 60, 2, 10, QLatin1Char('0'));
            QVERIFY2(page.zone->text().startsWith(QStringLiteral("UTC") + hhmm), qPrintable(page.zone->text()));
            QCOMPARE(page.zone->text().endsWith(QLatin1String(kDaylightSavingTimeLabel)), tz.isDaylightTime(utcOf(jd)));
            const JulianDay jd0 = julianDayAt0h(2024, month, 15);
            const PlaceContext context = makePlaceContext(processEphemeris());
            const RiseTransitSet r =
                riseTransitSet(&context, riseSetBody(kSun), jd0, deltaT(jd0), observerSite(doc().observer),
                               offset / 86400.0, RiseSetKind::RiseSet);
            QCOMPARE(page.rise->text().left(8), QString::fromStdString(r.riseText).left(8));
            // A morning on the local clock, summer or winter (04:40 in a London June, 08:00 in its January).
            const QTime rise = QTime::fromString(page.rise->text().left(8), QStringLiteral("HH:mm:ss"));
            QVERIFY2(rise >= QTime(4, 0) && rise <= QTime(9, 0), qPrintable(page.rise->text()));
            shoot(&page, QStringLiteral("riseset-%1-%2").arg(QTest::currentDataTag()).arg(month));
        }
        d->close();
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment(test::TestLocale::FromEnvironment);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    LocalePagesTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "locale_pages_test.moc"
