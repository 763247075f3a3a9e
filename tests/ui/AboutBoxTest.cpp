// The About box: its picture, its texts over the picture, and OK.
#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "ui/AboutBox.h"
#include "ui/Controls.h"

namespace {

using stipple::testing::control;
using stipple::ui::AboutBox;

QRgb shownPixel(QWidget* widget, QPoint at) {
    return widget->grab(QRect(at, QSize(1, 1))).toImage().pixel(0, 0) & 0xFFFFFF;
}

TEST(AboutBoxTest, ShowsTheDecodedPictureStretchedOverTheSkyBlueWindow) {
    AboutBox about;
    EXPECT_EQ(about.size(), QSize(332, 240));
    EXPECT_EQ(about.palette().color(QPalette::Window), QColor(0xA6, 0xCA, 0xF0));
    EXPECT_FALSE(about.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(about.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(about.windowFlags() & Qt::WindowCloseButtonHint);

    const auto* picture = control<QLabel>(&about, "Image1");
    EXPECT_EQ(picture->geometry(), QRect(0, 0, 332, 240));
    // Decoded as the box first shows, not before.
    EXPECT_TRUE(picture->pixmap().isNull());
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(picture->pixmap().size(), QSize(332, 240));
    // The sun of the picture, below the version line: warm, unlike the plain background.
    const QColor sun = QColor::fromRgb(shownPixel(&about, {252, 75}));
    EXPECT_GT(sun.red(), 0xE0);
    EXPECT_LT(sun.blue(), 0xC0);
}

TEST(AboutBoxTest, NameVersionAndAuthorLieOnThePicture) {
    AboutBox about;
    struct Caption {
        QLabel* label;
        const char* text;
        QPoint at;
    };
    const Caption titles[] = {
        {control<QLabel>(&about, "Label2"), "Vexlan", {30, 17}},
        {control<QLabel>(&about, "Label3"), "Stippleworkshop", {136, 17}},
        {control<QLabel>(&about, "Label4"), "ver. 1.4 beta", {191, 44}},
    };
    for (const Caption& c : titles) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.label->text(), c.text);
        EXPECT_EQ(c.label->pos(), c.at);
        EXPECT_TRUE(c.label->font().bold());
        EXPECT_EQ(c.label->font().pixelSize(), 16);
        EXPECT_EQ(c.label->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));
        EXPECT_FALSE(c.label->autoFillBackground());
    }
    // "Vexlan" ends before "Stippleworkshop" begins, so the two read as one name.
    EXPECT_LT(titles[0].label->geometry().right(), titles[1].label->x());

    const auto* author = control<QLabel>(&about, "Label1");
    EXPECT_EQ(author->pos(), QPoint(65, 225));
    EXPECT_FALSE(author->text().isEmpty());
    EXPECT_FALSE(author->font().bold());
    EXPECT_TRUE(QRect(0, 0, 332, 240).contains(author->geometry()));
    EXPECT_TRUE(QRect(0, 0, 332, 240).contains(titles[1].label->geometry()));
    EXPECT_TRUE(QRect(0, 0, 332, 240).contains(titles[2].label->geometry()));
}

TEST(AboutBoxTest, OkClosesWithOk) {
    AboutBox about;
    auto* ok = control<QPushButton>(&about, "Button1");
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_EQ(ok->geometry(), QRect(96, 193, 57, 25));
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

}  // namespace
