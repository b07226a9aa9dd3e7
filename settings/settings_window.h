#pragma once

// The system settings window ("系统设置"): five groups of mutually exclusive choices. Every
// change takes effect at once; the window is closed with its title bar's close label.

#include "dialogs/skinned_dialog.h"

class QCheckBox;
class QRadioButton;

namespace vellumo {

class SystemSettings;

class SettingsWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{640, 500};

    explicit SettingsWindow(SystemSettings& settings, QWidget* parent = nullptr);

    QRadioButton* landscapeCropMedium() const { return landscapeCropMedium_; }
    QRadioButton* landscapeCropFullScreen() const { return landscapeCropFullScreen_; }
    QRadioButton* portraitCropMedium() const { return portraitCropMedium_; }
    QRadioButton* landscapeDisplayMedium() const { return landscapeDisplayMedium_; }
    QRadioButton* landscapeDisplayFullScreen() const { return landscapeDisplayFullScreen_; }
    QRadioButton* portraitDisplayMedium() const { return portraitDisplayMedium_; }
    QRadioButton* combinationOn() const { return combinationOn_; }
    QRadioButton* combinationOff() const { return combinationOff_; }
    QCheckBox* orderByTimeTaken() const { return orderByTimeTaken_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void showChoices();

    SystemSettings& settings_;
    QRadioButton* landscapeCropMedium_ = nullptr;
    QRadioButton* landscapeCropFullScreen_ = nullptr;
    QRadioButton* portraitCropMedium_ = nullptr;
    QRadioButton* landscapeDisplayMedium_ = nullptr;
    QRadioButton* landscapeDisplayFullScreen_ = nullptr;
    QRadioButton* portraitDisplayMedium_ = nullptr;
    QRadioButton* combinationOn_ = nullptr;
    QRadioButton* combinationOff_ = nullptr;
    QCheckBox* orderByTimeTaken_ = nullptr;
};

}  // namespace vellumo
