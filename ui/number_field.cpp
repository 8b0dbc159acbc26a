#include "ui/number_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QToolTip>

#include "core/number_text.h"

namespace celestra {

std::optional<double> parseFieldNumber(const QString& text, const QLocale& locale) {
    QString t = text.trimmed();
    // The locale's own separator and signs (some locales write U+2212 for
    // minus) become the point and ASCII signs; the point is always allowed.
    const QString decimal = locale.decimalPoint();
    if (decimal != QLatin1String(".")) t.replace(decimal, QStringLiteral("."));
    if (locale.negativeSign() != QLatin1String("-")) t.replace(locale.negativeSign(), QStringLiteral("-"));
    if (locale.positiveSign() != QLatin1String("+")) t.replace(locale.positiveSign(), QStringLiteral("+"));
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && c != QLatin1Char('.') && !(c >= QLatin1Char('0') && c <= QLatin1Char('9'))) return std::nullopt;
    }
    return parseDecimal(t.toStdString());
}

QString rangeMessage(double min, double max) {
    // Plain decimals ("0.00001", not "1e-05"), trailing zeros dropped.
    auto plain = [](double v) {
        QString t = QString::number(v, 'f', 6);
        while (t.endsWith(QLatin1Char('0'))) t.chop(1);
        if (t.endsWith(QLatin1Char('.'))) t.chop(1);
        return t;
    };
    return NumberSpinBox::tr("Please enter a number between %1 and %2.").arg(plain(min), plain(max));
}

namespace {
FieldMessageSink& customSink() {
    static FieldMessageSink sink;
    return sink;
}
}  // namespace

void setFieldMessageSink(FieldMessageSink sink) { customSink() = std::move(sink); }

void refuseField(QWidget* field, const QString& message, bool beside) {
    if (customSink()) {
        customSink()(field, message);
    } else if (beside && field) {
        QToolTip::showText(field->mapToGlobal(QPoint(0, field->height())), message, field);
    } else {
        QMessageBox::warning(field ? field->window() : nullptr, QStringLiteral("Celestra"), message);
    }
}

NumberSpinBox::NumberSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    // The value changes when the field is left, not at each keystroke: while
    // "12.5.3" is typed, its prefix "12.5" must not become the value.
    setKeyboardTracking(false);
}

QString NumberSpinBox::rangeMessage() const { return celestra::rangeMessage(minimum(), maximum()); }

std::optional<double> NumberSpinBox::typedValue(const QString& text) const {
    QString body = text;
    if (!prefix().isEmpty() && body.startsWith(prefix())) body.remove(0, prefix().size());
    if (!suffix().isEmpty() && body.endsWith(suffix())) body.chop(suffix().size());
    const std::optional<double> v = parseFieldNumber(body, locale());
    if (!v || *v < minimum() || *v > maximum()) return std::nullopt;
    return v;
}

QValidator::State NumberSpinBox::validate(QString& text, int&) const {
    // Anything may stand while it is typed; only a number in the range is taken.
    return typedValue(text) ? QValidator::Acceptable : QValidator::Intermediate;
}

double NumberSpinBox::valueFromText(const QString& text) const { return typedValue(text).value_or(value()); }

QString NumberSpinBox::textFromValue(double value) const { return QString::number(value, 'f', decimals()); }

void NumberSpinBox::fixup(QString&) const {}

template <typename Commit>
bool NumberSpinBox::commit(Commit base) {
    const bool refused = !typedValue(text());
    base();
    if (refused) refuseField(this, rangeMessage(), true);
    return refused;
}

void NumberSpinBox::focusOutEvent(QFocusEvent* event) {
    commit([&] { QDoubleSpinBox::focusOutEvent(event); });
}

void NumberSpinBox::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) {
        QDoubleSpinBox::keyPressEvent(event);
        return;
    }
    // A refused value stops there: Return does not go on to the page's default button.
    if (commit([&] { QDoubleSpinBox::keyPressEvent(event); })) event->accept();
}

}  // namespace celestra
