#pragma once

// Audio through FFmpeg's libraries, converted to the program's own types at this edge: what a
// file holds, its length, and its sound as 16-bit stereo PCM.

#include <QByteArray>
#include <QString>

#include <functional>

namespace vellumo {

inline constexpr int kPcmSampleRate = 44100;
inline constexpr int kPcmChannels = 2;
inline constexpr int kPcmBytesPerFrame = 2 * kPcmChannels;

struct AudioInfo {
    qint64 lengthMs = 0;
    bool playable = false;  // MPEG audio or PCM in a WAV file: what the music player opens
};

// Probes a file: its length and whether the music player can open it. Throws FileError when the
// file cannot be read as audio at all.
AudioInfo probeAudio(const QString& path);

// Decodes the whole file to interleaved 16-bit stereo PCM at 44.1 kHz. Any format FFmpeg
// decodes is accepted. Throws FileError.
QByteArray decodeAudio(const QString& path);

// Takes decoded PCM a piece at a time, in order; false stops the decoding.
using PcmSink = std::function<bool(const char* data, qsizetype bytes)>;
// Decodes as above, handing the PCM to sink piece by piece as it comes. Returns false when the
// sink stopped it. Throws FileError (also when the file gives no sound at all).
bool decodeAudio(const QString& path, const PcmSink& sink);

// Keeps FFmpeg's own log lines off the error stream (tools that print one line of their own).
void silenceFfmpegLog();

// Writes PCM (as decodeAudio gives it) as a WAV file. Throws FileError.
void writeWav(const QString& path, const QByteArray& pcm);

}  // namespace vellumo
