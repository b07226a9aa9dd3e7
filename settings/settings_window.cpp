#include "settings/settings_window.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>

#include "settings/settings_texts.h"
#include "settings/system_settings.h"

namespace vellumo {

namespace {

constexpr int kGroupLeft = 24;
constexpr int kGroupTop = 52;
constexpr int kGroupHeight = 66;
constexpr int kGroupStep = 78;

QGroupBox* makeGroup(QWidget* parent, const QString& caption, int index) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(kGroupLeft, kGroupTop + index * kGroupStep,
                       SettingsWindow::kSize.width() - 2 * kGroupLeft, kGroupHeight);
    auto* layout = new QHBoxLayout(group);
    layout->setContentsMargins(18, 8, 18, 4);
    layout->setSpacing(40);
    return group;
}

QRadioButton* addChoice(QGroupBox* group, QButtonGroup* buttons, const QString& caption) {
    auto* choice = new QRadioButton(caption, group);
    choice->setCursor(Qt::PointingHandCursor);
    buttons->addButton(choice);
    static_cast<QHBoxLayout*>(group->layout())->addWidget(choice);
    return choice;
}

void finishGroup(QGroupBox* group) {
    static_cast<QHBoxLayout*>(group->layout())->addStretch(1);
}

}  // namespace

SettingsWindow::SettingsWindow(SystemSettings& settings, QWidget* parent)
    : SkinnedDialog(kSize, texts::kSettingsCaption, parent), settings_(settings) {
    QGroupBox* group = makeGroup(this, texts::kLandscapeImportCropGroup, 0);
    auto* buttons = new QButtonGroup(group);
    landscapeCropMedium_ = addChoice(group, buttons, texts::kLandscapeImportCropMedium);
    landscapeCropFullScreen_ = addChoice(group, buttons, texts::kLandscapeImportCropFullScreen);
    finishGroup(group);

    group = makeGroup(this, texts::kPortraitImportCropGroup, 1);
    portraitCropMedium_ =
        addChoice(group, new QButtonGroup(group), texts::kPortraitImportCropMedium);
    finishGroup(group);

    group = makeGroup(this, texts::kLandscapeDisplayGroup, 2);
    buttons = new QButtonGroup(group);
    landscapeDisplayMedium_ = addChoice(group, buttons, texts::kLandscapeDisplayMedium);
    landscapeDisplayFullScreen_ = addChoice(group, buttons, texts::kLandscapeDisplayFullScreen);
    finishGroup(group);

    group = makeGroup(this, texts::kPortraitDisplayGroup, 3);
    portraitDisplayMedium_ =
        addChoice(group, new QButtonGroup(group), texts::kPortraitDisplayMedium);
    finishGroup(group);

    group = makeGroup(this, texts::kTemplateCombinationGroup, 4);
    buttons = new QButtonGroup(group);
    combinationOn_ = addChoice(group, buttons, texts::kTemplateCombinationOn);
    combinationOff_ = addChoice(group, buttons, texts::kTemplateCombinationOff);
    finishGroup(group);

    // A choice of its own, on or off, under the groups.
    orderByTimeTaken_ = new QCheckBox(texts::kOrderByTimeTaken, this);
    orderByTimeTaken_->setCursor(Qt::PointingHandCursor);
    orderByTimeTaken_->move(kGroupLeft + 18, kGroupTop + 5 * kGroupStep);
    orderByTimeTaken_->adjustSize();
    connect(orderByTimeTaken_, &QCheckBox::toggled, this,
            [this](bool on) { settings_.setOrderByTimeTaken(on); });

    connect(landscapeCropMedium_, &QRadioButton::toggled, this, [this](bool on) {
        settings_.setLandscapeImportCrop(on ? PhotoFit::Medium : PhotoFit::FullScreen);
    });
    connect(landscapeDisplayMedium_, &QRadioButton::toggled, this, [this](bool on) {
        settings_.setLandscapeDisplay(on ? PhotoFit::Medium : PhotoFit::FullScreen);
    });
    connect(combinationOn_, &QRadioButton::toggled, this, [this](bool on) {
        settings_.setTemplateCombination(on ? TemplateCombination::Use
                                            : TemplateCombination::DoNotUse);
    });
    connect(&settings_, &SystemSettings::changed, this, &SettingsWindow::showChoices);
    showChoices();
}

void SettingsWindow::showChoices() {
    const bool landscapeCropMedium = settings_.landscapeImportCrop() == PhotoFit::Medium;
    landscapeCropMedium_->setChecked(landscapeCropMedium);
    landscapeCropFullScreen_->setChecked(!landscapeCropMedium);
    portraitCropMedium_->setChecked(settings_.portraitImportCropMedium());
    landscapeDisplayMedium_->setChecked(settings_.landscapeDisplayMedium());
    landscapeDisplayFullScreen_->setChecked(!settings_.landscapeDisplayMedium());
    portraitDisplayMedium_->setChecked(settings_.portraitDisplayMedium());
    combinationOn_->setChecked(settings_.useTemplateCombination());
    combinationOff_->setChecked(!settings_.useTemplateCombination());
    orderByTimeTaken_->setChecked(settings_.orderByTimeTaken());
}

void SettingsWindow::showEvent(QShowEvent* event) {
    showChoices();
    SkinnedDialog::showEvent(event);
}

}  // namespace vellumo
