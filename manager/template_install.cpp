#include "manager/template_install.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include "catalogue/catalogue.h"
#include "catalogue/picture_list.h"
#include "manager/manager_texts.h"
#include "movie/movie_parser.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

namespace {

// The pictures staging writes next to a template movie, besides the template's own.
const QString kStagedLeadIn = QStringLiteral("../../pic/picture_0.jpg");

QString fileReason(const FileError& e) {
    return texts::kFileErrorFormat.arg(e.file(), e.reason());
}

// Reads the parameter package as the catalogue does; throws Error with the reason.
CatalogueRecord readParameterPackage(const QString& path) {
    QByteArray text;
    try {
        text = unpackNested(readWholeFile(path), paths::kParameterPackageDepth,
                            paths::kParameterUnpackLimit);
    } catch (const FileError& e) {
        throw Error(
            texts::kExternalParameterUnreadable.arg(fileReason(FileError(path, e.reason()))));
    }
    try {
        return catalogueRecordFromParameters(text);
    } catch (const Error& e) {
        throw Error(texts::kExternalParameterInvalid.arg(e.message()));
    }
}

// The template's class and slots as the catalogue would give them.
void checkClassified(const CatalogueRecord& record) {
    Catalogue single;
    single.setRecords({record});
    if (single.entries().isEmpty()) {
        throw Error(texts::kExternalTemplateUnclassified);
    }
    for (const CatalogueEntry& entry : single.entries()) {
        if (entry.landscapeSlots + entry.portraitSlots <= 0) {
            throw Error(texts::kExternalTemplateNoSlots);
        }
    }
}

// The movie package unpacks to a movie that plays and shows only pictures staging writes.
void checkMoviePackage(const QString& path, const CatalogueRecord& record) {
    movie::Movie movie;
    try {
        movie = movie::parseMovie(unpackNested(readWholeFile(path), paths::kTemplatePackageDepth,
                                               paths::kMovieUnpackLimit),
                                  path);
    } catch (const FileError& e) {
        throw Error(texts::kExternalMovieUnplayable.arg(fileReason(FileError(path, e.reason()))));
    } catch (const Error& e) {
        throw Error(texts::kExternalMovieUnplayable.arg(e.message()));
    }
    QSet<QString> staged{paths::kStagedBackground, kStagedLeadIn};
    for (const QString& name : record.pictureNames) {
        staged.insert(name + QStringLiteral(".jpg"));
    }
    for (const QString& picture : movie.pictures()) {
        if (!staged.contains(picture)) {
            throw Error(texts::kExternalMovieForeignPicture.arg(picture));
        }
    }
}

void checkNameIsNew(const Catalogue& catalogue, const QString& name) {
    for (const CatalogueRecord& r : catalogue.records()) {
        if (r.name == name) {
            throw Error(texts::kExternalTemplateNameTaken.arg(name));
        }
    }
}

void copyInto(const QString& from, const QString& to) {
    ensureFolder(QFileInfo(to).absolutePath());
    if (!QFile::copy(from, to)) {
        throw Error(texts::kFileErrorFormat.arg(to, texts::kCannotWriteFile));
    }
    // A copy of a read-only file would be read-only too, and then stay when removed.
    QFile::setPermissions(to, QFile::permissions(to) | QFileDevice::WriteOwner);
}

// The rebuilt catalogue keeps every record where it was and adds the new one after them.
bool keepsEveryTemplate(const Catalogue& before, const Catalogue& after,
                        const QString& moviePackage) {
    const auto& old = before.records();
    const auto& now = after.records();
    if (now.size() != old.size() + 1 || now.last().packagePath != moviePackage) {
        return false;
    }
    for (qsizetype i = 0; i < old.size(); ++i) {
        if (now[i].packagePath != old[i].packagePath || now[i].name != old[i].name) {
            return false;
        }
    }
    return true;
}

QString rebuildFailure(const Catalogue& rebuilt, const QString& parameterCopy,
                       const QString& movieCopy) {
    for (const LeftOutTemplate& t : rebuilt.leftOut()) {
        if (t.package == parameterCopy || t.package == movieCopy) {
            return t.reason;
        }
    }
    return texts::kExternalCatalogueChanged;
}

}  // namespace

QString freeUserTemplateName() {
    static const QRegularExpression pattern(QStringLiteral("^wj_y_h_(\\d+)\\.rar$"));
    int highest = 0;
    for (const QString& folder : {paths::kUserParameterPackages, paths::kUserTemplatePackages}) {
        for (const QString& name : QDir(workingPath(folder)).entryList(QDir::Files)) {
            const QRegularExpressionMatch match = pattern.match(name);
            if (match.hasMatch()) {
                highest = std::max(highest, match.captured(1).toInt());
            }
        }
    }
    return QStringLiteral("wj_y_h_%1.rar").arg(highest + 1, 4, 10, QChar(u'0'));
}

TemplateInstallResult installUserTemplate(Catalogue& catalogue, const QString& parameterPackage,
                                          const QString& moviePackage) {
    TemplateInstallResult result;
    QString parameterCopy;
    QString movieCopy;
    try {
        const CatalogueRecord record = readParameterPackage(parameterPackage);
        result.name = record.name;
        checkClassified(record);
        checkMoviePackage(moviePackage, record);
        checkNameIsNew(catalogue, record.name);

        const QString name = freeUserTemplateName();
        parameterCopy = workingPath(paths::kUserParameterPackages) + name;
        movieCopy = workingPath(paths::kUserTemplatePackages) + name;
        copyInto(parameterPackage, parameterCopy);
        copyInto(moviePackage, movieCopy);

        Catalogue rebuilt;
        if (!rebuilt.build() || !keepsEveryTemplate(catalogue, rebuilt, movieCopy)) {
            throw Error(rebuildFailure(rebuilt, parameterCopy, movieCopy));
        }
        catalogue = std::move(rebuilt);
    } catch (const Error& e) {
        for (const QString& copy : {parameterCopy, movieCopy}) {
            if (!copy.isEmpty()) {
                QFile::remove(copy);
            }
        }
        result.message = texts::kExternalTemplateRefused + u'\n' + e.message();
        return result;
    }
    result.installed = true;
    result.parameterPackage = parameterCopy;
    result.moviePackage = movieCopy;
    result.message = texts::kExternalTemplateAdded.arg(result.name);
    return result;
}

}  // namespace vellumo
