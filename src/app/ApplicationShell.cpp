#include "app/ApplicationShell.h"

#include "dialogs/AboutBox.h"
#include "dialogs/SetSizeDialog.h"
#include "export/MoveToClipboardPanel.h"
#include "files/BitmapImportWindow.h"
#include "files/SaveSelectBox.h"
#include "tools/SelectToolPanel.h"

ApplicationShell::ApplicationShell() : Form1(std::make_unique<TForm1>()) {
    TForm1* owner = Form1.get();
    Form2 = new TForm2(owner);
    About = new TAbout(owner);
    Form4 = new TForm4(owner);
    selpanel = new Tselpanel(owner);
    savebox = new Tsavebox(owner);
    bmpWin = new TbmpWin(owner);
    owner->attachWindows(Form2, About, Form4, selpanel, savebox, bmpWin);
    // The panels and the import work on the main window's editor. The Select tool panel
    // reads its mode buttons into the editor as it is given it, so the main window must
    // know the panel by then.
    Form4->setEditor(&owner->editor());
    selpanel->setEditor(&owner->editor());
    bmpWin->setEditor(&owner->editor());
}

// The secondary windows go with the main window.
ApplicationShell::~ApplicationShell() = default;
