// The movie text format: what it accepts, what it refuses and with which message, and how
// keyframes and easings move a value.

#include <gtest/gtest.h>

#include <cmath>

#include "movie/movie_animation.h"
#include "movie/movie_parser.h"
#include "movie/movie_texts.h"
#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/workspace_texts.h"

namespace vellumo::movie {
namespace {

QByteArray text(const char* body) {
    return QByteArray("vellumo-movie 1\nframes 100\n") + body;
}

// The message a movie problem at a line gives for the file "m.movie".
QString lineMessage(int line, const QString& problem) {
    return texts::kFileErrorFormat.arg(QStringLiteral("m.movie"),
                                       texts::kMovieAtLine.arg(line).arg(problem));
}

QString parseError(const QByteArray& bytes) {
    try {
        parseMovie(bytes, QStringLiteral("m.movie"));
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), QStringLiteral("m.movie"));
        return e.message();
    }
    return QStringLiteral("(parsed)");
}

TEST(MovieFormat, ReadsEveryKindOfLayerAndSetting) {
    const Movie movie = parseMovie(text("title \"春天 · 2024\"\n"
                                        "loop yes\n"
                                        "background #102030\n"
                                        "# a comment line\n"
                                        "image bg \"wj_y_l_b_j.jpg\"   # the background\n"
                                        "  box 0 0 1920 1080\n"
                                        "  fit contain\n"
                                        "image lead ../../pic/picture_0.jpg\n"
                                        "  visible 0 1s\n"
                                        "  at 0 opacity 1\n"
                                        "  at 1s opacity 0 ease-in\n"
                                        "shape card rounded-rect\n"
                                        "  size 400 300\n"
                                        "  radius 20\n"
                                        "  fill linear 90 #ff0000 #00ff00@0.25 #0000ff80\n"
                                        "  border 6 white\n"
                                        "  shadow 4 8 12 #00000080\n"
                                        "text title \"第一行\\n第二行 \\\"引号\\\"\"\n"
                                        "  font 黑体\n"
                                        "  font-size 72\n"
                                        "  color #fff\n"
                                        "  bold\n"
                                        "  italic\n"
                                        "  align left\n"
                                        "  wrap 800\n"
                                        "  reveal-style blinds 5\n"
                                        "  visible 20 end\n"
                                        "  position 960 900\n"
                                        "  at 40 reveal 1 x 1000 spring\n"),
                                   QStringLiteral("m.movie"));
    EXPECT_EQ(movie.frames, 100);
    EXPECT_TRUE(movie.loop);
    EXPECT_EQ(movie.title, QString::fromUtf16(u"春天 · 2024"));
    EXPECT_EQ(movie.background, QColor(0x10, 0x20, 0x30));
    ASSERT_EQ(movie.layers.size(), 4u);

    const Layer& bg = movie.layers[0];
    EXPECT_EQ(bg.kind, LayerKind::Image);
    EXPECT_EQ(bg.picture, QStringLiteral("wj_y_l_b_j.jpg"));
    EXPECT_EQ(bg.fit, Fit::Contain);
    EXPECT_EQ(bg.line, 7);
    // A box is kept as its centre and size.
    EXPECT_EQ(bg.track(Property::X).keys().front().value, 960.0);
    EXPECT_EQ(bg.track(Property::Height).keys().front().value, 1080.0);

    const Layer& lead = movie.layers[1];
    EXPECT_EQ(lead.picture, QStringLiteral("../../pic/picture_0.jpg"));
    EXPECT_EQ(lead.lastFrame, 25);  // one second
    ASSERT_EQ(lead.track(Property::Opacity).keys().size(), 2u);
    EXPECT_EQ(lead.track(Property::Opacity).keys()[1].frame, 25);
    EXPECT_EQ(lead.track(Property::Opacity).keys()[1].easing, Easing::EaseIn);

    const Layer& card = movie.layers[2];
    EXPECT_EQ(card.radius, 20.0);
    EXPECT_EQ(card.fill.kind, FillKind::Linear);
    ASSERT_EQ(card.fill.stops.size(), 3u);
    EXPECT_EQ(card.fill.stops[1].position, 0.25);
    EXPECT_EQ(card.fill.stops[2].position, 1.0);
    EXPECT_EQ(card.fill.stops[2].color, QColor(0, 0, 255, 0x80));
    EXPECT_EQ(card.border.width, 6.0);
    EXPECT_EQ(card.border.color, QColor(Qt::white));
    EXPECT_TRUE(card.shadow.enabled);
    EXPECT_EQ(card.shadow.blur, 12.0);

    const Layer& title = movie.layers[3];
    EXPECT_EQ(title.text, QString::fromUtf16(u"第一行\n第二行 \"引号\""));
    EXPECT_EQ(title.fontFamily, QString::fromUtf16(u"黑体"));
    EXPECT_TRUE(title.bold && title.italic);
    EXPECT_EQ(title.align, TextAlign::Left);
    EXPECT_EQ(title.textColor, QColor(Qt::white));
    EXPECT_EQ(title.reveal, RevealStyle::Blinds);
    EXPECT_EQ(title.revealSlats, 5);
    // A plain setting is a key at the layer's first visible frame.
    ASSERT_EQ(title.track(Property::X).keys().size(), 2u);
    EXPECT_EQ(title.track(Property::X).keys()[0].frame, 20);
    EXPECT_EQ(title.track(Property::X).keys()[1].easing, Easing::Spring);
    EXPECT_EQ(movie.pictures(), QStringList({QStringLiteral("wj_y_l_b_j.jpg"),
                                             QStringLiteral("../../pic/picture_0.jpg")}));
}

TEST(MovieFormat, ProblemsNameTheLineAndWhatIsWrong) {
    struct Case {
        const char* body;
        int line;
        QString problem;
    };
    const Case cases[] = {
        {"image a \"a.jpg\"\n  opacty 0.5\n", 4, texts::kMovieUnknownWord.arg(u"opacty")},
        {"image a a.jpg\n  opacity 2\n", 4,
         texts::kMovieOutOfRange.arg(u"opacity", u"2", u"0", u"1")},
        {"image a a.jpg\n  at 101 x 5\n", 4, texts::kMovieFrameBeyondEnd.arg(101).arg(100)},
        {"image a a.jpg\n  at ten x 5\n", 4, texts::kMovieNotFrame.arg(u"ten")},
        {"image a a.jpg\n  at 5 x five\n", 4, texts::kMovieNotNumber.arg(u"x", u"five")},
        {"image a a.jpg\n  at 5 x\n", 4, texts::kMovieMissingValue.arg(u"x")},
        {"image a a.jpg\n  at 5\n", 4, texts::kMovieNoSettings},
        {"image a a.jpg\n  at 5 x 1 wobble\n", 4, texts::kMovieUnknownWord.arg(u"wobble")},
        {"image a a.jpg\n  at 5 x 1 ease-in y 2\n", 4, texts::kMovieExtraWords.arg(u"y")},
        {"image a a.jpg\n  opacity 1 ease-in\n", 4, texts::kMovieEasingOutsideAt.arg(u"ease-in")},
        {"image a a.jpg\n  at 5 x 1\n\n  at 5 x 2\n", 6,
         texts::kMovieDuplicateKey.arg(u"x").arg(5)},
        {"image a a.jpg\n  visible 10 20\n  x 5\n  at 10 x 6\n", 6,
         texts::kMovieDuplicateKey.arg(u"x").arg(10)},
        {"image a a.jpg\n  fill red\n", 4,
         texts::kMovieNotForLayer.arg(u"fill", texts::kMovieImageLayer)},
        {"text t \"字\"\n  size 10 10\n", 4,
         texts::kMovieNotForLayer.arg(u"size", texts::kMovieTextLayer)},
        {"image a a.jpg\nimage a b.jpg\n", 4, texts::kMovieDuplicateName.arg(u"a")},
        {"image a /etc/x.jpg\n", 3, texts::kMovieAbsolutePicture.arg(u"/etc/x.jpg")},
        {"shape s rect\n  fill linear 0 red\n", 4, texts::kMovieTwoStops},
        {"shape s rect\n  fill radial red@0.8 blue@0.2\n", 4, texts::kMovieStopOrder},
        {"shape s rect\n  fill #12345\n", 4, texts::kMovieNotColor.arg(u"#12345")},
        {"shape s triangle\n", 3, texts::kMovieBadChoice.arg(u"s", u"rect、rounded-rect、ellipse")},
        {"image a a.jpg\n  visible 20 10\n", 4, texts::kMovieVisibleOrder},
        {"image a a.jpg\n  fit cover\n  fit contain\n", 5, texts::kMovieRepeated.arg(u"fit")},
        {"text t \"open\n", 3, texts::kMovieOpenQuote},
        {"opacity 1\n", 3, texts::kMovieOutsideLayer.arg(u"opacity")},
        {"image a a.jpg\nloop yes\n", 4, texts::kMovieHeaderAfterLayers.arg(u"loop")},
        {"loop maybe\n", 3, texts::kMovieBadChoice.arg(u"loop", u"yes、no")},
        {"frames 5\n", 3, texts::kMovieRepeated.arg(u"frames")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parseError(text(c.body)), lineMessage(c.line, c.problem)) << c.body;
    }
}

TEST(MovieFormat, RefusesWhatIsNotAMovie) {
    EXPECT_EQ(parseError(""), texts::kFileErrorFormat.arg(u"m.movie", texts::kMovieNoHeader));
    EXPECT_EQ(parseError("frames 10\n"), lineMessage(1, texts::kMovieNoHeader));
    EXPECT_EQ(parseError("vellumo-movie 3\nframes 10\n"),
              lineMessage(1, texts::kMovieBadVersion.arg(u"3")));
    EXPECT_EQ(parseError("vellumo-movie 1\n"),
              texts::kFileErrorFormat.arg(u"m.movie", texts::kMovieNoFrames));
    EXPECT_EQ(parseError("vellumo-movie 1\nimage a a.jpg\n"),
              lineMessage(2, texts::kMovieNoFrames));
    EXPECT_EQ(parseError("vellumo-movie 1\nframes 0\n"),
              lineMessage(2, texts::kMovieOutOfRange.arg(u"frames", u"0", u"1", u"90000")));
    EXPECT_EQ(parseError("vellumo-movie 1\nframes 2.5\n"),
              lineMessage(2, texts::kMovieNotNumber.arg(u"frames", u"2.5")));
    // A packed movie that was not unpacked, or any other binary file.
    EXPECT_EQ(parseError(QByteArray("\x10\x00\x00\x00\x78\x9c\xff\xfe", 8)),
              texts::kFileErrorFormat.arg(u"m.movie", texts::kMovieNotText));
    EXPECT_EQ(parseError(QByteArray(kMaxFileBytes + 1, ' ')),
              texts::kFileErrorFormat.arg(u"m.movie", texts::kMovieTooLarge.arg(4)));
}

TEST(MovieFormat, RefusesATextLongerThanTheLimit) {
    const QByteArray longText(kMaxTextLength + 1, 'x');
    EXPECT_EQ(parseError(text("text t " + longText + "\n")),
              lineMessage(3, texts::kMovieTextTooLong.arg(kMaxTextLength)));
    EXPECT_NO_THROW(
        parseMovie(text("text t " + longText.left(kMaxTextLength) + "\n"), QStringLiteral("m")));
}

TEST(MovieFormat, AcceptsByteOrderMarkCarriageReturnsAndCommentsBeforeTheHeader) {
    const Movie movie = parseMovie(
        "\xEF\xBB\xBF# made by hand\r\n\r\nvellumo-movie 1\r\n"
        "frames 3\r\nbackground white\r\n",
        QStringLiteral("m.movie"));
    EXPECT_EQ(movie.frames, 3);
    EXPECT_EQ(movie.background, QColor(Qt::white));
}

TEST(MovieFormat, ReadMovieNamesAMissingFileAndFindsPicturesBesideTheMovie) {
    test::TempFolder temp;
    try {
        readMovie(temp.path() + "none.movie");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), temp.path() + "none.movie");
        EXPECT_EQ(e.reason(), texts::kCannotReadFile);
    }
    const QString path = temp.write("t/wj_y_l_1/movie", text("image a ../../pic/p.jpg\n"));
    const Movie movie = readMovie(path);
    EXPECT_EQ(movie.file, path);
    EXPECT_EQ(movie.picturePath(movie.layers[0].picture),
              temp.path() + "t/wj_y_l_1/../../pic/p.jpg");
}

TEST(Easing, KnownPoints) {
    struct Point {
        Easing easing;
        double t;
        double value;
    };
    const Point points[] = {
        {Easing::Linear, 0.25, 0.25},
        {Easing::EaseIn, 0.5, 0.125},
        {Easing::EaseOut, 0.5, 0.875},
        {Easing::EaseInOut, 0.25, 0.0625},
        {Easing::EaseInOut, 0.5, 0.5},
        {Easing::EaseInOut, 0.75, 0.9375},
        {Easing::Back, 0.5, 1.0876975},
        {Easing::Spring, 0.25, 1.0 + std::exp(-1.5) * 0.75},
        {Easing::Spring, 0.5, 1.0 - std::exp(-3.0) * 0.5},
        {Easing::Hold, 0.99, 0.0},
    };
    for (const Point& p : points) {
        EXPECT_NEAR(ease(p.easing, p.t), p.value, 1e-6) << easingName(p.easing).toStdString();
    }
    for (Easing e : {Easing::Linear, Easing::EaseIn, Easing::EaseOut, Easing::EaseInOut,
                     Easing::Back, Easing::Spring, Easing::Hold}) {
        EXPECT_NEAR(ease(e, 0.0), 0.0, 1e-12) << easingName(e).toStdString();
        EXPECT_NEAR(ease(e, 1.0), 1.0, 1e-12) << easingName(e).toStdString();
    }
    // Back and spring run past the target on the way.
    EXPECT_GT(ease(Easing::Back, 0.7), 1.0);
    EXPECT_GT(ease(Easing::Spring, 0.25), 1.1);
}

TEST(Keyframes, InterpolateBetweenKeysAndHoldOutside) {
    const Movie movie = parseMovie(text("image a a.jpg\n"
                                        "  at 10 x 100\n"
                                        "  at 20 x 200 ease-in\n"
                                        "  at 30 x 0 hold\n"
                                        "  at 10 opacity 0\n"
                                        "  at 14 opacity 1\n"),
                                   QStringLiteral("m.movie"));
    const Track& x = movie.layers[0].track(Property::X);
    EXPECT_EQ(x.valueAt(0, -1), 100.0);  // before the first key
    EXPECT_EQ(x.valueAt(10, -1), 100.0);
    EXPECT_NEAR(x.valueAt(15, -1), 112.5, 1e-9);  // ease-in at half way: 1/8 of the way
    EXPECT_EQ(x.valueAt(20, -1), 200.0);
    EXPECT_EQ(x.valueAt(29.9, -1), 200.0);  // hold jumps at its key
    EXPECT_EQ(x.valueAt(30, -1), 0.0);
    EXPECT_EQ(x.valueAt(99, -1), 0.0);  // after the last key
    EXPECT_EQ(Track().valueAt(5, 42.0), 42.0);

    const LayerState s = layerStateAt(movie.layers[0], 12, QSizeF(400, 300));
    EXPECT_NEAR(s.opacity, 0.5, 1e-9);
    EXPECT_EQ(s.width, 400.0);  // no size set: the natural size
    EXPECT_EQ(s.y, 540.0);      // no position set: the stage centre
}

TEST(Keyframes, APictureGivenOnlyAWidthKeepsItsAspect) {
    const Movie movie =
        parseMovie(text("image a a.jpg\n  width 800\nshape s ellipse\n  width 800\n"),
                   QStringLiteral("m.movie"));
    const LayerState picture = layerStateAt(movie.layers[0], 0, QSizeF(400, 300));
    EXPECT_EQ(picture.height, 600.0);
    const LayerState shape = layerStateAt(movie.layers[1], 0, QSizeF(1920, 1080));
    EXPECT_EQ(shape.height, 1080.0);
}

TEST(Keyframes, OvershootingCurvesKeepOpacityAndRevealInRange) {
    const Movie movie = parseMovie(text("image a a.jpg\n  at 0 opacity 0 reveal 0\n"
                                        "  at 10 opacity 1 reveal 1 back\n"),
                                   QStringLiteral("m.movie"));
    for (int f = 0; f <= 10; ++f) {
        const LayerState s = layerStateAt(movie.layers[0], f, QSizeF(10, 10));
        EXPECT_LE(s.opacity, 1.0);
        EXPECT_LE(s.reveal, 1.0);
    }
}

}  // namespace
}  // namespace vellumo::movie
