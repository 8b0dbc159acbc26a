// The LOPs page's sight log: the saved sights written to CSV and to JSON
// lines, JSON lines read back (all or nothing), and the reduction form of a
// sight (its Details table and the LOP graph) printed or written as PDF.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "core/regular_file.h"
#include "navigation/sight_log.h"
#include "ui/nav_pages.h"

namespace celestra {

namespace {

// The form's page in tenths of a point (A4, 595 × 842 pt).
constexpr double kFormWidth = 5950.0, kFormHeight = 8420.0;

bool writeText(const QString& path, const std::string& text, QString& error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.data(), static_cast<qint64>(text.size())) < 0 ||
        !file.commit()) {
        error = LopsDialog::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

QString documentsFolder() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

void paintForm(QPainter& painter, const QRectF& page, const std::vector<DetailRow>& rows, const LopGraph& graph) {
    painter.save();
    const double scale = std::min(page.width() / kFormWidth, page.height() / kFormHeight);
    painter.translate(page.topLeft());
    painter.scale(scale, scale);
    painter.fillRect(QRectF(0, 0, kFormWidth, kFormHeight), Qt::white);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(120);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::black);
    const QString body = rows.empty() ? QString() : displayText(rows.front().value);
    painter.drawText(QRectF(400, 300, 5150, 200), Qt::AlignLeft | Qt::AlignVCenter,
                     LopsDialog::tr("Sight reduction: ") + body);
    font.setPixelSize(80);
    painter.setFont(font);
    constexpr double kRow = 108.0, kTop = 700.0;
    const double columns[] = {400, 2500, 3000, 4600, 5550};
    const QString heads[] = {LopsDialog::tr("Measurement"), LopsDialog::tr("Symbol"), LopsDialog::tr("Value"),
                             LopsDialog::tr("Units")};
    for (int c = 0; c < 4; ++c)
        painter.drawText(QRectF(columns[c], kTop, columns[c + 1] - columns[c] - 60, kRow),
                         (c == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, heads[c]);
    painter.setPen(QPen(Qt::black, 4));
    painter.drawLine(QPointF(400, kTop + kRow + 10), QPointF(5550, kTop + kRow + 10));
    font.setBold(false);
    painter.setFont(font);
    for (size_t r = 0; r < rows.size(); ++r) {
        const double y = kTop + static_cast<double>(r + 1) * kRow + 20;
        if (r % 2 == 1) painter.fillRect(QRectF(400, y, 5150, kRow), QColor(240, 240, 240));
        const DetailRow& row = rows[r];
        const std::string* cells[4] = {&row.measurement, &row.symbol, &row.value, &row.unit};
        painter.setPen(Qt::black);
        for (int c = 0; c < 4; ++c)
            painter.drawText(QRectF(columns[c], y, columns[c + 1] - columns[c] - 60, kRow),
                             (c == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter, displayText(*cells[c]));
    }
    // The graph: a square below the table.
    const double graphTop = kTop + static_cast<double>(rows.size() + 2) * kRow + 40;
    const double side = std::min(kFormHeight - 300 - graphTop, 5150.0);
    if (!graph.lines.empty() && side > 500) {
        QPalette colors;
        colors.setColor(QPalette::Base, Qt::white);
        colors.setColor(QPalette::Text, Qt::black);
        colors.setColor(QPalette::Mid, Qt::gray);
        const QRectF area((kFormWidth - side) / 2.0, graphTop, side, side);
        font.setPixelSize(70);
        painter.setFont(font);
        QStringList status;
        for (const std::string& line : graph.statusLines) status << displayText(line);
        paintLopGraph(painter, area, graph, status, colors);
        painter.setPen(QPen(Qt::black, 4));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area);
    }
    painter.restore();
}

}  // namespace

void LopsDialog::addSightLogButtons(QVBoxLayout* column) {
    column->addSpacing(fontMetrics().height() / 2);
    exportCsv_ = new QPushButton(tr("Export CSV..."), this);
    exportSights_ = new QPushButton(tr("Export Sights..."), this);
    importSights_ = new QPushButton(tr("Import Sights..."), this);
    print_ = new QPushButton(tr("Print..."), this);
    exportPdf_ = new QPushButton(tr("Export PDF..."), this);
    exportCsv_->setToolTip(tr("Every sight with every value of its Details, one row each"));
    exportSights_->setToolTip(tr("The sights as JSON lines, the file celestra-cli fix reads"));
    importSights_->setToolTip(tr("Adds the sights of a JSON-lines file to the list"));
    print_->setToolTip(tr("The reduction form of the selected sight: its Details and the LOP graph"));
    for (QPushButton* b : {exportCsv_, exportSights_, importSights_, print_, exportPdf_}) {
        b->setAutoDefault(false);
        column->addWidget(b);
    }
    const auto report = [this](bool ok, const QString& error) {
        if (!ok) QMessageBox::warning(this, QStringLiteral("Celestra"), error);
    };
    const auto saveAs = [this](const QString& title, const QString& name, const QString& filter) {
        return QFileDialog::getSaveFileName(this, title, documentsFolder() + QLatin1Char('/') + name, filter);
    };
    connect(exportCsv_, &QPushButton::clicked, this, [=, this] {
        QString error;
        const QString path = saveAs(tr("Export CSV"), QStringLiteral("Sights.csv"), tr("CSV files (*.csv)"));
        if (!path.isEmpty()) report(exportCsv(path, error), error);
    });
    connect(exportSights_, &QPushButton::clicked, this, [=, this] {
        QString error;
        const QString path = saveAs(tr("Export Sights"), QStringLiteral("Sights.jsonl"),
                                    tr("JSON lines (*.jsonl *.json);;All files (*)"));
        if (!path.isEmpty()) report(exportSights(path, error), error);
    });
    connect(importSights_, &QPushButton::clicked, this, [=, this] {
        QString error;
        const QString path = QFileDialog::getOpenFileName(this, tr("Import Sights"), documentsFolder(),
                                                          tr("JSON lines (*.jsonl *.json);;All files (*)"));
        if (!path.isEmpty()) report(importSights(path, error), error);
    });
    connect(print_, &QPushButton::clicked, this, [this] {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, this);
        dialog.setWindowTitle(tr("Print Reduction Form"));
        if (dialog.exec() == QDialog::Accepted && !printForm(printer))
            QMessageBox::warning(this, QStringLiteral("Celestra"), tr("The printer could not be started."));
    });
    connect(exportPdf_, &QPushButton::clicked, this, [=, this] {
        QString error;
        const QString path = saveAs(tr("Export PDF"), QStringLiteral("Sight.pdf"), tr("PDF files (*.pdf)"));
        if (!path.isEmpty()) report(exportFormPdf(path, error), error);
    });
}

bool LopsDialog::exportCsv(const QString& path, QString& error) {
    return writeText(path, sightLogCsv(state_.doc.sights, state_.place, state_.format), error);
}

bool LopsDialog::exportSights(const QString& path, QString& error) {
    return writeText(path, sightLogJsonLines(state_.doc.sights, state_.place), error);
}

bool LopsDialog::importSights(const QString& path, QString& error) {
    const QString shown = QDir::toNativeSeparators(path);
    InputFileError openError;
    const int fd = openRegularFile(QFile::encodeName(path).toStdString(), kSightFileMaxBytes, openError);
    if (fd < 0) {
        error = QString::fromStdString(inputFileMessage("sight file", shown.toStdString(), openError));
        return false;
    }
    LineReader in(fd, kSightLineMaxBytes);
    ObservationList read;
    const SightFileResult result = readSightLines(in, state_.place, read);
    ::close(fd);
    if (result.status != Status::Ok) {
        error = tr("%1, %2\nNo sight was imported.").arg(shown, QString::fromStdString(result.message));
        return false;
    }
    for (size_t i = 0; i < read.Count(); ++i) state_.doc.sights.Append(read.At(i));
    refill();
    return true;
}

int LopsDialog::formRow() const {
    const int row = selectedRow();
    return row >= 0 ? row : static_cast<int>(state_.doc.sights.Count()) - 1;
}

bool LopsDialog::printForm(QPagedPaintDevice& device) {
    const int row = formRow();
    if (row < 0) return false;
    const std::vector<DetailRow> rows =
        fillDetails(state_.doc.sights.At(static_cast<size_t>(row)), state_.place, state_.format);
    const LopGraph graph = graphFor(row);
    updateText();
    device.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    QPainter painter;
    if (!painter.begin(&device)) return false;
    paintForm(painter, QRectF(painter.viewport()), rows, graph);
    return painter.end();
}

bool LopsDialog::exportFormPdf(const QString& path, QString& error) {
    if (formRow() < 0) {
        error = tr("There is no sight to print.");
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        error = LopsDialog::tr("Cannot write %1: %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    bool drawn = false;
    {
        QPdfWriter pdf(&file);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(300);
        pdf.setCreator(QStringLiteral("Celestra"));
        drawn = printForm(pdf);
    }
    if (!drawn || !file.commit()) {
        if (!drawn) file.cancelWriting();
        error = tr("Cannot write %1: %2")
                    .arg(QDir::toNativeSeparators(path), drawn ? file.errorString() : tr("nothing drawn"));
        return false;
    }
    return true;
}

}  // namespace celestra
