#include "project/project_session.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "project/project_texts.h"
#include "skin/skin_texts.h"
#include "workspace/errors.h"

namespace vellumo {

QString userDataFolder() {
    // GenericDataLocation is $XDG_DATA_HOME, or ~/.local/share when it is not set.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/vellumo");
}

QString recoveryFilePath() {
    return userDataFolder() + QStringLiteral("/recovery") + kProjectExtension;
}

QString RecentProjects::filePath() {
    return userDataFolder() + QStringLiteral("/recent-albums.txt");
}

QStringList RecentProjects::list() const {
    QFile file(filePath());
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QStringList paths;
    for (const QByteArray& line : file.readAll().split('\n')) {
        const QString path = QString::fromUtf8(line).trimmed();
        if (!path.isEmpty() && !paths.contains(path) && paths.size() < kCount) {
            paths.append(path);
        }
    }
    return paths;
}

void RecentProjects::add(const QString& path) {
    QStringList paths = list();
    paths.removeAll(path);
    paths.prepend(path);
    write(paths.mid(0, kCount));
}

void RecentProjects::remove(const QString& path) {
    QStringList paths = list();
    if (paths.removeAll(path) > 0) {
        write(paths);
    }
}

void RecentProjects::write(const QStringList& paths) {
    QDir().mkpath(userDataFolder());
    try {
        writeFileSafely(filePath(), (paths.join(u'\n') + u'\n').toUtf8());
    } catch (const Error&) {
        // The list is a convenience: a folder that cannot be written costs only the list.
    }
}

ProjectSession::ProjectSession(Album& album, SystemSettings* settings, QObject* parent)
    : QObject(parent), album_(album), settings_(settings) {
    connect(&album_, &Album::changed, this, &ProjectSession::checkForChanges);
    if (settings_) {
        connect(settings_, &SystemSettings::changed, this, &ProjectSession::checkForChanges);
    }
    autosave_.setSingleShot(true);
    autosave_.setInterval(kAutosaveIntervalMs);
    connect(&autosave_, &QTimer::timeout, this, &ProjectSession::autosaveNow);
    savedState_ = currentState();
}

QString ProjectSession::albumName() const {
    return path_.isEmpty() ? texts::kUntitledAlbum : QFileInfo(path_).completeBaseName();
}

QString ProjectSession::markedName() const {
    return modified_ ? albumName() + texts::kUnsavedMark : albumName();
}

QString ProjectSession::title() const {
    return texts::kAlbumTitle.arg(markedName(), texts::kApplicationTitle);
}

QByteArray ProjectSession::currentState() const {
    return projectBytes(album_, currentSettings(), QString());
}

ProjectSettings ProjectSession::currentSettings() const {
    return settings_ ? ProjectSettings::of(*settings_) : ProjectSettings{};
}

void ProjectSession::start() {
    started_ = true;
    checkForChanges();
}

void ProjectSession::stop() {
    started_ = false;
    autosave_.stop();
}

void ProjectSession::checkForChanges() {
    const QByteArray state = currentState();
    const bool modified = state != savedState_;
    if (modified != modified_) {
        modified_ = modified;
        emit stateChanged();
    }
    if (!modified) {
        // Back as saved: there is nothing to recover.
        autosave_.stop();
        setAutosaveFailing(false);
        if (!recoveryState_.isEmpty()) {
            removeRecovery();
        }
    } else if (state != recoveryState_ && !autosave_.isActive() && started_) {
        autosave_.start();
    }
}

void ProjectSession::autosaveNow() {
    if (currentState() != savedState_) {
        setAutosaveFailing(!writeRecovery());
    }
}

void ProjectSession::setAutosaveFailing(bool failing) {
    if (failing == autosaveFailing_) {
        return;
    }
    autosaveFailing_ = failing;
    if (failing) {
        emit autosaveFailed(recoveryFilePath());
    } else {
        emit autosaveRestored();
    }
}

bool ProjectSession::writeRecovery(const WriteProgress& progress) {
    QDir().mkpath(userDataFolder());
    const QByteArray state = currentState();
    try {
        writeFileSafely(recoveryFilePath(), recoveryBytes(album_, currentSettings(), path_),
                        progress);
    } catch (const Error&) {
        return false;
    }
    recoveryState_ = state;
    return true;
}

void ProjectSession::removeRecovery() {
    QFile::remove(recoveryFilePath());
    recoveryState_.clear();
}

bool ProjectSession::hasRecovery() {
    return QFileInfo(recoveryFilePath()).isFile();
}

void ProjectSession::markSaved(const QString& path) {
    path_ = path;
    savedState_ = currentState();
    modified_ = false;
    autosave_.stop();
    emit stateChanged();
}

void ProjectSession::save(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    saveProject(album_, currentSettings(), absolute);
    // Saved, the album is kept again.
    setAutosaveFailing(false);
    markSaved(absolute);
    removeRecovery();
    recent_.add(absolute);
    emit recentChanged();
}

void ProjectSession::apply(const ProjectLoad& load) {
    album_.restore(load.album);
    if (settings_) {
        load.settings.applyTo(*settings_);
    }
}

ProjectLoad ProjectSession::read(const QString& path) {
    ProjectLoad load = readProject(path, album_.catalogue());
    load.unconvertedMusic = load.album.music.remakeMissingCopies(pump_);
    return load;
}

ProjectLoad ProjectSession::open(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    ProjectLoad load;
    try {
        load = read(absolute);
    } catch (const Error&) {
        if (!QFileInfo::exists(absolute)) {
            recent_.remove(absolute);
            emit recentChanged();
        }
        throw;
    }
    apply(load);
    markSaved(absolute);
    removeRecovery();
    recent_.add(absolute);
    emit recentChanged();
    return load;
}

void ProjectSession::startNew() {
    album_.restore(Album::Snapshot{});
    markSaved(QString());
    removeRecovery();
}

ProjectLoad ProjectSession::restoreRecovery() {
    ProjectLoad load = read(recoveryFilePath());
    apply(load);
    path_ = load.recoveredFrom;
    // Nothing is saved yet: the album differs from every saved state.
    savedState_.clear();
    modified_ = true;
    recoveryState_ = currentState();
    // The recovery file holds this album already.
    autosave_.stop();
    emit stateChanged();
    return load;
}

}  // namespace vellumo
