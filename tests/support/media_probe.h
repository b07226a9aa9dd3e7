#pragma once

// What a written video file holds, read back with FFmpeg's libraries.

#include <QHash>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QVector>

namespace vellumo::test {

// A chapter as a player lists it: start and end in seconds, and its title.
struct ChapterFacts {
    double start = 0;
    double end = 0;
    QString title;
};

struct MediaFacts {
    QString container;  // the demuxer's name ("mpeg", "avi", "mov,mp4,...")
    QString videoCodec;
    QString videoTag;  // the container's four characters for the video codec ("hvc1")
    int width = 0;
    int height = 0;
    int videoFrames = 0;
    double frameRate = 0;
    double videoSeconds = 0;  // frames / frame rate
    int streams = 0;
    bool hasAudio = false;
    QString audioCodec;
    int sampleRate = 0;
    double audioSeconds = 0;     // decoded samples / rate
    QVector<float> audioLevels;  // RMS of each tenth of a second of the decoded sound
    QVector<QRgb> centres;       // the centre pixel of every decoded picture
    // The video stream's sample aspect (0/1 when none is flagged) and the display aspect it
    // makes of the frame.
    int sampleAspectNum = 0;
    int sampleAspectDen = 1;
    double displayAspect = 0;
    QVector<int> keyFrames;  // decoded pictures (display order) that are intra coded
    // What an MPEG-1/2 sequence header announces: the rate (MPEG-2: the maximum; 0x3FFFF × 400
    // for a variable MPEG-1 rate) and the decoder's buffer.
    qint64 videoBitRate = 0;
    qint64 vbvBufferBits = 0;
    double peakVideoKbps = 0;  // the most video bits in any one second of the stream
    double videoKbps = 0;      // video bits over the whole length
    qint64 audioBitRate = 0;
    int audioChannels = 0;
    int videoProfile = -99;  // FFmpeg's numbers: MPEG-2 main profile 4, main level 8
    int videoLevel = -99;
    QVector<ChapterFacts> chapters;
    QHash<int, QImage> pictures;  // the decoded pictures asked for, by index
};

// Throws std::runtime_error when the file cannot be opened.
// keepPictures: indices of decoded pictures to keep whole in pictures.
MediaFacts probeMedia(const QString& path, const QVector<int>& keepPictures = {});

// A stereo sine tone of hz as an MP3 file at 128 kbit/s. Returns the path.
QString writeToneMp3(const QString& path, double seconds, double hz = 440);

// Pixels of the lower quarter of a picture (where the lyric line sits) that are nearly white.
int whitePixelsInLyricBand(const QImage& picture);

}  // namespace vellumo::test
