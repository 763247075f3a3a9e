#pragma once
// The Export window: the picture or the copied box in any export format and device layout,
// its text kept up to date while drawing, Copy, Save and Append, the same export as a
// stipple command line, and the trace between the numbers of the text and the cells of the
// editing surface. It remembers its settings between runs.

#include <QString>
#include <QWidget>
#include <string>
#include <vector>

#include "editor/Session.h"
#include "formats/ExportFormats.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace stipple::ui {

class SurfaceWidget;

class ExportWindow final : public QWidget, public SessionListener {
    Q_OBJECT
  public:
    ExportWindow(Session& session, SurfaceWidget& surface, QWidget* parent);
    ~ExportWindow() override;

    void sessionChanged(const Session& session, const Changes& changes) override;

    // Chooses the format by its command-line name (see exportFormats); false for none.
    bool setFormatNamed(std::string_view commandName);

    // What the window shows: the text (bin as a dump of hex bytes), the byte count or why
    // there is no text, and the command line.
    QString shownText() const;
    QString countText() const;
    QString commandLine() const;

    // The trace. From a character position of the text: frames on the surface the cells of
    // the number there (none elsewhere). From a 1-based cell of the picture: highlights the
    // numbers that hold its bits; (0, 0) for none.
    void traceFromText(int position);
    void traceFromCell(int x, int y);
    // The text's highlighted ranges, as (position, length).
    std::vector<std::pair<int, int>> highlighted() const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    void loadSettings();
    void storeSettings() const;
    void takeControls();  // the controls into settings_
    void showControls();  // settings_ into the controls
    void refresh();       // text, count, command line
    void mapBytes();      // the byte map, after anything but the cells changed
    void showHighlights();
    void frameTracedByte();  // frames on the surface the cells of the number pointed at
    const ExportFormatRow& format() const;
    bool fromBox() const;
    void writeToFile(bool append);
    void copyText();
    QString commandText(const std::string& name) const;
    // Whether the copied box's cells still stand where they were copied from.
    bool boxInPlace() const;

    Session& session_;
    SurfaceWidget& surface_;
    ExportSettings settings_;
    std::string bytes_;  // the text as written (for bin: the bytes)
    QString shown_;
    // Each number of the shown text by byte, and for each cell of the view the bytes that
    // hold its bits.
    std::vector<ValueSpan> spans_;
    int spanShift_ = 0;  // UTF-16 positions before the numbers minus their UTF-8 bytes
    std::vector<ByteCells> byteMap_;
    std::vector<std::vector<int>> bytesOfCell_;
    int mapWidth_ = 0;
    int mapHeight_ = 0;
    int tracedByte_ = -1;
    int tracedX_ = 0;
    int tracedY_ = 0;
    bool ready_ = false;
    bool changing_ = false;  // while the controls are set from the settings
    bool placed_ = false;
    bool boxMoved_ = false;  // turned, mirrored or cut off since it was copied
    bool settingsHadGeometry_ = false;

    QComboBox* source_ = nullptr;
    QComboBox* format_ = nullptr;
    QComboBox* target_ = nullptr;
    QComboBox* depth_ = nullptr;
    QLineEdit* levels_ = nullptr;
    QComboBox* order_ = nullptr;
    QComboBox* scan_ = nullptr;
    QComboBox* planes_ = nullptr;
    QComboBox* base_ = nullptr;
    QCheckBox* align_ = nullptr;
    QCheckBox* mask_ = nullptr;
    QCheckBox* preview_ = nullptr;
    QPlainTextEdit* text_ = nullptr;
    QLabel* count_ = nullptr;
    QLineEdit* command_ = nullptr;
    QPushButton* copy_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* append_ = nullptr;
};

}  // namespace stipple::ui
