#pragma once

// What a written video file holds, read back with FFmpeg's libraries.

#include <QHash>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QVector>

namespace vellumo::test {

struct MediaFacts {
    QString container;  // the demuxer's name ("mpeg", "avi", "mov,mp4,...")
    QString videoCodec;
    int width = 0;
    int height = 0;
    int videoFrames = 0;
    double frameRate = 0;
    double videoSeconds = 0;  // frames / frame rate
    int streams = 0;
    bool hasAudio = false;
    QString audioCodec;
    int sampleRate = 0;
    double audioSeconds = 0;      // decoded samples / rate
    QVector<float> audioLevels;   // RMS of each tenth of a second of the decoded sound
    QVector<QRgb> centres;        // the centre pixel of every decoded picture
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
