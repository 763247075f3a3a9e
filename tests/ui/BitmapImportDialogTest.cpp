// The Bitmap Image Open Dialog: bitmaps of every common layout loaded and converted, files
// it refuses without a trace, the slider, and what OK and Cancel leave behind.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImageWriter>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "editor/Session.h"
#include "support/FakeHost.h"
#include "support/StateChange.h"
#include "support/TestFiles.h"
#include "ui/BitmapImportDialog.h"
#include "ui/Controls.h"

namespace {

using stipple::SessionState;
using stipple::testing::changeState;
using stipple::testing::takeSnapshot;

using stipple::BitmapImport;
using stipple::testing::control;

// Colours with their level at the start step 64: intensity 0, 85, 191 and 255.
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kSilver = 0xFFBFBFC0;
constexpr QRgb kWhite = 0xFFFFFFFF;

int levelAt64(QRgb c) {
    return std::min((qRed(c) + qGreen(c) + qBlue(c)) / 3 / 64, 3);
}

// A bitmap file as the format lays it out: file header, 40-byte info header, the palette
// as blue, green, red, 0, then the rows padded to 4 bytes, the bottom row first unless
// topDown. `rows` (top row first) hold palette indices; at 24 and 32 bits the colours of
// those indices are written instead and the palette is left out.
QByteArray bitmapBytes(int bpp, bool topDown, const std::vector<QRgb>& palette,
                       const std::vector<std::vector<int>>& rows) {
    const int width = static_cast<int>(rows.front().size());
    const int height = static_cast<int>(rows.size());
    const int paletteSize = bpp <= 8 ? static_cast<int>(palette.size()) : 0;
    const int rowBytes = (width * bpp + 31) / 32 * 4;
    const int dataOffset = 14 + 40 + 4 * paletteSize;
    QByteArray b;
    const auto put16 = [&b](int v) { b.append(char(v & 0xFF)).append(char((v >> 8) & 0xFF)); };
    const auto put32 = [&](int v) {
        put16(v & 0xFFFF);
        put16((v >> 16) & 0xFFFF);
    };
    b.append("BM");
    put32(dataOffset + rowBytes * height);
    put32(0);
    put32(dataOffset);
    put32(40);
    put32(width);
    put32(topDown ? -height : height);
    put16(1);
    put16(bpp);
    put32(0);  // no compression
    put32(rowBytes * height);
    put32(2835);
    put32(2835);
    put32(paletteSize);
    put32(0);
    for (int i = 0; i < paletteSize; ++i) {
        b.append(char(qBlue(palette[i]))).append(char(qGreen(palette[i])));
        b.append(char(qRed(palette[i]))).append('\0');
    }
    for (int r = 0; r < height; ++r) {
        const std::vector<int>& row = rows[topDown ? r : height - 1 - r];
        QByteArray line(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const QRgb c = palette[row[x]];
            if (bpp <= 8) {
                const int bit = x * bpp;  // the leftmost pixel in the high bits
                line[bit / 8] = char(line[bit / 8] | (row[x] << (8 - bpp - bit % 8)));
            } else {
                const int at = x * bpp / 8;
                line[at] = char(qBlue(c));
                line[at + 1] = char(qGreen(c));
                line[at + 2] = char(qRed(c));
            }
        }
        b.append(line);
    }
    return b;
}

class BitmapImportDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(QDir().mkpath(QStringLiteral(STIPPLE_TEST_TMP_DIR)));
        ASSERT_TRUE(folder.isValid());
        session.start();
    }

    QString writeFile(const char* name, const QByteArray& bytes) {
        const QString path = folder.filePath(QString::fromUtf8(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    QString writeWithQt(const char* name, const QImage& image) {
        const QString path = folder.filePath(QString::fromUtf8(name));
        QImageWriter writer(path, "bmp");
        EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
        return path;
    }

    // A 100 x 100 gray ramp: pixel (x, y) has intensity x + y.
    QString writeRamp() {
        QImage ramp(100, 100, QImage::Format_RGB32);
        for (int y = 0; y < 100; ++y) {
            for (int x = 0; x < 100; ++x) {
                ramp.setPixel(x, y, qRgb(x + y, x + y, x + y));
            }
        }
        return writeWithQt("ramp.bmp", ramp);
    }

    // Loads a file that should load; a message box it opens is a failure and is closed.
    bool load(const QString& path) {
        QTimer::singleShot(0, [] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "refused: " << box->text().toStdString();
                box->button(QMessageBox::Ok)->click();
            }
        });
        const bool loaded = win.loadBitmapFile(path);
        QCoreApplication::processEvents();  // the timer must not outlive this call
        return loaded;
    }

    // Answers the message box that the next action opens, keeping its text.
    void answerNextMessageBox() {
        QTimer::singleShot(0, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr) << "no message box";
            boxTexts.append(box->text());
            box->button(QMessageBox::Ok)->click();
        });
    }

    // Shows the window modally with `user` acting inside; returns how it was closed.
    int runWindow(const std::function<void()>& user) {
        QTimer::singleShot(0, &win, [this, user] {
            if (QTest::qWaitForWindowExposed(&win)) {
                user();
            } else {
                ADD_FAILURE() << "the window did not show";
            }
            if (win.isVisible()) {
                ADD_FAILURE() << "the window is still open";
                win.reject();
            }
        });
        return win.exec();
    }

    QRgb previewColour(int x, int y) const {
        return win.previewSurface().pixel(2 * x - 2, 2 * y - 2);
    }
    QRgb shown(stipple::Pixel value) const { return 0xFF000000u | session.displayColour(value); }
    template <class T>
    T* named(const char* name) const {
        return control<T>(&win, name);
    }
    QWidget* bitmapView() const { return named<QWidget>("bmp1"); }
    QWidget* previewView() const { return named<QWidget>("bmp2"); }
    QScrollBar* slider() const { return named<QScrollBar>("ScrollBar1"); }
    QPushButton* okButton() const { return named<QPushButton>("BitBtn1"); }

    QTemporaryDir folder{QStringLiteral(STIPPLE_TEST_TMP_DIR "/bmpwin-XXXXXX")};
    stipple::testing::FakeHost host;
    stipple::Session session{host};
    const stipple::Picture& picture = session.picture();
    stipple::ui::BitmapImportDialog win{session};
    QStringList boxTexts;
};

TEST_F(BitmapImportDialogTest, StartsWithFramedEmptyAreasAndTheSliderAt64) {
    EXPECT_EQ(win.windowTitle(), "Bitmap Image Open Dialog");
    EXPECT_EQ(named<QLabel>("Label1")->text(), "Image");
    EXPECT_EQ(named<QLabel>("Label2")->text(), "Preview");
    EXPECT_EQ(named<QPushButton>("BitBtn3")->text(), "Open BMP");
    EXPECT_EQ(named<QPushButton>("BitBtn2")->text(), "Cancel");
    EXPECT_EQ(okButton()->text(), "OK");
    EXPECT_EQ(bitmapView()->geometry(), QRect(33, 24, 273, 223));
    EXPECT_EQ(previewView()->geometry(), QRect(328, 24, 200, 200));
    EXPECT_EQ(slider()->geometry(), QRect(8, 24, 16, 225));
    EXPECT_EQ(slider()->orientation(), Qt::Vertical);
    EXPECT_EQ(slider()->minimum(), 1);
    EXPECT_EQ(slider()->maximum(), 200);
    EXPECT_EQ(slider()->value(), 64);
    EXPECT_EQ(win.import().levelStep, 64);
    for (QWidget* w : win.findChildren<QWidget*>()) {
        EXPECT_TRUE(win.rect().contains(w->geometry())) << w->objectName().toStdString();
    }
    for (QPushButton* b : win.findChildren<QPushButton*>()) {
        // Qt asks 80 for any button with a text; the layout's 75 is enough when the
        // text and the button's margins fit.
        const int margin = b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(b->text()) + 2 * margin, b->width())
            << b->text().toStdString();
    }
    // The drawing surfaces are made as the window first shows.
    EXPECT_TRUE(win.bitmapSurface().isNull());
    win.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&win));
    for (const QImage* surface : {&win.bitmapSurface(), &win.previewSurface()}) {
        const int r = surface->width() - 1, b = surface->height() - 1;
        for (QPoint frame : {QPoint(0, 0), QPoint(r, 0), QPoint(0, b), QPoint(r, b)}) {
            EXPECT_EQ(surface->pixel(frame), kBlack);
        }
        EXPECT_EQ(surface->pixel(1, 1), kWhite);
        EXPECT_EQ(surface->pixel(r - 1, b - 1), kWhite);
    }
    EXPECT_EQ(win.bitmapSurface().size(), QSize(273, 223));
    EXPECT_EQ(win.previewSurface().size(), QSize(200, 200));
}

TEST_F(BitmapImportDialogTest, ReadsEveryDepthBottomUpAndTopDown) {
    struct Case {
        int bpp;
        bool topDown;
        std::vector<QRgb> palette;
    };
    const Case cases[] = {
        {1, false, {kRed, kWhite}},
        {1, true, {kWhite, kBlack}},
        {4, false, {kBlack, kRed, kSilver, kWhite}},
        {4, true, {kWhite, kSilver, kRed}},
        {8, false, {kSilver, kBlack, kWhite, kRed}},
        {8, true, {kRed, kBlack, kSilver, kWhite}},
        {24, false, {kBlack, kRed, kSilver, kWhite}},
        {24, true, {kWhite, kSilver, kRed, kBlack}},
        {32, false, {kRed, kSilver, kWhite, kBlack}},
        {32, true, {kBlack, kWhite, kRed, kSilver}},
    };
    // Five wide, so that every depth pads its rows.
    constexpr int kWidth = 5, kHeight = 3;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.bpp << " bits, " << (c.topDown ? "top-down" : "bottom-up"));
        const int colours = static_cast<int>(c.palette.size());
        std::vector<std::vector<int>> rows(kHeight, std::vector<int>(kWidth));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                rows[y][x] = (x + 2 * y) % colours;
            }
        }
        ASSERT_TRUE(load(writeFile("depth.bmp", bitmapBytes(c.bpp, c.topDown, c.palette, rows))));
        EXPECT_EQ(win.sourceBitmap().size(), QSize(kWidth, kHeight));
        EXPECT_EQ(win.import().importWidth, kWidth);
        EXPECT_EQ(win.import().importHeight, kHeight);
        EXPECT_EQ(bitmapView()->size(), QSize(kWidth, kHeight));
        EXPECT_EQ(previewView()->size(), QSize(2 * kWidth, 2 * kHeight));
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const QRgb colour = c.palette[rows[y][x]];
                EXPECT_EQ(win.bitmapSurface().pixel(x, y), colour) << x << "," << y;
                EXPECT_EQ(win.import().importPixels[x + 1][y + 1], levelAt64(colour))
                    << x << "," << y;
                EXPECT_EQ(previewColour(x + 1, y + 1), shown(levelAt64(colour)));
            }
        }
    }
}

// An RLE8 bitmap of `width` x `height` with a white and a red palette entry: `data` is the
// compressed pixel stream, starting with the bottom row.
QByteArray rle8Bytes(int width, int height, const QByteArray& data) {
    QByteArray b = bitmapBytes(8, false, {kWhite, kRed}, {std::vector<int>(width, 0)});
    b.truncate(14 + 40 + 2 * 4);
    const auto put32 = [&b](int at, int v) {
        for (int i = 0; i < 4; ++i) {
            b[at + i] = char((v >> (8 * i)) & 0xFF);
        }
    };
    put32(2, static_cast<int>(b.size() + data.size()));
    put32(22, height);
    put32(30, 1);  // RLE8
    put32(34, static_cast<int>(data.size()));
    return b + data;
}

TEST_F(BitmapImportDialogTest, PixelsAnRleBitmapSkipsAreBlackEveryTime) {
    struct Case {
        const char* name;
        QByteArray data;
        std::vector<std::vector<int>> levels;  // top row first
    };
    const Case cases[] = {
        {"ends at once", QByteArray("\x00\x01", 2), {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
        // Bottom row: two red pixels; a delta one right and one up; one white pixel; the end.
        {"delta",
         QByteArray("\x02\x01\x00\x02\x01\x01\x01\x00\x00\x01", 10),
         {{0, 0, 0, 0}, {0, 0, 0, 3}, {1, 1, 0, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = writeFile("rle.bmp", rle8Bytes(4, 3, c.data));
        for (int attempt = 0; attempt < 2; ++attempt) {
            ASSERT_TRUE(load(path));
            ASSERT_EQ(win.import().importWidth, 4);
            ASSERT_EQ(win.import().importHeight, 3);
            for (int y = 0; y < 3; ++y) {
                for (int x = 0; x < 4; ++x) {
                    EXPECT_EQ(win.import().importPixels[x + 1][y + 1], c.levels[y][x])
                        << x << "," << y;
                }
            }
        }
    }
}

TEST_F(BitmapImportDialogTest, TakesTheTopLeftOfALargeBitmapAndOkCopiesIt) {
    EXPECT_FALSE(okButton()->isEnabled());
    ASSERT_TRUE(load(writeRamp()));
    EXPECT_TRUE(okButton()->isEnabled());
    EXPECT_EQ(bitmapView()->size(), QSize(100, 100));
    EXPECT_EQ(win.bitmapSurface().pixel(99, 99), qRgb(198, 198, 198));
    EXPECT_EQ(win.bitmapSurface().pixel(100, 100), kWhite);  // the old empty area beyond
    EXPECT_EQ(win.import().importWidth, 96);
    EXPECT_EQ(win.import().importHeight, 92);
    EXPECT_EQ(previewView()->size(), QSize(192, 184));
    for (int x = 1; x <= 96; ++x) {
        for (int y = 1; y <= 92; ++y) {
            ASSERT_EQ(win.import().importPixels[x][y], std::min((x + y - 2) / 64, 3))
                << x << "," << y;
        }
    }
    EXPECT_EQ(previewColour(96, 92), shown(2));
    EXPECT_EQ(win.previewSurface().pixel(191, 183), shown(2));

    changeState(session, [&](SessionState& st) {
        stipple::testing::setPicture(st.picture(), {"444", "444"});
    });
    changeState(session, [&](SessionState& st) { st.picture().pixels[96][92] = 4; });
    const int presented = host.presentCount;
    EXPECT_EQ(runWindow([this] { QTest::mouseClick(okButton(), Qt::LeftButton); }),
              QDialog::Accepted);
    EXPECT_EQ(picture.width, 96);
    EXPECT_EQ(picture.height, 92);
    EXPECT_EQ(picture.pixels[1][1], 0);
    EXPECT_EQ(picture.pixels[96][92], 2);
    for (int x = 1; x <= 96; ++x) {
        for (int y = 1; y <= 92; ++y) {
            ASSERT_EQ(picture.pixels[x][y], win.import().importPixels[x][y]) << x << "," << y;
        }
    }
    EXPECT_GT(host.presentCount, presented);
}

TEST_F(BitmapImportDialogTest, RefusesBadFilesAndKeepsEverythingAsItWas) {
    const QByteArray good = bitmapBytes(24, false, {kRed, kWhite}, {{0, 1, 0}, {1, 0, 1}});
    QByteArray huge = good;
    huge[18] = '\x10';  // width 0x2710 = 10000
    huge[19] = '\x27';
    huge[22] = '\xF0';  // height -10000: top-down
    huge[23] = '\xD8';
    huge[24] = '\xFF';
    huge[25] = '\xFF';
    QImage pngImage(4, 4, QImage::Format_RGB32);
    pngImage.fill(kWhite);
    const QString png = folder.filePath(QStringLiteral("picture.png"));
    ASSERT_TRUE(QImageWriter(png, "png").write(pngImage));
    QFile cut(png);
    ASSERT_TRUE(cut.open(QIODevice::ReadWrite));
    ASSERT_TRUE(cut.resize(40));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder.bmp")));

    struct Case {
        QString path;
        QString text;  // the whole message, or a part of it after the path
    };
    const Case cases[] = {
        {writeFile("text.bmp", "just some words\r\n"), "Bitmap image is not valid."},
        {png, "is cut off: the file ends"},
        {writeFile("empty.bmp", ""), "Bitmap image is not valid."},
        {writeFile("header.bmp", good.left(30)), "is cut off: the file ends inside its header."},
        {writeFile("cut.bmp", good.left(good.size() - 5)),
         "is cut off: the file ends before all its pixels."},
        // Any size is read, but this one promises far more pixels than it holds.
        {writeFile("huge.bmp", huge), "is cut off: the file ends before all its pixels."},
        {folder.filePath(QStringLiteral("missing.bmp")), "No such file or directory."},
        {folder.filePath(QStringLiteral("folder.bmp")), "is a folder, not a bitmap file."},
    };

    ASSERT_TRUE(load(writeRamp()));
    slider()->setValue(100);
    const QImage source = win.sourceBitmap(), surface1 = win.bitmapSurface(),
                 surface2 = win.previewSurface();
    const BitmapImport before = win.import();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        boxTexts.clear();
        answerNextMessageBox();
        EXPECT_FALSE(win.loadBitmapFile(c.path));
        ASSERT_EQ(boxTexts.size(), 1);
        if (c.text.startsWith(QLatin1String("Bitmap"))) {
            EXPECT_EQ(boxTexts[0], c.text);
        } else {
            EXPECT_TRUE(boxTexts[0].contains(QDir::toNativeSeparators(c.path)))
                << boxTexts[0].toStdString();
            EXPECT_TRUE(boxTexts[0].contains(c.text)) << boxTexts[0].toStdString();
        }
        EXPECT_EQ(win.sourceBitmap(), source);
        EXPECT_EQ(win.bitmapSurface(), surface1);
        EXPECT_EQ(win.previewSurface(), surface2);
        EXPECT_EQ(bitmapView()->size(), QSize(100, 100));
        EXPECT_EQ(previewView()->size(), QSize(192, 184));
        EXPECT_EQ(slider()->value(), 100);
        EXPECT_EQ(std::memcmp(&win.import(), &before, sizeof before), 0);
    }
}

TEST_F(BitmapImportDialogTest, SliderSetsTheStepAndOpenBmpPutsItBackTo64) {
    // Red has intensity 85: 66 % gray at 64, white from step 28 down, black above 85.
    const QString path =
        writeFile("red.bmp", bitmapBytes(8, false, {kRed, kSilver}, {{0, 1}, {1, 0}}));
    ASSERT_TRUE(load(path));
    const struct {
        int position;
        stipple::Pixel red;
        stipple::Pixel silver;
    } steps[] = {{1, 3, 3}, {28, 3, 3}, {29, 2, 3}, {86, 0, 2}, {200, 0, 0}, {64, 1, 2}};
    for (const auto& s : steps) {
        slider()->setValue(s.position);
        EXPECT_EQ(win.import().levelStep, s.position);
        EXPECT_EQ(win.import().importPixels[1][1], s.red) << s.position;
        EXPECT_EQ(win.import().importPixels[2][1], s.silver) << s.position;
        EXPECT_EQ(previewColour(1, 1), shown(s.red)) << s.position;
    }

    // The keyboard moves it too: Up makes the step smaller and the picture lighter.
    slider()->setValue(86);
    QTest::keyClick(slider(), Qt::Key_Up);
    EXPECT_EQ(win.import().levelStep, 85);
    EXPECT_EQ(win.import().importPixels[1][1], 1);

    ASSERT_TRUE(load(path));
    EXPECT_EQ(slider()->value(), 64);
    EXPECT_EQ(win.import().levelStep, 64);
    EXPECT_EQ(win.import().importPixels[1][1], 1);
    EXPECT_EQ(previewColour(1, 1), shown(1));
}

TEST_F(BitmapImportDialogTest, DitherChoiceAndStepLabelUpdateThePreviewAtOnce) {
    auto* choice = named<QComboBox>("DitherChoice");
    ASSERT_EQ(choice->count(), 4);
    EXPECT_EQ(choice->itemText(0), QStringLiteral("Threshold"));
    EXPECT_EQ(choice->itemText(1), QString::fromUtf8("Floyd\u2013Steinberg"));
    EXPECT_EQ(choice->itemText(2), QStringLiteral("Atkinson"));
    EXPECT_EQ(choice->itemText(3), QString::fromUtf8("Ordered 4 \u00D7 4 (Bayer)"));
    EXPECT_EQ(choice->currentIndex(), 0);
    // The new row lies below every control of the layout.
    EXPECT_GE(choice->y(), 269);
    // Gray 160 everywhere: the cut gives 33 % gray, the ordered dither a checkerboard of
    // 66 % and 33 % gray that keeps the mean.
    QImage flat(4, 4, QImage::Format_RGB32);
    flat.fill(qRgb(160, 160, 160));
    ASSERT_TRUE(load(writeWithQt("flat.bmp", flat)));
    EXPECT_EQ(win.import().importPixels[1][1], 2);
    EXPECT_EQ(win.import().importPixels[2][1], 2);
    choice->setCurrentIndex(3);
    EXPECT_EQ(win.import().dither, stipple::Dither::Ordered);
    EXPECT_EQ(win.import().importPixels[1][1], 2);
    EXPECT_EQ(win.import().importPixels[2][1], 1);
    EXPECT_EQ(previewColour(2, 1), shown(1));
    slider()->setValue(120);
    EXPECT_EQ(named<QLabel>("LevelStepValue")->text(), QStringLiteral("120"));
}

TEST_F(BitmapImportDialogTest, CancelKeepsThePictureAndReopeningShowsTheMovedSlider) {
    ASSERT_TRUE(load(writeRamp()));
    changeState(session, [&](SessionState& st) {
        stipple::testing::setPicture(st.picture(), {"01", "23"});
    });
    EXPECT_EQ(runWindow([this] {
                  slider()->setValue(150);
                  QTest::mouseClick(named<QPushButton>("BitBtn2"), Qt::LeftButton);
              }),
              QDialog::Rejected);
    EXPECT_EQ(picture.width, 2);
    EXPECT_EQ(picture.pixels[2][2], 3);

    EXPECT_EQ(runWindow([this] {
                  EXPECT_EQ(slider()->value(), 150);
                  EXPECT_EQ(win.import().levelStep, 150);
                  EXPECT_EQ(win.import().importPixels[96][92], 1);  // intensity 186
                  EXPECT_EQ(previewColour(96, 92), shown(1));
                  win.close();  // the close box
              }),
              QDialog::Rejected);
    EXPECT_EQ(picture.width, 2);
}

TEST_F(BitmapImportDialogTest, OpenBmpAddsTheBmpSuffixToATypedName) {
    writeFile("typed.bmp", bitmapBytes(4, false, {kWhite}, {{0, 0, 0}}));
    const auto chooseInDialog = [this](const QString& name) {
        QTimer::singleShot(0, [name] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr) << "no file dialog";
            EXPECT_EQ(
                dialog->nameFilters(),
                (QStringList{"Bitmap files (*.bmp)", "PNG images (*.png)", "GIF images (*.gif)"}));
            if (name.isEmpty()) {
                dialog->reject();
                return;
            }
            dialog->selectFile(name);
            static_cast<QDialog*>(dialog)->accept();  // as the Open button does
        });
        win.chooseBitmapFile();
    };
    chooseInDialog(QString());
    EXPECT_EQ(win.import().importWidth, 0);
    chooseInDialog(folder.filePath(QStringLiteral("typed")));
    EXPECT_EQ(win.import().importWidth, 3);
    EXPECT_EQ(win.import().importPixels[3][1], 3);
}

}  // namespace

// A sheet of four 5 x 4 cells two pixels apart (black, white, transparent, gray) is cut into
// frames that replace the set in one step, the empty cell skipped; an animated GIF gives one
// frame per GIF frame without a cut.
TEST_F(BitmapImportDialogTest, CutsASheetAndAnAnimationIntoFramesOfTheSet) {
    QImage sheet(4 * 5 + 3 * 2, 4, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    const QRgb cells[] = {kBlack, kWhite, 0, qRgb(100, 100, 100)};
    for (int c = 0; c < 4; ++c) {
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 5; ++x) {
                sheet.setPixel(7 * c + x, y, cells[c]);
            }
        }
    }
    const QString path = folder.filePath(QStringLiteral("sheet.png"));
    ASSERT_TRUE(sheet.save(path));
    ASSERT_TRUE(load(path));
    auto* count = named<QLabel>("FrameCount");
    EXPECT_EQ(count->text(), "");
    named<QCheckBox>("FramesCut")->click();
    named<QSpinBox>("FrameWidth")->setValue(5);
    named<QSpinBox>("FrameHeight")->setValue(4);
    named<QSpinBox>("FrameSpacing")->setValue(2);
    EXPECT_EQ(count->text(), "OK makes 4 frames.");
    EXPECT_EQ(previewView()->size(), QSize(10, 8));      // the first cell
    EXPECT_NE(win.bitmapSurface().pixel(0, 0), kBlack);  // its outline
    named<QCheckBox>("SkipEmpty")->click();
    EXPECT_EQ(count->text(), "OK makes at most 4 frames.");
    named<QSpinBox>("FrameWidth")->setValue(27);
    EXPECT_EQ(count->text(), "No whole cell fits in the image.");
    EXPECT_FALSE(okButton()->isEnabled());
    named<QSpinBox>("FrameWidth")->setValue(5);

    EXPECT_EQ(runWindow([this] { QTest::mouseClick(okButton(), Qt::LeftButton); }),
              QDialog::Accepted);
    const stipple::Document& set = session.document();
    ASSERT_EQ(set.frameCount(), 3);
    const stipple::Pixel levels[] = {0, 3, 100 / 64};
    for (int f = 0; f < 3; ++f) {
        const stipple::Picture& frame = set.frames[std::size_t(f)].picture;
        EXPECT_EQ(frame.width, 5);
        EXPECT_EQ(frame.height, 4);
        EXPECT_EQ(frame.pixels[3][2], levels[f]) << f;
        EXPECT_EQ(set.frames[std::size_t(f)].name, set.setName + "_" + std::to_string(f + 1));
    }
    session.undoChange();
    EXPECT_EQ(session.document().frameCount(), 1);

    named<QCheckBox>("FramesCut")->click();
    const QString gif = folder.filePath(QStringLiteral("anim.gif"));
    const std::string make = "convert -delay 25 -size 6x5 xc:black xc:white xc:gray " +
                             gif.toStdString() + " 2>/dev/null";
    if (std::system(make.c_str()) != 0) {
        GTEST_SKIP() << "ImageMagick is missing";
    }
    ASSERT_TRUE(load(gif));
    EXPECT_EQ(count->text(), "OK makes 3 frames.");
    EXPECT_EQ(runWindow([this] { QTest::mouseClick(okButton(), Qt::LeftButton); }),
              QDialog::Accepted);
    ASSERT_EQ(session.document().frameCount(), 3);
    EXPECT_EQ(session.document().frameRate, 4);
    EXPECT_EQ(session.document().frames[1].picture.pixels[1][1], 3);
}

// A 400 x 300 PNG, more than the Image area shows: black left of x = 200, white right of it,
// and four colours in its bottom-right corner.
TEST_F(BitmapImportDialogTest, TheRegionFitLevelsAndExactColoursMakeThePictureOkTakes) {
    QImage image(400, 300, QImage::Format_ARGB32);
    image.fill(kWhite);
    for (int y = 0; y < 300; ++y) {
        for (int x = 0; x < 200; ++x) {
            image.setPixel(x, y, kBlack);
        }
    }
    const QRgb corner[] = {kBlack, kRed, kSilver, kWhite};
    for (int x = 380; x < 400; ++x) {
        image.setPixel(x, 290, corner[(x / 5) % 4]);
    }
    const QString path = folder.filePath(QStringLiteral("wide.png"));
    ASSERT_TRUE(image.save(path));
    ASSERT_TRUE(load(path));
    auto* x = named<QSpinBox>("RegionX");
    auto* y = named<QSpinBox>("RegionY");
    auto* w = named<QSpinBox>("RegionW");
    // The default is the top-left 96 x 92, framed on the Image area.
    EXPECT_EQ(
        (std::vector{x->value(), y->value(), w->value(), named<QSpinBox>("RegionH")->value()}),
        (std::vector{0, 0, 96, 92}));
    EXPECT_EQ(w->maximum(), 96);
    EXPECT_EQ(bitmapView()->grab().toImage().pixel(95, 50), 0xFF00A0FFu);
    EXPECT_EQ(win.bitmapSurface().pixel(95, 50), kBlack);  // the frame is drawn over it

    // Dragged right by 150: the region straddles the edge, half white.
    QTest::mousePress(bitmapView(), Qt::LeftButton, {}, QPoint(10, 10));
    QMouseEvent move(QEvent::MouseMove, QPointF(160, 10),
                     bitmapView()->mapToGlobal(QPointF(160, 10)), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(bitmapView(), &move);
    QTest::mouseRelease(bitmapView(), Qt::LeftButton, {}, QPoint(160, 10));
    EXPECT_EQ(x->value(), 150);
    EXPECT_EQ(previewColour(50, 1), shown(stipple::kBlack));
    EXPECT_EQ(previewColour(51, 1), shown(stipple::kWhite));

    // Fit keeps a region that was moved (scaled up by 1 it is itself); the whole image fits
    // into 96 x 72, its middle column the edge.
    auto* h = named<QSpinBox>("RegionH");
    named<QCheckBox>("FitChoice")->click();
    EXPECT_EQ(previewView()->size(), QSize(192, 184));
    x->setValue(0);
    w->setValue(400);
    h->setValue(300);
    EXPECT_EQ(previewView()->size(), QSize(192, 144));
    EXPECT_EQ(previewColour(48, 72), shown(stipple::kBlack));
    EXPECT_EQ(previewColour(49, 1), shown(stipple::kWhite));
    named<QSpinBox>("FitWidth")->setValue(40);
    EXPECT_EQ(previewView()->size(), QSize(80, 60));

    // Exact colours of the corner past what the Image area shows; a fifth colour is refused.
    named<QCheckBox>("FitChoice")->click();
    EXPECT_EQ((std::vector{w->value(), h->value()}), (std::vector{96, 92}));
    w->setValue(20);
    h->setValue(1);
    x->setValue(380);
    y->setValue(290);
    EXPECT_EQ(x->value(), 380);
    named<QCheckBox>("ExactColours")->click();
    EXPECT_FALSE(named<QComboBox>("DitherChoice")->isEnabled());
    EXPECT_EQ(named<QLabel>("ColoursNote")->text(), "");
    for (int cell = 1; cell <= 20; ++cell) {
        const stipple::Pixel levels[] = {stipple::kBlack, stipple::kGray66, stipple::kGray33,
                                         stipple::kWhite};
        EXPECT_EQ(win.import().importPixels[cell][1], levels[((379 + cell) / 5) % 4]) << cell;
    }
    y->setValue(289);
    h->setValue(2);  // and white above them: still four
    EXPECT_TRUE(okButton()->isEnabled());
    named<QComboBox>("GraysChoice")->setCurrentIndex(1);
    EXPECT_EQ(named<QLabel>("ColoursNote")->text(), "4 colours: too many.");
    EXPECT_EQ(named<QLabel>("ColoursNote")->toolTip(),
              "The region has 4 colours, more than the two that exact colours take.");
    EXPECT_EQ(previewColour(1, 1), shown(stipple::kTransparent));
    EXPECT_FALSE(okButton()->isEnabled());
    named<QCheckBox>("ExactColours")->click();

    // Black and white, dithered, and OK puts it into the session.
    named<QComboBox>("DitherChoice")->setCurrentIndex(1);
    EXPECT_EQ(runWindow([this] { QTest::mouseClick(okButton(), Qt::LeftButton); }),
              QDialog::Accepted);
    EXPECT_EQ(picture.width, 20);
    EXPECT_EQ(picture.height, 2);
    for (int cell = 1; cell <= 20; ++cell) {
        EXPECT_EQ(picture.pixels[cell][1], stipple::kWhite) << cell;
        const stipple::Pixel p = picture.pixels[cell][2];
        EXPECT_TRUE(p == stipple::kBlack || p == stipple::kWhite) << cell;
    }
}
