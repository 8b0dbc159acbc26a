#include "ui/nautical_almanac_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "app/document.h"
#include "solarsystem/ephemeris.h"
#include "ui/nautical_almanac_print.h"

namespace celestra {

namespace {

// The printed page's proportions, 210 × 297 mm.
constexpr double kPageAspect = 297.0 / 210.0;

}  // namespace

AlmanacPageView::AlmanacPageView(QWidget* parent) : QWidget(parent) {
    QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
}

void AlmanacPageView::setAlmanac(const NauticalAlmanac* almanac, int page) {
    almanac_ = almanac;
    page_ = page;
    update();
}

int AlmanacPageView::heightForWidth(int width) const { return static_cast<int>(width * kPageAspect); }

QSize AlmanacPageView::sizeHint() const { return {900, heightForWidth(900)}; }

void AlmanacPageView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    if (!almanac_) return;
    paintAlmanacPage(painter, QRectF(rect()), *almanac_, page_);
}

NauticalAlmanacDialog::NauticalAlmanacDialog(const DocumentData& document, QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Almanac"));
    const CalendarDate today = calendarFromJulianDay(document.observer.instant);
    date = new QDateEdit(QDate(today.year, today.month, today.day), this);
    date->setDisplayFormat(QStringLiteral("yyyy-MM-dd"));
    date->setCalendarPopup(true);
    date->setToolTip(tr("The first of the three days (UT)"));
    back3 = new QPushButton(tr("<< 3 days"), this);
    back1 = new QPushButton(tr("< Day"), this);
    forward1 = new QPushButton(tr("Day >"), this);
    forward3 = new QPushButton(tr("3 days >>"), this);
    pageBox = new QComboBox(this);
    pageBox->addItem(tr("Aries, planets and stars"));
    pageBox->addItem(tr("Sun, Moon, rise and set"));
    for (int p = 0; p < kAlmanacIncrementPages; ++p)
        pageBox->addItem(tr("Increments %1m and %2m").arg(2 * p).arg(2 * p + 1));
    paper = new QComboBox(this);
    paper->addItem(QStringLiteral("A4"), static_cast<int>(QPageSize::A4));
    paper->addItem(tr("Letter"), static_cast<int>(QPageSize::Letter));
    increments = new QCheckBox(tr("With increments and corrections"), this);
    print = new QPushButton(tr("Print..."), this);
    exportPdf = new QPushButton(tr("Export PDF..."), this);
    close = new QPushButton(tr("Close"), this);
    message = new QLabel(this);
    message->setWordWrap(true);
    view = new AlmanacPageView(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(view);
    scroll->setWidgetResizable(true);
    for (QPushButton* b : {back3, back1, forward1, forward3, print, exportPdf}) b->setAutoDefault(false);

    auto* navigation = new QHBoxLayout;
    navigation->addWidget(back3);
    navigation->addWidget(back1);
    navigation->addWidget(date);
    navigation->addWidget(forward1);
    navigation->addWidget(forward3);
    navigation->addSpacing(12);
    navigation->addWidget(pageBox, 1);
    auto* output = new QHBoxLayout;
    output->addWidget(new QLabel(tr("Paper:"), this));
    output->addWidget(paper);
    output->addWidget(increments);
    output->addStretch(1);
    output->addWidget(print);
    output->addWidget(exportPdf);
    output->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(navigation);
    layout->addWidget(message);
    layout->addWidget(scroll, 1);
    layout->addLayout(output);

    const auto shift = [this](int days) { date->setDate(date->date().addDays(days)); };
    connect(back3, &QPushButton::clicked, this, [shift] { shift(-3); });
    connect(back1, &QPushButton::clicked, this, [shift] { shift(-1); });
    connect(forward1, &QPushButton::clicked, this, [shift] { shift(1); });
    connect(forward3, &QPushButton::clicked, this, [shift] { shift(3); });
    connect(date, &QDateEdit::dateChanged, this, &NauticalAlmanacDialog::recompute);
    connect(pageBox, &QComboBox::currentIndexChanged, this,
            [this](int page) { view->setAlmanac(valid_ || page >= kAlmanacDailyPages ? &almanac_ : nullptr, page); });
    connect(print, &QPushButton::clicked, this, &NauticalAlmanacDialog::printPages);
    connect(exportPdf, &QPushButton::clicked, this, &NauticalAlmanacDialog::choosePdfFile);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    recompute();
    resize(980, 820);
}

void NauticalAlmanacDialog::recompute() {
    const QDate d = date->date();
    const PlaceContext context = makePlaceContext(processEphemeris());
    valid_ = computeAlmanac(context, d.year(), d.month(), d.day(), 3, true, almanac_) == Status::Ok;
    message->setText(valid_ ? QString()
                            : tr("These days lie outside the ephemeris: no daily pages. The increments "
                                 "and corrections do not depend on the date."));
    message->setVisible(!valid_);
    print->setEnabled(valid_);
    exportPdf->setEnabled(valid_);
    const int page = pageBox->currentIndex();
    view->setAlmanac(valid_ || page >= kAlmanacDailyPages ? &almanac_ : nullptr, page);
}

void NauticalAlmanacDialog::printPages() {
    if (!valid_) return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(static_cast<QPageSize::PageSizeId>(paper->currentData().toInt())));
    printer.setDocName(QStringLiteral("Almanac ") + date->date().toString(Qt::ISODate));
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print Almanac"));
    if (dialog.exec() != QDialog::Accepted) return;
    if (!printAlmanac(printer, almanac_, increments->isChecked())) {
        message->setText(tr("The printer could not be started."));
        message->setVisible(true);
    }
}

void NauticalAlmanacDialog::choosePdfFile() {
    if (!valid_) return;
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    const QString suggested =
        folder + QStringLiteral("/Almanac ") + date->date().toString(Qt::ISODate) + QStringLiteral(".pdf");
    const QString path = QFileDialog::getSaveFileName(this, tr("Export PDF"), suggested, tr("PDF files (*.pdf)"));
    if (!path.isEmpty()) exportTo(path);
}

bool NauticalAlmanacDialog::exportTo(const QString& path) {
    QString error;
    const auto size = static_cast<QPageSize::PageSizeId>(paper->currentData().toInt());
    if (writeAlmanacPdf(almanac_, path, size, increments->isChecked(), error)) return true;
    message->setText(tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), error));
    message->setVisible(true);
    return false;
}

}  // namespace celestra
