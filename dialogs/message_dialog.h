#pragma once

// The message dialog (584 × 171) that shows every message of the system, and the confirm dialog
// (806 × 233) that asks every question. Both are created once and reused; the message
// dialog's caption stays what it was last set to.

#include <QList>

#include "dialogs/skinned_dialog.h"

class QLabel;
class QPushButton;
class QScrollArea;

namespace vellumo {

// A centred message that wraps instead of being cut; the dialog grows downwards for it and
// scrolls beyond a limit.
class MessageArea : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLineHeight = 25;
    static constexpr int kMaxHeight = 420;

    explicit MessageArea(QWidget* parent);
    void setText(const QString& text);
    QString text() const;
    // Height the text needs at the area's width, at least one line, at most kMaxHeight.
    int neededHeight(int width) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    int textHeight(int width) const;
    void fitLabel();

    QScrollArea* scroll_ = nullptr;
    QLabel* label_ = nullptr;
};

// A window of a message over a row of buttons: it grows down from its size by what the text
// needs beyond one line (the text scrolls beyond a limit), the text starts at textTop, and the
// buttons, each as wide as the first, stand centred in a row above the bottom strip. A button
// hidden before the text is set takes no place in the row.
class MessageWindow : public SkinnedDialog {
    Q_OBJECT
public:
    MessageWindow(QSize size, const QString& caption, int textTop, QWidget* parent = nullptr);

    QString message() const;
    void setMessage(const QString& text);
    // The next button of the row, width × 30; accent gives it the colour of the expected
    // answer.
    QPushButton* addButton(const QString& caption, bool accent, int width);

private:
    void relayout();

    QSize size_;
    int textTop_ = 0;
    MessageArea* message_ = nullptr;
    QList<QPushButton*> buttons_;
};

class MessageDialog : public MessageWindow {
    Q_OBJECT
public:
    static constexpr QSize kSize{584, 171};

    explicit MessageDialog(QWidget* parent = nullptr);

    // The one message dialog of the run, created on first use.
    static MessageDialog& shared();

    QPushButton* okButton() const { return ok_; }

private:
    QPushButton* ok_ = nullptr;
};

class ConfirmDialog : public MessageWindow {
    Q_OBJECT
public:
    static constexpr QSize kSize{806, 233};

    explicit ConfirmDialog(QWidget* parent = nullptr);

    static ConfirmDialog& shared();

    // "yes" after "确定"; otherwise what it was before the dialog was shown. It outlives the
    // dialog until the next caller clears it.
    const QString& answer() const { return answer_; }
    void clearAnswer() { answer_.clear(); }

    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QString answer_;
};

// Shows text in the message dialog, modally, under the caption last set ("提示" at first).
void showMessage(const QString& text);
// Sets the message dialog's caption for this and later messages.
void setMessageCaption(const QString& caption);

// Asks a question: clears the answer, sets caption and text, shows the confirm dialog modally
// and returns whether the answer is "yes".
bool confirm(const QString& caption, const QString& text);

}  // namespace vellumo
