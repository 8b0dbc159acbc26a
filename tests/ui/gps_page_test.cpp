// The GPS page as a user drives it, against a pseudo-terminal that plays the
// receiver: the typed device, Start/Stop, the Raw Data text, the three value
// fields and their colours, a port that cannot be opened or goes away, the
// settings kept between openings, the hand-over to the place page with the
// system clock, and the gpsd source against a real gpsd when one can run.
// Set CELESTRA_UI_GRAB_DIR to have the page written there as PNGs.
#include "ui/gps_page.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryFile>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "core/time_scales.h"
#include "tests/support/flooding_gpsd.h"
#include "tests/support/gpsd_process.h"
#include "tests/support/pty_pair.h"
#include "tests/ui/qt_test_support.h"
#include "ui/help_window.h"
#include "ui/program.h"
#include "ui/settings_dialog.h"

using namespace celestra;
using test::nmeaSentence;

namespace {

const QColor kGreen(25, 151, 25);
const QColor kRed(255, 0, 0);

// The clock is never set for real: the machine's clock is not the test's.
struct FakeClock {
    int calls = 0;
    double jd = 0.0;
    int result = 0;
    std::string message;
} fakeClock;

int setFakeClock(JulianDay jd, std::string& message) {
    ++fakeClock.calls;
    fakeClock.jd = jd;
    message = fakeClock.message;
    return fakeClock.result;
}

// Preferences whose gpsd host and port nobody answers on.
Preferences silentGpsd() {
    Preferences p;
    p.gpsdHost = QStringLiteral("127.0.0.1");
    p.gpsdPort = test::freeLoopbackPort();
    return p;
}

QString raw(const GpsPage& page) { return page.rawData()->toPlainText(); }
// Whether the field is drawn in that colour: the glyphs' inner pixels carry it exactly.
bool drawnIn(QLabel* field, const QColor& color) {
    const QImage image = field->grab().toImage();
    int hits = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) hits += image.pixelColor(x, y).rgb() == color.rgb();
    return hits >= 3;
}

void typeDevice(GpsPage& page, const QString& path) {
    page.portBox()->lineEdit()->clear();
    QTest::keyClicks(page.portBox()->lineEdit(), path);
}

// Answers the next message box named `name` with OK; its text lands in `text`.
void answerNextBox(const QString& name, QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->objectName() != name) {
            answerNextBox(name, text);
            return;
        }
        *text = box->text();
        box->button(QMessageBox::Ok)->click();
    });
}

void grab(QWidget* page, const QString& file) {
    const QByteArray dir = qgetenv("CELESTRA_UI_GRAB_DIR");
    if (dir.isEmpty()) return;
    QCoreApplication::processEvents();
    page->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + file);
}

speed_t slaveSpeed(const test::PtyPair& pty) {
    termios t{};
    tcgetattr(pty.slave(), &t);
    return cfgetospeed(&t);
}

// Munich, 48°07.038'N 11°31.000'W, as a receiver sends it.
const std::string kGga = nmeaSentence("GPGGA,123518,4807.038,N,01131.000,W,1,08,0.9,545.4,M,46.9,M,,");
const std::string kGsv = nmeaSentence("GPGSV,2,1,08,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45");
// NMEA 2.3: the mode indicator after the magnetic variation.
const std::string kRmc = nmeaSentence("GPRMC,123519,A,4807.038,N,01131.000,W,022.4,084.4,081226,003.1,W,A");
const std::string kRmcLater = nmeaSentence("GPRMC,123521,A,4807.038,N,01131.000,W,022.4,084.4,081226,003.1,W,A");
const std::string kZda = nmeaSentence("GPZDA,201530.00,04,07,2002,00,00");

}  // namespace

class GpsPageTest : public QObject {
    Q_OBJECT
private:
    // A page on preferences nobody's gpsd answers, its probe done.
    std::unique_ptr<GpsPage> openPage(Preferences& prefs) {
        auto page = std::make_unique<GpsPage>(prefs);
        page->show();
        if (!QTest::qWaitForWindowExposed(page.get())) return nullptr;
        if (!QTest::qWaitFor([&] { return page->gpsdProbe() != GpsPage::GpsdProbe::Pending; }, 5000)) return nullptr;
        return page;
    }
    // The same with a device typed into the port box.
    std::unique_ptr<GpsPage> openOnDevice(Preferences& prefs, const std::string& path) {
        auto page = openPage(prefs);
        if (page) typeDevice(*page, QString::fromStdString(path));
        return page;
    }

private slots:
    void init() {
        QSettings().clear();
        fakeClock = FakeClock();
    }

    void openingShowsSavedSettingsAndPlaceholders() {
        Preferences prefs = silentGpsd();
        // Baud selection 20 is outside the table: "default: 4800"; bit 16 checks the clock box.
        prefs.gpsSettings = (20u << 8) | (1u << 16);
        auto page = openPage(prefs);
        QVERIFY(page);
        QCOMPARE(page->windowTitle(), QStringLiteral("GPS"));
        QVERIFY(page->serialButton()->isChecked());
        QCOMPARE(page->serialButton()->text(), QStringLiteral("Use COM Port:"));
        QCOMPARE(page->gpsdButton()->text(), QStringLiteral("Use \"gpsd (Linux location service)\""));
        QCOMPARE(page->gpsdProbe(), GpsPage::GpsdProbe::Silent);
        QVERIFY(!page->gpsdButton()->isEnabled());
        QVERIFY(page->portBox()->isEditable());
        QCOMPARE(page->baudBox()->count(), 15);
        QCOMPARE(page->baudBox()->currentIndex(), -1);
        QVERIFY(page->baudDefaultLabel()->isVisible());
        QCOMPARE(page->baudDefaultLabel()->text(), QStringLiteral("default:\n 4800"));
        QVERIFY(page->setClockBox()->isChecked());
        QCOMPARE(page->startButton()->text(), QStringLiteral("Start"));
        for (QLabel* field : {page->latitudeField(), page->longitudeField(), page->timeField()}) {
            QCOMPARE(field->text(), QStringLiteral("?"));
            QVERIFY(drawnIn(field, kRed));
            QCOMPARE(field->font().family(), QStringLiteral("Tahoma"));
        }
        grab(page.get(), QStringLiteral("gps-opened.png"));
        // The word keeps the selection outside the table until an entry is chosen.
        QCOMPARE(page->settings().ToWord(), (20u << 8) | (1u << 16));
        page->baudBox()->setCurrentIndex(6);
        QVERIFY(!page->baudDefaultLabel()->isVisible());
        QCOMPARE(page->settings().baudSelection, 6);
    }

    void aGpsdThatDoesNotAnswerHoldsNothingUp() {
        // Something listens on the port but never speaks: the probe waits for
        // gpsd's greeting until its time-out, on its own thread.
        const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof addr;
        QVERIFY(bind(listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0);
        QVERIFY(listen(listener, 4) == 0);
        QVERIFY(getsockname(listener, reinterpret_cast<sockaddr*>(&addr), &length) == 0);
        Preferences prefs;
        prefs.gpsdHost = QStringLiteral("127.0.0.1");
        prefs.gpsdPort = ntohs(addr.sin_port);

        QElapsedTimer clock;
        clock.start();
        {
            GpsPage page(prefs);
            page.show();
            QCOMPARE(page.gpsdProbe(), GpsPage::GpsdProbe::Pending);
            QVERIFY(!page.gpsdButton()->isEnabled());
            page.close();
        }
        QVERIFY2(clock.elapsed() < 300, qPrintable(QString::number(clock.elapsed())));
        auto page = openPage(prefs);
        QVERIFY(page);
        QCOMPARE(page->gpsdProbe(), GpsPage::GpsdProbe::Silent);
        close(listener);
    }

    void baudSelectionSetsThePortRate() {
        test::PtyPair pty;
        QVERIFY(pty.ok());
        Preferences prefs = silentGpsd();
        prefs.gpsSettings = 99u << 8;  // outside the table
        auto page = openOnDevice(prefs, pty.slavePath());
        QVERIFY(page);
        page->startButton()->click();
        QVERIFY(page->running());
        QCOMPARE(slaveSpeed(pty), speed_t(B4800));
        page->startButton()->click();
        page->baudBox()->setCurrentIndex(6);
        page->startButton()->click();
        QCOMPARE(slaveSpeed(pty), speed_t(B9600));
        page->stop();
    }

    void sentencesFillTheFieldsAndTheRawData() {
        test::PtyPair pty;
        QVERIFY(pty.ok());
        const QString path = QString::fromStdString(pty.slavePath());
        Preferences prefs = silentGpsd();
        auto page = openOnDevice(prefs, pty.slavePath());
        QVERIFY(page);
        page->startButton()->click();
        QCOMPARE(page->startButton()->text(), QStringLiteral("Stop"));
        QVERIFY(!page->portBox()->isEnabled());
        QCOMPARE(raw(*page), QStringLiteral("Opened port %1\nWaiting for data.\n").arg(path));

        // A GSV (not decoded) between GGA and RMC must not hold the RMC back.
        QVERIFY(pty.Write(kGga + kGsv + kRmc));
        const QString rmcLine = QStringLiteral(
            "  At 12:35:19 UTC, you were at Latitude 48  7.03800 North, Longitude 11 31.00000 West, "
            "making 22.400000 knots, track made good 84.400000 degrees true.\n");
        QTRY_VERIFY_WITH_TIMEOUT(raw(*page).endsWith(rmcLine), 5000);
        QCOMPARE(raw(*page),
                 QStringLiteral("Opened port %1\nWaiting for data.\n"
                                "  At 12:35:18 UTC, you were at Latitude 48  7.03800 North, "
                                "Longitude 11 31.00000 West, based upon a GPS fix, 8 satellites are in use.\n")
                         .arg(path) +
                     rmcLine);
        QCOMPARE(page->latitudeField()->text(), QStringLiteral("N 48°07.038'"));
        QCOMPARE(page->longitudeField()->text(), QStringLiteral("W 011°31.000'"));
        QCOMPARE(page->timeField()->text(), QStringLiteral("2026-12-08 12:35:19"));
        for (QLabel* field : {page->latitudeField(), page->longitudeField(), page->timeField()})
            QVERIFY(drawnIn(field, kGreen));
        grab(page.get(), QStringLiteral("gps-serial.png"));

        // A ZDA time is not replaced by the time of day of later sentences.
        QVERIFY(pty.Write(kZda + kGsv + kRmcLater));
        QTRY_VERIFY_WITH_TIMEOUT(raw(*page).contains(QStringLiteral("At 12:35:21 UTC")), 5000);
        QCOMPARE(page->timeField()->text(), QStringLiteral("2002-07-04 20:15:30"));
        QVERIFY(raw(*page).contains(QStringLiteral("\n  \n")));  // ZDA's empty summary

        // Stop: "Start" again, the text cleared, the values kept.
        page->startButton()->click();
        QCOMPARE(page->startButton()->text(), QStringLiteral("Start"));
        QVERIFY(page->portBox()->isEnabled());
        QCOMPARE(raw(*page), QString());
        QCOMPARE(page->latitudeField()->text(), QStringLiteral("N 48°07.038'"));
        QVERIFY(drawnIn(page->latitudeField(), kGreen));
    }

    void rawDataIsTrimmed() {
        test::PtyPair pty;
        QVERIFY(pty.ok());
        Preferences prefs = silentGpsd();
        auto page = openOnDevice(prefs, pty.slavePath());
        QVERIFY(page);
        page->start();
        // One sentence at a time, so none is dropped as a stale buffer: twenty
        // summaries of ~130 characters each pass the 800-character mark.
        for (int s = 10; s < 30; ++s) {
            const std::string second = std::to_string(s);
            QVERIFY(
                pty.Write(nmeaSentence("GPGGA,1235" + second + ",4807.038,N,01131.000,W,1,08,0.9,545.4,M,46.9,M,,")));
            QTRY_VERIFY_WITH_TIMEOUT(
                page->timeField()->text().endsWith(QStringLiteral("12:35:") + QString::fromStdString(second)), 5000);
            QVERIFY2(raw(*page).size() <= 800, qPrintable(raw(*page)));
        }
        QVERIFY(!raw(*page).contains(QStringLiteral("Opened port")));
        QVERIFY(!raw(*page).contains(QStringLiteral("At 12:35:10 UTC")));
        page->stop();
    }

    void portsThatCannotBeOpenedOrGoAway() {
        Preferences prefs = silentGpsd();
        auto page = openPage(prefs);
        QVERIFY(page);
        typeDevice(*page, QStringLiteral("/nonexistent/ttyGPS"));
        page->startButton()->click();
        QVERIFY(!page->running());
        QCOMPARE(page->startButton()->text(), QStringLiteral("Start"));
        QVERIFY(raw(*page).startsWith(QStringLiteral("Unable to open port /nonexistent/ttyGPS\n")));
        // The system's own words, in the desktop's language.
        QVERIFY(raw(*page).contains(QString::fromLocal8Bit(std::strerror(ENOENT))));

        // A file that is no serial device; the page stays usable.
        QTemporaryFile file;
        QVERIFY(file.open());
        typeDevice(*page, file.fileName());
        page->startButton()->click();
        QVERIFY(!page->running());
        QVERIFY(raw(*page).contains(
            QStringLiteral("Unable to open port %1\n%1 is not a serial device\n").arg(file.fileName())));

        // The receiver unplugged while reading.
        test::PtyPair pty;
        QVERIFY(pty.ok());
        const QString path = QString::fromStdString(pty.slavePath());
        typeDevice(*page, path);
        page->startButton()->click();
        QVERIFY(page->running());
        pty.CloseMaster();
        QTRY_VERIFY_WITH_TIMEOUT(!page->running(), 5000);
        QVERIFY(raw(*page).endsWith(QStringLiteral("Lost port %1\n").arg(path)));
        QCOMPARE(page->startButton()->text(), QStringLiteral("Start"));
    }

    void settingsKeptBetweenOpenings() {
        test::PtyPair pty;
        QVERIFY(pty.ok());
        const QString path = QString::fromStdString(pty.slavePath());
        Preferences prefs = silentGpsd();
        {
            auto page = openOnDevice(prefs, pty.slavePath());
            QVERIFY(page);
            page->baudBox()->setCurrentIndex(8);
            page->setClockBox()->setChecked(true);
            page->close();  // asked to set the clock, but no time came: nothing is set
        }
        QCOMPARE(fakeClock.calls, 0);
        QCOMPARE(prefs.gpsSettings, (8u << 8) | (1u << 16));
        QCOMPARE(prefs.gpsDevice, path);
        const Preferences loaded = loadPreferences();
        QCOMPARE(loaded.gpsSettings, prefs.gpsSettings);
        QCOMPARE(loaded.gpsDevice, path);

        Preferences again = loaded;
        again.gpsdPort = prefs.gpsdPort;
        auto page = openPage(again);
        QVERIFY(page);
        QCOMPARE(page->portBox()->currentText(), path);
        QCOMPARE(page->baudBox()->currentIndex(), 8);
        QVERIFY(page->setClockBox()->isChecked());

        // With a time received the clock is set to it, plus the time since.
        page->start();
        QVERIFY(pty.Write(kZda + kGsv + kRmc));
        QTRY_VERIFY_WITH_TIMEOUT(page->timeField()->text() == QStringLiteral("2002-07-04 20:15:30"), 5000);
        QTimer::singleShot(0, [] {  // a message here would be a fault: close it so the test goes on
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) box->accept();
        });
        page->close();
        QCOMPARE(fakeClock.calls, 1);
        const double expected = julianDayFromCalendar(2002, 7, 4, 20.0 + 15.5 / 60.0);
        QVERIFY2(std::fabs(fakeClock.jd - expected) * 86400.0 < 5.0, qPrintable(QString::number(fakeClock.jd, 'f', 8)));
        QVERIFY(fakeClock.jd >= expected);
        QVERIFY(!page->running());
    }

    void closingHandsThePositionToThePlacePage() {
        test::PtyPair pty;
        QVERIFY(pty.ok());
        QSettings().setValue(QStringLiteral("Preferences/GpsdHost"), QStringLiteral("127.0.0.1"));
        QSettings().setValue(QStringLiteral("Preferences/GpsdPort"), test::freeLoopbackPort());
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        auto program = startProgram(QCoreApplication::applicationFilePath());
        MainWindow* window = program->window.get();
        window->setPagesModeless(true);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->openSettings(SettingsDialog::PlacePage);
        auto* settings = qobject_cast<SettingsDialog*>(window->lastPage());
        QVERIFY(settings);
        auto* button = settings->findChild<QPushButton*>(QStringLiteral("gpsButton"));
        QVERIFY(button && button->isVisible());
        button->click();
        auto* page = settings->findChild<GpsPage*>();
        QVERIFY(page);
        QVERIFY(QTest::qWaitForWindowExposed(page));
        QVERIFY(page->isModal());
        QTRY_VERIFY(page->gpsdProbe() == GpsPage::GpsdProbe::Silent);
        page->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help)->click();
        QCOMPARE(window->helpWindow()->browser()->source().fileName(), QStringLiteral("gps.html"));

        typeDevice(*page, QString::fromStdString(pty.slavePath()));
        page->setClockBox()->setChecked(true);
        page->startButton()->click();
        // Sydney, south and east.
        QVERIFY(pty.Write(nmeaSentence("GPZDA,080005.00,08,12,2026,00,00") + kGsv +
                          nmeaSentence("GPRMC,080005,A,3351.000,S,15112.600,E,000.0,000.0,081226,,,A")));
        QTRY_VERIFY_WITH_TIMEOUT(page->longitudeField()->text() == QStringLiteral("E 151°12.600'"), 5000);
        QCOMPARE(page->latitudeField()->text(), QStringLiteral("S 33°51.000'"));
        // The colour schemes replace the program's palette: the values stay green.
        for (int preset : {kPresetRed, kPresetWhite, kPresetBlack}) {
            window->chart()->ApplyColorScheme(preset);
            QVERIFY(drawnIn(page->latitudeField(), kGreen));
            grab(page, QStringLiteral("gps-scheme-%1.png").arg(preset));
        }

        // Without the right to set the clock the page says so.
        fakeClock.result = EPERM;
        fakeClock.message =
            "Setting the system clock needs administrator rights (CAP_SYS_TIME); the clock was not changed.";
        QString message;
        answerNextBox(QStringLiteral("clockMessage"), &message);
        page->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
        QCOMPARE(message, QString::fromStdString(fakeClock.message));
        QCOMPARE(fakeClock.calls, 1);

        const CObserverState& o = program->document.observer;
        QVERIFY(std::fabs(o.latitude - (-(33.0 + 51.0 / 60.0))) < 1e-9);
        QVERIFY(std::fabs(o.longitude - (151.0 + 12.6 / 60.0)) < 1e-9);
        QCOMPARE(o.latitudeDegrees, -33);
        QCOMPARE(o.latitudeMinutes, 51);
        // The place page shows it.
        const QList<QSpinBox*> degrees = settings->findChildren<QSpinBox*>();
        QVERIFY(std::any_of(degrees.begin(), degrees.end(), [](QSpinBox* s) { return s->value() == 151; }));
        QTRY_VERIFY(!settings->findChild<GpsPage*>());  // deleted on close
        settings->close();
    }

    void aFloodingGpsdLeavesThePageResponsive() {
        // A peer that never pauses: each poll takes its share and returns,
        // so the page shows the position, Stop works, and the page reads
        // only a bounded amount (before, one poll read until the peer gave
        // up after 30 s, the page frozen meanwhile).
        test::FloodingGpsd flood(UINT64_MAX);
        QVERIFY(flood.port() != 0);
        Preferences prefs;
        prefs.gpsdHost = QStringLiteral("127.0.0.1");
        prefs.gpsdPort = flood.port();
        auto page = std::make_unique<GpsPage>(prefs);
        page->show();
        QTRY_VERIFY(page->gpsdProbe() == GpsPage::GpsdProbe::Answered);
        QVERIFY(page->gpsdButton()->isChecked());
        page->startButton()->click();
        QCOMPARE(page->startButton()->text(), QStringLiteral("Stop"));
        QTRY_COMPARE(page->latitudeField()->text(), QStringLiteral("N 48°07.038'"));
        QCOMPARE(page->startButton()->text(), QStringLiteral("Stop"));  // still reading, not cut off
        page->startButton()->click();
        QCOMPARE(page->startButton()->text(), QStringLiteral("Start"));
        QTRY_VERIFY(flood.clientGone());
        QVERIFY2(flood.sent() < (uint64_t{64} << 20), qPrintable(QString::number(flood.sent())));
    }

    void gpsdSourceAgainstARealGpsd() {
        const std::string gpsd = test::findGpsd();
        if (gpsd.empty()) QSKIP("gpsd is not installed (Debian package gpsd)");
        test::PtyPair pty;
        QVERIFY(pty.ok());
        pty.StartFeeding({kRmc, kGga, nmeaSentence("GPGSA,A,3,04,05,,09,12,,,24,,,,,2.5,1.3,2.1"), kGsv,
                          nmeaSentence("GPGSV,2,2,08,04,40,083,46,05,17,308,41,09,07,344,39,24,22,228,45")},
                         200);
        Preferences prefs;
        prefs.gpsdHost = QStringLiteral("127.0.0.1");
        prefs.gpsdPort = test::freeLoopbackPort();
        test::GpsdProcess process(gpsd, prefs.gpsdPort, pty.slavePath());
        if (!QTest::qWaitFor([&] { return CGpsdSource::Probe("127.0.0.1", prefs.gpsdPort, 200); }, 5000))
            QSKIP("gpsd could not be started on a loopback port");

        auto page = std::make_unique<GpsPage>(prefs);
        page->show();
        QTRY_VERIFY(page->gpsdProbe() == GpsPage::GpsdProbe::Answered);
        QVERIFY(page->gpsdButton()->isChecked());
        QVERIFY(page->gpsdButton()->isEnabled());
        QVERIFY(!page->portBox()->isEnabled());
        QVERIFY(!page->baudBox()->isEnabled());
        page->startButton()->click();
        QCOMPARE(raw(*page), QStringLiteral("Successfully opened gpsd, waiting for data"));
        QCOMPARE(page->startButton()->text(), QStringLiteral("Stop"));
        QVERIFY(!page->serialButton()->isEnabled());

        QTRY_VERIFY2_WITH_TIMEOUT(raw(*page).contains(QStringLiteral("Satellite Count:")) &&
                                      page->latitudeField()->text() != QStringLiteral("?"),
                                  qPrintable(raw(*page)), 15000);
        const QString status = raw(*page);
        QVERIFY2(status.contains(QRegularExpression(QStringLiteral("^\\d+ Seconds\nUTC: 2026-12-08 12:35:"))),
                 qPrintable(status));
        QVERIFY2(status.contains(QStringLiteral("\nLat: 48.117300\nLon: -11.516667\n")), qPrintable(status));
        QCOMPARE(page->latitudeField()->text(), QStringLiteral("N 48°07.038'"));
        QCOMPARE(page->longitudeField()->text(), QStringLiteral("W 011°31.000'"));
        QVERIFY(drawnIn(page->longitudeField(), kGreen));
        QVERIFY(page->timeField()->text().startsWith(QStringLiteral("2026-12-08 12:35:")));
        grab(page.get(), QStringLiteral("gps-gpsd.png"));

        page->startButton()->click();
        QCOMPARE(raw(*page), QString());
        QCOMPARE(page->startButton()->text(), QStringLiteral("Start"));
        pty.StopFeeding();
    }
};

int main(int argc, char** argv) {
    celestra::test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    GpsPage::setClockSetter(setFakeClock);
    GpsPageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "gps_page_test.moc"
