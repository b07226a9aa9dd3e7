#pragma once

// The system settings: in-memory choices for the run, nothing is stored. Every run starts with
// the defaults. Readers ask for the current choice at the moment they need it.

#include <QObject>

namespace vellumo {

// "适中" shows the whole photo inside its box; "全屏" fills the box's width.
enum class PhotoFit { Medium, FullScreen };

enum class TemplateCombination { Use, DoNotUse };

class SystemSettings : public QObject {
    Q_OBJECT
public:
    explicit SystemSettings(QObject* parent = nullptr);

    // Shown and changeable, but photos are placed "full screen" whatever it says.
    PhotoFit landscapeImportCrop() const { return landscapeImportCrop_; }
    void setLandscapeImportCrop(PhotoFit fit);

    // A group with a single choice, always on.
    bool portraitImportCropMedium() const { return true; }

    PhotoFit landscapeDisplay() const { return landscapeDisplay_; }
    void setLandscapeDisplay(PhotoFit fit);
    bool landscapeDisplayMedium() const { return landscapeDisplay_ == PhotoFit::Medium; }

    // A group with a single choice, always on.
    bool portraitDisplayMedium() const { return true; }

    TemplateCombination templateCombination() const { return templateCombination_; }
    void setTemplateCombination(TemplateCombination combination);
    bool useTemplateCombination() const { return templateCombination_ == TemplateCombination::Use; }

    // Each batch of added photos is put in the order the photos were taken before it is placed
    // (off: the order they were chosen in).
    bool orderByTimeTaken() const { return orderByTimeTaken_; }
    void setOrderByTimeTaken(bool on);

    // Puts every setting back to its default.
    void restoreDefaults();

signals:
    void changed();

private:
    PhotoFit landscapeImportCrop_ = PhotoFit::FullScreen;
    PhotoFit landscapeDisplay_ = PhotoFit::FullScreen;
    TemplateCombination templateCombination_ = TemplateCombination::DoNotUse;
    bool orderByTimeTaken_ = false;
};

}  // namespace vellumo
