#pragma once

// Answering modal windows in window tests. A timer polls for the modal window on top while the
// responder lives; the progress window is left to run its task. Two ways of answering:
//  - every window as it comes: messages are logged and confirmed, questions logged as
//    "caption: text" and answered from answers (no once it is used up), any other window handed
//    to other (closed when there is none);
//  - a script: each window shown is handed to the next step, in order, until the steps are used
//    up or the time is (whenModalShown: a script of one step). A window of the script still
//    unanswered when the time is up is closed: the test fails instead of hanging.
// A window still open after it was answered (a list window asking a nested question) is not
// handed on again until it has been closed. The responder must outlive the windows it answers.

#include <QApplication>
#include <QDialog>
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

class ModalResponder {
public:
    using Step = std::function<void(QWidget*)>;

    // Answers every modal window as it comes.
    ModalResponder() { start(); }
    // Hands the modal windows, in order, to the steps; gives up after timeoutMs in all. With
    // accepts, a modal window it refuses is passed over.
    explicit ModalResponder(QList<Step> steps, int timeoutMs = 20000,
                            std::function<bool(QWidget*)> accepts = {})
        : steps_(std::move(steps)),
          accepts_(std::move(accepts)),
          scripted_(true),
          timeoutMs_(timeoutMs) {
        start();
    }

    // Answering every window: what the user was told and asked, and how the questions go.
    QStringList messages;
    QStringList captions;  // the caption of each message
    QStringList questions;
    QList<bool> answers;
    std::function<void(QWidget*)> other;
    int others = 0;

    // A script: every step has run; how many have.
    bool finished() const { return next_ >= steps_.size(); }
    int answered() const { return static_cast<int>(next_); }

private:
    void start() {
        clock_.start();
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { poll(); });
        timer_->start(5);
    }

    void poll() {
        if (scripted_ && finished()) {
            timer_->stop();
            return;
        }
        if (scripted_ && clock_.elapsed() > timeoutMs_) {
            timer_->stop();
            giveUp();
            return;
        }
        if (open_ && !open_->isVisible()) {
            open_ = nullptr;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == open_ ||
            qobject_cast<ProgressWindow*>(modal)) {
            return;
        }
        QPointer<QWidget> window = modal;
        if (scripted_ && accepts_ && !accepts_(modal)) {
            return;
        }
        if (scripted_) {
            steps_[next_++](modal);
            if (window && window->isVisible()) {
                open_ = window;
            }
            return;
        }
        if (auto* message = qobject_cast<MessageDialog*>(modal)) {
            messages << message->message();
            captions << message->caption();
            message->okButton()->click();
        } else if (auto* question = qobject_cast<ConfirmDialog*>(modal)) {
            questions << question->caption() + QStringLiteral(": ") + question->message();
            const bool yes = !answers.isEmpty() && answers.takeFirst();
            (yes ? question->okButton() : question->cancelButton())->click();
        } else {
            ++others;
            // The handler runs from its own timer: this one does not fire inside its own call.
            open_ = modal;
            QTimer::singleShot(0, [this, window] {
                if (!window) {
                    return;
                }
                if (other) {
                    other(window);
                } else if (auto* dialog = qobject_cast<QDialog*>(window.data())) {
                    dialog->reject();
                }
            });
        }
    }

    // A window of the script that came too late is closed, so that the test fails where it
    // waits for the script instead of hanging in the window's event loop.
    void giveUp() {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || modal == open_ || qobject_cast<ProgressWindow*>(modal) ||
            (accepts_ && !accepts_(modal))) {
            return;
        }
        qWarning("ModalResponder: the script's time is up; closing %s",
                 modal->metaObject()->className());
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
    }

    QList<Step> steps_;
    std::function<bool(QWidget*)> accepts_;
    qsizetype next_ = 0;
    bool scripted_ = false;
    int timeoutMs_ = 0;
    QPointer<QWidget> open_;
    std::unique_ptr<QTimer> timer_;
    QElapsedTimer clock_;
};

// Hands the first modal window shown to act, once; gives up after the time-out.
[[nodiscard]] inline std::unique_ptr<ModalResponder> whenModalShown(ModalResponder::Step act,
                                                                    int timeoutMs = 5000) {
    return std::make_unique<ModalResponder>(QList<ModalResponder::Step>{std::move(act)}, timeoutMs);
}

// Hands the first modal window of type Window shown to act, once, passing over any other modal
// window; gives up after the time-out.
template <class Window>
[[nodiscard]] std::unique_ptr<ModalResponder> whenShown(std::function<void(Window*)> act,
                                                        int timeoutMs = 5000) {
    return std::make_unique<ModalResponder>(
        QList<ModalResponder::Step>{
            [act = std::move(act)](QWidget* modal) { act(static_cast<Window*>(modal)); }},
        timeoutMs, [](QWidget* modal) { return qobject_cast<Window*>(modal) != nullptr; });
}

// Script steps.
// Presses "确定" on a message, logging its text.
inline ModalResponder::Step acceptMessage(QStringList* log) {
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
inline ModalResponder::Step answerQuestion(bool yes, QStringList* log) {
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
inline ModalResponder::Step closeWindow(QStringList* log) {
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
