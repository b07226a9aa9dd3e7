#include "app/project_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPointer>
#include <QStandardPaths>
#include <QTimer>

#include "app/main_window.h"
#include "app/save_question.h"
#include "dialogs/message_dialog.h"
#include "project/project_texts.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

QString chooseSaveFile(QWidget* parent, const QString& preset) {
    QPointer<QFileDialog> dialog = new QFileDialog(parent, texts::kSaveAlbumAsCaption);
    localiseDates(dialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setNameFilter(anyCaseNameFilter(texts::kAlbumFileFilter));
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    // The question comes once the extension is on the name (ProjectCommands::saveAlbumAs).
    dialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (!preset.isEmpty()) {
        dialog->setDirectory(QFileInfo(preset).absolutePath());
        dialog->selectFile(preset);
    }
    const int result = dialog->exec();
    QString chosen;
    if (dialog && result == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        chosen = dialog->selectedFiles().constFirst();
    }
    delete dialog.data();
    return chosen;
}

}  // namespace

QString albumsFolder() {
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    return !pictures.isEmpty() && QFileInfo(pictures).isDir() ? pictures : QDir::homePath();
}

ProjectCommands::ProjectCommands(MainWindow& window, Album& album, SystemSettings& settings)
    : QObject(&window),
      window_(window),
      session_(album, &settings, this),
      chooseOpen_(chooseFiles),
      chooseSave_(chooseSaveFile) {
    window.setCommandHandler(Command::NewAlbum, [this] { newAlbum(); });
    window.setCommandHandler(Command::OpenAlbum, [this] { openAlbum(); });
    window.setCommandHandler(Command::SaveAlbum, [this] { saveAlbum(); });
    window.setCommandHandler(Command::SaveAlbumAs, [this] { saveAlbumAs(); });
    connect(&session_, &ProjectSession::stateChanged, this, &ProjectCommands::showTitle);
    connect(&session_, &ProjectSession::recentChanged, this, &ProjectCommands::showRecent);
    connect(&window, &MainWindow::opened, this, &ProjectCommands::mainWindowOpened);
    connect(&session_, &ProjectSession::autosaveFailed, this,
            [this](const QString& file) { window_.showStatus(texts::kAutosaveFailed.arg(file)); });
    connect(&session_, &ProjectSession::autosaveRestored, this,
            [this] { window_.showStatus(QString()); });
    // The window keeps painting while music of an opened album is converted again; nothing the
    // user does is taken until the album is in place.
    session_.setConversionPump(
        [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
    showTitle();
    showRecent();
}

void ProjectCommands::setChoosers(FileChooser open, SaveChooser save) {
    chooseOpen_ = std::move(open);
    chooseSave_ = std::move(save);
}

void ProjectCommands::showTitle() {
    window_.showAlbumTitle(session_.title(), session_.markedName());
}

void ProjectCommands::showRecent() {
    window_.setRecentAlbums(session_.recent().list(),
                            [this](const QString& path) { openAlbum(path); });
}

bool ProjectCommands::settleUnsavedChanges() {
    if (!session_.isModified()) {
        return true;
    }
    QPointer<SaveQuestionDialog> question = new SaveQuestionDialog(session_.albumName(), &window_);
    const SaveAnswer answer = question->ask();
    delete question.data();
    switch (answer) {
        case SaveAnswer::Save:
            return saveAlbum();
        case SaveAnswer::DontSave:
            return true;
        case SaveAnswer::Cancel:
            break;
    }
    return false;
}

void ProjectCommands::newAlbum() {
    if (!settleUnsavedChanges()) {
        return;
    }
    session_.startNew();
    showReplacedAlbum(nullptr);
}

void ProjectCommands::openAlbum() {
    FileRequest request;
    request.caption = texts::kOpenAlbumCaption;
    request.filter = texts::kAlbumFileFilter;
    request.several = false;
    request.preset = session_.path();
    // Asked before the file is chosen, as the user expects of "打开".
    if (!settleUnsavedChanges()) {
        return;
    }
    const QStringList chosen = chooseOpen_ ? chooseOpen_(&window_, request) : QStringList();
    if (!chosen.isEmpty()) {
        openSettled(chosen.constFirst());
    }
}

void ProjectCommands::openAlbum(const QString& path) {
    if (settleUnsavedChanges()) {
        openSettled(path);
    }
}

void ProjectCommands::openSettled(const QString& path) {
    ProjectLoad load;
    try {
        load = session_.open(path);
    } catch (const Error& error) {
        showMessage(error.message());
        return;
    }
    showReplacedAlbum(&load);
}

bool ProjectCommands::saveAlbum() {
    if (session_.path().isEmpty()) {
        return saveAlbumAs();
    }
    try {
        session_.save(session_.path());
    } catch (const Error& error) {
        showMessage(error.message());
        return false;
    }
    return true;
}

bool ProjectCommands::saveAlbumAs() {
    const QString preset = session_.path().isEmpty()
                               ? albumsFolder() + u'/' + session_.albumName() + kProjectExtension
                               : session_.path();
    QString path = chooseSave_ ? chooseSave_(&window_, preset) : QString();
    if (path.isEmpty()) {
        return false;
    }
    if (!path.endsWith(kProjectExtension, Qt::CaseInsensitive)) {
        path += kProjectExtension;
    }
    // Asked here, of the name that is written: the dialog saw the name without its extension.
    if (QFileInfo::exists(path) &&
        !confirm(texts::kSaveAlbumAsCaption, texts::kReplaceAlbumFile.arg(path))) {
        return false;
    }
    try {
        session_.save(path);
    } catch (const Error& error) {
        showMessage(error.message());
        return false;
    }
    return true;
}

void ProjectCommands::mainWindowOpened() {
    opened_ = true;
    session_.start();
    if (ProjectSession::hasRecovery()) {
        // After the window has finished opening, so that the question stands over it.
        QTimer::singleShot(0, this, &ProjectCommands::offerRecovery);
    }
}

void ProjectCommands::offerRecovery() {
    if (!ProjectSession::hasRecovery()) {
        return;
    }
    if (!confirm(texts::kRecoveryCaption, texts::kRecoveryQuestion)) {
        session_.removeRecovery();
        return;
    }
    ProjectLoad load;
    try {
        load = session_.restoreRecovery();
    } catch (const Error& error) {
        // A recovery file that cannot be read never will be: it is not offered again.
        session_.removeRecovery();
        showMessage(error.message());
        return;
    }
    showReplacedAlbum(&load);
}

void ProjectCommands::programEnded() {
    session_.stop();
    // Only the run whose window opened owns the recovery file: a second instance that ends at
    // once leaves the first one's alone.
    if (opened_) {
        session_.removeRecovery();
    }
}

void ProjectCommands::showReplacedAlbum(const ProjectLoad* load) {
    emit albumReplaced();
    showTitle();
    if (load && !load->report().isEmpty()) {
        showMessage(load->report());
    }
}

}  // namespace vellumo
