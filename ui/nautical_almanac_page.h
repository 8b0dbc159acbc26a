// "Almanac...": the nautical almanac's daily pages for three days from a
// date, shown as they print, with date navigation, "Print..." and "Export
// PDF..." (A4 or Letter, with or without the increments and corrections).
#pragma once

#include <QDialog>
#include <QWidget>

#include "navigation/nautical_almanac.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QScrollArea;

namespace celestra {

struct DocumentData;

// One printed page, drawn at the widget's width.
class AlmanacPageView : public QWidget {
    Q_OBJECT
public:
    explicit AlmanacPageView(QWidget* parent = nullptr);
    void setAlmanac(const NauticalAlmanac* almanac, int page);
    int page() const { return page_; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const NauticalAlmanac* almanac_ = nullptr;
    int page_ = 0;
};

class NauticalAlmanacDialog : public QDialog {
    Q_OBJECT
public:
    NauticalAlmanacDialog(const DocumentData& document, QWidget* parent = nullptr);

    QDateEdit* date;
    QPushButton *back3, *back1, *forward1, *forward3;
    QComboBox* pageBox;
    QComboBox* paper;       // A4, Letter
    QCheckBox* increments;  // print and export the increments and corrections too
    QPushButton *print, *exportPdf, *close;
    QLabel* message;  // why there are no pages (outside the ephemeris)
    AlmanacPageView* view;

    const NauticalAlmanac& almanac() const { return almanac_; }
    bool valid() const { return valid_; }
    // Writes the PDF to `path`; false with the reason shown in `message`.
    bool exportTo(const QString& path);

public slots:
    void recompute();
    void printPages();
    void choosePdfFile();

private:
    NauticalAlmanac almanac_;
    bool valid_ = false;
};

}  // namespace celestra
