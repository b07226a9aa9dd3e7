#pragma once

// The template options window ("模板选项：自动为添加的照片分配模板方式"), opened by "添加照片"
// when the combination setting is on: the installed combined templates with their photo totals,
// the selected one's name, totals and explanation line, and two buttons that choose between a
// combined template and the rotating placement. Only the buttons close it; the title bar's close
// label merely changes its picture. With no combined template installed it says so and offers
// only the rotating placement. Also the combined add that follows the first button.

#include <QStringList>
#include <functional>
#include <optional>

#include "assignment/combined_add.h"
#include "assignment/placement.h"
#include "dialogs/skinned_dialog.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vellumo {

class ProgressWindow;

class TemplateOptionsWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{720, 440};

    explicit TemplateOptionsWindow(QWidget* parent = nullptr);

    // Reads the installed combined templates (a package that cannot be read is named in a
    // message), selects the first and shows the window until a button is pressed; returns the
    // placement mode the button set.
    PlacementMode chooseAssignmentWay();
    // Shows these combinations and selects the first (chooseAssignmentWay reads them).
    void setCombinations(CombinationList combinations);

    // A click on the list: row, or -1 beside the rows.
    void clickRow(int row);

    PlacementMode mode() const { return mode_; }
    // The selected row, -1 when none.
    int selectedIndex() const { return selected_; }
    std::optional<Combination> selectedCombination() const;
    // The package number k of the selected row, 0 when none.
    int selectedPackage() const;
    int neededLandscape() const { return neededLandscape_; }
    int neededPortrait() const { return neededPortrait_; }
    QString explanation() const;

    QTreeWidget* list() const { return list_; }
    QLineEdit* nameField() const { return name_; }
    QLineEdit* landscapeField() const { return landscape_; }
    QLineEdit* portraitField() const { return portrait_; }
    QLabel* explanationLabel() const { return explanation_; }
    // The line that says there is no combined template; hidden when there is one.
    QLabel* noteLabel() const { return note_; }
    QPushButton* combinationButton() const { return useCombination_; }
    QPushButton* randomButton() const { return useRandom_; }

public slots:
    // Esc and the window system's close do not close it either.
    void reject() override {}

protected:
    void closeLabelReleased() override {}
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void select(int row);
    void choose(PlacementMode mode);

    CombinationList combinations_;
    PlacementMode mode_ = PlacementMode::Random;
    int selected_ = -1;
    int neededLandscape_ = 0;
    int neededPortrait_ = 0;

    QTreeWidget* list_ = nullptr;
    QLineEdit* name_ = nullptr;
    QLineEdit* landscape_ = nullptr;
    QLineEdit* portrait_ = nullptr;
    QLabel* explanation_ = nullptr;
    QLabel* note_ = nullptr;
    QPushButton* useCombination_ = nullptr;
    QPushButton* useRandom_ = nullptr;
};

// The combined add with combined template package k. Asks for photos (chooseFiles; none means
// cancelled) until the chosen ones include the orientations the combination needs, saying what
// is missing; then, in the progress window, adds them (files without a picture are left out),
// appends the combination's templates in member order, again and again, until every new photo
// is in one or a whole cycle places none more, and tells which files were left out and which
// photos stayed without a template. A cancelled dialog adds nothing. True when photos were added.
// The chosen photos are taken in order (as chosen unless asked otherwise).
bool runCombinedAdd(Album& album, const Combination& combination, int k,
                    const std::function<QStringList()>& chooseFiles, ProgressWindow& progress,
                    PhotoOrder order = PhotoOrder::Added);

}  // namespace vellumo
