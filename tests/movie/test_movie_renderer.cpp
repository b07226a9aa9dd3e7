// Frames of a movie: where a picture lands at each player size, what a missing picture draws,
// fits, reveals and opacity, and that a frame is always the same picture.

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "tests/support/test_files.h"
#include "workspace/packed_file.h"

namespace vellumo::movie {
namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kBlue = qRgb(0, 0, 255);

// A movie in a temporary folder, with solid-colour PNG pictures beside it.
class Scene {
public:
    void picture(const QString& name, QSize size, QRgb color) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(color);
        picture(name, image);
    }
    void picture(const QString& name, const QImage& image) {
        ASSERT_TRUE(image.save(temp_.path() + name));
    }
    MovieRenderer renderer(const QByteArray& body, QSize size) {
        const QString path = temp_.write(
            "scene.movie", QByteArray("vellumo-movie 1\nframes 50\nbackground black\n") + body);
        auto movie = std::make_shared<const Movie>(readMovie(path));
        return MovieRenderer(movie, readMoviePictures(*movie), size);
    }

private:
    test::TempFolder temp_;
};

// Pixels of a solid rectangle with pixel-aligned edges: inside is color, outside is black.
void expectRectangle(const QImage& frame, const QRect& rect, QRgb color) {
    EXPECT_EQ(frame.pixel(rect.topLeft()), color);
    EXPECT_EQ(frame.pixel(rect.bottomRight()), color);
    EXPECT_EQ(frame.pixel(rect.center()), color);
    EXPECT_EQ(frame.pixel(rect.left() - 1, rect.center().y()), kBlack);
    EXPECT_EQ(frame.pixel(rect.right() + 1, rect.center().y()), kBlack);
    EXPECT_EQ(frame.pixel(rect.center().x(), rect.top() - 1), kBlack);
    EXPECT_EQ(frame.pixel(rect.center().x(), rect.bottom() + 1), kBlack);
}

TEST(MovieRenderer, ABoxedPictureLandsOnTheScaledPixelsAtEverySize) {
    Scene scene;
    scene.picture("red.png", QSize(64, 36), kRed);
    // Reference units that are whole pixels at both sizes (12 units = 5 pixels at 800).
    const QByteArray body = "image red red.png\n  box 480 276 960 528\n";
    const QImage small = scene.renderer(body, QSize(800, 450)).render(0);
    ASSERT_EQ(small.size(), QSize(800, 450));
    expectRectangle(small, QRect(QPoint(200, 115), QPoint(599, 334)), kRed);
    const QImage large = scene.renderer(body, QSize(1920, 1080)).render(0);
    ASSERT_EQ(large.size(), QSize(1920, 1080));
    expectRectangle(large, QRect(QPoint(480, 276), QPoint(1439, 803)), kRed);
}

TEST(MovieRenderer, APictureWithoutABoxShowsAtItsOwnSizeCentred) {
    // A single-photo template: the photo staged at 600 x 450 for an 800 x 450 player fills the
    // height and keeps its aspect; staged at 1440 x 1080 for 1920 x 1080 it does the same.
    Scene scene;
    scene.picture("p800.png", QSize(600, 450), kRed);
    scene.picture("p1920.png", QSize(1440, 1080), kRed);
    const QImage small = scene.renderer("image p p800.png\n", QSize(800, 450)).render(3);
    EXPECT_EQ(small.pixel(100, 225), kRed);
    EXPECT_EQ(small.pixel(699, 225), kRed);
    EXPECT_EQ(small.pixel(99, 225), kBlack);
    EXPECT_EQ(small.pixel(700, 225), kBlack);
    const QImage large = scene.renderer("image p p1920.png\n", QSize(1920, 1080)).render(3);
    EXPECT_EQ(large.pixel(240, 0), kRed);
    EXPECT_EQ(large.pixel(1679, 1079), kRed);
    EXPECT_EQ(large.pixel(239, 540), kBlack);
    EXPECT_EQ(large.pixel(1680, 540), kBlack);
}

TEST(MovieRenderer, AMissingPictureDrawsNothingForItsLayerOnly) {
    Scene scene;
    scene.picture("blue.png", QSize(10, 10), kBlue);
    MovieRenderer renderer = scene.renderer(
        "image gone \"not there.jpg\"\n  box 0 0 1920 1080\n  border 20 white\n"
        "  shadow 10 10 10 black\n"
        "image blue blue.png\n  box 0 0 960 540\n",
        QSize(800, 450));
    EXPECT_FALSE(renderer.layerDrawable(0));
    EXPECT_TRUE(renderer.layerDrawable(1));
    const QImage frame = renderer.render(0);
    EXPECT_EQ(frame.pixel(100, 100), kBlue);
    EXPECT_EQ(frame.pixel(600, 300), kBlack);
    EXPECT_EQ(frame.pixel(799, 449), kBlack);
}

TEST(MovieRenderer, AFileThatIsNoPictureDrawsNothing) {
    test::TempFolder temp;
    temp.write("broken.jpg", "not a jpeg at all");
    const QString path = temp.write("m.movie", "vellumo-movie 1\nframes 2\nimage b broken.jpg\n");
    auto movie = std::make_shared<const Movie>(readMovie(path));
    const MoviePictures pictures = readMoviePictures(*movie);
    EXPECT_TRUE(pictures.value(QStringLiteral("broken.jpg")).image.isNull());
    const QImage frame = MovieRenderer(movie, pictures, QSize(80, 45)).render(0);
    EXPECT_EQ(frame.pixel(40, 22), kBlack);
}

TEST(MovieRenderer, AFrameRenderedTwiceIsTheSamePicture) {
    Scene scene;
    QImage photo(300, 200, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        for (int x = 0; x < photo.width(); ++x) {
            photo.setPixel(x, y, qRgb(x % 256, y % 256, (x * y) % 256));
        }
    }
    scene.picture("bg.png", QSize(800, 450), qRgb(30, 60, 90));
    scene.picture("photo.png", photo);
    const QByteArray body =
        "image bg bg.png\n  box 0 0 1920 1080\n"
        "shape glow ellipse\n  size 900 600\n  fill radial #ffffffc0 #ffffff00\n"
        "  at 0 rotation 0\n  at 40 rotation 90 ease-in-out\n"
        "image p photo.png\n  size 720 480\n  border 12 white\n  shadow 8 12 20 #00000080\n"
        "  reveal-style iris\n  at 0 reveal 0 rotation -10 scale 0.5 opacity 0\n"
        "  at 30 reveal 1 rotation 5 scale 1.1 opacity 1 spring\n"
        "text t \"相册 Album\"\n  font-size 90\n  shadow 0 4 8 black\n  at 10 y 900 opacity 0\n"
        "  at 40 y 800 opacity 1 back\n";
    const MovieRenderer first = scene.renderer(body, QSize(640, 360));
    const MovieRenderer second = scene.renderer(body, QSize(640, 360));
    for (double frame : {0.0, 7.0, 17.0, 23.5, 49.0}) {
        const QImage a = first.render(frame);
        QImage b;
        first.render(frame, b);
        EXPECT_EQ(a, b) << frame;
        EXPECT_EQ(a, second.render(frame)) << frame;
    }
    EXPECT_NE(first.render(10), first.render(20));
}

TEST(MovieRenderer, FitsPlaceThePictureInItsBox) {
    Scene scene;
    scene.picture("wide.png", QSize(400, 100), kRed);  // 4:1 in a 2:1 box
    const QByteArray box = "  box 480 270 960 480\n";
    // contain: the whole picture, 960 x 240 units, centred in the box: rows 390 to 629.
    const QImage contain =
        scene.renderer("image w wide.png\n" + box + "  fit contain\n", QSize(1920, 1080)).render(0);
    expectRectangle(contain, QRect(QPoint(480, 390), QPoint(1439, 629)), kRed);
    // cover and stretch fill the box.
    for (const char* fit : {"cover", "stretch"}) {
        const QImage frame =
            scene.renderer("image w wide.png\n" + box + "  fit " + fit + "\n", QSize(1920, 1080))
                .render(0);
        expectRectangle(frame, QRect(QPoint(480, 270), QPoint(1439, 749)), kRed);
    }
}

TEST(MovieRenderer, RevealOpacityVisibilityAndBorder) {
    Scene scene;
    scene.picture("red.png", QSize(16, 9), kRed);
    const QSize size(192, 108);
    // A wipe from the left half way: the left half shows.
    QImage frame = scene
                       .renderer(
                           "image r red.png\n  box 0 0 1920 1080\n  reveal-style from-left\n"
                           "  at 0 reveal 0\n  at 10 reveal 1\n",
                           size)
                       .render(5);
    EXPECT_EQ(frame.pixel(40, 54), kRed);
    EXPECT_EQ(frame.pixel(150, 54), kBlack);
    // Half opacity over black.
    frame = scene.renderer("image r red.png\n  box 0 0 1920 1080\n  opacity 0.5\n", size).render(0);
    EXPECT_NEAR(qRed(frame.pixel(96, 54)), 128, 2);
    EXPECT_EQ(qGreen(frame.pixel(96, 54)), 0);
    // Outside its visible frames a layer is not drawn.
    MovieRenderer timed =
        scene.renderer("image r red.png\n  box 0 0 1920 1080\n  visible 10 20\n", size);
    EXPECT_EQ(timed.render(9).pixel(96, 54), kBlack);
    EXPECT_EQ(timed.render(10).pixel(96, 54), kRed);
    EXPECT_EQ(timed.render(20).pixel(96, 54), kRed);
    EXPECT_EQ(timed.render(21).pixel(96, 54), kBlack);
    // A frame lies outside the picture's box.
    frame = scene.renderer("image r red.png\n  box 480 270 960 540\n  border 60 #0000ff\n", size)
                .render(0);
    EXPECT_EQ(frame.pixel(96, 54), kRed);
    EXPECT_EQ(frame.pixel(45, 54), kBlue);
    EXPECT_EQ(frame.pixel(40, 54), kBlack);
}

TEST(MovieRenderer, ACoveringLayerHidesWhatIsUnderIt) {
    // The layers under an opaque full-stage picture are skipped; the frame must not change.
    Scene scene;
    scene.picture("red.png", QSize(32, 18), kRed);
    scene.picture("blue.png", QSize(32, 18), kBlue);
    MovieRenderer renderer = scene.renderer(
        "image under red.png\n  box 0 0 1920 1080\n"
        "image over blue.png\n  box 0 0 1920 1080\n  at 0 opacity 0.5\n  at 10 opacity 1\n",
        QSize(96, 54));
    EXPECT_GT(qRed(renderer.render(0).pixel(48, 27)), 100);
    EXPECT_EQ(renderer.render(10).pixel(48, 27), kBlue);
    EXPECT_EQ(renderer.render(10).pixel(0, 0), kBlue);
}

TEST(MovieRenderer, ShapesAndTextsDraw) {
    Scene scene;
    const QImage frame =
        scene
            .renderer(
                "shape sky rect\n  fill linear 90 #ff0000 #0000ff\n"
                "shape dot ellipse\n  box 860 440 200 200\n  fill #00ff00\n"
                "text t \"字\"\n  font-size 200\n  color white\n  position 1700 200\n",
                QSize(192, 108))
            .render(0);
    // A vertical gradient from red at the top to blue at the bottom, a green dot in the middle.
    EXPECT_GT(qRed(frame.pixel(10, 1)), 240);
    EXPECT_GT(qBlue(frame.pixel(10, 106)), 240);
    EXPECT_EQ(frame.pixel(96, 54), qRgb(0, 255, 0));
    // Some white of the text near where it stands.
    int white = 0;
    for (int y = 5; y < 35; ++y) {
        for (int x = 155; x < 185; ++x) {
            white += qGreen(frame.pixel(x, y)) > 200 && qRed(frame.pixel(x, y)) > 200;
        }
    }
    EXPECT_GT(white, 20);
}

TEST(MovieRenderer, AbsurdSizesGiveCoarseImagesNotExhaustedMemory) {
    // Sixty texts as tall as the stage, shown a hundred times enlarged, each with a shadow:
    // prepared at full resolution they would need tens of gigabytes.
    Scene scene;
    QByteArray body;
    for (int i = 0; i < 60; ++i) {
        body += "text t" + QByteArray::number(i) +
                " \"很大的字\"\n  font-size 2000\n  shadow 5 5 400 black\n  at 0 scale 1\n"
                "  at 49 scale 100\n";
    }
    const MovieRenderer renderer = scene.renderer(body, QSize(800, 450));
    EXPECT_EQ(renderer.render(49).size(), QSize(800, 450));
}

TEST(MovieRenderer, EmptySizeDrawsNothing) {
    Scene scene;
    MovieRenderer renderer = scene.renderer("", QSize(0, 0));
    EXPECT_TRUE(renderer.isNull());
    EXPECT_TRUE(renderer.render(0).isNull());
}

}  // namespace
}  // namespace vellumo::movie
