#pragma once
// The Export window: the picture or the copied box in any export format and device layout,
// its text kept up to date while drawing, Copy, Save and Append, the same export as a
// stipple command line, and the trace between the numbers of the text and the cells of the
// editing surface. It shows an ExportPreview and turns clicks into its calls; it keeps the
// preview's settings and its own place between runs.

#include <QString>
#include <QWidget>
#include <string_view>
#include <utility>
#include <vector>

#include "editor/ExportPreview.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace stipple::ui {

class SurfaceWidget;

// The cells as the device shows them, each a square as large as the view's room allows.
class DeviceViewWidget final : public QWidget {
  public:
    explicit DeviceViewWidget(QWidget* parent) : QWidget(parent) {}
    void show(DeviceImage image);
    const DeviceImage& image() const { return image_; }
    QSize sizeHint() const override { return {2 * 96 + 8, 2 * 92 + 8}; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    DeviceImage image_;
};

class ExportWindow final : public QWidget {
    Q_OBJECT
  public:
    ExportWindow(Session& session, SurfaceWidget& surface, QWidget* parent);
    ~ExportWindow() override;

    ExportPreview& preview() { return preview_; }
    // Chooses the format by its command-line name (see exportFormats); false for none.
    bool setFormatNamed(std::string_view commandName);

    // What the window's widgets show: the text, the count or why there is no text, and the
    // command line.
    QString shownText() const;
    QString countText() const;
    QString commandLine() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void loadSettings();
    void storeSettings() const;
    void showChoices();
    void showText();
    void showTrace();

    Session& session_;
    SurfaceWidget& surface_;
    ExportPreview preview_;
    QString shown_;
    bool changing_ = false;  // while the controls are set from the preview
    bool placed_ = false;
    bool settingsHadGeometry_ = false;

    // The lists and ticks, each with the option it shows.
    std::vector<std::pair<QComboBox*, ExportOption>> lists_;
    std::vector<std::pair<QCheckBox*, ExportOption>> ticks_;
    QLineEdit* levels_ = nullptr;
    QLabel* levelsProblem_ = nullptr;  // why the levels typed are not used
    QPlainTextEdit* text_ = nullptr;
    QLabel* count_ = nullptr;
    QLineEdit* command_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* append_ = nullptr;
    DeviceViewWidget* device_ = nullptr;
};

}  // namespace stipple::ui
