#include "tools/tool_common.h"

#include <QDir>

#include <atomic>
#include <csignal>
#include <cstdio>

#include "album/output_formats.h"
#include "project/album.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"

namespace vellumo::tool {

Arguments::Arguments(const QStringList& words, const QStringList& valueOptions,
                     const QStringList& switches) {
    for (qsizetype i = 0; i < words.size(); ++i) {
        const QString& word = words[i];
        if (!word.startsWith(u"--") || word.size() == 2) {
            positional_.append(word);
            continue;
        }
        const QString name = word.mid(2);
        if (switches.contains(name)) {
            options_.insert(name, QString());
            continue;
        }
        if (!valueOptions.contains(name)) {
            throw UnknownOption{word};
        }
        if (i + 1 >= words.size()) {
            error_ = QStringLiteral("option --%1 needs a value").arg(name);
            return;
        }
        options_.insert(name, words[++i]);
    }
}

QString Arguments::value(const QString& name, const QString& fallback) const {
    return options_.value(name, fallback);
}

int Arguments::integer(const QString& name, int fallback) {
    if (!has(name)) {
        return fallback;
    }
    bool ok = false;
    const int result = value(name).toInt(&ok, 10);
    if (!ok || result < 0) {
        error_ = QStringLiteral("option --%1 needs a non-negative whole number, not \"%2\"")
                     .arg(name, value(name));
        return -1;
    }
    return result;
}

QStringList soundSwitches() {
    return {QStringLiteral("karaoke"), QStringLiteral("subtitles"), QStringLiteral("crossfade"),
            QStringLiteral("no-level")};
}

void applySoundSwitches(Album& album, const Arguments& args) {
    const bool karaoke = args.has(QStringLiteral("karaoke"));
    const bool subtitles = args.has(QStringLiteral("subtitles"));
    for (int row = 0; row < album.lyrics().size() && (karaoke || subtitles); ++row) {
        LyricSettings settings = album.lyrics().at(row).settings;
        settings.karaoke = settings.karaoke || karaoke;
        settings.asSubtitles = settings.asSubtitles || subtitles;
        album.setLyricSettings(row, settings);
    }
    OutputOptions options = album.outputOptions();
    if (args.has(QStringLiteral("crossfade"))) {
        options.crossfadeSongs = true;
    }
    if (args.has(QStringLiteral("no-level"))) {
        options.levelMusic = false;
    }
    album.setOutputOptions(options);
}

void printOut(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void printError(const QString& text) {
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

QString withAlbumTypes(QString usage) {
    return usage.replace(QStringLiteral("--type TYPE"),
                         QStringLiteral("--type ") + toolWords(QStringLiteral("|")));
}

int fail(const QString& message) {
    printError(QStringLiteral("vellumo-tool: ") + message);
    return 1;
}

namespace {

std::atomic<int> receivedSignal{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Only notes the signal: nothing else is safe inside a signal handler.
extern "C" void noteStopSignal(int signal) {
    receivedSignal.store(signal);
}

}  // namespace

void catchStopSignals() {
    struct sigaction action {};
    action.sa_handler = noteStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
}

int stopSignal() {
    return receivedSignal.load();
}

void workBelow(const QString& folder) {
    ensureFolder(folder);
    setWorkingRoot(QDir(folder).absolutePath() + u'/');
}

}  // namespace vellumo::tool
