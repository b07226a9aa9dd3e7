#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "photo/fitting_canvas.h"
#include "photo/photo_texts.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"

namespace vellumo {
namespace {

struct FitCase {
    const char* label;
    Fit fit;
    QRect box;
    QSize panel;
};

TEST(FitRules, IntegerArithmeticOfEveryRule) {
    const FitCase cases[] = {
        // Tiles: the box is the tile less 6, framed by 3 pixels.
        {"tile 4000x3000", fitContainWithFrame(100, 80, 4000, 3000), {3, 3, 94, 70}, {100, 76}},
        {"tile portrait", fitContainWithFrame(100, 80, 3000, 4000), {3, 3, 55, 74}, {61, 80}},
        {"tile square", fitContainWithFrame(100, 80, 500, 500), {3, 3, 74, 74}, {80, 80}},
        // The main display without medium: a landscape photo fills the width and may overrun.
        {"landscape full",
         fitContain(800, 450, 4000, 3000, false, true),
         {0, 0, 800, 600},
         {800, 600}},
        {"square full",
         fitContain(800, 450, 2000, 2000, false, true),
         {0, 0, 800, 800},
         {800, 800}},
        // Medium: 6 pixels smaller and the whole photo inside.
        {"landscape medium",
         fitContain(800, 450, 4000, 3000, true, true),
         {0, 0, 592, 444},
         {592, 444}},
        {"wide medium", fitContain(800, 450, 1000, 400, true, true), {0, 0, 794, 317}, {794, 317}},
        {"portrait medium",
         fitContain(800, 450, 3000, 4000, false, true),
         {0, 0, 333, 444},
         {333, 444}},
        {"portrait plain",
         fitContain(800, 450, 3000, 4000, true, false),
         {0, 0, 337, 450},
         {337, 450}},
        {"portrait narrow box",
         fitContain(100, 1000, 300, 400, false, false),
         {0, 0, 100, 133},
         {100, 133}},
        // Cover: fills the panel, centred horizontally with signed division.
        {"cover 4:3", fitCover(800, 450, 4000, 3000), {0, 0, 800, 600}, {800, 450}},
        {"cover wide", fitCover(800, 450, 1000, 300), {-350, 0, 1500, 450}, {800, 450}},
        {"cover odd", fitCover(801, 450, 1001, 300), {-350, 0, 1501, 450}, {801, 450}},
        {"cover portrait", fitCover(1920, 1080, 3000, 4000), {0, 0, 1920, 2560}, {1920, 1080}},
    };
    for (const FitCase& c : cases) {
        EXPECT_EQ(c.fit.pictureBox, c.box) << c.label;
        EXPECT_EQ(c.fit.panel, c.panel) << c.label;
    }
}

QImage solid(QSize size, QColor color) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

TEST(FittingCanvas, CapturesTheStretchedPictureOnWhite) {
    test::TempFolder temp;
    const QString photo = temp.path() + "red.jpg";
    writeJpeg(solid({400, 300}, Qt::red), photo);

    FittingCanvas canvas;
    canvas.hideBadge();
    canvas.setPanelSize({200, 100});
    canvas.setPictureBox({50, 10, 100, 80});
    ASSERT_TRUE(canvas.loadPhoto(photo));
    EXPECT_EQ(canvas.fileName(), photo);
    const QImage shot = canvas.capture();
    EXPECT_EQ(shot.size(), QSize(200, 100));
    EXPECT_EQ(shot.pixelColor(10, 50), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(195, 95), QColor(Qt::white));
    const QColor inside = shot.pixelColor(100, 50);
    EXPECT_GT(inside.red(), 230);
    EXPECT_LT(inside.green(), 30);

    canvas.clearPicture();
    EXPECT_FALSE(canvas.hasPicture());
    EXPECT_EQ(canvas.capture().pixelColor(100, 50), QColor(Qt::white));
}

TEST(FittingCanvas, BadgeShowsTheNumberOnYellow) {
    FittingCanvas canvas;
    canvas.apply(fitContainWithFrame(100, 80, 4000, 3000));
    canvas.showBadge(7);
    EXPECT_EQ(canvas.badgeText(), texts::kBadgeFormat.arg(7));
    const QImage shot = canvas.capture();
    EXPECT_EQ(shot.size(), QSize(100, 76));
    EXPECT_EQ(shot.pixelColor(4, 4), QColor(Qt::yellow));
    canvas.hideBadge();
    EXPECT_EQ(canvas.capture().pixelColor(4, 4), QColor(Qt::white));
}

TEST(FittingCanvas, BitmapsBecomeJpegsUnderTheTargetName) {
    test::TempFolder temp;
    writeBitmap(solid({80, 45}, Qt::blue), temp.path() + "wj_y_l_b_j.bmp");
    saveAsJpeg(temp.path() + "wj_y_l_b_j.bmp", temp.path() + "wj_y_l_b_j.bmp");
    const QImage jpeg(temp.path() + "wj_y_l_b_j.jpg");
    ASSERT_FALSE(jpeg.isNull());
    EXPECT_EQ(jpeg.size(), QSize(80, 45));
    EXPECT_GT(jpeg.pixelColor(40, 20).blue(), 230);

    EXPECT_THROW(saveAsJpeg(temp.path() + "missing.bmp", temp.path() + "x.jpg"), FileError);
    EXPECT_THROW(writeJpeg(solid({8, 8}, Qt::red), temp.path() + "no/such/folder/x.jpg"),
                 FileError);
}

}  // namespace
}  // namespace vellumo
