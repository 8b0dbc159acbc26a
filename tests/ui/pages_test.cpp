// The settings sheet, Info, Find, the orrery and the help as a user drives
// them: each page once, checking that the model changed as the page says.
// With CELESTRA_PAGE_SHOTS set to a folder, every page is also grabbed to a
// PNG there in the Black and the Red scheme.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimeEdit>
#include <QTimer>
#include <cmath>
#include <memory>

#include "catalogs/deep_sky.h"
#include "catalogs/places.h"
#include "core/time_scales.h"
#include "model/observer_state.h"
#include "sky/chart_geometry.h"
#include "sky/universe.h"
#include "solarsystem/planets.h"
#include "tests/ui/qt_test_support.h"
#include "ui/chart_overlays.h"
#include "ui/help_window.h"
#include "ui/object_pages.h"
#include "ui/program.h"
#include "ui/settings_dialog.h"

using namespace celestra;

namespace {

template <typename T>
T* childWithText(QWidget* root, const QString& text) {
    for (T* w : root->findChildren<T*>())
        if (w->text() == text) return w;
    return nullptr;
}

void shoot(QWidget* w, const QString& name) {
    const QString dir = qEnvironmentVariable("CELESTRA_PAGE_SHOTS");
    if (dir.isEmpty()) return;
    w->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// The next message box, once it is open: its object name and text into
// `seen` ("name|text"), then accepted.
void readNextBox(QString* seen) {
    QTimer::singleShot(10, [seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return readNextBox(seen);
        *seen = box->objectName() + QLatin1Char('|') + box->text();
        shoot(box, QStringLiteral("message-") + box->objectName());
        box->accept();
    });
}

}  // namespace

class PagesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    MainWindow* window() { return program_->window.get(); }
    ChartView* chart() { return window()->chart(); }
    DocumentData& doc() { return program_->document; }

    void waitForModel() {
        program_->model->waitIdle();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    SettingsDialog* openSettings(SettingsDialog::Page page) {
        window()->openSettings(page);
        auto* dialog = qobject_cast<SettingsDialog*>(window()->lastPage());
        if (dialog && !QTest::qWaitForWindowExposed(dialog)) return nullptr;
        return dialog;
    }
    // Every page of the sheet, Info and Find in both schemes.
    void shootPages(const QString& scheme) {
        for (int page = 0; page < 3; ++page) {
            SettingsDialog* d = openSettings(static_cast<SettingsDialog::Page>(page));
            shoot(d, QStringLiteral("%1-%2").arg(scheme, d->tabs()->tabText(page)));
            d->close();
        }
        chart()->setSelection({ChartSelection::Kind::Body, 11});
        window()->openInfo();
        shoot(window()->lastPage(), scheme + QStringLiteral("-Info"));
        window()->lastPage()->close();
        window()->openFind();
        shoot(window()->lastPage(), scheme + QStringLiteral("-Find"));
        window()->lastPage()->close();
    }

private slots:
    void init() {
        QSettings().clear();
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        program_ = startProgram(QCoreApplication::applicationFilePath());
        // Every test at the default place (Seattle), whatever the document
        // the test before saved, and at the test clock's instant.
        doc().observer = CObserverState(doc().observer.instant, doc().observer.zoneOffset);
        window()->setPagesModeless(true);
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        waitForModel();
        QCOMPARE(doc().observer.instant, test::kTestClockJd);
    }
    void cleanup() { program_.reset(); }

    void timePageZoneFromLongitudeAndPickers() {
        SettingsDialog* d = openSettings(SettingsDialog::TimePage);
        QVERIFY(d);
        QCOMPARE(d->tabs()->tabText(d->tabs()->currentIndex()), QStringLiteral("Time"));
        doc().observer.longitude = 139.7;  // Tokyo: +9 h
        childWithText<QRadioButton>(d, QStringLiteral("Longitude"))->click();
        QCOMPARE(doc().observer.zoneOffset, 9.0 / 24.0);
        QCOMPARE(QSettings().value(QStringLiteral("Preferences/ZoneSource")).toInt(), 1);
        // DST adds an hour to a longitude zone.
        childWithText<QCheckBox>(d, QStringLiteral("DST"))->click();
        QCOMPARE(doc().observer.zoneOffset, 10.0 / 24.0);
        // Custom: the box's hours.
        childWithText<QRadioButton>(d, QStringLiteral("Custom"))->click();
        auto* hours = d->findChild<QComboBox*>(QStringLiteral("zoneHours"));
        hours->setCurrentText(QStringLiteral("+5.5"));
        QCOMPARE(doc().observer.zoneOffset, 6.5 / 24.0);
        // The time picker moves the chart's instant and leaves real time.
        QVERIFY(doc().drawState.realTime != 0);
        auto* time = d->findChild<QTimeEdit*>();
        const double before = doc().observer.instant;
        time->setTime(time->time().addSecs(3600));
        QVERIFY(std::abs(doc().observer.instant - (before + 1.0 / 24.0)) < 2.0 / 86400.0);
        QCOMPARE(doc().drawState.realTime, 0);
        // "Set arrival time at Assumed Position": the AP time is the chart's instant.
        childWithText<QPushButton>(d, QStringLiteral("Set arrival time at Assumed Position"))->click();
        QCOMPARE(doc().currentSight.ApTime(), doc().observer.instant);
        // "Realtime" takes the clock again.
        childWithText<QCheckBox>(d, QStringLiteral("Realtime"))->click();
        QVERIFY(doc().drawState.realTime != 0);
        d->close();
    }

    void timePageTakesAWholeTypedTimeAndShowsTheClock() {
        // 2024-09-01 04:00:00 UTC on a clock the test moves; times shown as UTC
        // (the machine's zone must not matter).
        const double start = julianDayFromCalendar(2024, 9, 1, 4.0);
        auto now = std::make_shared<double>(start);
        chart()->setClock([now] { return *now; });
        chart()->timeControl().setInstant(start);
        SettingsDialog* d = openSettings(SettingsDialog::TimePage);
        QVERIFY(d);
        childWithText<QCheckBox>(d, QStringLiteral("as UTC"))->click();
        // Typed over the selected text, the whole time is taken, once it is complete.
        auto* time = d->findChild<QTimeEdit*>();
        time->setFocus();
        time->selectAll();
        QTest::keyClicks(time, QStringLiteral("21:30:15"));
        QTest::keyClick(time, Qt::Key_Return);
        QCOMPARE(time->time(), QTime(21, 30, 15));
        QVERIFY(d->isVisible());
        QVERIFY(childWithText<QRadioButton>(d, QStringLiteral("Star chart time"))->isChecked());
        QVERIFY(std::abs(doc().observer.instant - julianDayFromCalendar(2024, 9, 1, 21.0 + 30.0 / 60 + 15.0 / 3600)) <
                0.5 / 86400.0);
        QCOMPARE(doc().drawState.realTime, 0);
        // Single digits with their separators, over the selection again.
        time->selectAll();
        QTest::keyClicks(time, QStringLiteral("7:5:9"));
        QTest::keyClick(time, Qt::Key_Enter);
        QCOMPARE(time->time(), QTime(7, 5, 9));
        QVERIFY(std::abs(doc().observer.instant - julianDayFromCalendar(2024, 9, 1, 7.0 + 5.0 / 60 + 9.0 / 3600)) <
                0.5 / 86400.0);

        // "Current:" is the clock's time, and follows it each second.
        auto* current =
            childWithText<QLabel>(d, QStringLiteral("Current: 2024-09-01 04:00:00  UTC +0h   (times shown as UTC)"));
        QVERIFY(current);
        *now += 1.0 / 86400.0;
        QSignalSpy tick(d->findChild<QTimer*>(QStringLiteral("clockTimer")), &QTimer::timeout);
        QVERIFY(tick.wait(2000));
        QCOMPARE(current->text(), QStringLiteral("Current: 2024-09-01 04:00:01  UTC +0h   (times shown as UTC)"));
        d->close();
        chart()->setClock({});
    }

    void placePageListsEveryWorldPlaceWithAccents() {
        SettingsDialog* d = openSettings(SettingsDialog::PlacePage);
        QListWidget* list = d->placeList();
        QCOMPARE(list->count(), kPlaceCount);  // the five custom slots, then every world place
        for (int i = kCustomPlaceSlots; i < kPlaceCount; ++i) {
            const QString expected = QString::fromUtf8(place(i)->name) + QStringLiteral(", ") +
                                     QString::fromUtf8(countryName(place(i)->country));
            QCOMPARE(list->item(i)->text(), expected);
        }
        QVERIFY(d->findChild<QPushButton*>(QStringLiteral("gpsButton"))->isVisible());
        // Typed without the accent, by country too.
        d->placeSearch()->setText(QStringLiteral("zurich"));
        QVERIFY(list->count() >= 1);
        QVERIFY(list->item(0)->text().startsWith(QStringLiteral("Zürich")));
        d->placeSearch()->setText(QStringLiteral("switzerland"));
        QVERIFY(list->count() >= 2);
        d->close();
    }

    void customPlaceSavedAndReloadedWithTheDocument() {
        SettingsDialog* d = openSettings(SettingsDialog::PlacePage);
        QListWidget* list = d->placeList();
        d->placeSearch()->setText(QStringLiteral("Zürich"));
        list->setCurrentRow(0);
        const int zurich = list->item(0)->data(Qt::UserRole).toInt();
        QCOMPARE(doc().observer.latitude, placeLatitude(zurich));
        QCOMPARE(doc().observer.longitude, placeLongitude(zurich));
        QCOMPARE(doc().observer.latitudeDegrees, 47);
        d->placeSearch()->clear();
        list->setCurrentRow(2);  // "Custom 3" is chosen to be filled: the observer stays
        QCOMPARE(doc().observer.latitude, placeLatitude(zurich));
        d->findChildren<QLineEdit*>().last()->setText(QStringLiteral("Zürich roof"));
        d->findChild<QPushButton*>(QStringLiteral("storeCustomPlace"))->click();
        QCOMPARE(doc().places[2].name, std::string("Zürich roof"));
        QVERIFY(list->item(2)->text().startsWith(QStringLiteral("Zürich roof")));
        // Activating a custom place goes there.
        list->setCurrentRow(10);
        QVERIFY(doc().observer.latitude != placeLatitude(zurich));
        emit list->itemActivated(list->item(2));
        QCOMPARE(doc().observer.latitude, placeLatitude(zurich));
        QCOMPARE(doc().observer.longitude, placeLongitude(zurich));
        d->close();  // the sheet saves the document as it closes
        DocumentData loaded;
        std::string error;
        QVERIFY(loadDocument(program_->paths.docPath, program_->paths.colorsPath, loaded, error).ok());
        QCOMPARE(loaded.places[2].name, std::string("Zürich roof"));
        QCOMPARE(loaded.places[2].latitude, placeLatitude(zurich));
        QCOMPARE(loaded.places[2].longitude, placeLongitude(zurich));
        QCOMPARE(loaded.places[0].name, std::string("Custom 1"));
    }

    void generalPageOverlaysAndWebsite() {
        SettingsDialog* d = openSettings(SettingsDialog::GeneralPage);
        QVERIFY(doc().drawState.overlays[kOverlayEcliptic] != 0);
        childWithText<QCheckBox>(d, QStringLiteral("Ecliptic"))->click();
        QCOMPARE(doc().drawState.overlays[kOverlayEcliptic], 0);
        QVERIFY(!chartOptionsFor(doc().drawState).ecliptic);
        // Kept for the next start.
        CUniverseViewDrawState fresh;
        loadOverlays(fresh);
        QCOMPARE(fresh.overlays[kOverlayEcliptic], 0);
        // The Messier objects are on in a new document; the box turns them off.
        QCOMPARE(doc().drawState.deepSkySelection & 1, 1);
        childWithText<QCheckBox>(d, QStringLiteral("Messier"))->click();
        QCOMPARE(doc().drawState.deepSkySelection & 1, 0);
        // No website: Space News is greyed with a tooltip; with one it opens.
        QVERIFY(!window()->spaceNewsAction()->isEnabled());
        QVERIFY(!window()->spaceNewsAction()->toolTip().isEmpty());
        auto* website = d->findChild<QLineEdit*>(QStringLiteral("website"));
        QVERIFY(website);
        website->setText(QStringLiteral("https://example.org"));
        emit website->editingFinished();
        QVERIFY(window()->spaceNewsAction()->isEnabled());
        QCOMPARE(loadPreferences().website, QStringLiteral("https://example.org"));
        // The comet download takes both addresses from here.
        const CometServers servers = cometServers(loadPreferences());
        QCOMPARE(servers.elements, std::string(kDefaultCometElementsServer));
        QCOMPARE(servers.projectWebsite, std::string("https://example.org"));
        d->close();
    }

    void infoPageTexts() {
        chart()->setSelection({ChartSelection::Kind::Object, 2490});  // Sirius
        window()->openInfo();
        auto* info = qobject_cast<InfoDialog*>(window()->lastPage());
        QVERIFY(info);
        QVERIFY(info->text()->toPlainText().contains(QStringLiteral("Sirius")));
        // The system's fixed font, whichever the machine resolves it to: some
        // installed monospace faces do not report a fixed pitch to Qt.
        QCOMPARE(info->text()->font().family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
        QVERIFY(info->webButton()->isEnabled());
        QCOMPARE(info->webButton()->toolTip(),
                 QStringLiteral("https://simbad.cds.unistra.fr/simbad/sim-id?Ident=HR%202491"));
        // No browser can be started here (the offscreen platform opens none,
        // and no opener is on an empty PATH): the address is shown to copy.
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", "");
        QString seen;
        readNextBox(&seen);
        info->webButton()->click();
        qputenv("PATH", path);
        QVERIFY2(seen.startsWith(QStringLiteral("noBrowser|No web browser could be started.")), qPrintable(seen));
        QVERIFY(seen.endsWith(info->webButton()->toolTip()));
        info->close();
        chart()->setSelection({ChartSelection::Kind::Body, 11});
        const QString moon = selectionInfoText({ChartSelection::Kind::Body, 11}, *chart(), *program_->model);
        for (const char* part :
             {"Moon", "Apparent", "Topocentric", "Alt:", "Az:", "M: ", ",   Distance: ", " kM", "illuminated"})
            QVERIFY2(moon.contains(QString::fromUtf8(part)), part);
        // The topocentric place is the airless one of date; only the chart's
        // altitude carries refraction, and says so. The Moon is up (23:00 in
        // Seattle), where refraction moves it by an arcminute or more.
        QVERIFY2(moon.contains(QStringLiteral("(refracted)")), qPrintable(moon));
        const QRegularExpressionMatch shown =
            QRegularExpression(
                QStringLiteral("Topocentric  RA: (\\d+)h (\\d+)m (\\d+)s  Dec: ([+-])(\\d+)° (\\d+)' (\\d+)\""))
                .match(moon);
        QVERIFY2(shown.hasMatch(), qPrintable(moon));
        const auto part = [&](int i) { return shown.captured(i).toDouble(); };
        const double shownRa = part(1) + part(2) / 60.0 + part(3) / 3600.0;
        const double shownDec =
            (shown.captured(4) == QLatin1String("-") ? -1 : 1) * (part(5) + part(6) / 60.0 + part(7) / 3600.0);
        double ra = 0.0, dec = 0.0, distance = 0.0;
        QCOMPARE(topocentricPlaceUtc(program_->model->universe().Places(), doc().observer.instant, 11,
                                     observerSite(doc().observer), ra, dec, distance),
                 Status::Ok);
        QVERIFY2(std::abs(shownRa - ra) * 15.0 * 3600.0 < 8.0 && std::abs(shownDec - dec) * 3600.0 < 1.0,
                 qPrintable(QStringLiteral("%1 %2 against %3 %4").arg(shownRa).arg(shownDec).arg(ra).arg(dec)));
        // A body has no SIMBAD page: only the website's redirect.
        Preferences prefs;
        QVERIFY(selectionWebUrl({ChartSelection::Kind::Body, 4}, prefs).isEmpty());
        prefs.website = QStringLiteral("https://example.org/");
        QCOMPARE(selectionWebUrl({ChartSelection::Kind::Body, 4}, prefs),
                 QStringLiteral("https://example.org/PocketPC/Celestra/Redirect/"
                                "Redirect.htm?client=pda&catalog=planet&index=4&name=Mars"));
    }

    void findCentresM31() {
        FindDialog find(*chart());
        // Completion as one types, anywhere in the name.
        QCompleter* completer = find.input()->completer();
        completer->setCompletionPrefix(QStringLiteral("androm"));
        QStringList offered;
        for (int i = 0; completer->setCurrentRow(i); ++i) offered << completer->currentCompletion();
        QVERIFY(offered.contains(QStringLiteral("Andromeda")));
        QVERIFY(offered.contains(QStringLiteral("Andromeda Galaxy")));
        find.setBelowHorizonAnswer(QMessageBox::Yes);
        find.input()->setText(QStringLiteral("m31"));
        QVERIFY(find.centreOnChart());
        QCOMPARE(chart()->renderer().selection().id, kFirstMessierObject + 30);
        // After the recompute the galaxy stands at the middle of the chart.
        doc().drawState.deepSkySelection = 1;
        chart()->viewChanged(true);
        waitForModel();
        const SkyObject* m31 = chart()->renderer().snapshot()->objectByNumber(kFirstMessierObject + 30);
        QVERIFY(m31);
        QVERIFY(m31->place.zenithDistance <= 90.5);
        const ChartProjection p = ChartProjection::fromDrawState(doc().drawState, chart()->width(), chart()->height());
        const ChartPoint at = p.pixel(m31->place.zenithDistance, m31->place.azimuth);
        QVERIFY2(std::hypot(at.x - chart()->width() / 2.0, at.y - chart()->height() / 2.0) < 8.0,
                 qPrintable(QStringLiteral("%1, %2").arg(at.x).arg(at.y)));
        find.input()->setText(QStringLiteral("no such object"));
        find.setBelowHorizonAnswer(QMessageBox::No);
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        QVERIFY(!find.centreOnChart());
    }

    // Find shows what it centres on: a Messier object with the Messier
    // catalogue off switches it on; a star fainter than the limit is marked,
    // listed and drawn at the place the pipeline gives it, until another
    // selection takes its place.
    void findShowsTheObjectItCentresOn() {
        doc().drawState.realTime = 0;
        doc().observer.instant = 2460357.5 + 5.0 / 24.0;  // 2024-02-16 05:00 UTC
        doc().observer.latitude = 47.55;                  // Seattle, a February evening: Orion up in the south
        doc().observer.longitude = -122.3;
        doc().drawState.deepSkySelection = 0;
        doc().drawState.magnitudeLimit = 3000;
        chart()->viewChanged(true);
        waitForModel();
        FindDialog find(*chart());
        find.setBelowHorizonAnswer(QMessageBox::No);
        find.input()->setText(QStringLiteral("M42"));
        QVERIFY(find.centreOnChart());
        QCOMPARE(doc().drawState.deepSkySelection & 1, 1);
        waitForModel();
        QVERIFY(program_->model->snapshot()->objectByNumber(kFirstMessierObject + 41));

        // HR 1784 (4.1, beside Orion's belt, in no figure) under a limit of 3.
        const int faint = 1783;
        QVERIFY(catalogueObject(faint)->magnitude > 3000);
        find.input()->setText(QStringLiteral("BS 1784"));
        QVERIFY(find.centreOnChart());
        waitForModel();
        const SkyObject* o = program_->model->snapshot()->objectByNumber(faint);
        QVERIFY(o);
        double zd = 0, az = 0, ra = 0, dec = 0;
        QVERIFY(catalogueObjectPlace(program_->model->universe().Places(), doc().observer, faint, zd, az, ra, dec));
        QVERIFY(std::abs(o->place.zenithDistance - zd) < 1e-4);
        QPointF at;
        QVERIFY(chart()->renderer().selectionPixel({ChartSelection::Kind::Object, faint}, at));
        chart()->setSelection({ChartSelection::Kind::Body, 11});
        waitForModel();
        QVERIFY(!program_->model->snapshot()->objectByNumber(faint));
    }

    void findBelowTheHorizonStepsToTheRise() {
        // Sirius (HR 2491) below Seattle's horizon: a fixed instant, moved by half a day if it is up.
        double jd = 2460680.5;  // 2025-01-05 0h UTC
        chart()->timeControl().setInstant(jd);
        waitForModel();
        if (program_->model->snapshot()->objectByNumber(2490)->place.zenithDistance < 95.0) {
            jd += 0.5;
            chart()->timeControl().setInstant(jd);
            waitForModel();
        }
        QVERIFY(program_->model->snapshot()->objectByNumber(2490)->place.zenithDistance > 95.0);
        FindDialog find(*chart());
        find.input()->setText(QStringLiteral("alp CMa"));
        find.setBelowHorizonAnswer(QMessageBox::No);
        QVERIFY(!find.centreOnChart());
        QCOMPARE(doc().observer.instant, jd);  // declined: the time stays
        find.setBelowHorizonAnswer(QMessageBox::Yes);
        QVERIFY(find.centreOnChart());
        QVERIFY(doc().observer.instant > jd && doc().observer.instant < jd + 1.0);
        QCOMPARE(doc().drawState.realTime, 0);
        // A whole minute, the first at which the chart draws it: just above
        // the drawn horizon, and selectable where it stands.
        const double minutes = doc().observer.instant * 1440.0;
        QVERIFY(std::abs(minutes - std::round(minutes)) < 1e-3);
        waitForModel();
        const SkyObject* sirius = program_->model->snapshot()->objectByNumber(2490);
        QVERIFY2(sirius->place.zenithDistance < 90.0f && sirius->place.zenithDistance > 89.6f,
                 qPrintable(QString::number(sirius->place.zenithDistance)));
        const ChartSelection selected{ChartSelection::Kind::Object, 2490};
        QCOMPARE(chart()->renderer().selection(), selected);
        QPointF at;
        QVERIFY(chart()->renderer().selectionPixel(selected, at));
        QCOMPARE(chart()->renderer().hitTest(at, 2.0), selected);
    }

    void findTakesReturnAndItsListLeavesTheButtonClear() {
        chart()->timeControl().setInstant(2460680.5);  // 2025-01-05 0h UTC
        waitForModel();
        window()->openFind();
        auto* find = qobject_cast<FindDialog*>(window()->lastPage());
        QVERIFY(find);
        find->setBelowHorizonAnswer(QMessageBox::Yes);
        find->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(find));
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(find));
        find->input()->setFocus();
        QTest::keyClicks(find->input(), QStringLiteral("Betelg"));
        QWidget* list = find->input()->completer()->popup();
        QTRY_VERIFY(list->isVisible());
        const QRect button(find->centreButton()->mapToGlobal(QPoint(0, 0)), find->centreButton()->size());
        QVERIFY2(!list->geometry().intersects(button), "the completer's list covers \"Center on chart\"");
        // Return in the open list completes and centres at once (the page
        // closes as accepted, and goes: it deletes itself).
        QSignalSpy accepted(find, &QDialog::accepted);
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(find->input()->text(), QStringLiteral("Betelgeuse"));
        QTRY_COMPARE(chart()->renderer().selection(), (ChartSelection{ChartSelection::Kind::Object, 2060}));
        QTRY_COMPARE(accepted.count(), 1);

        // With the list closed, Return in the field centres too, once.
        window()->openFind();
        find = qobject_cast<FindDialog*>(window()->lastPage());
        find->setBelowHorizonAnswer(QMessageBox::Yes);
        QSignalSpy acceptedAgain(find, &QDialog::accepted);
        find->input()->setText(QStringLiteral("M31"));
        QTest::keyClick(find->input(), Qt::Key_Return);
        QTRY_COMPARE(chart()->renderer().selection(),
                     (ChartSelection{ChartSelection::Kind::Object, kFirstMessierObject + 30}));
        QTRY_COMPARE(acceptedAgain.count(), 1);
    }

    void orreryModeZoomsInStepsOfTwo() {
        const double chartZoom = doc().drawState.zoom;
        QTest::keyClick(chart(), 'o');
        QVERIFY(chart()->orreryMode());
        QVERIFY(program_->model->universe().OrreryMode());
        QCOMPARE(chart()->orreryState().zoom, 2.0);
        QTest::keyClick(chart(), '+');
        QCOMPARE(chart()->orreryState().zoom, 4.0);
        QTest::keyClick(chart(), '-');
        QCOMPARE(chart()->orreryState().zoom, 2.0);
        QCOMPARE(doc().drawState.zoom, chartZoom);
        // A drag turns the orrery and leaves the star chart where it was.
        const double offsetX = doc().drawState.offsetX, rotation = chart()->orreryState().rotation;
        QTest::mousePress(chart(), Qt::LeftButton, {}, QPoint(300, 300));
        QTest::mouseMove(chart(), QPoint(330, 300));
        QTest::mouseMove(chart(), QPoint(360, 300));
        QTest::mouseRelease(chart(), Qt::LeftButton, {}, QPoint(360, 300));
        QVERIFY(chart()->orreryState().rotation != rotation);
        QCOMPARE(doc().drawState.offsetX, offsetX);
        // The orbits are drawn in both orbit colours (the near and the far half).
        QTest::keyClick(chart(), '+');
        const QImage image = chart()->grab().toImage();
        shoot(chart(), QStringLiteral("orrery"));
        const QColor near = colorOf(doc().drawState.colorScheme.colors[OrreryOrbits]);
        const QColor far = colorOf(doc().drawState.colorScheme.colors[OrreryOrbitsBehind]);
        // Antialiased lines: a pixel counts when it is within a few steps of a colour.
        auto close = [](const QColor& a, const QColor& b) {
            return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) < 24;
        };
        int nearCount = 0, farCount = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                nearCount += close(c, near);
                farCount += close(c, far);
            }
        QVERIFY(nearCount > 50);
        QVERIFY(farCount > 50);
        QTest::keyClick(chart(), 's');
        QVERIFY(!chart()->orreryMode());
        QVERIFY(!program_->model->universe().OrreryMode());
    }

    void helpTopicsAndAbout() {
        for (const char* topic :
             {"index", "chart", "keys", "time", "place", "gps", "general", "info", "find", "orrery", "navigation"}) {
            window()->showHelp(QString::fromLatin1(topic));
            QCOMPARE(window()->helpWindow()->browser()->source().fileName(),
                     QString::fromLatin1(topic) + QStringLiteral(".html"));
            QVERIFY(window()->helpWindow()->browser()->toPlainText().size() > 100);
        }
        window()->showHelp(QStringLiteral("nonsense"));
        QCOMPARE(window()->helpWindow()->browser()->source().fileName(), QStringLiteral("index.html"));
        // Each page's help button opens its topic.
        SettingsDialog* d = openSettings(SettingsDialog::PlacePage);
        d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
        QCOMPARE(window()->helpWindow()->browser()->source().fileName(), QStringLiteral("place.html"));
        d->close();
        const QString about = aboutText();
        for (const char* part :
             {"GPL-3.0-or-later", "Hoffleit", "Warren", "JPL", "DE405", "GeoNames", "SIMBAD", CELESTRA_VERSION})
            QVERIFY2(about.contains(QString::fromUtf8(part)), part);
        shoot(window()->helpWindow(), QStringLiteral("help"));
    }

    void screenshots() {
        if (qEnvironmentVariable("CELESTRA_PAGE_SHOTS").isEmpty()) QSKIP("CELESTRA_PAGE_SHOTS not set");
        chart()->ApplyColorScheme(kPresetBlack);
        shootPages(QStringLiteral("Black"));
        chart()->ApplyColorScheme(kPresetRed);
        shootPages(QStringLiteral("Red"));
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    PagesTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "pages_test.moc"
