#include "manager/template_preview_window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFrame>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QThread>

#include "dialogs/message_dialog.h"
#include "manager/manager_texts.h"
#include "movie/movie_player.h"
#include "project/album.h"
#include "timeline/stager.h"
#include "timeline/timeline_texts.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 30;
constexpr int kButtonGap = 40;
constexpr int kButtonTop = 523;
constexpr int kFrameMargin = 3;

}  // namespace

PreviewStage::PreviewStage(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("previewStage"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewStage::showFrame(const QImage& frame) {
    frame_ = frame;
    update();
}

void PreviewStage::clear() {
    frame_ = QImage();
    update();
}

void PreviewStage::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (!frame_.isNull()) {
        painter.drawImage(0, 0, frame_);
    }
}

TemplatePreviewWindow::TemplatePreviewWindow(const Album& album, QWidget* parent)
    : SkinnedDialog(kSize, texts::kTemplatePreviewTitle, parent), album_(album) {
    setObjectName(QStringLiteral("templatePreviewWindow"));
    auto* frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("previewStageFrame"));
    frame->setFrameShape(QFrame::Box);
    frame->setGeometry(QRect(kStageOrigin, kTemplatePreviewStage)
                           .adjusted(-kFrameMargin, -kFrameMargin, kFrameMargin, kFrameMargin));
    stage_ = new PreviewStage(this);
    stage_->setGeometry(QRect(kStageOrigin, kTemplatePreviewStage));

    const int left = (kSize.width() - 2 * kButtonWidth - kButtonGap) / 2;
    play_ = new QPushButton(texts::kTemplatePreviewPlay, this);
    play_->setGeometry(left, kButtonTop, kButtonWidth, kButtonHeight);
    back_ = new QPushButton(texts::kTemplatePreviewBack, this);
    back_->setGeometry(left + kButtonWidth + kButtonGap, kButtonTop, kButtonWidth, kButtonHeight);
    for (QPushButton* button : {play_, back_}) {
        button->setCursor(Qt::PointingHandCursor);
        button->setAutoDefault(false);
    }
    connect(play_, &QPushButton::clicked, this, &TemplatePreviewWindow::play);
    connect(back_, &QPushButton::clicked, this, &TemplatePreviewWindow::back);

    frameTimer_.setTimerType(Qt::PreciseTimer);
    connect(&frameTimer_, &QTimer::timeout, this, &TemplatePreviewWindow::step);
}

TemplatePreviewWindow::~TemplatePreviewWindow() = default;

void TemplatePreviewWindow::setRequest(TemplatePreviewRequest request) {
    request_ = std::move(request);
}

int TemplatePreviewWindow::totalFrames() const {
    return player_ ? player_->totalFrames() : 0;
}

void TemplatePreviewWindow::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (!event->spontaneous()) {
        prepared_ = false;
        // "播放" is out of use until a run has ended; the preparation runs once shown.
        play_->setEnabled(false);
        back_->setEnabled(true);
        stage_->clear();
        QTimer::singleShot(0, this, &TemplatePreviewWindow::prepare);
    }
}

void TemplatePreviewWindow::prepare() {
    if (!isVisible()) {
        return;
    }
    play_->setEnabled(false);
    stage_->clear();
    frameTimer_.stop();
    // A new player for every opening; the one before went with "返回".
    player_ = std::make_unique<MoviePlayer>();
    player_->setSize(kTemplatePreviewStage);
    effect_ = displayEffectFor(request_.mode, request_.chosenSlotMark);
    // "返回" may come while the pictures are staged or the movie loads.
    const bool ready = stagePictures() && isVisible() && loadMovie();
    prepared_ = true;
    if (!ready) {
        // Nothing to play (told already, or the window was left meanwhile): it closes.
        if (isVisible()) {
            back();
        }
        player_.reset();
        return;
    }
    frameCounter_ = -1;
    frameTimer_.start(timing_.frameIntervalMs);
}

bool TemplatePreviewWindow::stagePictures() {
    const QString folder = previewFolder();
    const bool catalogue = request_.mode == TemplatePreviewMode::CatalogueTemplate;
    const int rows = catalogue ? static_cast<int>(album_.catalogue().records().size())
                               : album_.templates().size();
    if (request_.row < 0 || request_.row >= rows) {
        showMessage(texts::kNoTemplateSelected);
        return false;
    }
    try {
        if (catalogue) {
            stageCataloguePreview(album_.catalogue().record(request_.row),
                                  request_.info.templateClass, effect_, folder);
            return true;
        }
        Stager stager(album_);
        stageUsedPreview(stager, request_.row, effect_, folder);
        if (!stager.missingPhotos().isEmpty()) {
            showMessage(texts::kPhotosMissing.arg(stager.missingPhotos().join(u'\n')));
        }
        return true;
    } catch (const Error& e) {
        showMessage(texts::kPreviewMovieUnplayable.arg(e.message()));
        return false;
    }
}

bool TemplatePreviewWindow::loadMovie() {
    try {
        player_->setMovie(request_.movies.copy);
        player_->stop();
        player_->setMovie(request_.movies.movie);
    } catch (const Error& e) {
        showMessage(texts::kPreviewMovieUnplayable.arg(e.message()));
        return false;
    }
    player_->setFrameNum(0);
    player_->setFrameNum(player_->totalFrames());
    player_->setFrameNum(0);
    player_->stop();
    player_->play();
    // The movie runs by itself up to the start frame; a short movie stops on its last frame.
    const int target = std::min(timing_.startFrame, player_->totalFrames() - 1);
    QElapsedTimer waited;
    waited.start();
    while (player_ && player_->frameNum() < target && player_->isPlaying() &&
           waited.elapsed() < timing_.startWaitLimitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::msleep(1);
    }
    if (!player_) {
        return false;  // the window was closed meanwhile
    }
    // From here the frame timer alone sets the frame.
    player_->stop();
    QFile::remove(request_.movies.movie);
    QFile::remove(request_.movies.copy);
    return true;
}

void TemplatePreviewWindow::step() {
    if (!player_ || !player_->isLoaded()) {
        frameTimer_.stop();
        return;
    }
    ++frameCounter_;
    player_->setFrameNum(frameCounter_);
    stage_->showFrame(player_->currentImage());
    emit frameShown(frameCounter_);
    if (!player_) {
        return;  // left from a receiver of the signal
    }
    if (frameCounter_ + 1 >= player_->totalFrames()) {
        frameTimer_.stop();
        play_->setEnabled(true);
    }
}

void TemplatePreviewWindow::play() {
    if (!player_ || !player_->isLoaded() || frameTimer_.isActive()) {
        return;
    }
    play_->setEnabled(false);
    frameCounter_ = -1;
    frameTimer_.start(timing_.frameIntervalMs);
}

void TemplatePreviewWindow::back() {
    frameTimer_.stop();
    player_.reset();
    QDialog::reject();
}

void TemplatePreviewWindow::reject() {
    back();
}

void TemplatePreviewWindow::closeLabelReleased() {
    back();
}

bool openTemplatePreview(TemplatePreviewWindow& window, TemplatePreviewRequest request,
                         const QString& packagePath, PreviewOpener opener) {
    try {
        request.movies = unpackPreviewTemplate(packagePath, opener);
    } catch (const Error& e) {
        removePreviewFolders();
        showMessage(texts::kPreviewPackageUnreadable.arg(e.message()));
        return false;
    }
    window.setRequest(std::move(request));
    window.exec();
    removePreviewFolders();
    return true;
}

}  // namespace vellumo
