#pragma once

// The DVD's menus, drawn by us: the menu the disc opens on (the album's name, its first photos in
// picture frames moving gently and looping, "播放全部" and "章节选择") and the chapter pages (six
// pictures to a page, "上一页", "下一页", "返回"). Each page is a short MPEG clip of its pictures
// plus a subpicture stream of button highlights made by spumux; buttons carry up/down/left/right
// links so that a remote control moves through them.
//
// Menus are 4:3: the pictures are drawn in square pixels (768 × 576 PAL, 640 × 480 NTSC), a
// uniform scale of a 1024 × 768 layout, and the encoder's menu preset stores them at the
// standard's size (720 × 576, 720 × 480) flagged 4:3, so circles stay round on the screen. The
// button overlays are at the stored size, with their rectangles on even lines, as the
// subpicture format wants.

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>
#include <QString>
#include <QStringList>

#include "media/mcl.h"

namespace vellumo::disc {

inline constexpr int kMenuLayoutWidth = 1024;
inline constexpr int kMenuLayoutHeight = 768;
inline constexpr int kChaptersPerPage = 6;
// The opening menu's loop, in pictures at 25 a second.
inline constexpr int kMainMenuFrames = 125;
// A chapter page is a still shown for ever once it has played.
inline constexpr int kChapterPageFrames = 15;

struct MenuButton {
    QRect area;       // in the 1024 × 768 layout
    QString label;    // drawn inside the button; empty for a chapter picture
    QString command;  // what dvdauthor does when the button is pressed
    // Indices of the buttons a remote's arrows move to (the button itself at an edge).
    int up = 0;
    int down = 0;
    int left = 0;
    int right = 0;
};

struct MenuPage {
    QList<MenuButton> buttons;
    bool moving = false;  // the opening menu loops its motion; a chapter page stands still
    int frames = 0;
    // Chapter pages: the chapters shown, from 0.
    int firstChapter = 0;
    int chapterCount = 0;
};

struct MenuContent {
    mcl::TvSystem tv = mcl::TvSystem::Pal;
    QString albumName;
    QList<QImage> photos;    // the album's first photos
    QList<QImage> chapters;  // one picture per chapter
    int chapterCount = 0;    // chapters of the title (pictures may be fewer)
};

class MenuPainter {
public:
    explicit MenuPainter(MenuContent content);

    // The stored picture size of the standard: the overlays' size.
    QSize frameSize() const;
    // The size the pictures are drawn at: 4:3 in square pixels.
    QSize pictureSize() const;
    // The opening menu first, then the chapter pages. dvdauthor's menu n is page n - 1.
    int pageCount() const;
    const MenuPage& page(int index) const { return pages_[index]; }

    // Picture frameIndex of page (RGB32, pictureSize()); frame wraps around the page's loop.
    QImage frame(int pageIndex, int frameIndex) const;
    // The button overlay of page for spumux: transparent, each button outlined in one colour
    // (selected: the colour of a pressed button).
    QImage highlight(int pageIndex, bool selected) const;
    // The buttons' rectangles in stored pixels, even on both edges.
    QRect storedArea(const QRect& layoutArea) const;
    // spumux's description of page's buttons over the two overlay images.
    QString spumuxXml(int pageIndex, const QString& highlightPng, const QString& selectPng) const;

private:
    // The opening menu is drawn from layers painted once: the sky, the soft lights, the title
    // with the buttons, and each photo in its mat; a picture only places them.
    struct Sprite {
        QImage image;    // premultiplied, in stored pixels (photos: in layout units)
        QPointF anchor;  // the point of the image that lands on the drawn centre
    };
    void paintLayers();
    void paintMain(QImage& image, double phase) const;
    void paintChapters(QImage& image, const MenuPage& page) const;

    MenuContent content_;
    QList<MenuPage> pages_;
    QImage sky_;
    QImage titleAndButtons_;
    QList<Sprite> lights_;
    QList<Sprite> photos_;
};

// The button names spumux and dvdauthor share: "b1", "b2", ...
QString menuButtonName(int index);

// Links each button to its nearest neighbour in every direction (itself where there is none).
void linkButtons(QList<MenuButton>& buttons);

// The ISO 9660 volume label of an album name: A–Z, 0–9 and "_", at most 32 characters;
// "ALBUM" when nothing of the name is left.
QString volumeLabel(const QString& albumName);

}  // namespace vellumo::disc
