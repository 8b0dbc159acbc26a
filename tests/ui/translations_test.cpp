// The translations: the German file is complete and keeps every placeholder,
// accelerator and indent of its English texts; the sources hold no text that
// the file lacks (lupdate and lrelease say so); the program shows German for
// a German desktop and English otherwise. With CELESTRA_PAGE_SHOTS set, each
// page is saved there as a PNG in German, to be looked at.
#include "ui/translations.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>
#include <QXmlStreamReader>
#include <map>

#include "tests/ui/qt_test_support.h"
#include "ui/almanac_pages.h"
#include "ui/calculator_pages.h"
#include "ui/color_scheme_dialog.h"
#include "ui/export_dialog.h"
#include "ui/first_start_page.h"
#include "ui/gps_page.h"
#include "ui/help_window.h"
#include "ui/nautical_almanac_page.h"
#include "ui/nav_pages.h"
#include "ui/object_pages.h"
#include "ui/program.h"
#include "ui/sight_planner_page.h"

using namespace celestra;

namespace {

struct Message {
    QString context, source, translation, type;
};

QList<Message> readTs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    QXmlStreamReader xml(&file);
    QList<Message> out;
    QString context;
    Message m;
    while (xml.readNext() != QXmlStreamReader::EndDocument && !xml.hasError()) {
        if (!xml.isStartElement()) continue;
        if (xml.name() == QLatin1String("name")) context = xml.readElementText();
        else if (xml.name() == QLatin1String("message")) m = Message{context, {}, {}, {}};
        else if (xml.name() == QLatin1String("source")) m.source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation")) {
            m.type = xml.attributes().value(QLatin1String("type")).toString();
            m.translation = xml.readElementText();
            out << m;
        }
    }
    return xml.hasError() ? QList<Message>{} : out;
}

// "%1".."%9" (and "%L1"), sorted, each as often as it stands.
QStringList placeholders(const QString& text) {
    static const QRegularExpression re(QStringLiteral("%L?[1-9]"));
    QStringList out;
    for (auto it = re.globalMatch(text); it.hasNext();) out << it.next().captured();
    out.sort();
    return out;
}

// Accelerator marks: a single '&' ("&&" is a literal ampersand).
int accelerators(const QString& text) {
    return static_cast<int>(QString(text).remove(QStringLiteral("&&")).count(QLatin1Char('&')));
}

QString leadingBlanks(const QString& text) {
    qsizetype n = 0;
    while (n < text.size() && text.at(n).isSpace()) ++n;
    return text.left(n);
}

QString runTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(tool, args);
    if (!p.waitForFinished(120000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return QStringLiteral("FAILED: ") + QString::fromLocal8Bit(p.readAll());
    return QString::fromLocal8Bit(p.readAll());
}

}  // namespace

class TranslationsTest : public QObject {
    Q_OBJECT
    QString ts_ = QStringLiteral(CELESTRA_SOURCE_DIR "/resources/translations/celestra_de.ts");
    QStringList folders_{QStringLiteral(CELESTRA_TRANSLATIONS_DIR)};

    // With CELESTRA_PAGE_SHOTS set, a PNG of the page there.
    static void shoot(QWidget* page, const QString& name) {
        const QString dir = qEnvironmentVariable("CELESTRA_PAGE_SHOTS");
        if (dir.isEmpty()) return;
        page->show();
        QCoreApplication::processEvents();
        page->grab().save(dir + QStringLiteral("/de-%1.png").arg(name));
    }
    // Texts of a page that are English sources the German file translates
    // otherwise: a text set without going through the translation.
    QStringList untranslated(const QStringList& texts) const {
        static const QSet<QString> english = [this] {
            QSet<QString> set;
            for (const Message& m : readTs(ts_))
                if (m.translation != m.source && !m.source.contains(QLatin1Char('%'))) set.insert(m.source);
            return set;
        }();
        QStringList found;
        // Single letters are the hemispheres of a coordinate (N, S, E, W), kept as navigators write them.
        for (const QString& t : texts)
            if (t.size() > 1 && english.contains(t)) found << t;
        return found;
    }
    void checkPage(QWidget* page, const QString& name, const QStringList& kept = {}) {
        shoot(page, name);
        QStringList left = untranslated(test::visibleTexts(page));
        for (const QString& k : kept) left.removeAll(k);
        QVERIFY2(left.isEmpty(), qPrintable(name + QStringLiteral(": ") + left.join(QLatin1Char('|'))));
    }

private slots:
    // Every message finished, with the placeholders, accelerators and
    // leading blanks (a Details row's indent) of its English text.
    void germanFileIsCompleteAndKeepsItsMarks() {
        const QList<Message> messages = readTs(ts_);
        QVERIFY(messages.size() > 400);
        for (const Message& m : messages) {
            const QString where = m.context + QStringLiteral(": ") + m.source;
            QVERIFY2(m.type.isEmpty() && !m.translation.isEmpty(), qPrintable(where));
            QVERIFY2(placeholders(m.source) == placeholders(m.translation), qPrintable(where));
            QVERIFY2(accelerators(m.source) == accelerators(m.translation), qPrintable(where));
            QVERIFY2(leadingBlanks(m.source) == leadingBlanks(m.translation), qPrintable(where));
            QCOMPARE(m.source.endsWith(QLatin1Char('\n')), m.translation.endsWith(QLatin1Char('\n')));
        }
    }

    // lupdate over today's sources finds nothing new and nothing gone, and
    // lrelease finishes every message.
    void sourcesHaveNoTextTheFileLacks() {
        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("celestra_de.ts"));
        QVERIFY(QFile::copy(ts_, copy));
        const QString src = QStringLiteral(CELESTRA_SOURCE_DIR);
        QStringList args{src + QStringLiteral("/ui"),
                         src + QStringLiteral("/app"),
                         QStringLiteral("-I"),
                         src,
                         QStringLiteral("-extensions"),
                         QStringLiteral("cpp,h"),
                         QStringLiteral("-no-obsolete"),
                         QStringLiteral("-locations"),
                         QStringLiteral("none"),
                         QStringLiteral("-ts"),
                         copy};
        const QString update = runTool(QStringLiteral(CELESTRA_LUPDATE), args);
        static const QRegularExpression found(QStringLiteral("Found (\\d+) source text\\(s\\) \\((\\d+) new"));
        const auto f = found.match(update);
        QVERIFY2(f.hasMatch(), qPrintable(update));
        QCOMPARE(f.captured(2).toInt(), 0);
        QCOMPARE(f.captured(1).toInt(), static_cast<int>(readTs(ts_).size()));
        const QString release = runTool(QStringLiteral(CELESTRA_LRELEASE),
                                        {copy, QStringLiteral("-qm"), dir.filePath(QStringLiteral("x.qm"))});
        QVERIFY2(release.contains(QStringLiteral("finished and 0 unfinished")) &&
                     !release.contains(QStringLiteral("Ignored")),
                 qPrintable(release));
    }

    // English and C desktops get no translation: the texts are the sources.
    void englishIsTheDefault() {
        for (const char* name : {"en_US", "en_GB", "C"})
            QCOMPARE(installTranslations(QLocale(QString::fromLatin1(name)), folders_), QString());
        // A language without a file falls back to English too.
        QCOMPARE(installTranslations(QLocale(QStringLiteral("ja_JP")), folders_), QString());
        JulianDayDialog page;
        QCOMPARE(page.windowTitle(), QStringLiteral("Julian Day"));
        QCOMPARE(engineText("  Height"), QStringLiteral("  Height"));
        QCOMPARE(bodyText("Sun"), QStringLiteral("Sun"));
        QCOMPARE(translationLocale(), QLocale::c());
    }

    // Last: installs German for the rest of the program's life.
    void germanDesktopGetsGerman() {
        QCOMPARE(installTranslations(QLocale(QStringLiteral("de_DE")), folders_), QStringLiteral("de"));
        // Dates and Qt's own texts as on a German desktop, whatever the machine's locale.
        QLocale::setDefault(QLocale(QStringLiteral("de_DE")));
        JulianDayDialog julian;
        QCOMPARE(julian.windowTitle(), QStringLiteral("Julianisches Datum"));
        // The engine's texts: whole, line by line with their indent, and in parts.
        QCOMPARE(engineText("  Height"), QStringLiteral("  Augeshöhe"));
        QCOMPARE(
            engineText("Date is outside Ephemeris range.\r\nYou can download larger\r\nEphemerides."),
            QStringLiteral("Das Datum liegt außerhalb der Ephemeride.\r\nGrößere Ephemeriden\r\nlassen sich laden."));
        QCOMPARE(engineText("Sun, Upper Limb"), QStringLiteral("Sonne, Oberrand"));
        QCOMPARE(engineText("1.25 nMi toward AP\nalong Az: 123.4"), QStringLiteral("1.25 sm zum AP hin\nin Az: 123.4"));
        QCOMPARE(engineText("Sirius"), QStringLiteral("Sirius"));
        QCOMPARE(ChartRenderer::tr("FOV: %1"), QStringLiteral("Feld: %1"));
        // The almanac's month and day names follow the texts' language.
        QCOMPARE(translationLocale().monthName(10), QStringLiteral("Oktober"));

        auto program = test::startProgramForTest();
        QVERIFY(program);
        MainWindow* window = program->window.get();
        QCOMPARE(window->menuBar()->actions().first()->text(), QStringLiteral("Menü"));
        checkPage(window, QStringLiteral("main"));
        // The menu and its sub-menus.
        QStringList items;
        for (QMenu* menu : window->findChildren<QMenu*>())
            for (QAction* a : menu->actions()) items << a->text();
        QVERIFY(items.contains(QStringLiteral("Beobachtungsplaner...")));
        QVERIFY2(untranslated(items).isEmpty(), qPrintable(untranslated(items).join(QLatin1Char('|'))));
        for (int page = 0; page < 3; ++page) {
            window->openSettings(static_cast<SettingsDialog::Page>(page));
            QDialog* settings = window->lastPage();
            checkPage(settings, QStringLiteral("settings-%1").arg(page));
            settings->close();
        }
        DocumentData& doc = program->document;
        doc.currentSight.observer = doc.observer;
        SextantDialog* sextant = window->openSextant();
        sextant->setPickers(doc.observer.instant);
        sextant->minutesBox()->setValue(12.3);
        sextant->calculate();
        sextant->saveLop();
        checkPage(sextant, QStringLiteral("sextant"));
        sextant->openDetails();
        checkPage(sextant->detailsDialog(), QStringLiteral("details"));
        sextant->minutesBox()->setValue(14.7);
        sextant->calculate();
        sextant->saveLop();
        sextant->close();
        EnviroDialog* enviro = window->openEnviro();
        checkPage(enviro, QStringLiteral("enviro"));
        enviro->close();
        LopsDialog* lops = window->openLops();
        checkPage(lops, QStringLiteral("lops"));
        lops->openGraph();
        if (lops->graphDialog()) checkPage(lops->graphDialog(), QStringLiteral("lop-graph"));
        lops->close();
        window->chart()->setSelection({ChartSelection::Kind::Body, 11});
        test::waitForSkyModel(*program->model);
        window->openInfo();
        checkPage(window->lastPage(), QStringLiteral("info"));
        window->lastPage()->close();
        window->openFind();
        checkPage(window->lastPage(), QStringLiteral("find"));
        window->lastPage()->close();

        GreatCircleDialog gc(doc);
        gc.compute();
        RangeBearingDialog rb(doc);
        rb.distanceEdit->setText(QStringLiteral("123.5"));
        rb.compute();
        HorizonDialog horizon;
        horizon.compute();
        DmsDialog dms;
        RiseSetDialog riseSet(doc, nullptr, window->zoneRule());
        LunarPhaseDialog lunar(doc, nullptr, window->zoneRule());
        NauticalAlmanacDialog almanac(doc);
        SightPlannerDialog planner(doc);
        ColorSchemeDialog colors(doc, *window->chart());
        GpsPage gps(window->preferences());
        ExportDialog exportPage(ChartPicture{}, QSize(800, 600), QDir::tempPath());
        HelpWindow help;  // its pages are English; the window is not
        help.showTopic(QStringLiteral("index"));
        FirstStartPage first(doc, window->preferences());
        first.search()->setText(QStringLiteral("Hamburg"));
        const std::map<QString, QWidget*> pages = {
            {QStringLiteral("great-circle"), &gc},       {QStringLiteral("range-bearing"), &rb},
            {QStringLiteral("horizon"), &horizon},       {QStringLiteral("dms"), &dms},
            {QStringLiteral("julian-day"), &julian},     {QStringLiteral("rise-set"), &riseSet},
            {QStringLiteral("lunar-phase"), &lunar},     {QStringLiteral("almanac"), &almanac},
            {QStringLiteral("sight-planner"), &planner}, {QStringLiteral("gps"), &gps},
            {QStringLiteral("export"), &exportPage},     {QStringLiteral("help"), &help},
            {QStringLiteral("first-start"), &first}};
        for (const auto& [name, page] : pages) checkPage(page, name);
        // The colour keys are the colour file's own names.
        QStringList keys;
        for (QListWidget* list : colors.findChildren<QListWidget*>())
            for (int i = 0; i < list->count(); ++i) keys << list->item(i)->text();
        checkPage(&colors, QStringLiteral("colors"), keys);
    }
};

int main(int argc, char** argv) {
    test::prepareQtTestEnvironment();
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("Celestra"));
    QApplication::setApplicationName(QStringLiteral("Celestra"));
    TranslationsTest t;
    return QTest::qExec(&t, argc, argv);
}

#include "translations_test.moc"
