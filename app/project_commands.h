#pragma once

// The album project commands of the main window, created once as its child: "新建相册",
// "打开相册…", "保存相册", "另存为…" and the recent albums, the title with the album's name and
// unsaved mark, the question to save changes before the album is replaced or the program ends,
// and the recovery offer when the main window opens after a run that did not end normally.

#include <QObject>
#include <functional>

#include "dialogs/file_chooser.h"
#include "project/project_session.h"

namespace vellumo {

class MainWindow;
class SystemSettings;

// Where an album never saved is first offered to be saved: the user's pictures folder, or the
// home folder when there is none.
QString albumsFolder();

class ProjectCommands : public QObject {
    Q_OBJECT
public:
    // Chooses the file to save to, with the file a dialog opens on; empty on cancel.
    using SaveChooser = std::function<QString(QWidget* parent, const QString& preset)>;

    ProjectCommands(MainWindow& window, Album& album, SystemSettings& settings);

    ProjectSession& session() { return session_; }
    // Tests put their own choosers in place.
    void setChoosers(FileChooser open, SaveChooser save);

    // True when the album may be replaced or the program may end: nothing unsaved, or saved
    // now, or the user chose not to save. False on "取消" and when the save did not happen.
    bool settleUnsavedChanges();
    void newAlbum();
    void openAlbum();
    // Opens path (a recent album), after the question.
    void openAlbum(const QString& path);
    // False when nothing was saved (cancelled, or the file could not be written: told).
    bool saveAlbum();
    bool saveAlbumAs();

    // The main window has opened: the autosave starts, and an album left by a
    // run that did not end normally is offered ("恢复上次未保存的相册?").
    void mainWindowOpened();
    void offerRecovery();
    // The program ends normally: the recovery file goes.
    void programEnded();

signals:
    // Another album took the place of the one shown: opened, new or recovered. (The summaries
    // follow the album by themselves; the photo pages start again from the first page.)
    void albumReplaced();

private:
    // Opens path; the unsaved changes have been settled.
    void openSettled(const QString& path);
    // The windows follow the replaced album: photo pages, title, and what the opening reported.
    void showReplacedAlbum(const ProjectLoad* load);
    void showTitle();
    void showRecent();

    MainWindow& window_;
    ProjectSession session_;
    FileChooser chooseOpen_;
    SaveChooser chooseSave_;
    bool opened_ = false;
};

}  // namespace vellumo
