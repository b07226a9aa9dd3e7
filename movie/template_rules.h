#pragma once

// The rules every template movie of the library keeps, against its parameter file, and the
// stillness measure: a template must show visible change from its first frames to its last.
// vellumo-tool check-template prints each rule's result; the data generator refuses a template
// that breaks one, so that the build fails naming its file.

#include <QSize>
#include <QString>

#include <vector>

#include "catalogue/catalogue.h"
#include "movie/movie_model.h"
#include "movie/movie_pictures.h"

namespace vellumo::movie {

// A library template runs 5 to 12 seconds.
inline constexpr int kMinTemplateFrames = 125;
inline constexpr int kMaxTemplateFrames = 300;
// The system counts 150 frames for the closing movie in every album.
inline constexpr int kClosingFrames = 150;
// A template ends on a still picture, which the next one starts from: nothing moves, appears
// or disappears in its last frames.
inline constexpr int kStillEndFrames = 10;

// Between its first and last kStillnessMarginFrames frames a template may not stand still for
// more than kMaxStillFrames frames in a row. Still means no pixel of a small rendering, with
// sample pictures in its slots, differs by more than kVisibleChange (of 255, in red, green or
// blue) from the first frame of the run.
inline constexpr int kStillnessMarginFrames = 12;
inline constexpr int kMaxStillFrames = 25;
inline constexpr int kVisibleChange = 8;
inline constexpr QSize kStillnessSize(320, 180);

// The pictures staging writes next to every template movie.
inline const QString kBackgroundPicture = QStringLiteral("wj_y_l_b_j.jpg");
inline const QString kLeadInPicture = QStringLiteral("../../pic/picture_0.jpg");

// The longest run of frames without visible change within the measured frames.
struct StillRun {
    int first = 0;   // its first frame
    int length = 0;  // frames in it; 0 when nothing was measured
};

struct RuleResult {
    QString rule;     // a short name: "lead-in", "frames", …
    QString problem;  // empty when the rule holds
    bool passed() const { return problem.isEmpty(); }
};

struct TemplateCheck {
    std::vector<RuleResult> rules;
    StillRun longestStill;
    bool passed() const;
    // The first broken rule's problem, or empty.
    QString firstProblem() const;
};

// The sample pictures a template is rendered with to measure stillness: a textured picture for
// every picture the movie shows, at the size staging would write it for a stage of size.
MoviePictures samplePictures(const Movie& movie, const CatalogueRecord& record, QSize size);

// The longest still run between frames from and to (exclusive), rendering the movie at size.
StillRun longestStillRun(const Movie& movie, const MoviePictures& pictures, QSize size, int from,
                         int to);

// Every rule, in order: the lead-in shown at frame 0; frames = mbdx within the library's range;
// the picture names (every photo slot shown, every picture shown one that staging writes); the
// picture sizes (singles give none, advanced templates size every picture); the decoration
// names (a picture that is no slot contains a slot's name and has its shape); substring
// matching (every slot's picture is staged from its own slot); a still end; and, when
// measureMotion is set, no still run longer than kMaxStillFrames.
TemplateCheck checkTemplate(const Movie& movie, const CatalogueRecord& record,
                            bool measureMotion = true);

// The closing movie: 150 frames, the lead-in at frame 0 and no other picture. Empty when it
// holds, else the problem.
QString closingMovieProblem(const Movie& movie);
// The start-up animation: it loops and shows no pictures (nothing is staged for it).
QString startupAnimationProblem(const Movie& movie);

}  // namespace vellumo::movie
