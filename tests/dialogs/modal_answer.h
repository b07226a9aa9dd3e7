#pragma once

// Answering modal dialogs in window tests: a timer polls (bounded) for the next modal window and
// hands it to the test, which reads it and presses a button.

#include <QApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace vellumo::test {

// Watches while it lives: the first visible modal window (that accepts takes, when given) is
// handed to the action, once. Gives up after the time-out.
class ModalAnswer {
public:
    ModalAnswer(std::function<void(QWidget*)> act, int timeoutMs,
                std::function<bool(QWidget*)> accepts = {})
        : timer_(std::make_unique<QTimer>()) {
        clock_.start();
        QObject::connect(timer_.get(), &QTimer::timeout,
                         [this, act = std::move(act), timeoutMs, accepts = std::move(accepts)] {
                             QWidget* modal = QApplication::activeModalWidget();
                             if (modal && modal->isVisible() && (!accepts || accepts(modal))) {
                                 timer_->stop();
                                 ++answered_;
                                 act(modal);
                             } else if (clock_.elapsed() > timeoutMs) {
                                 timer_->stop();
                             }
                         });
        timer_->start(10);
    }

    int answered() const { return answered_; }

private:
    std::unique_ptr<QTimer> timer_;
    QElapsedTimer clock_;
    int answered_ = 0;
};

[[nodiscard]] inline std::unique_ptr<ModalAnswer> whenModalShown(std::function<void(QWidget*)> act,
                                                                 int timeoutMs = 5000) {
    return std::make_unique<ModalAnswer>(std::move(act), timeoutMs);
}

// The first visible modal window of type Window, passed over any other modal window.
template <class Window>
[[nodiscard]] std::unique_ptr<ModalAnswer> whenShown(std::function<void(Window*)> act,
                                                     int timeoutMs = 5000) {
    return std::make_unique<ModalAnswer>(
        [act = std::move(act)](QWidget* modal) { act(static_cast<Window*>(modal)); }, timeoutMs,
        [](QWidget* modal) { return qobject_cast<Window*>(modal) != nullptr; });
}

}  // namespace vellumo::test
