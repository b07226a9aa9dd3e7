#include "assignment/template_options_window.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTreeWidget>

#include "album/photo_list_texts.h"
#include "assignment/assignment_texts.h"
#include "assignment/photo_adding.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "project/album.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kMargin = 18;
constexpr int kListTop = 50;
constexpr int kListHeight = 180;
constexpr int kFieldTop = kListTop + kListHeight + 14;
constexpr int kFieldHeight = 24;
constexpr int kLabelWidth = 96;

QLineEdit* makeField(QWidget* parent, const QString& caption, int left, int top, int width) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(left, top, kLabelWidth, kFieldHeight);
    auto* field = new QLineEdit(parent);
    field->setReadOnly(true);
    field->setFocusPolicy(Qt::NoFocus);
    field->setObjectName(caption);
    field->setGeometry(left + kLabelWidth, top, width, kFieldHeight);
    return field;
}

// The message dialog under the caption "组合模板", then back to the caption it had.
void showCombinationMessage(const QString& text) {
    const QString previous = MessageDialog::shared().caption();
    setMessageCaption(texts::kCombinationCaption);
    showMessage(text);
    setMessageCaption(previous);
}

}  // namespace

TemplateOptionsWindow::TemplateOptionsWindow(QWidget* parent)
    : SkinnedDialog(kSize, texts::kOptionsCaption, parent) {
    using namespace texts;
    list_ = new QTreeWidget(this);
    list_->setGeometry(kMargin, kListTop, kSize.width() - 2 * kMargin, kListHeight);
    list_->setHeaderLabels({kCombinationColumnName, kCombinationColumnLandscape,
                            kCombinationColumnPortrait, kCombinationColumnTotal});
    list_->setRootIsDecorated(false);
    list_->setAlternatingRowColors(true);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setSectionsMovable(false);
    list_->header()->setSectionResizeMode(QHeaderView::Stretch);
    list_->viewport()->installEventFilter(this);

    const int fieldWidth = 150;
    name_ = makeField(this, kCombinationNameField, kMargin, kFieldTop, 2 * fieldWidth + 40);
    landscape_ =
        makeField(this, kNeededLandscapeField, kMargin, kFieldTop + kFieldHeight + 10, fieldWidth);
    portrait_ = makeField(this, kNeededPortraitField, kMargin + kLabelWidth + fieldWidth + 40,
                          kFieldTop + kFieldHeight + 10, fieldWidth);

    explanation_ = new QLabel(kExplanationEmpty, this);
    explanation_->setGeometry(kMargin, kFieldTop + 2 * (kFieldHeight + 10),
                              kSize.width() - 2 * kMargin, kFieldHeight);
    note_ = new QLabel(kNoCombinationInstalled, this);
    note_->setGeometry(kMargin, kListTop + kListHeight / 2 - kFieldHeight / 2,
                       kSize.width() - 2 * kMargin, kFieldHeight);
    note_->setAlignment(Qt::AlignCenter);
    note_->setStyleSheet(QStringLiteral("color: #f0c060;"));
    note_->hide();

    const int buttonsTop = kSize.height() - kBottomHeight - 22 - 34;
    const int buttonWidth = (kSize.width() - 2 * kMargin - 20) / 2;
    useCombination_ = new QPushButton(kUseCombination, this);
    useCombination_->setGeometry(kMargin, buttonsTop, buttonWidth, 34);
    useCombination_->setProperty("accent", true);
    useRandom_ = new QPushButton(kUseRandom, this);
    useRandom_->setGeometry(kMargin + buttonWidth + 20, buttonsTop, buttonWidth, 34);
    for (QPushButton* button : {useCombination_, useRandom_}) {
        button->setToolTip(kOptionsButtonHint);
        button->setCursor(Qt::PointingHandCursor);
    }
    connect(useCombination_, &QPushButton::clicked, this,
            [this] { choose(PlacementMode::Combined); });
    connect(useRandom_, &QPushButton::clicked, this, [this] { choose(PlacementMode::Random); });
}

PlacementMode TemplateOptionsWindow::chooseAssignmentWay() {
    CombinationList combinations = readCombinationList();
    if (!combinations.problems.isEmpty()) {
        showCombinationMessage(combinations.problems.join(u'\n'));
    }
    setCombinations(std::move(combinations));
    QPointer<TemplateOptionsWindow> self(this);
    exec();
    return self ? mode_ : PlacementMode::Random;
}

void TemplateOptionsWindow::setCombinations(CombinationList combinations) {
    combinations_ = std::move(combinations);
    list_->clear();
    for (const Combination& c : combinations_.rows) {
        list_->addTopLevelItem(new QTreeWidgetItem(
            QStringList{c.name, QString::number(c.landscapeTotal), QString::number(c.portraitTotal),
                        QString::number(c.photoTotal())}));
    }
    const bool any = !combinations_.rows.isEmpty();
    // Without a combined template only the rotating placement can be chosen.
    note_->setVisible(!any);
    useCombination_->setEnabled(any);
    selected_ = -1;
    neededLandscape_ = 0;
    neededPortrait_ = 0;
    name_->clear();
    landscape_->clear();
    portrait_->clear();
    if (any) {
        select(0);
    }
}

void TemplateOptionsWindow::select(int row) {
    const Combination& c = combinations_.rows.at(row);
    selected_ = row;
    list_->setCurrentItem(list_->topLevelItem(row));
    name_->setText(c.name);
    landscape_->setText(QString::number(c.landscapeTotal) + texts::kSheetsSuffix);
    portrait_->setText(QString::number(c.portraitTotal) + texts::kSheetsSuffix);
    neededLandscape_ = c.landscapeTotal;
    neededPortrait_ = c.portraitTotal;
    explanation_->setText(explanationLine(c.landscapeTotal, c.portraitTotal, explanation_->text()));
}

void TemplateOptionsWindow::clickRow(int row) {
    if (combinations_.rows.isEmpty()) {
        showCombinationMessage(texts::kNoCombination);
        return;
    }
    if (row < 0 || row >= combinations_.rows.size()) {
        list_->clearSelection();
        showCombinationMessage(texts::kNoCombinationSelected);
        // The selection the fields show stays; the list shows it again.
        if (selected_ >= 0) {
            list_->setCurrentItem(list_->topLevelItem(selected_));
        }
        return;
    }
    select(row);
}

bool TemplateOptionsWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport() && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton) {
            const QModelIndex index = list_->indexAt(mouse->position().toPoint());
            clickRow(index.isValid() ? index.row() : -1);
            return true;
        }
    }
    return SkinnedDialog::eventFilter(watched, event);
}

std::optional<Combination> TemplateOptionsWindow::selectedCombination() const {
    if (selected_ < 0 || selected_ >= combinations_.rows.size()) {
        return std::nullopt;
    }
    return combinations_.rows.at(selected_);
}

int TemplateOptionsWindow::selectedPackage() const {
    if (selected_ < 0 || selected_ >= combinations_.packageNumbers.size()) {
        return 0;
    }
    return combinations_.packageNumbers.at(selected_);
}

QString TemplateOptionsWindow::explanation() const {
    return explanation_->text();
}

void TemplateOptionsWindow::choose(PlacementMode mode) {
    if (mode == PlacementMode::Combined && !selectedCombination()) {
        showCombinationMessage(combinations_.rows.isEmpty() ? texts::kNoCombination
                                                            : texts::kNoCombinationSelected);
        return;
    }
    mode_ = mode;
    accept();
}

bool runCombinedAdd(Album& album, const Combination& combination, int k,
                    const std::function<QStringList()>& chooseFiles, ProgressWindow& progress,
                    PhotoOrder order) {
    ChosenPhotos chosen;
    for (;;) {
        const QStringList files = chooseFiles();
        if (files.isEmpty()) {
            return false;
        }
        chosen.add(files);
        const QStringList missing = missingPhotoMessages(combination, chosen);
        if (missing.isEmpty()) {
            break;
        }
        for (const QString& message : missing) {
            showMessage(message);
        }
    }
    sortPhotos(chosen.photos, order);

    CombinedTemplate group;
    try {
        group = readCombinationPackage(k);
    } catch (const Error& error) {
        showMessage(error.message());
        return false;
    }
    CombinedAdd add(album, group);
    try {
        progress.run(texts::kAddPhotosTitle, static_cast<int>(chosen.photos.size()), [&] {
            add.addPhotos(chosen,
                          AddProgress{{}, [&progress](int steps) { progress.advance(steps); }});
            progress.setRange(0, 2 * album.photos().size());
            progress.advance(album.photos().size());
            add.firstPass();
            add.repeat();
        });
    } catch (const Error& error) {
        showMessage(error.message());
    }
    QStringList leftOut = add.skipped();
    leftOut.removeDuplicates();
    if (const QString message = leftOutPhotosMessage(leftOut); !message.isEmpty()) {
        showMessage(message);
    }
    QStringList incomplete = chosen.incomplete;
    incomplete.removeDuplicates();
    if (const QString message = incompletePhotosMessage(incomplete); !message.isEmpty()) {
        showMessage(message);
    }
    if (const QString message = add.unplacedMessage(); !message.isEmpty()) {
        showMessage(message);
    }
    return add.addedCount() > 0;
}

}  // namespace vellumo
