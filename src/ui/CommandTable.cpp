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
            row.names.control != nullptr ? findNamed<QWidget>(window, row.names.control) : nullptr;
        QAction* item = row.names.menuItem != nullptr
                            ? findNamed<QAction>(window, row.names.menuItem)
                            : nullptr;
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
        {CommandId::NewPicture, on(newPicture)},
        {CommandId::OpenPicture, on(openPicture)},
        {CommandId::OpenBitmap, [&window] { window.bitmapImportDialog().exec(); }},
        {CommandId::SavePicture, [&session] { savePicture(session); }},
        {CommandId::SaveAsm8, on(saveAsm8File)},
        {CommandId::AppendAsm8, on(appendAsm8ToFile)},
        {CommandId::Exit, [&window] { window.close(); }},

        {CommandId::Undo, [&session] { session.undoChange(); }},
        {CommandId::Redo, [&session] { session.redoChange(); }},
        {CommandId::SetSize, on(askAndSetSize)},
        {CommandId::ClearImage, on(clearImage)},

        {CommandId::Pen, tool(Tool::Pen)},
        {CommandId::Bucket, tool(Tool::Bucket)},
        {CommandId::Pipe, tool(Tool::Pipe)},
        {CommandId::ChangeColour, tool(Tool::ChangeColour)},
        {CommandId::SelectBox, tool(Tool::Box)},

        {CommandId::ViewGrids, on(toggleGrids)},
        {CommandId::ViewBorder, on(toggleBorder)},
        {CommandId::PixelSize1, pixelSize(1)},
        {CommandId::PixelSize2, pixelSize(2)},
        {CommandId::PixelSize3, pixelSize(3)},
        {CommandId::PixelSize5, pixelSize(5)},
        {CommandId::PixelSize10, pixelSize(10)},
        {CommandId::PixelSize15, pixelSize(15)},
        {CommandId::PixelSizeUp, on(pixelSizeUp)},
        {CommandId::PixelSizeDown, on(pixelSizeDown)},
        {CommandId::WidthUp, on(widthUp)},
        {CommandId::WidthDown, on(widthDown)},
        {CommandId::HeightUp, on(heightUp)},
        {CommandId::HeightDown, on(heightDown)},

        {CommandId::About, [&window] { window.aboutBox().exec(); }},

        {CommandId::ClipboardPanel,
         [&window] {
             window.clipboardExportPanel().show();
             window.clipboardExportPanel().raise();
         }},
        {CommandId::ExportWindow,
         [&window] {
             window.exportWindow().show();
             window.exportWindow().raise();
             window.exportWindow().activateWindow();
         }},
        {CommandId::AlignToByte, on(toggleAlignToByte)},
        {CommandId::ExportCpp, exportPicture(ExportFormat::CppArray)},
        {CommandId::ExportAsm1, exportPicture(ExportFormat::Asm1)},
        {CommandId::ExportAsm2, exportPicture(ExportFormat::Asm2)},
        {CommandId::ExportAsm4, exportPicture(ExportFormat::Asm4)},
        {CommandId::ExportAsm8, exportPicture(ExportFormat::Asm8)},

        {CommandId::PaletteTransparent, paletteColour(kTransparent)},
        {CommandId::PaletteWhite, paletteColour(kWhite)},
        {CommandId::PaletteGray33, paletteColour(kGray33)},
        {CommandId::PaletteGray66, paletteColour(kGray66)},
        {CommandId::PaletteBlack, paletteColour(kBlack)},
        {CommandId::LeftWhite, leftColour(kWhite)},
        {CommandId::LeftGray33, leftColour(kGray33)},
        {CommandId::LeftGray66, leftColour(kGray66)},
        {CommandId::LeftBlack, leftColour(kBlack)},
        {CommandId::LeftTransparent, leftColour(kTransparent)},
        {CommandId::RightWhite, rightColour(kWhite)},
        {CommandId::RightGray33, rightColour(kGray33)},
        {CommandId::RightGray66, rightColour(kGray66)},
        {CommandId::RightBlack, rightColour(kBlack)},
        {CommandId::RightTransparent, rightColour(kTransparent)},
        // A plain left click on the left swatch shows its colour again.
        {CommandId::ShowLeftSwatch,
         [&window, &session] {
             window.host().showLeftSwatch(session.displayColour(session.leftColour()));
         }},
    };
    for (const QuickSize& q : kQuickSizes) {
        rows.push_back({q.name, [&session, q] {
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
