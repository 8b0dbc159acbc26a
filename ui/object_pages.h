// "Info..." (what the selection is, and "Web..." to look it up) and
// "Find..." (a name, number or designation, with completion; "Center on
// chart" faces it).
#pragma once

#include <QDialog>

#include "ui/chart_renderer.h"
#include "ui/preferences.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace celestra {

class ChartView;
class SkyModel;

// The information text of a selection: a catalogue object's text block, or
// a body's places, distance, magnitude (and the Moon's phase).
QString selectionInfoText(const ChartSelection& selection, ChartView& chart, SkyModel& model);
// The address "Web..." opens: the project website's redirect page when one
// is set, else SIMBAD (empty for a body without a website).
QString selectionWebUrl(const ChartSelection& selection, const Preferences& preferences);

class InfoDialog : public QDialog {
    Q_OBJECT
public:
    InfoDialog(const ChartSelection& selection, ChartView& chart, SkyModel& model, const Preferences& preferences,
               QWidget* parent = nullptr);
    QPlainTextEdit* text() const { return text_; }
    QPushButton* webButton() const { return web_; }
signals:
    void helpRequested(const QString& topic);

private:
    QPlainTextEdit* text_ = nullptr;
    QPushButton* web_ = nullptr;
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(ChartView& chart, QWidget* parent = nullptr);
    QLineEdit* input() const { return input_; }
    // Resolves the text and faces it; false when nothing matched or it was
    // not centred (below the horizon and the user declined the step).
    bool centreOnChart();
    // When set, the question about a body below the horizon is answered
    // with this instead of asking (tests).
    void setBelowHorizonAnswer(int answer) { answer_ = answer; }
signals:
    void helpRequested(const QString& topic);

private:
    ChartView& chart_;
    QLineEdit* input_ = nullptr;
    int answer_ = -1;
};

}  // namespace celestra
