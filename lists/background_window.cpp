#include "lists/background_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include "album/photo_list_texts.h"
#include "assignment/photo_adding.h"
#include "dialogs/message_dialog.h"
#include "project/album.h"

namespace vellumo {

namespace {

constexpr int kMargin = 15;
constexpr int kListTop = 50;
constexpr int kListWidth = 700;
constexpr int kListHeight = 384;
constexpr int kSideLeft = kMargin + kListWidth + 15;
constexpr int kButtonWidth = 120;
constexpr int kButtonHeight = 30;

QString number(int value) {
    return QString::number(value);
}

}  // namespace

BackgroundWindow::BackgroundWindow(Album& album, QWidget* parent)
    : SkinnedDialog(kSize, texts::kBackgroundCaption, parent), album_(album) {
    using namespace texts;
    list_ = new QTreeWidget(this);
    list_->setGeometry(kMargin, kListTop, kListWidth, kListHeight);
    list_->setHeaderLabels({kBackgroundColumnNumber, kBackgroundColumnName, kBackgroundColumnKind,
                            kBackgroundColumnClass, kBackgroundColumnPicture,
                            kBackgroundColumnFormat, kBackgroundColumnWidth,
                            kBackgroundColumnHeight, kBackgroundColumnLocation});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsMovable(false);
    for (const auto& [column, width] : {std::pair{0, 40},
                                        {1, 96},
                                        {2, 66},
                                        {3, 66},
                                        {4, 96},
                                        {5, 60},
                                        {6, 48},
                                        {7, 48},
                                        {8, 200}}) {
        list_->setColumnWidth(column, width);
    }
    connect(list_, &QTreeWidget::itemClicked, this, [this] { showSelected(); });

    preview_ = new QLabel(this);
    preview_->setObjectName(QStringLiteral("backgroundPreview"));
    preview_->setGeometry(
        kSideLeft + (kSize.width() - kMargin - kSideLeft - kPreviewBox.width()) / 2, kListTop,
        kPreviewBox.width(), kPreviewBox.height());
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setStyleSheet(QStringLiteral("background: #2a2d33; border: 1px solid #4a4f58;"));

    info_ =
        new FieldPanel({kBackgroundFieldNumber, kBackgroundFieldName, kBackgroundFieldFormat,
                        kBackgroundFieldWidth, kBackgroundFieldHeight, kBackgroundFieldLocation},
                       64, this);
    info_->setGeometry(kSideLeft, kListTop + kPreviewBox.height() + 20,
                       kSize.width() - kMargin - kSideLeft, info_->height());
    for (int i = 0; i < 6; ++i) {
        info_->field(i)->setGeometry(66, i * 30, info_->width() - 66, 24);
    }

    const int buttonsTop = kListTop + kListHeight + 12;
    change_ = new QPushButton(kChangeBackgroundButton, this);
    change_->setGeometry(kMargin, buttonsTop, kButtonWidth, kButtonHeight);
    change_->setProperty("accent", true);
    return_ = new QPushButton(kBackgroundClose, this);
    return_->setGeometry(kMargin + kButtonWidth + 12, buttonsTop, 100, kButtonHeight);
    for (QPushButton* button : {change_, return_}) {
        button->setCursor(Qt::PointingHandCursor);
    }
    connect(change_, &QPushButton::clicked, this, &BackgroundWindow::changeSelected);
    connect(return_, &QPushButton::clicked, this, &QDialog::accept);
}

void BackgroundWindow::showEvent(QShowEvent* event) {
    refreshList();
    clearPreview();
    SkinnedDialog::showEvent(event);
}

void BackgroundWindow::refreshList() {
    list_->clear();
    const UsedTemplates& templates = album_.templates();
    const QVector<BackgroundRow>& rows = album_.backgrounds().rows();
    QList<QTreeWidgetItem*> items;
    for (int t = 0; t < rows.size() && t < templates.size(); ++t) {
        const UsedTemplate& u = templates.at(t);
        const BackgroundRow& b = rows.at(t);
        items << new QTreeWidgetItem(
            QStringList{number(t + 1), u.name, kindText(u.kind), classText(u.templateClass),
                        b.pictureName, b.format, b.hasPicture() ? number(b.width) : QString(),
                        b.hasPicture() ? number(b.height) : QString(), b.location});
    }
    list_->addTopLevelItems(items);
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
}

void BackgroundWindow::clearPreview() {
    preview_->clear();
    preview_->setToolTip(QString());
    info_->clear();
}

void BackgroundWindow::showSelected() {
    clearPreview();
    const int k = selectedListRow(list_);
    if (k < 0 || k >= album_.backgrounds().rows().size()) {
        return;
    }
    const BackgroundRow& row = album_.backgrounds().row(k);
    if (!row.hasPicture()) {
        showMessage(texts::kRowHasNoBackground);
        return;
    }
    canvas_.hideBadge();
    canvas_.clearPicture();
    canvas_.apply(
        fitContainWithFrame(kPreviewBox.width(), kPreviewBox.height(), row.width, row.height));
    canvas_.loadPhoto(row.location);
    preview_->setPixmap(QPixmap::fromImage(canvas_.capture()));
    preview_->setToolTip(texts::kBackgroundPreviewHint.arg(k + 1).arg(row.pictureName));
    info_->showValues({number(k + 1), row.pictureName, row.format, number(row.width),
                       number(row.height), row.location});
}

void BackgroundWindow::changeSelected() {
    if (album_.backgrounds().rows().isEmpty()) {
        showMessage(texts::kNoBackgrounds);
        return;
    }
    const int k = selectedListRow(list_);
    if (k < 0 || k >= album_.backgrounds().rows().size()) {
        showMessage(texts::kNoBackgroundSelected);
        return;
    }
    const QStringList files = chooser_(this, texts::kBackgroundCaption, false);
    if (files.isEmpty()) {
        return;
    }
    const QString& file = files.first();
    // Measured as photos are: the shown picture's shape decides, so a file whose EXIF turns it
    // upright as portrait is refused, and the size recorded is the upright one.
    const std::optional<PhotoRecord> picture = measureShownPhoto(file);
    if (!picture) {
        showMessage(texts::kBackgroundUnreadable.arg(file));
        return;
    }
    if (!picture->isLandscape()) {
        showMessage(texts::kBackgroundNotLandscape);
        return;
    }
    album_.backgrounds().setRow(k, backgroundFromPhoto(*picture));
    clearPreview();
    refreshList();
    list_->setCurrentItem(list_->topLevelItem(k));
    emit albumChanged();
}

}  // namespace vellumo
