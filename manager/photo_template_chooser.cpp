#include "manager/photo_template_chooser.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QTreeWidget>

#include "dialogs/dialog_texts.h"
#include "dialogs/message_dialog.h"
#include "manager/manager_texts.h"
#include "manager/template_preview_window.h"
#include "project/album.h"

namespace vellumo {

namespace {

constexpr int kMargin = 12;
constexpr int kCountTop = 45;
constexpr int kListTop = 70;
constexpr int kButtonWidth = 90;
constexpr int kButtonHeight = 28;
constexpr int kButtonTop = 222;

}  // namespace

PhotoTemplateChooser::PhotoTemplateChooser(const Album& album, TemplatePreviewWindow& preview,
                                           QWidget* parent)
    : SkinnedDialog(kSize, texts::kPhotoTemplatesTitle, parent), album_(album), preview_(preview) {
    using namespace texts;
    setObjectName(QStringLiteral("photoTemplateChooser"));
    countLine_ = new QLabel(this);
    countLine_->setObjectName(QStringLiteral("photoTemplatesCount"));
    countLine_->setGeometry(kMargin, kCountTop, kSize.width() - 2 * kMargin, 20);
    countLine_->setStyleSheet(QStringLiteral("color: white; background: transparent;"));

    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("photoTemplatesList"));
    list_->setGeometry(kMargin, kListTop, kSize.width() - 2 * kMargin, kButtonTop - kListTop - 10);
    list_->setHeaderLabels({kPhotoTemplatesColumnNumber, kPhotoTemplatesColumnPhotoName,
                            kPhotoTemplatesColumnTemplate, kPhotoTemplatesColumnPhotoPath,
                            kPhotoTemplatesColumnSlot});
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsMovable(false);
    for (const auto& [column, width] : {std::pair{0, 45}, {1, 100}, {2, 120}, {3, 250}, {4, 45}}) {
        list_->setColumnWidth(column, width);
    }

    const int left = kSize.width() - kMargin - 2 * kButtonWidth - 20;
    ok_ = new QPushButton(kOk, this);
    ok_->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
    cancel_ = new QPushButton(kPhotoTemplatesCancel, this);
    cancel_->setGeometry(left + kButtonWidth + 20, kButtonTop, kButtonWidth, kButtonHeight);
    for (QPushButton* button : {ok_, cancel_}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(false);
    }
    connect(ok_, &QPushButton::clicked, this, &PhotoTemplateChooser::confirmChoice);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void PhotoTemplateChooser::setPhoto(int photoRow, bool automatic) {
    photoRow_ = photoRow;
    automatic_ = automatic;
}

void PhotoTemplateChooser::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (event->spontaneous()) {
        return;
    }
    fill();
    if (automatic_ && !rows_.isEmpty()) {
        automatic_ = false;
        QTimer::singleShot(0, this, [this] {
            if (!isVisible() || list_->topLevelItemCount() == 0) {
                return;
            }
            list_->setCurrentItem(list_->topLevelItem(0));
            confirmChoice();
            closeSoon();
        });
    }
}

void PhotoTemplateChooser::fill() {
    rows_ = slotsHoldingPhoto(album_.templates(), photoRow_);
    countLine_->setText(texts::kPhotoTemplatesCount.arg(rows_.size()));
    list_->clear();
    for (int i = 0; i < rows_.size(); ++i) {
        const PhotoSlotUse& use = rows_[i];
        list_->addTopLevelItem(
            new QTreeWidgetItem(QStringList{QString::number(i + 1), use.photoName, use.templateName,
                                            use.photoPath, QString::number(use.slotRow)}));
    }
}

void PhotoTemplateChooser::closeSoon() {
    QTimer::singleShot(1, this, [this] {
        if (isVisible()) {
            QDialog::reject();
        }
    });
}

void PhotoTemplateChooser::confirmChoice() {
    QTreeWidgetItem* item = list_->currentItem();
    const int chosen = item ? list_->indexOfTopLevelItem(item) : -1;
    if (chosen < 0 || chosen >= rows_.size() || !item->isSelected()) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    const UsedTemplates& templates = album_.templates();
    const PhotoSlotUse& use = rows_[chosen];
    const int t = use.templateRow;
    // The album may have changed since the list was filled.
    if (t < 0 || t >= templates.size() || use.slotRow >= templates.slotTable().size()) {
        showMessage(texts::kNoTemplateSelected);
        return;
    }
    TemplatePreviewRequest request;
    request.mode = TemplatePreviewMode::SlotTemplate;
    request.row = t;
    request.info = *templates.at(t).info;
    request.slotRows = templates.slotRows(t);
    request.chosenSlotMark = templates.slot(use.slotRow).cropMark;
    if (templates.unmatchedCount(t) > 0) {
        // A template with empty slots is not previewed; the user may complete it instead.
        if (confirm(texts::kCompletePhotosCaption, texts::kCompletePhotosQuestion)) {
            emit completionRequested();
            closeSoon();
        }
        return;
    }
    const QString package = album_.catalogue().record(request.info.catalogueIndex).packagePath;
    openTemplatePreview(preview_, std::move(request), package, PreviewOpener::SlotTemplate);
}

}  // namespace vellumo
