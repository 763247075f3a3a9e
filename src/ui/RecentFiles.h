#pragma once
// File > Open Recent: the last picture files opened or saved, most recent first, kept
// between runs. A file that is gone when chosen is taken off the list with a message.

#include <QObject>
#include <QStringList>

#include "editor/Session.h"

class QMenu;
class QWidget;

namespace stipple::ui {

class RecentFiles final : public QObject {
  public:
    static constexpr int kMaxFiles = 10;

    // Puts its menu into `window`'s File menu before Save Picture.
    RecentFiles(Session& session, QWidget* window);

    // The file goes to the top of the list, once.
    void remember(const QString& path);
    QStringList files() const;
    QMenu* menu() const { return menu_; }
    // What choosing the file in the menu does.
    void open(const QString& path);

  private:
    void store(const QStringList& files) const;
    void showFiles();

    Session& session_;
    QWidget* window_;
    QMenu* menu_ = nullptr;
};

}  // namespace stipple::ui
