// The settings sheet: "Time", "LatLong" and "General". Every control writes
// the observer state, the drawing state, the custom places or the
// preferences at once and asks the chart to redraw; the document is saved
// when the sheet closes.
#pragma once

#include <QDialog>
#include <optional>

#include "app/document.h"
#include "gps/gps_source.h"
#include "ui/preferences.h"
#include "ui/zone_rule.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

namespace celestra {

class ChartView;
class SkyModel;

// Appends the world places whose name or country holds `search` (ignoring
// case and accents; all of them for an empty search) as "Name, Country",
// each carrying its place index in Qt::UserRole.
void addWorldPlaces(QListWidget* list, const QString& search);
// A place as the pages show it: "47°33.0' N  122°18.0' W".
QString placeText(double latitude, double longitude);

class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { TimePage = 0, PlacePage = 1, GeneralPage = 2 };
    SettingsDialog(DocumentData& document, ChartView& chart, SkyModel& model, Preferences& preferences, Page page,
                   QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    // The place page's list of world places (custom slots first) and its search box.
    QListWidget* placeList() const { return placeList_; }
    QLineEdit* placeSearch() const { return placeSearch_; }
    // The Time page's custom offset box and the place page's zone box.
    QComboBox* zoneHoursBox() const { return zoneHours_; }
    QComboBox* placeZoneBox() const { return placeZoneBox_; }

    // The "GPS..." button: opens the GPS page (window-modal) over the sheet.
    void openGpsPage();
    // What the GPS page hands back as it closes: the valid coordinates
    // become the observer's, as if typed into the place page.
    void applyGpsPosition(const GpsReceived& received);

signals:
    void helpRequested(const QString& topic);
    void preferencesChanged();

private:
    QWidget* buildTimePage();
    QWidget* buildPlacePage();
    QWidget* buildGeneralPage();
    void refreshTime();
    void refreshCurrent();
    void refreshPlace();
    void applyZone();
    // The custom offset box's text when the user leaves it: a number of
    // hours in -14..14 (point or the locale's separator), else refused.
    void finishZoneHours();
    // The box's hours when its text is a number in -14..14.
    std::optional<double> typedZoneHours() const;
    // The current place's named zone ("" for none): kept in the preferences,
    // shown on both pages, and the chart's zone when the Time page uses it.
    void setPlaceZone(const std::string& id);
    ZoneRule zoneRule() const;
    void applyPickers();
    void applyPlace();
    void fillPlaceList(const QString& text);
    // "Download": refreshes the comet element files, reloads the list and
    // says how it went; the chart recomputes.
    void runCometDownload();
    void refreshDownloadTip();
    // The instant the pickers edit: the chart's or the sight's AP time.
    double pickedInstant() const;

    DocumentData& doc_;
    ChartView& chart_;
    SkyModel& model_;
    Preferences& prefs_;
    QTabWidget* tabs_ = nullptr;
    bool refreshing_ = false;

    // Time
    QCheckBox* realtime_ = nullptr;
    QCheckBox* asUtc_ = nullptr;
    QCheckBox* dst_ = nullptr;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QRadioButton* zoneSystem_ = nullptr;
    QRadioButton* zoneLongitude_ = nullptr;
    QRadioButton* zoneCustom_ = nullptr;
    QRadioButton* zonePlace_ = nullptr;
    QComboBox* zoneHours_ = nullptr;
    QLabel* placeZoneLabel_ = nullptr;
    QRadioButton* apTime_ = nullptr;
    QRadioButton* chartTime_ = nullptr;
    QRadioButton* zoneTime_ = nullptr;
    QLabel* current_ = nullptr;
    QLabel* utc_ = nullptr;
    QLabel* latLong_ = nullptr;
    QLabel* zoneLabel_ = nullptr;

    // LatLong
    QSpinBox* latDeg_ = nullptr;
    QDoubleSpinBox* latMin_ = nullptr;
    QComboBox* latNs_ = nullptr;
    QSpinBox* lonDeg_ = nullptr;
    QDoubleSpinBox* lonMin_ = nullptr;
    QComboBox* lonEw_ = nullptr;
    QDoubleSpinBox* height_ = nullptr;
    QDoubleSpinBox* temperature_ = nullptr;
    QDoubleSpinBox* pressure_ = nullptr;
    QLineEdit* placeSearch_ = nullptr;
    QListWidget* placeList_ = nullptr;
    QLineEdit* slotName_ = nullptr;
    QComboBox* placeZoneBox_ = nullptr;

    // General
    QPushButton* cometDownload_ = nullptr;
};

}  // namespace celestra
