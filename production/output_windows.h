#pragma once

// The windows that settle the output options: the album type window (size, name), the picture
// quality window (television system, quality) and the sync window.

#include <QString>

#include "album/output_options.h"
#include "dialogs/skinned_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vellumo {

// "zhizuo_kaishi" when "开始制作" closed it with a name, "zhizuo_quxiao" otherwise.
enum class AlbumTypeResult { Start, Cancel };
QString albumTypeResultWord(AlbumTypeResult result);

class AlbumTypeWindow : public SkinnedDialog {
    Q_OBJECT
public:
    AlbumTypeWindow(OutputOptions& options, QWidget* parent = nullptr);

    // Rebuilds the size list for the options' album type, preselects index 4 (or, for a type
    // that can be a disc and the options' choice of it, the disc image) and shows the window
    // modally.
    AlbumTypeResult choose();

    QComboBox* sizeList() const { return sizes_; }
    QLabel* currentSize() const { return current_; }
    QLineEdit* nameEdit() const { return name_; }
    QPushButton* startButton() const { return start_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* defaultButton() const { return default_; }
    // "光盘映像 (可刻录)", shown for the types that can be a disc: the album at the standard's
    // size, written as a disc image.
    QCheckBox* discImage() const { return disc_; }
    // "高效编码 (H.265)", shown for MP4 in the disc image's place (an MP4 is never a disc).
    QCheckBox* efficientCoding() const { return h265_; }

private:
    void sizeChosen(int index);
    void discChosen(bool on);
    void startPressed();

    OutputOptions& options_;
    QComboBox* sizes_ = nullptr;
    QLabel* current_ = nullptr;
    QLabel* type_ = nullptr;
    QLineEdit* name_ = nullptr;
    QPushButton* start_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* default_ = nullptr;
    QCheckBox* disc_ = nullptr;
    // The size last chosen from the list, shown again when the disc image is cleared.
    int listedSize_ = 0;
    QCheckBox* h265_ = nullptr;
    AlbumTypeResult result_ = AlbumTypeResult::Cancel;
};

class QualityWindow : public SkinnedDialog {
    Q_OBJECT
public:
    QualityWindow(OutputOptions& options, QWidget* parent = nullptr);
    QRadioButton* pal() const { return pal_; }
    QRadioButton* ntsc() const { return ntsc_; }
    QRadioButton* standard() const { return standard_; }
    QRadioButton* high() const { return high_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    OutputOptions& options_;
    QRadioButton* pal_ = nullptr;
    QRadioButton* ntsc_ = nullptr;
    QRadioButton* standard_ = nullptr;
    QRadioButton* high_ = nullptr;
};

class SyncWindow : public SkinnedDialog {
    Q_OBJECT
public:
    SyncWindow(OutputOptions& options, QWidget* parent = nullptr);
    QRadioButton* withTemplate() const { return withTemplate_; }
    QRadioButton* withMusic() const { return withMusic_; }
    QCheckBox* levelMusic() const { return levelMusic_; }
    QCheckBox* crossfadeSongs() const { return crossfadeSongs_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    OutputOptions& options_;
    QRadioButton* withTemplate_ = nullptr;
    QRadioButton* withMusic_ = nullptr;
    QCheckBox* levelMusic_ = nullptr;
    QCheckBox* crossfadeSongs_ = nullptr;
};

}  // namespace vellumo
