#pragma once
// The Frames window: the frames of the set as small pictures, the buttons that make, copy,
// drop and move them, the onion skin, and playback at the set's frame rate; in a font also
// the current glyph's code point and metrics and a sample line drawn with the font. It stays
// open beside the main window. Playback is the window's own: it never changes the current
// frame.

#include <QTimer>
#include <QWidget>
#include <string>

#include "editor/Session.h"

class QLineEdit;
class QPushButton;
class QScrollArea;
class QSpinBox;
class QVBoxLayout;

namespace stipple::ui {

class CodePointBox;
class CommandControls;
class FramesPlayer;
class FramesStrip;
class SampleLineView;

class FramesWindow final : public QWidget, public SessionListener {
    Q_OBJECT
  public:
    FramesWindow(Session& session, CommandControls& commands, QWidget* parent);
    ~FramesWindow() override;

    void sessionChanged(const Session& session, const Changes& changes) override;

    FramesStrip& strip() { return *strip_; }
    FramesPlayer& player() { return *player_; }
    SampleLineView& sample() { return *sample_; }
    bool playing() const { return timer_.isActive(); }
    // Starts or stops playback, as Play and Stop do.
    void setPlaying(bool on);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildControls(CommandControls& commands);
    void buildFontDetails(QVBoxLayout* details);
    void showFrames();
    // The glyph fields and the sample line of a font, hidden in any other set.
    void showFont();
    void showGlyphFields();
    void drawSample();
    // The glyph fields as they read now, as one edit of the current glyph.
    void editGlyph();
    void loadSettings();
    void storeSettings() const;

    Session& session_;
    FramesStrip* strip_ = nullptr;
    QScrollArea* stripArea_ = nullptr;
    FramesPlayer* player_ = nullptr;
    QPushButton* play_ = nullptr;
    QSpinBox* rate_ = nullptr;
    QSpinBox* playerSize_ = nullptr;
    QWidget* fontDetails_ = nullptr;
    CodePointBox* codePoint_ = nullptr;
    QSpinBox* advance_ = nullptr;
    QSpinBox* xOffset_ = nullptr;
    QSpinBox* yOffset_ = nullptr;
    QLineEdit* sampleText_ = nullptr;
    QSpinBox* samplePixelSize_ = nullptr;
    QScrollArea* sampleArea_ = nullptr;
    SampleLineView* sample_ = nullptr;
    // The sample's characters: a press on a glyph redraws the line only when it shows it.
    std::u32string sampleCharacters_;
    QTimer timer_{this};
    bool placed_ = false;
    bool settingsHadGeometry_ = false;
};

}  // namespace stipple::ui
