#include "ui/chart_view.h"

#include <QActionGroup>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimeZone>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "catalogs/deep_sky.h"
#include "catalogs/star_place.h"
#include "core/time_scales.h"
#include "solarsystem/ephemeris.h"
#include "ui/chart_overlays.h"
#include "ui/orrery_painter.h"
#include "ui/translations.h"

namespace celestra {

namespace {
// How near (pixels at scale 1) the pointer must be to select an object.
constexpr double kHitRadius = 12.0;
// A press held this long without moving opens the context menu.
constexpr int kLongPressMs = 650;
// A press that moves farther than this starts a drag.
constexpr int kDragThreshold = 4;

// The chart worker's status line ("Calc...   ", "Realtime      ",
// "One time init: 40%") is English; its words are replaced where they stand
// so the dots and blanks that keep the line's width stay.
QString statusInUserLanguage(QString status) {
    static constexpr const char* kWords[] = {
        QT_TRANSLATE_NOOP("celestra::ChartStatus", "One time init:"),
        QT_TRANSLATE_NOOP("celestra::ChartStatus", "Animating"),
        QT_TRANSLATE_NOOP("celestra::ChartStatus", "Realtime"),
        QT_TRANSLATE_NOOP("celestra::ChartStatus", "Stopped"),
        QT_TRANSLATE_NOOP("celestra::ChartStatus", "Comets"),
        QT_TRANSLATE_NOOP("celestra::ChartStatus", "Calc."),
    };
    for (const char* word : kWords)
        status.replace(QLatin1String(word), QCoreApplication::translate("celestra::ChartStatus", word));
    return status;
}
}  // namespace

ChartView::ChartView(DocumentData& document, SkyModel& model, QWidget* parent)
    : QWidget(parent), doc_(document), model_(model), time_(*this, document.observer, document.drawState) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
    realtimeTimer_.setInterval(kRealtimeTimerMs);
    connect(&realtimeTimer_, &QTimer::timeout, this, &ChartView::realtimeTick);
    animationTimer_.setInterval(kAnimationTimerMs);
    connect(&animationTimer_, &QTimer::timeout, this, [this] {
        // Every second expiry posts the step, so a step is tried every 800 ms.
        if (time_.animationTimerExpired())
            QMetaObject::invokeMethod(
                this,
                [this] {
                    time_.tick();
                    refreshMenuChecks();
                },
                Qt::QueuedConnection);
    });
    longPress_.setSingleShot(true);
    longPress_.setInterval(kLongPressMs);
    connect(&longPress_, &QTimer::timeout, this, [this] {
        if (pressed_ && !dragging_) {
            pressed_ = false;
            openContextMenu(pressAt_);
        }
    });
    connect(&model_, &SkyModel::stagesDone, this, &ChartView::onStagesDone, Qt::QueuedConnection);
    renderer_.setScale(displayScale());
    buildMenus();
}

void ChartView::followZone() {
    if (zoneRule_) doc_.observer.zoneOffset = zoneRule_(doc_.observer.instant);
}

double ChartView::displayScale() const { return std::max(1.0, logicalDpiX() / 96.0); }

void ChartView::start() {
    if (started_) return;
    started_ = true;
    time_.takeClockInstant();
    ApplyColorScheme(doc_.drawState.colorPreset);
    if (isActiveWindow()) realtimeTimer_.start();
    followZone();
    model_.Update(doc_.observer, doc_.drawState);
}

void ChartView::realtimeTick() {
    if (time_.realtimeTimerExpired(idle())) update();
}

bool ChartView::event(QEvent* event) {
    // Timer 1 runs only while the chart's window is active. Coming back,
    // the chart catches up with the clock at once instead of a second later.
    if (event->type() == QEvent::WindowActivate && started_) {
        realtimeTimer_.start();
        realtimeTick();
    } else if (event->type() == QEvent::WindowDeactivate) {
        realtimeTimer_.stop();
    }
    return QWidget::event(event);
}

void ChartView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    start();
}

void ChartView::updateModel(bool notifyChart) {
    // The first of a step's two updates (the one the chart is not told of)
    // is left out: the second carries the same instant to the worker.
    if (!notifyChart) return;
    model_.setAnimating(time_.animating());
    followZone();
    model_.Update(doc_.observer, doc_.drawState);
    refreshMenuChecks();
    update();
}

int ChartView::stageFlags() const { return model_.stageFlags(); }

void ChartView::ephemerisRange(double& firstJd, double& lastJd) const {
    firstJd = model_.firstJd();
    lastJd = model_.lastJd();
}

double ChartView::clockNow() const { return clock_ ? clock_() : currentJulianDayUtc(); }

double ChartView::clockNowUtc() const { return clockNow(); }

void ChartView::startAnimationTimer() {
    animationTimer_.start();
    model_.setAnimating(true);
}

void ChartView::stopAnimationTimer() {
    animationTimer_.stop();
    model_.setAnimating(false);
}

bool ChartView::idle() const {
    if (pressed_ || dragging_ || QApplication::activePopupWidget() || QApplication::activeModalWidget()) return false;
    // Modeless pages (Sextant, Enviro, LOPs) count as open dialogs too.
    for (const QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && qobject_cast<const QDialog*>(w)) return false;
    return true;
}

void ChartView::refreshFromModel() {
    renderer_.setOptions(chartOptionsFor(doc_.drawState));
    renderer_.setSnapshot(model_.snapshot());
    renderer_.setView(doc_.drawState, width(), height());
    emit statusChanged(statusInUserLanguage(model_.statusText()));
    refreshMenuChecks();
    update();
}

void ChartView::onStagesDone(int) { refreshFromModel(); }

void ChartView::viewChanged(bool recompute) {
    renderer_.setOptions(chartOptionsFor(doc_.drawState));
    renderer_.setView(doc_.drawState, width(), height());
    if (recompute) {
        followZone();
        model_.Update(doc_.observer, doc_.drawState);
    }
    refreshMenuChecks();
    update();
}

void ChartView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (orrery_) {
        orreryState_.colorScheme = doc_.drawState.colorScheme;
        orreryState_.realTime = doc_.drawState.realTime;
        paintOrrery(painter, orreryState_, doc_.observer.instant, model_.universe().Places(), width(), height(),
                    displayScale());
        return;
    }
    // The time texts follow the view's instant, which real time moves each second.
    renderer_.setClock(doc_.observer.instant, doc_.observer.zoneOffset, doc_.observer.longitude);
    renderer_.paint(painter);
    paintMarks(painter);
}

void ChartView::setMarks(std::vector<ChartMark> marks) {
    marks_ = std::move(marks);
    update();
}

void ChartView::paintMarks(QPainter& painter) {
    if (marks_.empty()) return;
    const PlaceContext context = makePlaceContext(processEphemeris());
    const CObserverState& o = doc_.observer;
    const ObserverSite site{o.latitude, o.longitude, o.height, o.temperature, o.pressure};
    const double radius = 11.0 * displayScale();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2.0 * displayScale()));
    painter.setBrush(Qt::NoBrush);
    for (const ChartMark& mark : marks_) {
        HorizonResult h;
        const StarEntry* star = mark.star ? starByNumber(mark.star) : nullptr;
        const Status status =
            star ? horizonPlace(context, o.instant, starPlaceInput(*star), site, o.refraction != 0,
                                PlaceForm::Topocentric, h)
                 : horizonPlace(context, o.instant, mark.body, site, o.refraction != 0, PlaceForm::Topocentric, h);
        if (status != Status::Ok || h.altitudeDeg < -1.0) continue;
        const ChartPoint p = renderer_.projection().pixel(90.0 - h.altitudeDeg, h.azimuthDeg);
        const QPointF at(p.x, p.y);
        painter.drawEllipse(at, radius, radius);
        painter.drawText(at + QPointF(radius + 3.0, radius + painter.fontMetrics().ascent()), mark.label);
    }
    painter.restore();
}

void ChartView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // The offsets are unscaled chart units, which grow with the base radius
    // (half the smaller side): scaled with it, every point of the sky keeps
    // its place relative to the window, so the facing direction and the
    // horizon stay framed. Not on the first size, which the saved offsets
    // were made for.
    const QSize old = event->oldSize();
    if (isVisible() && old.isValid() && !old.isEmpty()) {
        const double was = std::min(old.width(), old.height());
        const double now = std::min(width(), height());
        if (now > 0.0) scaleOffsets(doc_.drawState, now / was);
    }
    renderer_.setScale(displayScale());
    renderer_.setView(doc_.drawState, width(), height());
}

void ChartView::ApplyColorScheme(int preset) {
    CUniverseViewDrawState& s = doc_.drawState;
    s.colorPreset = (preset >= 0 && preset <= 2) ? preset : kDefaultColorPreset;
    s.colorScheme.CopyColorsFrom(doc_.colorSchemes.forPreset(s.colorPreset));
    renderer_.setView(s, width(), height());
    emit colorSchemeApplied(s.colorPreset);
    emit magnitudeLimitChanged(magnitudeBoxIndex(s.magnitudeLimit));
    update();
}

void ChartView::NextColorScheme(bool reset) {
    const int target = nextColorPreset(doc_.drawState.colorPreset);
    if (reset) doc_.colorSchemes.forPreset(target).ResetToDefaults();
    ApplyColorScheme(target);
}

void ChartView::setMagnitudeLimit(int magnitude) {
    celestra::setMagnitudeLimit(doc_.drawState, magnitude);
    emit magnitudeLimitChanged(magnitudeBoxIndex(doc_.drawState.magnitudeLimit));
    viewChanged(true);
}

void ChartView::face(FacingDirection direction) {
    faceDirection(doc_.drawState, direction, height());
    viewChanged(false);
}

void ChartView::toggleFlip() {
    toggleFlipEastWest(doc_.drawState);
    emit flipChanged(doc_.drawState.flippedEastWest());
    viewChanged(false);
}

void ChartView::zoomStep(bool in) {
    if (orrery_) {
        if (in) zoomIn(orreryState_, true);
        else zoomOut(orreryState_, true);
        update();
        return;
    }
    if (in) zoomIn(doc_.drawState);
    else zoomOut(doc_.drawState);
    viewChanged(false);
}

void ChartView::setSelection(const ChartSelection& selection) {
    // A mark (showOnChart) lasts while its object stays selected.
    const int marked = model_.universe().MarkedObject();
    if (marked >= 0 && !(selection.kind == ChartSelection::Kind::Object && selection.id == marked)) {
        model_.universe().SetMarkedObject(-1);
        model_.Update(doc_.observer, doc_.drawState);
    }
    renderer_.setSelection(selection);
    centreAction_->setEnabled(selection.kind != ChartSelection::Kind::None);
    update();
}

void ChartView::centreOnSelection() {
    const SkySnapshot* sky = renderer_.snapshot();
    const ChartSelection& sel = renderer_.selection();
    if (!sky || sel.kind == ChartSelection::Kind::None) {
        // Nothing selected: the zenith back to the centre.
        doc_.drawState.offsetX = doc_.drawState.offsetY = 0.0;
        viewChanged(false);
        return;
    }
    HorizontalPoint place;
    if (sel.kind == ChartSelection::Kind::Object) {
        const SkyObject* o = sky->objectByNumber(sel.id);
        if (!o) return;
        place = o->place;
    } else if (sel.kind == ChartSelection::Kind::Comet) {
        const SkyComet* c = sky->cometByIndex(sel.id);
        if (!c || !c->presentPoint().valid) return;
        place = c->presentPoint().place;
    } else {
        const SkyBody& b = sky->bodies[static_cast<size_t>(sel.id - 1)];
        if (!b.valid) return;
        place = b.place;
    }
    if (centreOn(doc_.drawState, renderer_.projection(), place.zenithDistance, place.azimuth, rotateWhileScrolling_))
        viewChanged(false);
}

void ChartView::centreOnPlace(const ChartSelection& selection, double zenithDistanceDeg, double azimuthDeg) {
    if (orrery_) setOrreryMode(false);
    setSelection(selection);
    centreOn(doc_.drawState, renderer_.projection(), zenithDistanceDeg, azimuthDeg, rotateWhileScrolling_);
    showOnChart(selection);
    viewChanged(true);
}

void ChartView::showOnChart(const ChartSelection& selection) {
    if (selection.kind != ChartSelection::Kind::Object) return;
    const int k = selection.id;
    if (k >= kFirstCaldwellObject) {
        doc_.drawState.deepSkySelection |= 2;
    } else if (k >= kFirstMessierObject) {
        doc_.drawState.deepSkySelection |= 1;
    } else if (const StarEntry* e = catalogueObject(k); e && e->magnitude > doc_.drawState.magnitudeLimit) {
        model_.universe().SetMarkedObject(k);
    }
}

void ChartView::setOrreryMode(bool on) {
    if (orrery_ == on) return;
    orrery_ = on;
    model_.universe().SetOrreryMode(on);
    rotateAction_->setEnabled(!on);
    // The star chart's places are stale after time moved in the orrery.
    if (!on) model_.Update(doc_.observer, doc_.drawState);
    emit orreryModeChanged(on);
    update();
}

void ChartView::buildMenus() {
    contextMenu_ = new QMenu(this);
    QMenu* body = contextMenu_->addMenu(tr("Body"));
    body->addAction(tr("Info..."), this, &ChartView::infoRequested);
    body->addAction(tr("Find..."), this, &ChartView::findRequested);
    centreAction_ = body->addAction(tr("Center"), this, &ChartView::centreOnSelection);
    centreAction_->setEnabled(false);
    QMenu* zoom = contextMenu_->addMenu(tr("Zoom"));
    for (const FixedZoom& z : kFixedZooms) {
        const double factor = z.factor;
        zoom->addAction(engineText(z.label), this, [this, factor] {
            setZoomKeepingCentre(doc_.drawState, factor);
            viewChanged(false);
        });
    }
    QMenu* horizon = contextMenu_->addMenu(tr("Horizon"));
    horizon->addAction(tr("North"), this, [this] { face(FacingDirection::North); });
    horizon->addAction(tr("East"), this, [this] { face(FacingDirection::East); });
    horizon->addAction(tr("South"), this, [this] { face(FacingDirection::South); });
    horizon->addAction(tr("West"), this, [this] { face(FacingDirection::West); });
    horizon->addSeparator();
    horizon->addAction(tr("Zenith"), this, [this] { face(FacingDirection::Zenith); });
    horizon->addSeparator();
    flipAction_ = horizon->addAction(tr("Flip East-West"), this, &ChartView::toggleFlip);
    flipAction_->setCheckable(true);
    fullScreenAction_ = contextMenu_->addAction(tr("Full Screen"), this, [this] {
        fullScreen_ = !fullScreen_;
        emit fullScreenRequested(fullScreen_);
        refreshMenuChecks();
    });
    fullScreenAction_->setCheckable(true);
    rotateAction_ = contextMenu_->addAction(tr("Rotate while scrolling"), this, [this] {
        rotateWhileScrolling_ = !rotateWhileScrolling_;
        refreshMenuChecks();
    });
    rotateAction_->setCheckable(true);

    timeMenu_ = new QMenu(this);
    QMenu* units = timeMenu_->addMenu(tr("Time unit"));
    auto* group = new QActionGroup(this);
    for (int i = 0; i < static_cast<int>(kTimeUnits.size()); ++i) {
        QAction* a = units->addAction(engineText(kTimeUnits[static_cast<size_t>(i)].menuText), this, [this, i] {
            time_.setUnitIndex(i);
            refreshMenuChecks();
        });
        a->setCheckable(true);
        group->addAction(a);
        unitActions_.append(a);
    }
    timeMenu_->addAction(tr("Step +"), this, [this] {
        time_.step(+1);
        refreshMenuChecks();
    });
    timeMenu_->addAction(tr("Step -"), this, [this] {
        time_.step(-1);
        refreshMenuChecks();
    });
    animatePlusAction_ = timeMenu_->addAction(tr("Animate +"), this, [this] {
        time_.animate(+1);
        refreshMenuChecks();
    });
    animatePlusAction_->setCheckable(true);
    animateMinusAction_ = timeMenu_->addAction(tr("Animate -"), this, [this] {
        time_.animate(-1);
        refreshMenuChecks();
    });
    animateMinusAction_->setCheckable(true);
    timeMenu_->addAction(tr("Animate Stop"), this, [this] { time_.requestStop(); });
    realtimeAction_ = timeMenu_->addAction(tr("Realtime"), this, [this] {
        time_.realtime();
        refreshMenuChecks();
    });
    realtimeAction_->setCheckable(true);
    timeMenu_->addSeparator();
    timeMenu_->addAction(tr("Select..."), this, &ChartView::timeSettingsRequested);
    connect(timeMenu_, &QMenu::aboutToShow, this, [this] { time_.setMenuTracking(true); });
    connect(timeMenu_, &QMenu::aboutToHide, this, [this] { time_.setMenuTracking(false); });
    refreshMenuChecks();
}

void ChartView::refreshMenuChecks() {
    if (!flipAction_) return;
    flipAction_->setChecked(doc_.drawState.flippedEastWest());
    fullScreenAction_->setChecked(fullScreen_);
    rotateAction_->setChecked(rotateWhileScrolling_);
    for (int i = 0; i < unitActions_.size(); ++i) unitActions_[i]->setChecked(i == time_.unitIndex());
    animatePlusAction_->setChecked(time_.animating() && time_.animationDirection() > 0);
    animateMinusAction_->setChecked(time_.animating() && time_.animationDirection() < 0);
    realtimeAction_->setChecked(doc_.drawState.realTime != 0);
}

void ChartView::showTimeMenu(const QPoint& at) {
    refreshMenuChecks();
    timeMenu_->popup(mapToGlobal(at));
}

void ChartView::openContextMenu(const QPoint& at) {
    refreshMenuChecks();
    contextMenu_->popup(mapToGlobal(at));
}

void ChartView::contextMenuEvent(QContextMenuEvent* event) {
    longPress_.stop();
    pressed_ = dragging_ = false;
    openContextMenu(event->pos());
}

void ChartView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_PageUp:
            time_.step(+1);
            refreshMenuChecks();
            return;
        case Qt::Key_PageDown:
            time_.step(-1);
            refreshMenuChecks();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Space:
            if (time_.animating()) time_.requestStop();
            return;
        default: break;
    }
    const QString text = event->text();
    if (text.size() != 1) {
        QWidget::keyPressEvent(event);
        return;
    }
    const ChartKeyAction action = chartKeyAction(text.at(0).unicode());
    switch (action.key) {
        case ChartKey::ZoomIn: zoomStep(true); break;
        case ChartKey::ZoomOut: zoomStep(false); break;
        case ChartKey::Magnitude: setMagnitudeLimit(action.magnitude); break;
        case ChartKey::PresetBlack: ApplyColorScheme(kPresetBlack); break;
        case ChartKey::PresetRed: ApplyColorScheme(kPresetRed); break;
        case ChartKey::PresetWhite: ApplyColorScheme(kPresetWhite); break;
        case ChartKey::Flip: toggleFlip(); break;
        case ChartKey::Centre: centreOnSelection(); break;
        case ChartKey::StepForward:
            time_.step(+1);
            refreshMenuChecks();
            break;
        case ChartKey::StepBack:
            time_.step(-1);
            refreshMenuChecks();
            break;
        // The information page and the orrery come with their issues; the star chart is what shows.
        case ChartKey::Info: emit infoRequested(); break;
        case ChartKey::Orrery: setOrreryMode(true); break;
        case ChartKey::StarChart: setOrreryMode(false); break;
        case ChartKey::None: QWidget::keyPressEvent(event); break;
    }
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    pressed_ = true;
    dragging_ = false;
    pressAt_ = event->position().toPoint();
    lastDrag_ = event->position();
    longPress_.start();
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (pressed_) {
        if (!dragging_ && (at.toPoint() - pressAt_).manhattanLength() > kDragThreshold) {
            dragging_ = true;
            longPress_.stop();
        }
        if (dragging_ && orrery_) {
            // The orrery turns about the ecliptic pole: a degree per two pixels across.
            orreryState_.rotation = std::fmod(orreryState_.rotation + (at.x() - lastDrag_.x()) / 2.0 + 360.0, 360.0);
            lastDrag_ = at;
            update();
        } else if (dragging_) {
            scrollBy(doc_.drawState, renderer_.projection(), at.x() - lastDrag_.x(), at.y() - lastDrag_.y(),
                     rotateWhileScrolling_);
            lastDrag_ = at;
            renderer_.setHoverText({}, {});
            viewChanged(false);
        }
        return;
    }
    if (orrery_) return;
    // Hover: the name of what is under the pointer.
    const SkySnapshot* sky = renderer_.snapshot();
    QString text;
    if (sky && !sky->instantInEphemeris) {
        text = QString::fromLatin1(kEphemerisInvalidText);
    } else {
        const ChartSelection hit = renderer_.hitTest(at, kHitRadius * displayScale());
        text = renderer_.selectionName(hit);
    }
    renderer_.setHoverText(at, text);
    emit pointerPlaceChanged(renderer_.placeTextAt(at));
    update();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !pressed_) return;
    longPress_.stop();
    pressed_ = false;
    if (dragging_) {
        dragging_ = false;
        return;
    }
    // A tap on the time texts opens the time menu; elsewhere it selects.
    if (renderer_.timeTextRect().contains(event->position())) {
        showTimeMenu(event->position().toPoint());
        return;
    }
    if (orrery_) return;  // the orrery has nothing to select
    setSelection(renderer_.hitTest(event->position(), kHitRadius * displayScale()));
}

void ChartView::wheelEvent(QWheelEvent* event) {
    const int steps = event->angleDelta().y() / 120;
    if (steps == 0) return;
    if (orrery_) {
        for (int i = 0; i < std::abs(steps); ++i) zoomStep(steps > 0);
        return;
    }
    CUniverseViewDrawState probe = doc_.drawState;
    for (int i = 0; i < std::abs(steps); ++i) {
        if (steps > 0) zoomIn(probe);
        else zoomOut(probe);
    }
    setZoomAbout(doc_.drawState, renderer_.projection(), probe.zoom, event->position().x(), event->position().y());
    viewChanged(false);
}

void ChartView::leaveEvent(QEvent* event) {
    renderer_.setHoverText({}, {});
    emit pointerPlaceChanged({});
    update();
    QWidget::leaveEvent(event);
}

}  // namespace celestra
