// vellumo-tool encode: encodes generated test pictures (and sound files) through the conversion
// driver, for checking the presets and the encoder's speed without an album.

#include <QElapsedTimer>
#include <QRegularExpression>

#include "album/output_formats.h"
#include "media/audio_decoder.h"
#include "media/test_pattern.h"
#include "production/conversion_driver.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"

namespace vellumo::tool {

namespace {

QString usage() {
    return withAlbumTypes(
        QStringLiteral("usage: encode --type TYPE --size WxH [--tv pal|ntsc] "
                       "[--quality standard|high] [--frames N] [--music FILE]... [--ffmpeg-log] "
                       "--out FILE"));
}

}  // namespace

int runEncode(const QStringList& words) {
    // --music may come several times; the other options once.
    QStringList rest;
    QStringList music;
    for (qsizetype i = 0; i < words.size(); ++i) {
        if (words[i] == QStringLiteral("--music")) {
            if (i + 1 >= words.size()) {
                return fail(QStringLiteral("option --music needs a file"));
            }
            music << words[++i];
        } else {
            rest << words[i];
        }
    }
    Arguments args(rest, {"type", "size", "tv", "quality", "frames", "out"}, {"ffmpeg-log"});
    if (!args.ok()) {
        return fail(args.error());
    }
    const int frames = args.integer("frames", 250);
    if (!args.ok()) {
        return fail(args.error());
    }
    if (!args.positional().isEmpty() || !args.has("type") || !args.has("size") ||
        !args.has("out")) {
        return fail(usage());
    }

    ConversionRequest request;
    const std::optional<AlbumType> type = albumTypeOfToolWord(args.value("type").toUpper());
    if (!type) {
        return fail(QStringLiteral("unknown --type \"%1\"").arg(args.value("type")));
    }
    request.albumType = *type;
    static const QRegularExpression sizePattern(QStringLiteral("^(\\d{1,4})x(\\d{1,4})$"));
    const QRegularExpressionMatch size = sizePattern.match(args.value("size"));
    if (!size.hasMatch()) {
        return fail(QStringLiteral("--size must be WxH, for example 1280x720"));
    }
    request.outputSize = QSize(size.captured(1).toInt(), size.captured(2).toInt());
    const QString tv = args.value("tv", "pal").toLower();
    if (tv != "pal" && tv != "ntsc") {
        return fail(QStringLiteral("--tv must be pal or ntsc"));
    }
    request.tvSystem = tv == "ntsc" ? TvSystem::Ntsc : TvSystem::Pal;
    const QString quality = args.value("quality", "high").toLower();
    if (quality != "standard" && quality != "high") {
        return fail(QStringLiteral("--quality must be standard or high"));
    }
    request.quality = quality == "high" ? PictureQuality::High : PictureQuality::Standard;
    request.frameCount = frames;
    request.soundFiles = music;
    request.outputFile = args.value("out");
    const QSize pictureSize = request.outputSize;
    request.frame = [pictureSize](int n) { return testPattern(pictureSize, n); };

    if (!args.has("ffmpeg-log")) {
        silenceFfmpegLog();
    }
    ConversionDriver driver;
    driver.onLogLine = [](const QString& line) { printOut(line); };
    QElapsedTimer clock;
    clock.start();
    const bool done = driver.convert(request);
    const double seconds = static_cast<double>(clock.elapsed()) / 1000.0;
    if (!done) {
        return fail(driver.errorText().isEmpty() ? QStringLiteral("not converted")
                                                 : driver.errorText());
    }
    printOut(QStringLiteral("%1: %2 frames in %3 s, %4 frames/s")
                 .arg(request.outputFile)
                 .arg(frames)
                 .arg(seconds, 0, 'f', 2)
                 .arg(seconds > 0 ? frames / seconds : 0.0, 0, 'f', 1));
    return 0;
}

}  // namespace vellumo::tool
