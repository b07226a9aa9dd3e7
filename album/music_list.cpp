#include "album/music_list.h"

#include <QFileInfo>

#include "album/album_texts.h"
#include "media/audio_conversion.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"
#include "workspace/regular_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

QString convertedCopyPath(const QString& folder, const QString& name) {
    // Two chosen files of one name (from two folders) must not share a copy: the second
    // conversion would overwrite the first record's song.
    QString path = folder + name + QStringLiteral(".wav");
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder + name + QStringLiteral("_%1.wav").arg(n);
    }
    return path;
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

    if (player.hasFileName()) {
        player.stop();
    }
    player.setFileName(QString());
    QString played = path;
    try {
        player.setFileName(played);
        player.open();
    } catch (const Error&) {
        played = convertedCopyPath(workingPath(paths::kConvertedMusicFolder), record.name);
        try {
            if (!convertToWav(path, played, pump)) {
                throw Error(QString());
            }
            player.setFileName(played);
            player.open();
        } catch (const Error&) {
            player.setFileName(QString());
            return texts::kConversionFailed.arg(path);
        }
    }
    player.stop();
    const QFileInfo file(played);
    record.format = u'.' + file.suffix();
    record.duration = musicDurationText(player.lengthMs());
    record.location = played;
    records_.append(record);
    return {};
}

}  // namespace vellumo
