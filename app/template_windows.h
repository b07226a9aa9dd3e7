#pragma once

// The template windows of the program, created once as children of the main window: the
// template manager, the template preview window and the photo template chooser. The main
// window's "模板管理" command opens the manager (never without photos). A double-click on a photo
// of the photo pages opens the chooser; the chooser's offer to complete a template runs "模板管理"
// on the next tick.

#include <QObject>

namespace vellumo {

class Album;
class MainWindow;
class PhotoPages;
class PhotoTemplateChooser;
class TemplateManagerWindow;
class TemplatePreviewWindow;

class TemplateWindows : public QObject {
    Q_OBJECT
public:
    // Installs itself on the photo pages, when there are any, and registers the "模板管理"
    // command.
    TemplateWindows(MainWindow& window, Album& album, PhotoPages* pages = nullptr);

    TemplateManagerWindow* manager() const { return manager_; }
    TemplatePreviewWindow* preview() const { return preview_; }
    PhotoTemplateChooser* chooser() const { return chooser_; }

    // The double-click on a photo: nothing when no slot holds it, else the chooser.
    void openTemplatesOfPhoto(int photoRow);
    // "模板管理": refused without photos.
    void openManager();

private:
    MainWindow& window_;
    Album& album_;
    TemplateManagerWindow* manager_ = nullptr;
    TemplatePreviewWindow* preview_ = nullptr;
    PhotoTemplateChooser* chooser_ = nullptr;
};

}  // namespace vellumo
