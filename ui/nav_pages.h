// The celestial-navigation pages: Sextant (one sight, reduced), Enviro (the
// observing conditions and the vessel's motion), Details (every quantity of
// the reduction), LOPs (the saved sights and the fix) and the LOP graph.
// They work on the document's current sight and its list of saved sights on
// the user-interface thread; the texts and numbers come from the navigation
// engine, the pages only lay them out. Colours come from the application
// palette, which the active colour scheme sets.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "app/document.h"
#include "navigation/fix_estimate.h"
#include "navigation/navigational_stars.h"
#include "ui/preferences.h"
#include "ui/zone_rule.h"

class QButtonGroup;
class QPagedPaintDevice;
class QPainter;
class QPalette;
class QRectF;
class QVBoxLayout;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;
class QTimeEdit;

namespace celestra {

// A star typed into the Star selector: a catalogue number, a proper name or a
// Bayer/Flamsteed identity. 0 when nothing matches (or a placeholder number).
int starFromText(const QString& text);

// What the pages share: the document, the ephemeris context and the display
// format of results and details (0 D, 1 DM, 2 DMS).
struct NavigationState {
    NavigationState(DocumentData& document, const Preferences& preferences);
    DocumentData& doc;
    const Preferences& prefs;
    PlaceContext place;
    int format = 1;
    // The project website of the preferences (empty: the message ends without one).
    std::string websiteAddress() const;
};

// Details: the 41 rows in the chosen format, with the three format buttons.
class DetailsDialog : public QDialog {
    Q_OBJECT
public:
    DetailsDialog(NavigationState& state, const CMeasure& sight, QWidget* parent = nullptr);
    QTableWidget* table() const { return table_; }
    // The button of format code 0 (D), 1 (DM) or 2 (DMS).
    QPushButton* formatButton(int format) const { return buttons_[format]; }

private:
    void fill();
    NavigationState& state_;
    CMeasure sight_;
    QTableWidget* table_;
    QPushButton* buttons_[3];
};

class SextantDialog : public QDialog {
    Q_OBJECT
public:
    SextantDialog(NavigationState& state, QWidget* parent = nullptr);

    QRadioButton* starButton() const { return star_; }
    QRadioButton* bodyButton() const { return body_; }
    QComboBox* bodyBox() const { return bodyBox_; }
    QDateEdit* dateEdit() const { return date_; }
    QTimeEdit* timeEdit() const { return time_; }
    QCheckBox* asUtcBox() const { return asUtc_; }
    QSpinBox* degreesBox() const { return degrees_; }
    QDoubleSpinBox* minutesBox() const { return minutes_; }
    QPushButton* calculateButton() const { return calculate_; }
    QPushButton* detailsButton() const { return details_; }
    QPushButton* saveButton() const { return save_; }
    QLabel* altitudeLabel() const { return altitudeLabel_; }
    QLabel* resultLabel() const { return result_; }
    DetailsDialog* detailsDialog() const { return detailsDialog_; }

    void setPickers(JulianDay jdUtc);
    // The chart's zone (the Time page's choice) for the page's local times.
    ZoneRule zoneRule() const;
    void calculate();
    void saveLop();
    void openDetails();
    // The altitude that makes the intercept zero at the AP: the body's
    // computed altitude with the corrections taken back out.
    void initializeAltitude();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillBodies();
    void acceptData();
    void invalidate();
    void showResult();
    NavigationState& state_;
    CMeasure& sight_;
    bool filling_ = false;
    QRadioButton* star_;
    QRadioButton* body_;
    QComboBox* bodyBox_;
    QDateEdit* date_;
    QTimeEdit* time_;
    QCheckBox* asUtc_;
    QSpinBox* degrees_;
    QDoubleSpinBox* minutes_;
    QLabel* altitudeLabel_;
    QPushButton* calculate_;
    QPushButton* details_;
    QPushButton* save_;
    QLabel* result_;
    QPointer<DetailsDialog> detailsDialog_;
};

class EnviroDialog : public QDialog {
    Q_OBJECT
public:
    EnviroDialog(NavigationState& state, QWidget* parent = nullptr);
    QLineEdit* field(EnviroField f) const { return fields_[static_cast<int>(f)]; }
    QCheckBox* dipShortBox() const { return dipShort_; }
    QCheckBox* disableBox() const { return disable_; }
    QPushButton* stpButton() const { return stp_; }
    QLabel* messageLabel() const { return message_; }
    // Stores every field; false, with the range named, for the first field
    // whose text is not a number within its range (that field keeps focus).
    bool apply();

public slots:
    void done(int result) override;

private:
    void load();
    void updateEnabled();
    NavigationState& state_;
    QLineEdit* fields_[7];
    QCheckBox* dipShort_;
    QCheckBox* disable_;
    QPushButton* stp_;
    QLabel* message_;
};

// The LOP graph: a plane around the AP, north up.
class LopGraphView : public QWidget {
    Q_OBJECT
public:
    explicit LopGraphView(const LopGraph& graph, QWidget* parent = nullptr);
    const LopGraph& graph() const { return graph_; }
    const QStringList& statusLines() const { return status_; }
    // Widget position of a plane point, and back.
    QPointF toWidget(PlanePoint p) const;
    PlanePoint toPlane(QPointF p) const;
    QSize sizeHint() const override { return {520, 520}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    double scale() const;
    LopGraph graph_;
    QStringList status_;
};

// Draws the LOP graph into `area` (the plane's square fitted in it) with the
// status lines at its top left, in the colours of `colors`.
void paintLopGraph(QPainter& painter, const QRectF& area, const LopGraph& graph, const QStringList& status,
                   const QPalette& colors);

class LopsDialog : public QDialog {
    Q_OBJECT
public:
    LopsDialog(NavigationState& state, QWidget* parent = nullptr);
    QListWidget* list() const { return list_; }
    QPlainTextEdit* textArea() const { return text_; }
    QPushButton* removeButton() const { return remove_; }
    QPushButton* detailsButton() const { return details_; }
    QPushButton* graphButton() const { return graph_; }
    DetailsDialog* detailsDialog() const { return detailsDialog_; }
    QDialog* graphDialog() const { return graphDialog_; }
    LopGraphView* graphView() const { return graphView_; }

    void refill();
    void removeSelected();
    void openDetails();
    void openGraph();

    // The sight log: files chosen with a dialog, or given (tests).
    QPushButton* exportCsvButton() const { return exportCsv_; }
    QPushButton* exportSightsButton() const { return exportSights_; }
    QPushButton* importSightsButton() const { return importSights_; }
    QPushButton* printButton() const { return print_; }
    QPushButton* exportPdfButton() const { return exportPdf_; }
    bool exportCsv(const QString& path, QString& error);
    bool exportSights(const QString& path, QString& error);
    // Appends the file's sights; nothing is changed when any line is bad
    // (the message names it).
    bool importSights(const QString& path, QString& error);
    // The reduction form of the selected sight (its Details and the LOP graph).
    bool printForm(QPagedPaintDevice& device);
    bool exportFormPdf(const QString& path, QString& error);

private:
    void updateText();
    int selectedRow() const;
    void addSightLogButtons(QVBoxLayout* column);
    // The sight the form is for: the selected one, else the last; -1 with none.
    int formRow() const;
    LopGraph graphFor(int row);
    NavigationState& state_;
    QPushButton* exportCsv_ = nullptr;
    QPushButton* exportSights_ = nullptr;
    QPushButton* importSights_ = nullptr;
    QPushButton* print_ = nullptr;
    QPushButton* exportPdf_ = nullptr;
    QListWidget* list_;
    QPushButton* remove_;
    QPushButton* details_;
    QPushButton* graph_;
    QPlainTextEdit* text_;
    bool filling_ = false;
    QPointer<DetailsDialog> detailsDialog_;
    QPointer<QDialog> graphDialog_;
    LopGraphView* graphView_ = nullptr;
};

// Engine texts use "\r\n" line ends; a Qt text shows "\n" only.
QString displayText(const std::string& text);

}  // namespace celestra
