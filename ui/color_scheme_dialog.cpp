#include "ui/color_scheme_dialog.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "app/document.h"
#include "ui/chart_view.h"

namespace celestra {

int parseColorComponent(const QString& text, QString& shown) {
    int value = 0;
    const QByteArray bytes = text.toLatin1();
    shown.clear();
    if (std::sscanf(bytes.constData(), "%d", &value) != 1 || value < 0) {
        shown = QStringLiteral("0");
        return 0;
    }
    if (value >= 256) {
        shown = QStringLiteral("255");
        return 255;
    }
    return value;
}

ColorSchemeDialog::ColorSchemeDialog(DocumentData& document, ChartView& chart, QWidget* parent)
    : QDialog(parent), doc_(document), chart_(chart) {
    setWindowTitle(tr("ColorScheme"));
    auto* grid = new QGridLayout(this);

    schemes_ = new QComboBox(this);
    schemes_->addItem(tr("Black"), kPresetBlack);
    schemes_->addItem(tr("White"), kPresetWhite);
    schemes_->addItem(tr("Red"), kPresetRed);
    grid->addWidget(schemes_, 0, 0, 1, 2);

    default_ = new QPushButton(tr("Default"), this);
    grid->addWidget(default_, 0, 2, 1, 2);

    keys_ = new QListWidget(this);
    keys_->setSortingEnabled(true);
    for (int k = 0; k < kColorKeyCount; ++k) {
        auto* item = new QListWidgetItem(QString::fromLatin1(colorKeyNames()[static_cast<size_t>(k)]));
        item->setData(Qt::UserRole, k);
        keys_->addItem(item);
    }
    keys_->sortItems();
    grid->addWidget(keys_, 1, 0, 1, 4);

    grid->addWidget(new QLabel(tr("RGB"), this), 2, 0);
    for (int i = 0; i < 3; ++i) {
        edits_[i] = new QLineEdit(this);
        edits_[i]->setMaxLength(5);
        grid->addWidget(edits_[i], 2, 1 + i);
        connect(edits_[i], &QLineEdit::textEdited, this, [this, i] { componentEdited(i); });
    }
    choose_ = new QPushButton(tr("Choose Color"), this);
    grid->addWidget(choose_, 3, 0, 1, 2);
    sample_ = new QFrame(this);
    sample_->setFrameShape(QFrame::Box);
    sample_->setAutoFillBackground(true);
    sample_->setMinimumSize(48, 24);
    grid->addWidget(sample_, 3, 2, 1, 2);

    confirmDefault = [this] {
        return QMessageBox::question(this, tr("Confirm"), tr("Return color scheme to default settings?"),
                                     QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel) == QMessageBox::Ok;
    };
    chooseColor = [this](QColor& color) {
        // The chooser's 16 custom colours are process-wide and last for the run.
        const QColor picked = QColorDialog::getColor(color, this, tr("Choose Color"));
        if (!picked.isValid()) return false;
        color = picked;
        return true;
    };

    preset_ = doc_.drawState.colorPreset;
    schemes_->setCurrentIndex(schemes_->findData(preset_) >= 0 ? schemes_->findData(preset_) : 0);
    keys_->setCurrentRow(1);  // "BackgroundSky" in sorted order
    connect(schemes_, &QComboBox::activated, this, &ColorSchemeDialog::schemeChosen);
    connect(keys_, &QListWidget::currentRowChanged, this, [this] { refreshEdits(); });
    connect(choose_, &QPushButton::clicked, this, &ColorSchemeDialog::onChoose);
    connect(default_, &QPushButton::clicked, this, &ColorSchemeDialog::onDefault);
    refreshEdits();
}

int ColorSchemeDialog::selectedKey() const {
    const QListWidgetItem* item = keys_->currentItem();
    return item ? item->data(Qt::UserRole).toInt() : -1;
}

void ColorSchemeDialog::schemeChosen(int index) {
    preset_ = schemes_->itemData(index).toInt();
    chart_.ApplyColorScheme(preset_);
    refreshEdits();
}

void ColorSchemeDialog::refreshEdits() {
    const int key = selectedKey();
    if (key < 0) return;
    const ColorRef c = doc_.colorSchemes.forPreset(preset_).colors[static_cast<size_t>(key)];
    const int parts[3] = {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF),
                          static_cast<int>((c >> 16) & 0xFF)};
    for (int i = 0; i < 3; ++i) edits_[i]->setText(QString::asprintf("%d", parts[i]));
    QPalette p = sample_->palette();
    p.setColor(QPalette::Window, colorOf(c));
    sample_->setPalette(p);
}

void ColorSchemeDialog::componentEdited(int component) {
    QString shown;
    const int value = parseColorComponent(edits_[component]->text(), shown);
    if (!shown.isEmpty()) {
        // Selected, so the next key typed replaces the corrected value.
        edits_[component]->setText(shown);
        edits_[component]->selectAll();
    }
    const int key = selectedKey();
    if (key < 0) return;
    CColorScheme& scheme = doc_.colorSchemes.forPreset(preset_);
    ColorRef c = scheme.colors[static_cast<size_t>(key)];
    const int shift = 8 * component;
    c = (c & ~(0xFFu << shift)) | (static_cast<uint32_t>(value) << shift);
    storeColor(c);
}

void ColorSchemeDialog::storeColor(uint32_t colorRef) {
    CColorScheme& scheme = doc_.colorSchemes.forPreset(preset_);
    scheme.colors[static_cast<size_t>(selectedKey())] = colorRef & 0xFFFFFF;
    scheme.firstFlag = 1;
    QPalette p = sample_->palette();
    p.setColor(QPalette::Window, colorOf(colorRef));
    sample_->setPalette(p);
    chart_.ApplyColorScheme(preset_);
}

void ColorSchemeDialog::onChoose() {
    const int key = selectedKey();
    if (key < 0) return;
    QColor color = colorOf(doc_.colorSchemes.forPreset(preset_).colors[static_cast<size_t>(key)]);
    if (!chooseColor(color)) return;
    storeColor(rgb(color.red(), color.green(), color.blue()));
    doc_.colorSchemes.forPreset(preset_).secondFlag = 0;
    refreshEdits();
}

void ColorSchemeDialog::onDefault() {
    if (!confirmDefault()) return;
    doc_.colorSchemes.forPreset(preset_).ResetToDefaults();
    chart_.ApplyColorScheme(preset_);
    refreshEdits();
}

}  // namespace celestra
