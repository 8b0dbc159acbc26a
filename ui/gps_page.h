// The "GPS" page, opened from the place page's "GPS..." button: reads the
// position, and the UTC time, from a receiver on a serial device (NMEA 0183)
// or from a gpsd daemon, shows the raw sentences or gpsd's status lines and
// the three values, and on closing hands the position back to the place page
// and may set the system clock. The engine (gps/) does the work; the page
// wires it to its controls on the user-interface thread.
#pragma once

#include <QDialog>
#include <QTimer>
#include <functional>
#include <string>

#include "gps/gps_source.h"
#include "gps/gpsd_source.h"
#include "gps/serial_wnd_qt.h"
#include "ui/preferences.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace celestra {

class GpsPage : public QDialog {
    Q_OBJECT
public:
    // What sets the system clock when the page closes: 0, or an error code
    // with a message for the user. setSystemClockUtc unless replaced (tests
    // replace it once for the whole program, so that no test moves the clock
    // of the machine it runs on).
    using ClockSetter = std::function<int(JulianDay jdUtc, std::string& message)>;
    static void setClockSetter(ClockSetter setter);

    // Whether a gpsd answered on the preferences' host and port. The page
    // asks on a thread of its own as it opens, so a host that does not answer
    // never holds up the page; the gpsd source is offered when it answers.
    enum class GpsdProbe { Pending, Answered, Silent };
    // Asks, on a thread of its own, whether a gpsd answers on the
    // preferences' host and port; `answered` then runs on the user-interface
    // thread, unless `receiver` is gone by then.
    static void probeGpsd(const Preferences& preferences, QObject* receiver, std::function<void(bool)> answered);

    // Reads the settings word and the device from `preferences` and writes
    // them back there (and to the program's settings) as the page closes.
    explicit GpsPage(Preferences& preferences, QWidget* parent = nullptr);
    ~GpsPage() override;

    QRadioButton* serialButton() const { return serial_; }
    QRadioButton* gpsdButton() const { return gpsd_; }
    QComboBox* portBox() const { return port_; }
    QComboBox* baudBox() const { return baud_; }
    QLabel* baudDefaultLabel() const { return baudDefault_; }
    QPushButton* startButton() const { return start_; }
    QPlainTextEdit* rawData() const { return raw_; }
    QLabel* latitudeField() const { return latitude_; }
    QLabel* longitudeField() const { return longitude_; }
    QLabel* timeField() const { return time_; }
    QCheckBox* setClockBox() const { return setClock_; }
    GpsdProbe gpsdProbe() const { return probe_; }
    // The values received so far from the source last started.
    const GpsReceived& received() const { return received_; }
    bool running() const { return running_ != Source::None; }
    // The settings word as the controls stand.
    GpsSettings settings() const;

    void start();
    void stop();

public slots:
    void done(int result) override;
    // Port events from the serial listener (queued onto this thread).
    void onSerialEvent(quint32 eventsAndErrors, quint32 value);

signals:
    // On closing: the received position (each coordinate with its valid
    // flag) for the place page to apply.
    void positionHandedOver(const celestra::GpsReceived& received);
    void helpRequested(const QString& topic);

private:
    enum class Source { None, Serial, Gpsd };

    void startSerial();
    void startGpsd();
    void pollGpsd();
    // Back to "Start" with the source closed; the display text stays.
    void closeSource();
    void probeAnswered(bool answered);
    void updateEnabled();
    void showDisplay(const std::string& text);
    void showReceived(const GpsReceived& received);
    int baudSelection() const;
    QString device() const;

    Preferences& prefs_;
    int savedBaudSelection_;
    QRadioButton* serial_;
    QRadioButton* gpsd_;
    QComboBox* port_;
    QComboBox* baud_;
    QLabel* baudDefault_;
    QPushButton* start_;
    QPlainTextEdit* raw_;
    QLabel* latitude_;
    QLabel* longitude_;
    QLabel* time_;
    QCheckBox* setClock_;

    Source running_ = Source::None;
    CSerialWnd serialPort_;
    CNmeaReceiver nmea_;
    CGpsdSource gpsdSource_;
    QTimer poll_;
    int seconds_ = 0;
    std::string displayed_;
    GpsReceived received_;
    GpsdProbe probe_ = GpsdProbe::Pending;
    bool finished_ = false;
};

}  // namespace celestra
