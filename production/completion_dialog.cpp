#include "production/completion_dialog.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

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
    : SkinnedDialog(kSize, texts::kCompletionCaption, parent),
      folderOpener_(openWithDesktop),
      fileOpener_(openWithDesktop) {
    message_ = new MessageArea(this);
    openFolder_ = makeDialogButton(texts::kOpenFolder, this, false, kButtonWidth);
    play_ = makeDialogButton(texts::kPlayAlbum, this, false, kButtonWidth);
    ok_ = makeDialogButton(texts::kOk, this, true, kButtonWidth);
    connect(openFolder_, &QPushButton::clicked, this, [this] {
        openWith(folderOpener_, QFileInfo(outputFile_).absolutePath(), texts::kCannotOpenFolder);
    });
    connect(play_, &QPushButton::clicked, this,
            [this] { openWith(fileOpener_, outputFile_, texts::kCannotPlay); });
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    relayout();
}

void CompletionDialog::setResult(const QString& outputFile, const QStringList& notices) {
    outputFile_ = outputFile;
    text_ = texts::kCompletionMessage.arg(QFileInfo(outputFile).absoluteFilePath());
    if (!notices.isEmpty()) {
        text_ += QStringLiteral("\n\n") + notices.join(u'\n');
    }
    message_->setText(text_);
    relayout();
}

void CompletionDialog::setOpeners(Opener folder, Opener file) {
    folderOpener_ = folder ? std::move(folder) : Opener(openWithDesktop);
    fileOpener_ = file ? std::move(file) : Opener(openWithDesktop);
}

QString CompletionDialog::message() const {
    return message_->text();
}

void CompletionDialog::openWith(const Opener& opener, const QString& path, const QString& failure) {
    if (opener(path)) {
        accept();
        return;
    }
    // Nothing could be started: the user is told where to find the file, and the dialog stays.
    message_->setText(text_ + QStringLiteral("\n\n") +
                      failure.arg(QFileInfo(outputFile_).absoluteFilePath()));
    relayout();
}

void CompletionDialog::relayout() {
    layoutMessageWindow(*this, kSize, *message_, kTextTop, {openFolder_, play_, ok_});
}

}  // namespace vellumo
