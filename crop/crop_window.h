#pragma once

// The crop window ("照片剪裁"): the filled slots in a list; the selected slot's photo on an
// 800 × 450 stage inside its crop frame, to be dragged with the mouse and zoomed with the
// buttons or the wheel; "保存剪裁" writes the shown placement back into the slot. Nothing else
// changes the album, and closing never writes. The photo is decoded once per selected row and
// kept; every zoom step is drawn from that picture.

#include <QImage>
#include <QWidget>

#include "crop/crop_model.h"
#include "dialogs/skinned_dialog.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;

namespace vellumo {

class Album;
class CropWindow;

// The dark-grey stage: the hatched crop frame with the photo in it.
class CropStage : public QWidget {
    Q_OBJECT
public:
    explicit CropStage(CropWindow& window);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    // The shown photo in stage coordinates, cut to the crop frame.
    QRect visiblePhoto() const;

    CropWindow& window_;
};

class CropWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{1180, 660};

    explicit CropWindow(Album& album, QWidget* parent = nullptr);

    // Rebuilds the list and clears the stage, the selection and the details (every opening).
    void reload();
    // A click in the list: shows row k (-1: no row under the click).
    void selectRow(int k);
    void zoomIn();
    void zoomOut();
    // The wheel turned by angle (eighths of a degree, as Qt gives it): a zoom step per 120 in one
    // direction, the rest kept for the next turn. At a zoom limit it stops without a word.
    void turnWheel(int angle);
    void defaultSize();
    void chooseOption(CropOption option);
    void save();

    const QVector<CropRow>& rows() const { return rows_; }
    int selectedRow() const { return selected_; }
    const CropState& state() const { return state_; }
    // The photo as drawn on the stage: the kept picture at the shown size.
    const QImage& shownPhoto() const { return shown_; }

    CropStage* stage() const { return stage_; }
    QTreeWidget* list() const { return list_; }
    QLineEdit* detail(int i) const { return details_[i]; }
    QRadioButton* fullScreenOption() const { return fullScreenOption_; }
    QRadioButton* mediumOption() const { return mediumOption_; }
    QPushButton* zoomInButton() const { return zoomIn_; }
    QPushButton* zoomOutButton() const { return zoomOut_; }
    QPushButton* defaultSizeButton() const { return default_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class CropStage;

    // Why a command cannot run, told to the user; false then.
    bool commandAllowed();
    void showZoomResult(ZoomResult result);
    // Decodes the row's photo unless it is the one kept already.
    void keepPicture(const CropRow& row);
    void clearSelection();
    // Renders the photo when its size changed, then updates the stage and the tools.
    void showState();
    void updateTools();
    void setRowButtonsEnabled(bool enabled);

    Album& album_;
    QVector<CropRow> rows_;
    int selected_ = -1;
    CropSlot slot_;
    CropState state_;
    QImage shown_;
    // The selected photo decoded, and the file it came from.
    QImage picture_;
    QString picturePath_;
    // The wheel's turn not yet used for a step.
    int wheelAngle_ = 0;

    CropStage* stage_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QLineEdit* details_[4] = {};
    QRadioButton* fullScreenOption_ = nullptr;
    QRadioButton* mediumOption_ = nullptr;
    QPushButton* zoomIn_ = nullptr;
    QPushButton* zoomOut_ = nullptr;
    QPushButton* default_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace vellumo
