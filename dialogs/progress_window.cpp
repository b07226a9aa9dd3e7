#include "dialogs/progress_window.h"

#include <QCoreApplication>
#include <QProgressBar>

#include "dialogs/shared_window.h"

namespace vellumo {

namespace {

constexpr int kBarMargin = 24;
constexpr int kBarTop = 60;
constexpr int kBarHeight = 18;

}  // namespace

ProgressWindow::ProgressWindow(QWidget* parent) : SkinnedDialog(kSize, QString(), parent) {
    setCursor(Qt::WaitCursor);
    bar_ = new QProgressBar(this);
    bar_->setGeometry(kBarMargin, kBarTop, kSize.width() - 2 * kBarMargin, kBarHeight);
    bar_->setAlignment(Qt::AlignCenter);
    bar_->setFormat(QStringLiteral("%p%"));
    bar_->setRange(0, 1);
    bar_->setValue(0);
    timer_.setSingleShot(true);
    timer_.setInterval(kTaskDelayMs);
    connect(&timer_, &QTimer::timeout, this, &ProgressWindow::runArmedTask);
}

ProgressWindow& ProgressWindow::shared() {
    return sharedWindow<ProgressWindow>();
}

int ProgressWindow::value() const {
    return bar_->value();
}

int ProgressWindow::maximum() const {
    return bar_->maximum();
}

void ProgressWindow::setRange(int minimum, int maximum) {
    bar_->setRange(minimum, std::max(minimum, maximum));
    bar_->setValue(minimum);
}

void ProgressWindow::setValue(int value) {
    bar_->setValue(std::clamp(value, bar_->minimum(), bar_->maximum()));
}

void ProgressWindow::advance(int steps) {
    setValue(bar_->value() + steps);
    letEventsThrough();
}

void ProgressWindow::complete() {
    bar_->setValue(bar_->maximum());
}

void ProgressWindow::letEventsThrough() {
    QCoreApplication::processEvents();
}

void ProgressWindow::run(const QString& title, int maximum, const std::function<void()>& task) {
    if (running_) {
        task();
        return;
    }
    setCaption(title);
    setRange(0, maximum);
    task_ = task;
    failure_ = nullptr;
    running_ = true;
    closing_ = false;
    timer_.start();
    QPointer<ProgressWindow> self(this);
    exec();
    if (!self) {
        return;
    }
    // The event loop may also have ended without the task (the application quitting).
    timer_.stop();
    running_ = false;
    task_ = nullptr;
    if (failure_) {
        std::exception_ptr failure = failure_;
        failure_ = nullptr;
        std::rethrow_exception(failure);
    }
}

void ProgressWindow::runArmedTask() {
    timer_.stop();
    if (!running_ || !task_) {
        return;
    }
    try {
        task_();
    } catch (...) {
        failure_ = std::current_exception();
    }
    complete();
    closing_ = true;
    accept();
    closing_ = false;
}

void ProgressWindow::done(int result) {
    // Only the end of the task closes the window while it runs (not Esc, not the close label).
    if (running_ && !closing_) {
        return;
    }
    SkinnedDialog::done(result);
}

void ProgressWindow::closeLabelReleased() {
    if (!running_) {
        reject();
    }
}

}  // namespace vellumo
