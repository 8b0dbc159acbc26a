#include "ui/calculator_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <optional>

#include "app/document.h"
#include "calculators/converters.h"
#include "calculators/horizon_distance.h"
#include "core/time_scales.h"
#include "ui/calculator_pictures.h"
#include "ui/number_field.h"
#include "ui/translations.h"

namespace celestra {

namespace {

// Refuses a field: the message, then the focus back with the text selected.
void refuse(QLineEdit* edit, const QString& message) {
    refuseField(edit, message);
    if (edit) {
        edit->setFocus();
        edit->selectAll();
    }
}

// A field's number (point or the locale's separator); a text that is not
// one is refused with the field's range, or for a field without one (the
// course) as not a number.
bool readNumber(QLineEdit* edit, double& out, std::optional<FieldRange> range = std::nullopt) {
    const auto value = parseFieldNumber(edit->text());
    if (!value) {
        refuse(edit, range ? rangeMessage(*range) : NumberSpinBox::tr("Please enter a number."));
        return false;
    }
    out = *value;
    return true;
}

// An empty field reads as 0 (the converters' fields start empty).
bool readNumberOrZero(QLineEdit* edit, double& out) {
    if (!edit->text().trimmed().isEmpty()) return readNumber(edit, out);
    out = 0.0;
    return true;
}

// Shows a double the way the fields keep it: whole values without a fraction.
QString fieldText(double v) { return QString::number(v, 'g', 12); }

QLineEdit* smallEdit(QWidget* parent, int chars) {
    auto* e = new QLineEdit(parent);
    e->setMaximumWidth(e->fontMetrics().horizontalAdvance(QLatin1Char('0')) * (chars + 2) + 12);
    return e;
}

QComboBox* unitCombo(QWidget* parent, int index) {
    auto* c = new QComboBox(parent);
    for (const char* name : kDistanceUnitNames) c->addItem(engineText(name));
    c->setCurrentIndex(index);
    return c;
}

// "\r\n" line ends of the shared texts, as Qt breaks lines.
QString qtLines(const std::string& text) {
    return QString::fromStdString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

}  // namespace

QString rangeMessage(const FieldRange& range) { return rangeMessage(range.min, range.max); }

// ---------------------------------------------------------------- LatLong group

LatLongGroup::LatLongGroup(const QString& title, QWidget* parent) : QWidget(parent) {
    auto* box = new QGroupBox(title, this);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(box);
    auto* grid = new QGridLayout(box);
    latDeg = smallEdit(box, 4), latMin = smallEdit(box, 3), latSec = smallEdit(box, 3);
    lonDeg = smallEdit(box, 4), lonMin = smallEdit(box, 3), lonSec = smallEdit(box, 3);
    northSouth = new QPushButton(QStringLiteral("N"), box);
    eastWest = new QPushButton(QStringLiteral("E"), box);
    for (QPushButton* b : {northSouth, eastWest})
        b->setMaximumWidth(b->fontMetrics().horizontalAdvance(QStringLiteral("WW")) + 16);
    assumedPosition = new QPushButton(tr("Assumed\n Position"), box);
    grid->addWidget(new QLabel(tr("Deg"), box), 0, 1);
    grid->addWidget(new QLabel(tr("Min"), box), 0, 2);
    grid->addWidget(new QLabel(tr("Sec"), box), 0, 3);
    grid->addWidget(new QLabel(tr("Lat"), box), 1, 0);
    grid->addWidget(latDeg, 1, 1);
    grid->addWidget(latMin, 1, 2);
    grid->addWidget(latSec, 1, 3);
    grid->addWidget(northSouth, 1, 4);
    grid->addWidget(new QLabel(tr("Long"), box), 2, 0);
    grid->addWidget(lonDeg, 2, 1);
    grid->addWidget(lonMin, 2, 2);
    grid->addWidget(lonSec, 2, 3);
    grid->addWidget(eastWest, 2, 4);
    grid->addWidget(assumedPosition, 1, 5, 2, 1);
}

void LatLongGroup::show(const DmsCoordinate& lat, const DmsCoordinate& lon) {
    latDeg->setText(fieldText(lat.degrees));
    latMin->setText(fieldText(lat.minutes));
    latSec->setText(fieldText(lat.seconds));
    lonDeg->setText(fieldText(lon.degrees));
    lonMin->setText(fieldText(lon.minutes));
    lonSec->setText(fieldText(lon.seconds));
    northSouth->setText(QString::fromLatin1(latitudeHemisphere(lat)));
    eastWest->setText(QString::fromLatin1(longitudeHemisphere(lon)));
}

bool LatLongGroup::read(DmsEntry& lat, DmsEntry& lon, const FieldRange& latitudeRange) {
    return readNumber(latDeg, lat.degrees, latitudeRange) && readNumber(latMin, lat.minutes, kMinutesSecondsRange) &&
           readNumber(latSec, lat.seconds, kMinutesSecondsRange) && readNumber(lonDeg, lon.degrees, kLongitudeRange) &&
           readNumber(lonMin, lon.minutes, kMinutesSecondsRange) &&
           readNumber(lonSec, lon.seconds, kMinutesSecondsRange);
}

QLineEdit* LatLongGroup::field(const std::string& name) const {
    const bool lat = name.rfind("latitude", 0) == 0;
    if (name.find("minutes") != std::string::npos) return lat ? latMin : lonMin;
    if (name.find("seconds") != std::string::npos) return lat ? latSec : lonSec;
    return lat ? latDeg : lonDeg;
}

// ---------------------------------------------------------------- Great circle

GreatCircleState& GreatCircleDialog::state() {
    static GreatCircleState s;
    return s;
}

GreatCircleDialog::GreatCircleDialog(const DocumentData& document, QWidget* parent) : QDialog(parent), doc_(document) {
    setWindowTitle(tr("Great Circle Distance"));
    GreatCircleState& s = state();
    group1 = new LatLongGroup(tr("LatLong 1"), this);
    group2 = new LatLongGroup(tr("LatLong 2"), this);
    units = unitCombo(this, s.unitIndex);
    auto* model = new QGroupBox(tr("Earth Model"), this);
    ellipsoid = new QRadioButton(tr("NAD83 (elliptical)"), model);
    sphere = new QRadioButton(tr("Spherical (1' = 1NMi)"), model);
    auto* modelLayout = new QVBoxLayout(model);
    modelLayout->addWidget(ellipsoid);
    modelLayout->addWidget(sphere);
    (s.model == EarthModel::Ellipsoid ? ellipsoid : sphere)->setChecked(true);
    calculate = new QPushButton(tr("Calculate"), this);
    distance = new QLabel(this);
    distance->setObjectName(QStringLiteral("distance"));
    distance->setTextInteractionFlags(Qt::TextSelectableByMouse);
    course = new QLabel(tr("Initial course:"), this);
    note = new QLabel(this);
    note->setWordWrap(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group1);
    layout->addWidget(group2);
    auto* row = new QHBoxLayout;
    row->addWidget(model);
    auto* right = new QVBoxLayout;
    right->addWidget(units);
    right->addWidget(calculate);
    row->addLayout(right);
    layout->addLayout(row);
    auto* out = new QFormLayout;
    out->addRow(tr("Distance:"), distance);
    layout->addLayout(out);
    layout->addWidget(course);
    layout->addWidget(note);
    picture = new GreatCirclePicture(this);
    layout->addWidget(picture, 1);

    showState();
    // A hemisphere button flips its multiplier only: what is typed beside it stays.
    auto flip = [this](bool latitude, bool second) {
        DmsCoordinate& c = second ? (latitude ? state().lat2 : state().lon2) : (latitude ? state().lat1 : state().lon1);
        c.flip();
        LatLongGroup* g = second ? group2 : group1;
        if (latitude) g->northSouth->setText(QString::fromLatin1(latitudeHemisphere(c)));
        else g->eastWest->setText(QString::fromLatin1(longitudeHemisphere(c)));
    };
    connect(group1->northSouth, &QPushButton::clicked, this, [flip] { flip(true, false); });
    connect(group1->eastWest, &QPushButton::clicked, this, [flip] { flip(false, false); });
    connect(group2->northSouth, &QPushButton::clicked, this, [flip] { flip(true, true); });
    connect(group2->eastWest, &QPushButton::clicked, this, [flip] { flip(false, true); });
    auto copyAp = [this](bool second) {
        GreatCircleState& st = state();
        copyAssumedPosition(doc_.currentSight.observer.latitude, doc_.currentSight.observer.longitude,
                            second ? st.lat2 : st.lat1, second ? st.lon2 : st.lon1);
        (second ? group2 : group1)->show(second ? st.lat2 : st.lat1, second ? st.lon2 : st.lon1);
    };
    connect(group1->assumedPosition, &QPushButton::clicked, this, [copyAp] { copyAp(false); });
    connect(group2->assumedPosition, &QPushButton::clicked, this, [copyAp] { copyAp(true); });
    connect(calculate, &QPushButton::clicked, this, &GreatCircleDialog::compute);
    connect(ellipsoid, &QRadioButton::clicked, this, [this] {
        state().model = EarthModel::Ellipsoid;
        compute();
    });
    connect(sphere, &QRadioButton::clicked, this, [this] {
        state().model = EarthModel::Sphere;
        compute();
    });
    connect(units, &QComboBox::activated, this, [this](int index) {
        state().unitIndex = index;
        compute();
    });
    compute();
}

void GreatCircleDialog::showState() {
    const GreatCircleState& s = state();
    group1->show(s.lat1, s.lon1);
    group2->show(s.lat2, s.lon2);
}

bool GreatCircleDialog::compute() {
    DmsEntry lat1, lon1, lat2, lon2;
    if (!group1->read(lat1, lon1, kGreatCircleLatitudeRange) || !group2->read(lat2, lon2, kGreatCircleLatitudeRange))
        return false;
    if (const auto error = applyGreatCircleEntries(state(), lat1, lon1, lat2, lon2)) {
        const bool second = error->field.find('2') != std::string::npos;
        refuse((second ? group2 : group1)->field(error->field), rangeMessage(error->range));
        return false;
    }
    showState();
    const GreatCircleResult r = computeGreatCircle(state());
    distance->setText(QString::fromStdString(r.distanceText));
    course->setText(engineText(r.courseText));
    note->setText(engineText(r.note));
    const GreatCircleState& s = state();
    picture->setRoute(s.lat1.decimal(), s.lon1.decimal(), s.lat2.decimal(), s.lon2.decimal());
    return true;
}

// ---------------------------------------------------------------- Range and bearing

RangeBearingState& RangeBearingDialog::state() {
    static RangeBearingState s;
    return s;
}

RangeBearingDialog::RangeBearingDialog(const DocumentData& document, QWidget* parent)
    : QDialog(parent), doc_(document) {
    setWindowTitle(tr("Range and Bearing"));
    RangeBearingState& s = state();
    group = new LatLongGroup(tr("LatLong Initial"), this);
    distanceEdit = smallEdit(this, 10);
    courseEdit = smallEdit(this, 10);
    units = unitCombo(this, s.unitIndex);
    auto* method = new QGroupBox(tr("Method"), this);
    rhumbLine = new QRadioButton(tr("Rhumb Line"), method);
    greatCircle = new QRadioButton(tr("Great Circle"), method);
    auto* methodLayout = new QVBoxLayout(method);
    methodLayout->addWidget(rhumbLine);
    methodLayout->addWidget(greatCircle);
    (s.method == SailingMethod::RhumbLine ? rhumbLine : greatCircle)->setChecked(true);
    calculate = new QPushButton(tr("Calculate"), this);
    result = new QPushButton(this);
    result->setFlat(true);
    result->setToolTip(tr("Click for the next angle format"));
    result->setMinimumHeight(result->fontMetrics().height() * 3);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Distance:"), this), 0, 0);
    grid->addWidget(distanceEdit, 0, 1);
    grid->addWidget(units, 0, 2);
    grid->addWidget(new QLabel(tr("Course:"), this), 1, 0);
    grid->addWidget(courseEdit, 1, 1);
    grid->addWidget(new QLabel(tr("\u00b0 True"), this), 1, 2);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);
    auto* row = new QHBoxLayout;
    row->addWidget(method);
    row->addWidget(calculate, 0, Qt::AlignBottom);
    layout->addLayout(row);
    layout->addWidget(result);
    layout->addStretch(1);

    showState();
    connect(group->northSouth, &QPushButton::clicked, this, [this] {
        state().lat.flip();
        group->northSouth->setText(QString::fromLatin1(latitudeHemisphere(state().lat)));
    });
    connect(group->eastWest, &QPushButton::clicked, this, [this] {
        state().lon.flip();
        group->eastWest->setText(QString::fromLatin1(longitudeHemisphere(state().lon)));
    });
    connect(group->assumedPosition, &QPushButton::clicked, this, [this] {
        copyAssumedPosition(doc_.currentSight.observer.latitude, doc_.currentSight.observer.longitude, state().lat,
                            state().lon);
        group->show(state().lat, state().lon);
    });
    connect(calculate, &QPushButton::clicked, this, &RangeBearingDialog::compute);
    // A choice recomputes at once, as on the Great Circle page, so the result
    // shown is always the chosen method's; before the first result (no
    // distance typed yet) there is nothing to follow and nothing to refuse.
    const auto follow = [this] {
        if (!result->text().isEmpty()) compute();
    };
    connect(rhumbLine, &QRadioButton::clicked, this, [follow] {
        state().method = SailingMethod::RhumbLine;
        follow();
    });
    connect(greatCircle, &QRadioButton::clicked, this, [follow] {
        state().method = SailingMethod::GreatCircle;
        follow();
    });
    connect(units, &QComboBox::activated, this, [follow](int index) {
        state().unitIndex = index;
        follow();
    });
    connect(result, &QPushButton::clicked, this, [this] {
        state().advanceFormat();
        compute();
    });
    // The first opening has no distance yet (0 is below the range): nothing
    // to show then, and nothing to refuse before the user has typed.
    if (s.distance >= kDistanceRange.min && s.distance <= kDistanceRange.max) compute();
}

void RangeBearingDialog::showState() {
    const RangeBearingState& s = state();
    group->show(s.lat, s.lon);
    distanceEdit->setText(fieldText(s.distance));
    courseEdit->setText(fieldText(s.courseDeg));
}

bool RangeBearingDialog::compute() {
    DmsEntry lat, lon;
    double dist = 0.0, courseDeg = 0.0;
    // A refused field leaves no result: the one shown was for other choices.
    if (!group->read(lat, lon, kRangeBearingLatitudeRange) || !readNumber(distanceEdit, dist, kDistanceRange) ||
        !readNumber(courseEdit, courseDeg)) {
        result->setText(QString());
        return false;
    }
    state().unitIndex = units->currentIndex();
    if (const auto error = applyRangeBearingEntries(state(), lat, lon, courseDeg, dist)) {
        result->setText(QString());
        refuse(error->field == "distance" ? distanceEdit : group->field(error->field), rangeMessage(error->range));
        return false;
    }
    showState();
    result->setText(qtLines(computeRangeBearing(state()).text));
    return true;
}

// ---------------------------------------------------------------- Horizon distance

namespace {
HorizonCalculatorState& horizonState() {
    static HorizonCalculatorState s;
    return s;
}
}  // namespace

HorizonDialog::HorizonDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Horizon Distance"));
    const HorizonCalculatorState& s = horizonState();
    height = smallEdit(this, 8);
    height->setText(fieldText(s.height));
    meters = new QRadioButton(tr("Meters"), this);
    feet = new QRadioButton(tr("Feet"), this);
    (s.unit == HeightUnit::Meters ? meters : feet)->setChecked(true);
    calculate = new QPushButton(tr("Calculate"), this);
    visible = new QLabel(this);
    radar = new QLabel(this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Height of eye or radome:"), this));
    auto* row = new QHBoxLayout;
    row->addWidget(height);
    row->addWidget(meters);
    row->addWidget(feet);
    row->addStretch(1);
    row->addWidget(calculate);
    layout->addLayout(row);
    auto* out = new QFormLayout;
    out->addRow(tr("Visible light horizon:"), visible);
    out->addRow(tr("Radar horizon:"), radar);
    layout->addLayout(out);
    picture = new HorizonPicture(this);
    layout->addWidget(picture, 1);

    // The unit alone changes nothing until "Calculate".
    connect(calculate, &QPushButton::clicked, this, &HorizonDialog::compute);
    compute();
}

bool HorizonDialog::compute() {
    double h = 0.0;
    if (!readNumber(height, h, FieldRange{kMinHorizonHeight, kMaxHorizonHeight})) return false;
    if (h < kMinHorizonHeight || h > kMaxHorizonHeight) {
        refuse(height, rangeMessage({kMinHorizonHeight, kMaxHorizonHeight}));
        return false;
    }
    HorizonCalculatorState& s = horizonState();
    s.height = h;
    s.unit = feet->isChecked() ? HeightUnit::Feet : HeightUnit::Meters;
    const HorizonDistance d = horizonDistance(s.height, s.unit);
    visible->setText(engineText(d.visibleText));
    radar->setText(engineText(d.radarText));
    picture->setDistances(visible->text(), radar->text());
    return true;
}

// ---------------------------------------------------------------- DMS and HMS

DmsDialog::DmsDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("DMS and HMS"));
    decimal = new QLineEdit(QStringLiteral("359.5"), this);
    degrees = new QLineEdit(this);
    minutes = new QLineEdit(this);
    seconds = new QLineEdit(this);
    useSeconds = new QCheckBox(tr("Use Seconds"), this);
    toDecimal = new QPushButton(QStringLiteral("<<"), this);
    toDms = new QPushButton(QStringLiteral(">>"), this);
    auto* help = new QLabel(
        tr("\"<<\" converts degrees, minutes, seconds (DMS) into the decimal equivalent; \">>\" performs the inverse. "
           "Hours, minutes, seconds (HMS) convert the same way."),
        this);
    help->setWordWrap(true);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("D.dddd"), this), 0, 0);
    grid->addWidget(decimal, 1, 0);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(toDms);
    buttons->addWidget(toDecimal);
    grid->addLayout(buttons, 1, 1, 3, 1);
    grid->addWidget(new QLabel(tr("Degrees"), this), 0, 2);
    grid->addWidget(degrees, 1, 2);
    grid->addWidget(new QLabel(tr("Minutes"), this), 2, 2);
    grid->addWidget(minutes, 3, 2);
    grid->addWidget(new QLabel(tr("Seconds"), this), 4, 2);
    grid->addWidget(seconds, 5, 2);
    grid->addWidget(useSeconds, 5, 0);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(help);
    layout->addStretch(1);

    connect(toDms, &QPushButton::clicked, this, &DmsDialog::convertToDms);
    connect(toDecimal, &QPushButton::clicked, this, &DmsDialog::convertToDecimal);
    connect(useSeconds, &QCheckBox::toggled, this, &DmsDialog::convertToDms);
}

void DmsDialog::convertToDms() {
    double x = 0.0;
    if (!readNumberOrZero(decimal, x)) return;
    if (!(std::fabs(x) <= kDmsMaxMagnitude)) {
        refuse(decimal, rangeMessage({-kDmsMaxMagnitude, kDmsMaxMagnitude}));
        return;
    }
    const DmsValue v = decimalToDms(x, useSeconds->isChecked());
    degrees->setText(QString::fromStdString(v.degreesText));
    minutes->setText(QString::fromStdString(v.minutesText));
    seconds->setText(QString::fromStdString(v.secondsText));
}

void DmsDialog::convertToDecimal() {
    double d = 0.0, m = 0.0, sec = 0.0;
    if (!readNumberOrZero(degrees, d) || !readNumberOrZero(minutes, m) || !readNumberOrZero(seconds, sec)) return;
    const double x = dmsToDecimal(d, m, sec, useSeconds->isChecked());
    decimal->setText(QString::fromStdString(formatPlainDecimal(x)));
}

// ---------------------------------------------------------------- Julian day

JulianDayDialog::JulianDayDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Julian Day"));
    auto* group = new QGroupBox(tr("Calendar Day         to/from       Julian Day"), this);
    // The present instant in UT, the time scale Julian days count in (not
    // the desktop's local time).
    const CivilDateTime now = civilFromJulianDay(currentJulianDayUtc());
    date = new QDateEdit(QDate(now.year, now.month, now.day), group);
    date->setDisplayFormat(QStringLiteral("d MMM yyyy"));
    date->setDateRange(QDate(1, 1, 1), QDate(9999, 12, 31));
    date->setCalendarPopup(true);
    time = new QTimeEdit(QTime(now.hour, now.minute, now.second), group);
    time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    julianDay = new QLineEdit(group);
    toJulian = new QPushButton(QStringLiteral(">>"), group);
    toCalendar = new QPushButton(QStringLiteral("<<"), group);
    auto* grid = new QGridLayout(group);
    grid->addWidget(date, 0, 0);
    grid->addWidget(time, 1, 0);
    grid->addWidget(toJulian, 0, 1);
    grid->addWidget(toCalendar, 1, 1);
    grid->addWidget(julianDay, 0, 2, 2, 1);
    auto* text = new QLabel(
        tr("The Julian Date is the number of days since the mean noon measured at the Greenwich meridian on January "
           "1st 4713 BCE.  \n\nEach new Julian Day begins at 12h 00m UT. "),
        this);
    text->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(text);
    layout->addStretch(1);

    connect(toJulian, &QPushButton::clicked, this, &JulianDayDialog::convertToJulian);
    connect(toCalendar, &QPushButton::clicked, this, &JulianDayDialog::convertToCalendar);
    convertToJulian();
}

void JulianDayDialog::convertToJulian() {
    CivilDateTime t;
    t.year = date->date().year();
    t.month = date->date().month();
    t.day = date->date().day();
    t.hour = time->time().hour();
    t.minute = time->time().minute();
    t.second = time->time().second();
    julianDay->setText(QString::fromStdString(formatPlainDecimal(julianDayFromCivil(t))));
}

void JulianDayDialog::convertToCalendar() {
    // The pickers' years 1 to 9999: from 0h of 1 January 1 to the end of 31 December 9999.
    const FieldRange range{julianDayFromCivil({1, 1, 1, 0, 0, 0}), julianDayFromCivil({9999, 12, 31, 0, 0, 0}) + 1.0};
    double jd = 0.0;
    if (!readNumber(julianDay, jd, range)) return;
    const CivilDateTime t = civilFromJulianDay(jd);
    const QDate d(t.year, t.month, t.day);
    if (!d.isValid() || d < date->minimumDate() || d > date->maximumDate()) {
        refuse(julianDay, rangeMessage(range));
        return;
    }
    date->setDate(d);
    time->setTime(QTime(t.hour, t.minute, t.second));
}

}  // namespace celestra
