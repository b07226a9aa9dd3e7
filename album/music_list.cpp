#include "album/music_list.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <chrono>
#include <thread>

#include "album/album_texts.h"
#include "media/audio_conversion.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"
#include "workspace/regular_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

namespace {

// Converts source into its place in the cache: under a name of this process first, renamed
// when complete, so that a copy cut short never stands under the cache's name.
bool makeConvertedCopy(const QString& source, const QString& copy,
                       const std::function<void()>& pump) {
    if (!QDir().mkpath(QFileInfo(copy).absolutePath())) {
        return false;
    }
    const QString part =
        copy.chopped(4) + QStringLiteral(".part%1.wav").arg(QCoreApplication::applicationPid());
    const bool converted = convertToWav(source, part, pump);
    if (converted) {
        QFile::remove(copy);
        if (QFile::rename(part, copy)) {
            return true;
        }
    }
    QFile::remove(part);
    return false;
}

// A song's loudness, measured on a thread of its own while pump keeps the windows alive; none
// when the song cannot be decoded or the measurement outlasts its time.
std::optional<Loudness> measuredLoudness(const QString& file, const std::function<void()>& pump) {
    std::optional<Loudness> result;
    std::atomic<bool> done = false;
    std::atomic<bool> giveUp = false;
    std::thread worker([&] {
        try {
            Loudness loudness;
            if (measureLoudness(file, loudness, [&giveUp] { return giveUp.load(); })) {
                result = loudness;
            }
        } catch (const Error&) {
            // Unmeasured: the song is played as it is.
        }
        done = true;
    });
    // Hours of sound are measured in well under a minute.
    constexpr auto kLongestMeasurement = std::chrono::minutes(2);
    const auto deadline = std::chrono::steady_clock::now() + kLongestMeasurement;
    while (!done && std::chrono::steady_clock::now() < deadline) {
        if (pump) {
            pump();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    giveUp = true;
    worker.join();
    return result;
}

}  // namespace

QString convertedMusicFolder() {
    return userWorkingRoot() + QStringLiteral("converted-music/");
}

QString convertedMusicPath(const QString& source) {
    const QFileInfo file(source);
    // NUL cannot be part of a path, so the key reads back one way only.
    QByteArray key = QFile::encodeName(file.absoluteFilePath());
    key += '\0';
    key += QByteArray::number(file.size());
    key += '\0';
    key += QByteArray::number(file.lastModified().toMSecsSinceEpoch());
    return convertedMusicFolder() +
           QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex()) +
           QStringLiteral(".wav");
}

QString musicDurationText(qint64 lengthMs) {
    const qint64 seconds = lengthMs / 1000;
    const auto twoDigits = [](qint64 n) {
        return n < 10 ? u'0' + QString::number(n) : QString::number(n);
    };
    return QStringLiteral("00:") + twoDigits(seconds / 60) + u':' + twoDigits(seconds % 60);
}

QString MusicList::add(const QString& path, MusicPlayer& player,
                       const std::function<void()>& pump) {
    // A pipe or a device would keep the player, or the converter, waiting.
    if (regularFileProblem(path) == texts::kNotRegularFile) {
        return texts::kNotARegularFileNotAdded.arg(path);
    }
    const QFileInfo chosen(path);
    MusicRecord record;
    record.name = chosen.completeBaseName();
    record.location = path;

    if (player.hasFileName()) {
        player.stop();
    }
    player.setFileName(QString());
    try {
        player.setFileName(path);
        player.open();
    } catch (const Error&) {
        record.copy = convertedMusicPath(path);
        const auto opens = [&player, &record] {
            try {
                player.setFileName(record.copy);
                player.open();
                return true;
            } catch (const Error&) {
                player.setFileName(QString());
                return false;
            }
        };
        // A copy made in an earlier run is taken as it is.
        if (!(QFileInfo::exists(record.copy) && opens()) &&
            !(makeConvertedCopy(path, record.copy, pump) && opens())) {
            player.setFileName(QString());
            return texts::kConversionFailed.arg(path);
        }
    }
    player.stop();
    record.format = u'.' + QFileInfo(record.playedFile()).suffix();
    record.duration = musicDurationText(player.lengthMs());
    record.loudness = measuredLoudness(record.playedFile(), pump);
    records_.append(record);
    return {};
}

QStringList MusicList::remakeMissingCopies(const std::function<void()>& pump) {
    QStringList failed;
    for (MusicRecord& record : records_) {
        if (record.isConverted() && !QFileInfo::exists(record.copy) &&
            !makeConvertedCopy(record.location, record.copy, pump)) {
            failed.append(record.location);
        }
    }
    return failed;
}

}  // namespace vellumo
