#pragma once

// The music and lyrics list windows' shared part: files added one by one through the progress
// window (the first dialog of the run offering the sample file) and the button that opens the
// music preview in the window's mode.

#include "lists/record_list_window.h"
#include "preview/music_preview_window.h"

namespace vellumo {

class FileListWindow : public RecordListWindow {
    Q_OBJECT
public:
    QPushButton* previewButton() const { return preview_; }
    void openPreview();

protected:
    struct FileKind {
        QString filter;  // of the add dialog
        QString sample;  // offered by the first add dialog of the run; below the program folder
        QString progressTitle;  // of the progress window while the files go in
        MusicPreviewMode previewMode;
    };

    FileListWindow(QSize size, const QString& caption, std::unique_ptr<RecordRows> rows,
                   RecordTexts texts, FileKind kind, MusicPreviewWindow& preview, QWidget* parent);

    void makePreviewButton(const QString& caption);
    // Asks for files and adds each with addOne, which says what went wrong with a file (empty
    // when nothing did); the user is told what went wrong, once at the end.
    void addFiles(const std::function<QString(const QString& file)>& addOne);

private:
    FileKind kind_;
    MusicPreviewWindow& previewWindow_;
    QPushButton* preview_ = nullptr;
};

}  // namespace vellumo
