// "Rise Set Times..." and "Lunar Phase...": the rise, transit and set (or
// twilight) of a body or catalogue star for a date at the observer's place,
// and a month calendar of the Moon's phases. Both read the observer's place
// and zone from the document, and the ephemeris through the process-wide
// reader (which guards itself against the model's worker).
#pragma once

#include <QDialog>
#include <QWidget>
#include <optional>

#include "solarsystem/moon_phases.h"
#include "solarsystem/rise_set.h"
#include "ui/zone_rule.h"

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
// A rise, transit or set text as a page shows it: the first of `count`
// events of the day, marked when there are more.
QString riseSetFieldText(const std::string& eventText, int count);

class RiseSetDialog : public QDialog {
    Q_OBJECT
public:
    // `zoneRule`: the chart's zone, whose offset on the chosen date is used;
    // without one, the observer's present offset.
    RiseSetDialog(const DocumentData& document, QWidget* parent = nullptr,
                  std::optional<ZoneRule> zoneRule = std::nullopt);

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
    std::optional<ZoneRule> zone_;
};

// The month grid: one cell per day with the Moon at local midnight.
class LunarMonthView : public QWidget {
    Q_OBJECT
public:
    explicit LunarMonthView(QWidget* parent = nullptr);
    // `zone` places the principal phases on their local days.
    void setMonth(const LunarCalendarMonth& month, const ZoneRule& zone);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    LunarCalendarMonth month_;
    ZoneRule zone_ = ZoneRule::fixed(0.0);
};

class LunarPhaseDialog : public QDialog {
    Q_OBJECT
public:
    // `zoneRule` as for Rise Set Times: each phase is shown at its own instant's offset.
    LunarPhaseDialog(const DocumentData& document, QWidget* parent = nullptr,
                     std::optional<ZoneRule> zoneRule = std::nullopt);

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
    ZoneRule zone_;
    int year_ = 2000, month_ = 1;
    LunarCalendarMonth calendar_;
};

}  // namespace celestra
