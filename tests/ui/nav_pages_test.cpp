// The navigation pages as a user drives them: Sextant → Calculate → Save LOP
// → LOPs → Graph with real sights, the checks Calculate makes, the Enviro
// page's range refusal, the Details table and its formats, and the Star
// selector's list. Set CELESTRA_UI_GRAB_DIR to have every page written there
// as a PNG for looking at.
#include "ui/nav_pages.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>
#include <set>

#include "catalogs/star_catalog.h"
#include "core/time_scales.h"
#include "tests/ui/qt_test_support.h"
#include "ui/chart_renderer.h"
#include "ui/program.h"
#include "ui/program_colors.h"

using namespace celestra;

namespace {

// Answers the next message box named `name` with `button`; its text lands in `text`.
void answerNextBox(const QString& name, QMessageBox::StandardButton button, QString* text) {
    QTimer::singleShot(0, [=] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || box->objectName() != name) {
            answerNextBox(name, button, text);  // not open yet
            return;
        }
        *text = box->text();
        box->button(button)->click();
    });
}

void grab(QWidget* page, const QString& file) {
    const QByteArray dir = qgetenv("CELESTRA_UI_GRAB_DIR");
    if (dir.isEmpty()) return;
    QCoreApplication::processEvents();
    page->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + file);
}

constexpr double kChartLatitude = 38.5;
constexpr double kChartLongitude = -64.25;
// 2024-03-15 09:30:00 UTC: night at the chart position.
const double kSightJd = julianDayFromCalendar(2024, 3, 15, 9.5);

}  // namespace

class NavPagesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    MainWindow* window() { return program_->window.get(); }
    DocumentData& doc() { return program_->document; }
    bool haveEphemeris() { return program_->ephemerisError.isEmpty(); }

    // The current sight's AP at the chart position and the sight's time, so
    // Calculate asks nothing.
    void apAtChart() {
        doc().observer.latitude = kChartLatitude;
        doc().observer.longitude = kChartLongitude;
        CMeasure& sight = doc().currentSight;
        sight.observer.latitude = kChartLatitude;
        sight.observer.longitude = kChartLongitude;
        sight.observer.instant = kSightJd;
        sight.apTimeOverride = -1.0;
    }

    void pickStar(SextantDialog* page, int number) {
        page->starButton()->setChecked(true);
        QComboBox* box = page->bodyBox();
        box->lineEdit()->setText(QString::number(number));
        QMetaObject::invokeMethod(box->lineEdit(), "editingFinished");
        QCOMPARE(box->currentData().toInt(), number);
    }

private slots:
    void initTestCase() {
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        program_ = startProgram(QCoreApplication::applicationFilePath());
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        program_->model->waitIdle();
    }
    void cleanupTestCase() { program_.reset(); }

    void starSelectorList() {
        const std::vector<NavigationalStar>& stars = navigationalStars();
        QCOMPARE(stars.size(), size_t{58});
        std::set<int> numbers;
        for (const NavigationalStar& s : stars) numbers.insert(s.number);
        QCOMPARE(numbers.size(), stars.size());
        // Names that the catalogue spells otherwise still reach their star.
        QCOMPARE(starFromText(QStringLiteral("Rigil Kentaurus")), 5459);
        QCOMPARE(starFromText(QStringLiteral("Acrux")), 4730);
        QCOMPARE(starFromText(QStringLiteral("Polaris")), 424);
        QCOMPARE(starFromText(QStringLiteral("Al Na'ir")), 8425);
        QCOMPARE(starFromText(QStringLiteral("Gienah")), 4662);
        QCOMPARE(starFromText(QStringLiteral("Schedar")), 168);
        QCOMPARE(starFromText(QStringLiteral("Zubenelgenubi")), 5531);
        QCOMPARE(starFromText(QStringLiteral(" sirius ")), 2491);
        QCOMPARE(starFromText(QStringLiteral("BS: 2491")), 2491);
        QCOMPARE(starFromText(QStringLiteral("alp Lyr")), 7001);
        QCOMPARE(starFromText(QStringLiteral("92")), 0);  // a placeholder slot, not a star
        QCOMPARE(starFromText(QStringLiteral("9111")), 0);
        QCOMPARE(starFromText(QStringLiteral("Nowhere")), 0);

        SextantDialog* page = window()->openSextant();
        page->starButton()->setChecked(true);
        QCOMPARE(page->bodyBox()->itemText(0), QStringLiteral("Acamar"));
        pickStar(page, 1);  // any catalogue star by number joins the list
        QCOMPARE(page->bodyBox()->currentText(), QString::fromStdString(starChartLabel(*starByNumber(1))));
        page->bodyButton()->setChecked(true);
        QCOMPARE(page->bodyBox()->findText(QStringLiteral("Earth")), -1);
        QVERIFY(page->bodyBox()->findText(QStringLiteral("Sun, Upper Limb")) >= 0);
        QVERIFY(page->bodyBox()->findText(QStringLiteral("Moon, Lower Limb")) >= 0);
        QCOMPARE(page->bodyBox()->currentText(), QStringLiteral("Moon, Lower Limb"));
        grab(page, QStringLiteral("sextant-body.png"));
        page->close();
    }

    void sextantToGraph() {
        QVERIFY2(haveEphemeris(), qPrintable(program_->ephemerisError));
        doc().sights.Clear();
        apAtChart();
        SextantDialog* page = window()->openSextant();
        page->asUtcBox()->setChecked(true);
        page->setPickers(kSightJd);
        QCOMPARE(doc().currentSight.observationTime, kSightJd);

        // Three stars well above the horizon, spread in azimuth.
        std::vector<int> chosen;
        std::vector<double> azimuths;
        NavigationState probeState(doc(), window()->preferences());
        for (const NavigationalStar& s : navigationalStars()) {
            CMeasure probe = doc().currentSight;
            probe.isStar = 1;
            probe.bodyIndex = s.number;
            QCOMPARE(reduceSight(probe, probeState.place, 30.0), Status::Ok);
            if (probe.hc < 20.0 || probe.hc > 70.0) continue;
            bool spread = true;
            for (double z : azimuths) spread = spread && std::abs(std::remainder(probe.azimuth - z, 360.0)) > 50.0;
            if (!spread) continue;
            chosen.push_back(s.number);
            azimuths.push_back(probe.azimuth);
            if (chosen.size() == 3) break;
        }
        QCOMPARE(chosen.size(), size_t{3});

        for (int number : chosen) {
            pickStar(page, number);
            QCOMPARE(page->resultLabel()->text(), displayText(kSextantHint));
            QVERIFY(!page->saveButton()->isEnabled());
            // "Altitude" sets the altitude of no intercept; 3' more puts each LOP 3 NMi toward its star.
            QTest::mouseClick(page->altitudeLabel(), Qt::LeftButton);
            QVERIFY(page->degreesBox()->value() >= 19);
            page->minutesBox()->setValue(page->minutesBox()->value() + 3.0 >= 60.0 ? page->minutesBox()->value() - 3.0
                                                                                   : page->minutesBox()->value() + 3.0);
            QTest::mouseClick(page->calculateButton(), Qt::LeftButton);
            const QString result = page->resultLabel()->text();
            QVERIFY2(
                result.contains(QStringLiteral(" nMi toward AP")) || result.contains(QStringLiteral("away from AP")),
                qPrintable(result));
            QVERIFY(result.contains(QStringLiteral("along Az: ")));
            QVERIFY(std::abs(std::abs(doc().currentSight.intercept) * 60.0 - 3.0) < 0.2);
            QVERIFY(page->detailsButton()->isEnabled());
            QTest::mouseClick(page->saveButton(), Qt::LeftButton);
            QVERIFY(!page->saveButton()->isEnabled());
        }
        QCOMPARE(doc().sights.Count(), size_t{3});
        QCOMPARE(doc().sights.CountActive(), size_t{3});

        // Clicking the result cycles the format and rewrites the text.
        const QString before = page->resultLabel()->text();
        QTest::mouseClick(page->resultLabel(), Qt::LeftButton);
        const QString after = page->resultLabel()->text();
        QVERIFY(after != before);
        QTest::mouseClick(page->resultLabel(), Qt::LeftButton);
        QTest::mouseClick(page->resultLabel(), Qt::LeftButton);
        QCOMPARE(page->resultLabel()->text(), before);
        grab(page, QStringLiteral("sextant.png"));

        // LOPs: one row per sight, the fix with its error once three are checked.
        LopsDialog* lops = window()->openLops();
        QCOMPARE(lops->list()->count(), 3);
        QVERIFY(lops->list()->item(0)->text().startsWith(QStringLiteral("1)  ")));
        QVERIFY(
            lops->list()->item(2)->text().endsWith(QString::fromStdString(starChartLabel(*starByNumber(chosen[2])))));
        QString text = lops->textArea()->toPlainText();
        QVERIFY2(text.contains(QStringLiteral("AP Correction:")), qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("Err: ")));
        lops->list()->item(1)->setCheckState(Qt::Unchecked);
        QCOMPARE(doc().sights.At(1).active, 0);
        text = lops->textArea()->toPlainText();
        QVERIFY(text.contains(QStringLiteral("AP Correction:")));
        QVERIFY(!text.contains(QStringLiteral("Err: ")));
        lops->list()->item(1)->setCheckState(Qt::Checked);
        QVERIFY(!text.contains(QStringLiteral("MPP")));
        // A selected active sight adds its Most Probable Position.
        lops->list()->setCurrentRow(2);
        QVERIFY(lops->textArea()->toPlainText().contains(QStringLiteral("MPP at time of selected OBS:")));
        grab(lops, QStringLiteral("lops.png"));

        // Graph: the AP, three lines, the fix about 3 NMi off, the ellipse.
        QTest::mouseClick(lops->graphButton(), Qt::LeftButton);
        LopGraphView* graph = lops->graphView();
        QVERIFY(graph);
        QVERIFY(QTest::qWaitForWindowExposed(lops->graphDialog()));
        QCOMPARE(graph->graph().lines.size(), size_t{3});
        QVERIFY(graph->graph().hasFix);
        const double fixDistance = std::hypot(graph->graph().fix.x, graph->graph().fix.y);
        QVERIFY2(fixDistance > 1.0 && fixDistance < 10.0, qPrintable(QString::number(fixDistance)));
        QCOMPARE(graph->statusLines().last(), QStringLiteral("Click on graph"));
        grab(graph, QStringLiteral("graph.png"));
        // A click on the first line's intercept foot names that line, at no distance.
        const LopGraphLine& first = graph->graph().lines.front();
        QTest::mouseClick(graph, Qt::LeftButton, {}, graph->toWidget(first.intercept).toPoint());
        QVERIFY2(graph->statusLines().join(QLatin1Char('\n')).startsWith(QStringLiteral("OBS %1:").arg(first.number)),
                 qPrintable(graph->statusLines().join(QLatin1Char('|'))));
        grab(graph, QStringLiteral("graph-clicked.png"));
        lops->graphDialog()->close();

        // Remove takes the selected sight out of the list and the page.
        lops->list()->setCurrentRow(0);
        QTest::mouseClick(lops->removeButton(), Qt::LeftButton);
        QCOMPARE(doc().sights.Count(), size_t{2});
        QCOMPARE(lops->list()->count(), 2);
        QVERIFY(lops->list()->item(0)->text().startsWith(QStringLiteral("1)  ")));
        lops->close();
        page->close();
    }

    void calculateChecks() {
        QVERIFY2(haveEphemeris(), qPrintable(program_->ephemerisError));
        apAtChart();
        SextantDialog* page = window()->openSextant();
        page->bodyButton()->setChecked(true);
        page->asUtcBox()->setChecked(true);
        page->degreesBox()->setValue(30);

        // Outside the ephemeris: the message, with the website when one is set; nothing reduced.
        page->setPickers(julianDayFromCalendar(2500, 1, 1, 0.0));
        QString text;
        answerNextBox(QStringLiteral("calculateMessage"), QMessageBox::Ok, &text);
        QTest::mouseClick(page->calculateButton(), Qt::LeftButton);
        QVERIFY2(text.startsWith(QStringLiteral("Date is outside Ephemeris range.")), qPrintable(text));
        QVERIFY(text.endsWith(QStringLiteral("Ephemerides.")));
        QVERIFY(!page->detailsButton()->isEnabled());
        window()->preferences().website = QStringLiteral("https://celestra.example");
        answerNextBox(QStringLiteral("calculateMessage"), QMessageBox::Ok, &text);
        QTest::mouseClick(page->calculateButton(), Qt::LeftButton);
        QVERIFY2(text.endsWith(QStringLiteral("https://celestra.example")), qPrintable(text));
        window()->preferences().website.clear();

        // An AP days before the sight: "Yes" moves the AP time to the sight's.
        page->setPickers(kSightJd);
        doc().currentSight.observer.instant = kSightJd - 10.0;
        answerNextBox(QStringLiteral("apQuestion"), QMessageBox::Yes, &text);
        QTest::mouseClick(page->calculateButton(), Qt::LeftButton);
        QVERIFY(text.startsWith(QStringLiteral("Assumed Position (AP) may not be set correctly")));
        QCOMPARE(doc().currentSight.ApTime(), kSightJd);
        QVERIFY(page->resultLabel()->text().contains(QStringLiteral("along Az: ")));

        // An AP 600 NMi from the chart's position asks too; "No" keeps it.
        doc().currentSight.observer.latitude = kChartLatitude + 10.0;
        answerNextBox(QStringLiteral("apQuestion"), QMessageBox::No, &text);
        QTest::mouseClick(page->calculateButton(), Qt::LeftButton);
        QVERIFY(text.startsWith(QStringLiteral("Assumed Position (AP)")));
        QCOMPARE(doc().currentSight.observer.latitude, kChartLatitude + 10.0);
        QVERIFY(page->saveButton()->isEnabled());

        // Details of the reduced sight: 41 rows; the format buttons rewrite the values.
        QTest::mouseClick(page->detailsButton(), Qt::LeftButton);
        DetailsDialog* details = page->detailsDialog();
        QVERIFY(details);
        QCOMPARE(details->table()->rowCount(), kDetailRowCount);
        QTest::mouseClick(details->formatButton(2), Qt::LeftButton);
        QCOMPARE(details->formatButton(2)->text(), QString::fromUtf8("DMS: 1\u00b0 2 ' 3 \""));
        const QString dms = details->table()->item(1, 2)->text();
        grab(details, QStringLiteral("details.png"));
        QTest::mouseClick(details->formatButton(0), Qt::LeftButton);
        const QString decimal = details->table()->item(1, 2)->text();
        QVERIFY2(dms.contains(QLatin1Char('"')) && decimal.startsWith(QStringLiteral("30.")) &&
                     !decimal.contains(QLatin1Char('\'')),
                 qPrintable(dms + " / " + decimal));
        QCOMPARE(details->table()->item(1, 1)->text(), QStringLiteral("Hs"));
        details->close();
        QCoreApplication::processEvents();
        // The result follows the format chosen on the Details page.
        std::string expected;
        formatResult(doc().currentSight, 0, expected);
        QCOMPARE(page->resultLabel()->text(), displayText(expected));
        page->close();
    }

    void localTimeInTheChartsZoneAndTheAltitudeAsEntered() {
        QVERIFY2(haveEphemeris(), qPrintable(program_->ephemerisError));
        doc().sights.Clear();
        apAtChart();
        // The chart keeps UTC-1 h, a custom zone.
        const ZoneChoice zone = window()->preferences().zone;
        window()->preferences().zone.source = ZoneSource::Custom;
        window()->preferences().zone.customHours = -1.0;
        doc().observer.zoneOffset = -1.0 / 24.0;
        SextantDialog* page = window()->openSextant();
        page->asUtcBox()->setChecked(false);
        pickStar(page, 2491);
        page->setPickers(kSightJd);
        QCOMPARE(page->timeEdit()->time(), QTime(8, 30, 0));  // 09:30 UTC
        QCOMPARE(doc().currentSight.observationTime, kSightJd);
        page->degreesBox()->setValue(48);
        page->minutesBox()->setValue(12.7);
        QTest::mouseClick(page->calculateButton(), Qt::LeftButton);
        QVERIFY(page->detailsButton()->isEnabled());
        QTest::mouseClick(page->detailsButton(), Qt::LeftButton);
        DetailsDialog* details = page->detailsDialog();
        QVERIFY(details);
        QTest::mouseClick(details->formatButton(1), Qt::LeftButton);
        const auto value = [details](const char* measurement) {
            for (int r = 0; r < details->table()->rowCount(); ++r)
                if (details->table()->item(r, 0)->text().trimmed() == QLatin1String(measurement))
                    return details->table()->item(r, 2)->text();
            return QString();
        };
        QCOMPARE(value("Sextant Alt."), QStringLiteral("48°12.70'"));
        QVERIFY2(value("Obs Time, UTC").startsWith(QStringLiteral("09:30:00")), qPrintable(value("Obs Time, UTC")));
        QVERIFY2(value("Obs Time, Loc.").startsWith(QStringLiteral("08:30:00")), qPrintable(value("Obs Time, Loc.")));
        details->close();
        // The LOPs list: the local time typed, Ho in degrees and minutes to 0.1'.
        QTest::mouseClick(page->saveButton(), Qt::LeftButton);
        LopsDialog* lops = window()->openLops();
        const QString row = lops->list()->item(0)->text();
        QVERIFY2(row.contains(QRegularExpression(QStringLiteral(" 08:30:00     \\d\\d°\\d\\d\\.\\d'   "))),
                 qPrintable(row));
        lops->close();
        page->close();
        doc().sights.Clear();
        window()->preferences().zone = zone;
        doc().observer.zoneOffset = 0.0;
    }

    void inconsistentSightWarning() {
        doc().sights.Clear();
        CMeasure a(CObserverState(kSightJd, 0.0));
        a.active = 1;
        a.bodyIndex = 2491;
        a.observationTime = kSightJd;
        CMeasure b = a;
        b.observer.instant += 1.0 / 24.0;
        doc().sights.Append(a);
        doc().sights.Append(b);
        LopsDialog* lops = window()->openLops();
        QString text;
        answerNextBox(QStringLiteral("inconsistentSight"), QMessageBox::Cancel, &text);
        QTest::mouseClick(lops->graphButton(), Qt::LeftButton);
        QVERIFY2(text.contains(QStringLiteral("index 2 ")), qPrintable(text));
        QVERIFY(!lops->graphDialog());
        // Without a selected row Remove and Details do nothing.
        lops->list()->clearSelection();
        lops->list()->setCurrentRow(-1);
        QTest::mouseClick(lops->removeButton(), Qt::LeftButton);
        QTest::mouseClick(lops->detailsButton(), Qt::LeftButton);
        QCOMPARE(doc().sights.Count(), size_t{2});
        QVERIFY(!lops->detailsDialog());
        QVERIFY(lops->isVisible());
        lops->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close)->click();
        QVERIFY(!lops->isVisible());
        doc().sights.Clear();
    }

    void enviroRanges() {
        EnviroDialog* page = window()->openEnviro();
        CMeasure& sight = doc().currentSight;
        sight.correctionsDisabled = 0;
        const double height = sight.observer.height;
        QLineEdit* field = page->field(EnviroField::Height);
        field->setText(QStringLiteral("40000"));
        QVERIFY(!page->apply());
        QVERIFY2(
            page->messageLabel()->text().startsWith(QStringLiteral("Height of eye must be a number from 0 to 30000")),
            qPrintable(page->messageLabel()->text()));
        QCOMPARE(sight.observer.height, height);
        page->done(QDialog::Accepted);  // refused: the page stays
        QVERIFY(page->isVisible());
        field->setText(QStringLiteral("12.5"));
        page->field(EnviroField::IndexCorrection)->setText(QStringLiteral("-1.5"));
        QVERIFY(page->apply());
        QCOMPARE(sight.observer.height, 12.5);
        QCOMPARE(sight.indexCorrection, -1.5 / 60.0);
        QVERIFY(page->messageLabel()->text().isEmpty());
        page->field(EnviroField::Pressure)->setText(QStringLiteral("abc"));
        QVERIFY(!page->apply());
        QVERIFY(page->messageLabel()->text().contains(QStringLiteral("860 to 1085")));

        page->field(EnviroField::Pressure)->setText(QStringLiteral("990"));
        page->field(EnviroField::Temperature)->setText(QStringLiteral("25"));
        QTest::mouseClick(page->stpButton(), Qt::LeftButton);
        QCOMPARE(sight.observer.pressure, 1010.0);
        QCOMPARE(sight.observer.temperature, 10.0);
        QCOMPARE(page->field(EnviroField::Pressure)->text(), QStringLiteral("1010"));
        grab(page, QStringLiteral("enviro.png"));

        page->disableBox()->setChecked(true);
        QCOMPARE(sight.correctionsDisabled, 1);
        QVERIFY(!page->field(EnviroField::Temperature)->isEnabled());
        QVERIFY(!page->dipShortBox()->isEnabled());
        QVERIFY(page->field(EnviroField::Height)->isEnabled());
        // A greyed field is not checked: the page can be left.
        page->field(EnviroField::Pressure)->setText(QStringLiteral("5"));
        QVERIFY(page->apply());
        page->disableBox()->setChecked(false);
        page->field(EnviroField::Pressure)->setText(QStringLiteral("1010"));
        page->done(QDialog::Accepted);
        QVERIFY(!page->isVisible());
    }

    void pagesFollowTheColourScheme() {
        // The Red scheme's dialog colours reach the pages and the graph's ink.
        const CColorScheme& red = doc().colorSchemes.forPreset(kPresetRed);
        applyProgramColors(red);
        EnviroDialog* page = window()->openEnviro();
        QCOMPARE(page->palette().color(QPalette::Window), colorOf(red.colors[DialogBackground]));
        QCOMPARE(page->palette().color(QPalette::WindowText), colorOf(red.colors[DialogText]));
        LopGraph graph;
        graph.halfSpanNm = 5.0;
        LopGraphView view(graph);
        view.resize(200, 200);
        const QImage image = view.grab().toImage();
        QCOMPARE(image.pixelColor(190, 100).rgb(), view.palette().color(QPalette::Base).rgb());
        bool inked = false;  // the "AP" mark and the prompt
        for (int y = 0; y < image.height() && !inked; ++y)
            for (int x = 0; x < image.width() && !inked; ++x)
                inked = image.pixelColor(x, y).rgb() == colorOf(red.colors[DialogText]).rgb();
        QVERIFY(inked);
        grab(page, QStringLiteral("enviro-red.png"));
        page->close();
        applyProgramColors(doc().colorSchemes.forPreset(kPresetBlack));
    }
};

int main(int argc, char** argv) {
    celestra::test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    NavPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "nav_pages_test.moc"
