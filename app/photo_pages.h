#pragma once

// The photo pages of the main window: the nine thumbnails page through the album's photos; a
// click shows the photo large in the main display (fitted with "contain" and the display
// settings), where it is zoomed in steps and dragged with the mouse. Pages are turned by the
// page commands and the thumbnails' context menu. Also the photo windows of the program and
// the main window's "添加照片" and "背景图片" commands.

#include <QObject>
#include <QPoint>
#include <QSize>
#include <functional>

#include "app/commands.h"
#include "photo/fitting_canvas.h"

class QWidget;

namespace vellumo {

class Album;
class BackgroundWindow;
class CropWindow;
class MainWindow;
class PhotoListWindow;
class ProgressWindow;
class SystemSettings;
class TemplateOptionsWindow;

// The box the selected photo is fitted into, and its steps: a tenth of the display's width, the
// height following in the display's shape.
struct ZoomBox {
    static constexpr QSize kDisplay{800, 450};
    static constexpr int kStep = kDisplay.width() / 10;
    // Zooming in stops here: beyond it the picture alone would take hundreds of megabytes.
    static constexpr int kMaxWidth = 5 * kDisplay.width();

    int width = kDisplay.width() - 6;
    int height = kDisplay.height() - 6;

    static ZoomBox standard() { return {}; }
    QSize size() const { return {width, height}; }
    // False (and unchanged) past the largest box.
    bool zoomIn();
    // False when the box would turn negative; it is then back at the default.
    bool zoomOut();
};

class PhotoPages : public QObject {
    Q_OBJECT
public:
    static constexpr int kPhotosPerPage = 9;

    PhotoPages(MainWindow& window, Album& album, const SystemSettings& settings,
               QObject* parent = nullptr);

    void setProgressWindow(ProgressWindow* progress) { progress_ = progress; }
    // Opens the templates that use a photo (double-click on a thumbnail).
    void setTemplatesOfPhotoHandler(std::function<void(int photoRow)> handler) {
        templatesOfPhoto_ = std::move(handler);
    }

    int pageNumber() const { return page_; }
    void setPageNumber(int page) { page_ = page; }
    // (N − 1) div 9 for N photos; 0 without photos.
    int lastPage() const;
    // The selected photo's row, -1 for "wu".
    int selectedPhoto() const { return selected_; }
    QString selectedPhotoWord() const;
    // Back to "wu" (the album preview does this before it starts).
    void clearSelection() { selected_ = -1; }
    ZoomBox zoomBox() const { return zoom_; }
    // "Image1" … "Image9", empty before the mouse has been over a thumbnail.
    QString pointedThumbnail() const;
    // "anxia" while the left button is down on the display's picture, else "songkai".
    QString dragStateWord() const;
    // How many times the nine thumbnails have been built (the first page is built twice).
    int pageBuilds() const { return pageBuilds_; }
    // "kaishi" from the main window's opening until the first photo page has been loaded, then
    // "jieshu".
    QString firstPageFlag() const { return firstPageFlag_; }
    void setFirstPageFlag(const QString& flag) { firstPageFlag_ = flag; }

    // Fills the nine thumbnails for the current page in the progress window "加载照片".
    void loadPage();
    // Empties the thumbnails' pictures; selection and hints stay.
    void clearPages();
    // After "添加照片": page 0 loaded when there are photos, then no photo selected.
    void showFirstPageAfterAdding();

    void firstPage();
    void previousPage();
    void nextPage();
    void lastPageCommand();
    // A click on thumbnail k (1 … 9).
    void clickThumbnail(int k);
    void doubleClickThumbnail(int k);
    void pointAt(int k) { pointed_ = k; }
    void viewPhoto();
    void zoomIn();
    void zoomOut();
    void zoomDefault();
    // Shows photo row in the main display fitted into box, centred (cut where it overflows).
    void showPhoto(int row, QSize box);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ProgressWindow& progress() const;
    bool hasPhotos(bool tell);
    void turnTo(int page, Command command);
    void buildPage();
    bool selectionValid() const;

    MainWindow& window_;
    Album& album_;
    const SystemSettings& settings_;
    FittingCanvas canvas_;
    ProgressWindow* progress_ = nullptr;
    std::function<void(int)> templatesOfPhoto_;

    int page_ = 0;
    int selected_ = -1;
    ZoomBox zoom_;
    int pointed_ = 0;
    bool dragging_ = false;
    QPoint dragOrigin_;
    int pageBuilds_ = 0;
    QString firstPageFlag_;
};

// The total time the clock shows while nothing plays: the album's templates and closing movie
// when the album follows the templates, "00:00:00" when it follows the music.
QString idleTotalTime(const Album& album);

// The photo windows of the program, created once as children of the main window: the photo list,
// the background window, the template options window and the photo pages. They take the main
// window's commands "添加照片" (after which the first photo page is shown) and "背景图片", and
// the page, zoom and photo commands. The templates summary, the total time and the start picture
// follow the album's changes.
class PhotoWindows : public QObject {
    Q_OBJECT
public:
    PhotoWindows(MainWindow& window, Album& album, const SystemSettings& settings);

    PhotoListWindow* photoList() const { return photoList_; }
    BackgroundWindow* backgrounds() const { return backgrounds_; }
    CropWindow* cropWindow() const { return crop_; }
    TemplateOptionsWindow* options() const { return options_; }
    PhotoPages* pages() const { return pages_; }

    // Another album took the place of the one shown (opened, new, recovered): no thumbnail and
    // no photo of the old one stays, and the first page of the new one is shown.
    void showReplacedAlbum();

private:
    // The templates summary, the total time and the start picture, from the album.
    void showSummary();

    MainWindow& window_;
    Album& album_;
    PhotoListWindow* photoList_ = nullptr;
    BackgroundWindow* backgrounds_ = nullptr;
    CropWindow* crop_ = nullptr;
    TemplateOptionsWindow* options_ = nullptr;
    PhotoPages* pages_ = nullptr;
};

}  // namespace vellumo
