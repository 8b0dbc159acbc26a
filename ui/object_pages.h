// "Info..." (what the selection is, "Web..." to look it up, and a Messier
// or Caldwell object's picture from the image library) and
// "Find..." (a name, number or designation, with completion; "Center on
// chart" faces it).
#pragma once

#include <QDialog>

#include "ui/chart_renderer.h"
#include "ui/preferences.h"

class QImage;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace celestra {

class ChartView;
class ImageLibrary;
class PictureView;
class SkyModel;

// The information text of a selection: a catalogue object's text block, or
// a body's places, distance, magnitude (and the Moon's phase).
QString selectionInfoText(const ChartSelection& selection, ChartView& chart, SkyModel& model);
// The address "Web..." opens: the project website's redirect page when one
// is set, else SIMBAD (empty for a body without a website).
QString selectionWebUrl(const ChartSelection& selection, const Preferences& preferences);
// Opens `url` in the desktop's web browser. When none can be started (no
// browser or no opener on the system), a message box (object name
// "noBrowser") says so and shows the address, selectable, to copy.
void openWebPage(QWidget* parent, const QString& url);

class InfoDialog : public QDialog {
    Q_OBJECT
public:
    // `pictures`: the program's image library (none: no picture area).
    InfoDialog(const ChartSelection& selection, ChartView& chart, SkyModel& model, const Preferences& preferences,
               ImageLibrary* pictures = nullptr, QWidget* parent = nullptr);
    QPlainTextEdit* text() const { return text_; }
    QPushButton* webButton() const { return web_; }
    // The image library's download button; shown for a Messier or Caldwell
    // object only while no library is loaded.
    QPushButton* libraryButton() const { return download_; }
    // The picture shown (null when none).
    QImage picture() const;
signals:
    void helpRequested(const QString& topic);

private:
    void downloadImageLibrary();
    void showPicture();
    int pictureRoom() const;

    QPlainTextEdit* text_ = nullptr;
    QPushButton* web_ = nullptr;
    QPushButton* download_ = nullptr;
    PictureView* picture_ = nullptr;
    ImageLibrary* library_ = nullptr;
    QString website_;
    int object_ = -1;  // the selected catalogue object, else -1
};

class FindDialog : public QDialog {
    Q_OBJECT
public:
    FindDialog(ChartView& chart, QWidget* parent = nullptr);
    QLineEdit* input() const { return input_; }
    QPushButton* centreButton() const { return centre_; }
    // Resolves the text and faces it; false when nothing matched or it was
    // not centred (below the horizon and the user declined the step). Below
    // the horizon it offers to step the time to the first whole minute at
    // which the chart draws it (within three days).
    bool centreOnChart();
    // When set, the question about a body below the horizon is answered
    // with this instead of asking (tests).
    void setBelowHorizonAnswer(int answer) { answer_ = answer; }
signals:
    void helpRequested(const QString& topic);

private:
    ChartView& chart_;
    QLineEdit* input_ = nullptr;
    QPushButton* centre_ = nullptr;
    int answer_ = -1;
};

}  // namespace celestra
