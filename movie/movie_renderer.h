#pragma once

// Draws frames of a template movie at a given size. Everything that does not change from frame
// to frame (pictures scaled to the sizes they are shown at, texts, blurred shadows) is prepared
// once in the constructor; render() is then a pure function of the frame number: the same frame
// always gives the same picture.

#include <QImage>
#include <QPainter>
#include <QSize>
#include <QTransform>

#include <memory>
#include <vector>

#include "movie/movie_animation.h"
#include "movie/movie_model.h"
#include "movie/movie_pictures.h"

namespace vellumo::movie {

struct ImageFilter;

class MovieRenderer {
public:
    MovieRenderer();
    // size is the player's size in pixels; the 1920 x 1080 stage is scaled to fill it. Pictures
    // are those of readMoviePictures(); a picture missing from them draws nothing.
    MovieRenderer(std::shared_ptr<const Movie> movie, const MoviePictures& pictures, QSize size);
    ~MovieRenderer();
    MovieRenderer(MovieRenderer&&) noexcept;
    MovieRenderer& operator=(MovieRenderer&&) noexcept;

    bool isNull() const { return !movie_ || size_.isEmpty(); }
    const Movie& movie() const { return *movie_; }
    QSize size() const { return size_; }

    // Draws frame (which may fall between two frames) into target, making target an RGB32
    // image of size() first when it is not one.
    void render(double frame, QImage& target) const;
    QImage render(double frame) const;

    // Whether frames a and b are drawn alike: every layer shown at both or at neither, with the
    // same values of every property, and no particles shown (they move whatever the tracks
    // say). Cheap beside drawing: a still stretch is drawn once and repeated.
    bool sameFrames(double a, double b) const;

    // Whether layer i has anything to draw (its picture was found, its text is not empty).
    bool layerDrawable(size_t i) const;

private:
    struct PreparedLayer;

    double bookPixels(double scale, double w, double h, int maxSide);
    void prepareLayer(const Layer& layer, const MoviePictures& pictures, PreparedLayer& out);
    void prepareFramedPicture(const Layer& layer, const QImage& picture, const LayerState& first,
                              double largestScale, PreparedLayer& out);
    void prepareShapeSprite(const Layer& layer, const LayerState& first, double largestScale,
                            PreparedLayer& out);
    void prepareShadow(const Layer& layer, const LayerState& first, double largestScale,
                       PreparedLayer& out);
    void paint(double frame, QImage& target) const;
    void drawContent(QPainter& painter, const MipChain& content, const QRectF& wholeTarget,
                     const QRectF& wholeSource, const QTransform& world,
                     const ImageFilter* filter = nullptr) const;
    void drawShadow(QPainter& painter, const PreparedLayer& prepared, const QTransform& local,
                    const QTransform& group, const QRectF& silhouette, bool covered) const;
    void drawLayer(QPainter& painter, const PreparedLayer& prepared, const QTransform& group,
                   double frame) const;
    void drawRichText(QPainter& painter, const PreparedLayer& prepared, const LayerState& s,
                      const QRectF& target, const QTransform& world) const;
    void drawParticles(QPainter& painter, const PreparedLayer& prepared, const LayerState& s,
                       const QTransform& world, double frame) const;
    void drawMaskedLayer(QPainter& painter, const PreparedLayer& prepared, const QTransform& group,
                         double frame) const;
    void drawLayers(QPainter& painter, size_t from, size_t to, const QTransform& group,
                    double frame) const;
    void drawGroup(QPainter& painter, size_t index, size_t end, const QTransform& parent,
                   double frame) const;
    double groupScale(const Layer& layer, double frame) const;
    bool coversStage(const PreparedLayer& prepared, double frame) const;

    std::shared_ptr<const Movie> movie_;
    QSize size_;
    double pxPerRefX_ = 1.0;  // device pixels per reference unit
    double pxPerRefY_ = 1.0;
    double pixelBudget_ = 0.0;  // pixels prepared images may still take
    std::vector<PreparedLayer> layers_;
};

}  // namespace vellumo::movie
