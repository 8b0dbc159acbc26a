// "Export Image...": the chart as a PNG, SVG or PDF file, at the chart's
// size or another.
#pragma once

#include <QDialog>
#include <QSize>

#include "ui/chart_export.h"

class QComboBox;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace celestra {

class ExportDialog : public QDialog {
    Q_OBJECT
public:
    // `chartSize`: the chart window's size; `folder`: where the file goes by default.
    ExportDialog(const ChartPicture& picture, QSize chartSize, const QString& folder, QWidget* parent = nullptr);

    QComboBox* formatBox() const { return format_; }
    QRadioButton* chartSizeButton() const { return chartSize_; }
    QRadioButton* otherSizeButton() const { return otherSize_; }
    QSpinBox* widthBox() const { return width_; }
    QSpinBox* heightBox() const { return height_; }
    QLineEdit* fileEdit() const { return file_; }

    ChartFileFormat format() const;
    QSize size() const;
    // Writes the file the page describes; false (after saying why) when it could not.
    bool save();

private:
    void browse();
    void formatChanged();

    ChartPicture picture_;
    QSize chart_;
    QComboBox* format_ = nullptr;
    QRadioButton* chartSize_ = nullptr;
    QRadioButton* otherSize_ = nullptr;
    QSpinBox* width_ = nullptr;
    QSpinBox* height_ = nullptr;
    QLineEdit* file_ = nullptr;
};

}  // namespace celestra
