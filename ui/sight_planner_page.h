// "Sight Planner...": which navigational stars, planets and the Moon stand
// between two altitudes at civil twilight (or at a chosen instant) from a
// place, the best set of three to five of them, and a polar diagram of the
// sky with the chosen ones marked; "Mark on Chart" rings them on the chart.
#pragma once

#include <QDialog>
#include <QWidget>

#include "navigation/sight_planner.h"

class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

namespace celestra {

struct DocumentData;
class NumberSpinBox;

// The sky seen from above: altitude rings every 30°, the zenith in the
// middle, north up and east to the right as on a star finder; the chosen
// bodies filled and named, the others hollow.
class PlannerDiagram : public QWidget {
    Q_OBJECT
public:
    explicit PlannerDiagram(QWidget* parent = nullptr);
    void setPlan(const SightPlan& plan);
    // Widget position of an altitude and azimuth (degrees).
    QPointF pointOf(double altitudeDeg, double azimuthDeg) const;
    QSize sizeHint() const override { return {360, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double radius() const;
    SightPlan plan_;
};

class SightPlannerDialog : public QDialog {
    Q_OBJECT
public:
    SightPlannerDialog(const DocumentData& document, QWidget* parent = nullptr);

    NumberSpinBox *latitude, *longitude;  // degrees, north and east positive
    QDateEdit* date;
    QRadioButton *morning, *evening, *atInstant;
    QDateTimeEdit* instant;  // UTC
    QSpinBox *minAltitude, *maxAltitude, *count;
    QPushButton *plan, *markOnChart, *close;
    QLabel* summary;  // the instant, the best set, or why there is none
    QTableWidget* table;
    PlannerDiagram* diagram;

    const SightPlan& result() const { return plan_; }

public slots:
    void compute();

signals:
    // "Mark on Chart": the chosen bodies and the instant planned for.
    void markRequested(const std::vector<PlanBody>& bodies, double jdUtc);

private:
    SightPlan plan_;
};

}  // namespace celestra
