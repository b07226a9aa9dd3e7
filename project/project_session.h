#pragma once

// The album's project for the run: the file it was last saved to or opened from, whether it
// has changed since, the recent projects, and the recovery file that an autosave writes each
// minute of changes so that a crash loses at most a minute of work.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "project/project_file.h"

namespace vellumo {

// The user's own Vellumo folder: $XDG_DATA_HOME/vellumo (~/.local/share/vellumo without it).
// Never one of the working folders below the program folder, which start-up clears.
QString userDataFolder();
// The autosaved album, in the user's folder.
QString recoveryFilePath();

// The five projects last saved or opened, newest first, kept in a small file in the user's
// folder.
class RecentProjects {
public:
    static constexpr int kCount = 5;

    static QString filePath();
    QStringList list() const;
    // Puts path first (once); the oldest beyond five go.
    void add(const QString& path);
    void remove(const QString& path);

private:
    void write(const QStringList& paths);
};

class ProjectSession : public QObject {
    Q_OBJECT
public:
    static constexpr int kAutosaveIntervalMs = 60 * 1000;

    // settings may be null (the command-line tool keeps none).
    ProjectSession(Album& album, SystemSettings* settings, QObject* parent = nullptr);

    // The project file; empty while the album has never been saved or opened.
    const QString& path() const { return path_; }
    // The file's base name, or "未命名相册".
    QString albumName() const;
    // The name with "*" while there are unsaved changes.
    QString markedName() const;
    // "name* - Vellumo" while there are unsaved changes, "name - Vellumo" otherwise.
    QString title() const;
    bool isModified() const { return modified_; }

    // Compares the album with its last saved state: updates the unsaved mark (stateChanged()
    // when it changes) and starts the autosave countdown when there is something new to keep.
    // Runs whenever the album or the settings announce a change.
    void checkForChanges();
    // Starts the autosave (the main window is open); stop() ends it. Changes are marked from
    // the start.
    void start();
    void stop();
    void setAutosaveInterval(int ms) { autosave_.setInterval(ms); }
    bool autosavePending() const { return autosave_.isActive(); }

    // Saves the album as a project at path and takes path as the project. Throws Error; the
    // project stays what it was then.
    void save(const QString& path);
    // Reads the project at path and puts it into the album and the settings. Throws Error and
    // leaves album, settings and project unchanged. A project that is no longer there leaves
    // the recent list. Converted copies of its music missing from the cache are made again
    // first (the pump runs while the converter works).
    ProjectLoad open(const QString& path);
    void setConversionPump(std::function<void()> pump) { pump_ = std::move(pump); }
    // An empty album, not yet saved; the settings stay.
    void startNew();

    // Writes the album to the recovery file (temporary name, then renamed). False when it could
    // not be written; the old recovery file is then unchanged.
    bool writeRecovery(const WriteProgress& progress = {});
    // Whether the last autosave failed (the album is kept nowhere but in memory).
    bool autosaveFailing() const { return autosaveFailing_; }
    void removeRecovery();
    static bool hasRecovery();
    // Puts the recovered album in place: it has unsaved changes and belongs to the project it
    // was the album of. Throws Error as open() does; the recovery file stays until the album
    // is saved or the program ends normally.
    ProjectLoad restoreRecovery();

    RecentProjects& recent() { return recent_; }

signals:
    // The title or the unsaved mark changed.
    void stateChanged();
    // The recent list changed.
    void recentChanged();
    // An autosave could not write the recovery file: emitted once, until an autosave or a save
    // works again, which emits autosaveRestored().
    void autosaveFailed(const QString& recoveryFile);
    void autosaveRestored();

private:
    QByteArray currentState() const;
    ProjectSettings currentSettings() const;
    ProjectLoad read(const QString& path);
    void apply(const ProjectLoad& load);
    void setAutosaveFailing(bool failing);
    void markSaved(const QString& path);
    void autosaveNow();

    Album& album_;
    SystemSettings* settings_;
    QString path_;
    QByteArray savedState_;
    QByteArray recoveryState_;  // what the recovery file holds, empty when there is none
    bool modified_ = false;
    bool autosaveFailing_ = false;
    std::function<void()> pump_;
    RecentProjects recent_;
    bool started_ = false;
    QTimer autosave_;
};

}  // namespace vellumo
