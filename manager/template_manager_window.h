#pragma once

// The template manager ("模板管理"), where the album is built by hand: the template catalogue and
// the used templates on the left, the photo slots of the selected used template and all photos
// of the album on the right. Catalogue templates are used (added to the album) or previewed;
// a used template is selected to show its slot boxes, and a photo tile dragged onto a slot box
// (or picked up with a click and put down with a click on the box) puts the photo there; used
// templates are previewed once all their slots are filled, and deleted one or all at a time.
// The album changes only through its model functions.

#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QVector>
#include <functional>

#include "dialogs/file_chooser.h"
#include "dialogs/skinned_dialog.h"
#include "manager/template_install.h"
#include "manager/template_manager.h"
#include "project/album.h"

class QCheckBox;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTreeWidget;

namespace vellumo {

class Album;
class TemplatePreviewWindow;

class TemplateManagerWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{1121, 643};

    TemplateManagerWindow(Album& album, TemplatePreviewWindow& preview, QWidget* parent = nullptr);
    ~TemplateManagerWindow() override;

    // Opens the window modally: no template selected, the detail fields cleared; the photo tiles
    // are loaded once it shows. Returns when it has closed.
    void openForUse();

    // The commands.
    void useTemplate();
    void previewCatalogueTemplate();
    // A click in the used-template list: shows the slots of the current row.
    void selectUsedTemplate();
    void previewUsedTemplate();
    void deleteUsedTemplate();
    void deleteAllUsedTemplates();
    // "自动匹配照片": the automatic placement of every photo still waiting, as "自动套版" runs
    // it (adding templates); the used-template list and the shown slot boxes follow.
    void autoMatch();
    // "添加外部模板文件": asks for a parameter package, then its movie package, and installs
    // the pair through the installer; the catalogue list shows the catalogue afterwards. Does
    // nothing while no installer is set.
    void addExternalTemplate();

    // Installs a parameter package and its movie package into the catalogue the album uses.
    using TemplateInstaller = std::function<TemplateInstallResult(const QString& parameterPackage,
                                                                  const QString& moviePackage)>;
    void setTemplateInstaller(TemplateInstaller installer) { installer_ = std::move(installer); }
    void setFileChooser(FileChooser chooser) { fileChooser_ = std::move(chooser); }

    // Carrying a photo to a slot box. Pressing its tile at a point of the window picks it up (or
    // tells that no template is shown) and the drag tile follows the pointer. Released after a
    // move, it is put down where it is: on a slot box, or given up elsewhere. Released where it
    // was pressed (a click), it stays picked up and follows the pointer until the next click:
    // on a slot box it is put down there, on another photo tile that one is picked up instead,
    // anywhere else it is given up. Esc and the right button give it up at any time.
    enum class DragState {
        Idle,
        Held,     // the button is down on it ("anxia")
        Carried,  // picked up by a click, following the pointer
    };
    void pressPhotoTile(int photoRow, QPoint windowPos);
    void moveDragTile(QPoint windowPos);
    void releaseDragTile(QPoint windowPos);
    DragState dragState() const { return dragState_; }
    // The drop onto slot box slotIndex of the shown template: refused with a message when the
    // orientation does not fit, else the slot box shows the photo. False when nothing changed.
    bool dropPhoto(int photoRow, int slotIndex);

    // The 1-based number of the shown template, 0 when none is.
    int selectedTemplateNumber() const { return selected_ + 1; }
    // "wu" or "xiezai_zhaopian_kuang".
    QString slotBoxesStateWord() const;
    bool isLoadingPhotos() const { return loading_; }
    bool isDemonstrating() const { return demonstrating_; }

    QTreeWidget* catalogueList() const { return catalogue_; }
    QTreeWidget* usedList() const { return used_; }
    QLineEdit* detail(int i) const { return details_[i]; }
    QWidget* slotPanel() const { return slotPanel_; }
    QWidget* photoPanel() const { return photoPanel_; }
    QProgressBar* progressBar() const { return progress_; }
    QCheckBox* demonstrationCheck() const { return demonstration_; }
    QLabel* demonstrationLabel() const { return demonstrationLabel_; }
    QLabel* dragTile() const { return dragTile_; }
    QPushButton* previewTemplateButton() const { return previewTemplate_; }
    QPushButton* useButton() const { return use_; }
    QPushButton* externalButton() const { return external_; }
    QPushButton* previewButton() const { return preview_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    QPushButton* autoMatchButton() const { return autoMatch_; }
    // The picture boxes and labels of the photo tiles ("Imagem_i", "Label_i") and of the slot
    // boxes ("Imagem_ki", "Label_ki").
    const QVector<QLabel*>& photoTiles() const { return tiles_; }
    const QVector<QLabel*>& photoLabels() const { return tileLabels_; }
    const QVector<QLabel*>& slotBoxes() const { return slotBoxes_; }
    const QVector<QLabel*>& slotLabels() const { return slotLabels_; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeLabelReleased() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

public slots:
    // Closes the window, except while the photos load; during a demonstration the command it
    // shows is called off and the window closes once the demonstration has stopped.
    void reject() override;

private:
    void buildLists();
    void buildPanels();
    void buildButtons();
    void fillCatalogue();
    void fillUsedList();
    void refreshUsedRow(int t);
    void loadPhotoTiles();
    void destroyPhotoTiles();
    void destroySlotBoxes();
    void buildSlotBoxes(int t);
    void showDetails(int t);
    void clearDetails();
    // The used-template row under the selection, -1 when none.
    int currentUsedRow() const;
    // Disables the controls for an animation and runs it along path. False when the window was
    // asked to close meanwhile: the animation stopped, the window closed, and the command it
    // announced must not run.
    bool runDemonstration(const QVector<QPoint>& path, int pauseMs);
    void setControlsEnabled(bool enabled);
    // The slot box under a point of the window, -1 when none.
    int slotIndexAt(QPoint windowPos) const;
    // Outlines the slot box a photo would be put down on (none: -1).
    void markTargetSlot(int slotIndex);
    // The photo tile under a point of the window, -1 when none.
    int photoTileAt(QPoint windowPos) const;
    // Puts a photo that is held or carried back: nothing changes.
    void cancelDrag();
    // The mouse and keys while a photo is held or carried, wherever in the window they go.
    bool dragEvent(QEvent* event);
    // Deleting used templates: no slot box, no selection and no details stay behind; the user
    // is told done.
    void removeTemplates(const std::function<void(Album&)>& remove, const QString& done);
    // A change the window did not make itself (another window, a command run while it is
    // open): the lists and boxes it shows are read again.
    void followAlbum(AlbumParts parts);

    Album& album_;
    TemplatePreviewWindow& previewWindow_;
    TemplateInstaller installer_;
    FileChooser fileChooser_ = chooseFiles;
    int selected_ = -1;
    bool slotBoxesExist_ = false;
    bool loading_ = false;
    bool demonstrating_ = false;
    bool closeAfterDemonstration_ = false;
    // True while the window changes the album itself; it updates what it shows on its own.
    bool ownChange_ = false;

    // The drag: the photo, the press point inside the drag tile, where the button went down.
    int dragRow_ = -1;
    QPoint dragOffset_;
    QPoint pressPos_;
    DragState dragState_ = DragState::Idle;

    QTreeWidget* catalogue_ = nullptr;
    QTreeWidget* used_ = nullptr;
    QVector<QLineEdit*> details_;
    QScrollArea* slotScroll_ = nullptr;
    QScrollArea* photoScroll_ = nullptr;
    QWidget* slotPanel_ = nullptr;
    QWidget* photoPanel_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QCheckBox* demonstration_ = nullptr;
    QLabel* demonstrationLabel_ = nullptr;
    QLabel* dragTile_ = nullptr;
    QPushButton* previewTemplate_ = nullptr;
    QPushButton* use_ = nullptr;
    QPushButton* external_ = nullptr;
    QPushButton* preview_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    QPushButton* autoMatch_ = nullptr;
    QVector<QLabel*> tiles_;
    QVector<QLabel*> tileLabels_;
    QVector<QImage> tilePictures_;
    QVector<QLabel*> slotBoxes_;
    QVector<QLabel*> slotLabels_;
};

}  // namespace vellumo
