#include "workspace/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "workspace/data_paths.h"
#include "workspace/folders.h"

namespace vellumo {

namespace {

QString& overriddenFolder() {
    static QString folder;
    return folder;
}

QString& chosenWorkingRoot() {
    static QString folder;
    return folder;
}

QString withTrailingSlash(QString folder) {
    if (!folder.endsWith(u'/')) {
        folder += u'/';
    }
    return folder;
}

}  // namespace

QString programFolder() {
    if (!overriddenFolder().isEmpty()) {
        return overriddenFolder();
    }
    return withTrailingSlash(QCoreApplication::applicationDirPath());
}

void setProgramFolder(const QString& folder) {
    overriddenFolder() =
        folder.isEmpty() ? QString() : withTrailingSlash(QDir(folder).absolutePath());
}

QString dataPath(const QString& relativePath) {
    return programFolder() + relativePath;
}

QString workingRoot() {
    return chosenWorkingRoot().isEmpty() ? programFolder() : chosenWorkingRoot();
}

void setWorkingRoot(const QString& folder) {
    chosenWorkingRoot() =
        folder.isEmpty() ? QString() : withTrailingSlash(QDir(folder).absolutePath());
}

QString workingPath(const QString& relativePath) {
    return workingRoot() + relativePath;
}

QString userWorkingRoot() {
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    // A relative value is invalid and to be ignored.
    if (cache.isEmpty() || QDir::isRelativePath(cache)) {
        cache = QDir::homePath() + QStringLiteral("/.cache");
    }
    return withTrailingSlash(QDir::cleanPath(cache)) + QStringLiteral("vellumo/");
}

bool isWritableFolder(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

QString chooseWorkingRoot(const std::function<bool(const QString&)>& writable) {
    if (writable(programFolder())) {
        setWorkingRoot(QString());
        return programFolder();
    }
    const QString root = userWorkingRoot();
    ensureFolder(root);
    setWorkingRoot(root);
    return workingRoot();
}

namespace paths {

QString combinedTemplatePackage(int k) {
    return kCombinedTemplates + QStringLiteral("wj_0_or_9_9_%1.rar").arg(k);
}

QString templateStagingSubfolder(int n) {
    return QStringLiteral("wj_y_l_%1/").arg(n);
}

QString stagedTemplateMovie(int n) {
    return QStringLiteral("wj_y_l_%1").arg(n) + kMovieExtension;
}

QString unpackedParameterFile(int i) {
    return kUnpackFolder + QStringLiteral("wjj_00_j_y%1.ini").arg(i);
}

QString unpackedCombinedTemplate(int k) {
    return kUnpackFolder + QStringLiteral("wjj_00_j_y%1-%2.ini").arg(k).arg(k + 1);
}

}  // namespace paths

}  // namespace vellumo
