// The navigator's pages as a user drives them: the Almanac (pages, date
// navigation, PDF export), the Sight Planner (the plan, its diagram, rings
// on the chart) and the LOPs page's sight log (export, import back, a
// damaged file refused whole, the reduction form as PDF). Set
// CELESTRA_UI_GRAB_DIR to have the pages written there as PNGs.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <clocale>
#include <string>

#include "core/time_scales.h"
#include "navigation/sight_log.h"
#include "navigation/sight_reduction.h"
#include "tests/ui/qt_test_support.h"
#include "ui/nautical_almanac_page.h"
#include "ui/nautical_almanac_print.h"
#include "ui/nav_pages.h"
#include "ui/program.h"
#include "ui/sight_planner_page.h"

using namespace celestra;

namespace {

void grab(QWidget* page, const QString& file) {
    const QByteArray dir = qgetenv("CELESTRA_UI_GRAB_DIR");
    if (dir.isEmpty()) return;
    QCoreApplication::processEvents();
    page->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + file);
}

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

class NavigatorPagesTest : public QObject {
    Q_OBJECT
private:
    std::unique_ptr<Program> program_;
    QTemporaryDir files_;
    MainWindow* window() { return program_->window.get(); }
    DocumentData& doc() { return program_->document; }
    bool haveEphemeris() { return program_->ephemerisError.isEmpty(); }
    QString file(const char* name) { return files_.filePath(QString::fromLatin1(name)); }

    // Four star sights reduced at the chart's place on 2024-03-20 evening.
    void fourSights() {
        doc().sights.Clear();
        NavigationState state(doc(), window()->preferences());
        const int stars[] = {2491, 3982, 424, 1457};
        for (int i = 0; i < 4; ++i) {
            CMeasure m(CObserverState(julianDayFromCalendar(2024, 3, 20, 20.25), 0.0));
            m.observer.latitude = 36.5;
            m.observer.longitude = -24.3;
            m.isStar = 1;
            m.bodyIndex = stars[i];
            m.observationTime = m.observer.instant + i * 60.0 / 86400.0;
            m.timeEnteredAsUtc = 1;
            m.active = 1;
            QCOMPARE(reduceSight(m, state.place, 25.0 + 7.5 * i), Status::Ok);
            doc().sights.Append(m);
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(files_.isValid());
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), false);
        program_ = startProgram(QCoreApplication::applicationFilePath());
        window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(window()));
        program_->model->waitIdle();
        doc().observer.instant = julianDayFromCalendar(2024, 3, 19, 12.0);
        doc().observer.latitude = 36.5;
        doc().observer.longitude = -24.3;
    }
    void cleanupTestCase() { program_.reset(); }

    void almanacPagesNavigateAndExport() {
        QVERIFY2(haveEphemeris(), qPrintable(program_->ephemerisError));
        NauticalAlmanacDialog page(doc(), window());
        page.show();
        QVERIFY(page.valid());
        QCOMPARE(page.date->date(), QDate(2024, 3, 19));
        QCOMPARE(page.almanac().days.size(), size_t{3});
        QCOMPARE(page.almanac().events.size(), 3 * kAlmanacLatitudes.size());
        QCOMPARE(page.pageBox->count(), kAlmanacDailyPages + kAlmanacIncrementPages);
        grab(&page, QStringLiteral("almanac-left.png"));
        page.pageBox->setCurrentIndex(1);
        QCOMPARE(page.view->page(), 1);
        grab(&page, QStringLiteral("almanac-right.png"));

        QTest::mouseClick(page.forward3, Qt::LeftButton);
        QCOMPARE(page.date->date(), QDate(2024, 3, 22));
        QCOMPARE(page.almanac().days.front().day, 22);
        QTest::mouseClick(page.back1, Qt::LeftButton);
        QCOMPARE(page.almanac().days.front().day, 21);

        // The PDF: two daily pages, or 32 with the increments.
        page.increments->setChecked(false);
        QVERIFY(page.exportTo(file("almanac.pdf")));
        const QByteArray pdf = readAll(file("almanac.pdf"));
        QVERIFY(pdf.startsWith("%PDF-"));
        QCOMPARE(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page "), 2);
        page.increments->setChecked(true);
        page.paper->setCurrentIndex(1);
        QVERIFY(page.exportTo(file("almanac-letter.pdf")));
        QVERIFY(readAll(file("almanac-letter.pdf")).size() > pdf.size());
        // A file that cannot be written leaves a message, not a crash.
        QVERIFY(!page.exportTo(file("no-such-folder/almanac.pdf")));
        QVERIFY(page.message->text().contains(QStringLiteral("Cannot write")));

        // Outside the ephemeris: no daily pages, and nothing to print.
        page.date->setDate(QDate(2070, 1, 1));
        QVERIFY(!page.valid());
        QVERIFY(!page.print->isEnabled());
        QVERIFY(page.message->text().contains(QStringLiteral("outside the ephemeris")));
        page.pageBox->setCurrentIndex(kAlmanacDailyPages);  // the increments still show
        grab(&page, QStringLiteral("almanac-increments.png"));
    }

    void plannerChoosesAndMarksTheChart() {
        QVERIFY2(haveEphemeris(), qPrintable(program_->ephemerisError));
        const std::unique_ptr<SightPlannerDialog> planner = window()->makeSightPlanner();
        SightPlannerDialog& page = *planner;
        page.show();
        page.date->setDate(QDate(2024, 3, 20));
        page.evening->setChecked(true);
        QTest::mouseClick(page.plan, Qt::LeftButton);
        const SightPlan& plan = page.result();
        QCOMPARE(plan.status, Status::Ok);
        QCOMPARE(plan.best.size(), size_t{3});
        QCOMPARE(page.table->rowCount(), static_cast<int>(plan.bodies.size()));
        QVERIFY(page.summary->text().contains(QStringLiteral("Best set: ")));
        QVERIFY(page.markOnChart->isEnabled());
        // The first chosen body's row is bold, and the diagram puts it where its Hc and Zn say.
        const PlanBody& first = plan.bodies[plan.best[0]];
        QVERIFY(page.table->item(static_cast<int>(plan.best[0]), 0)->font().bold());
        const QPointF at = page.diagram->pointOf(first.hc, first.zn);
        QVERIFY(page.diagram->rect().contains(at.toPoint()));
        grab(&page, QStringLiteral("planner.png"));

        QTest::mouseClick(page.markOnChart, Qt::LeftButton);
        QCOMPARE(window()->chart()->marks().size(), size_t{3});
        QCOMPARE(window()->chart()->marks()[0].label, QString::fromStdString(first.name));
        QVERIFY(std::abs(doc().observer.instant - plan.utc) < 1e-6);
        program_->model->waitIdle();
        grab(window(), QStringLiteral("planner-chart.png"));

        // Too narrow a band: the note says so and there is nothing to mark.
        page.minAltitude->setValue(56);
        page.maxAltitude->setValue(57);
        page.count->setValue(5);
        QTest::mouseClick(page.plan, Qt::LeftButton);
        QVERIFY2(page.summary->text().contains(QStringLiteral("needs 5")), qPrintable(page.summary->text()));
        window()->chart()->setMarks({});
    }

    void sightLogRoundTripAndDamagedImport() {
        QVERIFY2(haveEphemeris(), qPrintable(program_->ephemerisError));
        fourSights();
        LopsDialog* lops = window()->openLops();
        QCOMPARE(lops->list()->count(), 4);
        QString error;
        // Written and read in a locale with a decimal comma, as the desktop runs.
        const std::string numeric = std::setlocale(LC_NUMERIC, nullptr);
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        QVERIFY2(lops->exportSights(file("sights.jsonl"), error), qPrintable(error));
        QVERIFY2(lops->exportCsv(file("sights.csv"), error), qPrintable(error));
        QCOMPARE(readAll(file("sights.csv")).count("\r\n"), 5);
        const QByteArray lines = readAll(file("sights.jsonl"));
        QCOMPARE(lines.count('\n'), 4);
        QVERIFY2(lines.contains("\"ap_lat\": 36.5, \"ap_lon\": -24.3"), lines.constData());

        // Read back: appended after the four.
        QVERIFY2(lops->importSights(file("sights.jsonl"), error), qPrintable(error));
        QCOMPARE(doc().sights.Count(), size_t{8});
        QCOMPARE(lops->list()->count(), 8);
        for (size_t i = 0; i < 4; ++i)
            QVERIFY(std::abs(doc().sights.At(i + 4).intercept - doc().sights.At(i).intercept) < 1e-6);

        // A file whose third line is damaged changes nothing, and says where.
        QFile damaged(file("damaged.jsonl"));
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        const QList<QByteArray> parts = lines.split('\n');
        damaged.write(parts[0] + "\n" + parts[1] + "\n" + parts[2].left(30) + "\n" + parts[3] + "\n");
        damaged.close();
        QVERIFY(!lops->importSights(file("damaged.jsonl"), error));
        QVERIFY2(error.contains(QStringLiteral("line 3: ")), qPrintable(error));
        QVERIFY(error.contains(QStringLiteral("No sight was imported")));
        QCOMPARE(doc().sights.Count(), size_t{8});
        QVERIFY(!lops->importSights(files_.path(), error));  // a folder is no sight file
        QCOMPARE(doc().sights.Count(), size_t{8});
        std::setlocale(LC_NUMERIC, numeric.c_str());

        // The reduction form of the selected sight.
        lops->list()->setCurrentRow(1);
        QVERIFY2(lops->exportFormPdf(file("form.pdf"), error), qPrintable(error));
        QVERIFY(readAll(file("form.pdf")).startsWith("%PDF-"));
        if (const QByteArray dir = qgetenv("CELESTRA_UI_GRAB_DIR"); !dir.isEmpty())
            lops->exportFormPdf(QString::fromLocal8Bit(dir) + QStringLiteral("/sight-form.pdf"), error);
        grab(lops, QStringLiteral("lops-sight-log.png"));
        lops->close();
        doc().sights.Clear();
    }
};

int main(int argc, char** argv) {
    celestra::test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    NavigatorPagesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "navigator_pages_test.moc"
