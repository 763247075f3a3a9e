#pragma once
// A spin box of a Unicode code point: shows "U+0041", takes it typed in decimal ("65") or in
// hexadecimal after "0x" or "U+".

#include <QSpinBox>

namespace stipple::ui {

class CodePointBox final : public QSpinBox {
    Q_OBJECT
  public:
    explicit CodePointBox(QWidget* parent);

  protected:
    QString textFromValue(int value) const override;
    int valueFromText(const QString& text) const override;
    QValidator::State validate(QString& text, int& pos) const override;
};

}  // namespace stipple::ui
