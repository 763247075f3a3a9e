#include "ui/FramesWindow.h"

#include "ui/CommandTable.h"

namespace stipple::ui {

FramesWindow::FramesWindow(Session& session, CommandControls&, QWidget* parent)
    : QWidget(parent, Qt::Window), session_(session) {
    setObjectName(QStringLiteral("FramesWindow"));
    setWindowTitle(QStringLiteral("Frames"));
    session_.subscribe(*this);
}

FramesWindow::~FramesWindow() {
    session_.unsubscribe(*this);
}

void FramesWindow::sessionChanged(const Session&, const Changes&) {}

}  // namespace stipple::ui
