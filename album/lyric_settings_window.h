#pragma once

// The lyric settings window ("歌词设置"): a sample line on the black 679 × 390 reference screen,
// default or custom position with two track bars, and the colour, font, size, style and script
// choosers, the karaoke fill ("卡拉OK效果") with its sung colour, and the lines as a subtitle
// track ("歌词作为字幕"). "保存设置" stores the window's state in the lyric file's settings record
// and closes the window; "取消" and the close label leave the record as it was.

#include <QVector>
#include <functional>

#include "album/lyric_label.h"
#include "album/lyric_settings.h"
#include "dialogs/skinned_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSlider;

namespace vellumo {

class LyricsList;

// A colour of the colour chooser: its constant name and its number, red in the low byte.
struct LyricColour {
    QString name;
    quint32 number;
};
// The standard, extended and system colours, in the chooser's order.
const QVector<LyricColour>& lyricColours();
// Index of the colour named so, or -1.
int lyricColourIndex(const QString& name);

// The fonts the font chooser offers: "宋体" and "黑体" (the program's own Chinese fonts) first,
// then every family installed for the screen.
QStringList lyricFontChoices();

class LyricSettingsWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{980, 522};
    static constexpr QPoint kScreenTopLeft{15, 50};

    // Stores a lyric file's settings (the album does).
    using SaveSettings = std::function<void(int row, const LyricSettings& settings)>;

    LyricSettingsWindow(const LyricsList& lyrics, SaveSettings save, QWidget* parent = nullptr);

    // Opens the window modally for the lyric file at row.
    void edit(int row);
    // Loads row's record into the window without showing it.
    void load(int row);
    // Stores the window's state in the record loaded and closes the window.
    void save();

    int row() const { return row_; }
    QWidget* screen() const { return screen_; }
    LyricLabel* sample() const { return sample_; }
    QRadioButton* defaultPosition() const { return defaultPosition_; }
    QRadioButton* customPosition() const { return customPosition_; }
    QRadioButton* customLeft() const { return customLeft_; }
    QRadioButton* customCentred() const { return customCentred_; }
    QSlider* xBar() const { return xBar_; }
    QSlider* yBar() const { return yBar_; }
    QComboBox* colours() const { return colours_; }
    QComboBox* fonts() const { return fonts_; }
    QComboBox* sizes() const { return sizes_; }
    QComboBox* styles() const { return styles_; }
    QComboBox* scripts() const { return scripts_; }
    QCheckBox* karaoke() const { return karaoke_; }
    QComboBox* sungColours() const { return sungColours_; }
    QCheckBox* asSubtitles() const { return asSubtitles_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void buildControls();
    void setCustomControlsEnabled(bool enabled);
    void resetBars();
    void applyRecord();
    void selectChoosers();
    void chooseDefault();
    void chooseCustom();
    void refreshSampleFont();
    void refreshSampleColour();
    void refreshSampleText();
    void centreSample();
    void moveSample(QPoint topLeft);
    int centredLeft() const;
    LyricStyle chosenStyle() const;
    LyricScript chosenScript() const;

    const LyricsList& lyrics_;
    SaveSettings store_;
    int row_ = -1;
    LyricSettings record_;

    QWidget* screen_ = nullptr;
    LyricLabel* sample_ = nullptr;
    QRadioButton* defaultPosition_ = nullptr;
    QRadioButton* customPosition_ = nullptr;
    QRadioButton* customLeft_ = nullptr;
    QRadioButton* customCentred_ = nullptr;
    QSlider* xBar_ = nullptr;
    QSlider* yBar_ = nullptr;
    QComboBox* colours_ = nullptr;
    QComboBox* fonts_ = nullptr;
    QComboBox* sizes_ = nullptr;
    QComboBox* styles_ = nullptr;
    QComboBox* scripts_ = nullptr;
    QCheckBox* karaoke_ = nullptr;
    QComboBox* sungColours_ = nullptr;
    QCheckBox* asSubtitles_ = nullptr;
    QPushButton* save_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

}  // namespace vellumo
