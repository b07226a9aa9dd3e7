#pragma once

// The album's records as the list windows show them, one kind each: the cells of a row and the
// fields of the information panel, and the deletes through the album's model.

#include "album/lyrics_list.h"
#include "album/music_list.h"
#include "lists/record_list_window.h"
#include "project/album.h"

namespace vellumo {

class Album;

// Number, name, format, width, height, location, in-template mark.
class PhotoRows : public RecordRows {
public:
    explicit PhotoRows(Album& album) : album_(album) {}
    int count() const override;
    QStringList cells(int row) const override;
    QStringList fields(int row) const override;
    void remove(int row) override;
    void removeAll() override;

private:
    Album& album_;
};

// One row per used template with the picture drawn behind it: number, template name, kind,
// class, picture name, format, width, height, location. Rows are changed, not deleted.
class BackgroundRows : public RecordRows {
public:
    explicit BackgroundRows(const Album& album) : album_(album) {}
    int count() const override;
    QStringList cells(int row) const override;
    QStringList fields(int row) const override;

private:
    const Album& album_;
};

// The cells of a music record after its number: name, format, duration, location; of a lyric
// file's record: name, format, location.
QStringList recordCells(const MusicRecord& record);
QStringList recordCells(const LyricFileRecord& record);

// A list of the album's files, music or lyrics: number and the record's cells. Deleting a lyric
// file deletes its settings record with it.
template <auto records, auto removeOne, auto removeEvery>
class AlbumFileRows : public RecordRows {
public:
    explicit AlbumFileRows(Album& album) : album_(album) {}
    int count() const override { return static_cast<int>((album_.*records)().size()); }
    QStringList cells(int row) const override {
        return QStringList{QString::number(row + 1)} + recordCells((album_.*records)().at(row));
    }
    QStringList fields(int row) const override { return cells(row); }
    void remove(int row) override { (album_.*removeOne)(row); }
    void removeAll() override { (album_.*removeEvery)(); }

private:
    Album& album_;
};

using MusicRows = AlbumFileRows<&Album::music, &Album::removeMusic, &Album::clearMusic>;
using LyricsRows = AlbumFileRows<&Album::lyrics, &Album::removeLyrics, &Album::clearLyrics>;

// The rows of the main window's summaries: number, name, duration / number, name, format.
QList<QStringList> musicSummaryRows(const MusicList& music);
QList<QStringList> lyricsSummaryRows(const LyricsList& lyrics);

}  // namespace vellumo
