// The page of the first start, when there is no document yet: where the
// observer is. The world places with a search (as on the LatLong page), the
// "GPS..." button when a receiver may answer (a gpsd on the preferences'
// host and port, or a serial device in the machine's list), and the time
// zone: the system's (preselected), the longitude's, or the chosen world
// place's own. "OK" moves the observer there; the place page changes it later.
#pragma once

#include <QDialog>

#include "app/document.h"
#include "ui/preferences.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace celestra {

class FirstStartPage : public QDialog {
    Q_OBJECT
public:
    FirstStartPage(DocumentData& document, Preferences& preferences, QWidget* parent = nullptr);

    QLineEdit* search() const { return search_; }
    QListWidget* placeList() const { return list_; }
    QLabel* placeLabel() const { return chosenLabel_; }
    QPushButton* gpsButton() const { return gps_; }
    QPushButton* okButton() const { return ok_; }
    QComboBox* zoneBox() const { return zone_; }
    bool hasPlace() const { return hasPlace_; }

    // Takes a place (degrees, north and east positive) as the one to use.
    void choose(double latitude, double longitude, const QString& name);
    // Shows the "GPS..." button: a receiver may answer.
    void offerGps();
    // OK: the observer moves to the chosen place, the zone choice is kept.
    void accept() override;

signals:
    // After accept() changed the document and the preferences.
    void placeChosen();
    void helpRequested(const QString& topic);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill(const QString& search);
    void showPlaceZone();

    DocumentData& doc_;
    Preferences& prefs_;
    QLineEdit* search_;
    QListWidget* list_;
    QLabel* chosenLabel_;
    QPushButton* gps_;
    QPushButton* ok_;
    QComboBox* zone_;
    bool hasPlace_ = false;
    double latitude_ = 0.0;
    double longitude_ = 0.0;
    int chosenIndex_ = -1;  // the world place chosen, -1 for none or a GPS position
    QString placeZone_;     // its IANA zone, "" for none
};

// The world place named like the city of an IANA zone ("Europe/Berlin":
// Berlin; "America/Argentina/Buenos_Aires": Buenos Aires), -1 when there is
// none or the zone names no city ("UTC", "Etc/GMT+2").
int placeOfTimeZone(const QString& zoneId);

}  // namespace celestra
