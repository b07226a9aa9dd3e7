#pragma once

// Sound files written through FFmpeg's libraries from 16-bit stereo PCM at 44.1 kHz (as
// decodeAudio gives it): the sample song, and test material.

#include <QByteArray>
#include <QString>
#include <QVariantMap>

namespace vellumo {

enum class AudioCodec { Mp3, Mp2, Aac };

// Encodes pcm into a file of the given container ("mp3", "adts", "wav", ...) with the codec at
// bitRate bits per second; tags (title, artist, album) go into the file where the container
// allows. Throws Error.
void encodeAudio(const QString& path, const char* container, AudioCodec codec, int bitRate,
                 const QByteArray& pcm, const QVariantMap& tags = {});

}  // namespace vellumo
