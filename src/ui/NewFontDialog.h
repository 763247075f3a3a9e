#pragma once
// The New Font dialog: which outline font to render into a font set (an installed family or
// a font file), at what pixel size, over which code points, in black and white or in the four
// grays. Shown modally by New Font; it keeps what was chosen for the next time.

#include <QDialog>
#include <optional>

#include "formats/OutlineFont.h"

class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace stipple::ui {

class CodePointBox;

class NewFontDialog final : public QDialog {
    Q_OBJECT
  public:
    explicit NewFontDialog(QWidget* parent = nullptr);

    // Shows the dialog modally; the request on OK, nothing on Cancel.
    std::optional<OutlineFontRequest> askRequest();
    // What the fields ask for now. A family field naming a file that exists asks for that file.
    OutlineFontRequest request() const;

  private:
    void browse();
    // OK needs a family or file and a range that does not run backwards.
    void showAcceptable();

    QComboBox* family_ = nullptr;
    QPushButton* browse_ = nullptr;
    QSpinBox* pixelSize_ = nullptr;
    CodePointBox* first_ = nullptr;
    CodePointBox* last_ = nullptr;
    QRadioButton* blackAndWhite_ = nullptr;
    QRadioButton* fourGrays_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace stipple::ui
