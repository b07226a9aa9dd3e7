#pragma once

// The photo template chooser ("预览此张照片所使用的模板效果"): the slots in which one photo is
// used, one row each; "确定" previews the template of the chosen slot in the template preview
// window, or offers to complete it when it still has empty slots. Opened for a photo that is in
// exactly one slot of a complete template, it previews at once and closes itself afterwards.

#include <QVector>

#include "dialogs/skinned_dialog.h"
#include "manager/template_preview.h"

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vellumo {

class Album;
class TemplatePreviewWindow;

class PhotoTemplateChooser : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{599, 263};

    PhotoTemplateChooser(const Album& album, TemplatePreviewWindow& preview,
                         QWidget* parent = nullptr);

    // The photo (its photo-list row) the next showing is for; with automatic the first row is
    // previewed at once and the chooser closes afterwards.
    void setPhoto(int photoRow, bool automatic);
    int photoRow() const { return photoRow_; }
    const QVector<PhotoSlotUse>& rows() const { return rows_; }

    // "确定".
    void confirmChoice();

    QLabel* countLine() const { return countLine_; }
    QTreeWidget* list() const { return list_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

signals:
    // The user wants to complete the chosen template's photos (in the template manager).
    void completionRequested();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void fill();
    // Closes the chooser on its next timer tick.
    void closeSoon();

    const Album& album_;
    TemplatePreviewWindow& preview_;
    int photoRow_ = -1;
    bool automatic_ = false;
    QVector<PhotoSlotUse> rows_;

    QLabel* countLine_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace vellumo
