#include "ui/nav_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "catalogs/star_catalog.h"
#include "core/time_scales.h"
#include "solarsystem/ephemeris.h"
#include "ui/number_field.h"
#include "ui/translations.h"

namespace celestra {

namespace {

// Star selector values are catalogue numbers; the separator row carries 0.
constexpr int kNoStar = 0;

void setSelectorData(QComboBox* box, int value) {
    const int index = box->findData(value);
    if (index >= 0) box->setCurrentIndex(index);
}

}  // namespace

QString displayText(const std::string& text) {
    QString s = engineText(text);
    s.remove(QLatin1Char('\r'));
    return s;
}

int starFromText(const QString& text) {
    const QString t = text.trimmed();
    bool isNumber = false;
    const int n = t.startsWith(QStringLiteral("BS:"), Qt::CaseInsensitive) ? t.mid(3).trimmed().toInt(&isNumber)
                                                                           : t.toInt(&isNumber);
    if (isNumber) return starByNumber(n) && !isPlaceholderStar(n) ? n : kNoStar;
    for (const NavigationalStar& s : navigationalStars())
        if (t.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0) return s.number;
    if (const StarEntry* e = findStarByName(t.toStdString())) return e->number;
    if (const StarEntry* e = findStarByIdentity(t.toStdString())) return e->number;
    return kNoStar;
}

NavigationState::NavigationState(DocumentData& document, const Preferences& preferences)
    : doc(document), prefs(preferences), place(makePlaceContext(processEphemeris())) {}

std::string NavigationState::websiteAddress() const { return prefs.website.trimmed().toStdString(); }

// ---------------------------------------------------------------------------
// Details

DetailsDialog::DetailsDialog(NavigationState& state, const CMeasure& sight, QWidget* parent)
    : QDialog(parent), state_(state), sight_(sight) {
    setWindowTitle(tr("Details"));
    table_ = new QTableWidget(kDetailRowCount, 4, this);
    table_->setHorizontalHeaderLabels({tr("Measurement"), tr("Symbol"), tr("Value"), tr("Units")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Format codes: 2 degrees, minutes and seconds; 1 degrees and minutes; 0 degrees.
    const char* captions[3] = {"D: 1.23\u00b0", "DM: 1\u00b0  2.3'", "DMS: 1\u00b0 2 ' 3 \""};
    auto* buttons = new QHBoxLayout;
    for (int f = 2; f >= 0; --f) {
        buttons_[f] = new QPushButton(QString::fromUtf8(captions[f]), this);
        buttons_[f]->setAutoDefault(false);
        connect(buttons_[f], &QPushButton::clicked, this, [this, f] {
            state_.format = f;
            fill();
        });
        buttons->addWidget(buttons_[f]);
    }
    buttons->addStretch(1);
    auto* close = new QPushButton(tr("Close"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_);
    layout->addLayout(buttons);
    fill();
    // Wide enough for every column in the widest format, so none is cut.
    int width = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < 3; ++c) width += table_->columnWidth(c);
    // The stretched last column never shrinks below the header's default size.
    width += std::max(table_->columnWidth(3), table_->horizontalHeader()->defaultSectionSize());
    table_->setMinimumWidth(width + fontMetrics().averageCharWidth() * 4);
    resize(sizeHint().width(), 640);
}

void DetailsDialog::fill() {
    const std::vector<DetailRow> rows = fillDetails(sight_, state_.place, state_.format);
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const DetailRow& row = rows[static_cast<size_t>(r)];
        const std::string* cells[4] = {&row.measurement, &row.symbol, &row.value, &row.unit};
        for (int c = 0; c < 4; ++c) {
            // Leading blanks of a measurement mark it as part of the row above.
            QString text = displayText(*cells[c]);
            auto* item = new QTableWidgetItem(c == 0 ? text : text.trimmed());
            if (c == 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            table_->setItem(r, c, item);
        }
    }
    table_->resizeColumnsToContents();
    table_->resizeRowsToContents();
    for (int f = 0; f < 3; ++f) buttons_[f]->setDefault(f == state_.format);
}

// ---------------------------------------------------------------------------
// Sextant

SextantDialog::SextantDialog(NavigationState& state, QWidget* parent)
    : QDialog(parent), state_(state), sight_(state.doc.currentSight) {
    setWindowTitle(tr("Sextant"));
    star_ = new QRadioButton(tr("Star"), this);
    body_ = new QRadioButton(tr("Body"), this);
    auto* kind = new QButtonGroup(this);
    kind->addButton(star_);
    kind->addButton(body_);
    bodyBox_ = new QComboBox(this);
    bodyBox_->setMinimumContentsLength(18);
    bodyBox_->setInsertPolicy(QComboBox::NoInsert);
    bodyBox_->setToolTip(tr("A star by name, by catalogue number or by Bayer identity"));

    date_ = new QDateEdit(this);
    date_->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date_->setCalendarPopup(true);
    date_->setMinimumDate(QDate(100, 1, 1));  // any date the ephemeris may hold
    time_ = new QTimeEdit(this);
    time_->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    asUtc_ = new QCheckBox(tr("as UTC"), this);
    auto* now = new QPushButton(tr("Now"), this);
    auto* last = new QPushButton(tr("Last"), this);
    now->setAutoDefault(false);
    last->setAutoDefault(false);

    altitudeLabel_ = new QLabel(tr("<u>Altitude</u>"), this);
    altitudeLabel_->setCursor(Qt::PointingHandCursor);
    altitudeLabel_->setToolTip(tr("Set the altitude that gives no intercept at the AP"));
    altitudeLabel_->installEventFilter(this);
    degrees_ = new QSpinBox(this);
    degrees_->setRange(0, 90);
    minutes_ = new NumberSpinBox(this);
    minutes_->setRange(0.0, 60.0);
    minutes_->setDecimals(1);

    calculate_ = new QPushButton(tr("Calculate"), this);
    details_ = new QPushButton(tr("Details"), this);
    save_ = new QPushButton(tr("Save LOP"), this);
    details_->setAutoDefault(false);
    save_->setAutoDefault(false);

    result_ = new QLabel(this);
    result_->setWordWrap(true);
    result_->setFrameShape(QFrame::StyledPanel);
    result_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    result_->setMinimumHeight(6 * fontMetrics().lineSpacing());
    result_->setCursor(Qt::PointingHandCursor);
    result_->installEventFilter(this);

    auto* grid = new QGridLayout(this);
    auto* kindRow = new QHBoxLayout;
    kindRow->addWidget(star_);
    kindRow->addWidget(body_);
    kindRow->addWidget(bodyBox_, 1);
    grid->addLayout(kindRow, 0, 0, 1, 4);
    grid->addWidget(new QLabel(tr("Time"), this), 1, 0);
    grid->addWidget(date_, 1, 1);
    grid->addWidget(time_, 1, 2);
    grid->addWidget(asUtc_, 1, 3);
    auto* timeButtons = new QHBoxLayout;
    timeButtons->addStretch(1);
    timeButtons->addWidget(now);
    timeButtons->addWidget(last);
    grid->addLayout(timeButtons, 2, 0, 1, 4);
    grid->addWidget(altitudeLabel_, 3, 0);
    grid->addWidget(degrees_, 3, 1);
    grid->addWidget(minutes_, 3, 2);
    grid->addWidget(new QLabel(tr("Degrees"), this), 4, 1, Qt::AlignHCenter | Qt::AlignTop);
    grid->addWidget(new QLabel(tr("Minutes"), this), 4, 2, Qt::AlignHCenter | Qt::AlignTop);
    auto* actions = new QHBoxLayout;
    actions->addWidget(calculate_);
    actions->addWidget(details_);
    actions->addWidget(save_);
    grid->addLayout(actions, 5, 0, 1, 4);
    grid->addWidget(result_, 6, 0, 1, 4);
    grid->setColumnStretch(3, 1);

    // The page's values from the current sight.
    filling_ = true;
    (sight_.isStar ? star_ : body_)->setChecked(true);
    asUtc_->setChecked(sight_.timeEnteredAsUtc != 0);
    setPickers(sight_.observationTime > 0.0 ? sight_.observationTime : currentJulianDayUtc());
    const double hs = std::clamp(sight_.hs, 0.0, 90.0);
    degrees_->setValue(static_cast<int>(std::floor(hs)));
    minutes_->setValue(std::min(60.0, (hs - std::floor(hs)) * 60.0));
    filling_ = false;
    fillBodies();
    acceptData();
    invalidate();

    connect(star_, &QRadioButton::toggled, this, [this] {
        fillBodies();
        acceptData();
        invalidate();
    });
    connect(bodyBox_, &QComboBox::activated, this, [this] {
        acceptData();
        invalidate();
    });
    connect(date_, &QDateEdit::dateChanged, this, [this] {
        acceptData();
        invalidate();
    });
    connect(time_, &QTimeEdit::timeChanged, this, [this] {
        acceptData();
        invalidate();
    });
    connect(asUtc_, &QCheckBox::toggled, this, [this] {
        acceptData();
        invalidate();
    });
    connect(degrees_, &QSpinBox::valueChanged, this, [this] { invalidate(); });
    connect(minutes_, &QDoubleSpinBox::valueChanged, this, [this] { invalidate(); });
    connect(now, &QPushButton::clicked, this, [this] { setPickers(currentJulianDayUtc()); });
    connect(last, &QPushButton::clicked, this, [this] {
        // The time of the last saved sight, else of the last calculated one.
        const ObservationList& list = state_.doc.sights;
        setPickers(list.Empty() ? sight_.observationTime : list.At(list.Count() - 1).observationTime);
    });
    connect(calculate_, &QPushButton::clicked, this, &SextantDialog::calculate);
    connect(details_, &QPushButton::clicked, this, &SextantDialog::openDetails);
    connect(save_, &QPushButton::clicked, this, &SextantDialog::saveLop);
}

void SextantDialog::fillBodies() {
    filling_ = true;
    bodyBox_->clear();
    const bool stars = star_->isChecked();
    bodyBox_->setEditable(stars);
    if (stars) {
        for (const NavigationalStar& s : navigationalStars()) bodyBox_->addItem(QString::fromLatin1(s.name), s.number);
        // A catalogue star chosen before that is not one of the named ones.
        if (sight_.isStar && sight_.bodyIndex > 0 && bodyBox_->findData(sight_.bodyIndex) < 0)
            if (const StarEntry* e = starByNumber(sight_.bodyIndex))
                bodyBox_->addItem(QString::fromStdString(starChartLabel(*e)), e->number);
        setSelectorData(bodyBox_,
                        sight_.isStar && sight_.bodyIndex > 0 ? sight_.bodyIndex : navigationalStars()[0].number);
        // Any other catalogue star: typed by number, name or identity.
        connect(bodyBox_->lineEdit(), &QLineEdit::editingFinished, this, [this] {
            if (filling_ || !star_->isChecked()) return;
            const int n = starFromText(bodyBox_->currentText());
            if (n == kNoStar) {
                setSelectorData(bodyBox_, sight_.bodyIndex);
                return;
            }
            if (bodyBox_->findData(n) < 0)
                bodyBox_->addItem(QString::fromStdString(starChartLabel(*starByNumber(n))), n);
            setSelectorData(bodyBox_, n);
            acceptData();
            invalidate();
        });
    } else {
        for (const BodyChoice& c : sextantBodyChoices(state_.place))
            bodyBox_->addItem(QString::fromStdString(c.text), c.value);
        const int current = sight_.bodyIndex | (sight_.upperLimb ? kUpperLimbBit : 0);
        if (!sight_.isStar && sight_.bodyIndex > 0 && bodyBox_->findData(current) >= 0)
            setSelectorData(bodyBox_, current);
        else setSelectorData(bodyBox_, 11);  // the Moon until a body is chosen
    }
    filling_ = false;
}

ZoneRule SextantDialog::zoneRule() const { return ZoneRule(state_.prefs.zone, state_.doc.observer.longitude); }

void SextantDialog::setPickers(JulianDay jdUtc) {
    const JulianDay shown = asUtc_->isChecked() ? jdUtc : jdUtc + zoneRule().offsetDaysAt(jdUtc);
    const BrokenDownTime t = brokenDownTimeFromJulianDay(shown);  // to the nearest second
    const bool wasFilling = filling_;
    filling_ = true;
    date_->setDate(QDate(t.year, t.month, t.day));
    time_->setTime(QTime(t.hour, t.minute, static_cast<int>(t.second)));
    filling_ = wasFilling;
    if (!filling_) {
        acceptData();
        invalidate();
    }
}

void SextantDialog::acceptData() {
    if (filling_) return;
    const QDate d = date_->date();
    const QTime t = time_->time();
    const ZoneRule zone = zoneRule();
    const JulianDay picked =
        julianDayFromCalendar(d.year(), d.month(), d.day(), t.hour() + t.minute() / 60.0 + t.second() / 3600.0);
    sight_.observationTime = asUtc_->isChecked() ? picked : zone.utcFromLocal(d, t);
    sight_.timeEnteredAsUtc = asUtc_->isChecked() ? 1 : 0;
    // The sight's local times (Details, LOPs) at the offset of its own instant.
    sight_.observer.zoneOffset = zone.offsetDaysAt(sight_.observationTime);
    const int value = bodyBox_->currentData().toInt();
    if (star_->isChecked()) {
        if (value > 0) {
            sight_.isStar = 1;
            sight_.bodyIndex = value;
            sight_.upperLimb = 0;
        }
    } else if (value > 0) {
        selectBody(sight_, value);
    }
}

void SextantDialog::invalidate() {
    if (filling_) return;
    details_->setEnabled(false);
    save_->setEnabled(false);
    result_->setText(displayText(kSextantHint));
}

void SextantDialog::showResult() {
    std::string text;
    formatResult(sight_, state_.format, text);
    result_->setText(displayText(text));
}

void SextantDialog::calculate() {
    acceptData();
    const double hs = sextantAltitude(degrees_->value(), minutes_->value());
    const CObserverState& chart = state_.doc.observer;
    CalculateOutcome outcome = calculateSight(sight_, state_.place, hs, state_.format, chart.latitude, chart.longitude,
                                              state_.websiteAddress());
    using Step = CalculateOutcome::Status;
    if (outcome.status == Step::AskAp) {
        QMessageBox box(QMessageBox::Warning, QString::fromStdString(outcome.title), displayText(outcome.message),
                        QMessageBox::Yes | QMessageBox::No, this);
        box.setObjectName(QStringLiteral("apQuestion"));
        if (box.exec() == QMessageBox::Yes)
            outcome = acceptApCorrection(sight_, state_.place, state_.format, chart.latitude, chart.longitude);
        else outcome.status = Step::Reduced;
    }
    if (outcome.status == Step::OutsideEphemeris || outcome.status == Step::Failed) {
        QMessageBox box(QMessageBox::Information, QStringLiteral("Celestra"), displayText(outcome.message),
                        QMessageBox::Ok, this);
        box.setObjectName(QStringLiteral("calculateMessage"));
        box.exec();
        if (outcome.status == Step::OutsideEphemeris) return;
    }
    if (outcome.status != Step::Reduced && outcome.status != Step::AskAp) return;
    result_->setText(displayText(outcome.resultText));
    details_->setEnabled(true);
    save_->setEnabled(true);
}

void SextantDialog::saveLop() {
    CMeasure copy = sight_;
    copy.active = 1;
    state_.doc.sights.Append(copy);
    save_->setEnabled(false);
}

void SextantDialog::openDetails() {
    if (detailsDialog_) detailsDialog_->close();
    detailsDialog_ = new DetailsDialog(state_, sight_, this);
    detailsDialog_->setAttribute(Qt::WA_DeleteOnClose);
    // The result takes over the format chosen on the Details page.
    connect(detailsDialog_, &QDialog::finished, this, [this] {
        if (details_->isEnabled()) showResult();
    });
    detailsDialog_->show();
}

void SextantDialog::initializeAltitude() {
    acceptData();
    // Ho = Hc when Hs carries the corrections taken at Hs itself: two passes
    // settle refraction's dependence on the altitude well below 0.1'.
    CMeasure probe = sight_;
    double hs = 0.0;
    for (int pass = 0; pass < 3; ++pass) {
        if (reduceSight(probe, state_.place, hs) != Status::Ok) return;
        hs -= probe.intercept;
    }
    hs = std::clamp(hs, 0.0, 90.0);
    double degrees = std::floor(hs);
    double minutes = std::round((hs - degrees) * 600.0) / 10.0;
    if (minutes >= 60.0) {
        degrees += 1.0;
        minutes = 0.0;
    }
    degrees_->setValue(static_cast<int>(std::min(degrees, 90.0)));
    minutes_->setValue(degrees >= 90.0 ? 0.0 : minutes);
}

bool SextantDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (watched == result_ && details_->isEnabled()) {
            state_.format = nextResultFormat(state_.format);
            showResult();
            return true;
        }
        if (watched == altitudeLabel_) {
            initializeAltitude();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

// ---------------------------------------------------------------------------
// Enviro

EnviroDialog::EnviroDialog(NavigationState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle(tr("Enviro"));
    auto* grid = new QGridLayout;
    int row = 0;
    auto addField = [&](EnviroField f, QWidget* caption) {
        const EnviroRange range = enviroRange(f);
        auto* edit = new QLineEdit(this);
        edit->setMaximumWidth(fontMetrics().horizontalAdvance(QStringLiteral("0000000000")));
        edit->setToolTip(tr("%1 to %2").arg(range.low).arg(range.high));
        fields_[static_cast<int>(f)] = edit;
        grid->addWidget(caption ? caption : new QLabel(engineText(range.label), this), row, 0);
        grid->addWidget(edit, row, 1);
        grid->addWidget(new QLabel(engineText(range.unit), this), row, 2);
        ++row;
    };
    addField(EnviroField::Height, nullptr);
    addField(EnviroField::Temperature, nullptr);
    addField(EnviroField::Pressure, nullptr);
    addField(EnviroField::IndexCorrection, nullptr);
    dipShort_ = new QCheckBox(engineText(enviroRange(EnviroField::DipShortDistance).label), this);
    addField(EnviroField::DipShortDistance, dipShort_);
    addField(EnviroField::Speed, nullptr);
    addField(EnviroField::Course, nullptr);
    stp_ = new QPushButton(tr("Use STP"), this);
    stp_->setAutoDefault(false);
    grid->addWidget(stp_, 1, 3, 2, 1);
    grid->setColumnStretch(3, 1);

    // A check box does not wrap its text; a label beside it does.
    disable_ = new QCheckBox(this);
    auto* disableText = new QLabel(
        tr("Disable DIP, index, and refraction calculations (when using pre-corrected sextant measurements)."), this);
    disableText->setWordWrap(true);
    disableText->setBuddy(disable_);
    auto* disableRow = new QHBoxLayout;
    disableRow->addWidget(disable_, 0, Qt::AlignTop);
    disableRow->addWidget(disableText, 1);

    message_ = new QLabel(this);
    message_->setWordWrap(true);
    auto* close = new QPushButton(tr("OK"), this);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(message_, 1);
    bottom->addWidget(close, 0, Qt::AlignBottom);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(disableRow);
    layout->addLayout(bottom);

    load();
    connect(stp_, &QPushButton::clicked, this, [this] {
        if (!apply()) return;
        useStp(state_.doc.currentSight);
        load();
    });
    connect(dipShort_, &QCheckBox::toggled, this, [this](bool on) { setDipShortEnabled(state_.doc.currentSight, on); });
    connect(disable_, &QCheckBox::toggled, this, [this](bool on) {
        setCorrectionsDisabled(state_.doc.currentSight, on);
        updateEnabled();
    });
    for (QLineEdit* edit : fields_) connect(edit, &QLineEdit::editingFinished, this, [this] { apply(); });
    resize(460, sizeHint().height());
}

void EnviroDialog::load() {
    const CMeasure& sight = state_.doc.currentSight;
    for (int f = 0; f < 7; ++f)
        fields_[f]->setText(QString::number(enviroValue(sight, static_cast<EnviroField>(f)), 'g', 10));
    const QSignalBlocker b1(dipShort_), b2(disable_);
    dipShort_->setChecked(sight.dipShortEnabled == 1.0);
    disable_->setChecked(sight.correctionsDisabled != 0);
    updateEnabled();
}

void EnviroDialog::updateEnabled() {
    const CMeasure& sight = state_.doc.currentSight;
    for (int f = 0; f < 7; ++f) fields_[f]->setEnabled(enviroFieldEnabled(sight, static_cast<EnviroField>(f)));
    dipShort_->setEnabled(enviroFieldEnabled(sight, EnviroField::DipShortDistance));
    stp_->setEnabled(enviroFieldEnabled(sight, EnviroField::Pressure));
}

bool EnviroDialog::apply() {
    CMeasure& sight = state_.doc.currentSight;
    for (int f = 0; f < 7; ++f) {
        const auto field = static_cast<EnviroField>(f);
        if (!fields_[f]->isEnabled()) continue;
        const auto value = parseFieldNumber(fields_[f]->text());
        if (!value || !setEnviro(sight, field, *value)) {
            const EnviroRange range = enviroRange(field);
            message_->setText(tr("%1 must be a number from %2 to %3 %4.")
                                  .arg(engineText(range.label).remove(QLatin1Char(':')))
                                  .arg(range.low)
                                  .arg(range.high)
                                  .arg(engineText(range.unit)));
            fields_[f]->setFocus();
            fields_[f]->selectAll();
            return false;
        }
    }
    message_->clear();
    return true;
}

void EnviroDialog::done(int result) {
    // The page is not left while a field holds a value out of its range.
    if (!apply()) return;
    QDialog::done(result);
}

// ---------------------------------------------------------------------------
// LOP graph

LopGraphView::LopGraphView(const LopGraph& graph, QWidget* parent) : QWidget(parent), graph_(graph) {
    for (const std::string& line : graph_.statusLines) status_ << displayText(line);
    status_ << engineText(kGraphPrompt);
    setMinimumSize(320, 320);
}

double LopGraphView::scale() const {
    const double half = graph_.halfSpanNm > 0.0 ? graph_.halfSpanNm : 1.0;
    return 0.5 * std::min(width(), height()) / half;
}

QPointF LopGraphView::toWidget(PlanePoint p) const {
    return {width() / 2.0 + p.x * scale(), height() / 2.0 - p.y * scale()};
}

PlanePoint LopGraphView::toPlane(QPointF p) const {
    return {(p.x() - width() / 2.0) / scale(), (height() / 2.0 - p.y()) / scale()};
}

void LopGraphView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintLopGraph(painter, QRectF(rect()), graph_, status_, palette());
}

void paintLopGraph(QPainter& painter, const QRectF& area, const LopGraph& graph, const QStringList& status,
                   const QPalette& colors) {
    const double half = graph.halfSpanNm > 0.0 ? graph.halfSpanNm : 1.0;
    const double scale = 0.5 * std::min(area.width(), area.height()) / half;
    const QPointF centre = area.center();
    const auto toWidget = [&](PlanePoint p) { return QPointF(centre.x() + p.x * scale, centre.y() - p.y * scale); };
    painter.save();
    painter.setClipRect(area, Qt::IntersectClip);  // the lines run across the whole plot
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(area, colors.color(QPalette::Base));
    const QColor ink = colors.color(QPalette::Text);
    const QColor faint = colors.color(QPalette::Mid);
    painter.setPen(QPen(faint, 1, Qt::DotLine));
    painter.drawLine(QPointF(centre.x(), area.top()), QPointF(centre.x(), area.bottom()));
    painter.drawLine(QPointF(area.left(), centre.y()), QPointF(area.right(), centre.y()));

    const QFontMetrics fm = painter.fontMetrics();
    auto mark = [&](PlanePoint p, const QString& label, double size) {
        const QPointF c = toWidget(p);
        painter.drawLine(c + QPointF(-size, 0), c + QPointF(size, 0));
        painter.drawLine(c + QPointF(0, -size), c + QPointF(0, size));
        painter.drawText(c + QPointF(size + 2, -size - 2), label);
    };
    painter.setPen(QPen(ink, 1.5));
    for (const LopGraphLine& line : graph.lines) {
        painter.drawLine(toWidget(line.from), toWidget(line.to));
        // The intercept from the AP to the line, thin.
        painter.save();
        painter.setPen(QPen(ink, 1, Qt::DashLine));
        painter.drawLine(toWidget(graph.ap), toWidget(line.intercept));
        painter.restore();
        painter.drawText(toWidget(line.intercept) + QPointF(4, fm.ascent()), QStringLiteral("#%1").arg(line.number));
    }
    if (graph.hasEllipse && graph.ellipse.size() > 2) {
        QPainterPath path(toWidget(graph.ellipse.front()));
        for (size_t i = 1; i < graph.ellipse.size(); ++i) path.lineTo(toWidget(graph.ellipse[i]));
        path.closeSubpath();
        painter.drawPath(path);
    }
    mark(graph.ap, LopGraphView::tr("AP"), 5);
    if (graph.hasFix) {
        painter.setPen(QPen(ink, 2.5));
        mark(graph.fix, LopGraphView::tr("FIX"), 7);
    }
    painter.setPen(ink);
    double y = area.top() + 4 + fm.ascent();
    for (const QString& s : status) {
        for (const QString& part : s.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
            painter.drawText(QPointF(area.left() + 6, y), part);
            y += fm.lineSpacing();
        }
    }
    painter.drawText(area.adjusted(6, 0, -6, -4), Qt::AlignBottom | Qt::AlignRight,
                     LopGraphView::tr("%1 NMi across").arg(2.0 * graph.halfSpanNm, 0, 'f', 1));
    painter.restore();
}

void LopGraphView::mousePressEvent(QMouseEvent* event) {
    const PlanePoint click = toPlane(event->position());
    const int nearest = nearestLop(graph_, click);
    if (nearest < 0) return;
    status_.clear();
    status_ << displayText(lopStatusText(graph_.lines[static_cast<size_t>(nearest)], click));
    update();
}

// ---------------------------------------------------------------------------
// LOPs

LopsDialog::LopsDialog(NavigationState& state, QWidget* parent) : QDialog(parent), state_(state) {
    setWindowTitle(tr("LOPs"));
    list_ = new QListWidget(this);
    list_->setMinimumWidth(fontMetrics().averageCharWidth() * 48);
    remove_ = new QPushButton(tr("Remove"), this);
    details_ = new QPushButton(tr("Details"), this);
    graph_ = new QPushButton(tr("Graph"), this);
    for (QPushButton* b : {remove_, details_, graph_}) b->setAutoDefault(false);
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setMinimumHeight(9 * fontMetrics().lineSpacing());
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(remove_);
    buttons->addWidget(details_);
    buttons->addWidget(graph_);
    addSightLogButtons(buttons);
    buttons->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(text_);
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    layout->addWidget(close);
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (filling_) return;
        const int row = list_->row(item);
        if (row >= 0 && static_cast<size_t>(row) < state_.doc.sights.Count())
            state_.doc.sights.At(static_cast<size_t>(row)).active = item->checkState() == Qt::Checked ? 1 : 0;
        updateText();
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        if (!filling_) updateText();
    });
    connect(remove_, &QPushButton::clicked, this, &LopsDialog::removeSelected);
    connect(details_, &QPushButton::clicked, this, &LopsDialog::openDetails);
    connect(graph_, &QPushButton::clicked, this, &LopsDialog::openGraph);
    refill();
    resize(520, 460);
}

int LopsDialog::selectedRow() const {
    const QListWidgetItem* item = list_->currentItem();
    return item && item->isSelected() ? list_->row(item) : -1;
}

void LopsDialog::refill() {
    filling_ = true;
    const int keep = list_->currentRow();
    list_->clear();
    ObservationList& sights = state_.doc.sights;
    for (size_t i = 0; i < sights.Count(); ++i) {
        auto* item = new QListWidgetItem(displayText(lopRowText(sights.At(i), i, state_.place)), list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(sights.At(i).active ? Qt::Checked : Qt::Unchecked);
    }
    // After "Remove" the row that took the removed one's place stays selected.
    if (list_->count() > 0 && keep >= 0) list_->setCurrentRow(std::min(keep, list_->count() - 1));
    filling_ = false;
    updateText();
}

void LopsDialog::updateText() {
    text_->setPlainText(displayText(lopsPageText(state_.doc.sights, state_.place, selectedRow(), state_.format)));
}

void LopsDialog::removeSelected() {
    const int row = selectedRow();
    if (row < 0) return;
    state_.doc.sights.RemoveAt(static_cast<size_t>(row));
    refill();
}

void LopsDialog::openDetails() {
    const int row = selectedRow();
    if (row < 0) return;
    if (detailsDialog_) detailsDialog_->close();
    detailsDialog_ = new DetailsDialog(state_, state_.doc.sights.At(static_cast<size_t>(row)), this);
    detailsDialog_->setAttribute(Qt::WA_DeleteOnClose);
    connect(detailsDialog_, &QDialog::finished, this, &LopsDialog::updateText);
    detailsDialog_->show();
}

LopGraph LopsDialog::graphFor(int row) {
    // The fix for the given sight when it is active, else the first active one.
    ObservationList& sights = state_.doc.sights;
    if (row < 0 || static_cast<size_t>(row) >= sights.Count() || !sights.At(static_cast<size_t>(row)).active) {
        row = -1;
        for (size_t i = 0; i < sights.Count() && row < 0; ++i)
            if (sights.At(i).active) row = static_cast<int>(i);
    }
    if (row < 0) return {};
    CMeasure& sight = sights.At(static_cast<size_t>(row));
    estimateFix(sight, state_.place, sights);
    return makeLopGraph(sight, sights);
}

void LopsDialog::openGraph() {
    ObservationList& sights = state_.doc.sights;
    const size_t k = sights.FindInconsistentSight();
    if (k > 0) {
        QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kInconsistentSightTitle),
                        displayText(inconsistentSightWarning(k)), QMessageBox::Ok | QMessageBox::Cancel, this);
        box.setObjectName(QStringLiteral("inconsistentSight"));
        if (box.exec() != QMessageBox::Ok) return;
    }
    const LopGraph graph = graphFor(selectedRow());
    if (graph.lines.empty()) return;
    updateText();

    if (graphDialog_) graphDialog_->close();
    graphDialog_ = new QDialog(this);
    graphDialog_->setAttribute(Qt::WA_DeleteOnClose);
    graphDialog_->setWindowTitle(tr("LOP Graph"));
    graphView_ = new LopGraphView(graph, graphDialog_);
    auto* layout = new QVBoxLayout(graphDialog_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(graphView_);
    connect(graphDialog_, &QObject::destroyed, this, [this] { graphView_ = nullptr; });
    graphDialog_->resize(graphView_->sizeHint());
    graphDialog_->show();
}

}  // namespace celestra
