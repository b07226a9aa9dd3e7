#include "lists/record_list_window.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "dialogs/record_widgets.h"
#include "photo/fitting_canvas.h"
#include "project/album.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kMargin = 15;
constexpr int kListTop = 50;
constexpr int kButtonHeight = 30;
constexpr int kRowButtonGap = 12;

// Below the list: the list's height, where the panel starts, the two columns of buttons.
constexpr int kListHeightAbovePanel = 232;
constexpr int kPanelTop = kListTop + kListHeightAbovePanel + 8;
constexpr int kButtonsLeft = 592;
constexpr int kGridButtonWidth = 92;
constexpr int kGridButtonGap = 10;

}  // namespace

RecordListWindow::RecordListWindow(QSize size, const QString& caption,
                                   std::unique_ptr<RecordRows> rows, RecordTexts texts,
                                   QWidget* parent)
    : SkinnedDialog(size, caption, parent), rows_(std::move(rows)), texts_(std::move(texts)) {}

RecordListWindow::~RecordListWindow() = default;

void RecordListWindow::buildBesidePreview(const BesidePreview& layout, const QStringList& columns,
                                          const QStringList& fields) {
    layout_ = Layout::BesidePreview;
    list_ = makeRecordTree(this, columns);
    list_->setGeometry(kMargin, kListTop, layout.list.width(), layout.list.height());
    list_->header()->setStretchLastSection(layout.stretchLastColumn);
    for (int column = 0; column < layout.columnWidths.size(); ++column) {
        list_->setColumnWidth(column, layout.columnWidths[column]);
    }
    connect(list_, &QTreeWidget::itemClicked, this, [this] { showSelected(); });

    const int sideLeft = kMargin + layout.list.width() + 15;
    const int sideWidth = width() - kMargin - sideLeft;
    previewBox_ = layout.previewBox;
    canvas_ = std::make_unique<FittingCanvas>();
    preview_ = new QLabel(this);
    preview_->setObjectName(layout.previewName);
    preview_->setGeometry(sideLeft + (sideWidth - previewBox_.width()) / 2, kListTop,
                          previewBox_.width(), previewBox_.height());
    preview_->setAlignment(Qt::AlignCenter);
    preview_->setStyleSheet(QStringLiteral("background: #2a2d33; border: 1px solid #4a4f58;"));

    const int labelWidth = 64;
    info_ = new InfoPanel(
        fields, InfoPanelLayout{labelWidth, labelWidth + 2, sideWidth - labelWidth - 2, 6, {}},
        this);
    info_->setGeometry(sideLeft, kListTop + previewBox_.height() + 20, sideWidth,
                       info_->contentHeight());

    buttonsTop_ = kListTop + layout.list.height() + 12;
    nextButtonLeft_ = kMargin;
}

void RecordListWindow::buildBelowList(const QStringList& columns, const QStringList& fields) {
    layout_ = Layout::BelowList;
    list_ = makeRecordTree(this, columns);
    list_->setGeometry(kMargin, kListTop, width() - 2 * kMargin, kListHeightAbovePanel);
    list_->header()->setStretchLastSection(true);
    list_->setColumnWidth(0, 50);
    list_->setColumnWidth(1, 200);
    for (int column = 2; column < columns.size() - 1; ++column) {
        list_->setColumnWidth(column, 80);
    }
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &RecordListWindow::showSelected);

    auto* frame = new QGroupBox(this);
    frame->setGeometry(kMargin, kPanelTop, kButtonsLeft - 2 * kMargin,
                       height() - kPanelTop - kBottomHeight - 10);
    auto* inFrame = new QVBoxLayout(frame);
    inFrame->setContentsMargins(0, 0, 0, 0);
    info_ = new InfoPanel(
        fields, InfoPanelLayout{66, 70, kButtonsLeft - 2 * kMargin - 96, 4, {10, 4, 10, 4}}, frame);
    inFrame->addWidget(info_);
}

QPushButton* RecordListWindow::makeButton(const QString& caption, int width) {
    auto* button = new QPushButton(caption, this);
    if (layout_ == Layout::BesidePreview) {
        button->setGeometry(nextButtonLeft_, buttonsTop_, width, kButtonHeight);
        nextButtonLeft_ += width + kRowButtonGap;
    } else {
        const int column = buttonCount_ % 2;
        const int row = buttonCount_ / 2;
        button->setGeometry(kButtonsLeft + column * (kGridButtonWidth + kGridButtonGap),
                            kPanelTop + 12 + row * (kButtonHeight + kGridButtonGap),
                            kGridButtonWidth, kButtonHeight);
    }
    button->setCursor(Qt::PointingHandCursor);
    ++buttonCount_;
    return button;
}

void RecordListWindow::makeRecordButtons(const QString& addCaption, const QString& deleteCaption,
                                         const QString& deleteAllCaption,
                                         std::function<void()> add) {
    add_ = makeButton(addCaption);
    add_->setProperty("accent", true);
    delete_ = makeButton(deleteCaption);
    deleteAll_ = makeButton(deleteAllCaption);
    connect(add_, &QPushButton::clicked, this, std::move(add));
    connect(delete_, &QPushButton::clicked, this, &RecordListWindow::deleteSelected);
    connect(deleteAll_, &QPushButton::clicked, this, &RecordListWindow::deleteAll);
}

void RecordListWindow::makeReturnButton(const QString& caption, bool accepts) {
    return_ = makeButton(caption);
    connect(return_, &QPushButton::clicked, this, accepts ? &QDialog::accept : &QDialog::reject);
}

QString RecordListWindow::firstOpenFlag() const {
    return dialogOpened_ ? QStringLiteral("1") : QStringLiteral("0");
}

void RecordListWindow::refreshList() {
    const QSignalBlocker block(list_);
    list_->clear();
    QList<QTreeWidgetItem*> items;
    for (int row = 0; row < rows_->count(); ++row) {
        items << new QTreeWidgetItem(rows_->cells(row));
    }
    list_->addTopLevelItems(items);
    list_->clearSelection();
    list_->setCurrentItem(nullptr);
    clearPreview();
}

void RecordListWindow::clearPreview() {
    if (preview_) {
        preview_->clear();
        preview_->setToolTip(QString());
    }
    info_->clear();
}

int RecordListWindow::selectedRow() const {
    const int row = selectedTreeRow(list_);
    return row < rows_->count() ? row : -1;
}

void RecordListWindow::showSelected() {
    clearPreview();
    const int row = selectedRow();
    if (row < 0 || !showRecord(row)) {
        return;
    }
    info_->showValues(rows_->fields(row));
}

bool RecordListWindow::showRecord(int /*row*/) {
    return true;
}

void RecordListWindow::showPicture(QSize size, const QString& location, const QString& hint) {
    canvas_->hideBadge();
    canvas_->clearPicture();
    canvas_->apply(fitContainWithFrame(previewBox_.width(), previewBox_.height(), size.width(),
                                       size.height()));
    canvas_->loadPhoto(location);
    preview_->setPixmap(QPixmap::fromImage(canvas_->capture()));
    preview_->setToolTip(hint);
}

int RecordListWindow::selectedRecord() const {
    if (rows_->count() == 0) {
        showMessage(texts_.empty);
        return -1;
    }
    const int row = selectedRow();
    if (row < 0) {
        showMessage(texts_.noneSelected);
    }
    return row;
}

QString RecordListWindow::deleteQuestion(int /*row*/) const {
    return texts_.deleteQuestion;
}

void RecordListWindow::deleteSelected() {
    if (rows_->count() == 0) {
        showMessage(texts_.empty);
        return;
    }
    if (!confirm(texts_.deleteCaption, deleteQuestion(selectedRow()))) {
        return;
    }
    const int row = selectedRow();
    if (row < 0) {
        showMessage(texts_.noneSelected);
        return;
    }
    rows_->remove(row);
    recordsRemoved();
    showMessage(texts_.deleted);
    refreshList();
}

void RecordListWindow::deleteAll() {
    if (rows_->count() == 0) {
        showMessage(texts_.empty);
        return;
    }
    if (!confirm(texts_.deleteCaption, texts_.deleteAllQuestion)) {
        return;
    }
    rows_->removeAll();
    recordsRemoved();
    showMessage(texts_.allDeleted);
    refreshList();
}

QStringList RecordListWindow::chooseFilesToAdd(const QString& filter, bool several,
                                               const QString& sample) {
    QString preset;
    if (!dialogOpened_) {
        if (!sample.isEmpty() && QFileInfo::exists(sample)) {
            preset = sample;
        }
        dialogOpened_ = true;
    }
    return chooser_(this, FileRequest{caption(), filter, several, preset});
}

QStringList RecordListWindow::addInProgress(
    const QString& title, const QStringList& files,
    const std::function<QString(const QString& file)>& addOne) {
    QStringList problems;
    try {
        ProgressWindow& progress = ProgressWindow::shared();
        progress.run(title, static_cast<int>(files.size()), [&] {
            for (const QString& file : files) {
                if (const QString problem = addOne(file); !problem.isEmpty()) {
                    problems.append(problem);
                }
                progress.advance();
            }
        });
    } catch (const Error& error) {
        problems.append(error.message());
    }
    refreshList();
    return problems;
}

void RecordListWindow::followAlbum(Album& album, QFlags<AlbumPart> parts) {
    connect(&album, &Album::changed, this, [this, parts](AlbumParts changed) {
        if (isVisible() && (changed & parts)) {
            refreshList();
        }
    });
}

void RecordListWindow::showEvent(QShowEvent* event) {
    refreshList();
    SkinnedDialog::showEvent(event);
}

}  // namespace vellumo
