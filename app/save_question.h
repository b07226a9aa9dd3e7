#pragma once

// The question before unsaved changes would be lost (a new album, another album opened, the
// program's end): "保存", "不保存" or "取消". The close label is "取消".

#include "dialogs/message_dialog.h"

namespace vellumo {

enum class SaveAnswer { Save, DontSave, Cancel };

class SaveQuestionDialog : public MessageWindow {
    Q_OBJECT
public:
    static constexpr QSize kSize{520, 190};

    // The question names the album.
    explicit SaveQuestionDialog(const QString& albumName, QWidget* parent = nullptr);

    QPushButton* saveButton() const { return save_; }
    QPushButton* dontSaveButton() const { return dontSave_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Shows the dialog modally and returns the answer.
    SaveAnswer ask();

private:
    QPushButton* save_ = nullptr;
    QPushButton* dontSave_ = nullptr;
    QPushButton* cancel_ = nullptr;
    SaveAnswer answer_ = SaveAnswer::Cancel;
};

}  // namespace vellumo
