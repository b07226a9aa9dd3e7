#pragma once

// The question before unsaved changes would be lost (a new album, another album opened, the
// program's end): "保存", "不保存" or "取消". The close label is "取消".

#include "dialogs/skinned_dialog.h"

class QPushButton;

namespace vellumo {

class MessageArea;

enum class SaveAnswer { Save, DontSave, Cancel };

class SaveQuestionDialog : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{520, 190};

    // The question names the album.
    explicit SaveQuestionDialog(const QString& albumName, QWidget* parent = nullptr);

    QString message() const;
    QPushButton* saveButton() const { return save_; }
    QPushButton* dontSaveButton() const { return dontSave_; }
    QPushButton* cancelButton() const { return cancel_; }

    // Shows the dialog modally and returns the answer.
    SaveAnswer ask();

private:
    MessageArea* message_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* dontSave_ = nullptr;
    QPushButton* cancel_ = nullptr;
    SaveAnswer answer_ = SaveAnswer::Cancel;
};

}  // namespace vellumo
