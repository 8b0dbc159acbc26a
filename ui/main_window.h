// The main window: the chart, the command bar with the magnitude box, the
// status line, the main menu, and saving the document.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <memory>

#include "app/document_guard.h"
#include "app/startup.h"
#include "navigation/sight_planner.h"
#include "ui/chart_print.h"
#include "ui/chart_view.h"
#include "ui/preferences.h"
#include "ui/settings_dialog.h"
#include "ui/sight_planner_page.h"
#include "ui/sky_model.h"

class QComboBox;
class QDialog;
class QLabel;
class QProgressBar;

namespace celestra {

class EnviroDialog;
class FirstStartPage;
class ImageLibrary;
class LopsDialog;
class SextantDialog;
struct NavigationState;

class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    MainWindow(DocumentData& document, const AppPaths& paths, const DisplayMetrics& metrics, SkyModel& model,
               QWidget* parent = nullptr);

    ChartView* chart() const { return chart_; }
    QComboBox* magnitudeBox() const { return magnitude_; }
    QLabel* statusLabel() const { return status_; }
    QLabel* pointerLabel() const { return pointer_; }
    QProgressBar* progressBar() const { return progress_; }

    // Writes the document and the colour file (each atomically). False,
    // with the message shown, when either could not be written; the
    // document stays in memory either way.
    bool Save();
    // The one save at the end, when the window closes or a termination
    // signal arrives: the document, the colour file and the window's
    // geometry. It never waits for anyone: a failure writes one line to
    // stderr. Only the first call saves.
    void saveAtExit();
    // What this session may write, and the lock it holds on its document
    // (kept until the window goes, or another document is locked instead).
    void setWriteAccess(const WriteAccess& access, DocumentLock lock);
    const WriteAccess& writeAccess() const { return access_; }
    const AppPaths& paths() const { return paths_; }
    // Moves the files that are kept as they are aside (to
    // NAME.unreadable-DATE, today's date) and lets the session write its own.
    // False, with `error`, when a file could not be moved; what was moved stays so.
    bool moveKeptFilesAside(QString& error);
    // Saves the session as `file` (and its colour file) from now on, under
    // that document's lock. False, with `error`, when it is open elsewhere
    // or could not be written; nothing changes then.
    bool saveSessionAs(const QString& file, QString& error);
    // The first start's place page, window-modal over the chart.
    FirstStartPage* openFirstStartPage();
    // One line in the status line for a while (the data folder moved, say).
    void showNote(const QString& text);
    void openColorsDialog();
    void openSettings(SettingsDialog::Page page);
    void openInfo();
    void openFind();
    void showHelp(const QString& topic);
    // What the chart shows now, for a file or the printer.
    ChartPicture chartPicture() const;
    // "Export Image..." and "Print..." (Ctrl+P, with a black-on-white option).
    void exportImage();
    void printChart();
    void showAbout();
    Preferences& preferences() { return prefs_; }
    // The Time page's zone at the chart's place, as Rise Set Times and the
    // lunar calendar apply it.
    ZoneRule zoneRule() const;
    // The deep-sky image library of the Info page (Celestra.mes in the data folder).
    ImageLibrary& imageLibrary() { return *images_; }
    QAction* spaceNewsAction() const { return spaceNews_; }
    // The pages open modeless when asked to (tests drive them); else modal.
    void setPagesModeless(bool on) { modeless_ = on; }
    QDialog* lastPage() const { return lastPage_; }
    class HelpWindow* helpWindow() const {
        return help_;
    }
    // The navigation pages, opened beside the chart (one of each).
    SextantDialog* openSextant();
    EnviroDialog* openEnviro();
    LopsDialog* openLops();
    // The Sight Planner page, its "Mark on Chart" wired to markOnChart.
    std::unique_ptr<SightPlannerDialog> makeSightPlanner();
    // The sight planner's chosen bodies ringed on the chart at the instant planned for.
    void markOnChart(const std::vector<PlanBody>& bodies, double jdUtc);

protected:
    void closeEvent(QCloseEvent* event) override;

public:
    ~MainWindow() override;

private:
    void buildMenu();
    void buildCommandBar(const DisplayMetrics& metrics);
    // The saved geometry, else a default size; either way within the screen.
    void placeOnScreen(const DisplayMetrics& metrics);

    DocumentData& doc_;
    AppPaths paths_;
    SkyModel& model_;
    ChartView* chart_;
    QComboBox* magnitude_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* pointer_ = nullptr;
    QProgressBar* progress_ = nullptr;
    bool savedAtExit_ = false;
    WriteAccess access_;
    DocumentLock lock_;
    void showWriteAccess();
    void refreshSpaceNews();
    void runPage(QDialog* page);
    Preferences prefs_;
    std::unique_ptr<ImageLibrary> images_;
    QAction* spaceNews_ = nullptr;
    class HelpWindow* help_ = nullptr;
    bool modeless_ = false;
    QDialog* lastPage_ = nullptr;
    std::unique_ptr<NavigationState> navigation_;
    QPointer<SextantDialog> sextant_;
    QPointer<EnviroDialog> enviro_;
    QPointer<LopsDialog> lops_;
};

}  // namespace celestra
