#include "ui/gps_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <thread>

#include "ui/translations.h"

namespace celestra {

namespace {

// gpsd on the loopback answers within milliseconds; a remote host that does
// not answer costs this much (twice: the connection, then its VERSION) on
// the probe's thread before the page says no gpsd answers.
constexpr int kProbeTimeoutMs = 600;
constexpr int kGpsdOpenTimeoutMs = 1500;
constexpr int kPollMs = 1000;

GpsPage::ClockSetter& clockSetter() {
    static GpsPage::ClockSetter setter = setSystemClockUtc;
    return setter;
}

// The engine's texts end lines with "\r\n", gpsd's status lines with a bare
// "\r"; the widget breaks lines at "\n".
QString widgetLines(const std::string& text) {
    QString s = QString::fromStdString(text);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

void showValue(QLabel* field, const std::string& text, bool valid) {
    field->setText(QString::fromStdString(text));
    // A style sheet, not the palette: the program's colour schemes replace
    // the application palette and style sheet, and a widget's own palette
    // does not survive that; its own style sheet does.
    const GpsRgb rgb = gpsValueColor(valid);
    field->setStyleSheet(QStringLiteral("color: rgb(%1, %2, %3)").arg(rgb.red).arg(rgb.green).arg(rgb.blue));
}

}  // namespace

void GpsPage::setClockSetter(ClockSetter setter) { clockSetter() = std::move(setter); }

GpsPage::GpsPage(Preferences& preferences, QWidget* parent) : QDialog(parent), prefs_(preferences) {
    setWindowTitle(tr("GPS"));
    const GpsSettings saved = GpsSettings::FromWord(prefs_.gpsSettings);
    savedBaudSelection_ = saved.baudSelection;

    // ---- GPS Setup
    auto* setup = new QGroupBox(tr("GPS Setup"));
    auto* setupGrid = new QGridLayout(setup);
    serial_ = new QRadioButton(tr("Use COM Port:"));
    gpsd_ = new QRadioButton(engineText(CGpsdSource::kRadioText));
    auto* sources = new QButtonGroup(this);
    sources->addButton(serial_);
    sources->addButton(gpsd_);
    port_ = new QComboBox;
    port_->setObjectName(QStringLiteral("portBox"));
    port_->setEditable(true);
    // The list is the machine's; a typed path is used as it stands.
    port_->setInsertPolicy(QComboBox::NoInsert);
    port_->setToolTip(tr("The receiver's serial device; type a path that is not listed"));
    for (const std::string& path : listSerialDevices()) port_->addItem(QString::fromStdString(path));
    baud_ = new QComboBox;
    baud_->setObjectName(QStringLiteral("baudBox"));
    for (unsigned rate : kGpsBaudRates) baud_->addItem(QString::number(rate));
    baudDefault_ = new QLabel(widgetLines(gpsBaudRateText(-1)));
    start_ = new QPushButton(tr("Start"));
    start_->setObjectName(QStringLiteral("startButton"));
    start_->setAutoDefault(false);
    setupGrid->addWidget(serial_, 0, 0);
    setupGrid->addWidget(port_, 0, 1, 1, 2);
    setupGrid->addWidget(new QLabel(tr("Baud Rate:")), 1, 0);
    setupGrid->addWidget(baud_, 1, 1);
    setupGrid->addWidget(baudDefault_, 1, 2);
    setupGrid->addWidget(gpsd_, 2, 0, 1, 3);
    setupGrid->addWidget(start_, 3, 2, Qt::AlignRight);
    setupGrid->setColumnStretch(2, 1);

    // ---- Raw Data
    auto* rawBox = new QGroupBox(tr("Raw Data"));
    auto* rawLayout = new QVBoxLayout(rawBox);
    raw_ = new QPlainTextEdit;
    raw_->setReadOnly(true);
    // Room for a sentence summary on two lines and for gpsd's thirteen status lines.
    raw_->setMinimumSize(raw_->fontMetrics().averageCharWidth() * 64, raw_->fontMetrics().lineSpacing() * 14);
    rawLayout->addWidget(raw_);

    // ---- The values
    auto* values = new QGridLayout;
    QFont valueFont(QString::fromLatin1(kGpsValueFontFamily));
    valueFont.setPointSizeF(font().pointSizeF() * 1.2);
    valueFont.setBold(true);
    auto field = [&](const char* name) {
        auto* l = new QLabel;
        l->setObjectName(QString::fromLatin1(name));
        l->setFont(valueFont);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    latitude_ = field("latitudeField");
    longitude_ = field("longitudeField");
    time_ = field("timeField");
    setClock_ = new QCheckBox(tr("Set system clock (UTC):"));
    setClock_->setToolTip(
        tr("On closing, set the system clock to the received time "
           "(needs the right to set the clock)"));
    values->addWidget(new QLabel(tr("Latitude:")), 0, 0);
    values->addWidget(latitude_, 0, 1);
    values->addWidget(new QLabel(tr("Longitude:")), 1, 0);
    values->addWidget(longitude_, 1, 1);
    values->addWidget(setClock_, 2, 0);
    values->addWidget(time_, 2, 1);
    values->setColumnStretch(1, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(QStringLiteral("gps")); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(setup);
    layout->addWidget(rawBox, 1);
    layout->addLayout(values);
    layout->addWidget(buttons);

    // Opening: the saved port and baud entries, "?" in the three fields.
    // The word's port field is an index into a list that changes when
    // devices come and go; the device path kept beside it wins.
    const QString savedDevice = prefs_.gpsDevice.trimmed();
    if (!savedDevice.isEmpty()) {
        const int index = port_->findText(savedDevice);
        if (index >= 0) port_->setCurrentIndex(index);
        else port_->setEditText(savedDevice);
    } else if (saved.portSelection < port_->count()) {
        port_->setCurrentIndex(saved.portSelection);
    }
    const bool inTable = saved.baudSelection >= 0 && saved.baudSelection < kGpsBaudRateCount;
    baud_->setCurrentIndex(inTable ? saved.baudSelection : -1);
    baudDefault_->setVisible(!inTable);
    connect(baud_, &QComboBox::currentIndexChanged, this, [this](int index) { baudDefault_->setVisible(index < 0); });
    showReceived(received_);
    setClock_->setChecked(saved.setSystemClock);

    serial_->setChecked(true);
    const QString where = prefs_.gpsdHost.trimmed() + QLatin1Char(':') + QString::number(prefs_.gpsdPort);
    gpsd_->setToolTip(tr("Looking for gpsd on %1").arg(where));
    connect(serial_, &QRadioButton::toggled, this, [this] { updateEnabled(); });
    connect(start_, &QPushButton::clicked, this, [this] { running() ? stop() : start(); });
    poll_.setInterval(kPollMs);
    connect(&poll_, &QTimer::timeout, this, &GpsPage::pollGpsd);
    updateEnabled();

    probeGpsd(prefs_, this, [this](bool answered) { probeAnswered(answered); });
}

void GpsPage::probeGpsd(const Preferences& preferences, QObject* receiver, std::function<void(bool)> answered) {
    // The thread owns nothing of the receiver: a host name that takes long
    // to look up must hold up neither the opening nor the closing of a page.
    const std::string host = preferences.gpsdHost.trimmed().toStdString();
    const int port = preferences.gpsdPort;
    std::thread([receiver = QPointer<QObject>(receiver), answered = std::move(answered), host, port] {
        const bool yes = CGpsdSource::Probe(host, port, kProbeTimeoutMs);
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(
                app,
                [receiver, answered, yes] {
                    if (receiver) answered(yes);
                },
                Qt::QueuedConnection);
    }).detach();
}

GpsPage::~GpsPage() {
    // The serial listener calls this object: it must end first.
    if (serialPort_.IsOpen()) serialPort_.Close();
}

void GpsPage::probeAnswered(bool answered) {
    probe_ = answered ? GpsdProbe::Answered : GpsdProbe::Silent;
    const QString where = prefs_.gpsdHost.trimmed() + QLatin1Char(':') + QString::number(prefs_.gpsdPort);
    gpsd_->setToolTip(answered ? tr("gpsd answers on %1").arg(where)
                               : tr("No gpsd answers on %1 (host and port: Preferences, General)").arg(where));
    if (answered && running_ == Source::None) gpsd_->setChecked(true);
    updateEnabled();
}

void GpsPage::updateEnabled() {
    const bool idle = running_ == Source::None;
    const bool serialChosen = !gpsd_->isChecked();
    serial_->setEnabled(idle);
    gpsd_->setEnabled(idle && probe_ == GpsdProbe::Answered);
    port_->setEnabled(idle && serialChosen);
    baud_->setEnabled(idle && serialChosen);
    baudDefault_->setEnabled(idle && serialChosen);
    start_->setText(idle ? tr("Start") : tr("Stop"));
}

int GpsPage::baudSelection() const {
    // No entry chosen: the saved selection outside the table stands (4800).
    return baud_->currentIndex() >= 0 ? baud_->currentIndex() : savedBaudSelection_;
}

QString GpsPage::device() const { return port_->currentText().trimmed(); }

GpsSettings GpsPage::settings() const {
    GpsSettings s;
    const int listed = port_->findText(device());
    s.portSelection = listed >= 0 && listed < 256 ? listed : 0;
    s.baudSelection = baudSelection();
    s.setSystemClock = setClock_->isChecked();
    return s;
}

void GpsPage::start() {
    if (running()) return;
    if (gpsd_->isChecked()) startGpsd();
    else startSerial();
    updateEnabled();
}

void GpsPage::startSerial() {
    const std::string path = device().toStdString();
    std::string failure;
    if (serialPort_.Open(path, this) != 0) {
        failure = gpsPortFailedText(path);
    } else if (setupGpsPort(serialPort_, gpsBaudRateFromSelection(baudSelection())) != 0) {
        serialPort_.Close();
        failure = gpsPortFailedText(path);
    }
    if (!failure.empty()) {
        // The reason on a line of its own: permission, in use, not a serial
        // device, a rate the device cannot run at.
        const std::string reason = serialPort_.ErrorText();
        nmea_.AppendDisplay(failure + (reason.empty() ? std::string() : reason + "\r\n"));
        showDisplay(nmea_.DisplayText());
        return;
    }
    running_ = Source::Serial;
    nmea_.AppendDisplay(gpsPortOpenedText(path));
    showDisplay(nmea_.DisplayText());
}

void GpsPage::startGpsd() {
    const std::string host = prefs_.gpsdHost.trimmed().toStdString();
    if (gpsdSource_.Open(host, prefs_.gpsdPort, kGpsdOpenTimeoutMs) != 0) {
        showDisplay(std::string(CGpsdSource::kOpenFailedText) + "\r\n" + gpsdSource_.ErrorText() + "\r\n");
        return;
    }
    running_ = Source::Gpsd;
    seconds_ = 0;
    showDisplay(CGpsdSource::kOpenedText);
    poll_.start();
}

void GpsPage::stop() {
    closeSource();
    nmea_.ClearDisplay();
    showDisplay(std::string());
}

void GpsPage::closeSource() {
    poll_.stop();
    if (serialPort_.IsOpen()) serialPort_.Close();
    gpsdSource_.Close();
    running_ = Source::None;
    updateEnabled();
}

void GpsPage::onSerialEvent(quint32 eventsAndErrors, quint32) {
    // Calls queued before the port closed still arrive.
    if (running_ != Source::Serial || !serialPort_.IsOpen()) return;
    if (CSerialWnd::EventsOf(eventsAndErrors) & CSerial::EEventRecv) {
        nmea_.ReadFrom(serialPort_);
        received_ = nmea_.Received();
        showReceived(received_);
    }
    if (CSerialWnd::ErrorsOf(eventsAndErrors) & CSerial::EErrorHangup) {
        // Unplugged: the listener has ended; say so and offer "Start" again.
        nmea_.AppendDisplay(tr("Lost port %1").arg(QString::fromStdString(serialPort_.Device())).toStdString() +
                            "\r\n");
        closeSource();
    }
    showDisplay(nmea_.DisplayText());
}

void GpsPage::pollGpsd() {
    if (running_ != Source::Gpsd) return;
    ++seconds_;
    if (gpsdSource_.Poll(0) != 0) {
        // A report that did not come leaves the display as it is; a
        // connection gpsd closed does not come back by itself.
        if (!gpsdSource_.IsOpen()) {
            showDisplay(displayed_ + "\r\n" + gpsdSource_.ErrorText() + "\r\n");
            closeSource();
        }
        return;
    }
    received_ = gpsdSource_.Received();
    showReceived(received_);
    showDisplay(gpsdSource_.StatusText(seconds_));
}

void GpsPage::showDisplay(const std::string& text) {
    displayed_ = text;
    const QString shown = widgetLines(text);
    if (raw_->toPlainText() == shown) return;
    raw_->setPlainText(shown);
    // Sentences arrive at the end; gpsd's status is read from its first line.
    QScrollBar* bar = raw_->verticalScrollBar();
    bar->setValue(running_ == Source::Gpsd ? bar->minimum() : bar->maximum());
}

void GpsPage::showReceived(const GpsReceived& r) {
    showValue(latitude_, gpsDegreesFieldText(r.latitudeValid, r.latitudeDegrees, true), r.latitudeValid);
    showValue(longitude_, gpsDegreesFieldText(r.longitudeValid, r.longitudeDegrees, false), r.longitudeValid);
    showValue(time_, gpsTimeFieldText(r), r.timeReceived);
}

void GpsPage::done(int result) {
    if (!finished_) {
        finished_ = true;
        closeSource();
        const GpsSettings s = settings();
        prefs_.gpsSettings = s.ToWord();
        prefs_.gpsDevice = device();
        savePreferences(prefs_);
        if (s.setSystemClock) {
            if (const auto target = gpsClockTarget(received_)) {
                std::string message;
                if (clockSetter()(*target, message) != 0) {
                    QMessageBox box(QMessageBox::Warning, windowTitle(), QString::fromStdString(message),
                                    QMessageBox::Ok, this);
                    box.setObjectName(QStringLiteral("clockMessage"));
                    box.exec();
                }
            }
        }
        emit positionHandedOver(received_);
    }
    QDialog::done(result);
}

}  // namespace celestra
