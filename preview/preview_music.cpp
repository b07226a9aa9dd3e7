#include "preview/preview_music.h"

#include <algorithm>

#include "album/lyrics.h"
#include "media/music_player.h"
#include "preview/music_preview_texts.h"
#include "project/album.h"
#include "timeline/shown_lyrics.h"
#include "workspace/errors.h"

namespace vellumo {

PreviewMusic::PreviewMusic(Album& album, MusicPlayer& player, QSize display)
    : album_(album), player_(player), display_(display) {
    line_.look = defaultLyricLook();
}

void PreviewMusic::start(SyncMode sync) {
    sync_ = sync;
    reported_.clear();
    running_ = false;
    ended_ = false;
    musicCounter_ = 0;
    positionText_.clear();
    line_ = LyricLine{QString(), defaultLyricLook()};
    shownEntry_ = nullptr;
    if (!album_.music().isEmpty()) {
        running_ = playFrom(0);
    }
    lyricCounter_ = musicCounter_;
    if (!album_.lyrics().isEmpty()) {
        readLyricsAtCounter();
    }
}

PreviewMusic::Tick PreviewMusic::tick() {
    Tick result;
    if (!running_) {
        return result;
    }
    const MusicList& music = album_.music();
    const LyricsList& lyrics = album_.lyrics();
    if (!music.isEmpty()) {
        const qint64 seconds = player_.positionMs() / 1000;
        positionText_ = lyricTimeText(seconds);
    }
    if (!lyrics.isEmpty() && lyricCounter_ < lyrics.size()) {
        const LyricTable& table = album_.lyricTable();
        const LyricEntry* entry = table.find(positionText_);
        const LyricSettings& settings = lyrics.at(lyricCounter_).settings;
        // Between two tags nothing is found and the line stays.
        if (entry != nullptr && (entry != shownEntry_ || !(settings == shownSettings_))) {
            LyricLine next = fitLyricLine(settings, lyricInScript(settings, entry->text),
                                          display_.width(), display_.height());
            next.sungCharacters = line_.sungCharacters;
            shownEntry_ = entry;
            shownSettings_ = settings;
            if (!sameLyricLine(next, line_)) {
                line_ = next;
                result.lyricChanged = true;
            }
        }
        if (shownEntry_ != nullptr && settings.karaoke) {
            const qreal sung = table.sungCharacters(shownEntry_ - table.entries().constData(),
                                                    player_.positionMs());
            if (sung != line_.sungCharacters) {
                line_.sungCharacters = sung;
                result.lyricChanged = true;
            }
        }
    }
    if (player_.mode() != MusicPlayer::Mode::Playing) {
        if (sync_ == SyncMode::WithMusic && musicCounter_ + 1 >= music.size()) {
            // The music list plays once; the album goes on without it.
            if (!ended_) {
                ended_ = true;
                ++musicCounter_;
                lyricCounter_ = musicCounter_;
                const QString before = line_.text;
                readLyricsAtCounter();
                result.lyricChanged = result.lyricChanged || line_.text != before;
            }
            return result;
        }
        const int next = musicCounter_ + 1 >= music.size() ? 0 : musicCounter_ + 1;
        running_ = playFrom(next);
        lyricCounter_ = musicCounter_;
        const QString before = line_.text;
        readLyricsAtCounter();
        result.lyricChanged = result.lyricChanged || line_.text != before;
    }
    return result;
}

void PreviewMusic::stop() {
    if (player_.hasFileName()) {
        player_.stop();
    }
    running_ = false;
    line_.text.clear();
    shownEntry_ = nullptr;
}

QStringList PreviewMusic::takeMessages() {
    QStringList messages;
    messages.swap(messages_);
    return messages;
}

bool PreviewMusic::playFrom(int from) {
    const MusicList& music = album_.music();
    const int count = music.size();
    for (int attempt = 0; attempt < count; ++attempt) {
        int index = from + attempt;
        if (index >= count) {
            if (sync_ == SyncMode::WithMusic) {
                break;
            }
            index -= count;
        }
        const QString& location = music.at(index).location;
        try {
            if (player_.hasFileName()) {
                player_.stop();
            }
            player_.setFileName(QString());
            player_.setFileName(music.at(index).playedFile());
            player_.setGainDb(album_.outputOptions().levelMusic ? music.at(index).levellingGain()
                                                                : 0.0);
            player_.open();
            player_.play();
            musicCounter_ = index;
            return true;
        } catch (const Error&) {
            report(location, texts::kMusicSkipped.arg(location));
        }
    }
    player_.setFileName(QString());
    return false;
}

void PreviewMusic::readLyricsAtCounter() {
    const LyricsList& lyrics = album_.lyrics();
    shownEntry_ = nullptr;
    if (lyricCounter_ >= lyrics.size()) {
        // More music than lyric files: this music plays without lyrics.
        album_.setLyricTable({});
        line_.text.clear();
        return;
    }
    const QString& location = lyrics.at(lyricCounter_).location;
    LyricTable table;
    const QString problem = readShownLyrics(location, table);
    album_.setLyricTable(std::move(table));
    if (!problem.isEmpty()) {
        report(location, problem);
    }
}

void PreviewMusic::report(const QString& file, const QString& message) {
    if (!reported_.contains(file)) {
        reported_.insert(file);
        messages_.append(message);
    }
}

}  // namespace vellumo
