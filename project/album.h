#pragma once

// The album being made: its photos, the used templates with their slots and backgrounds, its
// music and lyrics, the output options, and the operations that keep them in step. It lives in
// memory from start to exit and is kept in a project file (project/project_file.h).
//
// The album is the one writer of its records: they are read through const accessors, and every
// change is one of its methods. Each change is announced by changed(), naming the parts that
// changed, once per user action: a method opens a change scope (Album::Edit), scopes nest, and
// the parts are announced when the outermost one closes. An action that calls several methods
// opens a scope around them.

#include <QFlags>
#include <QObject>
#include <functional>
#include <optional>
#include <vector>

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

class MusicPlayer;

enum class AlbumPart : unsigned {
    Photos = 0x01,       // the photo list and its in-template marks
    Templates = 0x02,    // the used-template list and the templates' photo match
    Slots = 0x04,        // the slot table: which photo a slot holds, its placements
    Backgrounds = 0x08,  // the background rows and the landscape list
    Music = 0x10,
    Lyrics = 0x20,   // the lyric files and their settings
    Options = 0x40,  // the output options and the placement state
};
Q_DECLARE_FLAGS(AlbumParts, AlbumPart)
Q_DECLARE_OPERATORS_FOR_FLAGS(AlbumParts)
inline constexpr AlbumParts kAllAlbumParts{0x7f};

// What a placement changes together: templates, slots, the photos' marks, the backgrounds and
// the wrap cursors, open for the length of one run (assignment/placement.h).
struct PlacementRecords {
    UsedTemplates& templates;
    PhotoList& photos;
    Backgrounds& backgrounds;
    WrapCursors& cursors;
    PlacementMode mode;
};

class Album : public QObject {
    Q_OBJECT
public:
    explicit Album(const Catalogue& catalogue, RandomIndex random = programRandom());

    const Catalogue& catalogue() const { return catalogue_; }
    const PhotoList& photos() const { return photos_; }
    const Backgrounds& backgrounds() const { return backgrounds_; }
    const UsedTemplates& templates() const { return templates_; }
    const MusicList& music() const { return music_; }
    const LyricsList& lyrics() const { return lyrics_; }
    const OutputOptions& outputOptions() const { return outputOptions_; }
    // The mode "自动套版" runs with: the one the last add of photos set.
    PlacementMode placementMode() const { return placementMode_; }
    // Where combined placement took its last photos.
    const WrapCursors& wrapCursors() const { return wrapCursors_; }

    // A change scope. The parts named here and by mark() are announced by changed() when the
    // outermost scope of the album closes; nothing is announced when none changed, nor while
    // an exception unwinds (the parts stay to be announced with the next change, and a failed
    // action is put back by restore(), which announces every part).
    class Edit {
    public:
        explicit Edit(Album& album, AlbumParts parts = {});
        ~Edit() noexcept(false);
        Edit(const Edit&) = delete;
        Edit& operator=(const Edit&) = delete;

        void mark(AlbumParts parts) { album_.pending_ |= parts; }
        // The records a placement run changes; marks them changed.
        PlacementRecords placement();

    private:
        Album& album_;
        int unwinding_;
    };

    // What a failed user action is put back to. Points nest like the events that set them: the
    // album's state is taken when the first change after the point opens, for every open point
    // that has none yet, so that an action that changes nothing costs nothing.
    class UndoPoint {
    public:
        explicit UndoPoint(Album& album);
        ~UndoPoint();
        UndoPoint(const UndoPoint&) = delete;
        UndoPoint& operator=(const UndoPoint&) = delete;

        // Puts the album back as it was when the point was set; false when nothing changed
        // since.
        bool restore();

    private:
        Album& album_;
        std::size_t level_;
    };

    // Photos. Appends a photo record (backgrounds are refreshed once all are in).
    void addPhoto(PhotoRecord record);
    // Removes a photo: the slots holding it are emptied and their templates become incomplete,
    // later photos move up a row, and backgrounds are refreshed (rows keep their pictures).
    void deletePhoto(int row);
    // Removes every photo and with them every used template, slot and background row.
    void deleteAllPhotos();
    void refreshDefaultBackgrounds();
    void setInTemplate(int row, bool inTemplate);
    void setPlacementMode(PlacementMode mode);
    void setWrapCursors(WrapCursors cursors);

    // Templates and slots (album/used_templates.h says what each does).
    int addTemplate(const CatalogueEntry& entry, bool complete = false);
    void deleteTemplate(int t);
    void deleteAllTemplates();
    PlaceResult placePhoto(int photoRow, int t, int slotIndex);
    void fillSlot(int slotRow, int photoRow);
    void updateMatch(int t);
    // The crop window's placements of one slot.
    void setPlacements(int slotRow, const Placement& fullScreen, const Placement& medium,
                       CropMark mark);
    void setBackground(int t, BackgroundRow row);

    // Music and lyrics (album/music_list.h, album/lyrics_list.h). addMusic says what went wrong,
    // empty when the file went in.
    QString addMusic(const QString& path, MusicPlayer& player,
                     const std::function<void()>& pump = {});
    void removeMusic(int row);
    void clearMusic();
    void addLyrics(const QString& path);
    void removeLyrics(int row);
    void clearLyrics();
    void setLyricSettings(int row, const LyricSettings& settings);

    void setOutputOptions(const OutputOptions& options);

    // The one lyric table: the lyric file last read by any display (preview, music preview). It
    // is what a display shows, not part of the album the user makes: setting it announces
    // nothing and no project keeps it.
    const LyricTable& lyricTable() const { return lyricTable_; }
    void setLyricTable(LyricTable table) { lyricTable_ = std::move(table); }

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
    // Puts a whole album in place (a project opened, a new album, a failed action undone):
    // every part changes.
    void restore(const Snapshot& snapshot);

signals:
    // Once per outermost change scope that changed anything.
    void changed(vellumo::AlbumParts parts);

private:
    void opened();
    void closed(bool unwinding);

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

    int depth_ = 0;
    AlbumParts pending_;
    std::vector<std::optional<Snapshot>> undoPoints_;
};

}  // namespace vellumo
