#include "dialogs/insert_video_window.h"

#include <QPushButton>

#include "dialogs/dialog_texts.h"

namespace vellumo {

InsertVideoWindow::InsertVideoWindow(QWidget* parent)
    : SkinnedDialog(kSize, texts::kInsertVideoCaption, parent) {
    cancel_ = new QPushButton(texts::kCancel, this);
    cancel_->setGeometry(kSize.width() - 120, kSize.height() - kBottomHeight - 48, 96, 30);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

}  // namespace vellumo
