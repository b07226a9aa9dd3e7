// vellumo-tool check-template: a template's parameter file and movie against the rules of the
// library, the same rules the build holds every installed template to. Each file may be the
// source (UTF-8 or GBK text) or the installed package, packed 20 deep.

#include <QStringDecoder>

#include <algorithm>

#include "catalogue/catalogue.h"
#include "movie/movie_parser.h"
#include "movie/template_rules.h"
#include "skin/fonts.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/text_codec.h"

namespace vellumo::tool {

namespace {

// A packed file starts with its length and a zlib stream (0x78 …); a text file does not, or
// does not unpack.
QByteArray unpackedIfPacked(const QByteArray& bytes, int depth) {
    if (bytes.size() < 6 || static_cast<unsigned char>(bytes[4]) != 0x78) {
        return bytes;
    }
    try {
        return unpackNested(bytes, depth);
    } catch (const Error&) {
        return bytes;
    }
}

// Parameter files are GBK; a source written in UTF-8 is taken as such.
QByteArray parametersAsGbk(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    return utf8.hasError() ? bytes : toGbk(text);
}

}  // namespace

int runCheckTemplate(const QStringList& words) {
    const Arguments args(words, {});
    if (!args.ok()) {
        return fail(args.error());
    }
    if (args.positional().size() != 2) {
        return fail(QStringLiteral("usage: check-template PARAMETERS MOVIE"));
    }
    const QString parametersFile = args.positional()[0];
    const QString movieFile = args.positional()[1];
    installFontSubstitutions();
    CatalogueRecord record;
    movie::Movie movie;
    try {
        const QByteArray parameters = parametersAsGbk(
            unpackedIfPacked(readWholeFile(parametersFile), paths::kParameterPackageDepth));
        try {
            record = catalogueRecordFromParameters(parameters);
        } catch (const Error& e) {
            return fail(QStringLiteral("%1: %2").arg(parametersFile, e.message()));
        }
        movie = movie::parseMovie(
            unpackedIfPacked(readWholeFile(movieFile), paths::kTemplatePackageDepth), movieFile);
    } catch (const Error& e) {
        return fail(e.message());
    }

    const movie::TemplateCheck check = movie::checkTemplate(movie, record);
    printOut(QStringLiteral("%1 (%2 frames)").arg(record.name).arg(movie.frames));
    int width = 0;
    for (const movie::RuleResult& r : check.rules) {
        width = std::max(width, static_cast<int>(r.rule.size()));
    }
    for (const movie::RuleResult& r : check.rules) {
        printOut(QStringLiteral("  %1  %2%3")
                     .arg(r.rule, -width)
                     .arg(r.passed() ? QStringLiteral("ok") : QStringLiteral("FAILED: "))
                     .arg(r.problem));
    }
    printOut(QStringLiteral("  longest still run: %1 %2 from frame %3 (at most %4 between "
                            "frames %5 and %6)")
                 .arg(check.longestStill.length)
                 .arg(check.longestStill.length == 1 ? QStringLiteral("frame")
                                                     : QStringLiteral("frames"))
                 .arg(check.longestStill.first)
                 .arg(movie::kMaxStillFrames)
                 .arg(movie::kStillnessMarginFrames)
                 .arg(movie.frames - movie::kStillnessMarginFrames - 1));
    return check.passed() ? 0 : 1;
}

}  // namespace vellumo::tool
