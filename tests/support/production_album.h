#pragma once

// An album ready to be produced, for window tests: a program folder (a temporary folder) with
// the closing movie and landscape templates whose photo fills the stage, coloured photos
// placed on them, and the output options at the smallest size.

#include <QColor>
#include <QString>
#include <QVector>

#include "catalogue/catalogue.h"
#include "media/music_player.h"
#include "project/album.h"
#include "tests/support/test_files.h"

namespace vellumo::test {

class ProductionAlbum {
public:
    // One complete template of each length, in order, each showing the next of colours.
    explicit ProductionAlbum(const QVector<int>& templateFrames = {40, 30},
                             const QVector<QColor>& colours = {Qt::red, Qt::blue});
    ~ProductionAlbum();
    ProductionAlbum(const ProductionAlbum&) = delete;
    ProductionAlbum& operator=(const ProductionAlbum&) = delete;

    Album& album() { return album_; }
    const TempFolder& folder() const { return folder_; }
    // A tone of that length and, when lyricLine is given, its lyrics file with the line at 00:01.
    void addMusic(double seconds, const QString& lyricLine = {});

private:
    TempFolder folder_;
    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
    MusicPlayer player_;
};

}  // namespace vellumo::test
