#pragma once

// The photo list window ("添加照片"): the album's photos with their seven columns, a preview box
// and an information panel. It adds photos (the add task and the automatic placement run in the
// progress window; with the combination setting on, the template options window decides how),
// deletes one or all, places the photos that have no template ("自动套版") and shows the
// selected photo.

#include "album/photo_list.h"
#include "lists/record_list_window.h"

namespace vellumo {

class Album;
class ProgressWindow;
class SystemSettings;
class TemplateOptionsWindow;

class PhotoListWindow : public RecordListWindow {
    Q_OBJECT
public:
    PhotoListWindow(Album& album, const SystemSettings& settings, QWidget* parent = nullptr);

    // The window that asks how to place added photos when the combination setting is on.
    void setOptionsWindow(TemplateOptionsWindow* options) { options_ = options; }
    void setProgressWindow(ProgressWindow* progress) { progress_ = progress; }

    void addPhotos();
    void placeUnassigned();

    QPushButton* autoPlaceButton() const { return autoPlace_; }
    // How many files the last add-photo dialog returned (the "自动套版" bar counts twice that).
    int lastChosenCount() const { return lastChosen_; }

signals:
    // The photo list became empty: the photo pages are cleared.
    void photosCleared();

protected:
    bool showRecord(int row) override;
    QString deleteQuestion(int row) const override;
    void recordsRemoved() override;

private:
    ProgressWindow& progress() const;
    void addWithRotation();
    void addWithCombination();
    // The order a batch of added photos takes, from the settings.
    PhotoOrder addOrder() const;
    // Runs passes in the progress window until every photo is placed or none more can be.
    void runPlacement();

    Album& album_;
    const SystemSettings& settings_;
    TemplateOptionsWindow* options_ = nullptr;
    ProgressWindow* progress_ = nullptr;
    int lastChosen_ = 0;

    QPushButton* autoPlace_ = nullptr;
};

}  // namespace vellumo
