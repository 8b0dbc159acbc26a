#include "ui/export_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

namespace celestra {

namespace {

// Sizes a file may have, pixels (as the command line's render).
constexpr int kMinSide = 16;
constexpr int kMaxSide = 16384;

const char* const kExtensions[] = {"png", "svg", "pdf"};

}  // namespace

ExportDialog::ExportDialog(const ChartPicture& picture, QSize chartSize, const QString& folder, QWidget* parent)
    : QDialog(parent), picture_(picture), chart_(chartSize) {
    setWindowTitle(tr("Export Image"));
    format_ = new QComboBox(this);
    format_->addItems({tr("PNG image"), tr("SVG drawing"), tr("PDF document")});
    chartSize_ = new QRadioButton(tr("As the chart: %1 × %2").arg(chartSize.width()).arg(chartSize.height()), this);
    chartSize_->setChecked(true);
    otherSize_ = new QRadioButton(tr("Other:"), this);
    width_ = new QSpinBox(this);
    height_ = new QSpinBox(this);
    for (QSpinBox* box : {width_, height_}) {
        box->setRange(kMinSide, kMaxSide);
        box->setEnabled(false);
    }
    width_->setValue(std::clamp(chartSize.width(), kMinSide, kMaxSide));
    height_->setValue(std::clamp(chartSize.height(), kMinSide, kMaxSide));
    connect(otherSize_, &QRadioButton::toggled, width_, &QSpinBox::setEnabled);
    connect(otherSize_, &QRadioButton::toggled, height_, &QSpinBox::setEnabled);
    file_ = new QLineEdit(
        QDir(folder.isEmpty() ? QDir::homePath() : folder).filePath(QStringLiteral("Celestra chart.png")), this);
    auto* browse = new QPushButton(tr("Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &ExportDialog::browse);
    connect(format_, &QComboBox::currentIndexChanged, this, &ExportDialog::formatChanged);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Format:"), this), 0, 0);
    grid->addWidget(format_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(tr("Size:"), this), 1, 0);
    grid->addWidget(chartSize_, 1, 1, 1, 3);
    auto* other = new QHBoxLayout;
    other->addWidget(otherSize_);
    other->addWidget(width_);
    other->addWidget(new QLabel(QStringLiteral("×"), this));
    other->addWidget(height_);
    grid->addLayout(other, 2, 1, 1, 3);
    grid->addWidget(new QLabel(tr("File:"), this), 3, 0);
    grid->addWidget(file_, 3, 1, 1, 2);
    grid->addWidget(browse, 3, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (save()) accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

ChartFileFormat ExportDialog::format() const { return static_cast<ChartFileFormat>(format_->currentIndex()); }

QSize ExportDialog::size() const { return otherSize_->isChecked() ? QSize(width_->value(), height_->value()) : chart_; }

// The file name follows the format: its extension is replaced by the format's.
void ExportDialog::formatChanged() {
    const QFileInfo info(file_->text());
    if (file_->text().isEmpty()) return;
    file_->setText(info.dir().filePath(info.completeBaseName() + QLatin1Char('.') +
                                       QLatin1String(kExtensions[format_->currentIndex()])));
}

void ExportDialog::browse() {
    const QString filters = tr("PNG image (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");
    QString chosenFilter = filters.split(QStringLiteral(";;")).at(format_->currentIndex());
    const QString path = QFileDialog::getSaveFileName(this, windowTitle(), file_->text(), filters, &chosenFilter);
    if (path.isEmpty()) return;
    file_->setText(path);
    ChartFileFormat named;
    if (chartFileFormatOf(path, named)) format_->setCurrentIndex(static_cast<int>(named));
}

bool ExportDialog::save() {
    QString path = file_->text().trimmed();
    if (path.isEmpty()) {
        QMessageBox::warning(this, windowTitle(), tr("Choose the file to write."));
        return false;
    }
    // A name without the format's extension gets it.
    ChartFileFormat named;
    if (!chartFileFormatOf(path, named) || named != format())
        path += QLatin1Char('.') + QLatin1String(kExtensions[format_->currentIndex()]);
    QString error;
    if (!exportChart(picture_, size(), format(), path, error)) {
        QMessageBox::warning(this, windowTitle(), tr("%1 could not be written: %2").arg(path, error));
        return false;
    }
    file_->setText(path);
    return true;
}

}  // namespace celestra
