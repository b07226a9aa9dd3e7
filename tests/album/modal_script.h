#pragma once

// Answering a sequence of modal windows in window tests: each modal window shown (a message,
// a question, a list window) is handed to the next step, in order; the progress window is left
// to run its task. Messages and questions are
// logged as "caption: text" so that a test compares what the user saw with the texts headers.

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"

namespace vellumo::test {

class ModalScript {
public:
    using Step = std::function<void(QWidget*)>;

    // Polls (bounded by timeoutMs in all) for the next modal window and hands it to the step.
    explicit ModalScript(QList<Step> steps, int timeoutMs = 20000)
        : steps_(std::move(steps)), timer_(std::make_unique<QTimer>()) {
        clock_.start();
        QObject::connect(timer_.get(), &QTimer::timeout, [this, timeoutMs] { poll(timeoutMs); });
        timer_->start(5);
    }

    // Every step has run.
    bool finished() const { return next_ >= steps_.size(); }
    int answered() const { return static_cast<int>(next_); }

private:
    void poll(int timeoutMs) {
        if (finished() || clock_.elapsed() > timeoutMs) {
            timer_->stop();
            return;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (waitingFor_ && (modal != waitingFor_ || !waitingFor_->isVisible())) {
            waitingFor_ = nullptr;
        }
        // The progress window runs its task by itself.
        if (waitingFor_ || !modal || !modal->isVisible() || qobject_cast<ProgressWindow*>(modal)) {
            return;
        }
        QPointer<QWidget> answered = modal;
        steps_[next_++](modal);
        // A window still open after its step (a list window answering a nested question) is
        // not handed on again until it has been closed.
        if (answered && answered->isVisible()) {
            waitingFor_ = answered;
        }
    }

    QList<Step> steps_;
    qsizetype next_ = 0;
    QPointer<QWidget> waitingFor_;
    std::unique_ptr<QTimer> timer_;
    QElapsedTimer clock_;
};

// Presses "确定" on a message, logging its text.
inline ModalScript::Step acceptMessage(QStringList* log) {
    return [log](QWidget* modal) {
        auto* dialog = qobject_cast<MessageDialog*>(modal);
        if (log) {
            log->append(dialog ? dialog->message() : QStringLiteral("<not a message>"));
        }
        if (dialog) {
            dialog->okButton()->click();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
    };
}

// Answers a question with "确定" (yes) or "取消", logging "caption: text".
inline ModalScript::Step answerQuestion(bool yes, QStringList* log) {
    return [yes, log](QWidget* modal) {
        auto* dialog = qobject_cast<ConfirmDialog*>(modal);
        if (log) {
            log->append(dialog ? dialog->caption() + QStringLiteral(": ") + dialog->message()
                               : QStringLiteral("<not a question>"));
        }
        if (dialog) {
            (yes ? dialog->okButton() : dialog->cancelButton())->click();
        } else if (auto* other = qobject_cast<QDialog*>(modal)) {
            other->reject();
        }
    };
}

// Closes whatever modal window is shown, logging its caption.
inline ModalScript::Step closeWindow(QStringList* log) {
    return [log](QWidget* modal) {
        if (log) {
            log->append(modal->windowTitle());
        }
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        }
    };
}

}  // namespace vellumo::test
