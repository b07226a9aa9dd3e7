#include "catalogue/catalogue.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QSet>

#include <algorithm>

#include "catalogue/catalogue_texts.h"
#include "catalogue/picture_list.h"
#include "catalogue/template_parameters.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/intermediate_names.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

namespace {

int decimal(const QString& key, const QString& value) {
    bool ok = false;
    const int number = value.trimmed().toInt(&ok, 10);
    if (!ok) {
        throw Error(texts::kParameterNotNumber.arg(key, value));
    }
    return number;
}

// Every picture needs a width and a height (the stage sizes every picture), and every photo
// slot an orientation. Staging uses these numbers without further checks.
QVector<int> pictureSizes(const QString& key, const QStringList& names, const QStringList& items) {
    QVector<int> sizes;
    sizes.reserve(names.size());
    for (qsizetype k = 0; k < names.size(); ++k) {
        if (k >= items.size()) {
            throw Error(texts::kPictureItemMissing.arg(key, names[k]));
        }
        bool ok = false;
        const int size = items[k].trimmed().toInt(&ok, 10);
        if (!ok) {
            throw Error(texts::kPictureItemNotNumber.arg(key).arg(k + 1).arg(items[k]));
        }
        // A negative size would give the picture the whole stage, a huge one overflow the
        // stage arithmetic: neither is a size staging can use.
        if (size < 0 || size > kMaxParameterPictureSide) {
            throw Error(texts::kPictureItemOutOfRange.arg(key).arg(k + 1).arg(items[k]).arg(
                kMaxParameterPictureSide));
        }
        sizes.append(size);
    }
    return sizes;
}

void readPictureLists(const TemplateParameters& p, CatalogueRecord& r) {
    r.pictureNames = splitPictureList(p.xpjpgmc);
    r.orientations = splitPictureList(p.szhz);
    r.pictureWidths =
        pictureSizes(QStringLiteral("xpkd"), r.pictureNames, splitPictureList(p.xpkd));
    r.pictureHeights =
        pictureSizes(QStringLiteral("xpgd"), r.pictureNames, splitPictureList(p.xpgd));
    for (qsizetype k = 0; k < r.pictureNames.size(); ++k) {
        if (isPhotoSlotName(r.pictureNames[k]) && k >= r.orientations.size()) {
            throw Error(texts::kPictureItemMissing.arg(QStringLiteral("szhz"), r.pictureNames[k]));
        }
    }
}

// A template package must unpack to its movie; staging would fail on it later otherwise.
void checkTemplatePackage(const QString& path) {
    QByteArray movie;
    try {
        movie = unpackNested(readWholeFile(path), paths::kTemplatePackageDepth,
                             paths::kMovieUnpackLimit);
    } catch (const FileError& e) {
        throw FileError(path, e.reason());
    }
    if (movie.isEmpty()) {
        throw FileError(path, texts::kTemplatePackageEmpty);
    }
}

// A package's path below its tree's folder without the extension: the name both kinds share.
QString pairingName(const QString& package, const QString& root) {
    const QString relative =
        package.startsWith(root) ? package.mid(root.size()) : QDir(root).relativeFilePath(package);
    return relative.chopped(std::min<qsizetype>(relative.size(), 4));  // ".rar" or ".RAR"
}

void appendRow(QVector<ClassListRow>& list, int catalogueIndex) {
    list.append(ClassListRow{catalogueIndex, 0, 0});
}

// Counts a class list's photo slots; "shuheng" counts as the list's own orientation.
void countSlotsIn(QVector<ClassListRow>& list, const QVector<CatalogueRecord>& records,
                  bool eitherIsPortrait) {
    for (ClassListRow& row : list) {
        const CatalogueRecord& record = records.at(row.catalogueIndex);
        const QStringList& names = record.pictureNames;
        const QStringList& orientations = record.orientations;
        row.landscapeSlots = 0;
        row.portraitSlots = 0;
        for (qsizetype k = 0; k < names.size() && k < orientations.size(); ++k) {
            if (!isPhotoSlotName(names[k])) {
                continue;
            }
            const QString& o = orientations[k];
            if (o == class_marks::kLandscape) {
                ++row.landscapeSlots;
            } else if (o == class_marks::kPortrait) {
                ++row.portraitSlots;
            } else if (o == class_marks::kEither) {
                ++(eitherIsPortrait ? row.portraitSlots : row.landscapeSlots);
            }
        }
    }
}

}  // namespace

QString kindText(TemplateKind kind) {
    return kind == TemplateKind::Advanced ? texts::kKindAdvanced : texts::kKindSingle;
}

QString classText(TemplateClass cls) {
    switch (cls) {
        case TemplateClass::Combined:
            return texts::kClassCombined;
        case TemplateClass::LandscapeSingle:
            return texts::kClassLandscape;
        case TemplateClass::PortraitSingle:
            return texts::kClassPortrait;
    }
    return {};
}

TemplateRef::TemplateRef() {
    static const std::shared_ptr<const TemplateInfo> empty = std::make_shared<const TemplateInfo>();
    info_ = empty;
}

QString durationText(int frames) {
    // frames × 0.04 s truncated is frames / 25 in whole seconds.
    int seconds = frames / 25;
    int minutes = seconds / 60;
    seconds %= 60;
    const int hours = minutes / 60;
    minutes %= 60;
    const auto twoDigits = [](int n) { return QString::number(n).rightJustified(2, u'0'); };
    return twoDigits(hours) + u':' + twoDigits(minutes) + u':' + twoDigits(seconds);
}

CatalogueRecord catalogueRecordFromParameters(const QByteArray& gbkText) {
    // An empty file would read as one whose every key is missing, which says nothing useful.
    if (gbkText.trimmed().isEmpty()) {
        throw Error(texts::kParameterFileEmpty);
    }
    const TemplateParameters p = parseTemplateParameters(gbkText);
    CatalogueRecord r;
    r.typeText = p.mblx;
    r.classText = p.mbfl;
    r.photoCountText = p.xpsl;
    r.frames = decimal(QStringLiteral("mbdx"), p.mbdx);
    if (r.frames <= 0) {
        throw Error(texts::kFramesNotPositive.arg(p.mbdx));
    }
    r.name = p.name;
    r.allPhotos = p.sl;
    readPictureLists(p, r);
    return r;
}

bool Catalogue::scanPackages() {
    const QString unpackFolder = workingPath(paths::kUnpackFolder);
    removeFolderTree(unpackFolder);
    ensureFolder(unpackFolder);
    parameterPackages_.clear();
    templatePackages_.clear();
    pairedTemplates_.clear();
    strayTemplates_.clear();
    // The installed templates, then the user's: each parameter package goes with the template
    // package of the same name in its own tree, so a stray file never shifts another pair.
    const auto scanTree = [this](const QString& parameterRoot, const QString& templateRoot) {
        const QStringList parameters = findPackages(parameterRoot);
        const QStringList templates = findPackages(templateRoot);
        QHash<QString, qsizetype> templateByName;
        for (qsizetype i = 0; i < templates.size(); ++i) {
            templateByName.insert(pairingName(templates[i], templateRoot),
                                  templatePackages_.size() + i);
        }
        QSet<qsizetype> taken;
        for (const QString& package : parameters) {
            const qsizetype paired = templateByName.value(pairingName(package, parameterRoot), -1);
            pairedTemplates_.append(paired);
            taken.insert(paired);
        }
        for (qsizetype i = 0; i < templates.size(); ++i) {
            if (!taken.contains(templatePackages_.size() + i)) {
                strayTemplates_.append(templates[i]);
            }
        }
        parameterPackages_ += parameters;
        templatePackages_ += templates;
    };
    scanTree(dataPath(paths::kParameterPackages), dataPath(paths::kTemplatePackages));
    scanTree(workingPath(paths::kUserParameterPackages), workingPath(paths::kUserTemplatePackages));
    return !parameterPackages_.isEmpty() && !templatePackages_.isEmpty();
}

void Catalogue::readParameters(const std::function<void()>& tick) {
    records_.clear();
    leftOut_.clear();
    for (qsizetype i = 0; i < parameterPackages_.size(); ++i) {
        if (tick) {
            tick();
        }
        const QString& package = parameterPackages_[i];
        const qsizetype paired = pairedTemplates_.value(i, -1);
        if (paired < 0) {
            leftOut_.append(LeftOutTemplate{package, texts::kNoTemplatePackage});
            continue;
        }
        const int position = static_cast<int>(i) + 1;
        const QString iniFile = workingPath(paths::unpackedParameterFile(position));
        try {
            unpackChain(package, paths::kParameterPackageDepth,
                        intermediate::parameterPackage(position), iniFile,
                        paths::kParameterUnpackLimit);
            CatalogueRecord record = catalogueRecordFromParameters(readWholeFile(iniFile));
            record.packagePath = templatePackages_[paired];
            checkTemplatePackage(record.packagePath);
            record.catalogueIndex = static_cast<int>(records_.size());
            records_.append(std::move(record));
        } catch (const FileError& e) {
            QFile::remove(iniFile);
            // A working file that cannot be written (a full disk) is no fault of the template,
            // and every other template would meet it too.
            if (e.reason() == texts::kCannotWriteFile) {
                throw Error(texts::kWorkingFolderUnwritable.arg(workingPath(paths::kUnpackFolder)));
            }
            const bool templateFailed = e.file() == templatePackages_[paired];
            leftOut_.append(LeftOutTemplate{templateFailed ? e.file() : package, e.reason()});
        } catch (const Error& e) {
            leftOut_.append(LeftOutTemplate{package, e.message()});
        }
        QFile::remove(iniFile);
    }
    for (const QString& stray : strayTemplates_) {
        leftOut_.append(LeftOutTemplate{stray, texts::kNoParameterPackage});
    }
}

void Catalogue::classify() {
    landscapeSingles_.clear();
    portraitSingles_.clear();
    advanced_.clear();
    for (CatalogueRecord& record : records_) {
        const QStringList& o = record.orientations;
        record.classMark.clear();
        if (o.size() == 1 && (o[0] == class_marks::kLandscape || o[0] == class_marks::kPortrait ||
                              o[0] == class_marks::kEither)) {
            record.classMark = o[0];
        } else {
            const qsizetype h = o.count(class_marks::kLandscape);
            const qsizetype s = o.count(class_marks::kPortrait);
            if ((h >= 1 && s >= 1) || h > 1 || s > 1) {
                record.classMark = class_marks::kAdvanced;
            }
        }
        const QString& mark = record.classMark;
        if (mark == class_marks::kLandscape || mark == class_marks::kEither) {
            appendRow(landscapeSingles_, record.catalogueIndex);
        }
        if (mark == class_marks::kPortrait || mark == class_marks::kEither) {
            appendRow(portraitSingles_, record.catalogueIndex);
        }
        if (mark == class_marks::kAdvanced) {
            appendRow(advanced_, record.catalogueIndex);
        }
    }
}

void Catalogue::countSlots() {
    countSlotsIn(landscapeSingles_, records_, false);
    countSlotsIn(portraitSingles_, records_, true);
    countSlotsIn(advanced_, records_, false);
}

void Catalogue::fillCatalogueList() {
    entries_.clear();
    const auto append = [&](const QVector<ClassListRow>& list, TemplateKind kind,
                            TemplateClass cls) {
        for (const ClassListRow& row : list) {
            const CatalogueRecord& record = records_.at(row.catalogueIndex);
            entries_.append(TemplateInfo{row.catalogueIndex, record.name, kind, row.landscapeSlots,
                                         row.portraitSlots, durationText(record.frames), cls});
        }
    };
    append(advanced_, TemplateKind::Advanced, TemplateClass::Combined);
    append(landscapeSingles_, TemplateKind::Single, TemplateClass::LandscapeSingle);
    append(portraitSingles_, TemplateKind::Single, TemplateClass::PortraitSingle);
}

bool Catalogue::build(const std::function<void()>& tick) {
    if (!scanPackages()) {
        return false;
    }
    readParameters(tick);
    classify();
    countSlots();
    fillCatalogueList();
    return true;
}

QStringList Catalogue::leftOutLines() const {
    QStringList lines;
    for (const LeftOutTemplate& t : leftOut_) {
        QString file = t.package;
        for (const QString& folder : {programFolder(), workingRoot()}) {
            if (file.startsWith(folder)) {
                file = file.mid(folder.size());
                break;
            }
        }
        lines.append(texts::kTemplateLeftOutLine.arg(file, t.reason));
    }
    return lines;
}

QString Catalogue::leftOutMessage() const {
    if (leftOut_.isEmpty()) {
        return {};
    }
    return texts::kTemplatesLeftOut + u'\n' + leftOutLines().join(u'\n');
}

void Catalogue::setRecords(QVector<CatalogueRecord> records) {
    records_ = std::move(records);
    for (qsizetype i = 0; i < records_.size(); ++i) {
        records_[i].catalogueIndex = static_cast<int>(i);
    }
    classify();
    countSlots();
    fillCatalogueList();
}

}  // namespace vellumo
