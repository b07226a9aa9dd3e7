#pragma once

// The photo list window ("添加照片"): the album's photos with their seven columns, a preview box
// and an information panel. It adds photos (the add task and the automatic placement run in the
// progress window; with the combination setting on, the template options window decides how),
// deletes one or all, places the photos that have no template ("自动套版") and shows the
// selected photo. Also the JPG file chooser the background window shares.

#include <QStringList>
#include <functional>

#include "dialogs/skinned_dialog.h"
#include "photo/fitting_canvas.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vellumo {

class Album;
class ProgressWindow;
class SystemSettings;
class TemplateOptionsWindow;

// "描述|*.jpg;*.jpeg;" as a Qt name filter whose patterns match the extensions in any case
// ("*.[jJ][pP][gG]"), as the original platform's dialog did.
QString anyCaseNameFilter(const QString& filter);

// Lets the user choose JPG files: several or one. Returns them in the dialog's order; none on
// cancel. Tests put their own chooser in place.
using PhotoFileChooser =
    std::function<QStringList(QWidget* parent, const QString& caption, bool several)>;
QStringList choosePhotoFiles(QWidget* parent, const QString& caption, bool several);

// A read-only field with its label, in a column.
class FieldPanel : public QWidget {
    Q_OBJECT
public:
    FieldPanel(const QStringList& labels, int labelWidth, QWidget* parent);
    void showValues(const QStringList& values);
    void clear();
    QString value(int field) const;
    QLineEdit* field(int index) const { return fields_.at(index); }

private:
    QList<QLineEdit*> fields_;
};

// The selected row of a list, -1 when none is selected.
int selectedListRow(const QTreeWidget* list);

class PhotoListWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{880, 520};
    static constexpr QSize kPreviewBox{201, 169};

    PhotoListWindow(Album& album, const SystemSettings& settings, QWidget* parent = nullptr);

    void setFileChooser(PhotoFileChooser chooser) { chooser_ = std::move(chooser); }
    // The window that asks how to place added photos when the combination setting is on.
    void setOptionsWindow(TemplateOptionsWindow* options) { options_ = options; }
    void setProgressWindow(ProgressWindow* progress) { progress_ = progress; }

    void addPhotos();
    void deleteSelected();
    void deleteAll();
    void placeUnassigned();
    // Shows the selected row's photo in the preview box and its fields in the panel.
    void showSelected();
    // Rebuilds the list from the album, numbered 1, 2, 3 …; no row is selected afterwards.
    void refreshList();
    // Empties the preview box, its hint and the information panel.
    void clearPreview();

    QTreeWidget* list() const { return list_; }
    QLabel* preview() const { return preview_; }
    FieldPanel* info() const { return info_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    QPushButton* autoPlaceButton() const { return autoPlace_; }
    QPushButton* returnButton() const { return return_; }
    // How many files the last add-photo dialog returned (the "自动套版" bar counts twice that).
    int lastChosenCount() const { return lastChosen_; }

signals:
    // The photo list became empty: the photo pages are cleared.
    void photosCleared();
    // Photos, templates or backgrounds changed.
    void albumChanged();

protected:
    void showEvent(QShowEvent* event) override;

private:
    ProgressWindow& progress() const;
    void addWithRotation();
    void addWithCombination();
    // Runs passes in the progress window until every photo is placed or none more can be.
    void runPlacement();

    Album& album_;
    const SystemSettings& settings_;
    FittingCanvas canvas_;
    PhotoFileChooser chooser_ = choosePhotoFiles;
    TemplateOptionsWindow* options_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    int lastChosen_ = 0;

    QTreeWidget* list_ = nullptr;
    QLabel* preview_ = nullptr;
    FieldPanel* info_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    QPushButton* autoPlace_ = nullptr;
    QPushButton* return_ = nullptr;
};

}  // namespace vellumo
