#include "ui/main_window.h"

#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

#include "app/web_links.h"
#include "core/time_scales.h"
#include "solarsystem/comet_download.h"
#include "ui/almanac_pages.h"
#include "ui/calculator_pages.h"
#include "ui/chart_overlays.h"
#include "ui/color_scheme_dialog.h"
#include "ui/export_dialog.h"
#include "ui/first_start_page.h"
#include "ui/help_window.h"
#include "ui/image_library.h"
#include "ui/nautical_almanac_page.h"
#include "ui/nav_pages.h"
#include "ui/object_pages.h"
#include "ui/program_colors.h"
#include "ui/sight_planner_page.h"
#include "ui/translations.h"

namespace celestra {

MainWindow::MainWindow(DocumentData& document, const AppPaths& paths, const DisplayMetrics& metrics, SkyModel& model,
                       QWidget* parent)
    : QMainWindow(parent),
      doc_(document),
      paths_(paths),
      model_(model),
      prefs_(loadPreferences()),
      images_(std::make_unique<ImageLibrary>(paths.dataFolder.empty()
                                                 ? QString()
                                                 : QString::fromStdString(paths.dataFolder) + QLatin1Char('/') +
                                                       QLatin1String(kImageLibraryFileName))) {
    // The zone the time page chose (the system's, the longitude's or a custom one), for now.
    doc_.observer.zoneOffset = zoneOffsetDays(prefs_.zone, currentJulianDayUtc(), doc_.observer.longitude);
    setWindowTitle(QStringLiteral("Celestra"));
    chart_ = new ChartView(doc_, model_, this);
    chart_->setZoneRule([this](double jdUtc) { return zoneOffsetDays(prefs_.zone, jdUtc, doc_.observer.longitude); });
    setCentralWidget(chart_);

    status_ = new QLabel(this);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(static_cast<int>(160 * metrics.displayScale));
    progress_->hide();
    statusBar()->addWidget(status_, 1);
    statusBar()->addPermanentWidget(progress_);
    // Altitude, azimuth, right ascension and declination under the pointer.
    pointer_ = new QLabel(this);
    statusBar()->addPermanentWidget(pointer_);
    connect(chart_, &ChartView::pointerPlaceChanged, pointer_, &QLabel::setText);
    connect(chart_, &ChartView::statusChanged, status_, &QLabel::setText);
    connect(
        &model_, &SkyModel::buildProgress, this,
        [this](int percent, const QString& text) {
            progress_->setVisible(percent < 100);
            progress_->setValue(percent);
            if (!text.isEmpty()) status_->setText(text);
        },
        Qt::QueuedConnection);

    buildMenu();
    buildCommandBar(metrics);
    connect(chart_, &ChartView::infoRequested, this, &MainWindow::openInfo);
    connect(chart_, &ChartView::findRequested, this, &MainWindow::openFind);
    connect(chart_, &ChartView::timeSettingsRequested, this, [this] { openSettings(SettingsDialog::TimePage); });

    connect(chart_, &ChartView::colorSchemeApplied, this,
            [this](int preset) { applyProgramColors(doc_.colorSchemes.forPreset(preset)); });
    connect(chart_, &ChartView::magnitudeLimitChanged, magnitude_, &QComboBox::setCurrentIndex);
    connect(chart_, &ChartView::fullScreenRequested, this, [this](bool on) {
        if (on) showFullScreen();
        else showNormal();
    });

    auto* save = new QAction(tr("Save"), this);
    save->setShortcut(QKeySequence::Save);
    connect(save, &QAction::triggered, this, &MainWindow::Save);
    addAction(save);

    placeOnScreen(metrics);
    chart_->setFocus();
}

namespace {
const QString kGeometryKey = QStringLiteral("MainWindow/Geometry");
}  // namespace

void MainWindow::placeOnScreen(const DisplayMetrics& metrics) {
    const QScreen* screen = this->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1000, 720);
    const bool restored = restoreGeometry(QSettings().value(kGeometryKey).toByteArray());
    if (!restored) {
        // 1000 × 720 at 96 DPI, or nine tenths of the screen where that is smaller.
        const QSize wanted(static_cast<int>(1000 * metrics.displayScale), static_cast<int>(720 * metrics.displayScale));
        resize(wanted.boundedTo(available.size() * 0.9));
        move(available.center() - rect().center());
    }
    // A geometry saved on a larger or another screen: never beyond this one.
    // The frame's decorations are not known before the window is shown, so
    // the window's own size is kept within the available area.
    if (width() > available.width() || height() > available.height()) resize(size().boundedTo(available.size()));
    if (!available.intersects(geometry())) move(available.topLeft());
}

void MainWindow::buildMenu() {
    QMenu* menu = menuBar()->addMenu(tr("Menu"));
    menu->addAction(tr("3D - Orrery"), this, [this] {
        chart_->setOrreryMode(true);
        chart_->setFocus();
    });
    menu->addAction(tr("2D - Star Chart"), this, [this] {
        chart_->setOrreryMode(false);
        chart_->setFocus();
        chart_->update();
    });
    menu->addSeparator();
    menu->addAction(tr("Info..."), this, &MainWindow::openInfo);
    menu->addAction(tr("Find..."), this, &MainWindow::openFind);
    // The pages are modal; each opens over the chart and gives the focus back.
    auto page = [this](auto makeDialog) {
        return [this, makeDialog] {
            auto dialog = makeDialog();
            dialog->exec();
            chart_->setFocus();
        };
    };
    menu->addAction(tr("Rise Set Times..."), this,
                    page([this] { return std::make_unique<RiseSetDialog>(doc_, this, zoneRule()); }));
    menu->addAction(tr("Lunar Phase..."), this,
                    page([this] { return std::make_unique<LunarPhaseDialog>(doc_, this, zoneRule()); }));
    QMenu* calculators = menu->addMenu(tr("Calculators"));
    calculators->addAction(tr("Great Circle Distance..."), this,
                           page([this] { return std::make_unique<GreatCircleDialog>(doc_, this); }));
    calculators->addAction(tr("Range and Bearing..."), this,
                           page([this] { return std::make_unique<RangeBearingDialog>(doc_, this); }));
    calculators->addAction(tr("Horizon distance..."), this,
                           page([this] { return std::make_unique<HorizonDialog>(this); }));
    calculators->addAction(tr("DMS and HMS..."), this, page([this] { return std::make_unique<DmsDialog>(this); }));
    calculators->addAction(tr("Julian Day..."), this, page([this] { return std::make_unique<JulianDayDialog>(this); }));
    QMenu* preferences = menu->addMenu(tr("Preferences"));
    preferences->addAction(tr("General..."), this, [this] { openSettings(SettingsDialog::GeneralPage); });
    preferences->addAction(tr("Colors..."), this, &MainWindow::openColorsDialog);
    QMenu* navigation = menu->addMenu(tr("Navigation"));
    navigation->addAction(tr("Sextant..."), this, &MainWindow::openSextant);
    navigation->addAction(tr("Enviro..."), this, &MainWindow::openEnviro);
    navigation->addAction(tr("LOPs..."), this, &MainWindow::openLops);
    navigation->addSeparator();
    navigation->addAction(tr("Almanac..."), this,
                          page([this] { return std::make_unique<NauticalAlmanacDialog>(doc_, this); }));
    navigation->addAction(tr("Sight Planner..."), this, page([this] { return makeSightPlanner(); }));
    menu->addSeparator();
    menu->addAction(tr("Export Image..."), this, &MainWindow::exportImage);
    QAction* print = menu->addAction(tr("Print..."), this, &MainWindow::printChart);
    print->setShortcut(QKeySequence::Print);
    addAction(print);  // Ctrl+P with the menu closed
    menu->addSeparator();
    QMenu* help = menu->addMenu(tr("Help"));
    help->addAction(tr("Help..."), this, [this] { showHelp(QStringLiteral("index")); });
    spaceNews_ = help->addAction(tr("Space News"), this, [this] {
        const std::string url = newsUrl(prefs_.website.toStdString());
        if (!url.empty()) openWebPage(this, QString::fromStdString(url));
    });
    refreshSpaceNews();
    help->addAction(tr("About..."), this, &MainWindow::showAbout);
    help->addSeparator();
    help->addAction(tr("Exit"), this, &QWidget::close);
}

void MainWindow::buildCommandBar(const DisplayMetrics& metrics) {
    QToolBar* bar = addToolBar(tr("Command bar"));
    bar->setMovable(false);
    magnitude_ = new QComboBox(bar);
    for (int m = 2; m <= 7; ++m) magnitude_->addItem(QString::number(m), m * 1000);
    // 28 pixels per display scale holds a digit; the combo's own arrow needs more here.
    const int width = metrics.dpiX == 128 ? 36 : static_cast<int>(28 * metrics.displayScale);
    magnitude_->setMinimumWidth(std::max(width, magnitude_->sizeHint().width()));
    magnitude_->setToolTip(tr("Faintest magnitude drawn"));
    magnitude_->setCurrentIndex(magnitudeBoxIndex(doc_.drawState.magnitudeLimit));
    magnitude_->setFocusPolicy(Qt::NoFocus);
    connect(magnitude_, &QComboBox::activated, this, [this](int index) {
        chart_->setMagnitudeLimit(magnitude_->itemData(index).toInt() / 1000);
        chart_->setFocus();
    });
    bar->addWidget(magnitude_);

    auto* next = new QToolButton(bar);
    next->setText(tr("Scheme"));
    next->setToolTip(tr("Next color scheme (Shift: its defaults first)"));
    next->setFocusPolicy(Qt::NoFocus);
    connect(next, &QToolButton::clicked, this,
            [this] { chart_->NextColorScheme(QGuiApplication::keyboardModifiers() & Qt::ShiftModifier); });
    bar->addWidget(next);
}

ZoneRule MainWindow::zoneRule() const { return ZoneRule(prefs_.zone, doc_.observer.longitude); }

void MainWindow::openColorsDialog() {
    ColorSchemeDialog dialog(doc_, *chart_, this);
    dialog.exec();
    chart_->setFocus();
}

void MainWindow::refreshSpaceNews() {
    const std::string reason = projectWebsiteDisabledReason(prefs_.website.trimmed().toStdString());
    spaceNews_->setEnabled(reason.empty());
    spaceNews_->setToolTip(QString::fromStdString(reason));
    spaceNews_->setStatusTip(spaceNews_->toolTip());
}

void MainWindow::runPage(QDialog* page) {
    lastPage_ = page;
    if (modeless_) {
        page->setAttribute(Qt::WA_DeleteOnClose);
        page->show();
        return;
    }
    page->exec();
    delete page;
    lastPage_ = nullptr;
    chart_->setFocus();
}

void MainWindow::openSettings(SettingsDialog::Page page) {
    auto* dialog = new SettingsDialog(doc_, *chart_, model_, prefs_, page, this);
    connect(dialog, &SettingsDialog::helpRequested, this, &MainWindow::showHelp);
    connect(dialog, &SettingsDialog::preferencesChanged, this, &MainWindow::refreshSpaceNews);
    // Every change is in the document at once; it goes to disk when the sheet closes.
    connect(dialog, &QDialog::finished, this, [this] { Save(); });
    runPage(dialog);
}

void MainWindow::openInfo() {
    auto* dialog = new InfoDialog(chart_->renderer().selection(), *chart_, model_, prefs_, images_.get(), this);
    connect(dialog, &InfoDialog::helpRequested, this, &MainWindow::showHelp);
    runPage(dialog);
}

void MainWindow::openFind() {
    auto* dialog = new FindDialog(*chart_, this);
    connect(dialog, &FindDialog::helpRequested, this, &MainWindow::showHelp);
    runPage(dialog);
}

void MainWindow::showHelp(const QString& topic) {
    if (!help_) help_ = new HelpWindow(this);
    help_->showTopic(topic);
    help_->show();
    help_->raise();
}

ChartPicture MainWindow::chartPicture() const {
    ChartPicture picture;
    picture.sky = model_.snapshot();
    picture.state = doc_.drawState;
    picture.options = chartOptionsFor(doc_.drawState);
    picture.selection = chart_->renderer().selection();
    return picture;
}

void MainWindow::exportImage() {
    ExportDialog dialog(chartPicture(), chart_->size(), QString::fromStdString(paths_.dataFolder), this);
    dialog.exec();
    chart_->setFocus();
}

void MainWindow::printChart() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(chart_->width() >= chart_->height() ? QPageLayout::Landscape : QPageLayout::Portrait);
    QPrintDialog dialog(&printer, this);
    auto* options = new QWidget;
    options->setWindowTitle(tr("Chart"));
    auto* paper = new QCheckBox(tr("Black on white (for paper)"), options);
    paper->setChecked(true);
    auto* layout = new QVBoxLayout(options);
    layout->addWidget(paper);
    layout->addStretch();
    dialog.setOptionTabs({options});
    if (dialog.exec() == QDialog::Accepted)
        celestra::printChart(chartPicture(), chart_->size(), paper->isChecked(), doc_.colorSchemes.white, printer);
    chart_->setFocus();
}

void MainWindow::showAbout() { QMessageBox::about(this, tr("About Celestra"), aboutText()); }

MainWindow::~MainWindow() = default;

namespace {

// Shows a page that may already be open, or the one `make` creates.
template <typename Page, typename Make>
Page* showPage(QPointer<Page>& page, Make make) {
    if (!page) {
        page = make();
        page->setAttribute(Qt::WA_DeleteOnClose);
    }
    page->show();
    page->raise();
    page->activateWindow();
    return page;
}

}  // namespace

SextantDialog* MainWindow::openSextant() {
    if (!navigation_) navigation_ = std::make_unique<NavigationState>(doc_, prefs_);
    return showPage(sextant_, [this] { return new SextantDialog(*navigation_, this); });
}

EnviroDialog* MainWindow::openEnviro() {
    if (!navigation_) navigation_ = std::make_unique<NavigationState>(doc_, prefs_);
    return showPage(enviro_, [this] { return new EnviroDialog(*navigation_, this); });
}

LopsDialog* MainWindow::openLops() {
    if (!navigation_) navigation_ = std::make_unique<NavigationState>(doc_, prefs_);
    LopsDialog* page = showPage(lops_, [this] { return new LopsDialog(*navigation_, this); });
    page->refill();  // sights saved since it was opened
    return page;
}

std::unique_ptr<SightPlannerDialog> MainWindow::makeSightPlanner() {
    auto planner = std::make_unique<SightPlannerDialog>(doc_, this);
    connect(planner.get(), &SightPlannerDialog::markRequested, this, &MainWindow::markOnChart);
    return planner;
}

void MainWindow::markOnChart(const std::vector<PlanBody>& bodies, double jdUtc) {
    std::vector<ChartMark> marks;
    for (const PlanBody& b : bodies) marks.push_back({QString::fromStdString(b.name), b.star, b.body});
    chart_->setMarks(std::move(marks));
    chart_->timeControl().setInstant(jdUtc);
    chart_->update();
}

bool MainWindow::Save() {
    std::string error;
    switch (saveDocumentWithin(access_, paths_.docPath, paths_.colorsPath, doc_, error)) {
        case SaveOutcome::Saved: return true;
        case SaveOutcome::NotAllowed: showNote(tr("Not saved: %1.").arg(engineText(error))); break;
        case SaveOutcome::Failed: QMessageBox::warning(this, QStringLiteral("Celestra"), engineText(error)); break;
    }
    return false;
}

void MainWindow::saveAtExit() {
    if (savedAtExit_) return;
    savedAtExit_ = true;
    QSettings().setValue(kGeometryKey, saveGeometry());
    std::string error;
    if (saveDocumentWithin(access_, paths_.docPath, paths_.colorsPath, doc_, error) != SaveOutcome::Saved)
        std::fprintf(stderr, "celestra: the document was not saved: %s\n", error.c_str());
}

void MainWindow::setWriteAccess(const WriteAccess& access, DocumentLock lock) {
    access_ = access;
    lock_ = std::move(lock);
    showWriteAccess();
}

void MainWindow::showWriteAccess() {
    if (access_.readOnly) setWindowTitle(tr("Celestra (read-only)"));
    else if (access_.keepDocument) setWindowTitle(tr("Celestra (not saved)"));
    else setWindowTitle(QStringLiteral("Celestra"));
}

bool MainWindow::moveKeptFilesAside(QString& error) {
    const std::string date = localDateText();
    QStringList moved;
    auto move = [&](bool& kept, const std::string& path) {
        if (!kept) return true;
        std::string why;
        const std::string to = moveAside(path, date, why);
        if (to.empty()) {
            error = QString::fromStdString(why);
            return false;
        }
        kept = false;
        moved << QString::fromStdString(to);
        return true;
    };
    const bool ok =
        !access_.readOnly && move(access_.keepDocument, paths_.docPath) && move(access_.keepColors, paths_.colorsPath);
    if (!moved.isEmpty()) showNote(tr("Moved aside: %1").arg(moved.join(QStringLiteral(", "))));
    showWriteAccess();
    return ok;
}

bool MainWindow::saveSessionAs(const QString& file, QString& error) {
    AppPaths paths = paths_;
    paths.docPath = file.toStdString();
    paths.colorsPath = colorFilePathFor(paths.docPath);
    DocumentLock lock;
    if (paths.docPath == paths_.docPath && lock_.owned()) {
        lock = std::move(lock_);  // the kept file itself, chosen over the question whether to replace it
    } else if (lock.acquire(paths.docPath) == DocumentLock::Result::HeldElsewhere) {
        error = tr("%1 is open in another Celestra.").arg(file);
        return false;
    }
    // A colour file already beside the chosen name that cannot be read stays as it is.
    WriteAccess access;
    ColorSchemes probe;
    std::string why;
    access.keepColors = isKeptAsItIs(loadColorFile(paths.colorsPath, probe, why));
    if (saveDocumentWithin(access, paths.docPath, paths.colorsPath, doc_, why) != SaveOutcome::Saved) {
        error = QString::fromStdString(why);
        if (!lock_.owned() && paths.docPath == paths_.docPath) lock_ = std::move(lock);
        return false;
    }
    paths_ = paths;
    setWriteAccess(access, std::move(lock));
    return true;
}

FirstStartPage* MainWindow::openFirstStartPage() {
    auto* page = new FirstStartPage(doc_, prefs_, this);
    page->setAttribute(Qt::WA_DeleteOnClose);
    connect(page, &FirstStartPage::helpRequested, this, &MainWindow::showHelp);
    connect(page, &FirstStartPage::placeChosen, this, [this] {
        chart_->viewChanged(true);
        Save();  // the answer is kept even if the program does not end well
    });
    connect(page, &QDialog::finished, this, [this] { chart_->setFocus(); });
    page->open();
    return page;
}

void MainWindow::showNote(const QString& text) { statusBar()->showMessage(text, 30000); }

void MainWindow::closeEvent(QCloseEvent* event) {
    saveAtExit();
    event->accept();
}

}  // namespace celestra
