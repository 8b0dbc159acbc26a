#include "ui/settings_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCompleter>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimeEdit>
#include <QTimeZone>
#include <QTimer>
#include <QVBoxLayout>
#include <cmath>

#include "catalogs/places.h"
#include "core/time_scales.h"
#include "sky/universe.h"
#include "solarsystem/comet_download.h"
#include "ui/chart_overlays.h"
#include "ui/chart_view.h"
#include "ui/download_dialog.h"
#include "ui/gps_page.h"
#include "ui/number_field.h"
#include "ui/sky_model.h"
#include "ui/translations.h"

namespace celestra {
namespace {

constexpr double kUnixEpochJd = 2440587.5;

QDateTime dateTimeOfJd(double jd) {
    return QDateTime::fromMSecsSinceEpoch(std::llround((jd - kUnixEpochJd) * 86400000.0), Qt::UTC);
}
double jdOfDateTime(const QDateTime& t) { return kUnixEpochJd + t.toMSecsSinceEpoch() / 86400000.0; }

// A time picker that takes a whole time typed over its text ("21:30:15").
// The sectioned editor of Qt refuses a digit that replaces the whole text,
// and after two digits it moves on to the next section by itself, so the
// ':' typed next skipped a section: "21:30:15" gave 21:00:15.
class TypedTimeEdit : public QTimeEdit {
public:
    using QTimeEdit::QTimeEdit;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        const QString text = event->text();
        const bool digit = text.size() == 1 && text.at(0).isDigit();
        const bool separator = text == QStringLiteral(":");
        if (separator && movedOn_) {
            movedOn_ = false;  // the section already ended with its two digits
            event->accept();
            return;
        }
        if (digit && !lineEdit()->selectedText().isEmpty() && lineEdit()->selectedText() == lineEdit()->text())
            setSelectedSection(QDateTimeEdit::HourSection);  // typing over everything starts at the hours
        const Section before = currentSection();
        QTimeEdit::keyPressEvent(event);
        movedOn_ = digit && currentSection() != before;
    }
    void focusOutEvent(QFocusEvent* event) override {
        movedOn_ = false;
        QTimeEdit::focusOutEvent(event);
    }

private:
    bool movedOn_ = false;
};

}  // namespace

QString placeText(double latitude, double longitude) {
    auto part = [](double v, char pos, char neg) {
        const double a = std::fabs(v);
        const int deg = static_cast<int>(a);
        return QStringLiteral("%1°%2' %3")
            .arg(deg)
            .arg((a - deg) * 60.0, 4, 'f', 1, QLatin1Char('0'))
            .arg(QLatin1Char(v < 0 ? neg : pos));
    };
    return part(latitude, 'N', 'S') + QStringLiteral("  ") + part(longitude, 'E', 'W');
}

SettingsDialog::SettingsDialog(DocumentData& document, ChartView& chart, SkyModel& model, Preferences& preferences,
                               Page page, QWidget* parent)
    : QDialog(parent), doc_(document), chart_(chart), model_(model), prefs_(preferences) {
    setWindowTitle(tr("Settings"));
    tabs_ = new QTabWidget(this);
    tabs_->addTab(buildTimePage(), tr("Time"));
    tabs_->addTab(buildPlacePage(), tr("LatLong"));
    tabs_->addTab(buildGeneralPage(), tr("General"));
    tabs_->setCurrentIndex(page);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] {
        static const char* topics[] = {"time", "place", "general"};
        emit helpRequested(QString::fromLatin1(topics[tabs_->currentIndex()]));
    });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
    // Return in a field takes what was typed and leaves the sheet open: it
    // presses no button (it pressed "Set arrival time at Assumed Position",
    // which turned the pickers over to the AP time).
    for (QPushButton* b : findChildren<QPushButton*>()) b->setAutoDefault(false);
    connect(tabs_, &QTabWidget::currentChanged, this, [this] {
        refreshTime();
        refreshPlace();
    });
    refreshTime();
    refreshPlace();
}

// ---- Time ----

QWidget* SettingsDialog::buildTimePage() {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    realtime_ = new QCheckBox(tr("Realtime"));
    asUtc_ = new QCheckBox(tr("as UTC"));
    dst_ = new QCheckBox(tr("DST"));
    date_ = new QDateEdit;
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setCalendarPopup(true);
    time_ = new TypedTimeEdit;
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    // The instant moves when a typed date or time is complete (Return, Tab,
    // leaving the field) or an arrow steps it, not at every keystroke: a
    // half-typed "2" of "21:00:00" would move the chart to 02 h, and the
    // refresh that follows would put the cursor back in the text.
    for (QAbstractSpinBox* picker : {static_cast<QAbstractSpinBox*>(date_), static_cast<QAbstractSpinBox*>(time_)})
        picker->setKeyboardTracking(false);
    utc_ = new QLabel(QStringLiteral("utc"));

    auto* which = new QGroupBox;
    auto* whichLayout = new QVBoxLayout(which);
    apTime_ = new QRadioButton(tr("  Assumed Position time"));
    chartTime_ = new QRadioButton(tr("Star chart time"));
    zoneTime_ = new QRadioButton(tr("Time Zone"));
    chartTime_->setChecked(true);
    for (QRadioButton* b : {apTime_, chartTime_, zoneTime_}) whichLayout->addWidget(b);

    auto* zoneBox = new QGroupBox;
    auto* zoneLayout = new QGridLayout(zoneBox);
    zoneSystem_ = new QRadioButton(tr("System clock"));
    zoneLongitude_ = new QRadioButton(tr("Longitude"));
    zoneCustom_ = new QRadioButton(tr("Custom"));
    zonePlace_ = new QRadioButton(tr("Place's time zone"));
    zoneHours_ = new QComboBox;
    zoneHours_->setEditable(true);
    zoneHours_->setInsertPolicy(QComboBox::NoInsert);
    zoneHours_->setObjectName(QStringLiteral("zoneHours"));
    for (int half = -24; half <= 28; ++half) zoneHours_->addItem(QString::fromStdString(zoneHoursText(half / 2.0)));
    zoneLabel_ = new QLabel(QStringLiteral("UTC"));
    placeZoneLabel_ = new QLabel;
    placeZoneLabel_->setObjectName(QStringLiteral("placeZoneLabel"));
    // Wrapped, so a long zone name never widens the page past the sheet.
    placeZoneLabel_->setWordWrap(true);
    placeZoneLabel_->setIndent(fontMetrics().averageCharWidth() * 3);
    zoneLayout->addWidget(zoneSystem_, 0, 0, 1, 3);
    zoneLayout->addWidget(zoneLongitude_, 1, 0, 1, 3);
    zoneLayout->addWidget(zoneCustom_, 2, 0);
    zoneLayout->addWidget(zoneHours_, 2, 1);
    zoneLayout->addWidget(zoneLabel_, 2, 2);
    zoneLayout->addWidget(zonePlace_, 3, 0, 1, 3);
    zoneLayout->addWidget(placeZoneLabel_, 4, 0, 1, 3);
    auto* zoneGroup = new QButtonGroup(page);
    zoneGroup->addButton(zoneSystem_, 0);
    zoneGroup->addButton(zoneLongitude_, 1);
    zoneGroup->addButton(zoneCustom_, 2);
    zoneGroup->addButton(zonePlace_, 3);

    current_ = new QLabel(tr("Current:"));
    latLong_ = new QLabel(tr("LatLong"));
    auto* arrival = new QPushButton(tr("Set arrival time at Assumed Position"));

    grid->addWidget(realtime_, 0, 0);
    grid->addWidget(asUtc_, 0, 1);
    grid->addWidget(dst_, 0, 2);
    grid->addWidget(date_, 1, 0);
    grid->addWidget(time_, 1, 1);
    grid->addWidget(utc_, 1, 2);
    grid->addWidget(which, 2, 0, 1, 2);
    grid->addWidget(zoneBox, 2, 2);
    grid->addWidget(current_, 3, 0, 1, 3);
    grid->addWidget(latLong_, 4, 0, 1, 3);
    grid->addWidget(arrival, 5, 0, 1, 3);
    grid->setRowStretch(6, 1);

    connect(realtime_, &QCheckBox::toggled, this, [this](bool on) {
        if (refreshing_) return;
        if (on) {
            chart_.timeControl().realtime();
        } else {
            doc_.drawState.realTime = 0;
            chart_.viewChanged(true);
        }
        refreshTime();
    });
    connect(asUtc_, &QCheckBox::toggled, this, [this] { refreshTime(); });
    connect(dst_, &QCheckBox::toggled, this, [this] {
        if (!refreshing_) applyZone();
    });
    connect(zoneGroup, &QButtonGroup::idClicked, this, [this] { applyZone(); });
    // Hours typed take effect as soon as they are a number in range; other
    // text waits, untouched, until the box is left (finishZoneHours).
    connect(zoneHours_, &QComboBox::currentTextChanged, this, [this] {
        if (!refreshing_ && typedZoneHours()) applyZone();
    });
    connect(zoneHours_->lineEdit(), &QLineEdit::editingFinished, this, &SettingsDialog::finishZoneHours);
    for (QRadioButton* b : {apTime_, chartTime_, zoneTime_})
        connect(b, &QRadioButton::toggled, this, [this](bool on) {
            if (on) refreshTime();
        });
    connect(date_, &QDateEdit::dateChanged, this, [this] { applyPickers(); });
    connect(time_, &QTimeEdit::timeChanged, this, [this] { applyPickers(); });
    // "Current:" is the clock's time; it and the "Time Zone" pickers tick each second.
    auto* clock = new QTimer(page);
    clock->setObjectName(QStringLiteral("clockTimer"));
    clock->setInterval(1000);
    connect(clock, &QTimer::timeout, this, [this] {
        if (zoneTime_->isChecked()) refreshTime();
        else refreshCurrent();
    });
    clock->start();
    connect(arrival, &QPushButton::clicked, this, [this] {
        // The sight's AP time becomes the chart's instant: the navigator is at the AP then.
        doc_.currentSight.apTimeOverride = doc_.observer.instant;
        apTime_->setChecked(true);
        refreshTime();
    });
    return page;
}

double SettingsDialog::pickedInstant() const {
    if (apTime_->isChecked()) return doc_.currentSight.ApTime();
    if (zoneTime_->isChecked()) return chart_.clockNow();
    return doc_.observer.instant;
}

void SettingsDialog::refreshTime() {
    refreshing_ = true;
    const ZoneChoice& zone = prefs_.zone;
    realtime_->setChecked(doc_.drawState.realTime != 0);
    zoneSystem_->setChecked(zone.source == ZoneSource::SystemClock);
    zoneLongitude_->setChecked(zone.source == ZoneSource::Longitude);
    zoneCustom_->setChecked(zone.source == ZoneSource::Custom);
    zonePlace_->setChecked(zone.source == ZoneSource::Place);
    zoneHours_->setEnabled(zone.source == ZoneSource::Custom);
    // Not while the user's own spelling of the same hours ("5,75") stands.
    if (parseFieldNumber(zoneHours_->currentText()) != zone.customHours)
        zoneHours_->setCurrentText(QString::fromStdString(zoneHoursText(zone.customHours)));
    dst_->setChecked(zoneDaylight(zone, doc_.observer.instant));
    // The database says when daylight saving is in force; the box only shows it then.
    dst_->setEnabled(zone.source == ZoneSource::Longitude || zone.source == ZoneSource::Custom);
    const QString named = namedZoneText(zone.placeZone, doc_.observer.instant);
    placeZoneLabel_->setText(named.isEmpty() ? tr("none yet: the longitude's zone") : named);

    const double jd = pickedInstant();
    const double offset = asUtc_->isChecked() ? 0.0 : zoneRule().offsetDaysAt(jd);
    const QDateTime shown = dateTimeOfJd(jd + offset);
    // Only a changed value is written back: rewriting the same one would put
    // the cursor back at the start of a picker being typed in.
    if (date_->date() != shown.date()) date_->setDate(shown.date());
    if (time_->time() != shown.time()) time_->setTime(shown.time());
    const bool editable = !zoneTime_->isChecked();
    date_->setEnabled(editable);
    time_->setEnabled(editable);
    utc_->setText(dateTimeOfJd(jd).toString(QStringLiteral("HH:mm:ss")) + QStringLiteral(" utc"));
    refreshCurrent();
    latLong_->setText(tr("LatLong: ") + placeText(doc_.observer.latitude, doc_.observer.longitude));
    refreshing_ = false;
}

void SettingsDialog::refreshCurrent() {
    // The clock's date and time in the zone in force now (or in UTC).
    const double now = chart_.clockNow();
    const double offset = asUtc_->isChecked() ? 0.0 : zoneOffsetDays(prefs_.zone, now, doc_.observer.longitude);
    // To the nearest second, as the chart's corner shows it.
    const QDateTime shown = dateTimeOfJd(std::round((now + offset) * 86400.0) / 86400.0);
    current_->setText(tr("Current: ") + shown.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) + QStringLiteral("  ") +
                      QString::fromStdString(formatZoneLabel(offset)) +
                      (asUtc_->isChecked() ? tr("   (times shown as UTC)") : QString()));
}

ZoneRule SettingsDialog::zoneRule() const { return ZoneRule(prefs_.zone, doc_.observer.longitude); }

void SettingsDialog::applyZone() {
    ZoneChoice& zone = prefs_.zone;
    zone.source = zoneCustom_->isChecked()      ? ZoneSource::Custom
                  : zoneLongitude_->isChecked() ? ZoneSource::Longitude
                  : zonePlace_->isChecked()     ? ZoneSource::Place
                                                : ZoneSource::SystemClock;
    // A text that is not (yet) hours in range changes nothing; leaving the box refuses it.
    if (const auto hours = typedZoneHours()) zone.customHours = *hours;
    zone.daylight = dst_->isChecked();
    doc_.observer.zoneOffset = zoneOffsetDays(zone, doc_.observer.instant, doc_.observer.longitude);
    savePreferences(prefs_);
    chart_.viewChanged(true);
    emit preferencesChanged();
    refreshTime();
}

std::optional<double> SettingsDialog::typedZoneHours() const {
    const auto hours = parseFieldNumber(zoneHours_->currentText());
    if (!hours || *hours < -14.0 || *hours > 14.0) return std::nullopt;
    return hours;
}

void SettingsDialog::finishZoneHours() {
    if (refreshing_) return;
    if (!typedZoneHours()) refuseField(zoneHours_, rangeMessage(-14.0, 14.0), true);
    // Either way the box shows the hours in force, with the point.
    refreshing_ = true;
    zoneHours_->setCurrentText(QString::fromStdString(zoneHoursText(prefs_.zone.customHours)));
    refreshing_ = false;
}

void SettingsDialog::setPlaceZone(const std::string& id) {
    prefs_.zone.placeZone = id;
    savePreferences(prefs_);
    if (placeZoneBox_) {
        const QSignalBlocker block(placeZoneBox_);
        placeZoneBox_->setCurrentText(QString::fromStdString(id));
    }
    if (prefs_.zone.source == ZoneSource::Place) {
        doc_.observer.zoneOffset = zoneOffsetDays(prefs_.zone, doc_.observer.instant, doc_.observer.longitude);
        chart_.viewChanged(true);
    }
    refreshTime();
}

void SettingsDialog::applyPickers() {
    if (refreshing_ || zoneTime_->isChecked()) return;
    const double jd = asUtc_->isChecked() ? jdOfDateTime(QDateTime(date_->date(), time_->time(), Qt::UTC))
                                          : zoneRule().utcFromLocal(date_->date(), time_->time());
    if (apTime_->isChecked()) {
        doc_.currentSight.apTimeOverride = jd;
    } else if (!chart_.timeControl().setInstant(jd)) {
        refreshTime();  // outside the ephemeris: the pickers go back to the chart's instant
        return;
    } else {
        // The zone's offset at the new instant (summer or winter time).
        const double zone = zoneOffsetDays(prefs_.zone, jd, doc_.observer.longitude);
        if (zone != doc_.observer.zoneOffset) {
            doc_.observer.zoneOffset = zone;
            chart_.viewChanged(true);
        }
    }
    refreshTime();
}

// ---- LatLong ----

QWidget* SettingsDialog::buildPlacePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* form = new QGridLayout;
    auto degrees = [](int max) {
        auto* s = new QSpinBox;
        s->setRange(0, max);
        s->setSuffix(QStringLiteral("°"));
        return s;
    };
    auto minutes = [] {
        auto* s = new NumberSpinBox;
        s->setRange(0.0, 59.99);
        s->setDecimals(2);
        s->setSuffix(QStringLiteral("'"));
        return s;
    };
    latDeg_ = degrees(90);
    latMin_ = minutes();
    latNs_ = new QComboBox;
    latNs_->addItems({QStringLiteral("N"), QStringLiteral("S")});
    lonDeg_ = degrees(180);
    lonMin_ = minutes();
    lonEw_ = new QComboBox;
    lonEw_->addItems({QStringLiteral("E"), QStringLiteral("W")});
    form->addWidget(new QLabel(tr("Latitude:")), 0, 0);
    form->addWidget(latDeg_, 0, 1);
    form->addWidget(latMin_, 0, 2);
    form->addWidget(latNs_, 0, 3);
    form->addWidget(new QLabel(tr("Longitude:")), 1, 0);
    form->addWidget(lonDeg_, 1, 1);
    form->addWidget(lonMin_, 1, 2);
    form->addWidget(lonEw_, 1, 3);
    height_ = new NumberSpinBox;
    height_->setRange(-500.0, 20000.0);
    height_->setDecimals(0);
    height_->setSuffix(QStringLiteral(" m"));
    temperature_ = new NumberSpinBox;
    temperature_->setRange(-60.0, 60.0);
    temperature_->setDecimals(1);
    temperature_->setSuffix(QStringLiteral(" °C"));
    pressure_ = new NumberSpinBox;
    pressure_->setRange(500.0, 1100.0);
    pressure_->setDecimals(0);
    pressure_->setSuffix(tr(" mb"));
    // The place's height above sea level (not the height of eye of a sight).
    form->addWidget(new QLabel(tr("Elevation:")), 2, 0);
    form->addWidget(height_, 2, 1, 1, 2);
    form->addWidget(new QLabel(tr("Temperature:")), 3, 0);
    form->addWidget(temperature_, 3, 1, 1, 2);
    form->addWidget(new QLabel(tr("Pressure:")), 4, 0);
    form->addWidget(pressure_, 4, 1, 1, 2);
    auto* gps = new QPushButton(tr("GPS..."));
    gps->setObjectName(QStringLiteral("gpsButton"));
    gps->setAutoDefault(false);
    connect(gps, &QPushButton::clicked, this, &SettingsDialog::openGpsPage);
    form->addWidget(gps, 0, 4);
    // The place's time zone, searchable by any part of its name ("sydney",
    // "america/"); a world place brings its own, a custom place keeps the
    // one it was saved with.
    placeZoneBox_ = new QComboBox;
    placeZoneBox_->setObjectName(QStringLiteral("placeZone"));
    placeZoneBox_->setEditable(true);
    placeZoneBox_->setInsertPolicy(QComboBox::NoInsert);
    for (const QByteArray& id : QTimeZone::availableTimeZoneIds()) placeZoneBox_->addItem(QString::fromLatin1(id));
    placeZoneBox_->completer()->setFilterMode(Qt::MatchContains);
    placeZoneBox_->completer()->setCompletionMode(QCompleter::PopupCompletion);
    placeZoneBox_->setCurrentText(QString::fromStdString(prefs_.zone.placeZone));
    placeZoneBox_->lineEdit()->setPlaceholderText(tr("none: type part of a name, such as \"sydney\""));
    placeZoneBox_->setToolTip(tr("The place's time zone, used by \"Place's time zone\" on the Time page"));
    form->addWidget(new QLabel(tr("Time zone:")), 5, 0);
    form->addWidget(placeZoneBox_, 5, 1, 1, 4);
    layout->addLayout(form);

    placeSearch_ = new QLineEdit;
    placeSearch_->setPlaceholderText(tr("Search places by name or country"));
    placeSearch_->setClearButtonEnabled(true);
    placeList_ = new QListWidget;
    placeList_->setUniformItemSizes(true);
    layout->addWidget(placeSearch_);
    layout->addWidget(placeList_, 1);
    auto* slotRow = new QHBoxLayout;
    slotName_ = new QLineEdit;
    slotName_->setPlaceholderText(tr("Name of the selected custom place"));
    auto* store = new QPushButton(tr("Save current place"));
    store->setObjectName(QStringLiteral("storeCustomPlace"));
    slotRow->addWidget(slotName_, 1);
    slotRow->addWidget(store);
    layout->addLayout(slotRow);
    fillPlaceList(QString());
    auto takeZone = [this] {
        const QString text = placeZoneBox_->currentText().trimmed();
        if (text.toStdString() == prefs_.zone.placeZone) return;
        if (!namedZone(text.toStdString()).isValid()) {
            refuseField(placeZoneBox_, tr("No time zone \"%1\": choose one from the list.").arg(text), true);
            const QSignalBlocker block(placeZoneBox_);
            placeZoneBox_->setCurrentText(QString::fromStdString(prefs_.zone.placeZone));
            return;
        }
        setPlaceZone(text.toStdString());
    };
    connect(placeZoneBox_, &QComboBox::activated, this, takeZone);
    connect(placeZoneBox_->lineEdit(), &QLineEdit::editingFinished, this, takeZone);

    for (QSpinBox* s : {latDeg_, lonDeg_}) connect(s, &QSpinBox::valueChanged, this, [this] { applyPlace(); });
    for (QDoubleSpinBox* s : {latMin_, lonMin_, height_, temperature_, pressure_})
        connect(s, &QDoubleSpinBox::valueChanged, this, [this] { applyPlace(); });
    for (QComboBox* c : {latNs_, lonEw_}) connect(c, &QComboBox::currentIndexChanged, this, [this] { applyPlace(); });
    connect(placeSearch_, &QLineEdit::textChanged, this, &SettingsDialog::fillPlaceList);
    // A world place moves the observer when chosen. A custom slot chosen is
    // the slot "Save current place" fills, so choosing it must not move the
    // observer away from the place to be kept: a double click (or Return)
    // goes there.
    auto moveTo = [this](QListWidgetItem* item, bool custom) {
        if (!item || refreshing_) return;
        const int index = item->data(Qt::UserRole).toInt();
        if ((index < kCustomPlaceCount) != custom) return;
        if (custom) {
            const CustomPlace& p = doc_.places[static_cast<size_t>(index)];
            doc_.observer.latitude = p.latitude;
            doc_.observer.longitude = p.longitude;
        } else {
            doc_.observer.latitude = placeLatitude(index);
            doc_.observer.longitude = placeLongitude(index);
        }
        const std::string zone = custom ? prefs_.customPlaceZones.value(index).toStdString() : place(index)->zone;
        if (!zone.empty()) setPlaceZone(zone);
        refreshPlace();
        applyPlace();
    };
    connect(placeList_, &QListWidget::currentItemChanged, this, [this, moveTo](QListWidgetItem* item) {
        if (!item || refreshing_) return;
        const int index = item->data(Qt::UserRole).toInt();
        if (index < kCustomPlaceCount)
            slotName_->setText(QString::fromStdString(doc_.places[static_cast<size_t>(index)].name));
        moveTo(item, false);
    });
    connect(placeList_, &QListWidget::itemActivated, this, [moveTo](QListWidgetItem* item) { moveTo(item, true); });
    connect(store, &QPushButton::clicked, this, [this] {
        QListWidgetItem* item = placeList_->currentItem();
        const int index = item ? item->data(Qt::UserRole).toInt() : -1;
        if (index < 0 || index >= kCustomPlaceCount) return;
        CustomPlace& p = doc_.places[static_cast<size_t>(index)];
        const QString name = slotName_->text().trimmed();
        p.name = name.isEmpty() ? p.name : name.toStdString();
        p.latitude = doc_.observer.latitude;
        p.longitude = doc_.observer.longitude;
        prefs_.customPlaceZones[index] = QString::fromStdString(prefs_.zone.placeZone);
        savePreferences(prefs_);
        item->setText(QString::fromStdString(p.name) + QStringLiteral("   ") + placeText(p.latitude, p.longitude));
    });
    return page;
}

void SettingsDialog::fillPlaceList(const QString& text) {
    refreshing_ = true;
    placeList_->clear();
    const std::string folded = foldForSearch(text.trimmed().toStdString());
    for (int i = 0; i < kCustomPlaceCount; ++i) {
        const CustomPlace& p = doc_.places[static_cast<size_t>(i)];
        if (!folded.empty() && foldForSearch(p.name).find(folded) == std::string::npos) continue;
        auto* item = new QListWidgetItem(QString::fromStdString(p.name) + QStringLiteral("   ") +
                                         placeText(p.latitude, p.longitude));
        item->setData(Qt::UserRole, i);
        placeList_->addItem(item);
    }
    addWorldPlaces(placeList_, text);
    refreshing_ = false;
}

void addWorldPlaces(QListWidget* list, const QString& search) {
    for (int i : findPlaces(search.trimmed().toStdString())) {
        const PlaceEntry* e = place(i);
        auto* item = new QListWidgetItem(QString::fromUtf8(e->name) + QStringLiteral(", ") +
                                         QString::fromUtf8(countryName(e->country)));
        item->setData(Qt::UserRole, i);
        list->addItem(item);
    }
}

void SettingsDialog::refreshPlace() {
    refreshing_ = true;
    const CObserverState& o = doc_.observer;
    auto split = [](double v, QSpinBox* deg, QDoubleSpinBox* min, QComboBox* sign) {
        const double a = std::fabs(v);
        int d = static_cast<int>(a);
        double m = std::round((a - d) * 6000.0) / 100.0;
        if (m >= 60.0) {
            ++d;
            m = 0.0;
        }
        deg->setValue(d);
        min->setValue(m);
        sign->setCurrentIndex(v < 0 ? 1 : 0);
    };
    split(o.latitude, latDeg_, latMin_, latNs_);
    split(o.longitude, lonDeg_, lonMin_, lonEw_);
    height_->setValue(o.height);
    temperature_->setValue(o.temperature);
    pressure_->setValue(o.pressure);
    refreshing_ = false;
}

void SettingsDialog::applyPlace() {
    if (refreshing_) return;
    CObserverState& o = doc_.observer;
    auto join = [](QSpinBox* deg, QDoubleSpinBox* min, QComboBox* sign, double limit) {
        const double v = std::min(limit, deg->value() + min->value() / 60.0);
        return sign->currentIndex() == 1 ? -v : v;
    };
    setObserverPlace(o, join(latDeg_, latMin_, latNs_, 90.0), join(lonDeg_, lonMin_, lonEw_, 180.0));
    o.height = height_->value();
    o.temperature = temperature_->value();
    o.pressure = pressure_->value();
    // The longitude's zone, or the place zone's fallback to it, follows the place.
    o.zoneOffset = zoneOffsetDays(prefs_.zone, o.instant, o.longitude);
    chart_.viewChanged(true);
}

void SettingsDialog::openGpsPage() {
    auto* page = new GpsPage(prefs_, this);
    page->setAttribute(Qt::WA_DeleteOnClose);
    connect(page, &GpsPage::helpRequested, this, &SettingsDialog::helpRequested);
    connect(page, &GpsPage::positionHandedOver, this, &SettingsDialog::applyGpsPosition);
    page->open();
}

void SettingsDialog::applyGpsPosition(const GpsReceived& received) {
    if (!received.latitudeValid && !received.longitudeValid) return;
    CObserverState& o = doc_.observer;
    if (received.latitudeValid) o.latitude = received.latitudeDegrees;
    if (received.longitudeValid) o.longitude = received.longitudeDegrees;
    // Through the fields, so the observer takes exactly what the page shows.
    refreshPlace();
    applyPlace();
    refreshTime();
}

// ---- General ----

QWidget* SettingsDialog::buildGeneralPage() {
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);
    CUniverseViewDrawState& s = doc_.drawState;
    auto* overlays = new QGroupBox(tr("Show"));
    auto* overlayLayout = new QGridLayout(overlays);
    struct Switch {
        const char* text;
        int overlay;
    };
    static const Switch switches[] = {
        {QT_TR_NOOP("Zenith Grid"), kOverlayZenithGrid},
        {QT_TR_NOOP("Polar Grid"), kOverlayPolarGrid},
        {QT_TR_NOOP("Ecliptic"), kOverlayEcliptic},
        {QT_TR_NOOP("Horizon"), kOverlayHorizon},
        {QT_TR_NOOP("Constellation Figures"), kOverlayFigures},
        {QT_TR_NOOP("Constellation Names"), kOverlayConstellationNames},
        {QT_TR_NOOP("Star Names"), kOverlayStarNames},
        {QT_TR_NOOP("Messier/Caldwell Names"), kOverlayDeepSkyNames},
        {QT_TR_NOOP("Telrad"), kOverlayTelrad},
    };
    int row = 0;
    for (const Switch& sw : switches) {
        auto* box = new QCheckBox(tr(sw.text));
        box->setObjectName(QStringLiteral("overlay%1").arg(sw.overlay));
        box->setChecked(s.overlays[static_cast<size_t>(sw.overlay)] != 0);
        const int index = sw.overlay;
        connect(box, &QCheckBox::toggled, this, [this, index](bool on) {
            doc_.drawState.overlays[static_cast<size_t>(index)] = on ? 1 : 0;
            saveOverlays(doc_.drawState);
            chart_.viewChanged(false);
        });
        overlayLayout->addWidget(box, row / 2, row % 2);
        ++row;
    }
    auto* paths = new QCheckBox(tr("Orbital Paths"));
    paths->setChecked(model_.orbitalPaths() && s.overlays[kOverlayOrbitalPaths] != 0);
    connect(paths, &QCheckBox::toggled, this, [this](bool on) {
        model_.setOrbitalPaths(on);
        QSettings().setValue(QStringLiteral("Chart/OrbitalPaths"), on);
        doc_.drawState.overlays[kOverlayOrbitalPaths] = on ? 1 : 0;
        saveOverlays(doc_.drawState);
        chart_.viewChanged(true);
    });
    overlayLayout->addWidget(paths, row / 2, row % 2);
    layout->addWidget(overlays, 0, 0, 1, 2);

    auto* objects = new QGroupBox(tr("Objects"));
    auto* objectLayout = new QGridLayout(objects);
    auto* filter = new QCheckBox(tr("Magnitude filter"));
    filter->setChecked(magnitudeFilterOn(s));
    auto* messier = new QCheckBox(tr("Messier"));
    messier->setChecked(s.deepSkySelection & 1);
    auto* caldwell = new QCheckBox(tr("Caldwell"));
    caldwell->setChecked(s.deepSkySelection & 2);
    auto* comets = new QCheckBox(tr("Comets    Mag:"));
    comets->setChecked(s.overlays[kOverlayComets] != 0);
    auto* cometMag = new NumberSpinBox;
    cometMag->setRange(-5.0, 20.0);
    cometMag->setDecimals(1);
    cometMag->setValue(s.cometMagnitudeLimit / 1000.0);
    objectLayout->addWidget(filter, 0, 0);
    objectLayout->addWidget(messier, 1, 0);
    objectLayout->addWidget(caldwell, 1, 1);
    cometDownload_ = new QPushButton(tr("Download"));
    refreshDownloadTip();
    objectLayout->addWidget(comets, 2, 0);
    objectLayout->addWidget(cometMag, 2, 1);
    objectLayout->addWidget(cometDownload_, 2, 2);
    connect(cometDownload_, &QPushButton::clicked, this, &SettingsDialog::runCometDownload);
    layout->addWidget(objects, 1, 0, 1, 2);
    connect(filter, &QCheckBox::toggled, this, [this](bool on) {
        setMagnitudeFilter(doc_.drawState, on);
        chart_.viewChanged(true);
    });
    auto selection = [this, messier, caldwell] {
        doc_.drawState.deepSkySelection = (messier->isChecked() ? 1 : 0) | (caldwell->isChecked() ? 2 : 0);
        chart_.viewChanged(true);
    };
    connect(messier, &QCheckBox::toggled, this, selection);
    connect(caldwell, &QCheckBox::toggled, this, selection);
    connect(comets, &QCheckBox::toggled, this, [this](bool on) {
        doc_.drawState.overlays[kOverlayComets] = on ? 1 : 0;
        saveOverlays(doc_.drawState);
        chart_.viewChanged(true);
    });
    connect(cometMag, &QDoubleSpinBox::valueChanged, this, [this](double m) {
        doc_.drawState.cometMagnitudeLimit = static_cast<int32_t>(std::lround(m * 1000.0));
        chart_.viewChanged(true);
    });

    auto* servers = new QGroupBox(tr("Servers"));
    auto* serverForm = new QFormLayout(servers);
    auto* comet = new QLineEdit(prefs_.cometServer);
    auto* website = new QLineEdit(prefs_.website);
    // No placeholder: in the Red scheme it reads like a value.
    website->setObjectName(QStringLiteral("website"));
    website->setToolTip(tr("Base address of the project website (empty: none); used by Web... and Space News"));
    auto* gpsdHost = new QLineEdit(prefs_.gpsdHost);
    auto* gpsdPort = new QSpinBox;
    gpsdPort->setRange(1, 65535);
    gpsdPort->setValue(prefs_.gpsdPort);
    serverForm->addRow(tr("Comet elements:"), comet);
    serverForm->addRow(tr("Project website:"), website);
    serverForm->addRow(tr("gpsd host:"), gpsdHost);
    serverForm->addRow(tr("gpsd port:"), gpsdPort);
    layout->addWidget(servers, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);
    auto store = [this, comet, website, gpsdHost, gpsdPort] {
        prefs_.cometServer = comet->text().trimmed();
        prefs_.website = website->text().trimmed();
        prefs_.gpsdHost = gpsdHost->text().trimmed();
        prefs_.gpsdPort = gpsdPort->value();
        savePreferences(prefs_);
        refreshDownloadTip();
        emit preferencesChanged();
    };
    for (QLineEdit* e : {comet, website, gpsdHost}) connect(e, &QLineEdit::editingFinished, this, store);
    connect(gpsdPort, &QSpinBox::valueChanged, this, store);
    return page;
}

void SettingsDialog::refreshDownloadTip() {
    QString tip = tr("Fetch the comet lists into %1").arg(QString::fromStdString(model_.universe().CometFolder()));
    const std::string reason = projectWebsiteDisabledReason(cometServers(prefs_).projectWebsite);
    if (!reason.empty()) tip += tr("; the project website's list is skipped: %1").arg(engineText(reason));
    cometDownload_->setToolTip(tip);
}

void SettingsDialog::runCometDownload() {
    CUniverse& universe = model_.universe();
    CometList& list = universe.Comets();
    const std::string folder = universe.CometFolder();
    const auto fetch = [this](const std::string& server, const std::string& remotePath, const std::string& localPath) {
        CDownloadDlg dialog(this, QString::fromStdString(server), QString::fromStdString(remotePath),
                            QString::fromStdString(localPath));
        return dialog.exec() == QDialog::Accepted;
    };
    // Without a data folder there is nowhere to put the files.
    const bool ok = !folder.empty() && QDir().mkpath(QString::fromStdString(folder)) &&
                    downloadComets(list, cometServers(prefs_), folder, fetch) != 0;
    int count = 0;
    if (const auto lock = lockComets(list); lock.owns_lock()) count = static_cast<int>(list.records.size());
    // A reloaded list numbers its comets anew: a selected comet would now be another.
    if (ok && chart_.renderer().selection().kind == ChartSelection::Kind::Comet) chart_.setSelection({});
    chart_.viewChanged(true);
    QMessageBox box(ok ? QMessageBox::Information : QMessageBox::Warning, engineText(kCometDownloadTitle),
                    engineText(cometDownloadMessage(ok, count)), QMessageBox::Ok, this);
    box.exec();
}

}  // namespace celestra
