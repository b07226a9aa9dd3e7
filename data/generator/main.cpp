// vellumo-datagen: builds the installed data tree of the program folder from the sources in
// data/: the template library (parameter files stored in GBK, movies, both packed 20 deep at
// the same relative path), the combined templates, the start-up and closing movies, the sample
// song with its lyrics, and the help (the user guide as HTML with its pictures). Every movie is
// parsed and checked against the library's rules first (movie/template_rules.h, the rules of
// vellumo-tool check-template, the stillness measure included); a broken or still one stops the
// build naming its file.
//
//   vellumo-datagen --source DATA_DIR --guide GUIDE.md --program-folder BIN_DIR

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryFile>

#include <cmath>
#include <cstdio>

#include "catalogue/catalogue.h"
#include "catalogue/combined_template.h"
#include "data/generator/help_page.h"
#include "data/generator/music.h"
#include "media/audio_encoder.h"
#include "movie/movie_parser.h"
#include "movie/template_rules.h"
#include "skin/fonts.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

namespace vellumo::datagen {

namespace {

void say(const QString& text) {
    std::fprintf(stderr, "%s\n", text.toUtf8().constData());
}

movie::Movie parsed(const QByteArray& text, const QString& file) {
    return movie::parseMovie(text, file);
}

void require(const QString& file, const QString& problem) {
    if (!problem.isEmpty()) {
        throw Error(QStringLiteral("%1: %2").arg(file, problem));
    }
}

QStringList sortedEntries(const QString& folder, QDir::Filters filters,
                          const QStringList& patterns = {}) {
    return QDir(folder).entryList(patterns, filters | QDir::NoDotAndDotDot, QDir::Name);
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    writeWholeFile(path, bytes);
}

// The one file of a folder named movie.* (the movie source).
QString movieIn(const QString& folder) {
    const QStringList movies = sortedEntries(folder, QDir::Files, {QStringLiteral("movie.*")});
    if (movies.size() != 1) {
        throw Error(QStringLiteral("%1: needs exactly one movie.* file").arg(folder));
    }
    return folder + u'/' + movies.first();
}

QVector<CatalogueRecord> writeTemplates(const QString& source) {
    const QString templates = source + QStringLiteral("/templates");
    QVector<CatalogueRecord> records;
    int longestStill = 0;
    for (const QString& name : sortedEntries(templates, QDir::Dirs)) {
        const QString folder = templates + u'/' + name;
        const QByteArray parameters =
            toGbk(QString::fromUtf8(readWholeFile(folder + QStringLiteral("/parameters.ini"))));
        CatalogueRecord record;
        try {
            record = catalogueRecordFromParameters(parameters);
        } catch (const Error& e) {
            throw Error(QStringLiteral("%1: %2").arg(folder, e.message()));
        }
        const QString movieFile = movieIn(folder);
        const QByteArray movie = readWholeFile(movieFile);
        const movie::TemplateCheck check = movie::checkTemplate(parsed(movie, movieFile), record);
        require(movieFile, check.firstProblem());
        longestStill = std::max(longestStill, check.longestStill.length);
        records.append(record);
        const QString package = name + QStringLiteral(".rar");
        writeFile(dataPath(paths::kParameterPackages + package),
                  packNested(parameters, paths::kParameterPackageDepth));
        writeFile(dataPath(paths::kTemplatePackages + package),
                  packNested(movie, paths::kTemplatePackageDepth));
    }
    say(QStringLiteral("templates: %1 (longest still run %2 frames)")
            .arg(records.size())
            .arg(longestStill));
    return records;
}

// Every member of a combined template must name a catalogue entry by name and slot counts.
void writeCombinedTemplates(const QString& source, const QVector<CatalogueRecord>& records) {
    Catalogue catalogue;
    catalogue.setRecords(records);
    const QString folder = source + QStringLiteral("/combined");
    int k = 0;
    for (const QString& name : sortedEntries(folder, QDir::Files, {QStringLiteral("*.ini")})) {
        const QByteArray text = toGbk(QString::fromUtf8(readWholeFile(folder + u'/' + name)));
        const CombinedTemplate combined = parseCombinedTemplate(text);
        for (const CombinedTemplateMember& m : combined.members) {
            const bool found = std::any_of(
                catalogue.entries().begin(), catalogue.entries().end(),
                [&](const auto& e) { return m.names(e.name, e.landscapeSlots, e.portraitSlots); });
            if (!found) {
                throw Error(QStringLiteral("%1: no template %2 with %3 landscape and %4 portrait")
                                .arg(name, m.name)
                                .arg(m.landscapeCount)
                                .arg(m.portraitCount));
            }
        }
        ++k;
        writeFile(dataPath(paths::combinedTemplatePackage(k)),
                  packNested(text, paths::kCombinedTemplateDepth));
    }
    say(QStringLiteral("combined templates: %1").arg(k));
}

void writeMovies(const QString& source) {
    const QString folder = source + QStringLiteral("/movies");
    const auto find = [&](const QString& stem) {
        const QStringList files = sortedEntries(folder, QDir::Files, {stem + QStringLiteral(".*")});
        if (files.size() != 1) {
            throw Error(QStringLiteral("%1: needs exactly one %2.* file").arg(folder, stem));
        }
        return folder + u'/' + files.first();
    };
    const QString startupFile = find(QStringLiteral("startup"));
    const QByteArray startup = readWholeFile(startupFile);
    require(startupFile, movie::startupAnimationProblem(parsed(startup, startupFile)));
    const QString closingFile = find(QStringLiteral("closing"));
    const QByteArray closing = readWholeFile(closingFile);
    require(closingFile, movie::closingMovieProblem(parsed(closing, closingFile)));
    writeFile(dataPath(paths::kStartupAnimation),
              packNested(startup, paths::kStartupAnimationDepth));
    writeFile(dataPath(paths::kClosingMovie), packNested(closing, paths::kClosingMovieDepth));
}

QString lrcTime(double seconds) {
    const int hundredths = static_cast<int>(std::lround(seconds * 100));
    return QStringLiteral("[%1:%2.%3]")
        .arg(hundredths / 6000, 2, 10, QLatin1Char('0'))
        .arg(hundredths / 100 % 60, 2, 10, QLatin1Char('0'))
        .arg(hundredths % 100, 2, 10, QLatin1Char('0'));
}

// The song, and its lyrics timed to the phrases: the source holds the header lines, then one
// line per phrase.
void writeSampleSong(const QString& source) {
    const QStringList lines =
        QString::fromUtf8(readWholeFile(source + QStringLiteral("/lyrics/sample_song.txt")))
            .split(u'\n', Qt::SkipEmptyParts);
    QStringList headers;
    QStringList sung;
    for (const QString& line : lines) {
        (line.startsWith(u'[') ? headers : sung).append(line.trimmed());
    }
    const std::vector<double> times = phraseStartTimes();
    if (static_cast<size_t>(sung.size()) != times.size()) {
        throw Error(QStringLiteral("sample_song.txt: %1 lines for %2 phrases")
                        .arg(sung.size())
                        .arg(times.size()));
    }
    QString lrc = headers.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    for (size_t i = 0; i < times.size(); ++i) {
        lrc += lrcTime(times[i]) + sung[static_cast<qsizetype>(i)] + QStringLiteral("\r\n");
    }
    writeFile(dataPath(paths::kSampleLyrics), toGbk(lrc));

    const QString mp3 = dataPath(paths::kSampleMusic);
    const QString partial = mp3 + QStringLiteral(".part");
    QDir().mkpath(QFileInfo(mp3).absolutePath());
    encodeAudio(partial, "mp3", AudioCodec::Mp3, 192000, toPcm(synthesiseSampleSong()),
                {{QStringLiteral("title"), QStringLiteral("甜蜜蜜")},
                 {QStringLiteral("artist"), QStringLiteral("Vellumo")},
                 {QStringLiteral("album"), QStringLiteral("Vellumo 示例音乐")}});
    QFile::remove(mp3);
    if (!QFile::rename(partial, mp3)) {
        throw Error(QStringLiteral("cannot move %1 into place").arg(mp3));
    }
}

// The guide as the help page, with the pictures it shows beside it.
void writeHelp(const QString& guide) {
    const QString guideFolder = QFileInfo(guide).absolutePath();
    const QString page = dataPath(paths::kHelpPage);
    writeFile(page,
              helpPageFromGuide(QString::fromUtf8(readWholeFile(guide)), guideFolder).toUtf8());
    const QString pictures = QFileInfo(guide).completeBaseName();
    const QString from = guideFolder + u'/' + pictures;
    for (const QString& name : sortedEntries(from, QDir::Files, {"*.png", "*.jpg"})) {
        writeFile(QFileInfo(page).absolutePath() + u'/' + pictures + u'/' + name,
                  readWholeFile(from + u'/' + name));
    }
}

}  // namespace

int run(const QString& source, const QString& guide) {
    // Installed content is rebuilt from nothing; working folders are left alone.
    for (const QString& folder :
         {paths::kParameterPackages, paths::kTemplatePackages, paths::kCombinedTemplates,
          QStringLiteral("smxcwjj/wj_0_or_2_2/"), QStringLiteral("smxcwjj/wj_0_or_3_3/"),
          QStringLiteral("yinyuegeciwenjian/"), QStringLiteral("help/")}) {
        removeFolderTree(dataPath(folder));
    }
    const QVector<CatalogueRecord> records = writeTemplates(source);
    writeCombinedTemplates(source, records);
    writeMovies(source);
    writeSampleSong(source);
    writeHelp(guide);
    return 0;
}

}  // namespace vellumo::datagen

int main(int argc, char* argv[]) {
    // Measuring a template's motion renders it, texts included.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    vellumo::installFontSubstitutions();
    const QStringList args = QCoreApplication::arguments();
    const qsizetype s = args.indexOf(QStringLiteral("--source"));
    const qsizetype g = args.indexOf(QStringLiteral("--guide"));
    const qsizetype p = args.indexOf(QStringLiteral("--program-folder"));
    if (s < 0 || g < 0 || p < 0 || s + 1 >= args.size() || g + 1 >= args.size() ||
        p + 1 >= args.size()) {
        std::fprintf(stderr,
                     "usage: vellumo-datagen --source DATA_DIR --guide GUIDE.md "
                     "--program-folder BIN_DIR\n");
        return 2;
    }
    vellumo::setProgramFolder(args[p + 1]);
    try {
        return vellumo::datagen::run(QDir(args[s + 1]).absolutePath(),
                                     QFileInfo(args[g + 1]).absoluteFilePath());
    } catch (const vellumo::Error& e) {
        std::fprintf(stderr, "vellumo-datagen: %s\n", e.what());
        return 1;
    }
}
