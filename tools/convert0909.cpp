// convert0909: writes a PCM WAV copy of any sound file FFmpeg can decode, for music the player
// cannot open itself.
//
//   convert0909 -i INPUT OUTPUT.wav -y
//
// Exits 0 on success; otherwise prints one line with the reason and exits non-zero.

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <cstdio>

#include "media/audio_decoder.h"
#include "workspace/errors.h"

namespace {

int fail(const QString& message) {
    std::fprintf(stderr, "convert0909: %s\n", message.toUtf8().constData());
    return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    vellumo::silenceFfmpegLog();
    const QStringList args = QCoreApplication::arguments().mid(1);
    QString input;
    QString output;
    bool overwrite = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-i") && i + 1 < args.size()) {
            input = args[++i];
        } else if (args[i] == QLatin1String("-y")) {
            overwrite = true;
        } else if (output.isEmpty() && !args[i].startsWith(u'-')) {
            output = args[i];
        } else {
            return fail(QStringLiteral("usage: convert0909 -i INPUT OUTPUT.wav -y"));
        }
    }
    if (input.isEmpty() || output.isEmpty()) {
        return fail(QStringLiteral("usage: convert0909 -i INPUT OUTPUT.wav -y"));
    }
    if (QFileInfo::exists(output) && !overwrite) {
        return fail(QStringLiteral("%1 exists (use -y to overwrite)").arg(output));
    }
    try {
        vellumo::writeWav(output, vellumo::decodeAudio(input));
    } catch (const vellumo::Error& e) {
        return fail(e.message());
    }
    return 0;
}
