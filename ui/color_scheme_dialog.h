// The "ColorScheme" dialog: edits any colour of the three schemes, applies
// each change to the chart at once, picks colours from the colour chooser
// and returns a scheme to its defaults.
#pragma once

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QFrame;

namespace celestra {

class ChartView;
struct DocumentData;

// What an edit's text stands for: "%d" of it; no number or a negative one
// gives 0, 256 or more gives 255. `shown` is what the edit must then show
// ("" when the text may stay as typed).
int parseColorComponent(const QString& text, QString& shown);

class ColorSchemeDialog : public QDialog {
    Q_OBJECT
public:
    ColorSchemeDialog(DocumentData& document, ChartView& chart, QWidget* parent = nullptr);

    QListWidget* keyList() const { return keys_; }
    QComboBox* schemeList() const { return schemes_; }
    QLineEdit* componentEdit(int i) const { return edits_[i]; }
    QPushButton* defaultButton() const { return default_; }
    QPushButton* chooseButton() const { return choose_; }
    int selectedKey() const;
    int editedPreset() const { return preset_; }

    // The confirmation of "Default"; tests replace it.
    std::function<bool()> confirmDefault;
    // The colour chooser; tests replace it. Returns false when cancelled.
    std::function<bool(QColor& color)> chooseColor;

private:
    void schemeChosen(int index);
    void refreshEdits();
    void componentEdited(int component);
    void storeColor(uint32_t colorRef);
    void onChoose();
    void onDefault();

    DocumentData& doc_;
    ChartView& chart_;
    int preset_ = 1;
    QListWidget* keys_;
    QLineEdit* edits_[3];
    QComboBox* schemes_;
    QPushButton* choose_;
    QPushButton* default_;
    QFrame* sample_;
};

}  // namespace celestra
