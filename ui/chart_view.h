// The star chart widget: draws the sky model's snapshot, and turns the
// pointer, the keys, the context menu and the time menu into the drawing
// state's commands and the time control's steps.
#pragma once

#include <QElapsedTimer>
#include <QMenu>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "app/document.h"
#include "sky/time_control.h"
#include "sky/view_commands.h"
#include "ui/chart_renderer.h"
#include "ui/sky_model.h"

class QAction;
class QPainter;

namespace celestra {

// A body ringed on the chart (the sight planner's choice): a Bright Star
// number, or a body number when `star` is 0.
struct ChartMark {
    QString label;
    int star = 0;
    int body = 0;
};

class ChartView : public QWidget, private TimeControlHost {
    Q_OBJECT
public:
    ChartView(DocumentData& document, SkyModel& model, QWidget* parent = nullptr);

    CUniverseViewDrawState& drawState() { return doc_.drawState; }
    CObserverState& observer() { return doc_.observer; }
    TimeControl& timeControl() { return time_; }
    ChartRenderer& renderer() { return renderer_; }
    SkyModel& sky() { return model_; }
    QMenu* contextMenu() { return contextMenu_; }
    QMenu* timeMenu() { return timeMenu_; }
    bool rotateWhileScrolling() const { return rotateWhileScrolling_; }

    // The chart shows for the first time: the clock's instant, first update.
    void start();
    // The device clock, a UTC Julian day. Tests put a fixed clock in its place.
    double clockNow() const;
    void setClock(std::function<double()> clock) { clock_ = std::move(clock); }
    // Timer 1 (real time) runs while the chart's window is the active one.
    bool realtimeTimerActive() const { return realtimeTimer_.isActive(); }
    // The animation's steps come from this timer alone.
    bool animationTimerActive() const { return animationTimer_.isActive(); }
    // One expiry of timer 1: in real time and idle, the clock's instant.
    void realtimeTick();
    // No press or drag on the chart and no menu or dialog of the program
    // open, modal or not (the navigation pages open beside the chart).
    bool idle() const;
    // The drawing state changed: redraw, and recompute when the sky depends on it.
    void viewChanged(bool recompute);
    // How the observer's zone offset (days) follows the instant: the Time
    // page's zone, whose daylight saving changes as the chart steps through
    // the year. Applied before every recompute; without one the offset stays.
    void setZoneRule(std::function<double(double jdUtc)> rule) { zoneRule_ = std::move(rule); }

    // Preset 0 Red, 1 Black, 2 White: the chart's colours, its preset, the program's palette.
    void ApplyColorScheme(int preset);
    // Red -> Black -> White -> Red; with `reset` the target is first reset to its defaults.
    void NextColorScheme(bool reset);
    void setMagnitudeLimit(int magnitude);
    void face(FacingDirection direction);
    void toggleFlip();
    void zoomStep(bool in);
    void centreOnSelection();
    void setSelection(const ChartSelection& selection);
    // Opens the time menu at a point of the chart.
    void showTimeMenu(const QPoint& at);
    // Faces a place of the sky (zenith distance and azimuth, degrees) and
    // selects `selection`, making sure the chart draws it (showOnChart).
    void centreOnPlace(const ChartSelection& selection, double zenithDistanceDeg, double azimuthDeg);
    // A Messier or Caldwell object gets its catalogue switched on; a star
    // fainter than the limit is marked, so the model lists it anyway.
    void showOnChart(const ChartSelection& selection);

    // Rings round the marked bodies, with their names; they follow the
    // bodies as the chart's instant changes. An empty list clears them.
    void setMarks(std::vector<ChartMark> marks);
    const std::vector<ChartMark>& marks() const { return marks_; }

    // "3D - Orrery" / "2D - Star Chart": the orrery keeps its own drawing state.
    void setOrreryMode(bool on);
    bool orreryMode() const { return orrery_; }
    CUniverseViewDrawState& orreryState() { return orreryState_; }

signals:
    // After ApplyColorScheme: the frame recolours itself and sets the magnitude box.
    void colorSchemeApplied(int preset);
    void magnitudeLimitChanged(int boxIndex);
    void statusChanged(const QString& text);
    // The place under the pointer (ChartRenderer::placeTextAt); empty when it leaves.
    void pointerPlaceChanged(const QString& text);
    void fullScreenRequested(bool on);
    void flipChanged(bool flipped);
    void infoRequested();
    void findRequested();
    void timeSettingsRequested();
    void orreryModeChanged(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private slots:
    void onStagesDone(int flags);

private:
    // TimeControlHost
    void updateModel(bool notifyChart) override;
    int stageFlags() const override;
    void ephemerisRange(double& firstJd, double& lastJd) const override;
    double clockNowUtc() const override;
    void startAnimationTimer() override;
    void stopAnimationTimer() override;

    void buildMenus();
    void paintMarks(QPainter& painter);
    void refreshMenuChecks();
    void refreshFromModel();
    void openContextMenu(const QPoint& at);
    double displayScale() const;
    void followZone();

    DocumentData& doc_;
    SkyModel& model_;
    ChartRenderer renderer_;
    TimeControl time_;
    std::function<double()> clock_;
    QTimer realtimeTimer_;
    QTimer animationTimer_;
    QTimer longPress_;
    QMenu* contextMenu_ = nullptr;
    QMenu* timeMenu_ = nullptr;
    QAction* flipAction_ = nullptr;
    QAction* fullScreenAction_ = nullptr;
    QAction* rotateAction_ = nullptr;
    QAction* centreAction_ = nullptr;
    QList<QAction*> unitActions_;
    QAction* animatePlusAction_ = nullptr;
    QAction* animateMinusAction_ = nullptr;
    QAction* realtimeAction_ = nullptr;
    bool rotateWhileScrolling_ = false;
    bool orrery_ = false;
    std::vector<ChartMark> marks_;
    CUniverseViewDrawState orreryState_;
    bool fullScreen_ = false;
    bool started_ = false;
    bool dragging_ = false;
    bool pressed_ = false;
    QPoint pressAt_;
    QPointF lastDrag_;
    std::function<double(double)> zoneRule_;
};

}  // namespace celestra
