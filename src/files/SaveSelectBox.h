#pragma once
// savebox, the Save Select box: asks for the name under which the selected box is saved as
// a picture file of its own. Shown modally.

#include <QDialog>
#include <QString>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;

class Tsavebox : public QDialog {
    Q_OBJECT
  public:
    static constexpr int kClientWidth = 200;
    static constexpr int kClientHeight = 76;

    explicit Tsavebox(QWidget* parent = nullptr);

    // Puts `name` into Edit1 and shows the box modally; returns Edit1's text as the user
    // left it when "Save..." closed the box, nothing when it was closed any other way.
    std::optional<QString> askName(const QString& name);

    void Button1Click();

    QLabel* Label1 = nullptr;        // "Name:"
    QLineEdit* Edit1 = nullptr;      // the name
    QPushButton* Button1 = nullptr;  // "Save...", the default button
};
