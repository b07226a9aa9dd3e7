#include "production/production_window.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

#include <algorithm>

#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "production/production_run_texts.h"
#include "production/production_texts.h"
#include "project/album.h"

namespace vellumo {

namespace {

constexpr int kMargin = 20;
constexpr int kWidth = ProductionWindow::kSize.width() - 2 * kMargin;
// Events are processed at most this often while the run works; the stop button still answers
// at once to the eye.
constexpr int kEventIntervalMs = 20;

const QString kLightText = QStringLiteral("color: #f2f3f5;");

// A bar showing value of maximum; "0 of 0" is an empty bar, not a busy one.
void setBar(QProgressBar* bar, int value, int maximum) {
    bar->setRange(0, std::max(maximum, 1));
    bar->setValue(std::clamp(value, 0, std::max(maximum, 1)));
}

void openInFileManager(const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

}  // namespace

ProductionWindow::ProductionWindow(const Album& album, QWidget* parent,
                                   ConversionDriver::ConverterFactory factory)
    : SkinnedDialog(kSize, QString(), parent),
      album_(album),
      factory_(std::move(factory)),
      opener_(openInFileManager) {
    auto* nameLabel = new QLabel(texts::kFileNameLabel, this);
    nameLabel->setGeometry(kMargin, 52, 60, 22);
    nameLabel->setStyleSheet(kLightText);
    fileName_ = new QLabel(this);
    fileName_->setGeometry(kMargin + 60, 52, kWidth - 60, 22);
    fileName_->setStyleSheet(kLightText);
    fileName_->setTextFormat(Qt::PlainText);

    smallBar_ = new QProgressBar(this);
    smallBar_->setGeometry(kMargin, 82, kWidth, 12);
    smallBar_->setTextVisible(false);
    largeBar_ = new QProgressBar(this);
    largeBar_->setGeometry(kMargin, 100, kWidth, 22);
    largeBar_->setAlignment(Qt::AlignCenter);
    // Dark figures: the bar is light where it is not yet filled.
    largeBar_->setStyleSheet(QStringLiteral("QProgressBar { color: #202428; }"));

    times_ = new QLabel(this);
    times_->setGeometry(kMargin, 130, kWidth, 22);
    times_->setStyleSheet(kLightText);

    openWhenDone_ = new QCheckBox(texts::kOpenFolderWhenDone, this);
    openWhenDone_->setGeometry(kMargin, 176, 220, 26);
    openWhenDone_->setStyleSheet(kLightText);
    openFolder_ = new QPushButton(texts::kOpenSaveLocation, this);
    openFolder_->setGeometry(kSize.width() - kMargin - 2 * 120 - 16, 172, 120, 32);
    stop_ = new QPushButton(texts::kStopProduction, this);
    stop_->setGeometry(kSize.width() - kMargin - 120, 172, 120, 32);

    // The stop answers at any time while the window is open, also before the run has begun.
    connect(stop_, &QPushButton::clicked, this, [this] {
        stopPressed_ = true;
        stop_->setEnabled(false);
        if (run_) {
            run_->stop();
        }
    });
    connect(openFolder_, &QPushButton::clicked, this, &ProductionWindow::openSaveFolder);
}

ProductionWindow::~ProductionWindow() = default;

void ProductionWindow::setFolderOpener(FolderOpener opener) {
    opener_ = opener ? std::move(opener) : FolderOpener(openInFileManager);
}

QString ProductionWindow::captionFor(const QString& albumType) {
    return texts::kProductionCaptionBefore + albumType + texts::kProductionCaptionAfter;
}

QString ProductionWindow::timesText(const ProductionProgress& progress) {
    const QString elapsed =
        progress.elapsed.isEmpty() ? QStringLiteral("00:00:00") : progress.elapsed;
    const QString remaining =
        progress.remaining.isEmpty() ? texts::kTimeUnknown : progress.remaining;
    return texts::kProductionTimes.arg(elapsed, remaining,
                                       QString::number(progress.framesPerSecond, 'f', 1));
}

QString ProductionWindow::folderOf(const QString& file) {
    return QFileInfo(file).absolutePath();
}

ProductionResult ProductionWindow::produce(const QString& outputFile) {
    const OutputOptions& options = album_.outputOptions();
    outputFile_ = outputFile;
    result_ = ProductionResult{};
    result_.outputFile = outputFile;
    setCaption(captionFor(albumTypeName(options.albumType.value_or(AlbumType::Dvd))));
    fileName_->setText(options.albumName);
    openWhenDone_->setChecked(false);
    setBar(smallBar_, 0, 0);
    setBar(largeBar_, 0, 0);
    stopPressed_ = false;
    stop_->setEnabled(true);
    times_->setText(timesText(ProductionProgress{}));

    QTimer::singleShot(kStartDelayMs, this, &ProductionWindow::startWork);
    exec();

    // Told after the window has closed: why there is no file, or that it is made and where.
    if (result_.outcome == ProductionOutcome::Failed) {
        showMessage(result_.error);
    } else if (result_.outcome == ProductionOutcome::Complete) {
        CompletionDialog done(parentWidget());
        done.setResult(result_.outputFile, result_.notices);
        if (options.isDiscImage()) {
            const QList<disc::DiscWriter> writers =
                writerFinder_ ? writerFinder_() : disc::listDiscWriters();
            std::function<void()> burn;
            if (!writers.isEmpty()) {
                burn = [this, image = result_.outputFile, device = writers.first().device] {
                    burnImage(image, device);
                };
            }
            done.setDiscImage(producedFiles(options, result_.outputFile), result_.notices,
                              std::move(burn));
        }
        done.setOpeners(folderOpener_, fileOpener_);
        done.exec();
    }
    return result_;
}

void ProductionWindow::setWriterFinder(WriterFinder finder) {
    writerFinder_ = std::move(finder);
}

void ProductionWindow::burnImage(const QString& image, const QString& device) {
    disc::DiscBurner burner(image, device);
    disc::DiscResult burnt;
    ProgressWindow& progress = ProgressWindow::shared();
    burner.onProgress = [&progress](const disc::DiscProgress& p) {
        progress.setValue(p.percent);
        ProgressWindow::letEventsThrough();
    };
    progress.run(texts::kBurnCaption, 100, [&] { burnt = burner.run(); });
    showMessage(burnt.ok ? texts::kBurnDone : texts::kBurnFailed.arg(burnt.error));
}

void ProductionWindow::setCompletionOpeners(CompletionDialog::Opener folder,
                                            CompletionDialog::Opener file) {
    folderOpener_ = std::move(folder);
    fileOpener_ = std::move(file);
}

void ProductionWindow::startWork() {
    QPointer<ProductionWindow> self(this);
    if (stopPressed_) {
        // Stopped before anything began.
        result_.outcome = ProductionOutcome::Stopped;
        accept();
        return;
    }
    ProductionRun run(album_, factory_);
    // However run() ends, the window never keeps a pointer to it.
    struct Forget {
        ProductionWindow& window;
        ~Forget() {
            window.run_ = nullptr;
            window.running_ = false;
        }
    };
    const Forget forget{*this};
    run_ = &run;
    running_ = true;
    lastEventsMs_ = -1;
    QElapsedTimer clock;
    clock.start();
    run.onProgress = [this, &clock](const ProductionProgress& progress) {
        // The bars follow every report; events (the stop button, painting) at most every few
        // milliseconds, so that the window does not slow the production down.
        const qint64 now = clock.elapsed();
        const bool last = progress.totalFrames > 0 && progress.framesDone >= progress.totalFrames;
        if (lastEventsMs_ >= 0 && now - lastEventsMs_ < kEventIntervalMs && !last) {
            return;
        }
        lastEventsMs_ = now;
        showProgress(progress);
        QCoreApplication::processEvents();
    };
    ProductionResult result;
    try {
        result = run.run(outputFile_);
    } catch (...) {
        // run() tells its own failures; what escapes it (a window's handler) still ends here.
        result.outcome = ProductionOutcome::Failed;
        result.error = texts::kProductionFailed;
    }
    run_ = nullptr;
    running_ = false;
    if (!self) {
        return;
    }
    result_ = result;
    stop_->setEnabled(false);
    // A stop, like the end of a complete file, opens the folder when asked.
    if (result.outcome != ProductionOutcome::Failed && openWhenDone_->isChecked()) {
        openSaveFolder();
    }
    accept();
}

void ProductionWindow::showProgress(const ProductionProgress& progress) {
    setBar(smallBar_, progress.smallValue, progress.smallMaximum);
    setBar(largeBar_, progress.framesDone, progress.totalFrames);
    // While the disc is written the line says what is being done.
    const bool authoring = progress.phase == ProductionProgress::Phase::Authoring;
    times_->setText(authoring && !progress.step.isEmpty() ? progress.step : timesText(progress));
    stop_->setEnabled(!stopPressed_ && progress.canStop);
}

void ProductionWindow::openSaveFolder() {
    const QString folder = folderOf(outputFile_);
    if (!outputFile_.isEmpty() && QFileInfo(folder).isDir()) {
        opener_(folder);
    }
}

}  // namespace vellumo
