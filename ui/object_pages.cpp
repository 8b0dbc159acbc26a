#include "ui/object_pages.h"

#include <QCompleter>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "app/web_links.h"
#include "catalogs/deep_sky.h"
#include "core/constants.h"
#include "core/horizon.h"
#include "core/number_text.h"
#include "core/time_scales.h"
#include "sky/chart_rise.h"
#include "sky/chart_sky.h"
#include "sky/sky_search.h"
#include "sky/universe.h"
#include "solarsystem/comet_download.h"
#include "solarsystem/comets.h"
#include "solarsystem/planets.h"
#include "solarsystem/rise_set.h"
#include "ui/almanac_pages.h"
#include "ui/chart_view.h"
#include "ui/date_texts.h"
#include "ui/download_dialog.h"
#include "ui/image_library.h"
#include "ui/sky_model.h"
#include "ui/translations.h"

namespace celestra {
namespace {

QString hms(double hours) {
    hours = std::fmod(std::fmod(hours, 24.0) + 24.0, 24.0);
    const int total = static_cast<int>(std::lround(hours * 3600.0)) % 86400;
    return QString::asprintf("%02dh %02dm %02ds", total / 3600, (total / 60) % 60, total % 60);
}
QString dms(double deg) {
    const int total = static_cast<int>(std::lround(std::fabs(deg) * 3600.0));
    return QString::asprintf("%c%02d° %02d' %02d\"", deg < 0 ? '-' : '+', total / 3600, (total / 60) % 60, total % 60);
}

// Rise, transit and set on the UTC day of the chart's local date.
RiseTransitSet riseTransitSetToday(const RiseSetTarget& target, const PlaceContext& context, const CObserverState& o) {
    const CalendarDate local = calendarFromJulianDay(o.instant + o.zoneOffset);
    const JulianDay jd0h = julianDayAt0h(local.year, local.month, local.day);
    return riseTransitSet(context.ephemeris ? &context : nullptr, target, jd0h, deltaT(jd0h), observerSite(o),
                          o.zoneOffset, RiseSetKind::RiseSet);
}

// The altitude and azimuth the chart shows. With the observer's refraction
// on, its altitude carries the refraction of the place's air (none more than
// a degree below the horizon), and says so when there is any.
QString horizonLine(const HorizontalPoint& place, const CObserverState& observer) {
    const bool refracted =
        observer.refraction != 0 && refraction(observerSite(observer), kRefractionSite, place.zenithDistance) != 0.0;
    // "Alt:  12.34°   Az: 123.45°"; QString::arg() of a double keeps the point.
    return InfoDialog::tr("Alt: %1°   Az: %2°%3\n")
        .arg(90.0 - place.zenithDistance, 6, 'f', 2)
        .arg(place.azimuth, 6, 'f', 2)
        .arg(refracted ? InfoDialog::tr("   (refracted)") : QString());
}

// A comet's name, its topocentric place (airless, from its orbit), the
// chart's altitude and azimuth and its magnitudes.
QString cometInfo(int comet, ChartView& chart, SkyModel& model) {
    auto sky = model.snapshot();
    const SkyComet* c = sky ? sky->cometByIndex(comet) : nullptr;
    if (!c) return InfoDialog::tr("This comet is no longer on the chart (comets switched off or the list reloaded).");
    QString text = QString::fromStdString(c->name) + QStringLiteral("\n\n");
    const SkyCometPoint& now = c->presentPoint();
    if (!now.valid) return text + InfoDialog::tr("No place for this date (outside the ephemeris).");
    CometList& list = model.universe().Comets();
    const auto lock = lockComets(list);
    const ObserverSite site = observerSite(chart.observer());
    double ra = 0.0, dec = 0.0, distance = 0.0;
    if (lock.owns_lock() && static_cast<size_t>(comet) < list.records.size() &&
        list.records[static_cast<size_t>(comet)].name == c->name &&
        cometApparentPlace(model.universe().Places(), list.records[static_cast<size_t>(comet)],
                           chart.observer().instant, &site, ra, dec, distance) == Status::Ok)
        text += InfoDialog::tr("Topocentric  RA: %1  Dec: %2\n").arg(hms(ra), dms(dec));
    text += horizonLine(now.place, chart.observer());
    return text + engineText(cometInfoText(c->absoluteMagnitude, c->apparentMagnitude)) + QLatin1Char('\n');
}

}  // namespace

// A picture scaled to the space it is given, keeping its aspect, centred.
class PictureView : public QWidget {
public:
    explicit PictureView(QWidget* parent) : QWidget(parent) {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    }
    void setImage(const QImage& image) {
        image_ = image;
        updateGeometry();
        update();
    }
    const QImage& image() const { return image_; }
    QSize sizeHint() const override { return image_.isNull() ? QSize() : image_.size(); }
    QSize minimumSizeHint() const override { return {64, 64}; }

protected:
    void paintEvent(QPaintEvent*) override {
        if (image_.isNull()) return;
        const QSize fitted = image_.size().scaled(size(), Qt::KeepAspectRatio);
        QRect target(QPoint(), fitted);
        target.moveCenter(rect().center());
        QPainter painter(this);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, image_);
    }

private:
    QImage image_;
};

QString selectionInfoText(const ChartSelection& selection, ChartView& chart, SkyModel& model) {
    if (selection.kind == ChartSelection::Kind::Object) {
        QString text = QString::fromStdString(catalogueObjectInfoText(selection.id))
                           .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        // The catalogue's J2000 record, then the place the chart draws it at.
        double zd = 0.0, az = 0.0, ra = 0.0, dec = 0.0;
        if (catalogueObjectPlace(model.universe().Places(), chart.observer(), selection.id, zd, az, ra, dec)) {
            text += InfoDialog::tr("\nTopocentric  RA: %1  Dec: %2 (of date)\n").arg(hms(ra), dms(dec));
            text += horizonLine({static_cast<float>(zd), static_cast<float>(az)}, chart.observer());
        }
        return text;
    }
    if (selection.kind == ChartSelection::Kind::Comet) return cometInfo(selection.id, chart, model);
    if (selection.kind != ChartSelection::Kind::Body || selection.id < 1 || selection.id > 11)
        return InfoDialog::tr("Nothing is selected: tap an object on the chart first.");
    const int body = selection.id;
    QString text = bodyText(bodyName(body)) + QStringLiteral("\n\n");
    auto sky = model.snapshot();
    const SkyBody* b = sky ? &sky->bodies[static_cast<size_t>(body - 1)] : nullptr;
    if (!b || !b->valid) return text + InfoDialog::tr("No place for this date (outside the ephemeris).");
    double ra = 0.0, dec = 0.0, distance = 0.0;
    if (geocentricPlaceUtc(model.universe().Places(), chart.observer().instant, body, ra, dec, distance) == Status::Ok)
        text += InfoDialog::tr("Apparent     RA: %1  Dec: %2\n").arg(hms(ra), dms(dec));
    // The topocentric place of date is airless: the chart's place carries
    // refraction (half a degree at the horizon), which is no place of date.
    if (topocentricPlaceUtc(model.universe().Places(), chart.observer().instant, body, observerSite(chart.observer()),
                            ra, dec, distance) == Status::Ok)
        text += InfoDialog::tr("Topocentric  RA: %1  Dec: %2\n").arg(hms(ra), dms(dec));
    text += horizonLine(b->place, chart.observer());
    char magnitudeText[32], distanceText[32];
    snprintfC(magnitudeText, sizeof magnitudeText, "%4.1f", b->magnitude);
    snprintfC(distanceText, sizeof distanceText, "%.4lg", b->distanceAu * kAuKmIau2012);
    text += InfoDialog::tr("M: %1,   Distance: %2 kM\n").arg(QLatin1String(magnitudeText), QLatin1String(distanceText));
    const RiseTransitSet today = riseTransitSetToday(riseSetBody(body), model.universe().Places(), chart.observer());
    const CalendarDate date = calendarFromJulianDay(chart.observer().instant + chart.observer().zoneOffset);
    text += InfoDialog::tr("Today, %1 (%2):\n  Rise     %3\n  Transit  %4\n  Set      %5\n")
                .arg(localeDateText(QDate(date.year, date.month, date.day)),
                     QString::fromStdString(formatZoneLabel(chart.observer().zoneOffset)),
                     riseSetFieldText(today.riseText, today.riseCount),
                     riseSetFieldText(today.transitText, today.transitCount),
                     riseSetFieldText(today.setText, today.setCount));
    if (body == 11 && sky->moon.valid) {
        const double f = sky->moon.illuminatedFraction;
        const QString phase = f < 0.03                    ? InfoDialog::tr("New Moon")
                              : f > 0.97                  ? InfoDialog::tr("Full Moon")
                              : std::fabs(f - 0.5) < 0.03 ? InfoDialog::tr("Quarter")
                              : f < 0.5                   ? InfoDialog::tr("Crescent")
                                                          : InfoDialog::tr("Gibbous");
        text += InfoDialog::tr("Phase: %1, %2% illuminated\n").arg(phase).arg(f * 100.0, 0, 'f', 0);
    }
    return text;
}

QString selectionWebUrl(const ChartSelection& selection, const Preferences& preferences) {
    const std::string website = preferences.website.toStdString();
    if (selection.kind == ChartSelection::Kind::Object) {
        if (!preferences.website.trimmed().isEmpty())
            return QString::fromStdString(objectRedirectUrl(website, selection.id));
        return QString::fromStdString(simbadUrl(selection.id));
    }
    if (selection.kind == ChartSelection::Kind::Body)
        return QString::fromStdString(redirectUrl(website, bodyRedirectQuery(selection.id)));
    return {};
}

void openWebPage(QWidget* parent, const QString& url) {
    if (QDesktopServices::openUrl(QUrl(url))) return;
    QMessageBox box(QMessageBox::Information, QStringLiteral("Celestra"),
                    InfoDialog::tr("No web browser could be started. Copy this address into one:\n\n%1").arg(url),
                    QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("noBrowser"));
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

InfoDialog::InfoDialog(const ChartSelection& selection, ChartView& chart, SkyModel& model,
                       const Preferences& preferences, ImageLibrary* pictures, QWidget* parent)
    : QDialog(parent), library_(pictures), website_(preferences.website.trimmed()) {
    setWindowTitle(tr("Info"));
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text_->setPlainText(selectionInfoText(selection, chart, model));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    web_ = buttons->addButton(tr("Web..."), QDialogButtonBox::ActionRole);
    const QString url = selectionWebUrl(selection, preferences);
    web_->setEnabled(!url.isEmpty());
    if (!url.isEmpty()) web_->setToolTip(url);
    else if (selection.kind == ChartSelection::Kind::Body)
        web_->setToolTip(
            QString::fromStdString(projectWebsiteDisabledReason(preferences.website.trimmed().toStdString())));
    else web_->setToolTip(tr("There is no web page to look this up on"));
    connect(web_, &QPushButton::clicked, this, [this, url] { openWebPage(this, url); });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(QStringLiteral("info")); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_, 1);
    const QFontMetrics fm(text_->font());
    QSize size(fm.horizontalAdvance(QLatin1Char('0')) * 60, fm.lineSpacing() * 22);

    // A Messier or Caldwell object: its picture, or the library's download.
    if (selection.kind == ChartSelection::Kind::Object && library_ && !pictureResourceStem(selection.id).isEmpty()) {
        object_ = selection.id;
        picture_ = new PictureView(this);
        picture_->setObjectName(QStringLiteral("picture"));
        picture_->hide();
        layout->addWidget(picture_);
        // With a picture the text keeps the height of all its lines, and the
        // picture takes what is left.
        const int lines = std::min(text_->document()->blockCount() + 1, 22);  // one spare: no scroll bar
        text_->setMinimumHeight(lines * fm.lineSpacing() + 2 * text_->frameWidth() +
                                2 * static_cast<int>(std::ceil(text_->document()->documentMargin())));
        download_ = new QPushButton(QString::fromLatin1(kImageLibraryDownloadText), this);
        const QString reason = QString::fromStdString(projectWebsiteDisabledReason(website_.toStdString()));
        download_->setEnabled(reason.isEmpty());
        download_->setToolTip(
            reason.isEmpty() ? tr("Fetch the image library into %1").arg(QDir::toNativeSeparators(library_->filePath()))
                             : reason);
        connect(download_, &QPushButton::clicked, this, &InfoDialog::downloadImageLibrary);
        layout->addWidget(download_);
        showPicture();
        size.rheight() += pictureRoom();
    }
    layout->addWidget(buttons);
    resize(size);
}

QImage InfoDialog::picture() const { return picture_ && !picture_->isHidden() ? picture_->image() : QImage(); }

void InfoDialog::showPicture() {
    const bool loaded = library_->isLoaded();
    download_->setVisible(!loaded);
    const QImage image = loaded ? library_->picture(object_) : QImage();
    picture_->setImage(image);
    picture_->setVisible(!image.isNull());
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->setStretchFactor(text_, image.isNull() ? 1 : 0);
    box->setStretchFactor(picture_, image.isNull() ? 0 : 1);
}

void InfoDialog::downloadImageLibrary() {
    // A library another page loaded meanwhile needs no download.
    bool ok = library_->isLoaded();
    if (!ok) {
        const QString file = library_->filePath();
        CDownloadDlg dialog(this, website_, QString::fromLatin1(kImageLibraryRemotePath), library_->downloadPath());
        ok = QDir().mkpath(QFileInfo(file).absolutePath()) && dialog.exec() == QDialog::Accepted &&
             library_->installDownload();
    }
    if (!ok) {
        QMessageBox box(QMessageBox::Critical, QString::fromLatin1(kImageLibraryFailedTitle),
                        QString::fromLatin1(kImageLibraryFailedText), QMessageBox::Ok, this);
        box.exec();
        return;
    }
    showPicture();
    resize(width(), height() + pictureRoom());
}

int InfoDialog::pictureRoom() const {
    // The page grows by the picture's own height, at least 10 and at most
    // 20 text lines (a small picture is enlarged to that).
    const QImage image = picture();
    const int line = QFontMetrics(text_->font()).lineSpacing();
    return image.isNull() ? 0 : std::clamp(image.height(), line * 10, line * 20);
}

FindDialog::FindDialog(ChartView& chart, QWidget* parent) : QDialog(parent), chart_(chart) {
    setWindowTitle(tr("Find"));
    input_ = new QLineEdit(this);
    input_->setPlaceholderText(tr("Star, BS number, Bayer/Flamsteed, planet, constellation, M or C number"));
    QStringList candidates;
    for (const std::string& c : skySearchCandidates()) candidates << QString::fromStdString(c);
    auto* completer = new QCompleter(candidates, this);
    completer->setCaseSensitivity(Qt::CaseInsensitive);
    completer->setFilterMode(Qt::MatchContains);
    input_->setCompleter(completer);
    // The button stands beside the field, so the completer's list, which
    // opens below the field, never covers it.
    centre_ = new QPushButton(tr("Center on chart"), this);
    centre_->setAutoDefault(false);
    connect(centre_, &QPushButton::clicked, this, [this] {
        if (centreOnChart()) accept();
    });
    // Return in the field centres, also while the completer's list is open
    // (it takes the key and completes first). The dialog has no default
    // button, so Return never runs "Center on chart" twice.
    connect(input_, &QLineEdit::returnPressed, centre_, &QPushButton::click, Qt::QueuedConnection);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close | QDialogButtonBox::Help, this);
    for (QAbstractButton* b : buttons->buttons())
        if (auto* push = qobject_cast<QPushButton*>(b)) push->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [this] { emit helpRequested(QStringLiteral("find")); });
    auto* row = new QHBoxLayout;
    row->addWidget(input_, 1);
    row->addWidget(centre_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Find:"), this));
    layout->addLayout(row);
    layout->addStretch(1);
    layout->addWidget(buttons);
    resize(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 72, sizeHint().height());
}

bool FindDialog::centreOnChart() {
    const auto hit = findSkyObject(input_->text().toStdString());
    if (!hit) {
        QMessageBox::information(this, windowTitle(), tr("\"%1\" was not found.").arg(input_->text()));
        return false;
    }
    ChartSelection selection;
    selection.kind = hit->kind == SkySearchHit::Kind::Body ? ChartSelection::Kind::Body : ChartSelection::Kind::Object;
    selection.id = hit->id;
    // The place as the chart's own stages compute it, for any instant; a
    // catalogue object the magnitude filter leaves out has one too.
    const CObserverState& o = chart_.observer();
    const PlaceContext& places = chart_.sky().universe().Places();
    const bool body = selection.kind == ChartSelection::Kind::Body;
    const int id = hit->id;
    const ChartPlaceAt placeAt = [&places, &o, body, id](double jd) {
        return body ? chartPlaceOfBody(places, id, jd, o) : chartPlaceOfObject(places, id, jd, o);
    };
    std::optional<ChartPlace> place = placeAt(o.instant);
    if (!place) return false;  // a body outside the ephemeris
    if (!place->shown()) {
        const std::optional<double> rise = nextChartRise(placeAt, o.instant, kChartRiseSearchDays);
        QString text = tr("%1 is below the horizon.").arg(QString::fromStdString(hit->label));
        if (!rise) {
            QMessageBox::information(this, windowTitle(), text + tr(" It does not rise in the next days."));
            return false;
        }
        text += tr(" Step the time to its next rise?");
        const int answer = answer_ >= 0
                               ? answer_
                               : QMessageBox::question(this, windowTitle(), text, QMessageBox::Yes | QMessageBox::No);
        if (answer != QMessageBox::Yes || !chart_.timeControl().setInstant(*rise)) return false;
        place = placeAt(*rise);
        if (!place) return false;
    }
    chart_.centreOnPlace(selection, place->zenithDistanceDeg, place->azimuthDeg);
    return true;
}

}  // namespace celestra
