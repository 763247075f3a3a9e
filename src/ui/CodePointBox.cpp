#include "ui/CodePointBox.h"

#include <QRegularExpression>
#include <optional>

#include "editor/GlyphText.h"
#include "model/Document.h"

namespace stipple::ui {

CodePointBox::CodePointBox(QWidget* parent) : QSpinBox(parent) {
    setRange(0, kMaxCodePoint);
}

QString CodePointBox::textFromValue(int value) const {
    return QString::fromStdString(codePointText(value));
}

int CodePointBox::valueFromText(const QString& text) const {
    return parseCodePoint(text.toStdString()).value_or(value());
}

QValidator::State CodePointBox::validate(QString& text, int&) const {
    if (const std::optional<int> typed = parseCodePoint(text.toStdString())) {
        return *typed >= minimum() && *typed <= maximum() ? QValidator::Acceptable
                                                          : QValidator::Intermediate;
    }
    // On the way to one of the forms: "U", "U+", "0x", hexadecimal digits.
    static const QRegularExpression partial(QStringLiteral("^ *(0[xX]?|[uU]\\+?)?[0-9a-fA-F]* *$"));
    return partial.match(text).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

}  // namespace stipple::ui
