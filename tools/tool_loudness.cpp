// vellumo-tool loudness: the integrated loudness and true peak of sound files as Vellumo measures
// them when a song is added, with the gain that levels each to the album's loudness.

#include "media/audio_decoder.h"
#include "media/loudness.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/errors.h"

namespace vellumo::tool {

int runLoudness(const QStringList& words) {
    const Arguments args(words, {});
    if (args.positional().isEmpty()) {
        return fail(QStringLiteral("usage: loudness FILE..."));
    }
    silenceFfmpegLog();
    printOut(QStringLiteral("LUFS\tdBTP\tgain dB\tfile"));
    int status = 0;
    for (const QString& file : args.positional()) {
        try {
            Loudness loudness;
            measureLoudness(file, loudness);
            printOut(QStringLiteral("%1\t%2\t%3\t%4")
                         .arg(loudness.integratedLufs, 0, 'f', 1)
                         .arg(loudness.truePeakDbtp, 0, 'f', 1)
                         .arg(levellingGainDb(loudness), 0, 'f', 1)
                         .arg(file));
        } catch (const Error& error) {
            printError(QStringLiteral("vellumo-tool: ") + error.message());
            status = 1;
        }
    }
    return status;
}

}  // namespace vellumo::tool
