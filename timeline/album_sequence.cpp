#include "timeline/album_sequence.h"

#include <algorithm>
#include <memory>

#include "album/lyric_painting.h"
#include "media/audio_decoder.h"
#include "project/album.h"
#include "timeline/shown_lyrics.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

// Frames (rounded up) that a length in milliseconds covers.
qint64 framesOfMs(qint64 ms) {
    return (ms * kAlbumFrameRate + 999) / 1000;
}

// Where each song starts when the songs are joined as the encoder joins them: plainly, or with
// a crossfade, where a song starts as the tail the song before held back begins. A song too
// short to take up the whole tail is mixed into it, and the song after it joins plainly.
class SoundLayout {
public:
    explicit SoundLayout(qint64 crossfadeMs) : crossfadeMs_(crossfadeMs) {}

    // The start of the next song, lengthMs long.
    qint64 add(qint64 lengthMs) {
        const qint64 start = endMs_ - tailMs_;
        if (tailMs_ > 0 && lengthMs - crossfadeMs_ < tailMs_) {
            endMs_ = std::max(endMs_, start + lengthMs);
            tailMs_ = 0;
        } else {
            endMs_ = start + lengthMs;
            tailMs_ = std::min(crossfadeMs_, lengthMs);
        }
        return start;
    }

private:
    qint64 crossfadeMs_;
    qint64 endMs_ = 0;
    qint64 tailMs_ = 0;
};

}  // namespace

MusicLengthFunc probedMusicLength() {
    auto cache = std::make_shared<QHash<QString, qint64>>();
    return [cache](const QString& location) -> qint64 {
        if (const auto found = cache->constFind(location); found != cache->cend()) {
            return found.value();
        }
        qint64 length = 0;
        try {
            length = probeAudio(location).lengthMs;
        } catch (const Error&) {
            length = 0;  // the encoder names the file when it cannot decode it
        }
        cache->insert(location, length);
        return length;
    };
}

QVector<int> AlbumSequence::completeTemplates(const Album& album) {
    QVector<int> rows;
    const UsedTemplates& templates = album.templates();
    for (int t = 0; t < templates.size(); ++t) {
        if (templates.at(t).complete) {
            rows.append(t);
        }
    }
    return rows;
}

AlbumSequence AlbumSequence::build(const Album& album, const Input& input) {
    AlbumSequence s;
    s.sync_ = input.sync;
    const MusicLengthFunc length = input.musicLength ? input.musicLength : probedMusicLength();
    const auto stop = [&] {
        if (input.stopRequested && input.stopRequested()) {
            s.stopped_ = true;
        }
        return s.stopped_;
    };

    QVector<SequenceMovie> pass;
    qint64 passFrames = 0;
    for (int row : input.playList) {
        const int frames =
            album.catalogue().record(album.templates().at(row).info->catalogueIndex).frames;
        if (frames > 0) {
            pass.append(SequenceMovie{row, passFrames, frames});
            passFrames += frames;
        }
    }
    const MusicList& music = album.music();

    qint64 templateFrames = 0;
    const auto addPass = [&] {
        for (SequenceMovie m : pass) {
            m.firstFrame += templateFrames;
            s.movies_.append(m);
        }
        templateFrames += passFrames;
    };

    const qint64 crossfadeMs = album.outputOptions().crossfadeSongs ? kCrossfadeMs : 0;
    SoundLayout layout(crossfadeMs);
    if (input.sync == SyncMode::WithMusic) {
        // The music list once; the templates come round until they cover it.
        qint64 musicMs = 0;
        for (int i = 0; i < music.size(); ++i) {
            if (stop()) {
                return s;
            }
            const qint64 ms = length(music.at(i).playedFile());
            const qint64 start = layout.add(ms);
            s.musicRows_.append(
                MusicRow{i, music.at(i).playedFile(), ms, static_cast<int>(ms / 1000) * 25, start});
            musicMs = std::max(musicMs, start + ms);
        }
        do {
            addPass();
        } while (passFrames > 0 && templateFrames < framesOfMs(musicMs));
    } else {
        addPass();
    }
    s.movies_.append(SequenceMovie{-1, templateFrames, kClosingMovieFrames});
    s.totalFrames_ = templateFrames + kClosingMovieFrames;

    if (input.sync == SyncMode::WithTemplate && !music.isEmpty()) {
        // The music list from its start again and again until its rows cover the album.
        qint64 musicFrames = 0;
        qint64 startMs = 0;
        int i = 0;
        int neededThisPass = 0;
        while (musicFrames < s.totalFrames_) {
            if (stop()) {
                return s;
            }
            if (i >= music.size()) {
                if (neededThisPass == 0) {
                    s.musicCovers_ = false;  // every file shorter than a second
                    break;
                }
                i = 0;
                neededThisPass = 0;
            }
            const qint64 ms = length(music.at(i).playedFile());
            const int needed = static_cast<int>(ms / 1000) * 25;
            const qint64 start = crossfadeMs > 0 ? layout.add(ms) : startMs;
            s.musicRows_.append(MusicRow{i, music.at(i).playedFile(), ms, needed, start});
            // A crossfade takes the overlap off what the rows cover.
            musicFrames += needed - (startMs - start) * kAlbumFrameRate / 1000;
            neededThisPass += needed;
            startMs = start + ms;
            ++i;
        }
    }
    return s;
}

QVector<int> AlbumSequence::playList() const {
    QVector<int> rows;
    for (const SequenceMovie& m : movies_) {
        if (!m.isClosing()) {
            rows.append(m.usedTemplate);
        }
    }
    return rows;
}

QStringList AlbumSequence::soundFiles() const {
    QStringList files;
    for (const MusicRow& row : musicRows_) {
        files.append(row.location);
    }
    return files;
}

AlbumFrame AlbumSequence::at(qint64 frame) const {
    AlbumFrame f;
    if (movies_.isEmpty()) {
        return f;
    }
    frame = std::clamp<qint64>(frame, 0, std::max<qint64>(0, totalFrames_ - 1));
    const auto movie =
        std::upper_bound(movies_.cbegin(), movies_.cend(), frame,
                         [](qint64 n, const SequenceMovie& m) { return n < m.firstFrame; });
    f.movie = static_cast<int>(movie - movies_.cbegin()) - 1;
    f.movieFrame = static_cast<int>(frame - movies_.at(f.movie).firstFrame);

    const qint64 ms = frame * kAlbumFrameMs;
    const auto row = std::upper_bound(musicRows_.cbegin(), musicRows_.cend(), ms,
                                      [](qint64 t, const MusicRow& r) { return t < r.startMs; });
    if (row != musicRows_.cbegin()) {
        const MusicRow& heard = *(row - 1);
        if (ms < heard.startMs + heard.lengthMs) {
            f.musicRow = static_cast<int>(row - musicRows_.cbegin()) - 1;
            f.musicMs = ms - heard.startMs;
        }
    }
    return f;
}

SequenceLyrics::SequenceLyrics(const Album& album, const AlbumSequence& sequence)
    : album_(album), sequence_(sequence) {}

SequenceLyrics::Track& SequenceLyrics::track(int lyricFile) {
    auto found = tracks_.find(lyricFile);
    if (found != tracks_.end()) {
        return found.value();
    }
    Track t;
    const QString& location = album_.lyrics().at(lyricFile).location;
    if (const QString problem = readShownLyrics(location, t.table); !problem.isEmpty()) {
        problems_.append(problem);
    }
    return tracks_.insert(lyricFile, std::move(t)).value();
}

int SequenceLyrics::shownAt(Track& t, qint64 second) const {
    // Each second looks its time text up; between two tags the line found last stays.
    while (t.shownEntry.size() <= second) {
        const qint64 s = t.shownEntry.size();
        const LyricEntry* entry = t.table.find(lyricTimeText(s));
        const int before = t.shownEntry.isEmpty() ? -1 : t.shownEntry.last();
        t.shownEntry.append(
            entry != nullptr ? static_cast<int>(entry - t.table.entries().constData()) : before);
    }
    return t.shownEntry.at(second);
}

LyricLine SequenceLyrics::lineAt(qint64 frame, QSize display) {
    LyricLine line{QString(), defaultLyricLook()};
    const AlbumFrame f = sequence_.at(frame);
    if (f.musicRow < 0) {
        return line;
    }
    const int file = sequence_.musicRows().at(f.musicRow).music;
    if (file >= album_.lyrics().size()) {
        return line;  // more music than lyric files: this music has no lyrics
    }
    Track& t = track(file);
    const int entry = shownAt(t, f.musicMs / 1000);
    if (entry < 0 || t.table.entries().at(entry).text.isEmpty()) {
        return line;
    }
    const LyricSettings& settings = album_.lyrics().at(file).settings;
    // In the subtitle track (or its file) instead; a disc image has neither, so its pictures
    // keep the lines.
    if (settings.asSubtitles && !album_.outputOptions().isDiscImage()) {
        return line;
    }
    const qreal sung = settings.karaoke ? t.table.sungCharacters(entry, f.musicMs) : -1;
    if (file == lastFile_ && entry == lastEntry_ && display == lastDisplay_) {
        lastLine_.sungCharacters = sung;
        return lastLine_;
    }
    line = fitLyricLine(settings, lyricInScript(settings, t.table.entries().at(entry).text),
                        display.width(), display.height());
    line.sungCharacters = sung;
    lastFile_ = file;
    lastEntry_ = entry;
    lastDisplay_ = display;
    lastLine_ = line;
    return line;
}

}  // namespace vellumo
