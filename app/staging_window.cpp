#include "app/staging_window.h"

#include <QApplication>
#include <QPointer>
#include <QProgressBar>
#include <QTimer>

#include "timeline/timeline_texts.h"

namespace vellumo {

StagingWindow::StagingWindow(QWidget* parent)
    : SkinnedDialog(QSize(649, 154), texts::kStagingCaption, parent) {
    bar_ = new QProgressBar(this);
    bar_->setGeometry((649 - 585) / 2, 80, 585, 13);
    bar_->setTextVisible(false);
}

void StagingWindow::closeLabelReleased() {
    // The step cannot be broken off half-way; the window closes by itself at its end.
}

void StagingWindow::run(const std::function<void(const std::function<void(int, int)>&)>& work) {
    bar_->setRange(0, 1);
    bar_->setValue(0);
    QPointer<StagingWindow> self(this);
    QTimer::singleShot(delayMs_, this, [this, self, work] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        work([this](int done, int total) {
            bar_->setRange(0, std::max(total, 1));
            bar_->setValue(done);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
        QApplication::restoreOverrideCursor();
        if (self) {
            accept();
        }
    });
    exec();
}

}  // namespace vellumo
