// Format version 2 of template movies: cubic Bezier easings, pictures moving inside a fixed box
// and groups of layers; what each accepts, refuses with which message, and where it puts pixels.
// A version 1 file keeps reading and drawing as before.

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

#include "movie/movie_animation.h"
#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "movie/movie_texts.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/workspace_texts.h"

namespace vellumo::movie {
namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kGreen = qRgb(0, 255, 0);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kYellow = qRgb(255, 255, 0);

QByteArray v2(const char* body) {
    return QByteArray("vellumo-movie 2\nframes 100\n") + body;
}

// The message for a problem at a line of "m.movie".
QString lineMessage(int line, const QString& problem) {
    return texts::kFileErrorFormat.arg(QStringLiteral("m.movie"),
                                       texts::kMovieAtLine.arg(line).arg(problem));
}

QString parseError(const QByteArray& bytes) {
    try {
        parseMovie(bytes, QStringLiteral("m.movie"));
    } catch (const FileError& e) {
        return e.message();
    }
    return QStringLiteral("(parsed)");
}

Movie parse(const QByteArray& bytes) {
    return parseMovie(bytes, QStringLiteral("m.movie"));
}

// A movie of 50 frames in a temporary folder, with PNG pictures beside it.
class Scene {
public:
    void picture(const QString& name, const QImage& image) {
        ASSERT_TRUE(image.save(temp_.path() + name));
    }
    MovieRenderer renderer(const QByteArray& body, QSize size, int version = 2) {
        const QString path =
            temp_.write("scene.movie", "vellumo-movie " + QByteArray::number(version) +
                                           "\nframes 50\nbackground black\n" + body);
        auto movie = std::make_shared<const Movie>(readMovie(path));
        return MovieRenderer(movie, readMoviePictures(*movie), size);
    }

private:
    test::TempFolder temp_;
};

// A 200 x 100 picture in four quarters: red, green / blue, white.
QImage quarters() {
    QImage image(200, 100, QImage::Format_RGB32);
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x) {
            image.setPixel(x, y, y < 50 ? (x < 100 ? kRed : kGreen) : (x < 100 ? kBlue : kWhite));
        }
    }
    return image;
}

// The smallest rectangle holding every pixel of exactly that colour.
QRect boundsOf(const QImage& frame, QRgb color) {
    QRect bounds;
    for (int y = 0; y < frame.height(); ++y) {
        for (int x = 0; x < frame.width(); ++x) {
            if (frame.pixel(x, y) == color) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

TEST(MovieVersion2, TheHeaderDeclaresTheVersionAndVersionOneRefusesItsWords) {
    EXPECT_EQ(parse("vellumo-movie 1\nframes 10\n").version, 1);
    EXPECT_EQ(parse(v2("")).version, 2);
    EXPECT_EQ(parseError("vellumo-movie 3\nframes 10\n"),
              lineMessage(1, texts::kMovieBadVersion.arg(u"3")));
    const auto v1 = [](const char* body) {
        return parseError(QByteArray("vellumo-movie 1\nframes 100\n") + body);
    };
    EXPECT_EQ(v1("shape s rect\n  at 0 x 0\n  at 9 x 5 cubic-bezier(0.1, 0, 0.2, 1)\n"),
              lineMessage(5, texts::kMovieNeedsVersion2.arg(u"cubic-bezier")));
    EXPECT_EQ(v1("image p p.jpg\n  content-scale 1.2\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"content-scale")));
    EXPECT_EQ(v1("image p p.jpg\n  at 5 content-position 0.2 0.3\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"content-position")));
    EXPECT_EQ(v1("group g\n"), lineMessage(3, texts::kMovieNeedsVersion2.arg(u"group")));
    EXPECT_EQ(v1("shape s rect\nend\n"), lineMessage(4, texts::kMovieNeedsVersion2.arg(u"end")));
}

TEST(MovieVersion2, CubicBezierEasingsFollowTheirCurve) {
    // A curve whose x runs evenly: y(1/2) = 3/8 (y1 + y2) + 1/8.
    EXPECT_NEAR(cubicBezier({1.0 / 3.0, 1.0, 2.0 / 3.0, 1.0}, 0.5), 0.875, 1e-6);
    EXPECT_NEAR(cubicBezier({1.0 / 3.0, 0.0, 2.0 / 3.0, 1.0}, 0.25), 0.15625, 1e-6);
    // The common "ease" curve halfway, and ends that are exact for any curve.
    EXPECT_NEAR(cubicBezier({0.25, 0.1, 0.25, 1.0}, 0.5), 0.8024033877, 1e-6);
    for (const Bezier& curve : {Bezier{0, 0, 1, 1}, Bezier{1, 0, 0, 1}, Bezier{0.3, -2, 0.7, 3}}) {
        EXPECT_DOUBLE_EQ(cubicBezier(curve, 0.0), 0.0);
        EXPECT_DOUBLE_EQ(cubicBezier(curve, 1.0), 1.0);
    }
    // Flat ends (x1 = 1, x2 = 0) still find the point: halfway by symmetry.
    EXPECT_NEAR(cubicBezier({1.0, 0.0, 0.0, 1.0}, 0.5), 0.5, 1e-6);

    // Written with or without spaces, on any property; the key keeps its curve.
    const Movie movie =
        parse(v2("shape s rect\n  at 0 x 0 opacity 0\n"
                 "  at 40 x 1000 opacity 1 cubic-bezier(0.25, 0.1, 0.25, 1)\n"
                 "  at 80 x 0 cubic-bezier(.42,0,.58,1)\n"));
    const Track& x = movie.layers[0].track(Property::X);
    ASSERT_EQ(x.keys().size(), 3u);
    EXPECT_EQ(x.keys()[1].easing, Easing::CubicBezier);
    EXPECT_DOUBLE_EQ(x.keys()[2].curve.x1, 0.42);
    EXPECT_NEAR(x.valueAt(20, 0), 802.4033877, 1e-4);
    EXPECT_NEAR(movie.layers[0].track(Property::Opacity).valueAt(20, 1), 0.8024033877, 1e-6);
    EXPECT_NEAR(x.valueAt(60, 0), 500.0, 1e-6);  // a symmetric curve is halfway at its middle
    EXPECT_EQ(easingName(Easing::CubicBezier), QStringLiteral("cubic-bezier"));
}

TEST(MovieVersion2, BadCubicBeziersNameTheLine) {
    const auto at4 = [](const char* easing) {
        return parseError(v2(QByteArray("shape s rect\n  at 10 x 5 ") + easing + "\n"));
    };
    EXPECT_EQ(at4("cubic-bezier(1.2, 0, 0.5, 1)"),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"cubic-bezier", u"1.2", u"0", u"1")));
    EXPECT_EQ(at4("cubic-bezier(0.2, 0, -0.1, 1)"),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"cubic-bezier", u"-0.1", u"0", u"1")));
    EXPECT_EQ(at4("cubic-bezier(0.2, 11, 0.5, 1)"),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"cubic-bezier", u"11", u"-10", u"10")));
    EXPECT_EQ(at4("cubic-bezier(0.1, 0.2, 0.3)"),
              lineMessage(4, texts::kMovieBadBezier.arg(u"cubic-bezier(0.1, 0.2, 0.3)")));
    EXPECT_EQ(at4("cubic-bezier(0.1, 0.2, 0.3, 1"),
              lineMessage(4, texts::kMovieBadBezier.arg(u"cubic-bezier(0.1, 0.2, 0.3, 1")));
    EXPECT_EQ(at4("cubic-bezier(a, 0, 1, 1)"),
              lineMessage(4, texts::kMovieBadBezier.arg(u"cubic-bezier(a, 0, 1, 1)")));
    EXPECT_EQ(at4("cubic-bezier"), lineMessage(4, texts::kMovieBadBezier.arg(u"cubic-bezier")));
    EXPECT_EQ(at4("cubic-bezier(0, 0, 1, 1) x"), lineMessage(4, texts::kMovieExtraWords.arg(u"x")));
    EXPECT_EQ(parseError(v2("shape s rect\n  x 5 cubic-bezier(0, 0, 1, 1)\n")),
              lineMessage(4, texts::kMovieEasingOutsideAt.arg(u"cubic-bezier")));
    EXPECT_EQ(parseError(v2("shape s rect\n  at 10 cubic-bezier(0, 0, 1, 1)\n")),
              lineMessage(4, texts::kMovieNoSettings));
}

TEST(MovieVersion2, ContentSettingsAreForPicturesWithinTheirRanges) {
    const Movie movie =
        parse(v2("image p p.jpg\n  size 600 400\n  content-position 0.2 0.8\n"
                 "  at 0 content-scale 1\n  at 99 content-scale 1.5 ease-out\n"));
    const Layer& p = movie.layers[0];
    EXPECT_TRUE(p.movesContent());
    EXPECT_DOUBLE_EQ(p.track(Property::ContentX).valueAt(50, 0), 0.2);
    EXPECT_DOUBLE_EQ(p.track(Property::ContentY).valueAt(50, 0), 0.8);
    EXPECT_EQ(p.track(Property::ContentScale).keys().size(), 2u);
    EXPECT_FALSE(parse(v2("image p p.jpg\n  size 600 400\n")).layers[0].movesContent());

    EXPECT_EQ(parseError(v2("image p p.jpg\n  content-scale 0\n")),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"content-scale", u"0", u"0.01", u"100")));
    EXPECT_EQ(parseError(v2("image p p.jpg\n  at 3 content-x 1.5\n")),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"content-x", u"1.5", u"0", u"1")));
    EXPECT_EQ(parseError(v2("image p p.jpg\n  content-position 0.5\n")),
              lineMessage(4, texts::kMovieMissingValue.arg(u"content-position")));
    EXPECT_EQ(
        parseError(v2("shape s rect\n  content-scale 2\n")),
        lineMessage(4, texts::kMovieNotForLayer.arg(u"content-scale", texts::kMovieShapeLayer)));
    EXPECT_EQ(parseError(v2("image p p.jpg\n  content-x 0.1\n  at 0 content-x 0.2\n")),
              lineMessage(5, texts::kMovieDuplicateKey.arg(u"content-x").arg(0)));
}

TEST(MovieVersion2, GroupsNestAndHoldTheLayersUpToTheirEnd) {
    const Movie movie =
        parse(v2("image bg bg.jpg\n"
                 "group outer\n"
                 "  anchor 400 300\n"
                 "  visible 10 80\n"
                 "  at 10 rotation 0 opacity 0\n"
                 "  at 30 rotation 10 opacity 1 ease-out\n"
                 "  image a a.jpg\n"
                 "  group inner\n"
                 "    position 100 200\n"
                 "    text t \"字\"\n"
                 "  end inner\n"
                 "  shape s ellipse\n"
                 "end\n"
                 "text after \"后\"\n"));
    ASSERT_EQ(movie.layers.size(), 7u);
    const Layer& outer = movie.layers[1];
    EXPECT_EQ(outer.kind, LayerKind::Group);
    EXPECT_DOUBLE_EQ(outer.anchorX, 400.0);
    EXPECT_DOUBLE_EQ(outer.anchorY, 300.0);
    EXPECT_EQ(outer.firstFrame, 10);
    EXPECT_EQ(outer.track(Property::Rotation).keys().size(), 2u);
    EXPECT_EQ(outer.end, 6u);
    EXPECT_EQ(movie.layers[3].end, 5u);
    const int parents[] = {-1, -1, 1, 1, 3, 1, -1};
    for (size_t i = 0; i < movie.layers.size(); ++i) {
        EXPECT_EQ(movie.layers[i].parent, parents[i]) << movie.layers[i].name.toStdString();
    }
    EXPECT_EQ(movie.layers[0].end, 1u);
    EXPECT_EQ(movie.layers[6].end, 7u);
    // At rest a group leaves its layers where they are written: its position is its anchor.
    EXPECT_TRUE(groupTransformAt(outer, 5).isIdentity());
    EXPECT_EQ(groupTransformAt(movie.layers[3], 0).map(QPointF(960, 540)), QPointF(100, 200));
    EXPECT_EQ(movie.pictures(), (QStringList{"bg.jpg", "a.jpg"}));
}

TEST(MovieVersion2, GroupMistakesNameTheLine) {
    EXPECT_EQ(parseError(v2("shape s rect\nend\n")), lineMessage(4, texts::kMovieEndWithoutGroup));
    EXPECT_EQ(parseError(v2("group g\n  shape s rect\nend s\n")),
              lineMessage(5, texts::kMovieEndOtherGroup.arg(u"s", u"g")));
    EXPECT_EQ(parseError(v2("shape a rect\ngroup g\n  shape s rect\n")),
              lineMessage(4, texts::kMovieGroupNotClosed.arg(u"g")));
    EXPECT_EQ(parseError(v2("group g\n  size 10 10\nend\n")),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"size", texts::kMovieGroupLayer)));
    EXPECT_EQ(parseError(v2("group g\n  at 5 x 10 reveal 0\nend\n")),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"reveal", texts::kMovieGroupLayer)));
    EXPECT_EQ(parseError(v2("group g\n  shadow 1 1 1\nend\n")),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"shadow", texts::kMovieGroupLayer)));
    EXPECT_EQ(parseError(v2("shape s rect\n  anchor 1 1\n")),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"anchor", texts::kMovieShapeLayer)));
    EXPECT_EQ(parseError(v2("group g\n  shape g rect\nend\n")),
              lineMessage(4, texts::kMovieDuplicateName.arg(u"g")));
    QByteArray deep;
    for (int i = 0; i <= kMaxGroupDepth; ++i) {
        deep += "group g" + QByteArray::number(i) + "\n";
    }
    EXPECT_EQ(parseError(v2(deep.constData())),
              lineMessage(3 + kMaxGroupDepth, texts::kMovieGroupsTooDeep.arg(kMaxGroupDepth)));
}

TEST(MovieVersion2, AVersionOneMovieDrawsTheSameDeclaredAsVersionTwo) {
    Scene scene;
    scene.picture("q.png", quarters());
    const QByteArray body =
        "image q q.png\n  size 800 500\n  border 10 white\n  shadow 8 12 20 #00000080\n"
        "  at 0 rotation -10 scale 0.5 opacity 0\n  at 30 rotation 5 scale 1.1 opacity 1 back\n"
        "shape s ellipse\n  box 100 100 300 200\n  fill radial #ff0000 #0000ff00\n";
    MovieRenderer one = scene.renderer(body, QSize(320, 180), 1);
    MovieRenderer two = scene.renderer(body, QSize(320, 180), 2);
    for (double frame : {0.0, 12.0, 30.0, 49.0}) {
        EXPECT_EQ(one.render(frame), two.render(frame)) << frame;
    }
}

TEST(MovieVersion2, ACubicBezierPutsTheLayerWhereItsCurveSays) {
    // A bar 100 units wide runs from x 50 to 1050; at the middle frame the "ease" curve has
    // gone 80.24 % of the way: its centre is at 852.4, its edges at 802.4 and 902.4.
    Scene scene;
    MovieRenderer renderer = scene.renderer(
        "shape bar rect\n  size 100 1080\n  fill #ff0000\n  at 0 x 50\n"
        "  at 40 x 1050 cubic-bezier(0.25, 0.1, 0.25, 1)\n",
        QSize(1920, 1080));
    const QImage frame = renderer.render(20);
    EXPECT_EQ(frame.pixel(804, 540), kRed);
    EXPECT_EQ(frame.pixel(900, 540), kRed);
    EXPECT_EQ(frame.pixel(800, 540), kBlack);
    EXPECT_EQ(frame.pixel(904, 540), kBlack);
    EXPECT_EQ(frame.pixel(550, 540), kBlack);  // where an even or symmetric ease would be
}

TEST(MovieVersion2, KenBurnsMovesThePictureInsideItsBoxOnly) {
    // The quarters picture zooms into its red quarter; the box (240..719 x 135..404 at this
    // size), its yellow frame and grey shadow stay where they are.
    Scene scene;
    scene.picture("q.png", quarters());
    MovieRenderer renderer = scene.renderer(
        "image q q.png\n  box 480 270 960 540\n  border 20 #ffff00\n  shadow 40 40 0 #808080\n"
        "  at 0 content-scale 1 content-position 0.5 0.5\n"
        "  at 40 content-scale 2 content-position 0 0 ease-in-out\n",
        QSize(960, 540));
    const QRect box(240, 135, 480, 270);
    const QImage first = renderer.render(0);
    EXPECT_EQ(first.pixel(300, 200), kRed);
    EXPECT_EQ(first.pixel(660, 200), kGreen);
    EXPECT_EQ(first.pixel(300, 340), kBlue);
    EXPECT_EQ(first.pixel(660, 340), kWhite);
    EXPECT_EQ(first.pixel(235, 270), kYellow);
    EXPECT_EQ(first.pixel(740, 420), qRgb(128, 128, 128));
    // At the end the box shows only the red quarter, corner to corner.
    const QImage last = renderer.render(40);
    for (const QPoint p : {box.topLeft(), box.bottomRight(), box.center(), QPoint(700, 150)}) {
        EXPECT_EQ(last.pixel(p), kRed) << p.x() << "," << p.y();
    }
    // Every frame differs from the first only inside the box.
    for (double f : {10.0, 20.0, 33.5, 40.0}) {
        const QImage frame = renderer.render(f);
        int insideChanged = 0;
        int outsideChanged = 0;
        for (int y = 0; y < frame.height(); ++y) {
            for (int x = 0; x < frame.width(); ++x) {
                if (frame.pixel(x, y) != first.pixel(x, y)) {
                    ++(box.contains(x, y) ? insideChanged : outsideChanged);
                }
            }
        }
        EXPECT_EQ(outsideChanged, 0) << f;
        EXPECT_GT(insideChanged, 1000) << f;
    }
}

TEST(MovieVersion2, APictureZoomedOutLeavesItsBoxOpenAndItsFrameAFrame) {
    // At half its size the picture covers the middle of the box; round it the box shows what
    // lies behind, not the frame's colour.
    Scene scene;
    scene.picture("q.png", quarters());
    const QImage frame = scene
                             .renderer(
                                 "image q q.png\n  box 480 270 960 540\n  border 20 #ffff00\n"
                                 "  fit stretch\n  content-scale 0.5\n",
                                 QSize(960, 540))
                             .render(0);
    EXPECT_EQ(frame.pixel(250, 145), kBlack);
    EXPECT_EQ(frame.pixel(370, 205), kRed);
    EXPECT_EQ(frame.pixel(590, 335), kWhite);
    EXPECT_EQ(frame.pixel(250, 350), kBlack);
    EXPECT_EQ(frame.pixel(235, 270), kYellow);
}

TEST(MovieVersion2, AGroupMovesTurnsScalesAndFadesItsLayersAsOne) {
    Scene scene;
    // Two squares in a group that moves by (400, -200) over 40 frames: both by the same offset.
    MovieRenderer moving = scene.renderer(
        "group pair\n  at 0 position 960 540\n  at 40 position 1360 340\n"
        "  shape a rect\n    box 200 400 200 200\n    fill #ff0000\n"
        "  shape b rect\n    box 1200 600 200 200\n    fill #0000ff\n"
        "end pair\n",
        QSize(960, 540));
    const QRect a0 = boundsOf(moving.render(0), kRed);
    const QRect b0 = boundsOf(moving.render(0), kBlue);
    EXPECT_EQ(a0, QRect(100, 200, 100, 100));
    EXPECT_EQ(b0, QRect(600, 300, 100, 100));
    for (const auto& [frame, offset] :
         {std::pair{20.0, QPoint(100, -50)}, std::pair{40.0, QPoint(200, -100)}}) {
        const QImage image = moving.render(frame);
        EXPECT_EQ(boundsOf(image, kRed), a0.translated(offset)) << frame;
        EXPECT_EQ(boundsOf(image, kBlue), b0.translated(offset)) << frame;
    }

    // Turned a quarter clockwise and halved about its anchor (the stage centre), a square
    // 300 units above the anchor ends 150 units right of it, half its size.
    const QImage turned = scene
                              .renderer(
                                  "group g\n  at 0 rotation 0 scale 1\n"
                                  "  at 40 rotation 90 scale 0.5\n"
                                  "  shape a rect\n    box 860 140 200 200\n"
                                  "    fill #00ff00\nend\n",
                                  QSize(1920, 1080))
                              .render(40);
    EXPECT_EQ(boundsOf(turned, kGreen), QRect(1060, 490, 100, 100));

    // At half opacity two overlapping squares fade as one picture: where they overlap only the
    // upper one shows, at half strength.
    const QImage faded = scene
                             .renderer(
                                 "group g\n  opacity 0.5\n"
                                 "  shape a rect\n    box 0 0 1200 1080\n    fill #ff0000\n"
                                 "  shape b rect\n    box 720 0 1200 1080\n"
                                 "    fill #0000ff\nend\n",
                                 QSize(192, 108))
                             .render(0);
    EXPECT_NEAR(qRed(faded.pixel(40, 54)), 128, 2);
    EXPECT_NEAR(qBlue(faded.pixel(100, 54)), 128, 2);
    EXPECT_EQ(qRed(faded.pixel(100, 54)), 0);
    EXPECT_NEAR(qBlue(faded.pixel(160, 54)), 128, 2);
}

TEST(MovieVersion2, NestedGroupsAddTheirMovesAndHideTheirLayersOutsideTheirFrames) {
    Scene scene;
    MovieRenderer renderer = scene.renderer(
        "group outer\n  visible 0 30\n  at 0 x 960\n  at 40 x 1160\n"
        "  group inner\n    at 0 y 540\n    at 40 y 740\n"
        "    shape a rect\n      box 100 100 100 100\n      fill #ff0000\n"
        "  end\nend\n"
        "shape b rect\n  box 1700 900 100 100\n  fill #0000ff\n",
        QSize(1920, 1080));
    EXPECT_EQ(boundsOf(renderer.render(0), kRed), QRect(100, 100, 100, 100));
    EXPECT_EQ(boundsOf(renderer.render(20), kRed), QRect(200, 200, 100, 100));
    const QImage after = renderer.render(31);
    EXPECT_TRUE(boundsOf(after, kRed).isEmpty());
    EXPECT_EQ(boundsOf(after, kBlue), QRect(1700, 900, 100, 100));
}

// A picture of one colour.
QImage plain(QRgb color) {
    QImage image(32, 18, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

void expectColor(QRgb pixel, int r, int g, int b) {
    EXPECT_NEAR(qRed(pixel), r, 1);
    EXPECT_NEAR(qGreen(pixel), g, 1);
    EXPECT_NEAR(qBlue(pixel), b, 1);
}

TEST(MovieVersion2, FiltersTurnKnownColoursIntoKnownColours) {
    Scene scene;
    scene.picture("red.png", plain(kRed));
    scene.picture("grey.png", plain(qRgb(100, 100, 100)));
    scene.picture("warm.png", plain(qRgb(200, 100, 50)));
    const QSize size(96, 54);
    const auto at = [&](const char* picture, const char* settings, double frame) {
        return scene
            .renderer(QByteArray("image p ") + picture + "\n  box 0 0 1920 1080\n" + settings, size)
            .render(frame)
            .pixel(48, 27);
    };
    // Saturation 0 greys by luminance: 0.213 of pure red.
    expectColor(at("red.png", "  saturation 0\n", 0), 54, 54, 54);
    // Half way from full colour to grey.
    expectColor(at("red.png", "  at 0 saturation 1\n  at 40 saturation 0\n", 20), 155, 27, 27);
    expectColor(at("warm.png", "  brightness 0.5\n", 0), 100, 50, 25);
    expectColor(at("warm.png", "  brightness 2\n", 0), 255, 200, 100);
    expectColor(at("grey.png", "  sepia 1\n", 0), 135, 120, 94);
    expectColor(at("grey.png", "  at 0 sepia 0\n  at 40 sepia 1\n", 20), 118, 110, 97);
    // Saturation first, then brightness.
    expectColor(at("red.png", "  saturation 0\n  brightness 2\n", 0), 109, 109, 109);
    // At rest the filters leave the picture as it is.
    EXPECT_EQ(at("warm.png", "  saturation 1\n  brightness 1\n  sepia 0\n  blur 0\n", 0),
              qRgb(200, 100, 50));
}

TEST(MovieVersion2, BlurSoftensThePictureAndLeavesItsBoxAndFrameSharp) {
    // Red on the left half, blue on the right; the box is 240..719 x 135..404 at this size.
    Scene scene;
    QImage halves(64, 36, QImage::Format_RGB32);
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 36; ++y) {
            halves.setPixel(x, y, x < 32 ? kRed : kBlue);
        }
    }
    scene.picture("halves.png", halves);
    MovieRenderer renderer = scene.renderer(
        "image h halves.png\n  box 480 270 960 540\n  border 20 #ffff00\n"
        "  at 0 blur 0\n  at 40 blur 60\n",
        QSize(960, 540));
    const QImage sharp = renderer.render(0);
    EXPECT_EQ(sharp.pixel(470, 270), kRed);
    EXPECT_EQ(sharp.pixel(490, 270), kBlue);
    // A Gaussian whose deviation is half the blur (30 units, 15 pixels here): 10 pixels from
    // the edge a fifth or more of the other colour shows.
    const QImage blurred = renderer.render(40);
    for (const QPoint p : {QPoint(470, 270), QPoint(490, 270)}) {
        EXPECT_GT(qRed(blurred.pixel(p)), 50) << p.x();
        EXPECT_GT(qBlue(blurred.pixel(p)), 50) << p.x();
    }
    // Far from the middle, and at the box's own edges, the colours stay whole: no dark fringe.
    EXPECT_EQ(blurred.pixel(240, 135), kRed);
    EXPECT_EQ(blurred.pixel(300, 270), kRed);
    EXPECT_EQ(blurred.pixel(719, 404), kBlue);
    EXPECT_EQ(blurred.pixel(235, 270), kYellow);
    EXPECT_EQ(blurred.pixel(724, 270), kYellow);
    // Growing, it softens step by step.
    EXPECT_LT(qBlue(renderer.render(10).pixel(470, 270)),
              qBlue(renderer.render(20).pixel(470, 270)));
}

TEST(MovieVersion2, FilterSettingsAreForPicturesOfVersionTwo) {
    EXPECT_EQ(parseError(v2("image p p.jpg\n  blur -1\n")),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"blur", u"-1", u"0", u"500")));
    EXPECT_EQ(parseError(v2("image p p.jpg\n  at 5 sepia 2\n")),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"sepia", u"2", u"0", u"1")));
    EXPECT_EQ(parseError(v2("text t \"字\"\n  saturation 0\n")),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"saturation", texts::kMovieTextLayer)));
    EXPECT_EQ(parseError("vellumo-movie 1\nframes 9\nimage p p.jpg\n  brightness 2\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"brightness")));
    const Movie movie =
        parse(v2("image p p.jpg\n  at 0 blur 0 saturation 1\n"
                 "  at 50 blur 20 saturation 0 cubic-bezier(0.4, 0, 0.2, 1)\n"));
    EXPECT_TRUE(movie.layers[0].filtered());
    EXPECT_EQ(movie.layers[0].track(Property::Blur).keys().size(), 2u);
}

}  // namespace
}  // namespace vellumo::movie
