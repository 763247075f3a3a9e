#pragma once
// The Frames window: the frames of the set as small pictures, the buttons that make, copy,
// drop and move them, the onion skin, and playback at the set's frame rate. It stays open
// beside the main window.

#include <QWidget>

#include "editor/Session.h"

namespace stipple::ui {

class CommandControls;

class FramesWindow final : public QWidget, public SessionListener {
    Q_OBJECT
  public:
    FramesWindow(Session& session, CommandControls& commands, QWidget* parent);
    ~FramesWindow() override;

    void sessionChanged(const Session& session, const Changes& changes) override;

  private:
    Session& session_;
};

}  // namespace stipple::ui
