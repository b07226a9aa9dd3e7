#include "production/completion_dialog.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QPushButton>
#include <QUrl>

#include "dialogs/message_dialog.h"
#include "production/production_texts.h"

namespace vellumo {

namespace {

constexpr int kSideMargin = 20;
constexpr int kTextTop = 66;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 24;
constexpr int kButtonBottomGap = 22;

bool openWithDesktop(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

QPushButton* makeButton(const QString& caption, QWidget* parent, bool accent) {
    auto* button = new QPushButton(caption, parent);
    button->setFixedSize(kButtonWidth, kButtonHeight);
    button->setProperty("accent", accent);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

CompletionDialog::CompletionDialog(QWidget* parent)
    : SkinnedDialog(kSize, texts::kCompletionCaption, parent),
      folderOpener_(openWithDesktop),
      fileOpener_(openWithDesktop) {
    message_ = new MessageArea(this);
    openFolder_ = makeButton(texts::kOpenFolder, this, false);
    play_ = makeButton(texts::kPlayAlbum, this, false);
    ok_ = makeButton(texts::kOk, this, true);
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
    const int width = kSize.width() - 2 * kSideMargin;
    const int textHeight = message_->neededHeight(width);
    const int height = kSize.height() + textHeight - MessageArea::kLineHeight;
    setClientSize(QSize(kSize.width(), height));
    message_->setGeometry(kSideMargin, kTextTop, width, textHeight);
    const int top = height - kBottomHeight - kButtonBottomGap - kButtonHeight;
    const int left = (kSize.width() - 3 * kButtonWidth - 2 * kButtonGap) / 2;
    openFolder_->move(left, top);
    play_->move(left + kButtonWidth + kButtonGap, top);
    ok_->move(left + 2 * (kButtonWidth + kButtonGap), top);
}

}  // namespace vellumo
