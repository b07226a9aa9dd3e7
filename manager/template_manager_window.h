#pragma once

// The template manager ("模板管理"), where the album is built by hand: the template catalogue and
// the used templates on the left, the photo slots of the selected used template and all photos
// of the album on the right. Catalogue templates are used (added to the album) or previewed;
// a used template is selected to show its slot boxes, and a photo tile dragged onto a slot box
// puts the photo there; used templates are previewed once all their slots are filled, and
// deleted one or all at a time. The album changes only through its model functions.

#include <QImage>
#include <QLabel>
#include <QPoint>
#include <QVector>
#include <functional>

#include "dialogs/file_chooser.h"
#include "dialogs/skinned_dialog.h"
#include "manager/template_install.h"
#include "manager/template_manager.h"

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

    // The drag of a photo: pressing its tile at a point of the window picks it up (or tells that
    // no template is shown); moving and releasing the drag tile carry it onto a slot box.
    void pressPhotoTile(int photoRow, QPoint windowPos);
    void moveDragTile(QPoint windowPos);
    void releaseDragTile(QPoint windowPos);
    // The drop onto slot box slotIndex of the shown template: refused with a message when the
    // orientation does not fit, else the slot box shows the photo. False when nothing changed.
    bool dropPhoto(int photoRow, int slotIndex);

    // The 1-based number of the shown template, 0 when none is.
    int selectedTemplateNumber() const { return selected_ + 1; }
    // "wu" or "xiezai_zhaopian_kuang".
    QString slotBoxesStateWord() const;
    bool isLoadingPhotos() const { return loading_; }

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
    // Disables the controls for an animation and runs it along path.
    void runDemonstration(const QVector<QPoint>& path, int pauseMs);
    void setControlsEnabled(bool enabled);
    // The slot box under a point of the window, -1 when none.
    int slotIndexAt(QPoint windowPos) const;
    void cancelDrag();
    // Deleting used templates: no slot box, no selection and no details stay behind; the user
    // is told done.
    void removeTemplates(const std::function<void(UsedTemplates&)>& remove, const QString& done);

    Album& album_;
    TemplatePreviewWindow& previewWindow_;
    TemplateInstaller installer_;
    FileChooser fileChooser_ = chooseFiles;
    int selected_ = -1;
    bool slotBoxesExist_ = false;
    bool loading_ = false;

    // The drag: the photo, the press point inside the drag tile, whether the button is down.
    int dragRow_ = -1;
    QPoint dragOffset_;
    bool dragging_ = false;

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
