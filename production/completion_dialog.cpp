#include "production/completion_dialog.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

#include "dialogs/dialog_texts.h"
#include "dialogs/message_dialog.h"
#include "production/production_texts.h"

namespace vellumo {

namespace {

constexpr int kTextTop = 66;
constexpr int kButtonWidth = 120;

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

CompletionDialog::CompletionDialog(QWidget* parent)
    : MessageWindow(kSize, texts::kCompletionCaption, kTextTop, parent),
      folderOpener_(openWithDesktop),
      fileOpener_(openWithDesktop) {
    burn_ = addButton(texts::kBurnToDisc, false, kButtonWidth);
    burn_->hide();
    openFolder_ = addButton(texts::kOpenFolder, false, kButtonWidth);
    play_ = addButton(texts::kPlayAlbum, false, kButtonWidth);
    ok_ = addButton(texts::kOk, true, kButtonWidth);
    connect(openFolder_, &QPushButton::clicked, this, [this] {
        openWith(folderOpener_, QFileInfo(outputFile_).absolutePath(), texts::kCannotOpenFolder);
    });
    connect(play_, &QPushButton::clicked, this,
            [this] { openWith(fileOpener_, outputFile_, texts::kCannotPlay); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(burn_, &QPushButton::clicked, this, [this] {
        // The burning tells its own end; the dialog closes first.
        const std::function<void()> burn = burnAction_;
        accept();
        if (burn) {
            burn();
        }
    });
}

void CompletionDialog::setDiscImage(const QStringList& files, const QStringList& notices,
                                    std::function<void()> burn) {
    outputFile_ = files.value(0);
    burnAction_ = std::move(burn);
    QStringList shown;
    for (const QString& file : files) {
        shown << QFileInfo(file).absoluteFilePath();
    }
    text_ = texts::kDiscImageMessage.arg(shown.join(u'\n'));
    if (!burnAction_) {
        text_ += QStringLiteral("\n") + texts::kDiscImageNoWriter;
    }
    if (!notices.isEmpty()) {
        text_ += QStringLiteral("\n\n") + notices.join(u'\n');
    }
    play_->hide();
    burn_->setVisible(static_cast<bool>(burnAction_));
    setMessage(text_);
}

void CompletionDialog::setResult(const QString& outputFile, const QStringList& notices) {
    outputFile_ = outputFile;
    text_ = texts::kCompletionMessage.arg(QFileInfo(outputFile).absoluteFilePath());
    if (!notices.isEmpty()) {
        text_ += QStringLiteral("\n\n") + notices.join(u'\n');
    }
    setMessage(text_);
}

void CompletionDialog::setOpeners(Opener folder, Opener file) {
    folderOpener_ = folder ? std::move(folder) : Opener(openWithDesktop);
    fileOpener_ = file ? std::move(file) : Opener(openWithDesktop);
}

void CompletionDialog::openWith(const Opener& opener, const QString& path, const QString& failure) {
    if (opener(path)) {
        accept();
        return;
    }
    // Nothing could be started: the user is told where to find the file, and the dialog stays.
    setMessage(text_ + QStringLiteral("\n\n") +
               failure.arg(QFileInfo(outputFile_).absoluteFilePath()));
}

}  // namespace vellumo
