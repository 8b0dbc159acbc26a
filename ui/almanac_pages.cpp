#include "ui/almanac_pages.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QTimeZone>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/document.h"
#include "calculators/converters.h"
#include "catalogs/star_catalog.h"
#include "catalogs/star_place.h"
#include "core/angles.h"
#include "solarsystem/ephemeris.h"
#include "ui/translations.h"

namespace celestra {

namespace {

// The observer's local date (zone offset applied) of a UTC Julian day.
QDate localDate(double jdUtc, double zoneOffsetDays) {
    const CivilDateTime t = civilFromJulianDay(jdUtc + zoneOffsetDays);
    return QDate(t.year, t.month, t.day);
}

QString zoneText(double zoneOffsetDays) {
    const int minutes = static_cast<int>(std::lround(zoneOffsetDays * 1440.0));
    return QStringLiteral("UTC%1%2:%3")
        .arg(minutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(std::abs(minutes) / 60, 2, 10, QLatin1Char('0'))
        .arg(std::abs(minutes) % 60, 2, 10, QLatin1Char('0'));
}

// The body list: the Sun, the Moon and the planets by their record names.
struct ListedBody {
    int number;
    const char* name;
};
constexpr ListedBody kListedBodies[] = {
    {kSun, "Sun"},         {kMoon, "Moon"},     {kMercury, "Mercury"}, {kVenus, "Venus"},     {kMars, "Mars"},
    {kJupiter, "Jupiter"}, {kSaturn, "Saturn"}, {kUranus, "Uranus"},   {kNeptune, "Neptune"}, {kPluto, "Pluto"}};

}  // namespace

QString zoneLabel(double zoneOffsetDays, const QDate& date) {
    const QTimeZone system = QTimeZone::systemTimeZone();
    const QDateTime noon(date, QTime(12, 0), system);
    const bool daylight = system.isDaylightTime(noon) &&
                          system.offsetFromUtc(noon) == static_cast<int>(std::lround(zoneOffsetDays * 86400.0));
    return engineText(daylight ? kDaylightSavingTimeLabel : kStandardTimeLabel);
}

QString riseSetFieldText(const std::string& eventText, int count) {
    QString t = engineText(eventText);
    if (count > 1) t += RiseSetDialog::tr("  (first of %1)").arg(count);
    return t;
}

// ---------------------------------------------------------------- Rise Set Times

RiseSetDialog::RiseSetDialog(const DocumentData& document, QWidget* parent, std::optional<ZoneRule> zoneRule)
    : QDialog(parent), doc_(document), zone_(std::move(zoneRule)) {
    setWindowTitle(tr("Rise Set Times"));
    const CObserverState& o = doc_.observer;
    date = new QDateEdit(localDate(o.instant, o.zoneOffset), this);
    date->setDisplayFormat(QStringLiteral("d MMM yyyy"));
    date->setCalendarPopup(true);
    body = new QComboBox(this);
    body->setEditable(true);
    body->setInsertPolicy(QComboBox::NoInsert);
    body->setToolTip(tr("A body, or a star by name, Bayer/Flamsteed identity or Bright Star number"));
    for (const ListedBody& b : kListedBodies) body->addItem(bodyText(b.name), b.number);
    auto* kinds = new QGroupBox(tr("Event"), this);
    riseSet = new QRadioButton(tr("Rise/Set"), kinds);
    civil = new QRadioButton(tr("Civil Twilight"), kinds);
    nautical = new QRadioButton(tr("Nautical Twilight"), kinds);
    riseSet->setChecked(true);
    auto* kindLayout = new QVBoxLayout(kinds);
    kindLayout->addWidget(riseSet);
    kindLayout->addWidget(civil);
    kindLayout->addWidget(nautical);

    place = new QLabel(QString::fromStdString(formatAngle(o.latitude, 0, AngleSignStyle::Latitude) + "   " +
                                              formatAngle(o.longitude, 0, AngleSignStyle::Longitude)),
                       this);
    zone = new QLabel(this);
    rise = new QLabel(this), transit = new QLabel(this), set = new QLabel(this);
    riseCaption = new QLabel(this);
    setCaption = new QLabel(this);
    message = new QLabel(this);
    message->setWordWrap(true);

    auto* form = new QFormLayout;
    form->addRow(tr("Date:"), date);
    form->addRow(tr("Body:"), body);
    form->addRow(tr("Place:"), place);
    form->addRow(tr("Zone:"), zone);
    auto* results = new QGroupBox(tr("Local Time"), this);
    auto* resultForm = new QFormLayout(results);
    resultForm->addRow(riseCaption, rise);
    resultForm->addRow(tr("Transit:"), transit);
    resultForm->addRow(setCaption, set);
    auto* row = new QHBoxLayout;
    row->addWidget(kinds);
    row->addWidget(results, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(row);
    layout->addWidget(message);
    layout->addStretch(1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(date, &QDateEdit::dateChanged, this, &RiseSetDialog::compute);
    connect(body, &QComboBox::currentIndexChanged, this, &RiseSetDialog::compute);
    connect(body->lineEdit(), &QLineEdit::editingFinished, this, &RiseSetDialog::compute);
    for (QRadioButton* r : {riseSet, civil, nautical})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on) compute();
        });
    compute();
}

void RiseSetDialog::compute() {
    const CObserverState& o = doc_.observer;
    const RiseSetKind kind = civil->isChecked()      ? RiseSetKind::CivilTwilight
                             : nautical->isChecked() ? RiseSetKind::NauticalTwilight
                                                     : RiseSetKind::RiseSet;
    const bool twilight = kind != RiseSetKind::RiseSet;
    riseCaption->setText(twilight ? tr("Begins:") : tr("Rise:"));
    setCaption->setText(twilight ? tr("Ends:") : tr("Set:"));
    // Twilight is the Sun's: the body list has nothing to say then.
    body->setEnabled(!twilight);
    // The zone's offset at noon UTC of the date: summer time for a summer date.
    const QDate d = date->date();
    const JulianDay jd0 = julianDayAt0h(d.year(), d.month(), d.day());
    const double offset = zone_ ? zone_->offsetDaysAt(jd0 + 0.5) : o.zoneOffset;
    const QString label = zone_
                              ? engineText(zone_->daylightAt(jd0 + 0.5) ? kDaylightSavingTimeLabel : kStandardTimeLabel)
                              : zoneLabel(offset, d);
    zone->setText(zoneText(offset) + QStringLiteral("  ") + label);
    message->clear();

    RiseSetTarget target;
    const QString text = body->currentText().trimmed();
    int listed = body->findText(text, Qt::MatchFixedString);
    // The English names are taken too, whatever language the list shows.
    for (int i = 0; listed < 0 && i < static_cast<int>(std::size(kListedBodies)); ++i)
        if (text.compare(QLatin1String(kListedBodies[i].name), Qt::CaseInsensitive) == 0) listed = i;
    if (twilight) {
        target = riseSetBody(kSun);
    } else if (listed >= 0) {
        target = riseSetBody(body->itemData(listed).toInt());
    } else {
        const std::string s = text.toStdString();
        const StarEntry* star = nullptr;
        bool isNumber = false;
        const int n = text.toInt(&isNumber);
        if (isNumber) star = starByNumber(n);
        else if (!(star = findStarByName(s))) star = findStarByIdentity(s);
        if (!star || isPlaceholderStar(star->number)) {
            rise->clear(), transit->clear(), set->clear();
            message->setText(
                tr("No star \"%1\": give a body, a star's name or a Bright Star number 1 to 9110.").arg(text));
            return;
        }
        target = riseSetStar(starPlaceInput(*star));
        message->setText(QString::fromStdString(starChartLabel(*star)));
    }

    // The events of the UTC day of the chosen date, shown in the observer's zone.
    const ObserverSite site = observerSite(o);
    const PlaceContext context = makePlaceContext(processEphemeris());
    const RiseTransitSet r = riseTransitSet(&context, target, jd0, deltaT(jd0), site, offset, kind);
    rise->setText(riseSetFieldText(r.riseText, r.riseCount));
    transit->setText(riseSetFieldText(r.transitText, r.transitCount));
    set->setText(riseSetFieldText(r.setText, r.setCount));
}

// ---------------------------------------------------------------- Lunar Phase

namespace {
constexpr int kColumns = 7;
constexpr int kRows = 6;

// Day of the week of the 1st, Sunday = 0.
int firstColumn(int year, int month) { return QDate(year, month, 1).dayOfWeek() % 7; }

// The Moon as seen in the sky with north up (east to the left): the dark
// disc, then the lit part bounded by the bright limb's half circle and the
// terminator's half ellipse (half-width |1 - 2k| of the radius).
void drawMoon(QPainter& p, const QPointF& centre, double radius, double fraction, double brightLimbDeg,
              const QColor& lit, const QColor& dark, const QColor& outline) {
    p.save();
    p.setPen(QPen(outline, 1.0));
    p.setBrush(dark);
    p.drawEllipse(centre, radius, radius);
    p.setPen(Qt::NoPen);
    p.translate(centre);
    // Bright limb at position angle χ from north through east: on screen
    // (-sin χ, -cos χ); +x is turned onto it.
    const double chi = brightLimbDeg * M_PI / 180.0;
    p.rotate(std::atan2(-std::cos(chi), -std::sin(chi)) * 180.0 / M_PI);
    const QRectF disc(-radius, -radius, 2 * radius, 2 * radius);
    QPainterPath half;
    half.moveTo(0, -radius);
    half.arcTo(disc, 90, -180);
    half.closeSubpath();
    const double w = std::abs(1.0 - 2.0 * fraction) * radius;
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), w, radius);
    const QPainterPath litPath = fraction >= 0.5 ? half.united(ellipse) : half.subtracted(ellipse);
    p.setBrush(lit);
    p.drawPath(litPath);
    p.restore();
}
}  // namespace

LunarMonthView::LunarMonthView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(7 * 84, 6 * 64 + 20);  // a cell holds "22 Full 02:08"
}

QSize LunarMonthView::sizeHint() const { return {7 * 76, 6 * 80 + 22}; }

void LunarMonthView::setMonth(const LunarCalendarMonth& month, const ZoneRule& zone) {
    month_ = month;
    zone_ = zone;
    update();
}

void LunarMonthView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Window));
    if (month_.month < 1) return;
    const QColor text = pal.color(QPalette::WindowText);
    const QColor grid = pal.color(QPalette::Mid);
    // The lit part in the brighter of the scheme's text and field colours,
    // the dark part in the other: the night schemes light the Moon in their
    // text colour, a light palette in its field white.
    QColor lit = text, dark = pal.color(QPalette::Base);
    if (lit.lightness() < dark.lightness()) std::swap(lit, dark);
    const int header = fontMetrics().height() + 6;
    const double cw = width() / double(kColumns), ch = (height() - header) / double(kRows);
    p.setPen(text);
    // The locale's short weekday names, Sunday first (Qt counts Monday 1 .. Sunday 7).
    for (int c = 0; c < kColumns; ++c)
        p.drawText(QRectF(c * cw, 0, cw, header), Qt::AlignCenter,
                   locale().standaloneDayName(c == 0 ? 7 : c, QLocale::ShortFormat));
    const int first = firstColumn(month_.year, month_.month);
    const double lineHeight = fontMetrics().height();
    for (const LunarCalendarDay& day : month_.days) {
        const int index = first + day.day - 1;
        const QRectF cell((index % kColumns) * cw, header + (index / kColumns) * ch, cw, ch);
        p.setPen(grid);
        p.setBrush(Qt::NoBrush);
        p.drawRect(cell.adjusted(0.5, 0.5, -0.5, -0.5));
        p.setPen(text);
        p.drawText(cell.adjusted(4, 2, -4, -2), Qt::AlignLeft | Qt::AlignTop, QString::number(day.day));
        // A principal phase on this local day: its short name and local time, top right.
        for (const LunarPhaseEvent& e : month_.phases) {
            const std::string when = formatPhaseMinute(e.jdUtc + zone_.offsetDaysAt(e.jdUtc));  // "YYYY-MM-DDThh:mm"
            if (std::stoi(when.substr(8, 2)) != day.day || std::stoi(when.substr(5, 2)) != month_.month) continue;
            static const char* const shortNames[4] = {QT_TR_NOOP("New"), QT_TR_NOOP("FQ"), QT_TR_NOOP("Full"),
                                                      QT_TR_NOOP("LQ")};
            p.drawText(cell.adjusted(4, 2, -4, -2), Qt::AlignRight | Qt::AlignTop,
                       QStringLiteral("%1 %2").arg(tr(shortNames[static_cast<int>(e.phase)]),
                                                   QString::fromStdString(when.substr(11, 5))));
        }
        if (!day.valid) {
            p.drawText(cell, Qt::AlignCenter, QStringLiteral("???"));
            continue;
        }
        p.drawText(cell.adjusted(4, 2, -4, -2), Qt::AlignRight | Qt::AlignBottom,
                   QStringLiteral("%1%").arg(std::lround(day.illuminatedFraction * 100.0)));
        const double radius = std::max(4.0, std::min(cw, ch - 2 * lineHeight) * 0.36);
        drawMoon(p, QPointF(cell.center().x(), cell.top() + lineHeight + radius + 2), radius, day.illuminatedFraction,
                 day.brightLimbDeg, lit, dark, grid);
    }
}

LunarPhaseDialog::LunarPhaseDialog(const DocumentData& document, QWidget* parent, std::optional<ZoneRule> zoneRule)
    : QDialog(parent), doc_(document), zone_(zoneRule ? *zoneRule : ZoneRule::fixed(document.observer.zoneOffset)) {
    setWindowTitle(tr("Lunar Phase"));
    previous = new QPushButton(QStringLiteral("<"), this);
    next = new QPushButton(QStringLiteral(">"), this);
    previous->setToolTip(tr("Previous month"));
    next->setToolTip(tr("Next month"));
    title = new QLabel(this);
    title->setAlignment(Qt::AlignCenter);
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    view = new LunarMonthView(this);
    phases = new QLabel(this);
    phases->setTextInteractionFlags(Qt::TextSelectableByMouse);
    phases->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* top = new QHBoxLayout;
    top->addWidget(previous);
    top->addWidget(title, 1);
    top->addWidget(next);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(view, 1);
    layout->addWidget(phases);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(previous, &QPushButton::clicked, this, [this] { step(-1); });
    connect(next, &QPushButton::clicked, this, [this] { step(1); });
    const QDate today = localDate(doc_.observer.instant, doc_.observer.zoneOffset);
    showMonth(today.year(), today.month());
}

void LunarPhaseDialog::step(int months) {
    const QDate d = QDate(year_, month_, 1).addMonths(months);
    showMonth(d.year(), d.month());
}

void LunarPhaseDialog::showMonth(int year, int month) {
    year_ = year;
    month_ = month;
    // The month's days at local midnight: the offset in force at the start
    // of the 1st (a daylight-saving change within the month moves the
    // nightly Moon by an hour at most, which the drawing cannot show).
    const double start = julianDayAt0h(year, month, 1);
    const double zone = zone_.offsetDaysAt(start - zone_.offsetDaysAt(start));
    const PlaceContext context = makePlaceContext(processEphemeris());
    calendar_ = lunarCalendarMonth(context, year, month, zone);
    title->setText(locale().standaloneMonthName(month) + QLatin1Char(' ') + QString::number(year));
    view->setMonth(calendar_, zone_);
    QStringList lines;
    QStringList offsets;
    for (const LunarPhaseEvent& e : calendar_.phases) {
        // Local time to the minute: the UTC instant's form moved by the zone then.
        const double offset = zone_.offsetDaysAt(e.jdUtc);
        QString when = QString::fromStdString(formatPhaseMinute(e.jdUtc + offset));
        when.replace(QLatin1Char('T'), QLatin1Char(' '));
        lines << QStringLiteral("%1  %2").arg(engineText(lunarPhaseName(e.phase)), -14).arg(when);
        if (!offsets.contains(zoneText(offset))) offsets << zoneText(offset);
    }
    if (offsets.isEmpty()) offsets << zoneText(zone);
    if (calendar_.status != Status::Ok) lines << tr("The ephemeris does not cover this month.");
    lines << tr("Times are local (%1).").arg(offsets.join(QStringLiteral(", ")));
    phases->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace celestra
