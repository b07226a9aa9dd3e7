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

MessageWindow::MessageWindow(QSize size, const QString& caption, int textTop, QWidget* parent)
    : SkinnedDialog(size, caption, parent), size_(size), textTop_(textTop) {
    message_ = new MessageArea(this);
    relayout();
}

QString MessageWindow::message() const {
    return message_->text();
}

void MessageWindow::setMessage(const QString& text) {
    message_->setText(text);
    relayout();
}

QPushButton* MessageWindow::addButton(const QString& caption, bool accent, int width) {
    auto* button = new QPushButton(caption, this);
    button->setFixedSize(width, kButtonHeight);
    button->setProperty("accent", accent);
    button->setCursor(Qt::PointingHandCursor);
    buttons_ << button;
    relayout();
    return button;
}

void MessageWindow::relayout() {
    const int width = size_.width() - 2 * kSideMargin;
    const int textHeight = message_->neededHeight(width);
    const int height = size_.height() + textHeight - MessageArea::kLineHeight;
    setClientSize(QSize(size_.width(), height));
    message_->setGeometry(kSideMargin, textTop_, width, textHeight);
    // A button its window hid leaves no gap: the others close up, centred.
    QList<QPushButton*> shown;
    for (QPushButton* button : buttons_) {
        if (!button->isHidden()) {
            shown << button;
        }
    }
    if (shown.isEmpty()) {
        return;
    }
    const int buttonWidth = buttons_.front()->width();
    const int count = int(shown.size());
    const int top = height - kBottomHeight - kButtonBottomGap - kButtonHeight;
    int left = (size_.width() - count * buttonWidth - (count - 1) * kButtonGap) / 2;
    for (QPushButton* button : shown) {
        button->move(left, top);
        left += buttonWidth + kButtonGap;
    }
}

MessageDialog::MessageDialog(QWidget* parent)
    : MessageWindow(kSize, texts::kMessageCaption, 66, parent) {
    ok_ = addButton(texts::kOk, true, kButtonWidth);
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
}

MessageDialog& MessageDialog::shared() {
    return sharedWindow<MessageDialog>();
}

ConfirmDialog::ConfirmDialog(QWidget* parent) : MessageWindow(kSize, QString(), 92, parent) {
    ok_ = addButton(texts::kOk, true, kButtonWidth);
    cancel_ = addButton(texts::kCancel, false, kButtonWidth);
    connect(ok_, &QPushButton::clicked, this, [this] {
        answer_ = texts::kAnswerYes;
        accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

ConfirmDialog& ConfirmDialog::shared() {
    return sharedWindow<ConfirmDialog>();
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
