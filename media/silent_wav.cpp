#include "media/silent_wav.h"

#include <QtEndian>

namespace vellumo {

QByteArray silentWav(double seconds) {
    const auto samples = static_cast<quint32>(seconds * 8000);
    QByteArray wav;
    const auto u32 = [&wav](quint32 v) {
        char bytes[4];
        qToLittleEndian(v, bytes);
        wav.append(bytes, 4);
    };
    const auto u16 = [&wav](quint16 v) {
        char bytes[2];
        qToLittleEndian(v, bytes);
        wav.append(bytes, 2);
    };
    wav.append("RIFF");
    u32(36 + samples);
    wav.append("WAVEfmt ");
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(8000);
    u32(8000);
    u16(1);  // bytes per sample frame
    u16(8);  // bits per sample
    wav.append("data");
    u32(samples);
    // Unsigned 8-bit samples: silence is the middle value.
    wav.append(QByteArray(static_cast<qsizetype>(samples), '\x80'));
    return wav;
}

}  // namespace vellumo
