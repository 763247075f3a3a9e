#pragma once
// The program's seven windows, created at start in a fixed order, main window first. The
// secondary windows belong to the main window and live as long as it does; they are only
// shown and hidden.

#include <memory>

#include "app/MainWindow.h"

class TForm2;
class TAbout;
class TForm4;
class Tselpanel;
class Tsavebox;
class TbmpWin;

class ApplicationShell {
  public:
    ApplicationShell();
    ~ApplicationShell();
    ApplicationShell(const ApplicationShell&) = delete;
    ApplicationShell& operator=(const ApplicationShell&) = delete;

    std::unique_ptr<TForm1> Form1;
    TForm2* Form2 = nullptr;
    TAbout* About = nullptr;
    TForm4* Form4 = nullptr;
    Tselpanel* selpanel = nullptr;
    Tsavebox* savebox = nullptr;
    TbmpWin* bmpWin = nullptr;
};
