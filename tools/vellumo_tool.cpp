// vellumo-tool: packing, unpacking and inspection of Vellumo's data files, for template authors
// and for the build that lays out the data tree.

#include <QGuiApplication>
#include <QStringList>

#include <memory>

#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/errors.h"
#include "workspace/memory.h"
#include "workspace/program_folder.h"

namespace {

struct Command {
    const char* name;
    const char* usage;
    int (*run)(const QStringList&);
    bool paints;  // needs fonts and images, so a (display-less) GUI application
};

constexpr Command kCommands[] = {
    {"pack", "pack --depth N IN OUT          pack a file N levels deep", vellumo::tool::runPack,
     false},
    {"unpack", "unpack --depth N IN OUT        unpack N levels of a packed file",
     vellumo::tool::runUnpack, false},
    {"catalogue", "catalogue [--program-folder DIR]  the catalogue list as Vellumo builds it",
     vellumo::tool::runCatalogue, false},
    {"plan",
     "plan [--program-folder DIR] [--combined K] [--stage DIR [--size WxH]] [--save FILE] "
     "PHOTO... | plan --open FILE [--stage DIR] [--save FILE]  place photos into templates or "
     "open an album project (and stage it, save it as a project)",
     vellumo::tool::runPlan, true},
    {"preview",
     "preview [--program-folder DIR] [--combined K] --out DIR [--every N] "
     "[--music FILE [--lyrics FILE]] PHOTO...  the album preview's frames as PNG",
     vellumo::tool::runPreview, true},
    {"movie-info", "movie-info MOVIE               frames, size, layers and pictures of a movie",
     vellumo::tool::runMovieInfo, false},
    {"check-template",
     "check-template PARAMETERS MOVIE  a template (source or installed package) against the "
     "library's rules, with its longest still run",
     vellumo::tool::runCheckTemplate, true},
    {"render-movie",
     "render-movie MOVIE --size WxH [--frames A-B] --out DIR [--sheet [--count N] [--columns N]]"
     "  render frames to PNG",
     vellumo::tool::runRenderMovie, true},
    {"template-sheet",
     "template-sheet [--program-folder DIR] --out DIR [--count N] [--columns N] [--only NAME]  "
     "one contact sheet per installed template",
     vellumo::tool::runTemplateSheet, true},
    {"lrc", "lrc FILE [--at MM:SS]...       the lyric table of an LRC file, the line at each time",
     vellumo::tool::runLrc, false},
    {"loudness",
     "loudness FILE...                integrated loudness, true peak and levelling gain",
     vellumo::tool::runLoudness, false},
    {"encode",
     "encode --type TYPE --size WxH [--tv pal|ntsc] [--quality standard|high] "
     "[--frames N] [--music FILE]... [--ffmpeg-log] --out FILE  encode generated test pictures",
     vellumo::tool::runEncode, true},
    {"make-album",
     "make-album [--program-folder DIR] [--combined K] --type TYPE [--size WxH] "
     "[--tv pal|ntsc] [--quality standard|high] [--sync template|music] [--codec h264|h265] "
     "[--music FILE]... [--lyrics FILE]... [--karaoke] [--subtitles] [--crossfade] [--no-level] "
     "--out FILE PHOTO... | make-album --open FILE [options] --out FILE  "
     "the album (or an album project) made into a video",
     vellumo::tool::runMakeAlbum, true},
    {"icons", "icons --out DIR [--sizes 16,32,...]  the program icon as SIZExSIZE/apps/vellumo.png",
     vellumo::tool::runIcons, true},
};

int usage() {
    QString text = QStringLiteral("usage: vellumo-tool COMMAND ...\ncommands:");
    for (const Command& c : kCommands) {
        text += QStringLiteral("\n  ") + vellumo::tool::withAlbumTypes(QString::fromUtf8(c.usage));
    }
    vellumo::tool::printError(text);
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    vellumo::keepLargeBlocksMapped();
    const QLatin1String name(argc > 1 ? argv[1] : "");
    for (const Command& c : kCommands) {
        if (name != QLatin1String(c.name)) {
            continue;
        }
        std::unique_ptr<QCoreApplication> app;
        if (c.paints) {
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
                qputenv("QT_QPA_PLATFORM", "offscreen");
            }
            app = std::make_unique<QGuiApplication>(argc, argv);
        } else {
            app = std::make_unique<QCoreApplication>(argc, argv);
        }
        try {
            return c.run(QCoreApplication::arguments().mid(2));
        } catch (const vellumo::tool::UnknownOption& unknown) {
            vellumo::tool::printError(
                QStringLiteral("vellumo-tool: unknown option \"%1\"").arg(unknown.option));
            vellumo::tool::printError(QStringLiteral("usage: vellumo-tool ") +
                                      vellumo::tool::withAlbumTypes(QString::fromUtf8(c.usage)));
            return 2;
        } catch (const vellumo::Error& e) {
            vellumo::tool::printError(e.message());
            return 1;
        }
    }
    if (argc < 2) {
        return usage();
    }
    vellumo::tool::printError(QStringLiteral("vellumo-tool: unknown command \"%1\"").arg(name));
    return usage();
}
