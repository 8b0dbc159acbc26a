// The program's one rule for numbers in its fields.
//
// Reading: a field holds one number written with the point or with the
// desktop locale's decimal separator ("12.5" and, in a German or French
// desktop, "12,5"), an optional sign, and nothing else: "12.5.3", "12x",
// "1.234,5" and "1e3" are refused with the field's range message, never
// truncated to their leading number.
// Showing: every number the program shows uses the point, as the engine's
// texts do, whatever the desktop's locale; dates follow the locale.
#pragma once

#include <QDoubleSpinBox>
#include <QLocale>
#include <QString>
#include <functional>
#include <optional>

namespace celestra {

// The number a field's text holds under the rule above; nullopt otherwise.
std::optional<double> parseFieldNumber(const QString& text, const QLocale& locale = QLocale());

// "Please enter a number between MIN and MAX.", the message of a field whose
// text is not a number in its range (plain decimals, trailing zeros dropped).
QString rangeMessage(double min, double max);

// Where a refused field's message goes: by default a message box over the
// field's window or, for fields that refuse as the focus leaves them (where
// a box would take the focus back and forth), a tool tip beside the field.
// Tests replace it to read the messages without a modal loop; an empty sink
// restores the default.
using FieldMessageSink = std::function<void(QWidget* field, const QString& message)>;
void setFieldMessageSink(FieldMessageSink sink);
void refuseField(QWidget* field, const QString& message, bool beside = false);

// A QDoubleSpinBox under the rule: it shows its value with the point and
// takes typed text with either separator. Its value changes when the field
// is left (focus or Return) or stepped, not while a text is typed; a text
// that is not a number in the range then goes back to the last value and
// the range message is shown.
class NumberSpinBox : public QDoubleSpinBox {
    Q_OBJECT
public:
    explicit NumberSpinBox(QWidget* parent = nullptr);

    QString rangeMessage() const;

protected:
    QValidator::State validate(QString& text, int& pos) const override;
    double valueFromText(const QString& text) const override;
    QString textFromValue(double value) const override;
    void fixup(QString& text) const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::optional<double> typedValue(const QString& text) const;
    // The base class takes or puts back the text; a refusal is then
    // reported, and true returned.
    template <typename Commit>
    bool commit(Commit base);
};

}  // namespace celestra
