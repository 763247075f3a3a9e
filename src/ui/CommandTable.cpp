#include "ui/CommandTable.h"

#include <QAbstractButton>
#include <QAction>
#include <QEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWidget>
#include <stdexcept>
#include <string>
#include <utility>

#include "editor/ExportCommands.h"
#include "editor/FileCommands.h"
#include "editor/ViewCommands.h"
#include "ui/CommandErrors.h"
#include "ui/MainWindow.h"
#include "ui/MainWindowLayout.h"
#include "ui/WidgetHelpers.h"

namespace stipple::ui {

namespace {

template <class T>
T* findNamed(QWidget* window, const char* name) {
    T* found = findOwnControl<T>(window, QString::fromUtf8(name));
    if (found == nullptr) {
        throw std::logic_error(std::string("no control named ") + name);
    }
    return found;
}

// Any button other than left and right sets no colour.
MouseButton sessionButton(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return MouseButton::Left;
        case Qt::RightButton:
            return MouseButton::Right;
        default:
            return MouseButton::Middle;
    }
}

class PressFilter : public QObject {
  public:
    PressFilter(QWidget* control, QWidget* window, PressCommand command)
        : QObject(control), window_(window), command_(std::move(command)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        // A double click's second press arrives as a double-click event: a press all the same.
        if (event->type() != QEvent::MouseButtonPress &&
            event->type() != QEvent::MouseButtonDblClick) {
            return false;
        }
        const Qt::MouseButton button = static_cast<QMouseEvent*>(event)->button();
        runCommand(window_, [this, button] { command_(sessionButton(button)); });
        // A left press goes on to the button so that it shows pressed.
        return button != Qt::LeftButton;
    }

  private:
    QWidget* window_;
    PressCommand command_;
};

// A left button released over a control that has no click of its own.
class ClickFilter : public QObject {
  public:
    ClickFilter(QWidget* control, ClickCommand command)
        : QObject(control), control_(control), command_(std::move(command)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton &&
                control_->rect().contains(mouse->position().toPoint())) {
                command_();
            }
        }
        return false;
    }

  private:
    QWidget* control_;
    ClickCommand command_;
};

}  // namespace

void bindCommands(QWidget* window, const std::vector<CommandRow>& rows) {
    for (const CommandRow& row : rows) {
        QWidget* control =
            row.control != nullptr ? findNamed<QWidget>(window, row.control) : nullptr;
        QAction* item =
            row.menuItem != nullptr ? findNamed<QAction>(window, row.menuItem) : nullptr;
        if (const auto* press = std::get_if<PressCommand>(&row.command)) {
            new PressFilter(control, window, *press);
            continue;
        }
        auto run = [window, command = std::get<ClickCommand>(row.command)] {
            runCommand(window, command);
        };
        auto* button = qobject_cast<QAbstractButton*>(control);
        if (button != nullptr) {
            QObject::connect(button, &QAbstractButton::clicked, window, run);
        } else if (control != nullptr) {
            new ClickFilter(control, run);
        }
        if (item == nullptr) {
            continue;
        }
        if (button != nullptr && button->isCheckable() && !item->isCheckable()) {
            QObject::connect(item, &QAction::triggered, window, [button, run] {
                button->setChecked(true);
                run();
            });
        } else {
            QObject::connect(item, &QAction::triggered, window, run);
        }
    }
}

void bindMainWindowCommands(MainWindow& window, Session& session) {
    const auto on = [&session](void (*command)(Session&)) -> ClickCommand {
        return [&session, command] { command(session); };
    };
    const auto tool = [&session](Tool tool) -> ClickCommand {
        return [&session, tool] { selectTool(session, tool); };
    };
    const auto pixelSize = [&session](int size) -> ClickCommand {
        return [&session, size] { setPixelSize(session, size); };
    };
    const auto exportPicture = [&session](ExportFormat format) -> ClickCommand {
        return [&session, format] {
            copyExportToClipboard(session, ExportSource::Picture, format, session.alignToByte());
        };
    };
    const auto paletteColour = [&session](Pixel value) -> PressCommand {
        return
            [&session, value](MouseButton button) { pressPaletteColour(session, button, value); };
    };
    const auto leftColour = [&session](Pixel value) -> ClickCommand {
        return [&session, value] { setLeftColour(session, value); };
    };
    const auto rightColour = [&session](Pixel value) -> ClickCommand {
        return [&session, value] { setRightColour(session, value); };
    };

    std::vector<CommandRow> rows = {
        {"NewPicture1", "ToolButton1", on(newPicture)},
        {"OpenPicture1", "ToolButton2", on(openPicture)},
        {"OpenBMPfile1", "ToolButton21", [&window] { window.bitmapImportDialog().exec(); }},
        {"Savepicture1", "ToolButton3", [&session] { savePicture(session); }},
        {"Save1", nullptr, on(saveAsm8File)},
        {"Savetoend1", "ToolButton11", on(appendAsm8ToFile)},
        {"Exit1", "ToolButton15", [&window] { window.close(); }},

        {"Undochange1", "UndoButton", [&session] { session.undoChange(); }},
        {"Redochange1", nullptr, [&session] { session.redoChange(); }},
        {"SetSize1", "ToolButton10", on(askAndSetSize)},
        {"ClearImage1", "ToolButton19", on(clearImage)},

        {"Pen1", "pen_button", tool(Tool::Pen)},
        {"Bucket1", "fill_button", tool(Tool::Bucket)},
        {"Pipe1", "pipe_button", tool(Tool::Pipe)},
        {"ChangeColor1", "chcol_button", tool(Tool::ChangeColour)},
        {nullptr, "box_button", tool(Tool::Box)},

        {"ViewGrids1", "GridsButton", on(toggleGrids)},
        {"ViewBorder1", "BorderButton", on(toggleBorder)},
        {"x11", nullptr, pixelSize(1)},
        {"x2NoGrids1", nullptr, pixelSize(2)},
        {"x3NoGrids1", nullptr, pixelSize(3)},
        {"x51", nullptr, pixelSize(5)},
        {"x101", nullptr, pixelSize(10)},
        {"x151", nullptr, pixelSize(15)},
        {nullptr, "SpeedButton23", on(pixelSizeUp)},
        {nullptr, "SpeedButton24", on(pixelSizeDown)},
        {nullptr, "SpeedButton2", on(widthUp)},
        {nullptr, "SpeedButton4", on(widthDown)},
        {nullptr, "SpeedButton3", on(heightUp)},
        {nullptr, "SpeedButton1", on(heightDown)},

        {"About2", nullptr, [&window] { window.aboutBox().exec(); }},

        {nullptr, "ToolButton12",
         [&window] {
             window.clipboardExportPanel().show();
             window.clipboardExportPanel().raise();
         }},
        {nullptr, "align", on(toggleAlignToByte)},
        {nullptr, "ToolButton7", exportPicture(ExportFormat::CppArray)},
        {nullptr, "ToolButton5", exportPicture(ExportFormat::Asm1)},
        {nullptr, "ToolButton16", exportPicture(ExportFormat::Asm2)},
        {nullptr, "ToolButton17", exportPicture(ExportFormat::Asm4)},
        {nullptr, "ToolButton8", exportPicture(ExportFormat::Asm8)},

        {nullptr, "SpeedButton9", paletteColour(kTransparent)},
        {nullptr, "SpeedButton6", paletteColour(kWhite)},
        {nullptr, "SpeedButton7", paletteColour(kGray33)},
        {nullptr, "SpeedButton8", paletteColour(kGray66)},
        {nullptr, "SpeedButton5", paletteColour(kBlack)},
        {"white1", nullptr, leftColour(kWhite)},
        {"N33gray1", nullptr, leftColour(kGray33)},
        {"N66gray1", nullptr, leftColour(kGray66)},
        {"black1", nullptr, leftColour(kBlack)},
        {"transparent1", nullptr, leftColour(kTransparent)},
        {"MenuItem1", nullptr, rightColour(kWhite)},
        {"MenuItem2", nullptr, rightColour(kGray33)},
        {"MenuItem3", nullptr, rightColour(kGray66)},
        {"MenuItem4", nullptr, rightColour(kBlack)},
        {"MenuItem5", nullptr, rightColour(kTransparent)},
        // A plain left click on the left swatch shows its colour again.
        {nullptr, "Col",
         [&window, &session] {
             window.host().showLeftSwatch(session.displayColour(session.leftColour()));
         }},
    };
    for (const QuickSize& q : kQuickSizes) {
        rows.push_back({nullptr, q.name, [&session, q] {
                            if (q.setsWidth) {
                                setPictureWidth(session, q.value);
                            } else {
                                setPictureHeight(session, q.value);
                            }
                        }});
    }
    bindCommands(&window, rows);
}

}  // namespace stipple::ui
