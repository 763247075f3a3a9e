#pragma once
// The Frames window: the frames of the set as small pictures, the buttons that make, copy,
// drop and move them, the onion skin, and playback at the set's frame rate. It stays open
// beside the main window. Playback is the window's own: it never changes the current frame.

#include <QTimer>
#include <QWidget>

#include "editor/Session.h"

class QPushButton;
class QScrollArea;
class QSpinBox;

namespace stipple::ui {

class CommandControls;
class FramesPlayer;
class FramesStrip;

class FramesWindow final : public QWidget, public SessionListener {
    Q_OBJECT
  public:
    FramesWindow(Session& session, CommandControls& commands, QWidget* parent);
    ~FramesWindow() override;

    void sessionChanged(const Session& session, const Changes& changes) override;

    FramesStrip& strip() { return *strip_; }
    FramesPlayer& player() { return *player_; }
    bool playing() const { return timer_.isActive(); }
    // Starts or stops playback, as Play and Stop do.
    void setPlaying(bool on);

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void buildControls(CommandControls& commands);
    void showFrames();
    void loadSettings();
    void storeSettings() const;

    Session& session_;
    FramesStrip* strip_ = nullptr;
    QScrollArea* stripArea_ = nullptr;
    FramesPlayer* player_ = nullptr;
    QPushButton* play_ = nullptr;
    QSpinBox* rate_ = nullptr;
    QSpinBox* playerSize_ = nullptr;
    QTimer timer_{this};
    bool placed_ = false;
    bool settingsHadGeometry_ = false;
};

}  // namespace stipple::ui
