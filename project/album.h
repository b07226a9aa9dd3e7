#pragma once

// The album being made: its photos, the used templates with their slots and backgrounds, its
// music and lyrics, the output options, and the operations that keep them in step. It lives in
// memory from start to exit and is kept in a project file (project/project_file.h).

#include "album/backgrounds.h"
#include "album/lyrics.h"
#include "album/lyrics_list.h"
#include "album/music_list.h"
#include "album/output_options.h"
#include "album/photo_list.h"
#include "album/used_templates.h"
#include "catalogue/catalogue.h"
#include "project/placement_state.h"

namespace vellumo {

class PlacementRun;

class Album {
public:
    explicit Album(const Catalogue& catalogue, RandomIndex random = programRandom());
    Album(const Album&) = delete;
    Album& operator=(const Album&) = delete;

    const Catalogue& catalogue() const { return catalogue_; }
    const PhotoList& photos() const { return photos_; }
    const Backgrounds& backgrounds() const { return backgrounds_; }
    Backgrounds& backgrounds() { return backgrounds_; }
    const UsedTemplates& templates() const { return templates_; }
    UsedTemplates& templates() { return templates_; }
    const MusicList& music() const { return music_; }
    MusicList& music() { return music_; }
    const LyricsList& lyrics() const { return lyrics_; }
    LyricsList& lyrics() { return lyrics_; }
    // The one lyric table: the lyric file last read by any display (preview, music preview).
    const LyricTable& lyricTable() const { return lyricTable_; }
    LyricTable& lyricTable() { return lyricTable_; }
    const OutputOptions& outputOptions() const { return outputOptions_; }
    OutputOptions& outputOptions() { return outputOptions_; }

    // The mode "自动套版" runs with: the one the last add of photos set.
    PlacementMode placementMode() const { return placementMode_; }
    void setPlacementMode(PlacementMode mode) { placementMode_ = mode; }

    // Appends a photo record; backgrounds are refreshed by the caller once all are in.
    void addPhoto(PhotoRecord record);
    // Removes a photo: the slots holding it are emptied and their templates become incomplete,
    // later photos move up a row, and backgrounds are refreshed (rows keep their pictures).
    void deletePhoto(int row);
    // Removes every photo and with them every used template, slot and background row.
    void deleteAllPhotos();
    void refreshDefaultBackgrounds() { backgrounds_.refreshDefaults(photos_); }
    void setInTemplate(int row, bool inTemplate) { photos_.setInTemplate(row, inTemplate); }

    // Where combined placement took its last photos.
    WrapCursors& wrapCursors() { return wrapCursors_; }
    const WrapCursors& wrapCursors() const { return wrapCursors_; }

    // Everything the user has made, to put back when a command fails half-way. The lists are
    // shared with the album until one side changes, so taking one costs next to nothing.
    struct Snapshot {
        PhotoList photos;
        QVector<BackgroundRow> backgroundRows;
        QVector<BackgroundCandidate> landscapeList;
        QVector<UsedTemplate> templates;
        QVector<PhotoSlot> slotTable;
        MusicList music;
        LyricsList lyrics;
        LyricTable lyricTable;
        OutputOptions outputOptions;
        PlacementMode placementMode = PlacementMode::Random;
        WrapCursors wrapCursors;
    };
    Snapshot snapshot() const;
    void restore(const Snapshot& snapshot);

private:
    // A placement run (assignment/placement.h) sets the photos' in-template marks.
    friend PlacementRun placementRun(Album& album);

    const Catalogue& catalogue_;
    PhotoList photos_;
    Backgrounds backgrounds_;
    UsedTemplates templates_;
    MusicList music_;
    LyricsList lyrics_;
    LyricTable lyricTable_;
    OutputOptions outputOptions_;
    PlacementMode placementMode_ = PlacementMode::Random;
    WrapCursors wrapCursors_;
};

}  // namespace vellumo
