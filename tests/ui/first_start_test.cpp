// The first hour of the desktop program as a user meets it: the place page
// of the first start and the place restored later, the window's size on the
// screen and its geometry kept, the chart's framing through a resize, a
// document named on the command line, and the command line itself.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QStandardItemModel>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdlib>

#include "catalogs/places.h"
#include "sky/chart_geometry.h"
#include "sky/zone_choice.h"
#include "tests/ui/qt_test_support.h"
#include "ui/first_start_page.h"
#include "ui/program.h"

using namespace celestra;

namespace {

int placeNamed(const char* name) {
    for (int i : findPlaces(name))
        if (std::string(place(i)->name) == name) return i;
    return -1;
}

}  // namespace

class FirstStartTest : public QObject {
    Q_OBJECT

    std::unique_ptr<Program> start(const QString& document = QString()) {
        auto program = startProgram(QCoreApplication::applicationFilePath(), document);
        program->window->show();
        if (!QTest::qWaitForWindowExposed(program->window.get())) return nullptr;
        return program;
    }

private slots:
    void init() {
        QSettings().clear();
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        QDir(QDir::homePath() + QStringLiteral("/Documents/Celestra")).removeRecursively();
    }

    void firstStartAsksThePlaceAndLaterStartsRestoreIt() {
        auto program = start();
        QVERIFY(program);
        QVERIFY(program->firstStart);
        FirstStartPage* page = program->window->openFirstStartPage();
        QVERIFY(page->isVisible());
        QVERIFY(page->isModal());
        // TZ is Europe/Berlin here: Berlin is offered, the system zone preselected.
        QVERIFY(page->hasPlace());
        QCOMPARE(page->placeList()->currentItem()->text(), QStringLiteral("Berlin, Germany"));
        QCOMPARE(page->zoneBox()->currentText(), QStringLiteral("System time zone (Europe/Berlin)"));

        // The search finds a place without its accent; the choice moves on.
        QTest::keyClicks(page->search(), QStringLiteral("zurich"));
        QCOMPARE(page->placeList()->count(), 1);
        page->placeList()->setCurrentRow(0);
        QVERIFY(page->placeLabel()->text().startsWith(QStringLiteral("Zürich, Switzerland   47°")));
        // Clearing the search keeps Zürich chosen and selected.
        page->search()->clear();
        QCOMPARE(page->placeList()->currentItem()->text(), QStringLiteral("Zürich, Switzerland"));
        QCOMPARE(page->zoneBox()->itemText(2), QStringLiteral("The place's time zone (Europe/Zurich)"));
        page->zoneBox()->setCurrentIndex(1);
        QTest::mouseClick(page->okButton(), Qt::LeftButton);

        const int zurich = placeNamed("Zürich");
        QVERIFY(zurich >= 0);
        const CObserverState& o = program->document.observer;
        QCOMPARE(o.latitude, placeLatitude(zurich));
        QCOMPARE(o.longitude, placeLongitude(zurich));
        QCOMPARE(o.latitudeDegrees, 47);
        QCOMPARE(o.longitudeDegrees, 8);
        QCOMPARE(program->window->preferences().zone.source, ZoneSource::Longitude);
        QCOMPARE(program->window->preferences().zone.placeZone, std::string("Europe/Zurich"));
        QCOMPARE(o.zoneOffset, longitudeZoneHours(o.longitude) / 24.0);
        // Saved at once, not only at exit.
        DocumentData saved;
        std::string error;
        QVERIFY(loadDocument(program->paths.docPath, program->paths.colorsPath, saved, error).ok());
        QCOMPARE(saved.observer.latitude, placeLatitude(zurich));

        program->window->close();
        program.reset();
        program = start();
        QVERIFY(program);
        QVERIFY(!program->firstStart);
        QCOMPARE(program->document.observer.longitude, placeLongitude(zurich));
    }

    void placeOfTimeZoneNamesTheZonesCity() {
        QCOMPARE(placeOfTimeZone(QStringLiteral("Europe/Zurich")), placeNamed("Zürich"));
        QCOMPARE(placeOfTimeZone(QStringLiteral("America/New_York")), placeNamed("New York"));
        QCOMPARE(placeOfTimeZone(QStringLiteral("America/Argentina/Buenos_Aires")), placeNamed("Buenos Aires"));
        QCOMPARE(placeOfTimeZone(QStringLiteral("UTC")), -1);
        QCOMPARE(placeOfTimeZone(QStringLiteral("Etc/GMT+2")), -1);
        QCOMPARE(placeOfTimeZone(QStringLiteral("Europe/Atlantis")), -1);
    }

    void returnInTheSearchTakesItsFirstMatch() {
        DocumentData document;
        Preferences preferences;
        FirstStartPage page(document, preferences);
        page.show();
        QVERIFY(QTest::qWaitForWindowExposed(&page));
        QTest::keyClicks(page.search(), QStringLiteral("sydney"));
        QTest::keyClick(page.search(), Qt::Key_Return);
        QCOMPARE(page.result(), int(QDialog::Accepted));
        QCOMPARE(document.observer.latitude, placeLatitude(placeNamed("Sydney")));
    }

    void aGpsPositionIsRecordedAsEntered() {
        DocumentData document;
        Preferences preferences;
        FirstStartPage page(document, preferences);
        page.zoneBox()->setCurrentIndex(2);  // the suggested Berlin's own zone
        page.choose(-33.870278, 151.21, QStringLiteral("GPS position"));
        // A position has no zone of its own to offer.
        QCOMPARE(page.zoneBox()->currentIndex(), 0);
        const auto* model = qobject_cast<QStandardItemModel*>(page.zoneBox()->model());
        QVERIFY(!model->item(2)->isEnabled());
        QVERIFY(page.placeLabel()->text().startsWith(QStringLiteral("GPS position   33°52.2' S  151°12.6' E")));
        page.accept();
        QCOMPARE(document.observer.latitude, -33.870278);
        QCOMPARE(document.observer.latitudeDegrees, -33);
        QCOMPARE(document.observer.latitudeMinutes, 52);
        QCOMPARE(document.observer.latitudeSeconds, 13);  // 13.0008" to the nearest second
        QCOMPARE(document.observer.longitudeDegrees, 151);
        QCOMPARE(document.observer.longitudeMinutes, 12);
        QCOMPARE(document.observer.longitudeSeconds, 36);
    }

    void windowFitsTheScreenAndKeepsItsGeometry() {
        const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
        auto program = start();
        QVERIFY(program);
        MainWindow* window = program->window.get();
        // 1000 × 720 would not fit the 800 × 600 offscreen screen.
        QVERIFY(window->width() <= available.width());
        QVERIFY(window->height() <= available.height());
        QVERIFY(available.intersects(window->geometry()));

        window->setGeometry(40, 30, 640, 420);
        window->close();  // the one save at exit keeps the geometry
        program.reset();
        program = start();
        QVERIFY(program);
        QCOMPARE(program->window->size(), QSize(640, 420));

        // A geometry kept from a larger screen is brought within this one.
        program->window->setGeometry(0, 0, available.width() * 2, available.height() * 2);
        program->window->saveAtExit();
        program.reset();
        program = start();
        QVERIFY(program);
        QVERIFY(program->window->width() <= available.width());
        QVERIFY(program->window->height() <= available.height());
    }

    void resizeKeepsTheFacingHorizonFramed() {
        auto program = start();
        QVERIFY(program);
        program->window->resize(700, 500);
        QTRY_VERIFY(program->window->size() == QSize(700, 500));
        ChartView* chart = program->window->chart();
        chart->face(FacingDirection::South);
        for (const QSize size : {QSize(780, 560), QSize(600, 480)}) {
            program->window->resize(size);
            QTRY_VERIFY(program->window->size() == size);
            const ChartProjection p =
                ChartProjection::fromDrawState(chart->drawState(), chart->width(), chart->height());
            QVERIFY2(chart->height() <= chart->width(), "the chart is wider than high");
            // The zenith on the top edge, the south point on the bottom edge,
            // as facing south put them (within the pixel the offset rounds to).
            QVERIFY(std::abs(p.zenithPixel().y) <= 1.0);
            QVERIFY(std::abs(p.pixel(90.0, 180.0).y - chart->height()) <= 1.0);
            QCOMPARE(chart->drawState().rotation, 90.0);
        }
    }

    void documentNamedOnTheCommandLine() {
        const QString named = QDir::homePath() + QStringLiteral("/elsewhere/trip.clj");
        QDir().mkpath(QDir::homePath() + QStringLiteral("/elsewhere"));
        auto program = start(named);
        QVERIFY(program);
        QVERIFY(program->firstStart);  // it does not exist yet
        QCOMPARE(QString::fromStdString(program->paths.docPath), named);
        QVERIFY(!QFile::exists(named));  // not seeded: created when saved
        program->window->close();
        QVERIFY(QFile::exists(named));
        QVERIFY(QFile::exists(QDir::homePath() + QStringLiteral("/elsewhere/trip.colors")));
        QVERIFY(!QFile::exists(QDir::homePath() + QStringLiteral("/Documents/Celestra/Celestra.colors")));
    }

    void aFailedSaveAsksWhileRunningButNeverAtTheEnd() {
        auto program = start();
        QVERIFY(program);
        // A folder where the document should be: every save fails.
        const QString doc = QString::fromStdString(program->paths.docPath);
        QFile::remove(doc);
        QVERIFY(QDir().mkpath(doc));
        // While running: the message, and the document stays in memory.
        program->document.observer.latitude = -12.5;
        bool asked = false;
        QTimer::singleShot(0, [&asked, doc] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    asked = box->text().contains(doc);
                    box->accept();
                }
        });
        QVERIFY(!program->window->Save());
        QVERIFY(asked);
        QCOMPARE(program->document.observer.latitude, -12.5);

        // At the end: one line on stderr, no message, and the window closes.
        const std::string captured = QDir::homePath().toStdString() + "/stderr.txt";
        const int saved = ::dup(2);
        const int file = ::open(captured.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, 2);
        program->window->close();
        ::dup2(saved, 2);
        ::close(file);
        ::close(saved);
        QVERIFY(!program->window->isVisible());
        for (QWidget* w : QApplication::topLevelWidgets()) QVERIFY(!qobject_cast<QMessageBox*>(w) || !w->isVisible());
        QFile err(QString::fromStdString(captured));
        QVERIFY(err.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = err.readAll().split('\n');
        QCOMPARE(lines.size(), 2);  // one line and its end
        QVERIFY(lines[0].startsWith("celestra: the document was not saved: "));
        QDir(doc).removeRecursively();
    }

    void commandLine() {
        ProgramOptions o = parseProgramArguments({QStringLiteral("sky.clj")});
        QCOMPARE(o.documentFile, QDir::currentPath() + QStringLiteral("/sky.clj"));
        QVERIFY(o.error.isEmpty());
        o = parseProgramArguments({QStringLiteral("--version")});
        QVERIFY(o.version && !o.help);
        o = parseProgramArguments({QStringLiteral("-h")});
        QVERIFY(o.help);
        o = parseProgramArguments({QStringLiteral("--frobnicate")});
        QCOMPARE(o.error, QStringLiteral("unknown option --frobnicate"));
        o = parseProgramArguments({QStringLiteral("/a.clj"), QStringLiteral("/b.clj")});
        QCOMPARE(o.documentFile, QStringLiteral("/a.clj"));
        QVERIFY(o.error.contains(QStringLiteral("/b.clj")));
        QVERIFY(programUsage().startsWith(QStringLiteral("Usage: celestra [FILE.clj]")));
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    // The system zone the first start's page reads.
    setenv("TZ", "Europe/Berlin", 1);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    FirstStartTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "first_start_test.moc"
