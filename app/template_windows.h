#pragma once

// The template windows of the program, created once as children of the main window: the
// template preview window and the photo template chooser. A double-click on a photo of the photo
// pages opens the chooser; the chooser's offer to complete a template runs the main window's
// "模板管理" command on the next tick.

#include <QObject>

namespace vellumo {

class Album;
class MainWindow;
class PhotoTemplateChooser;
class TemplatePreviewWindow;

class TemplateWindows : public QObject {
    Q_OBJECT
public:
    // Installs itself on the photo pages of the window's photo windows, when there are any.
    TemplateWindows(MainWindow& window, const Album& album);

    // The windows installed on a main window, or none.
    static TemplateWindows* of(const MainWindow& window);

    TemplatePreviewWindow* preview() const { return preview_; }
    PhotoTemplateChooser* chooser() const { return chooser_; }

    // The double-click on a photo: nothing when no slot holds it, else the chooser.
    void openTemplatesOfPhoto(int photoRow);

private:
    MainWindow& window_;
    const Album& album_;
    TemplatePreviewWindow* preview_ = nullptr;
    PhotoTemplateChooser* chooser_ = nullptr;
};

}  // namespace vellumo
