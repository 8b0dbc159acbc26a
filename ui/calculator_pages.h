// The calculator pages of the "Calculators" menu: great-circle distance,
// range and bearing, horizon distance, the DMS/HMS converter and the
// Julian-day converter. The logic lives in calculators/; these pages move
// values between their controls and that logic. The great-circle, range and
// bearing and horizon pages keep their state for the run of the program
// (not in the document); the two converters keep none beyond their controls.
#pragma once

#include <QDialog>
#include <QPushButton>

#include "calculators/navigation_calculators.h"
#include "ui/number_field.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTimeEdit;

namespace celestra {

struct DocumentData;
class GreatCirclePicture;
class HorizonPicture;

// "Please enter a number between MIN and MAX.", the message of a field out of range.
QString rangeMessage(const FieldRange& range);

// One "LatLong" group: degrees, minutes and seconds of the latitude and of
// the longitude, the two hemisphere buttons and "Assumed Position".
class LatLongGroup : public QWidget {
    Q_OBJECT
public:
    LatLongGroup(const QString& title, QWidget* parent = nullptr);

    void show(const DmsCoordinate& lat, const DmsCoordinate& lon);
    // Reads the six fields; false (the field's range shown, focus on the
    // field) when one is not a number. The latitude's range is the page's.
    bool read(DmsEntry& lat, DmsEntry& lon, const FieldRange& latitudeRange);
    // The edit a refusal names ("latitude degrees", "longitude seconds", ...).
    QLineEdit* field(const std::string& name) const;

    QLineEdit *latDeg, *latMin, *latSec, *lonDeg, *lonMin, *lonSec;
    QPushButton *northSouth, *eastWest, *assumedPosition;
};

class GreatCircleDialog : public QDialog {
    Q_OBJECT
public:
    GreatCircleDialog(const DocumentData& document, QWidget* parent = nullptr);

    // The state kept for the run of the program.
    static GreatCircleState& state();

    LatLongGroup *group1, *group2;
    QComboBox* units;
    QRadioButton *ellipsoid, *sphere;
    QPushButton* calculate;
    QLabel *distance, *course, *note;
    GreatCirclePicture* picture;  // the route on a globe

public slots:
    // Reads, validates and stores the fields, then shows the results. False on a refusal.
    bool compute();

private:
    void showState();
    const DocumentData& doc_;
};

class RangeBearingDialog : public QDialog {
    Q_OBJECT
public:
    RangeBearingDialog(const DocumentData& document, QWidget* parent = nullptr);

    static RangeBearingState& state();

    LatLongGroup* group;
    QLineEdit *distanceEdit, *courseEdit;
    QComboBox* units;
    QRadioButton *rhumbLine, *greatCircle;
    QPushButton* calculate;
    QPushButton* result;  // flat: a click advances the angle format

public slots:
    bool compute();

private:
    void showState();
    const DocumentData& doc_;
};

class HorizonDialog : public QDialog {
    Q_OBJECT
public:
    explicit HorizonDialog(QWidget* parent = nullptr);

    QLineEdit* height;
    QRadioButton *meters, *feet;
    QPushButton* calculate;
    QLabel *visible, *radar;
    HorizonPicture* picture;  // the eye, the dip and the two horizons

public slots:
    bool compute();
};

class DmsDialog : public QDialog {
    Q_OBJECT
public:
    explicit DmsDialog(QWidget* parent = nullptr);

    QLineEdit *decimal, *degrees, *minutes, *seconds;
    QCheckBox* useSeconds;
    QPushButton *toDecimal, *toDms;  // "<<", ">>"

public slots:
    void convertToDms();
    void convertToDecimal();
};

class JulianDayDialog : public QDialog {
    Q_OBJECT
public:
    explicit JulianDayDialog(QWidget* parent = nullptr);

    QDateEdit* date;
    QTimeEdit* time;
    QLineEdit* julianDay;
    QPushButton *toJulian, *toCalendar;  // ">>", "<<"

public slots:
    void convertToJulian();
    void convertToCalendar();
};

}  // namespace celestra
