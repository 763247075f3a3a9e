#pragma once
// The picture's name box. A line edit claims Ctrl+A, Ctrl+Z and the like for its own
// editing; this one leaves the window's menu shortcuts to the menu, whatever the state of
// the menu item, and edits only with the remaining keys.

#include <QKeySequence>
#include <QLineEdit>
#include <QList>

namespace stipple::ui {

class NameEdit : public QLineEdit {
    Q_OBJECT
  public:
    explicit NameEdit(QWidget* parent = nullptr);

    void setMenuShortcuts(QList<QKeySequence> shortcuts);

  protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool isMenuShortcut(const QKeyEvent* event) const;

    QList<QKeySequence> menuShortcuts_;
};

}  // namespace stipple::ui
