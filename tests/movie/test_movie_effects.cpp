// Masks, blend modes, the tint, particles and rich texts of template movies (format version 2):
// what each accepts, refuses with which message, and where it puts pixels.

#include <gtest/gtest.h>

#include <QImage>

#include <memory>

#include "movie/movie_animation.h"
#include "movie/movie_parser.h"
#include "movie/movie_particles.h"
#include "movie/movie_pictures.h"
#include "movie/movie_renderer.h"
#include "movie/movie_texts.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/workspace_texts.h"

namespace vellumo::movie {
namespace {

const QRgb kRed = qRgb(255, 0, 0);
const QRgb kBlack = qRgb(0, 0, 0);

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

Movie parse(const char* body) {
    return parseMovie(QByteArray("vellumo-movie 2\nframes 100\n") + body,
                      QStringLiteral("m.movie"));
}

QString v2Error(const char* body) {
    return parseError(QByteArray("vellumo-movie 2\nframes 100\n") + body);
}

// A movie of 50 frames on black in a temporary folder, with PNG pictures beside it.
class Scene {
public:
    void picture(const QString& name, const QImage& image) {
        ASSERT_TRUE(image.save(temp_.path() + u'/' + name));
    }
    MovieRenderer renderer(const QByteArray& body, QSize size = QSize(960, 540)) {
        const QString path =
            temp_.write("scene.movie", "vellumo-movie 2\nframes 50\nbackground black\n" + body);
        auto movie = std::make_shared<const Movie>(readMovie(path));
        return MovieRenderer(movie, readMoviePictures(*movie), size);
    }

private:
    test::TempFolder temp_;
};

QImage filled(QSize size, QColor color) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

void expectNear(QRgb actual, int r, int g, int b, int tolerance = 2) {
    EXPECT_NEAR(qRed(actual), r, tolerance);
    EXPECT_NEAR(qGreen(actual), g, tolerance);
    EXPECT_NEAR(qBlue(actual), b, tolerance);
}

int countPixels(const QImage& image, const QRect& area, const std::function<bool(QRgb)>& test) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            n += test(image.pixel(x, y)) ? 1 : 0;
        }
    }
    return n;
}

TEST(MovieEffects, TheNewWordsNeedVersionTwoAndBadOnesSayWhereAndWhat) {
    const auto v1 = [](const char* body) {
        return parseError(QByteArray("vellumo-movie 1\nframes 100\n") + body);
    };
    EXPECT_EQ(v1("shape s rect\n  mask ellipse\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"mask")));
    EXPECT_EQ(v1("shape s rect\n  blend screen\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"blend")));
    EXPECT_EQ(v1("particles p snow\n"),
              lineMessage(3, texts::kMovieNeedsVersion2.arg(u"particles")));
    EXPECT_EQ(v1("text t hi\n  stroke 4\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"stroke")));
    EXPECT_EQ(v1("text t hi\n  at 5 color red\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"color")));
    EXPECT_EQ(v1("image p p.png\n  tint 0.5\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"tint")));
    EXPECT_EQ(v1("shape s rect\n  at 5 mask-x 100\n"),
              lineMessage(4, texts::kMovieNeedsVersion2.arg(u"mask-x")));

    EXPECT_EQ(v2Error("shape s rect\n  mask star\n"),
              lineMessage(4, texts::kMovieBadChoice.arg(
                                 u"mask", QStringLiteral("rect、rounded-rect、ellipse、picture"))));
    EXPECT_EQ(v2Error("shape s rect\n  mask picture /abs/m.png\n"),
              lineMessage(4, texts::kMovieAbsolutePicture.arg(u"/abs/m.png")));
    EXPECT_EQ(v2Error("shape s rect\n  blend darken\n"),
              lineMessage(4, texts::kMovieBadChoice.arg(
                                 u"blend", QStringLiteral("normal、screen、multiply、overlay"))));
    EXPECT_EQ(v2Error("group g\n  mask ellipse\nend\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"mask", texts::kMovieGroupLayer)));
    EXPECT_EQ(v2Error("group g\n  blend screen\nend\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"blend", texts::kMovieGroupLayer)));
    EXPECT_EQ(v2Error("image p p.png\n  stroke 3\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"stroke", texts::kMovieImageLayer)));
    EXPECT_EQ(v2Error("shape s rect\n  tint 0.5\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"tint", texts::kMovieShapeLayer)));
    EXPECT_EQ(v2Error("shape s rect\n  reveal-style characters\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"characters", texts::kMovieShapeLayer)));
    EXPECT_EQ(v2Error("text t hi\n  at 5 color #ff0000\n  at 5 color #00ff00\n"),
              lineMessage(5, texts::kMovieDuplicateKey.arg(u"color").arg(5)));
    EXPECT_EQ(v2Error("text t hi\n  at 5 color nocolour\n"),
              lineMessage(4, texts::kMovieNotColor.arg(u"nocolour")));
    EXPECT_EQ(v2Error("particles p rain\n"),
              lineMessage(3, texts::kMovieBadChoice.arg(
                                 u"p", QStringLiteral("petals、snow、bokeh、sparkles"))));
    EXPECT_EQ(v2Error("particles p snow\n  lifetime 5 2\n"),
              lineMessage(4, texts::kMovieRangeOrder.arg(u"lifetime")));
    EXPECT_EQ(v2Error("particles p snow\n  count 5000\n"),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"count", u"5000", u"0", u"2000")));
    EXPECT_EQ(v2Error("particles p snow\n  border 4\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"border", texts::kMovieParticlesLayer)));
    EXPECT_EQ(v2Error("image p p.png\n  seed 4\n"),
              lineMessage(4, texts::kMovieNotForLayer.arg(u"seed", texts::kMovieImageLayer)));
    EXPECT_EQ(v2Error("shape s rect\n  at 5 mask-soft -1\n"),
              lineMessage(4, texts::kMovieOutOfRange.arg(u"mask-soft", u"-1", u"0", u"1000")));
}

TEST(MovieEffects, SettingsAndKeysAreRead) {
    const Movie movie = parse(
        "image p p.png\n  mask picture \"masks/m.png\"\n  blend overlay\n"
        "  mask-box 100 200 300 400\n  at 50 mask-position 0 0 mask-soft 20 ease-out\n"
        "  tint-color #ff8000\n  at 10 tint 1\n"
        "particles snow snow\n  seed 9\n  count 12\n  particle-size 4 8\n  speed 10\n"
        "  color #ffffff #ff0000\n"
        "text t hi\n  stroke 5 #102030\n  reveal-style characters\n"
        "  at 0 color #000000 stroke-color white\n  at 20 color #ffffff cubic-bezier(0, 0, 1, "
        "1)\n");
    const Layer& p = movie.layers[0];
    EXPECT_EQ(p.mask.kind, MaskKind::Picture);
    EXPECT_EQ(p.mask.picture, QStringLiteral("masks/m.png"));
    EXPECT_EQ(p.blend, BlendMode::Overlay);
    EXPECT_DOUBLE_EQ(p.track(Property::MaskX).valueAt(0, 0), 250.0);
    EXPECT_DOUBLE_EQ(p.track(Property::MaskY).valueAt(50, 0), 0.0);
    EXPECT_EQ(p.track(Property::MaskSoft).keys().front().easing, Easing::EaseOut);
    EXPECT_EQ(p.colorTrack(ColorProperty::Tint).valueAt(30, Qt::white), QColor(255, 128, 0));
    EXPECT_TRUE(movie.pictures().contains(QStringLiteral("masks/m.png")));

    const Emitter& e = movie.layers[1].emitter;
    EXPECT_EQ(e.kind, ParticleKind::Snow);
    EXPECT_EQ(e.seed, 9u);
    EXPECT_EQ(e.count, 12);
    EXPECT_DOUBLE_EQ(e.size.high, 8.0);
    EXPECT_DOUBLE_EQ(e.speed.low, 10.0);
    EXPECT_DOUBLE_EQ(e.speed.high, 10.0);
    ASSERT_EQ(e.colors.size(), 2u);
    EXPECT_EQ(e.colors[1], QColor(255, 0, 0));
    EXPECT_DOUBLE_EQ(e.lifetime.low, defaultEmitter(ParticleKind::Snow).lifetime.low);

    const Layer& t = movie.layers[2];
    EXPECT_DOUBLE_EQ(t.stroke.width, 5.0);
    EXPECT_EQ(t.stroke.color, QColor(0x10, 0x20, 0x30));
    EXPECT_EQ(t.reveal, RevealStyle::Characters);
    EXPECT_TRUE(t.richText());
    // Colours move channel by channel.
    EXPECT_EQ(t.colorTrack(ColorProperty::Text).valueAt(10, Qt::red), QColor(128, 128, 128));
    EXPECT_EQ(t.colorTrack(ColorProperty::Stroke).valueAt(10, Qt::red), QColor(Qt::white));
}

TEST(MovieEffects, AColourKeyEasesByItsOwnEasing) {
    // The way from a key to the next follows the second key's easing, as every track does:
    // half way, ease-in has gone an eighth (t³), the first key's ease-out would have gone 7/8.
    const Movie movie = parse(
        "text t hi\n  at 0 color #000000 ease-out\n  at 20 color #ffffff ease-in\n"
        "  at 40 color #000000\n");
    const ColorTrack& track = movie.layers[0].colorTrack(ColorProperty::Text);
    EXPECT_EQ(track.valueAt(10, Qt::red), QColor(32, 32, 32));
    // Linear back down: half way is half.
    EXPECT_EQ(track.valueAt(30, Qt::red), QColor(128, 128, 128));
}

TEST(MovieEffects, AShapeMaskClipsAtItsEdgeSoftensItAndMoves) {
    // A red picture over the whole stage; a rectangle mask 480..1439 x 270..809 (stage units),
    // which is 240..719 x 135..404 at 960 x 540, moving 480 units right by frame 40.
    Scene scene;
    scene.picture("red.png", filled(QSize(64, 36), Qt::red));
    MovieRenderer hard = scene.renderer(
        "image r red.png\n  box 0 0 1920 1080\n  mask rect\n"
        "  at 0 mask-box 480 270 960 540\n  at 40 mask-box 960 270 960 540\n");
    const QImage first = hard.render(0);
    EXPECT_EQ(first.pixel(240, 135), kRed);
    EXPECT_EQ(first.pixel(719, 404), kRed);
    EXPECT_EQ(first.pixel(239, 300), kBlack);
    EXPECT_EQ(first.pixel(720, 300), kBlack);
    EXPECT_EQ(first.pixel(500, 134), kBlack);
    const QImage moved = hard.render(40);
    EXPECT_EQ(moved.pixel(300, 300), kBlack);
    EXPECT_EQ(moved.pixel(480, 300), kRed);
    EXPECT_EQ(moved.pixel(959, 300), kRed);

    // A soft edge of 80 units (40 pixels) fades across the outline: half way on it, whole well
    // inside, nothing well outside.
    MovieRenderer soft = scene.renderer(
        "image r red.png\n  box 0 0 1920 1080\n  mask ellipse\n  mask-box 480 270 960 540\n"
        "  mask-soft 80\n");
    const QImage faded = soft.render(0);
    EXPECT_NEAR(qRed(faded.pixel(240, 270)), 128, 30);
    EXPECT_EQ(qRed(faded.pixel(480, 270)), 255);
    EXPECT_LT(qRed(faded.pixel(200, 270)), 10);
    EXPECT_GT(qRed(faded.pixel(250, 270)), qRed(faded.pixel(230, 270)));
    // Without keys the mask lies over the layer's own box.
    MovieRenderer own = scene.renderer("image r red.png\n  box 480 270 960 540\n  mask ellipse\n");
    const QImage oval = own.render(0);
    EXPECT_EQ(oval.pixel(480, 270), kRed);
    EXPECT_EQ(oval.pixel(245, 140), kBlack);  // the box's corner lies outside the ellipse
}

TEST(MovieEffects, APictureMaskLetsThroughWhereItsAlphaIs) {
    Scene scene;
    scene.picture("red.png", filled(QSize(64, 36), Qt::red));
    QImage mask(20, 10, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    for (int y = 0; y < 10; ++y) {
        for (int x = 10; x < 20; ++x) {
            mask.setPixel(x, y, qRgba(0, 0, 0, 255));
        }
    }
    scene.picture("mask.png", mask);
    MovieRenderer renderer = scene.renderer(
        "image r red.png\n  box 0 0 1920 1080\n  mask picture mask.png\n"
        "  mask-box 0 0 1920 1080\n");
    const QImage frame = renderer.render(0);
    EXPECT_EQ(frame.pixel(100, 270), kBlack);
    EXPECT_EQ(frame.pixel(860, 270), kRed);
    // A missing mask picture lets nothing through.
    MovieRenderer missing =
        scene.renderer("image r red.png\n  box 0 0 1920 1080\n  mask picture gone.png\n");
    EXPECT_EQ(missing.render(0).pixel(480, 270), kBlack);
}

TEST(MovieEffects, BlendModesCombineKnownColours) {
    // A layer of #4080c0 over a grey #808080 background.
    Scene scene;
    const auto blended = [&](const char* mode) {
        MovieRenderer renderer =
            scene.renderer(QByteArray("shape g rect\n  fill #808080\n") +
                           "shape s rect\n  fill #4080c0\n  blend " + mode + "\n");
        return renderer.render(0).pixel(480, 270);
    };
    expectNear(blended("normal"), 0x40, 0x80, 0xc0);
    // screen: 1 - (1 - a)(1 - b); multiply: a b; overlay over a middle grey: about a.
    expectNear(blended("screen"), 160, 192, 224);
    expectNear(blended("multiply"), 32, 64, 96);
    expectNear(blended("overlay"), 64, 128, 192, 3);
    // Over black, screen leaves the layer's colour and multiply black.
    MovieRenderer overBlack = scene.renderer("shape s rect\n  fill #4080c0\n  blend multiply\n");
    EXPECT_EQ(overBlack.render(0).pixel(10, 10), kBlack);
}

TEST(MovieEffects, TintGivesThePictureTheColourAtItsLightness) {
    Scene scene;
    QImage picture(64, 36, QImage::Format_RGB32);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 64; ++x) {
            picture.setPixel(x, y, x < 32 ? qRgb(255, 255, 255) : kBlack);
        }
    }
    scene.picture("wb.png", picture);
    MovieRenderer renderer = scene.renderer(
        "image p wb.png\n  box 0 0 1920 1080\n  tint-color #ff8000\n"
        "  at 0 tint 0\n  at 40 tint 1\n");
    expectNear(renderer.render(0).pixel(100, 270), 255, 255, 255, 0);
    expectNear(renderer.render(40).pixel(100, 270), 255, 128, 0);
    expectNear(renderer.render(20).pixel(100, 270), 255, 191, 128);
    expectNear(renderer.render(40).pixel(860, 270), 0, 0, 0);
}

TEST(MovieEffects, ParticlesAreTheSamePictureForTheSameFrameWhateverCameBefore) {
    Emitter e = defaultEmitter(ParticleKind::Petals);
    e.seed = 42;
    const QSizeF box(1920, 1080);
    const std::vector<Particle> first = particlesAt(e, 30, box);
    particlesAt(e, 31, box);
    const std::vector<Particle> again = particlesAt(e, 30, box);
    ASSERT_EQ(first.size(), again.size());
    ASSERT_FALSE(first.empty());
    for (size_t i = 0; i < first.size(); ++i) {
        EXPECT_DOUBLE_EQ(first[i].x, again[i].x);
        EXPECT_DOUBLE_EQ(first[i].y, again[i].y);
    }

    Scene scene;
    const QByteArray body = "particles p petals\n  seed 42\n  count 120\n";
    MovieRenderer a = scene.renderer(body);
    MovieRenderer b = scene.renderer(body);
    const QImage direct = a.render(25);
    b.render(3);
    b.render(40);
    EXPECT_EQ(b.render(25), direct);
    EXPECT_NE(a.render(26), direct);
    EXPECT_GT(countPixels(direct, direct.rect(), [](QRgb p) { return p != qRgb(0, 0, 0); }), 500);
    // Another seed scatters them elsewhere.
    EXPECT_NE(scene.renderer("particles p petals\n  seed 43\n  count 120\n").render(25), direct);
    // Each kind draws something.
    for (const char* kind : {"snow", "bokeh", "sparkles"}) {
        const QImage frame =
            scene.renderer(QByteArray("particles p ") + kind + "\n  count 60\n").render(10);
        EXPECT_GT(countPixels(frame, frame.rect(), [](QRgb p) { return p != qRgb(0, 0, 0); }), 100)
            << kind;
    }
}

TEST(MovieEffects, ParticlesStayNearTheirBoxAndFollowTheRanges) {
    Emitter e = defaultEmitter(ParticleKind::Snow);
    e.count = 200;
    e.speed = {100.0, 100.0};
    e.drift = {0.0, 0.0};
    e.lifetime = {2.0, 2.0};
    e.size = {10.0, 10.0};
    const QSizeF box(400, 200);
    for (int frame : {0, 17, 99}) {
        for (const Particle& p : particlesAt(e, frame, box)) {
            // Born in the box, falling at most 2 s x 100 units, swaying by 1.5 sizes.
            EXPECT_GE(p.y, -100.0);
            EXPECT_LE(p.y, 300.0);
            EXPECT_LE(std::abs(p.x), 200.0 + 15.0);
            EXPECT_DOUBLE_EQ(p.size, 10.0);
            EXPECT_GT(p.opacity, 0.0);
            EXPECT_LE(p.opacity, 1.0);
        }
    }
    e.count = 0;
    EXPECT_TRUE(particlesAt(e, 10, box).empty());
}

TEST(MovieEffects, TextOutlineColourAndReveal) {
    Scene scene;
    // A wide, tall text across the stage's middle.
    const QByteArray text =
        "text t \"ABCD\"\n  font-size 300\n  position 960 540\n  color #ffffff\n";
    const QRect middle(0, 150, 960, 240);
    const auto isStroke = [](QRgb p) { return qRed(p) < 30 && qGreen(p) > 200 && qBlue(p) < 30; };
    const QImage plain = scene.renderer(text).render(0);
    EXPECT_EQ(countPixels(plain, middle, isStroke), 0);
    const QImage outlined = scene.renderer(text + "  stroke 8 #00ff00\n").render(0);
    EXPECT_GT(countPixels(outlined, middle, isStroke), 500);
    // The letters keep their colour inside the outline.
    EXPECT_GT(countPixels(outlined, middle, [](QRgb p) { return p == qRgb(255, 255, 255); }), 500);

    // The colour moves from white to red.
    MovieRenderer changing = scene.renderer(text + "  at 0 color #ffffff\n  at 40 color #ff0000\n");
    const auto isRed = [](QRgb p) { return qRed(p) > 250 && qGreen(p) < 5 && qBlue(p) < 5; };
    EXPECT_EQ(countPixels(changing.render(0), middle, isRed), 0);
    EXPECT_GT(countPixels(changing.render(40), middle, isRed), 500);
    const QImage half = changing.render(20);
    EXPECT_GT(countPixels(half, middle,
                          [](QRgb p) {
                              return qRed(p) > 250 && std::abs(qGreen(p) - 128) < 4 &&
                                     std::abs(qBlue(p) - 128) < 4;
                          }),
              500);

    // By characters: half way, the first two letters show and the last two not yet.
    MovieRenderer reveal = scene.renderer(text +
                                          "  reveal-style characters\n"
                                          "  at 0 reveal 0\n  at 40 reveal 1\n");
    const auto lit = [](QRgb p) { return qRed(p) > 128; };
    const QImage none = reveal.render(0);
    EXPECT_EQ(countPixels(none, middle, lit), 0);
    const QImage halfway = reveal.render(20);
    EXPECT_GT(countPixels(halfway, QRect(0, 150, 480, 240), lit), 500);
    EXPECT_EQ(countPixels(halfway, QRect(480, 150, 480, 240), lit), 0);
    const QImage whole = reveal.render(40);
    EXPECT_GT(countPixels(whole, QRect(480, 150, 480, 240), lit), 500);
}

TEST(MovieRenderer, FramesThatDrawAlikeAreToldWithoutDrawing) {
    Scene scene;
    scene.picture("red.png", filled(QSize(64, 64), Qt::red));
    // The picture slides until frame 20; the title shows from 30 and turns red until 40.
    const MovieRenderer slide = scene.renderer(
        "image a red.png\n  size 400 300\n  at 0 x 200\n  at 20 x 800\n"
        "text t Hi\n  visible 30 end\n  at 30 color #ffffff\n  at 40 color #ff0000\n");
    EXPECT_FALSE(slide.sameFrames(5, 6));
    EXPECT_TRUE(slide.sameFrames(20, 29));
    EXPECT_FALSE(slide.sameFrames(29, 30));  // the title appears
    EXPECT_FALSE(slide.sameFrames(35, 36));  // its colour moves
    EXPECT_TRUE(slide.sameFrames(40, 49));
    // What sameFrames says is what drawing gives.
    EXPECT_EQ(slide.render(20), slide.render(29));
    EXPECT_EQ(slide.render(40), slide.render(49));
    EXPECT_NE(slide.render(29), slide.render(30));

    // Particles move whatever their tracks say; hidden ones do not count.
    const MovieRenderer snow = scene.renderer("particles p snow\n  visible 0 10\n");
    EXPECT_FALSE(snow.sameFrames(2, 3));
    EXPECT_TRUE(snow.sameFrames(20, 30));
    EXPECT_FALSE(MovieRenderer().sameFrames(1, 1));
}

}  // namespace
}  // namespace vellumo::movie
