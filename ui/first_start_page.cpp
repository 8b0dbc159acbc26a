#include "ui/first_start_page.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTimeZone>
#include <QVBoxLayout>

#include "catalogs/places.h"
#include "sky/zone_choice.h"
#include "ui/gps_page.h"
#include "ui/settings_dialog.h"

namespace celestra {

int placeOfTimeZone(const QString& zoneId) {
    const qsizetype slash = zoneId.lastIndexOf(QLatin1Char('/'));
    // "UTC" and the fixed offsets of "Etc/" name no place.
    if (slash < 0 || zoneId.startsWith(QLatin1String("Etc/"))) return -1;
    QString city = zoneId.mid(slash + 1);
    city.replace(QLatin1Char('_'), QLatin1Char(' '));
    const std::string wanted = foldForSearch(city.toStdString());
    // Of the places of that name, the one in that zone ("Paris" in France,
    // not in Texas), else the first.
    int named = -1;
    for (int i : findPlaces(city.toStdString())) {
        if (foldForSearch(place(i)->name) != wanted) continue;
        if (zoneId.toStdString() == place(i)->zone) return i;
        if (named < 0) named = i;
    }
    return named;
}

FirstStartPage::FirstStartPage(DocumentData& document, Preferences& preferences, QWidget* parent)
    : QDialog(parent), doc_(document), prefs_(preferences) {
    setWindowTitle(tr("Welcome to Celestra"));
    auto* intro =
        new QLabel(tr("Where do you observe from? Choose a place, or take it from a GPS receiver. "
                      "The chart, the rise and set times and the navigation pages use it; "
                      "you can change it later on the LatLong page (Menu, Preferences, General...)."));
    intro->setWordWrap(true);

    search_ = new QLineEdit;
    search_->setObjectName(QStringLiteral("placeSearch"));
    search_->setPlaceholderText(tr("Search places by name or country"));
    search_->setClearButtonEnabled(true);
    list_ = new QListWidget;
    list_->setUniformItemSizes(true);
    list_->setMinimumHeight(list_->fontMetrics().lineSpacing() * 10);
    chosenLabel_ = new QLabel(tr("No place chosen"));
    chosenLabel_->setObjectName(QStringLiteral("chosenPlace"));
    gps_ = new QPushButton(tr("GPS..."));
    gps_->setObjectName(QStringLiteral("gpsButton"));
    gps_->setAutoDefault(false);
    gps_->setToolTip(tr("Take the position from a GPS receiver or gpsd"));
    gps_->hide();
    auto* chosenRow = new QHBoxLayout;
    chosenRow->addWidget(chosenLabel_, 1);
    chosenRow->addWidget(gps_);

    zone_ = new QComboBox;
    zone_->setObjectName(QStringLiteral("zoneBox"));
    const QString systemZone = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    zone_->addItem(tr("System time zone (%1)").arg(systemZone), static_cast<int>(ZoneSource::SystemClock));
    zone_->addItem(tr("Zone of the longitude (zone time at sea)"), static_cast<int>(ZoneSource::Longitude));
    zone_->addItem(QString(), static_cast<int>(ZoneSource::Place));  // named once a world place is chosen
    zone_->setCurrentIndex(0);
    showPlaceZone();
    auto* zoneForm = new QFormLayout;
    zoneForm->addRow(tr("Time zone:"), zone_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    ok_->setEnabled(false);
    buttons->button(QDialogButtonBox::Cancel)->setText(tr("Not now"));
    connect(buttons, &QDialogButtonBox::accepted, this, &FirstStartPage::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(QStringLiteral("place")); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(search_);
    layout->addWidget(list_, 1);
    layout->addLayout(chosenRow);
    layout->addLayout(zoneForm);
    layout->addWidget(buttons);

    connect(search_, &QLineEdit::textChanged, this, &FirstStartPage::fill);
    connect(list_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (!item) return;
        const int index = item->data(Qt::UserRole).toInt();
        choose(placeLatitude(index), placeLongitude(index), item->text());
        chosenIndex_ = index;
        placeZone_ = QString::fromUtf8(place(index)->zone);
        showPlaceZone();
    });
    connect(list_, &QListWidget::itemActivated, this, [this] { accept(); });
    connect(gps_, &QPushButton::clicked, this, [this] {
        auto* page = new GpsPage(prefs_, this);
        page->setAttribute(Qt::WA_DeleteOnClose);
        connect(page, &GpsPage::helpRequested, this, &FirstStartPage::helpRequested);
        connect(page, &GpsPage::positionHandedOver, this, [this](const GpsReceived& received) {
            if (received.latitudeValid && received.longitudeValid)
                choose(received.latitudeDegrees, received.longitudeDegrees, tr("GPS position"));
        });
        page->open();
    });

    // The system zone's city, when it is a world place, is the likely answer.
    chosenIndex_ = placeOfTimeZone(systemZone);
    fill(QString());
    search_->setFocus();

    if (!listSerialDevices().empty()) offerGps();
    GpsPage::probeGpsd(prefs_, this, [this](bool answered) {
        if (answered) offerGps();
    });
}

void FirstStartPage::fill(const QString& search) {
    list_->clear();
    addWorldPlaces(list_, search);
    // The place chosen stays chosen where the search lists it; else a
    // search takes its first match, so that Return takes what it shows.
    for (int row = 0; row < list_->count() && chosenIndex_ >= 0; ++row) {
        if (list_->item(row)->data(Qt::UserRole).toInt() != chosenIndex_) continue;
        list_->setCurrentRow(row);
        list_->scrollToItem(list_->item(row), QAbstractItemView::PositionAtCenter);
        return;
    }
    if (!search.trimmed().isEmpty() && list_->count() > 0) list_->setCurrentRow(0);
}

void FirstStartPage::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Only now has the list its height, which centring the choice needs.
    if (QListWidgetItem* item = list_->currentItem()) list_->scrollToItem(item, QAbstractItemView::PositionAtCenter);
}

void FirstStartPage::showPlaceZone() {
    // Offered only with a zone to offer: a GPS position has none.
    const int row = zone_->findData(static_cast<int>(ZoneSource::Place));
    zone_->setItemText(row, tr("The place's time zone (%1)").arg(placeZone_));
    if (auto* model = qobject_cast<QStandardItemModel*>(zone_->model()))
        model->item(row)->setEnabled(!placeZone_.isEmpty());
    if (placeZone_.isEmpty() && zone_->currentIndex() == row) zone_->setCurrentIndex(0);
}

void FirstStartPage::choose(double latitude, double longitude, const QString& name) {
    chosenIndex_ = -1;
    placeZone_.clear();
    showPlaceZone();
    latitude_ = latitude;
    longitude_ = longitude;
    hasPlace_ = true;
    chosenLabel_->setText(name + QStringLiteral("   ") + placeText(latitude, longitude));
    ok_->setEnabled(true);
}

void FirstStartPage::offerGps() { gps_->show(); }

void FirstStartPage::accept() {
    if (!hasPlace_) return;
    setObserverPlace(doc_.observer, latitude_, longitude_);
    prefs_.zone.source = static_cast<ZoneSource>(zone_->currentData().toInt());
    // The place keeps its zone, as choosing it on the LatLong page does.
    if (!placeZone_.isEmpty()) prefs_.zone.placeZone = placeZone_.toStdString();
    savePreferences(prefs_);
    doc_.observer.zoneOffset = zoneOffsetDays(prefs_.zone, doc_.observer.instant, longitude_);
    QDialog::accept();
    emit placeChosen();
}

}  // namespace celestra
