#pragma once

// The main display: the 800 × 450 black area whose picture shows the start picture, the preview
// and photos. The picture may be placed anywhere, also partly outside; what lies outside is cut.
// The lyric label lies over it, transparent.

#include <QImage>
#include <QLabel>
#include <QWidget>

#include "album/lyric_label.h"

namespace vellumo {

class MainDisplay : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize kSize{800, 450};

    explicit MainDisplay(QWidget* parent);

    QLabel* picture() const { return picture_; }
    const LyricLabel* lyricLabel() const { return lyric_; }

    // Shows image with its top-left corner at topLeft; the picture takes the image's size.
    void showPicture(const QImage& image, QPoint topLeft);
    // Centres image: left = display width div 2 - image width div 2, top likewise.
    void showCentred(const QImage& image);
    void clearPicture();
    // The lyric label takes the line's text, font, colour and place.
    void showLyric(const LyricLine& line);
    void clearLyric();
    // Mouse events on the picture pass through filter first.
    void watchPicture(QObject* filter);

    // Where showCentred puts an image of that size.
    static QPoint centredPosition(QSize image);

private:
    QLabel* picture_ = nullptr;
    LyricLabel* lyric_ = nullptr;
};

}  // namespace vellumo
