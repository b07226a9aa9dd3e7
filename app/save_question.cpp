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
    : MessageWindow(kSize, texts::kSaveQuestionCaption, kTextTop, parent) {
    setMessage(texts::kSaveQuestion.arg(albumName));
    const auto button = [this](const QString& caption, SaveAnswer answer, bool accent) {
        QPushButton* b = addButton(caption, accent, kButtonWidth);
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
}

SaveAnswer SaveQuestionDialog::ask() {
    answer_ = SaveAnswer::Cancel;
    QPointer<SaveQuestionDialog> guard(this);
    exec();
    return guard ? answer_ : SaveAnswer::Cancel;
}

}  // namespace vellumo
