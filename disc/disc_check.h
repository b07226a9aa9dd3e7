#pragma once

// A written disc read back before it counts as complete. A DVD (ISO file or folder holding
// VIDEO_TS) is read with libdvdread: its titles, chapters, length, video and audio attributes and
// the buttons of its menus. A VCD or SVCD image is a .cue naming its .bin, and the .bin a whole
// number of 2352-byte sectors.

#include <QList>
#include <QRect>
#include <QString>
#include <QVector>

#include "disc/disc_authoring.h"

namespace vellumo::disc {

struct DvdButtonFacts {
    QRect area;  // stored pixels
    // Buttons the arrows move to, from 1 (the DVD's own numbering).
    int up = 0;
    int down = 0;
    int left = 0;
    int right = 0;
};

struct DvdFacts {
    bool opened = false;
    int titles = 0;
    int chapters = 0;               // of the first title
    QVector<double> chapterStarts;  // seconds from the title's start
    double seconds = 0;             // the first title's length
    double framesPerSecond = 25;
    int width = 0;
    int height = 0;
    bool pal = false;
    bool wide = false;  // 16:9
    bool ac3 = false;   // the first audio stream is AC-3
    int audioStreams = 0;
    bool firstPlayToMenu = false;  // the disc starts in a menu (its first-play program jumps)
    // The title set's menus in order, with the buttons of each menu's first navigation pack.
    QList<QList<DvdButtonFacts>> menus;
};

// Reads the DVD at path (an ISO file or a folder with VIDEO_TS); opened is false when libdvdread
// cannot.
DvdFacts readDvd(const QString& path);

// Why the DVD at path is not the disc request asked for; empty when it is.
QString checkDvd(const QString& path, const DiscRequest& request);
// Why the image is incomplete; empty when it is whole.
QString checkVcdImage(const QString& binFile, const QString& cueFile);

}  // namespace vellumo::disc
