#include "lists/file_list_window.h"

#include <QPushButton>

#include "dialogs/message_dialog.h"
#include "workspace/program_folder.h"

namespace vellumo {

FileListWindow::FileListWindow(QSize size, const QString& caption, std::unique_ptr<RecordRows> rows,
                               RecordTexts texts, FileKind kind, MusicPreviewWindow& preview,
                               QWidget* parent)
    : RecordListWindow(size, caption, std::move(rows), std::move(texts), parent),
      kind_(std::move(kind)),
      previewWindow_(preview) {}

void FileListWindow::makePreviewButton(const QString& caption) {
    preview_ = makeButton(caption);
    connect(preview_, &QPushButton::clicked, this, &FileListWindow::openPreview);
}

void FileListWindow::openPreview() {
    previewWindow_.openInMode(kind_.previewMode);
}

void FileListWindow::addFiles(const std::function<QString(const QString& file)>& addOne) {
    const QStringList files = chooseFilesToAdd(kind_.filter, true, dataPath(kind_.sample));
    if (files.isEmpty()) {
        return;
    }
    if (const QStringList problems = addInProgress(kind_.progressTitle, files, addOne);
        !problems.isEmpty()) {
        showMessage(problems.join(u'\n'));
    }
}

}  // namespace vellumo
