#include "app/exit_dialog.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include "app/app_texts.h"
#include "dialogs/dialog_texts.h"
#include "skin/skin_widgets.h"
#include "workspace/data_paths.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"
#include "workspace/working_folders.h"

namespace vellumo {

namespace {

constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 24;
constexpr int kProgressMargin = 40;

}  // namespace

ExitDialog::ExitDialog(QWidget* parent) : SkinnedDialog(kSize, texts::kExitCaption, parent) {
    message_ = new QLabel(texts::kExitQuestion, this);
    message_->setAlignment(Qt::AlignCenter);
    message_->setFont(songTi(16));
    message_->setGeometry(0, 72, kSize.width(), 25);

    const int buttonsTop = kSize.height() - kBottomHeight - 26 - kButtonHeight;
    const int left = (kSize.width() - 2 * kButtonWidth - kButtonGap) / 2;
    ok_ = new QPushButton(texts::kOk, this);
    ok_->setProperty("accent", true);
    ok_->setGeometry(left, buttonsTop, kButtonWidth, kButtonHeight);
    cancel_ = new QPushButton(texts::kCancel, this);
    cancel_->setGeometry(left + kButtonWidth + kButtonGap, buttonsTop, kButtonWidth, kButtonHeight);
    cancel_->setDefault(true);

    bar_ = new QProgressBar(this);
    bar_->setTextVisible(false);

    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(ok_, &QPushButton::clicked, this, [this] {
        removeWorkingFolders();
        accept();
    });
}

void ExitDialog::showEvent(QShowEvent* event) {
    ok_->setEnabled(true);
    cancel_->setEnabled(true);
    closeLabel()->setEnabled(true);
    ok_->show();
    cancel_->show();
    message_->setText(texts::kExitQuestion);
    if (bar_->isTextVisible()) {
        bar_->setTextVisible(false);
        bar_->style()->unpolish(bar_);
        bar_->style()->polish(bar_);
    }
    bar_->setGeometry(0, kSize.height() - kBarAboveBottom - kBarHeight, kSize.width(), kBarHeight);
    bar_->setRange(0, 1);
    bar_->setValue(0);
    SkinnedDialog::showEvent(event);
}

void ExitDialog::closeLabelReleased() {
    if (closeLabel()->isEnabled()) {
        reject();
    }
}

qint64 ExitDialog::elapsedMs() const {
    return clock_ ? clock_() : started_.elapsed();
}

void ExitDialog::showProgress() {
    progressShown_ = true;
    message_->setText(texts::kExitCleaning);
    ok_->hide();
    cancel_->hide();
    // The 1-pixel bar would not be seen: it grows into one with its percentage.
    bar_->setTextVisible(true);
    bar_->setAlignment(Qt::AlignCenter);
    bar_->setFormat(QStringLiteral("%p%"));
    // Its look depends on the text being shown.
    bar_->style()->unpolish(bar_);
    bar_->style()->polish(bar_);
    bar_->setGeometry(kProgressMargin, ok_->y() + (kButtonHeight - kProgressBarHeight) / 2,
                      kSize.width() - 2 * kProgressMargin, kProgressBarHeight);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

bool ExitDialog::cleanupStep() {
    if (bar_->value() < bar_->maximum()) {
        bar_->setValue(bar_->value() + 1);
    }
    const qint64 now = elapsedMs();
    if (now >= kCleanupLimitMs) {
        stoppedAtLimit_ = true;
        return false;
    }
    if (!progressShown_ && now >= kShowProgressAfterMs) {
        showProgress();
    }
    if (now - lastRoundMs_ >= kPumpEveryMs) {
        lastRoundMs_ = now;
        ++eventRounds_;
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    return true;
}

void ExitDialog::removeWorkingFolders() {
    ok_->setEnabled(false);
    cancel_->setEnabled(false);
    closeLabel()->setEnabled(false);
    started_.start();
    lastRoundMs_ = 0;
    eventRounds_ = 0;
    progressShown_ = false;
    stoppedAtLimit_ = false;
    const int entries = countPackages(workingPath(paths::kUnpackFolder));
    // A bar of maximum 0 would run as a busy indicator.
    bar_->setRange(0, std::max(entries, 1));
    bar_->setValue(0);
    clearFoldersOnExit([this] { return cleanupStep(); });
}

}  // namespace vellumo
