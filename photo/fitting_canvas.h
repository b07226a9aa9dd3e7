#pragma once

// The photo fitting canvas: every photo shown or written at a given size goes through it. A
// caller sizes the capture panel and the picture box (directly or with a fit rule), loads the
// photo at the picture box's size, and captures the panel: a white background with the picture
// stretched over the box and, for tiles, a number badge.

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

namespace vellumo {

// The outcome of a fit rule: where the picture box goes and how large the panel is.
struct Fit {
    QRect pictureBox;
    QSize panel;
};

// The fit rules. Integer arithmetic, division truncating toward zero; a photo is landscape when
// its width is at least its height. w × h is the photo's own size.
//
// Contain: the photo inside a box W × H; with medium (chosen per orientation) the box shrinks
// by 6 in each direction and a landscape photo is kept within its height too. The panel is the
// picture box, so a capture is the fitted photo alone.
Fit fitContain(int W, int H, int w, int h, bool mediumLandscape, bool mediumPortrait);
// Contain with a frame (tiles): the photo inside the tile less 6, always kept inside, framed by 3
// white pixels on each side.
Fit fitContainWithFrame(int tileWidth, int tileHeight, int w, int h);
// Cover (backgrounds): the photo fills the W × H panel, centred horizontally and cut where it
// overflows.
Fit fitCover(int W, int H, int w, int h);

class FittingCanvas {
public:
    // The panel's size is the size of every capture.
    void setPanelSize(QSize size) { panel_ = size; }
    QSize panelSize() const { return panel_; }
    void setPictureBox(const QRect& box) { pictureBox_ = box; }
    QRect pictureBox() const { return pictureBox_; }
    void apply(const Fit& fit);

    void clearPicture() { picture_ = QImage(); }
    bool hasPicture() const { return !picture_.isNull(); }
    const QImage& picture() const { return picture_; }

    // Loads the file at the picture box's size. The file name is kept: a later capture without
    // a load of its own shows the file loaded last. False when the file had no usable image (the
    // icon picture is shown instead).
    bool loadPhoto(const QString& fileName);
    // A picture loaded elsewhere for the picture box (on another thread, say), taken as if
    // loadPhoto had loaded it from the file.
    void setPicture(QImage picture, const QString& fileName);
    const QString& fileName() const { return fileName_; }

    // The tile number badge: "〔n〕" in bold 宋体 on yellow, at (3, 3).
    void showBadge(int number);
    void hideBadge();
    bool badgeVisible() const { return badgeVisible_; }
    const QString& badgeText() const { return badgeText_; }

    // The panel painted at (0, 0): white, the picture stretched over the box, the badge.
    QImage capture() const;

private:
    QSize panel_;
    QRect pictureBox_;
    QImage picture_;
    QString fileName_;
    QString badgeText_;
    bool badgeVisible_ = false;
};

// Writes a picture as a JPEG of quality 90 (4:2:0, the encoder's defaults). Throws FileError.
void writeJpeg(const QImage& image, const QString& path);
// Loads a bitmap file and writes it as JPEG under targetName with its extension changed to
// ".jpg". Throws FileError.
void saveAsJpeg(const QString& bitmapFile, const QString& targetName);
// Writes a picture as a 24-bit bitmap file (the intermediate files of staging). Throws FileError.
void writeBitmap(const QImage& image, const QString& path);

}  // namespace vellumo
