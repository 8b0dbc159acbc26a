// The General page's comet "Download" as a user drives it, against a canned
// server on 127.0.0.1 (the preferences point both servers there, so nothing
// reaches the network): the message box and its count, the files kept on a
// failure, the project website's list fetched only when an address is set,
// and the chart drawing the comets it reloaded. With CELESTRA_PAGE_SHOTS set
// to a folder, the chart with Hale-Bopp is also grabbed to a PNG there.
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>
#include <cmath>

#include "core/time_scales.h"
#include "sky/universe.h"
#include "tests/support/canned_http_server.h"
#include "tests/ui/qt_test_support.h"
#include "ui/chart_overlays.h"
#include "ui/object_pages.h"
#include "ui/program.h"
#include "ui/settings_dialog.h"

using namespace celestra;

namespace {

// Two element lines in the one-line comet format (orbits of C/1995 O1 and
// C/2020 F3 near their perihelia), CR LF ended.
const QByteArray kTwoComets =
    "    C1995O1   1997 04  1.1375  0.914142  0.995068  130.5887  282.4707   89.4300  19970313  -2.0  4.0  "
    "C/1995 O1 (Hale-Bopp)                                    MPC 00000\r\n"
    "    C2020F3   2020 07  3.6806  0.294654  0.999198   37.2786   61.0096  128.9375  20200716   7.0  3.2  "
    "C/2020 F3 (NEOWISE)                                      MPC 00000\r\n";

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

}  // namespace

class CometDownloadTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    test::CannedServer server_;
    MainWindow* window() { return program_->window.get(); }
    ChartView* chart() { return window()->chart(); }
    DocumentData& doc() { return program_->document; }
    QString dataFile(const char* name) const {
        return QString::fromStdString(program_->paths.dataFolder) + QLatin1Char('/') + QLatin1String(name);
    }
    int cometCount() {
        CometList& list = program_->model->universe().Comets();
        const auto lock = lockComets(list);
        return static_cast<int>(list.records.size());
    }
    void waitForModel() {
        program_->model->waitIdle();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }

    SettingsDialog* openGeneralPage() {
        window()->openSettings(SettingsDialog::GeneralPage);
        auto* dialog = qobject_cast<SettingsDialog*>(window()->lastPage());
        if (dialog && !QTest::qWaitForWindowExposed(dialog)) return nullptr;
        return dialog;
    }
    QPushButton* downloadButton(SettingsDialog* d) {
        for (QPushButton* b : d->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Download")) return b;
        return nullptr;
    }
    // Clicks "Download" and answers the message box that ends it; returns
    // "title|text" of that box.
    QString download() {
        SettingsDialog* d = openGeneralPage();
        if (!d) return QStringLiteral("<no page>");
        QString seen;
        QTimer poll;
        poll.setInterval(20);
        connect(&poll, &QTimer::timeout, this, [&seen] {
            for (QWidget* w : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(w);
                if (!box || !box->isVisible()) continue;
                seen = box->windowTitle() + QLatin1Char('|') + box->text();
                box->accept();
            }
        });
        poll.start();
        downloadButton(d)->click();  // returns once the box is answered
        poll.stop();
        d->close();
        waitForModel();
        return seen;
    }

private slots:
    void init() {
        QSettings().clear();
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        program_ = startProgram(QCoreApplication::applicationFilePath());
        window()->setPagesModeless(true);
        window()->preferences().cometServer = QString::fromStdString(server_.address());
        window()->preferences().website.clear();
        // Every comet of the list selected, and the comets drawn.
        doc().drawState.overlays[kOverlayComets] = 1;
        doc().drawState.cometMagnitudeLimit = 20000;
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        waitForModel();
        server_.requestLines.clear();
    }
    void cleanup() {
        for (const char* name : kCometFileNames) QFile::remove(dataFile(name));
        program_.reset();
    }

    void successCountsTheListAndTheChartDrawsIt() {
        server_.answer(kTwoComets);
        QCOMPARE(download(), QStringLiteral("Comet Download|Download succeeded.  2 comets downloaded."));
        QCOMPARE(readAll(dataFile("Celestra.Comets.txt")), kTwoComets);
        // No project website: only the elements server was asked, and no second file appeared.
        QCOMPARE(server_.requestLines, QList<QByteArray>{"GET /iau/Ephemerides/Comets/Soft00Cmt.txt HTTP/1.1"});
        QVERIFY(!QFile::exists(dataFile("Celestra.CometsTarnwell.txt")));
        QCOMPARE(cometCount(), 2);
        // The model reloaded and rebuilt its selection: both comets reach the chart.
        const auto sky = program_->model->snapshot();
        QCOMPARE(static_cast<int>(sky->comets.size()), 2);
        QCOMPARE(QString::fromStdString(sky->comets[0].name), QStringLiteral("C/1995 O1 (Hale-Bopp)"));
    }

    void failureKeepsTheOldFileAndList() {
        server_.answer(kTwoComets);
        QVERIFY(download().contains(QStringLiteral("succeeded")));
        // An error page with a length is no comet list.
        server_.answer("<html>Not Found</html>", "404 Not Found");
        QCOMPARE(download(),
                 QStringLiteral("Comet Download|Download failed.  No comets downloaded.  Verify internet connection."));
        QCOMPARE(readAll(dataFile("Celestra.Comets.txt")), kTwoComets);
        QCOMPARE(cometCount(), 2);
        QCOMPARE(static_cast<int>(program_->model->snapshot()->comets.size()), 2);
        // A captive portal answers 200 with its own page: read before it replaces anything.
        server_.answer("<html><body>Please accept the terms of use to browse</body></html>\n");
        QCOMPARE(download(),
                 QStringLiteral("Comet Download|Download failed.  No comets downloaded.  Verify internet connection."));
        QCOMPARE(readAll(dataFile("Celestra.Comets.txt")), kTwoComets);
        QVERIFY(!QFile::exists(dataFile("Celestra.Comets.txt.download")));
        QCOMPARE(cometCount(), 2);
    }

    void projectWebsiteListOnlyWithAnAddress() {
        SettingsDialog* d = openGeneralPage();
        QVERIFY(d);
        // Without an address: the same reason on Download as on Space News, which is greyed.
        QPushButton* button = downloadButton(d);
        QVERIFY(button && button->isEnabled());
        QVERIFY(!window()->spaceNewsAction()->isEnabled());
        const QString reason = window()->spaceNewsAction()->toolTip();
        QVERIFY(!reason.isEmpty());
        QVERIFY2(button->toolTip().contains(reason), qPrintable(button->toolTip()));
        // With one, both lists come from it; Space News is enabled and the reason gone.
        auto* website = d->findChild<QLineEdit*>(QStringLiteral("website"));
        website->setText(QString::fromStdString(server_.address()));
        emit website->editingFinished();
        QVERIFY(!button->toolTip().contains(reason));
        QVERIFY(window()->spaceNewsAction()->isEnabled());
        d->close();
        server_.answer(kTwoComets);
        QCOMPARE(download(), QStringLiteral("Comet Download|Download succeeded.  4 comets downloaded."));
        QCOMPARE(server_.requestLines, (QList<QByteArray>{"GET /anonymous/comets/CometsTarnwell.txt HTTP/1.1",
                                                          "GET /iau/Ephemerides/Comets/Soft00Cmt.txt HTTP/1.1"}));
        QCOMPARE(readAll(dataFile("Celestra.CometsTarnwell.txt")), kTwoComets);
    }

    void chartShowsTheCometAtItsPlace() {
        server_.answer(kTwoComets);
        QVERIFY(download().contains(QStringLiteral("succeeded")));
        // 1 April 1997, 19:30 UTC in southern England, facing west: Hale-Bopp
        // about 30° up in the north-west after sunset.
        doc().observer.latitude = 52.0;
        doc().observer.longitude = 0.0;
        chart()->face(FacingDirection::West);
        QVERIFY(chart()->timeControl().setInstant(julianDayFromCalendar(1997, 4, 1, 19.5)));
        waitForModel();
        const SkyComet* comet = chart()->renderer().snapshot()->cometByIndex(0);
        QVERIFY(comet);
        QVERIFY(comet->presentPoint().valid);
        QVERIFY(std::abs(90.0 - comet->presentPoint().place.zenithDistance - 31.2) < 1.0);
        QVERIFY(std::abs(comet->presentPoint().place.azimuth - 303.3) < 1.0);
        const QImage shot = chart()->grab().toImage();
        QPointF at;
        const ChartSelection selection{ChartSelection::Kind::Comet, 0};
        QVERIFY(chart()->renderer().selectionPixel(selection, at));
        const QColor head = colorOf(doc().drawState.colorScheme.colors[CometNames]);
        const double ratio = shot.devicePixelRatio();
        QCOMPARE(shot.pixelColor((at * ratio).toPoint()).rgb(), head.rgb());
        // Selected, the chart names it and the Info page gives its place and magnitudes.
        chart()->setSelection(selection);
        QCOMPARE(chart()->renderer().selectionName(selection), QStringLiteral("C/1995 O1 (Hale-Bopp)"));
        window()->openInfo();
        auto* info = qobject_cast<InfoDialog*>(window()->lastPage());
        QVERIFY(info);
        const QString text = info->text()->toPlainText();
        QVERIFY2(text.startsWith(QStringLiteral("C/1995 O1 (Hale-Bopp)\n")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("Alt:  31.")), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("M-abs:-2.0, M-app:-1.7")), qPrintable(text));
        QVERIFY(!info->webButton()->isEnabled());
        QVERIFY(!info->webButton()->toolTip().isEmpty());
        info->close();
        const QString shots = qEnvironmentVariable("CELESTRA_PAGE_SHOTS");
        if (!shots.isEmpty()) window()->grab().save(shots + QStringLiteral("/chart-comet.png"));
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    CometDownloadTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "comet_download_test.moc"
