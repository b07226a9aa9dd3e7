#include <gtest/gtest.h>

#include <QFileInfo>

#include <cmath>
#include <numbers>

#include "media/audio_decoder.h"
#include "media/loudness.h"
#include "media/music_player.h"
#include "production/production_run.h"
#include "project/album.h"
#include "tests/support/production_album.h"
#include "tests/support/test_files.h"
#include "timeline/album_sequence.h"
#include "workspace/errors.h"
#include "workspace/text_codec.h"

extern "C" {
#include <libavformat/avformat.h>
}

namespace vellumo {
namespace {

struct SubtitleTrackFacts {
    int tracks = 0;
    QString language;
    QVector<qint64> startsMs;
    qint64 lastEndMs = 0;
};

// The mov_text track of a file, read back with libavformat.
SubtitleTrackFacts subtitleTrackOf(const QString& path) {
    SubtitleTrackFacts facts;
    AVFormatContext* input = nullptr;
    if (avformat_open_input(&input, path.toUtf8().constData(), nullptr, nullptr) < 0) {
        return facts;
    }
    avformat_find_stream_info(input, nullptr);
    int track = -1;
    for (unsigned i = 0; i < input->nb_streams; ++i) {
        if (input->streams[i]->codecpar->codec_id == AV_CODEC_ID_MOV_TEXT) {
            ++facts.tracks;
            track = static_cast<int>(i);
            if (const AVDictionaryEntry* language =
                    av_dict_get(input->streams[i]->metadata, "language", nullptr, 0)) {
                facts.language = QString::fromUtf8(language->value);
            }
        }
    }
    AVPacket* packet = av_packet_alloc();
    while (track >= 0 && av_read_frame(input, packet) >= 0) {
        // The muxer fills the gaps between lines with empty samples (a text length of 0).
        if (packet->stream_index == track && packet->size > 2) {
            const AVRational base = input->streams[track]->time_base;
            facts.startsMs.append(av_rescale_q(packet->pts, base, AVRational{1, 1000}));
            facts.lastEndMs =
                av_rescale_q(packet->pts + packet->duration, base, AVRational{1, 1000});
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    avformat_close_input(&input);
    return facts;
}

// A stereo sine of hz at amplitude (full scale 1) as a WAV file. At 1 kHz its loudness in LUFS
// is about its amplitude in dBFS.
QString writeSine(const QString& path, double seconds, double hz, double amplitude) {
    const int frames = static_cast<int>(seconds * kPcmSampleRate);
    QByteArray pcm(frames * kPcmBytesPerFrame, '\0');
    auto* out = reinterpret_cast<qint16*>(pcm.data());
    for (int i = 0; i < frames; ++i) {
        const auto v = static_cast<qint16>(std::lround(
            32767 * amplitude * std::sin(2 * std::numbers::pi * hz * i / kPcmSampleRate)));
        out[2 * i] = v;
        out[2 * i + 1] = v;
    }
    writeWav(path, pcm);
    return path;
}

double amplitudeOf(double dbfs) {
    return std::pow(10.0, dbfs / 20.0);
}

// The decoded sound of a file between two times, as PCM.
QByteArray stretch(const QByteArray& pcm, double fromSeconds, double toSeconds) {
    const auto at = [&pcm](double s) {
        return std::min<qsizetype>(pcm.size(),
                                   static_cast<qsizetype>(s * kPcmSampleRate) * kPcmBytesPerFrame);
    };
    return pcm.mid(at(fromSeconds), at(toSeconds) - at(fromSeconds));
}

Loudness loudnessOf(const test::TempFolder& folder, const QByteArray& pcm, const QString& name) {
    const QString file = folder.path() + name;
    writeWav(file, pcm);
    Loudness loudness;
    EXPECT_TRUE(measureLoudness(file, loudness));
    return loudness;
}

// Power of a frequency in the left channel of a piece of PCM (Goertzel).
double powerAt(const QByteArray& pcm, double hz) {
    const auto* samples = reinterpret_cast<const qint16*>(pcm.constData());
    const qsizetype frames = pcm.size() / kPcmBytesPerFrame;
    const double w = 2 * std::numbers::pi * hz / kPcmSampleRate;
    double s1 = 0;
    double s2 = 0;
    for (qsizetype i = 0; i < frames; ++i) {
        const double s = samples[2 * i] / 32768.0 + 2 * std::cos(w) * s1 - s2;
        s2 = s1;
        s1 = s;
    }
    return (s1 * s1 + s2 * s2 - 2 * std::cos(w) * s1 * s2) / static_cast<double>(frames * frames);
}

TEST(Loudness, SinesMeasureTheirLevelAndGetTheGainToTheTarget) {
    test::TempFolder folder;
    Loudness loudness;
    ASSERT_TRUE(
        measureLoudness(writeSine(folder.path() + "a.wav", 3, 1000, amplitudeOf(-20)), loudness));
    EXPECT_NEAR(loudness.integratedLufs, -20, 0.5);
    EXPECT_NEAR(loudness.truePeakDbtp, -20, 0.5);
    EXPECT_NEAR(levellingGainDb(loudness), 4, 0.5);

    // A loud song comes down; a quiet one with high peaks goes up only as far as its peak lets.
    EXPECT_DOUBLE_EQ(levellingGainDb({-8, -8}), -8);
    EXPECT_DOUBLE_EQ(levellingGainDb({-30, -27}), 14);
    EXPECT_DOUBLE_EQ(levellingGainDb({-20, -2}), 1);
    // Silence stays as it is.
    ASSERT_TRUE(measureLoudness(writeSine(folder.path() + "s.wav", 1, 1000, 0), loudness));
    EXPECT_EQ(loudness, (Loudness{kSilentLufs, kSilentDbtp}));
    EXPECT_EQ(levellingGainDb(loudness), 0);
    // A stop asked for ends the measurement without a figure.
    EXPECT_FALSE(measureLoudness(folder.path() + "a.wav", loudness, [] { return true; }));
    EXPECT_THROW(measureLoudness(folder.write("bad.wav", "not sound"), loudness), FileError);
}

TEST(Loudness, ASongIsMeasuredWhenItIsAdded) {
    test::TempFolder folder;
    MusicPlayer player;
    player.setSoundOutput(false);
    MusicList music;
    ASSERT_TRUE(
        music.add(writeSine(folder.path() + "q.wav", 2, 1000, amplitudeOf(-30)), player).isEmpty());
    ASSERT_TRUE(music.at(0).loudness.has_value());
    EXPECT_NEAR(music.at(0).loudness->integratedLufs, -30, 0.5);
    EXPECT_NEAR(music.at(0).levellingGain(), 14, 0.5);
    // While a window pumps, the measurement runs beside it.
    int pumped = 0;
    ASSERT_TRUE(music.add(folder.path() + "q.wav", player, [&pumped] { ++pumped; }).isEmpty());
    EXPECT_EQ(music.at(1).loudness, music.at(0).loudness);
}

class SoundProductionTest : public ::testing::Test {
protected:
    SoundProductionTest() { player_.setSoundOutput(false); }

    void addSong(const QString& name, double seconds, double hz, double dbfs,
                 const QString& lyrics = {}) {
        ASSERT_TRUE(album()
                        .addMusic(writeSine(production_.folder().path() + name + ".wav", seconds,
                                            hz, amplitudeOf(dbfs)),
                                  player_)
                        .isEmpty());
        album().addLyrics(production_.folder().write(name + ".lrc", toGbk(lyrics)));
    }
    Album& album() { return production_.album(); }

    // Produces the album; its decoded sound.
    QByteArray produce(const QString& name = QStringLiteral("album.mpg")) {
        ProductionRun run(album());
        const QString out = production_.folder().path() + name;
        const ProductionResult result = run.run(out);
        EXPECT_EQ(result.outcome, ProductionOutcome::Complete) << result.error.toStdString();
        return decodeAudio(out);
    }

    test::ProductionAlbum production_{{100, 100}};
    MusicPlayer player_;
};

TEST_F(SoundProductionTest, AQuietSongAndALoudOneComeOutAtTheSameLoudness) {
    // 200 + 150 frames (14 s); the songs take turns, 4 s each.
    addSong("quiet", 4, 1000, -30);
    addSong("loud", 4, 1000, -8);
    const QByteArray pcm = produce();
    const Loudness quiet = loudnessOf(production_.folder(), stretch(pcm, 0.6, 3.9), "q.wav");
    const Loudness loud = loudnessOf(production_.folder(), stretch(pcm, 4.1, 7.9), "l.wav");
    EXPECT_NEAR(quiet.integratedLufs, kTargetLufs, 1);
    EXPECT_NEAR(loud.integratedLufs, kTargetLufs, 1);
    EXPECT_LE(quiet.truePeakDbtp, kPeakCeilingDbtp);
    EXPECT_LE(loud.truePeakDbtp, kPeakCeilingDbtp);
    // The sound fades in over its first half second and out over its last two.
    const Loudness start = loudnessOf(production_.folder(), stretch(pcm, 0, 0.25), "s.wav");
    EXPECT_LT(start.truePeakDbtp, quiet.truePeakDbtp - 3);
    const double seconds = static_cast<double>(pcm.size()) / kPcmBytesPerFrame / kPcmSampleRate;
    const Loudness end =
        loudnessOf(production_.folder(), stretch(pcm, seconds - 1.0, seconds), "e.wav");
    EXPECT_LT(end.truePeakDbtp, loud.truePeakDbtp - 5);  // the last second at half or less

    // Without levelling the songs keep their own loudness.
    OutputOptions options = album().outputOptions();
    options.levelMusic = false;
    album().setOutputOptions(options);
    const QByteArray plain = produce();
    EXPECT_NEAR(loudnessOf(production_.folder(), stretch(plain, 0.6, 3.9), "p.wav").integratedLufs,
                -30, 1);
}

TEST_F(SoundProductionTest, ACrossfadeHoldsBothSongsInItsMiddle) {
    addSong("a", 5, 440, -16);
    addSong("b", 5, 1000, -16);
    OutputOptions options = album().outputOptions();
    options.crossfadeSongs = true;
    album().setOutputOptions(options);
    const QByteArray pcm = produce();
    // Song b starts 2 s before a ends: at 4 s both are heard, about equally.
    const QByteArray middle = stretch(pcm, 3.9, 4.1);
    const double a = powerAt(middle, 440);
    const double b = powerAt(middle, 1000);
    EXPECT_GT(a, 0.2 * powerAt(stretch(pcm, 1.0, 1.2), 440));
    EXPECT_GT(b, 0.2 * powerAt(stretch(pcm, 6.0, 6.2), 1000));
    EXPECT_NEAR(10 * std::log10(a / b), 0, 3);
    // Before the crossfade only a; after it only b.
    EXPECT_LT(powerAt(stretch(pcm, 2.5, 2.7), 1000), 0.01 * a);
    EXPECT_LT(powerAt(stretch(pcm, 5.3, 5.5), 440), 0.01 * b);

    // A plain join: at 4 s only a.
    options.crossfadeSongs = false;
    album().setOutputOptions(options);
    const QByteArray plain = stretch(produce(), 3.9, 4.1);
    EXPECT_LT(powerAt(plain, 1000), 0.01 * powerAt(plain, 440));
}

TEST_F(SoundProductionTest, LyricTimesFollowTheCrossfadedSound) {
    addSong("a", 5, 440, -16, QString::fromUtf16(u"[00:04.00]甲\n"));
    addSong("b", 5, 1000, -16, QString::fromUtf16(u"[00:01.00]乙\n"));
    addSong("c", 1.5, 440, -16);
    addSong("d", 5, 1000, -16, QString::fromUtf16(u"[00:01.00]丁\n"));
    const auto lineAt = [this](double seconds) {
        AlbumSequence::Input input;
        input.playList = AlbumSequence::completeTemplates(album());
        input.sync = SyncMode::WithMusic;
        const AlbumSequence sequence = AlbumSequence::build(album(), input);
        SequenceLyrics lyrics(album(), sequence);
        return lyrics.lineAt(static_cast<qint64>(seconds * kAlbumFrameRate), {640, 360}).text;
    };
    // Plain joins: b starts at 5 s, d at 11.5 s.
    EXPECT_EQ(lineAt(4.5), QString::fromUtf16(u"甲"));
    EXPECT_EQ(lineAt(6.1), QString::fromUtf16(u"乙"));
    EXPECT_EQ(lineAt(12.6), QString::fromUtf16(u"丁"));

    OutputOptions options = album().outputOptions();
    options.crossfadeSongs = true;
    album().setOutputOptions(options);
    AlbumSequence::Input input;
    input.playList = AlbumSequence::completeTemplates(album());
    input.sync = SyncMode::WithMusic;
    const AlbumSequence sequence = AlbumSequence::build(album(), input);
    // b starts 2 s before a ends; c, shorter than the tail it fades in over, is mixed into it,
    // and d follows b's end plainly.
    ASSERT_EQ(sequence.musicRows().size(), 4);
    EXPECT_EQ(sequence.musicRows()[1].startMs, 3000);
    EXPECT_EQ(sequence.musicRows()[2].startMs, 6000);
    EXPECT_EQ(sequence.musicRows()[3].startMs, 8000);
    EXPECT_EQ(lineAt(2.9), QString());  // a's line at 4 s is never reached: b has begun
    EXPECT_EQ(lineAt(4.1), QString::fromUtf16(u"乙"));
    EXPECT_EQ(lineAt(8.9), QString());
    EXPECT_EQ(lineAt(9.1), QString::fromUtf16(u"丁"));
}

TEST_F(SoundProductionTest, LyricsAsSubtitlesAreAnMp4TrackOrAnSrtFileBesideTheVideo) {
    addSong("a", 4, 440, -16, QString::fromUtf16(u"[00:01.00]一\n[00:02.50]<00:02.50>二\n"));
    LyricSettings settings = album().lyrics().at(0).settings;
    settings.asSubtitles = true;
    album().setLyricSettings(0, settings);
    OutputOptions options = album().outputOptions();
    options.beginProduction(AlbumType::Mp4);
    options.chooseSize(0);
    album().setOutputOptions(options);
    produce(QStringLiteral("album.mp4"));
    // 14 s of album, the song four times from 0, 4, 8 and 12 s: its second line of the last
    // time would come after the album's end.
    const SubtitleTrackFacts track = subtitleTrackOf(production_.folder().path() + "album.mp4");
    EXPECT_EQ(track.tracks, 1);
    EXPECT_EQ(track.language, QStringLiteral("zho"));
    ASSERT_EQ(track.startsMs.size(), 7);
    EXPECT_NEAR(track.startsMs.first(), 1000, kAlbumFrameMs);
    EXPECT_NEAR(track.startsMs[1], 2500, kAlbumFrameMs);
    EXPECT_NEAR(track.startsMs.last(), 13000, kAlbumFrameMs);
    EXPECT_NEAR(track.lastEndMs, 14000, kAlbumFrameMs);
    EXPECT_FALSE(QFileInfo::exists(production_.folder().path() + "album.srt"));
    // The lines are not drawn as well.
    AlbumSequence::Input input;
    input.playList = AlbumSequence::completeTemplates(album());
    const AlbumSequence sequence = AlbumSequence::build(album(), input);
    EXPECT_EQ(SequenceLyrics(album(), sequence).lineAt(30, {640, 360}).text, QString());

    options.beginProduction(AlbumType::Avi);
    options.chooseSize(0);
    album().setOutputOptions(options);
    produce(QStringLiteral("album.avi"));
    const QString srt =
        QString::fromUtf8(test::readFile(production_.folder().path() + "album.srt"));
    EXPECT_TRUE(srt.startsWith(
        QString::fromUtf16(u"1\r\n00:00:01,000 --> 00:00:02,500\r\n一\r\n\r\n2\r\n00:00:02,500 --> "
                           u"00:00:04,000\r\n二\r\n")))
        << srt.toStdString();
    EXPECT_TRUE(srt.contains(QStringLiteral("7\r\n00:00:13,000 --> 00:00:14,000\r\n")));
    EXPECT_EQ(subtitleTrackOf(production_.folder().path() + "album.avi").tracks, 0);
}

TEST_F(SoundProductionTest, AKaraokeLineFillsAsTheSequencePlaysIt) {
    addSong("a", 5, 440, -16, QString::fromUtf16(u"[00:01.00]<00:01.00>春天<00:02.00>的花\n"));
    LyricSettings settings = album().lyrics().at(0).settings;
    AlbumSequence::Input input;
    input.playList = AlbumSequence::completeTemplates(album());
    const AlbumSequence sequence = AlbumSequence::build(album(), input);
    SequenceLyrics plain(album(), sequence);
    EXPECT_LT(plain.lineAt(38, {640, 360}).sungCharacters, 0);  // no karaoke: no fill
    settings.karaoke = true;
    album().setLyricSettings(0, settings);
    SequenceLyrics lyrics(album(), sequence);
    // At 1.5 s half of "春天"; at 2 s all of it; the text never holds a time tag.
    const LyricLine half = lyrics.lineAt(38, {640, 360});
    EXPECT_EQ(half.text, QString::fromUtf16(u"春天的花"));
    EXPECT_NEAR(half.sungCharacters, 1.0, 0.1);
    EXPECT_EQ(half.look.sungColour, settings.sungColour());
    EXPECT_NEAR(lyrics.lineAt(50, {640, 360}).sungCharacters, 2.0, 0.01);
}

}  // namespace
}  // namespace vellumo
