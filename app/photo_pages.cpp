#include "app/photo_pages.h"

#include <QLabel>
#include <QMouseEvent>

#include "album/photo_list_texts.h"
#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/thumbnail_strip.h"
#include "assignment/photo_adding.h"
#include "assignment/template_options_window.h"
#include "crop/crop_window.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "lists/background_window.h"
#include "lists/photo_list_window.h"
#include "preview/preview_timeline.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "timeline/album_clock.h"
#include "timeline/timeline_texts.h"

namespace vellumo {

namespace {

// The thumbnail's picture box; the frame rule fits the photo into it less 6 each way.
constexpr QSize kThumbnailBox = ThumbnailFrame::kPictureBox.size();

}  // namespace

bool ZoomBox::zoomIn() {
    if (width + kStep > kMaxWidth) {
        return false;
    }
    width += kStep;
    height = width * kDisplay.height() / kDisplay.width();
    return true;
}

bool ZoomBox::zoomOut() {
    width -= kStep;
    height = width * kDisplay.height() / kDisplay.width();
    if (width < 0 || height < 0) {
        *this = standard();
        return false;
    }
    return true;
}

PhotoPages::PhotoPages(MainWindow& window, Album& album, const SystemSettings& settings,
                       QObject* parent)
    : QObject(parent), window_(window), album_(album), settings_(settings) {
    connect(&window, &MainWindow::thumbnailClicked, this, &PhotoPages::clickThumbnail);
    connect(&window, &MainWindow::thumbnailDoubleClicked, this, &PhotoPages::doubleClickThumbnail);
    connect(&window, &MainWindow::thumbnailPointed, this, &PhotoPages::pointAt);
    connect(&window, &MainWindow::photoSelectionDropped, this, &PhotoPages::clearSelection);
    connect(&window, &MainWindow::opened, this,
            [this] { firstPageFlag_ = words::kFirstPageStart; });
    window.watchPhoto(this);

    window.setCommandHandler(Command::FirstPage, [this] { firstPage(); });
    window.setCommandHandler(Command::PreviousPage, [this] { previousPage(); });
    window.setCommandHandler(Command::NextPage, [this] { nextPage(); });
    window.setCommandHandler(Command::LastPage, [this] { lastPageCommand(); });
    window.setCommandHandler(Command::ViewPhoto, [this] { viewPhoto(); });
    window.setCommandHandler(Command::PreviewEffect,
                             [] { showMessage(texts::kDoubleClickToPreview); });
    window.setCommandHandler(Command::ZoomIn, [this] { zoomIn(); });
    window.setCommandHandler(Command::ZoomOut, [this] { zoomOut(); });
    window.setCommandHandler(Command::ZoomDefault, [this] { zoomDefault(); });
}

ProgressWindow& PhotoPages::progress() const {
    return progress_ ? *progress_ : ProgressWindow::shared();
}

int PhotoPages::lastPage() const {
    const int n = album_.photos().size();
    return n == 0 ? 0 : (n - 1) / kPhotosPerPage;
}

QString PhotoPages::selectedPhotoWord() const {
    return selected_ < 0 ? words::kNone : QString::number(selected_);
}

QString PhotoPages::pointedThumbnail() const {
    return pointed_ == 0 ? QString() : QStringLiteral("Image%1").arg(pointed_);
}

QString PhotoPages::dragStateWord() const {
    return dragging_ ? QStringLiteral("anxia") : QStringLiteral("songkai");
}

bool PhotoPages::selectionValid() const {
    return album_.photos().isValidRow(selected_);
}

bool PhotoPages::hasPhotos(bool tell) {
    if (album_.photos().isEmpty()) {
        if (tell) {
            showMessage(texts::kNoPhotos);
        }
        return false;
    }
    return true;
}

void PhotoPages::clearPages() {
    window_.clearThumbnails(false);
}

void PhotoPages::buildPage() {
    window_.clearThumbnails(true);
    const PhotoList& photos = album_.photos();
    const int first = kPhotosPerPage * page_;
    const int count = std::clamp(photos.size() - first, 0, kPhotosPerPage);
    const QVector<PhotoRecord> shown = photos.records().mid(first, count);
    captureFramedPhotos(canvas_, shown, kThumbnailBox, [&](int i, const QImage& capture) {
        progress().advance();
        window_.showThumbnail(i + 1, capture,
                              texts::kThumbnailHint.arg(first + i + 1).arg(shown[i].name));
    });
    ++pageBuilds_;
}

void PhotoPages::loadPage() {
    progress().run(texts::kLoadPhotosTitle, kPhotosPerPage, [this] {
        buildPage();
        if (firstPageFlag_ == words::kFirstPageStart) {
            buildPage();
            firstPageFlag_ = words::kFirstPageDone;
        }
    });
}

void PhotoPages::showFirstPageAfterAdding() {
    if (album_.photos().isEmpty()) {
        return;
    }
    page_ = 0;
    loadPage();
    selected_ = -1;
}

void PhotoPages::turnTo(int page, Command command) {
    page_ = page;
    window_.setCommandEnabled(command, false);
    loadPage();
    window_.setCommandEnabled(command, true);
}

void PhotoPages::firstPage() {
    if (!hasPhotos(true)) {
        return;
    }
    if (page_ == 0) {
        showMessage(texts::kAlreadyFirstPage);
        return;
    }
    turnTo(0, Command::FirstPage);
}

void PhotoPages::previousPage() {
    if (!hasPhotos(true)) {
        return;
    }
    if (page_ == 0) {
        showMessage(texts::kAlreadyFirstPage);
        return;
    }
    // After photos were deleted the page may lie beyond the last one.
    turnTo(std::min(page_ - 1, lastPage()), Command::PreviousPage);
}

void PhotoPages::nextPage() {
    if (!hasPhotos(true)) {
        return;
    }
    if (page_ >= lastPage()) {
        showMessage(texts::kAlreadyLastPage);
        return;
    }
    turnTo(page_ + 1, Command::NextPage);
}

void PhotoPages::lastPageCommand() {
    if (!hasPhotos(true)) {
        return;
    }
    if (page_ == lastPage()) {
        showMessage(texts::kAlreadyLastPage);
        return;
    }
    turnTo(lastPage(), Command::LastPage);
}

void PhotoPages::clickThumbnail(int k) {
    if (!hasPhotos(true)) {
        return;
    }
    const int row = kPhotosPerPage * page_ + k - 1;
    // An empty thumbnail, or one left from photos deleted since, does nothing.
    if (!window_.thumbnailHoldsPicture(k) || !album_.photos().isValidRow(row)) {
        return;
    }
    if (window_.playbackState() == PlaybackState::Playing) {
        showMessage(texts::kPlayingGuard);
        return;
    }
    zoom_ = ZoomBox::standard();
    selected_ = row;
    showPhoto(selected_, ZoomBox::kDisplay);
}

void PhotoPages::doubleClickThumbnail(int k) {
    if (window_.playbackState() == PlaybackState::Playing) {
        showMessage(texts::kPlayingGuard);
        return;
    }
    const int row = kPhotosPerPage * page_ + k - 1;
    if (!window_.thumbnailHoldsPicture(k) || !album_.photos().isValidRow(row)) {
        return;
    }
    if (templatesOfPhoto_) {
        templatesOfPhoto_(row);
    }
    clickThumbnail(k);
}

void PhotoPages::viewPhoto() {
    if (pointed_ >= 1 && pointed_ <= kPhotosPerPage) {
        clickThumbnail(pointed_);
    }
}

void PhotoPages::zoomIn() {
    if (!hasPhotos(true)) {
        return;
    }
    if (!selectionValid()) {
        showMessage(texts::kNoPhotoSelected);
        return;
    }
    if (!zoom_.zoomIn()) {
        showMessage(texts::kCannotZoomInFurther);
        return;
    }
    showPhoto(selected_, zoom_.size());
}

void PhotoPages::zoomOut() {
    if (!hasPhotos(true)) {
        return;
    }
    if (!selectionValid()) {
        showMessage(texts::kNoPhotoSelected);
        return;
    }
    if (!zoom_.zoomOut()) {
        showMessage(texts::kCannotZoomOutFurther);
    }
    showPhoto(selected_, zoom_.size());
}

void PhotoPages::zoomDefault() {
    if (!hasPhotos(true)) {
        return;
    }
    if (!selectionValid()) {
        showMessage(texts::kNoPhotoSelected);
        return;
    }
    zoom_ = ZoomBox::standard();
    showPhoto(selected_, zoom_.size());
}

void PhotoPages::showPhoto(int row, QSize box) {
    canvas_.hideBadge();
    window_.clearPhoto();
    if (!album_.photos().isValidRow(row)) {
        return;
    }
    const PhotoRecord& photo = album_.photos().at(row);
    canvas_.clearPicture();
    canvas_.apply(fitContain(box.width(), box.height(), photo.width, photo.height,
                             settings_.landscapeDisplayMedium(),
                             settings_.portraitDisplayMedium()));
    canvas_.loadPhoto(photo.location);
    window_.showPhoto(canvas_.capture());
}

bool PhotoPages::eventFilter(QObject* watched, QEvent* event) {
    // Only the display's photo is watched. While the main window is destroyed the photo still
    // sends events here, and the window may no longer be asked for anything.
    auto* picture = qobject_cast<QWidget*>(watched);
    if (!picture) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                dragging_ = true;
                dragOrigin_ = mouse->position().toPoint();
                return true;
            }
            break;
        }
        case QEvent::MouseMove: {
            if (dragging_ && selectionValid()) {
                const auto* mouse = static_cast<QMouseEvent*>(event);
                // The mouse in the main window less the display's corner, that is in the
                // display, less the point where the picture was taken.
                picture->move(picture->mapToParent(mouse->position().toPoint()) - dragOrigin_);
                return true;
            }
            break;
        }
        case QEvent::MouseButtonRelease: {
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                dragging_ = false;
                return true;
            }
            break;
        }
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

QString idleTotalTime(const Album& album) {
    return album.outputOptions().sync == SyncMode::WithTemplate
               ? clockTextOfFrames(albumTotalFrames(album))
               : texts::kClockZero;
}

PhotoWindows::PhotoWindows(MainWindow& window, Album& album, const SystemSettings& settings)
    : QObject(&window), window_(window), album_(album) {
    photoList_ = new PhotoListWindow(album, settings, &window);
    backgrounds_ = new BackgroundWindow(album, &window);
    crop_ = new CropWindow(album, &window);
    options_ = new TemplateOptionsWindow(&window);
    photoList_->setOptionsWindow(options_);
    pages_ = new PhotoPages(window, album, settings, this);
    connect(&album, &Album::changed, this, [this] {
        showSummary();
        // The photo list became empty: no thumbnail keeps a photo that is gone.
        if (album_.photos().isEmpty()) {
            pages_->clearPages();
        }
    });

    window.setCommandHandler(Command::AddPhotos, [this] {
        photoList_->exec();
        pages_->showFirstPageAfterAdding();
    });
    window.setCommandHandler(Command::Backgrounds, [this] { backgrounds_->exec(); });
    window.setCommandHandler(Command::Crop, [this] { crop_->exec(); });
}

void PhotoWindows::showReplacedAlbum() {
    window_.clearThumbnails(true);
    window_.clearPhoto();
    pages_->showFirstPageAfterAdding();
}

void PhotoWindows::showSummary() {
    QList<QStringList> rows;
    const UsedTemplates& templates = album_.templates();
    for (int t = 0; t < templates.size(); ++t) {
        rows << QStringList{QString::number(t + 1), templates.at(t).info->name,
                            templates.at(t).info->duration};
    }
    window_.setSummary(SummaryKind::Templates, rows);
    window_.showTotalTime(idleTotalTime(album_));
    window_.setAlbumHasPhotos(!album_.photos().isEmpty());
}

}  // namespace vellumo
