// The program as a user drives it: start-up and its install record, the
// menu, the keys and the magnitude box, the colour schemes and their
// dialog, saving, the time steps and their status text, the context menu,
// and closing on SIGTERM.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <memory>

#include "catalogs/deep_sky.h"
#include "core/time_scales.h"
#include "tests/ui/qt_test_support.h"
#include "ui/chart_overlays.h"
#include "ui/color_scheme_dialog.h"
#include "ui/export_dialog.h"
#include "ui/nav_pages.h"
#include "ui/program.h"

using namespace celestra;

namespace {

QStringList actionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    return texts;
}

QAction* findAction(const QMenu* menu, const QString& text) {
    for (QAction* a : menu->actions()) {
        if (a->text() == text) return a;
        if (a->menu())
            if (QAction* inner = findAction(a->menu(), text)) return inner;
    }
    return nullptr;
}

}  // namespace

class ChartWindowTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    MainWindow* window() { return program_->window.get(); }
    ChartView* chart() { return window()->chart(); }
    CUniverseViewDrawState& state() { return chart()->drawState(); }

    // 2024-09-01 04:00 UTC at the default place (47.55 N, 122.3 W): Vega 9°
    // from the zenith, whatever the clock says when the test runs.
    void fixInstant() {
        state().realTime = 0;
        chart()->observer().instant = julianDayFromCalendar(2024, 9, 1, 4.0);
        chart()->viewChanged(true);
        waitForModel();
    }

    void waitForModel() {
        program_->model->waitIdle();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

private slots:
    void init() {
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        program_ = startProgram(QCoreApplication::applicationFilePath());
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        waitForModel();
        chart()->setFocus();
    }
    void cleanup() { program_.reset(); }

    void startupRecordTitleAndMenu() {
        QCOMPARE(window()->windowTitle(), QStringLiteral("Celestra"));
        QSettings settings;
        QCOMPARE(settings.value(QStringLiteral("CLInstallInfo/DocFile")).toString(),
                 QString::fromStdString(program_->paths.docPath));
        QCOMPARE(settings.value(QStringLiteral("CLInstallInfo/ExeFile")).toString(),
                 QCoreApplication::applicationFilePath());
        QVERIFY(program_->ephemerisError.isEmpty());
        const QList<QAction*> top = window()->menuBar()->actions();
        QCOMPARE(top.size(), 1);
        QCOMPARE(top[0]->text(), QStringLiteral("Menu"));
        QCOMPARE(actionTexts(top[0]->menu()),
                 (QStringList{QStringLiteral("3D - Orrery"), QStringLiteral("2D - Star Chart"),
                              QStringLiteral("Info..."), QStringLiteral("Find..."), QStringLiteral("Rise Set Times..."),
                              QStringLiteral("Lunar Phase..."), QStringLiteral("Calculators"),
                              QStringLiteral("Preferences"), QStringLiteral("Navigation"),
                              QStringLiteral("Export Image..."), QStringLiteral("Print..."), QStringLiteral("Help")}));
        QCOMPARE(actionTexts(findAction(top[0]->menu(), QStringLiteral("Help"))->menu()),
                 (QStringList{QStringLiteral("Help..."), QStringLiteral("Space News"), QStringLiteral("About..."),
                              QStringLiteral("Exit")}));
        QCOMPARE(actionTexts(findAction(top[0]->menu(), QStringLiteral("Calculators"))->menu()),
                 (QStringList{QStringLiteral("Great Circle Distance..."), QStringLiteral("Range and Bearing..."),
                              QStringLiteral("Horizon distance..."), QStringLiteral("DMS and HMS..."),
                              QStringLiteral("Julian Day...")}));
        QCOMPARE(actionTexts(findAction(top[0]->menu(), QStringLiteral("Navigation"))->menu()),
                 (QStringList{QStringLiteral("Sextant..."), QStringLiteral("Enviro..."), QStringLiteral("LOPs..."),
                              QStringLiteral("Almanac..."), QStringLiteral("Sight Planner...")}));
        QCOMPARE(actionTexts(findAction(top[0]->menu(), QStringLiteral("Preferences"))->menu()),
                 (QStringList{QStringLiteral("General..."), QStringLiteral("Colors...")}));
        // The clock's instant, whatever the document held, and real time.
        QCOMPARE(chart()->observer().instant, test::kTestClockJd);
        QCOMPARE(window()->statusLabel()->text(), QStringLiteral("Realtime      "));
    }

    void calculatorEntriesOpenTheirPages() {
        // Each entry opens its page modally; the page is read and closed from the event loop.
        const QMenu* menu = window()->menuBar()->actions()[0]->menu();
        const QStringList entries{QStringLiteral("Rise Set Times..."),
                                  QStringLiteral("Lunar Phase..."),
                                  QStringLiteral("Great Circle Distance..."),
                                  QStringLiteral("Range and Bearing..."),
                                  QStringLiteral("Horizon distance..."),
                                  QStringLiteral("DMS and HMS..."),
                                  QStringLiteral("Julian Day...")};
        QStringList titles, closedByButton;
        for (const QString& entry : entries) {
            QTimer poll;
            poll.setInterval(20);
            connect(&poll, &QTimer::timeout, this, [&] {
                for (QWidget* w : QApplication::topLevelWidgets())
                    if (auto* page = qobject_cast<QDialog*>(w); page && page->isVisible()) {
                        poll.stop();
                        titles << page->windowTitle();
                        // A page with a Close button is closed with it.
                        auto* box = page->findChild<QDialogButtonBox*>();
                        if (QPushButton* close = box ? box->button(QDialogButtonBox::Close) : nullptr) {
                            closedByButton << page->windowTitle();
                            close->click();
                        } else {
                            page->reject();
                        }
                        return;
                    }
            });
            poll.start();
            findAction(menu, entry)->trigger();
        }
        QCOMPARE(titles, (QStringList{QStringLiteral("Rise Set Times"), QStringLiteral("Lunar Phase"),
                                      QStringLiteral("Great Circle Distance"), QStringLiteral("Range and Bearing"),
                                      QStringLiteral("Horizon Distance"), QStringLiteral("DMS and HMS"),
                                      QStringLiteral("Julian Day")}));
        QVERIFY(closedByButton.contains(QStringLiteral("Rise Set Times")));
        QVERIFY(closedByButton.contains(QStringLiteral("Lunar Phase")));
        QCOMPARE(window()->focusWidget(), static_cast<QWidget*>(chart()));
    }

    void keySevenAndTheMagnitudeBox() {
        QTest::keyClick(chart(), '7');
        QCOMPARE(state().magnitudeLimit, 7000);
        QCOMPARE(window()->magnitudeBox()->currentIndex(), 5);
        QCOMPARE(window()->magnitudeBox()->currentText(), QStringLiteral("7"));
        QTest::keyClick(chart(), '3');
        QCOMPARE(window()->magnitudeBox()->currentIndex(), 1);
        // Choosing in the box sets the limit.
        QComboBox* box = window()->magnitudeBox();
        box->setCurrentIndex(2);
        emit box->activated(2);
        QCOMPARE(state().magnitudeLimit, 4000);
        waitForModel();
        const auto sky = program_->model->snapshot();
        // Fainter ones only as figure stars, and the Messier objects (a new
        // document lists them all, whatever their magnitude).
        for (const SkyObject& o : sky->objects)
            if (o.magnitude > 4000) QVERIFY(o.object < kFirstCaldwellObject);
    }

    void zoomKeysAndFlip() {
        QCOMPARE(state().zoom, 2.0);
        for (int i = 0; i < 3; ++i) QTest::keyClick(chart(), '+');
        QCOMPARE(state().zoom, 2.75);
        QTest::keyClick(chart(), '=');
        QTest::keyClick(chart(), '=');
        QCOMPARE(state().zoom, 3.5);
        QTest::keyClick(chart(), '-');
        QCOMPARE(state().zoom, 3.0);
        QTest::keyClick(chart(), 'f');
        QVERIFY(state().flippedEastWest());
        QVERIFY(findAction(chart()->contextMenu(), QStringLiteral("Flip East-West"))->isChecked());
        QTest::keyClick(chart(), 'F');
        QVERIFY(!state().flippedEastWest());
    }

    void colourKeysColourTheChartAndTheProgram() {
        const struct {
            char key;
            int preset;
        } cases[] = {{'r', kPresetRed}, {'W', kPresetWhite}, {'b', kPresetBlack}, {'R', kPresetRed}};
        for (const auto& c : cases) {
            QTest::keyClick(chart(), c.key);
            QCOMPARE(state().colorPreset, c.preset);
            const CColorScheme& scheme = program_->document.colorSchemes.forPreset(c.preset);
            QVERIFY(state().colorScheme.colors == scheme.colors);
            QCOMPARE(QApplication::palette().color(QPalette::Window), colorOf(scheme.colors[DialogBackground]));
        }
        // The Red scheme reaches the menus too, and the chart's non-sky corner.
        chart()->face(FacingDirection::South);
        QVERIFY(qApp->styleSheet().contains(colorOf(rgb(200, 0, 0)).name()));
        const QImage shot = chart()->grab().toImage();
        QCOMPARE(QColor(shot.pixel(2, shot.height() - 2)), colorOf(rgb(60, 12, 0)));  // the ground
    }

    void nextSchemeCyclesAndShiftResets() {
        QTest::keyClick(chart(), 'b');
        const int order[] = {kPresetWhite, kPresetRed, kPresetBlack};
        for (int preset : order) {
            chart()->NextColorScheme(false);
            QCOMPARE(state().colorPreset, preset);
        }
        CColorScheme& white = program_->document.colorSchemes.white;
        white.colors[BackgroundSky] = rgb(1, 2, 3);
        chart()->NextColorScheme(true);
        QCOMPARE(state().colorPreset, kPresetWhite);
        QCOMPARE(white.colors[BackgroundSky], rgb(255, 255, 255));
        QCOMPARE(state().colorScheme.colors[BackgroundSky], rgb(255, 255, 255));
    }

    void dialogParsesItsEdits() {
        QTest::keyClick(chart(), 'b');
        ColorSchemeDialog dialog(program_->document, *chart());
        QCOMPARE(dialog.schemeList()->count(), 3);
        QCOMPARE(dialog.schemeList()->itemText(0), QStringLiteral("Black"));
        QCOMPARE(dialog.schemeList()->itemData(2).toInt(), kPresetRed);
        QCOMPARE(dialog.schemeList()->currentText(), QStringLiteral("Black"));
        QCOMPARE(dialog.keyList()->count(), 34);
        QCOMPARE(dialog.keyList()->currentItem()->text(), QStringLiteral("BackgroundSky"));
        QCOMPARE(dialog.componentEdit(0)->text(), QStringLiteral("0"));

        QLineEdit* red = dialog.componentEdit(0);
        red->clear();
        QTest::keyClicks(red, QStringLiteral("300"));
        QCOMPARE(red->text(), QStringLiteral("255"));
        QCOMPARE(program_->document.colorSchemes.black.colors[BackgroundSky] & 0xFF, 255u);
        QCOMPARE(state().colorScheme.colors[BackgroundSky] & 0xFF, 255u);  // applied at once
        red->clear();
        QTest::keyClicks(red, QStringLiteral("abc"));
        QCOMPARE(red->text(), QStringLiteral("0"));
        QCOMPARE(program_->document.colorSchemes.black.colors[BackgroundSky] & 0xFF, 0u);
        QTest::keyClicks(dialog.componentEdit(2), QStringLiteral("7"));  // "0" + "7" = 7: blue
        QCOMPARE(program_->document.colorSchemes.black.colors[BackgroundSky], rgb(0, 0, 7));

        QString shown;
        QCOMPARE(parseColorComponent(QStringLiteral("-4"), shown), 0);
        QCOMPARE(shown, QStringLiteral("0"));
        QCOMPARE(parseColorComponent(QStringLiteral("255"), shown), 255);
        QVERIFY(shown.isEmpty());
        QCOMPARE(parseColorComponent(QStringLiteral("12xy"), shown), 12);  // "%d" stops at the first non-digit
        QCOMPARE(parseColorComponent(QStringLiteral("256"), shown), 255);

        // "Choose Color": the chosen colour, the second flag cleared.
        dialog.chooseColor = [](QColor& c) {
            c = QColor(10, 20, 30);
            return true;
        };
        dialog.chooseButton()->click();
        QCOMPARE(program_->document.colorSchemes.black.colors[BackgroundSky], rgb(10, 20, 30));
        QCOMPARE(program_->document.colorSchemes.black.secondFlag, 0);
        QCOMPARE(dialog.componentEdit(1)->text(), QStringLiteral("20"));
    }

    void defaultOnWhiteAsksFirst() {
        ColorSchemeDialog dialog(program_->document, *chart());
        dialog.schemeList()->setCurrentIndex(1);
        emit dialog.schemeList()->activated(1);
        QCOMPARE(state().colorPreset, kPresetWhite);
        CColorScheme& white = program_->document.colorSchemes.white;
        white.colors[BackgroundSky] = rgb(9, 9, 9);
        white.colors[MenuBackground] = rgb(9, 9, 9);
        int asked = 0;
        dialog.confirmDefault = [&] {
            ++asked;
            return false;
        };
        dialog.defaultButton()->click();
        QCOMPARE(white.colors[BackgroundSky], rgb(9, 9, 9));
        dialog.confirmDefault = [&] {
            ++asked;
            return true;
        };
        dialog.defaultButton()->click();
        QCOMPARE(asked, 2);
        QCOMPARE(white.colors[BackgroundSky], rgb(255, 255, 255));
        QCOMPARE(white.colors[MenuBackground], rgb(212, 208, 200));
        QCOMPARE(dialog.componentEdit(0)->text(), QStringLiteral("255"));
    }

    void redIsSavedAndReloaded() {
        {
            ColorSchemeDialog dialog(program_->document, *chart());
            dialog.schemeList()->setCurrentIndex(2);
            emit dialog.schemeList()->activated(2);
        }
        QCOMPARE(state().colorPreset, kPresetRed);
        QVERIFY(window()->Save());
        DocumentData loaded;
        std::string error;
        QVERIFY(loadDocument(program_->paths.docPath, program_->paths.colorsPath, loaded, error).ok());
        QCOMPARE(loaded.drawState.colorPreset, kPresetRed);
        QVERIFY(loaded.drawState.colorScheme.colors == defaultColors(CColorScheme::Kind::Red));
        // A new start opens the saved document with Red active.
        program_.reset();
        init();
        QCOMPARE(state().colorPreset, kPresetRed);
        QCOMPARE(QApplication::palette().color(QPalette::Window), colorOf(rgb(40, 0, 0)));
    }

    void aStepLeavesRealTime() {
        QAction* realtime = findAction(chart()->timeMenu(), QStringLiteral("Realtime"));
        QVERIFY(realtime->isChecked());
        const double before = chart()->observer().instant;
        QTest::keyClick(chart(), Qt::Key_PageUp);
        QCOMPARE(state().realTime, 0);
        waitForModel();
        QCOMPARE(window()->statusLabel()->text(), QStringLiteral("Stopped       "));
        QVERIFY(!realtime->isChecked());
        QVERIFY(std::abs(chart()->observer().instant - before - 1.0 / 1440.0) < 1e-9);
        QTest::keyClick(chart(), ',');
        QTest::keyClick(chart(), '<');
        QVERIFY(std::abs(chart()->observer().instant - before + 1.0 / 1440.0) < 1e-9);
        // A tap on the time texts opens the time menu.
        QVERIFY(!chart()->timeMenu()->isVisible());
        QTest::mouseClick(chart(), Qt::LeftButton, {}, QPoint(20, 20));
        QTRY_VERIFY(chart()->timeMenu()->isVisible());
        chart()->timeMenu()->hide();
        realtime->trigger();
        waitForModel();
        QCOMPARE(state().realTime, 1);
        QCOMPARE(window()->statusLabel()->text(), QStringLiteral("Realtime      "));
    }

    void realTimeFollowsTheClockEachSecondWhileActiveAndIdle() {
        // A clock the test moves by hand, from 2024-09-01 04:00:00 UTC.
        const double start = julianDayFromCalendar(2024, 9, 1, 4.0);
        auto now = std::make_shared<double>(start);
        chart()->setClock([now] { return *now; });
        findAction(chart()->timeMenu(), QStringLiteral("Realtime"))->trigger();
        waitForModel();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        QVERIFY(chart()->realtimeTimerActive());
        const auto cornerTexts = [this] {
            chart()->repaint();
            return chart()->renderer().timeTexts();
        };
        const QStringList first = cornerTexts();
        QCOMPARE(first.at(1), QStringLiteral("UTC  2024-09-01 04:00:00"));
        // A second later the UTC, local, GMST and LST texts move, and the
        // sky with them: the places follow every change of the instant.
        *now += 1.0 / 86400.0;
        chart()->realtimeTick();
        waitForModel();
        QVERIFY(std::abs(chart()->renderer().snapshot()->instantUtc - (start + 1.0 / 86400.0)) < 1e-9);
        const QStringList next = cornerTexts();
        QCOMPARE(next.at(1), QStringLiteral("UTC  2024-09-01 04:00:01"));
        for (int line = 2; line <= 4; ++line) QVERIFY2(next.at(line) != first.at(line), qPrintable(next.at(line)));

        // An open navigation page (modeless) keeps the chart where it is.
        QDialog* sextant = window()->openSextant();
        *now += 1.0 / 86400.0;
        chart()->realtimeTick();
        QCOMPARE(chart()->observer().instant, start + 1.0 / 86400.0);
        sextant->close();
        QVERIFY(chart()->idle());

        // Timer 1 stops while another window is active; coming back the
        // chart catches up with the clock at once.
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QTRY_VERIFY(!chart()->realtimeTimerActive());
        *now += 5.0 / 86400.0;
        window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window()));
        QTRY_VERIFY(chart()->realtimeTimerActive());
        QCOMPARE(chart()->observer().instant, *now);
        chart()->setClock({});
    }

    void monthStepsAndTheEphemerisStart() {
        QMenu* menu = chart()->timeMenu();
        findAction(menu, QStringLiteral("Month"))->trigger();
        QVERIFY(findAction(menu, QStringLiteral("Month"))->isChecked());
        QAction* stepPlus = findAction(menu, QStringLiteral("Step +"));
        chart()->observer().instant = 2451545.0;
        for (int i = 0; i < 12; ++i) stepPlus->trigger();
        QCOMPARE(chart()->observer().instant, 2451545.0 + 372.0);
        // At the first day of the ephemeris a step back is refused.
        findAction(menu, QStringLiteral("1 Minute"))->trigger();
        chart()->observer().instant = program_->model->firstJd();
        QTest::keyClick(chart(), Qt::Key_PageDown);
        QCOMPARE(chart()->observer().instant, program_->model->firstJd());
        waitForModel();
    }

    void animationRunsAndStopsOnEscape() {
        QMenu* menu = chart()->timeMenu();
        findAction(menu, QStringLiteral("Hour"))->trigger();
        const double start = chart()->observer().instant;
        findAction(menu, QStringLiteral("Animate +"))->trigger();
        QVERIFY(chart()->timeControl().animating());
        QVERIFY(findAction(menu, QStringLiteral("Animate +"))->isChecked());
        QTRY_VERIFY_WITH_TIMEOUT(chart()->observer().instant > start + 1.5 / 24.0, 5000);
        QTest::keyClick(chart(), Qt::Key_Escape);
        QTRY_VERIFY_WITH_TIMEOUT(!chart()->timeControl().animating(), 2000);
        const double stopped = chart()->observer().instant;
        QVERIFY(!chart()->animationTimerActive());
        QCoreApplication::processEvents();
        QCOMPARE(chart()->observer().instant, stopped);
    }

    void contextMenuSteersTheChart() {
        QMenu* menu = chart()->contextMenu();
        QCOMPARE(actionTexts(menu),
                 (QStringList{QStringLiteral("Body"), QStringLiteral("Zoom"), QStringLiteral("Horizon"),
                              QStringLiteral("Full Screen"), QStringLiteral("Rotate while scrolling")}));
        QVERIFY(findAction(menu, QStringLiteral("Info..."))->isEnabled());
        QVERIFY(findAction(menu, QStringLiteral("Find..."))->isEnabled());
        QCOMPARE(actionTexts(findAction(menu, QStringLiteral("Horizon"))->menu()),
                 (QStringList{QStringLiteral("North"), QStringLiteral("East"), QStringLiteral("South"),
                              QStringLiteral("West"), QStringLiteral("Zenith"), QStringLiteral("Flip East-West")}));
        findAction(menu, QStringLiteral("East"))->trigger();
        QCOMPARE(state().rotation, 0.0);
        QCOMPARE(state().offsetY, double(chart()->height() / -4));
        findAction(menu, QStringLiteral("Zenith"))->trigger();
        QCOMPARE(state().zoom, 3.0);
        findAction(menu, QString::fromUtf8("10x    FOV: 18°"))->trigger();
        QCOMPARE(state().zoom, 10.0);
        QAction* rotate = findAction(menu, QStringLiteral("Rotate while scrolling"));
        rotate->trigger();
        QVERIFY(chart()->rotateWhileScrolling());
        QVERIFY(rotate->isChecked());

        // Selecting the star under a pointer press, then Center brings it to the middle.
        findAction(menu, QStringLiteral("Zenith"))->trigger();
        fixInstant();
        const auto sky = program_->model->snapshot();
        const SkyObject* target = nullptr;
        for (const SkyObject& o : sky->objects)
            if (o.magnitude < 2500 && o.place.zenithDistance < 25.0f && o.object < 9110) {
                target = &o;
                break;
            }
        QVERIFY2(target, "no bright star near the zenith");
        const ChartPoint at =
            chart()->renderer().projection().pixel(target->place.zenithDistance, target->place.azimuth);
        QTest::mouseClick(chart(), Qt::LeftButton, {}, QPoint(qRound(at.x), qRound(at.y)));
        QCOMPARE(chart()->renderer().selection().kind, ChartSelection::Kind::Object);
        QVERIFY(findAction(menu, QStringLiteral("Center"))->isEnabled());
        findAction(menu, QStringLiteral("Center"))->trigger();
        const ChartPoint after =
            chart()->renderer().projection().pixel(target->place.zenithDistance, target->place.azimuth);
        QVERIFY(std::abs(after.x - chart()->width() / 2.0) < 1.0);
        QVERIFY(std::abs(after.y - chart()->height() / 2.0) < 1.0);
    }

    // A first start: the Messier objects and the orbital paths are on.
    void aFreshStartShowsMessierObjectsAndOrbitalPaths() {
        const QString document = QString::fromStdString(program_->paths.docPath);
        program_.reset();
        QFile::remove(document);
        QSettings().remove(QStringLiteral("Chart/OrbitalPaths"));
        program_ = startProgram(QCoreApplication::applicationFilePath());
        QCOMPARE(state().deepSkySelection & 1, 1);
        QCOMPARE(state().overlays[kOrbitalPathsOverlay], 1);
        QVERIFY(program_->model->orbitalPaths());
        QVERIFY(chartOptionsFor(state()).orbitalPaths);
        program_.reset();
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        program_ = startProgram(QCoreApplication::applicationFilePath());
        QCOMPARE(state().overlays[kOrbitalPathsOverlay], 0);
    }

    void thePointersPlaceGoesToTheStatusLine() {
        fixInstant();
        QTest::mouseMove(chart(), QPoint(chart()->width() / 2, chart()->height() / 2));
        QTRY_VERIFY(window()->pointerLabel()->text().startsWith(QStringLiteral("Alt: ")));
        QVERIFY(window()->pointerLabel()->text().contains(QStringLiteral("RA: ")));
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(chart(), &leave);
        QVERIFY(window()->pointerLabel()->text().isEmpty());
    }

    // Night vision: in the Red scheme no pixel of the window (chart, tool
    // bar, status line), of the menu, of a page or of the orrery has more
    // green or blue than red, facing south or the zenith, by night or day.
    void theRedSchemeLeavesNoGreenOrBlueLight() {
        const auto stray = [](const QImage& image) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    if (qGreen(p) > qRed(p) || qBlue(p) > qRed(p)) ++n;
                }
            return n;
        };
        fixInstant();
        QTest::keyClick(chart(), 'r');
        for (double hourUtc : {4.0, 20.0}) {  // Seattle's night, and noon
            chart()->observer().instant = julianDayFromCalendar(2024, 9, 1, hourUtc);
            for (FacingDirection facing : {FacingDirection::South, FacingDirection::Zenith}) {
                chart()->face(facing);
                chart()->viewChanged(true);
                waitForModel();
                chart()->setSelection({ChartSelection::Kind::Body, 10});
                QTest::mouseMove(chart(), QPoint(chart()->width() / 3, chart()->height() / 3));
                QCOMPARE(stray(window()->grab().toImage()), 0);
            }
        }
        QMenu* menu = window()->menuBar()->actions()[0]->menu();
        menu->popup(window()->mapToGlobal(QPoint(10, 10)));
        QVERIFY(QTest::qWaitForWindowExposed(menu));
        QCOMPARE(stray(menu->grab().toImage()), 0);
        menu->hide();
        chart()->contextMenu()->popup(window()->mapToGlobal(QPoint(40, 40)));
        QVERIFY(QTest::qWaitForWindowExposed(chart()->contextMenu()));
        QCOMPARE(stray(chart()->contextMenu()->grab().toImage()), 0);
        chart()->contextMenu()->hide();
        window()->setPagesModeless(true);
        for (auto page : {SettingsDialog::TimePage, SettingsDialog::GeneralPage}) {
            window()->openSettings(page);
            QVERIFY(QTest::qWaitForWindowExposed(window()->lastPage()));
            QCOMPARE(stray(window()->lastPage()->grab().toImage()), 0);
            window()->lastPage()->close();
        }
        QTest::keyClick(chart(), 'o');
        QCOMPARE(stray(chart()->grab().toImage()), 0);
        QTest::keyClick(chart(), 's');
    }

    // "Export Image..." writes the chosen format at the chosen size (the
    // extension following the format); "Print..." (Ctrl+P) puts the chart on
    // the page black on white, or in the chart's own colours.
    void exportAndPrintTheChart() {
        fixInstant();
        QTemporaryDir dir;
        ExportDialog dialog(window()->chartPicture(), chart()->size(), dir.path());
        QVERIFY(dialog.chartSizeButton()->isChecked());
        QCOMPARE(dialog.size(), chart()->size());
        dialog.formatBox()->setCurrentIndex(2);
        QVERIFY(dialog.fileEdit()->text().endsWith(QStringLiteral(".pdf")));
        dialog.otherSizeButton()->setChecked(true);
        dialog.widthBox()->setValue(800);
        dialog.heightBox()->setValue(500);
        QVERIFY(dialog.save());
        QString error;
        const QImage pdf = test::viewedFile(dialog.fileEdit()->text(), error);
        QVERIFY2(!pdf.isNull(), qPrintable(error));
        QCOMPARE(pdf.size(), QSize(800, 500));
        dialog.formatBox()->setCurrentIndex(0);
        dialog.fileEdit()->setText(dir.filePath(QStringLiteral("chart")));  // no extension: the format's is added
        QVERIFY(dialog.save());
        QCOMPARE(QImage(dir.filePath(QStringLiteral("chart.png"))).size(), QSize(800, 500));

        QAction* print = nullptr;
        for (QAction* a : window()->actions())
            if (a->shortcut() == QKeySequence(QKeySequence::Print)) print = a;
        QVERIFY(print);
        QCOMPARE(print->text(), QStringLiteral("Print..."));
        for (bool paper : {true, false}) {
            QPrinter printer(QPrinter::ScreenResolution);
            printer.setOutputFormat(QPrinter::PdfFormat);
            const QString file = dir.filePath(paper ? QStringLiteral("paper.pdf") : QStringLiteral("colours.pdf"));
            printer.setOutputFileName(file);
            printChart(window()->chartPicture(), chart()->size(), paper, program_->document.colorSchemes.white,
                       printer);
            const QImage page = test::viewedFile(file, error);
            QVERIFY2(!page.isNull(), qPrintable(error));
            // The sky at the page's middle: white paper, or the Black scheme's night.
            int light = 0, dark = 0, black = 0;
            for (int y = page.height() / 3; y < 2 * page.height() / 3; ++y)
                for (int x = page.width() / 3; x < 2 * page.width() / 3; ++x) {
                    const int g = qGray(page.pixel(x, y));
                    light += g > 230;
                    dark += g < 25;
                    black +=
                        qRed(page.pixel(x, y)) < 60 && qGreen(page.pixel(x, y)) < 60 && qBlue(page.pixel(x, y)) < 60;
                }
            if (paper) {
                QVERIFY2(light > dark * 10, qPrintable(QStringLiteral("%1 light, %2 dark").arg(light).arg(dark)));
                QVERIFY2(black > 20, "no black stars on the paper");
            } else {
                QVERIFY2(dark > light * 10, qPrintable(QStringLiteral("%1 light, %2 dark").arg(light).arg(dark)));
            }
        }
    }

    void hoverNamesWhatIsUnderThePointer() {
        chart()->face(FacingDirection::Zenith);
        fixInstant();
        const auto sky = program_->model->snapshot();
        const SkyObject* target = nullptr;
        for (const SkyObject& o : sky->objects)
            if (o.magnitude < 2000 && o.place.zenithDistance < 25.0f && o.object < 9110) {
                target = &o;
                break;
            }
        QVERIFY2(target, "no bright star near the zenith");
        const ChartPoint at =
            chart()->renderer().projection().pixel(target->place.zenithDistance, target->place.azimuth);
        QTest::mouseMove(chart(), QPoint(qRound(at.x), qRound(at.y)));
        QTRY_COMPARE(chart()->renderer().hoverText(),
                     QString::fromStdString(starChartLabel(*catalogueObject(target->object))));
        // Outside the ephemeris the hover says so.
        chart()->observer().instant = program_->model->lastJd() + 400.0;
        chart()->viewChanged(true);
        waitForModel();
        QTest::mouseMove(chart(), QPoint(qRound(at.x) + 1, qRound(at.y)));
        QTRY_COMPARE(chart()->renderer().hoverText(), QStringLiteral("Ephemeris date invalid!"));
    }

    void sigtermClosesAndSaves() {
        QFile::remove(QString::fromStdString(program_->paths.docPath));
        onTerminationSignals(window(), [this] { window()->close(); });
        QTest::keyClick(chart(), 'w');
        ::raise(SIGTERM);
        QTRY_VERIFY_WITH_TIMEOUT(!window()->isVisible(), 2000);
        DocumentData loaded;
        std::string error;
        QVERIFY(loadDocument(program_->paths.docPath, program_->paths.colorsPath, loaded, error).ok());
        QCOMPARE(loaded.drawState.colorPreset, kPresetWhite);
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    ChartWindowTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "chart_window_test.moc"
