#pragma once

// The message that ends a complete production (806 wide, growing with its text): "制作完成",
// where the video file is, what the user should know about it, and three buttons: "打开文件夹"
// (the file's folder in the file manager), "播放" (the file in the desktop's player) and
// "确定" ("刻录到光盘" in place of "播放" for a disc image with a writer present). When the file
// manager or the player cannot be started, the message says so and where the file is, and the
// dialog stays open.

#include <QString>
#include <QStringList>
#include <functional>

#include "dialogs/message_dialog.h"

namespace vellumo {

class CompletionDialog : public MessageWindow {
    Q_OBJECT
public:
    static constexpr QSize kSize{806, 233};

    // Starts the desktop's program for a folder or a file; false when none could be started.
    using Opener = std::function<bool(const QString& path)>;

    explicit CompletionDialog(QWidget* parent = nullptr);

    // The file made and the notices that come with it.
    void setResult(const QString& outputFile, const QStringList& notices);
    // A disc image instead: its files, and "刻录到光盘" (which calls burn) when a writer is there;
    // without one the message says the image waits for a burner. Nothing to play.
    void setDiscImage(const QStringList& files, const QStringList& notices,
                      std::function<void()> burn);
    // Both default to the desktop's (QDesktopServices).
    void setOpeners(Opener folder, Opener file);

    QPushButton* openFolderButton() const { return openFolder_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* burnButton() const { return burn_; }

private:
    void openWith(const Opener& opener, const QString& path, const QString& failure);

    QString outputFile_;
    QString text_;
    Opener folderOpener_;
    Opener fileOpener_;
    std::function<void()> burnAction_;
    QPushButton* burn_ = nullptr;
    QPushButton* openFolder_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace vellumo
