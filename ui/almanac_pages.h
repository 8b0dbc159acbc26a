// "Rise Set Times..." and "Lunar Phase...": the rise, transit and set (or
// twilight) of a body or catalogue star for a date at the observer's place,
// and a month calendar of the Moon's phases. Both read the observer's place
// and zone from the document, and the ephemeris through the process-wide
// reader (which guards itself against the model's worker).
#pragma once

#include <QDialog>
#include <QWidget>

#include "solarsystem/moon_phases.h"
#include "solarsystem/rise_set.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace celestra {

struct DocumentData;

// The zone label for an offset on a date: "Daylight Saving Time" when the
// system zone keeps daylight saving then and its offset is this one, else
// "Standard Time".
QString zoneLabel(double zoneOffsetDays, const QDate& date);

class RiseSetDialog : public QDialog {
    Q_OBJECT
public:
    RiseSetDialog(const DocumentData& document, QWidget* parent = nullptr);

    QDateEdit* date;
    QComboBox* body;  // editable: a body, or a star by name, identity or number
    QRadioButton *riseSet, *civil, *nautical;
    QLabel *place, *zone;
    QLabel *riseCaption, *setCaption;
    QLabel *rise, *transit, *set;
    QLabel* message;  // why nothing was computed (unknown star)

public slots:
    void compute();

private:
    const DocumentData& doc_;
};

// The month grid: one cell per day with the Moon at local midnight.
class LunarMonthView : public QWidget {
    Q_OBJECT
public:
    explicit LunarMonthView(QWidget* parent = nullptr);
    // `zoneOffsetDays` places the principal phases on their local days.
    void setMonth(const LunarCalendarMonth& month, double zoneOffsetDays);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LunarCalendarMonth month_;
    double zone_ = 0.0;
};

class LunarPhaseDialog : public QDialog {
    Q_OBJECT
public:
    LunarPhaseDialog(const DocumentData& document, QWidget* parent = nullptr);

    int year() const { return year_; }
    int month() const { return month_; }
    const LunarCalendarMonth& calendar() const { return calendar_; }

    QPushButton *previous, *next;
    QLabel* title;
    LunarMonthView* view;
    QLabel* phases;  // the principal phases, one a line, local time

public slots:
    void showMonth(int year, int month);
    void step(int months);

private:
    const DocumentData& doc_;
    int year_ = 2000, month_ = 1;
    LunarCalendarMonth calendar_;
};

}  // namespace celestra
