#include "dialogs/message_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>

#include "dialogs/dialog_texts.h"
#include "dialogs/shared_window.h"

namespace vellumo {

namespace {

constexpr int kSideMargin = 20;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 24;
constexpr int kButtonBottomGap = 22;

}  // namespace

QPushButton* makeDialogButton(const QString& caption, QWidget* parent, bool accent, int width) {
    auto* button = new QPushButton(caption, parent);
    button->setFixedSize(width, kButtonHeight);
    button->setProperty("accent", accent);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

void layoutMessageWindow(SkinnedDialog& window, QSize size, MessageArea& message, int textTop,
                         const QList<QPushButton*>& buttons) {
    const int width = size.width() - 2 * kSideMargin;
    const int textHeight = message.neededHeight(width);
    const int height = size.height() + textHeight - MessageArea::kLineHeight;
    window.setClientSize(QSize(size.width(), height));
    message.setGeometry(kSideMargin, textTop, width, textHeight);
    if (buttons.isEmpty()) {
        return;
    }
    const int buttonWidth = buttons.front()->width();
    const int count = int(buttons.size());
    const int top = height - SkinnedDialog::kBottomHeight - kButtonBottomGap - kButtonHeight;
    int left = (size.width() - count * buttonWidth - (count - 1) * kButtonGap) / 2;
    for (QPushButton* button : buttons) {
        button->move(left, top);
        left += buttonWidth + kButtonGap;
    }
}

MessageArea::MessageArea(QWidget* parent) : QWidget(parent) {
    scroll_ = new QScrollArea(this);
    scroll_->setFrameShape(QFrame::NoFrame);
    scroll_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll_->setWidgetResizable(false);
    scroll_->setStyleSheet(QStringLiteral("background: transparent;"));
    label_ = new QLabel(scroll_);
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignCenter);
    label_->setTextFormat(Qt::PlainText);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label_->setFont(songTi(14));
    label_->setStyleSheet(QStringLiteral("background: transparent; color: #eef0f3;"));
    scroll_->setWidget(label_);
}

void MessageArea::setText(const QString& text) {
    label_->setText(text);
    fitLabel();
}

QString MessageArea::text() const {
    return label_->text();
}

int MessageArea::textHeight(int width) const {
    const QFontMetrics metrics(label_->font());
    return metrics
        .boundingRect(QRect(0, 0, width, 1000000), Qt::TextWordWrap | Qt::AlignHCenter,
                      label_->text())
        .height();
}

int MessageArea::neededHeight(int width) const {
    return std::clamp(textHeight(width) + 4, kLineHeight, kMaxHeight);
}

void MessageArea::fitLabel() {
    scroll_->setGeometry(rect());
    int labelWidth = width();
    if (textHeight(labelWidth) + 4 > height()) {
        // Too long even for the grown dialog: the rest scrolls.
        labelWidth -= scroll_->verticalScrollBar()->sizeHint().width();
    }
    label_->setFixedSize(labelWidth, std::max(textHeight(labelWidth) + 4, height()));
}

void MessageArea::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitLabel();
}

MessageDialog::MessageDialog(QWidget* parent)
    : SkinnedDialog(kSize, texts::kMessageCaption, parent) {
    message_ = new MessageArea(this);
    ok_ = makeDialogButton(texts::kOk, this, true, kButtonWidth);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    relayout();
}

MessageDialog& MessageDialog::shared() {
    return sharedWindow<MessageDialog>();
}

QString MessageDialog::message() const {
    return message_->text();
}

void MessageDialog::setMessage(const QString& text) {
    message_->setText(text);
    relayout();
}

void MessageDialog::relayout() {
    layoutMessageWindow(*this, kSize, *message_, 66, {ok_});
}

ConfirmDialog::ConfirmDialog(QWidget* parent) : SkinnedDialog(kSize, QString(), parent) {
    message_ = new MessageArea(this);
    ok_ = makeDialogButton(texts::kOk, this, true, kButtonWidth);
    cancel_ = makeDialogButton(texts::kCancel, this, false, kButtonWidth);
    connect(ok_, &QPushButton::clicked, this, [this] {
        answer_ = texts::kAnswerYes;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    relayout();
}

ConfirmDialog& ConfirmDialog::shared() {
    return sharedWindow<ConfirmDialog>();
}

QString ConfirmDialog::message() const {
    return message_->text();
}

void ConfirmDialog::setMessage(const QString& text) {
    message_->setText(text);
    relayout();
}

void ConfirmDialog::relayout() {
    layoutMessageWindow(*this, kSize, *message_, 92, {ok_, cancel_});
}

void showMessage(const QString& text) {
    QPointer<MessageDialog> dialog = &MessageDialog::shared();
    dialog->setMessage(text);
    dialog->exec();
}

void setMessageCaption(const QString& caption) {
    MessageDialog::shared().setCaption(caption);
}

bool confirm(const QString& caption, const QString& text) {
    QPointer<ConfirmDialog> dialog = &ConfirmDialog::shared();
    dialog->clearAnswer();
    dialog->setCaption(caption);
    dialog->setMessage(text);
    dialog->exec();
    return dialog && dialog->answer() == texts::kAnswerYes;
}

}  // namespace vellumo
