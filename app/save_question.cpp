#include "app/save_question.h"

#include <QPointer>
#include <QPushButton>

#include "dialogs/dialog_texts.h"
#include "dialogs/message_dialog.h"
#include "project/project_texts.h"

namespace vellumo {

namespace {

constexpr int kSideMargin = 20;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 24;
constexpr int kButtonBottomGap = 22;

}  // namespace

SaveQuestionDialog::SaveQuestionDialog(const QString& albumName, QWidget* parent)
    : SkinnedDialog(kSize, texts::kSaveQuestionCaption, parent) {
    message_ = new MessageArea(this);
    message_->setText(texts::kSaveQuestion.arg(albumName));
    const int width = kSize.width() - 2 * kSideMargin;
    const int textHeight = message_->neededHeight(width);
    const int height = kSize.height() + textHeight - MessageArea::kLineHeight;
    setClientSize(QSize(kSize.width(), height));
    message_->setGeometry(kSideMargin, 72, width, textHeight);

    const int top = height - kBottomHeight - kButtonBottomGap - kButtonHeight;
    int left = (kSize.width() - 3 * kButtonWidth - 2 * kButtonGap) / 2;
    const auto button = [this, top, &left](const QString& caption, SaveAnswer answer) {
        auto* b = new QPushButton(caption, this);
        b->setGeometry(left, top, kButtonWidth, kButtonHeight);
        left += kButtonWidth + kButtonGap;
        connect(b, &QPushButton::clicked, this, [this, answer] {
            answer_ = answer;
            answer == SaveAnswer::Cancel ? reject() : accept();
        });
        return b;
    };
    save_ = button(texts::kSaveAnswer, SaveAnswer::Save);
    save_->setProperty("accent", true);
    save_->setDefault(true);
    dontSave_ = button(texts::kDontSaveAnswer, SaveAnswer::DontSave);
    cancel_ = button(texts::kCancel, SaveAnswer::Cancel);
}

QString SaveQuestionDialog::message() const {
    return message_->text();
}

SaveAnswer SaveQuestionDialog::ask() {
    answer_ = SaveAnswer::Cancel;
    QPointer<SaveQuestionDialog> guard(this);
    exec();
    return guard ? answer_ : SaveAnswer::Cancel;
}

}  // namespace vellumo
