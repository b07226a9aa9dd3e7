#include "app/save_question.h"

#include <QPointer>
#include <QPushButton>

#include "dialogs/dialog_texts.h"
#include "dialogs/message_dialog.h"
#include "project/project_texts.h"

namespace vellumo {

namespace {

constexpr int kTextTop = 72;
constexpr int kButtonWidth = 96;

}  // namespace

SaveQuestionDialog::SaveQuestionDialog(const QString& albumName, QWidget* parent)
    : SkinnedDialog(kSize, texts::kSaveQuestionCaption, parent) {
    message_ = new MessageArea(this);
    message_->setText(texts::kSaveQuestion.arg(albumName));
    const auto button = [this](const QString& caption, SaveAnswer answer, bool accent) {
        QPushButton* b = makeDialogButton(caption, this, accent, kButtonWidth);
        connect(b, &QPushButton::clicked, this, [this, answer] {
            answer_ = answer;
            answer == SaveAnswer::Cancel ? reject() : accept();
        });
        return b;
    };
    save_ = button(texts::kSaveAnswer, SaveAnswer::Save, true);
    save_->setDefault(true);
    dontSave_ = button(texts::kDontSaveAnswer, SaveAnswer::DontSave, false);
    cancel_ = button(texts::kCancel, SaveAnswer::Cancel, false);
    layoutMessageWindow(*this, kSize, *message_, kTextTop, {save_, dontSave_, cancel_});
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
