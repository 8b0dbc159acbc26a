#include "ui/sight_planner_page.h"

#include <QButtonGroup>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimeZone>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/document.h"
#include "core/iso_time.h"
#include "solarsystem/ephemeris.h"
#include "ui/number_field.h"
#include "ui/translations.h"

namespace celestra {

namespace {

bool chosen(const SightPlan& plan, size_t index) {
    return std::find(plan.best.begin(), plan.best.end(), index) != plan.best.end();
}

QString degrees(double value) { return QString::number(value, 'f', 1) + QChar(0x00b0); }

}  // namespace

// ---------------------------------------------------------------------------
// Diagram

PlannerDiagram::PlannerDiagram(QWidget* parent) : QWidget(parent) { setMinimumSize(260, 260); }

void PlannerDiagram::setPlan(const SightPlan& plan) {
    plan_ = plan;
    update();
}

double PlannerDiagram::radius() const { return 0.5 * std::min(width(), height()) - 2.0 * fontMetrics().height(); }

QPointF PlannerDiagram::pointOf(double altitudeDeg, double azimuthDeg) const {
    // Equidistant in zenith distance; north up, east right.
    const double r = radius() * (90.0 - altitudeDeg) / 90.0;
    const double a = azimuthDeg * M_PI / 180.0;
    return {width() / 2.0 + r * std::sin(a), height() / 2.0 - r * std::cos(a)};
}

void PlannerDiagram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().color(QPalette::Base));
    const QColor ink = palette().color(QPalette::Text), faint = palette().color(QPalette::Mid);
    const QPointF c(width() / 2.0, height() / 2.0);
    const double r = radius();
    p.setPen(QPen(faint, 1));
    for (int alt : {60, 30, 0}) {
        const double rr = r * (90.0 - alt) / 90.0;
        p.drawEllipse(c, rr, rr);
        p.drawText(c + QPointF(3, -rr - 2), QStringLiteral("%1\u00b0").arg(alt));
    }
    for (int az = 0; az < 360; az += 30) p.drawLine(c, pointOf(0.0, az));
    p.setPen(ink);
    const QFontMetrics fm = fontMetrics();
    const char* cardinals[] = {QT_TR_NOOP("N"), QT_TR_NOOP("E"), QT_TR_NOOP("S"), QT_TR_NOOP("W")};
    for (int i = 0; i < 4; ++i) {
        const QPointF at = pointOf(-12.0, 90.0 * i);
        const QString t = tr(cardinals[i]);
        p.drawText(at - QPointF(fm.horizontalAdvance(t) / 2.0, -fm.ascent() / 2.0), t);
    }
    for (size_t i = 0; i < plan_.bodies.size(); ++i) {
        const PlanBody& b = plan_.bodies[i];
        const QPointF at = pointOf(b.hc, b.zn);
        const bool best = chosen(plan_, i);
        // Brighter bodies drawn larger, as on a star finder.
        const double size = std::clamp(4.5 - 0.8 * b.magnitude, 2.0, 7.0);
        p.setPen(QPen(ink, best ? 2.0 : 1.0));
        p.setBrush(best ? QBrush(ink) : Qt::NoBrush);
        p.drawEllipse(at, size, size);
        if (best) {
            p.drawLine(c, at);
            p.drawText(at + QPointF(size + 3, -size), engineText(b.name));
        }
    }
}

// ---------------------------------------------------------------------------
// Page

SightPlannerDialog::SightPlannerDialog(const DocumentData& document, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Sight Planner"));
    const CObserverState& o = document.observer;
    latitude = new NumberSpinBox(this);
    latitude->setRange(-90.0, 90.0);
    latitude->setDecimals(4);
    latitude->setValue(o.latitude);
    latitude->setToolTip(tr("Degrees, north positive"));
    longitude = new NumberSpinBox(this);
    longitude->setRange(-180.0, 180.0);
    longitude->setDecimals(4);
    longitude->setValue(o.longitude);
    longitude->setToolTip(tr("Degrees, east positive"));
    // The place's local date: the chart's instant at the longitude's mean time.
    const CalendarDate local = calendarFromJulianDay(o.instant + o.longitude / 360.0);
    date = new QDateEdit(QDate(local.year, local.month, local.day), this);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setCalendarPopup(true);
    morning = new QRadioButton(tr("Morning twilight"), this);
    evening = new QRadioButton(tr("Evening twilight"), this);
    atInstant = new QRadioButton(tr("At (UTC):"), this);
    auto* kinds = new QButtonGroup(this);
    for (QRadioButton* b : {morning, evening, atInstant}) kinds->addButton(b);
    evening->setChecked(true);
    const BrokenDownTime t = brokenDownTimeFromJulianDay(o.instant);
    instant =
        new QDateTimeEdit(QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute), QTimeZone::utc()), this);
    instant->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm"));
    instant->setTimeSpec(Qt::UTC);
    minAltitude = new QSpinBox(this);
    minAltitude->setRange(0, 90);
    minAltitude->setValue(15);
    minAltitude->setSuffix(QStringLiteral("\u00b0"));
    maxAltitude = new QSpinBox(this);
    maxAltitude->setRange(0, 90);
    maxAltitude->setValue(70);
    maxAltitude->setSuffix(QStringLiteral("\u00b0"));
    count = new QSpinBox(this);
    count->setRange(kPlanMinCount, kPlanMaxCount);
    count->setValue(3);
    plan = new QPushButton(tr("Plan"), this);
    markOnChart = new QPushButton(tr("Mark on Chart"), this);
    close = new QPushButton(tr("Close"), this);
    for (QPushButton* b : {markOnChart, close}) b->setAutoDefault(false);
    plan->setDefault(true);
    summary = new QLabel(this);
    summary->setWordWrap(true);
    summary->setTextInteractionFlags(Qt::TextSelectableByMouse);
    table = new QTableWidget(0, 4, this);
    table->setHorizontalHeaderLabels({tr("Body"), tr("Hc"), tr("Zn"), tr("Mag.")});
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
    diagram = new PlannerDiagram(this);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(tr("Latitude:"), this), 0, 0);
    form->addWidget(latitude, 0, 1);
    form->addWidget(new QLabel(tr("Longitude:"), this), 0, 2);
    form->addWidget(longitude, 0, 3);
    form->addWidget(new QLabel(tr("Date:"), this), 1, 0);
    form->addWidget(date, 1, 1);
    form->addWidget(morning, 1, 2);
    form->addWidget(evening, 1, 3);
    form->addWidget(atInstant, 2, 2);
    form->addWidget(instant, 2, 3);
    form->addWidget(new QLabel(tr("Altitudes:"), this), 3, 0);
    auto* limits = new QHBoxLayout;
    limits->addWidget(minAltitude);
    limits->addWidget(new QLabel(tr("to"), this));
    limits->addWidget(maxAltitude);
    form->addLayout(limits, 3, 1);
    form->addWidget(new QLabel(tr("Bodies in the set:"), this), 3, 2);
    form->addWidget(count, 3, 3);
    auto* lists = new QHBoxLayout;
    lists->addWidget(table, 2);
    lists->addWidget(diagram, 3);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(plan);
    buttons->addWidget(markOnChart);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(summary);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(plan, &QPushButton::clicked, this, &SightPlannerDialog::compute);
    connect(markOnChart, &QPushButton::clicked, this, [this] {
        std::vector<PlanBody> bodies;
        for (size_t i : plan_.best) bodies.push_back(plan_.bodies[i]);
        emit markRequested(bodies, plan_.utc);
    });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    connect(atInstant, &QRadioButton::toggled, instant, &QWidget::setEnabled);
    connect(atInstant, &QRadioButton::toggled, date, &QWidget::setDisabled);
    instant->setEnabled(false);
    compute();
    resize(820, 560);
}

void SightPlannerDialog::compute() {
    PlanRequest request;
    request.latitude = latitude->value();
    request.longitude = longitude->value();
    const QDate d = date->date();
    request.year = d.year();
    request.month = d.month();
    request.day = d.day();
    request.twilight = morning->isChecked() ? PlanTwilight::Morning : PlanTwilight::Evening;
    if (atInstant->isChecked()) {
        const QDateTime when = instant->dateTime().toUTC();
        request.atInstant = true;
        request.utc = julianDayFromCalendar(when.date().year(), when.date().month(), when.date().day(),
                                            when.time().hour() + when.time().minute() / 60.0);
    }
    request.minAltitude = minAltitude->value();
    request.maxAltitude = std::max(maxAltitude->value(), minAltitude->value());
    request.count = count->value();
    plan_ = planSights(makePlaceContext(processEphemeris()), request);

    table->setRowCount(static_cast<int>(plan_.bodies.size()));
    for (size_t i = 0; i < plan_.bodies.size(); ++i) {
        const PlanBody& b = plan_.bodies[i];
        const QString cells[4] = {engineText(b.name), degrees(b.hc), degrees(b.zn),
                                  QString::number(b.magnitude, 'f', 1)};
        for (int c = 0; c < 4; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            if (c > 0) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            if (chosen(plan_, i)) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            table->setItem(static_cast<int>(i), c, item);
        }
    }
    table->resizeColumnsToContents();
    diagram->setPlan(plan_);

    QString text;
    if (plan_.status == Status::OutsideEphemeris) {
        text = tr("Date is outside the ephemeris.");
    } else if (plan_.status != Status::Ok) {
        text = engineText(plan_.note);
    } else {
        QStringList best;
        for (size_t i : plan_.best)
            best << tr("%1 (Hc %2, Zn %3)")
                        .arg(engineText(plan_.bodies[i].name), degrees(plan_.bodies[i].hc),
                             degrees(plan_.bodies[i].zn));
        text = tr("%1 UTC. Best set: %2.")
                   .arg(QString::fromStdString(formatIsoTime(plan_.utc)).replace(QLatin1Char('T'), QLatin1Char(' ')),
                        best.join(QStringLiteral(", ")));
        if (!plan_.note.empty()) text += QLatin1Char(' ') + engineText(plan_.note);
    }
    summary->setText(text);
    markOnChart->setEnabled(plan_.status == Status::Ok && !plan_.best.empty());
}

}  // namespace celestra
