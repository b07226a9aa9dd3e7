#include "app/template_windows.h"

#include <QPointer>
#include <QTimer>

#include "app/main_window.h"
#include "app/photo_pages.h"
#include "dialogs/message_dialog.h"
#include "manager/manager_texts.h"
#include "manager/photo_template_chooser.h"
#include "manager/template_manager_window.h"
#include "manager/template_preview_window.h"
#include "project/album.h"

namespace vellumo {

TemplateWindows::TemplateWindows(MainWindow& window, Album& album, PhotoPages* pages)
    : QObject(&window), window_(window), album_(album) {
    preview_ = new TemplatePreviewWindow(album, &window);
    chooser_ = new PhotoTemplateChooser(album, *preview_, &window);
    manager_ = new TemplateManagerWindow(album, *preview_, &window);
    window.setCommandHandler(Command::TemplateManager, [this] { openManager(); });
    if (pages) {
        pages->setTemplatesOfPhotoHandler([this](int photoRow) { openTemplatesOfPhoto(photoRow); });
    }
    // The main window's command timer: the command runs once the chooser has been left.
    connect(chooser_, &PhotoTemplateChooser::completionRequested, this, [this] {
        QTimer::singleShot(1, &window_, [window = QPointer<MainWindow>(&window_)] {
            if (window) {
                window->runCommand(Command::TemplateManager);
            }
        });
    });
}

void TemplateWindows::openManager() {
    if (album_.photos().isEmpty()) {
        showMessage(texts::kNoPhotosToMatch);
        return;
    }
    manager_->openForUse();
}

void TemplateWindows::openTemplatesOfPhoto(int photoRow) {
    const ChooserOpening opening = chooserOpening(album_.templates(), photoRow);
    if (opening == ChooserOpening::Nothing) {
        return;
    }
    chooser_->setPhoto(photoRow, opening == ChooserOpening::Automatic);
    chooser_->exec();
}

}  // namespace vellumo
