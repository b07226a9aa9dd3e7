#pragma once

// Music for tests: a WAV file of silence, 8-bit mono at 8 kHz, small even for minutes.

#include <QByteArray>
#include <QString>
#include <QtEndian>

#include "tests/support/test_files.h"

namespace vellumo::test {

inline QString writeSilentWav(const TempFolder& folder, const QString& name, double seconds) {
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
    u16(1);
    u16(8);
    wav.append("data");
    u32(samples);
    wav.append(QByteArray(static_cast<qsizetype>(samples), '\x80'));
    return folder.write(name, wav);
}

}  // namespace vellumo::test
