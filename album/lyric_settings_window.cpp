#include "album/lyric_settings_window.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

#include "album/lyrics.h"
#include "album/lyrics_list.h"
#include "album/music_lyrics_texts.h"
#include "skin/skin_texts.h"

namespace vellumo {

namespace {

constexpr int kScreenWidth = kLyricScreenWidth;
constexpr int kScreenHeight = kLyricScreenHeight;
constexpr int kPanelLeft = 710;
constexpr int kPanelWidth = 255;
constexpr int kChooserLabelWidth = 66;
constexpr int kRowHeight = 26;

// A colour number (red in the low byte) from its red, green and blue.
constexpr quint32 rgb(quint32 r, quint32 g, quint32 b) {
    return r | (g << 8) | (b << 16);
}

QColor colourOf(quint32 number) {
    return QColor(static_cast<int>(number & 0xFF), static_cast<int>((number >> 8) & 0xFF),
                  static_cast<int>((number >> 16) & 0xFF));
}

QIcon swatch(quint32 number) {
    QPixmap pixmap(14, 14);
    pixmap.fill(colourOf(number));
    return QIcon(pixmap);
}

QComboBox* addChooser(QWidget* parent, const QString& caption, int top) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(kPanelLeft, top, kChooserLabelWidth, kRowHeight);
    auto* chooser = new QComboBox(parent);
    chooser->setGeometry(kPanelLeft + kChooserLabelWidth, top, kPanelWidth - kChooserLabelWidth,
                         kRowHeight);
    chooser->setMaxVisibleItems(16);
    return chooser;
}

QSlider* addTrackBar(QWidget* parent, const QString& caption, int top) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(LyricSettingsWindow::kScreenTopLeft.x(), top, 70, kRowHeight);
    auto* bar = new QSlider(Qt::Horizontal, parent);
    bar->setGeometry(LyricSettingsWindow::kScreenTopLeft.x() + 70, top, kScreenWidth - 70,
                     kRowHeight);
    return bar;
}

}  // namespace

const QVector<LyricColour>& lyricColours() {
    // The standard colours, the four extended ones, then the system colours with the fixed
    // values of a classic light desktop scheme.
    static const QVector<LyricColour> colours{
        {QStringLiteral("clBlack"), rgb(0, 0, 0)},
        {QStringLiteral("clMaroon"), rgb(128, 0, 0)},
        {QStringLiteral("clGreen"), rgb(0, 128, 0)},
        {QStringLiteral("clOlive"), rgb(128, 128, 0)},
        {QStringLiteral("clNavy"), rgb(0, 0, 128)},
        {QStringLiteral("clPurple"), rgb(128, 0, 128)},
        {QStringLiteral("clTeal"), rgb(0, 128, 128)},
        {QStringLiteral("clGray"), rgb(128, 128, 128)},
        {QStringLiteral("clSilver"), rgb(192, 192, 192)},
        {QStringLiteral("clRed"), rgb(255, 0, 0)},
        {QStringLiteral("clLime"), rgb(0, 255, 0)},
        {QStringLiteral("clYellow"), rgb(255, 255, 0)},
        {QStringLiteral("clBlue"), rgb(0, 0, 255)},
        {QStringLiteral("clFuchsia"), rgb(255, 0, 255)},
        {QStringLiteral("clAqua"), rgb(0, 255, 255)},
        {QStringLiteral("clWhite"), rgb(255, 255, 255)},
        {QStringLiteral("clMoneyGreen"), rgb(192, 220, 192)},
        {QStringLiteral("clSkyBlue"), rgb(166, 202, 240)},
        {QStringLiteral("clCream"), rgb(255, 251, 240)},
        {QStringLiteral("clMedGray"), rgb(160, 160, 164)},
        {QStringLiteral("clScrollBar"), rgb(200, 200, 200)},
        {QStringLiteral("clBackground"), rgb(58, 110, 165)},
        {QStringLiteral("clActiveCaption"), rgb(10, 36, 106)},
        {QStringLiteral("clInactiveCaption"), rgb(128, 128, 128)},
        {QStringLiteral("clMenu"), rgb(212, 208, 200)},
        {QStringLiteral("clWindow"), rgb(255, 255, 255)},
        {QStringLiteral("clWindowFrame"), rgb(0, 0, 0)},
        {QStringLiteral("clMenuText"), rgb(0, 0, 0)},
        {QStringLiteral("clWindowText"), rgb(0, 0, 0)},
        {QStringLiteral("clCaptionText"), rgb(255, 255, 255)},
        {QStringLiteral("clActiveBorder"), rgb(212, 208, 200)},
        {QStringLiteral("clInactiveBorder"), rgb(212, 208, 200)},
        {QStringLiteral("clAppWorkSpace"), rgb(128, 128, 128)},
        {QStringLiteral("clHighlight"), rgb(10, 36, 106)},
        {QStringLiteral("clHighlightText"), rgb(255, 255, 255)},
        {QStringLiteral("clBtnFace"), rgb(212, 208, 200)},
        {QStringLiteral("clBtnShadow"), rgb(128, 128, 128)},
        {QStringLiteral("clGrayText"), rgb(128, 128, 128)},
        {QStringLiteral("clBtnText"), rgb(0, 0, 0)},
        {QStringLiteral("clInactiveCaptionText"), rgb(212, 208, 200)},
        {QStringLiteral("clBtnHighlight"), rgb(255, 255, 255)},
        {QStringLiteral("cl3DDkShadow"), rgb(64, 64, 64)},
        {QStringLiteral("cl3DLight"), rgb(212, 208, 200)},
        {QStringLiteral("clInfoText"), rgb(0, 0, 0)},
        {QStringLiteral("clInfoBk"), rgb(255, 255, 225)},
        {QStringLiteral("clHotLight"), rgb(0, 0, 128)},
        {QStringLiteral("clGradientActiveCaption"), rgb(166, 202, 240)},
        {QStringLiteral("clGradientInactiveCaption"), rgb(192, 192, 192)},
        {QStringLiteral("clMenuHighlight"), rgb(49, 106, 197)},
        {QStringLiteral("clMenuBar"), rgb(212, 208, 200)},
    };
    return colours;
}

int lyricColourIndex(const QString& name) {
    const QVector<LyricColour>& colours = lyricColours();
    for (int i = 0; i < colours.size(); ++i) {
        if (colours[i].name == name) {
            return i;
        }
    }
    return -1;
}

QStringList lyricFontChoices() {
    QStringList fonts{texts::kSongTi, texts::kHeiTi};
    for (const QString& family : QFontDatabase::families()) {
        if (!fonts.contains(family)) {
            fonts.append(family);
        }
    }
    return fonts;
}

LyricSettingsWindow::LyricSettingsWindow(const LyricsList& lyrics, SaveSettings save,
                                         QWidget* parent)
    : SkinnedDialog(kSize, texts::kLyricSettingsCaption, parent),
      lyrics_(lyrics),
      store_(std::move(save)) {
    buildControls();
}

void LyricSettingsWindow::buildControls() {
    screen_ = new QWidget(this);
    screen_->setObjectName(QStringLiteral("lyricScreen"));
    screen_->setGeometry(QRect(kScreenTopLeft, QSize(kScreenWidth, kScreenHeight)));
    screen_->setAutoFillBackground(true);
    screen_->setStyleSheet(QStringLiteral("QWidget#lyricScreen { background: black; }"));
    screen_->setAttribute(Qt::WA_StyledBackground);
    screen_->setToolTip(texts::kLyricScreenHint);
    sample_ = new LyricLabel(LyricLabel::Edge::Plain, screen_);
    sample_->setToolTip(texts::kLyricSampleHint);

    const int barsTop = kScreenTopLeft.y() + kScreenHeight + 10;
    xBar_ = addTrackBar(this, texts::kTrackBarX, barsTop);
    yBar_ = addTrackBar(this, texts::kTrackBarY, barsTop + kRowHeight + 6);

    auto* positions = new QGroupBox(this);
    positions->setGeometry(kPanelLeft, kScreenTopLeft.y() - 14, kPanelWidth, 62);
    auto* positionRow = new QHBoxLayout(positions);
    defaultPosition_ = new QRadioButton(texts::kDefaultPosition, positions);
    customPosition_ = new QRadioButton(texts::kCustomPosition, positions);
    positionRow->addWidget(defaultPosition_);
    positionRow->addWidget(customPosition_);

    auto* custom = new QGroupBox(this);
    custom->setGeometry(kPanelLeft, kScreenTopLeft.y() + 54, kPanelWidth, 62);
    auto* customRow = new QHBoxLayout(custom);
    customLeft_ = new QRadioButton(texts::kCustomLeft, custom);
    customCentred_ = new QRadioButton(texts::kCustomCentred, custom);
    customRow->addWidget(customLeft_);
    customRow->addWidget(customCentred_);

    int top = kScreenTopLeft.y() + 140;
    colours_ = addChooser(this, texts::kLyricColour, top);
    for (const LyricColour& colour : lyricColours()) {
        colours_->addItem(swatch(colour.number), colour.name, colour.number);
    }
    fonts_ = addChooser(this, texts::kLyricFont, top += 40);
    sizes_ = addChooser(this, texts::kLyricSize, top += 40);
    styles_ = addChooser(this, texts::kLyricStyle, top += 40);
    scripts_ = addChooser(this, texts::kLyricScript, top += 40);
    // The karaoke fill belongs to every position, so its controls stay enabled.
    karaoke_ = new QCheckBox(texts::kKaraoke, this);
    karaoke_->setGeometry(kPanelLeft, top += 34, kPanelWidth / 2, kRowHeight);
    asSubtitles_ = new QCheckBox(texts::kLyricsAsSubtitles, this);
    asSubtitles_->setGeometry(kPanelLeft + kPanelWidth / 2, top, kPanelWidth / 2, kRowHeight);
    sungColours_ = addChooser(this, texts::kSungColour, top += 28);
    for (const LyricColour& colour : lyricColours()) {
        sungColours_->addItem(swatch(colour.number), colour.name, colour.number);
    }

    save_ = new QPushButton(texts::kSaveLyricSettings, this);
    save_->setProperty("accent", true);
    save_->setGeometry(kPanelLeft + 20, barsTop + 8, 100, 32);
    cancel_ = new QPushButton(texts::kCancelLyricSettings, this);
    cancel_->setGeometry(kPanelLeft + 135, barsTop + 8, 100, 32);

    connect(xBar_, &QSlider::valueChanged, this,
            [this](int x) { moveSample(QPoint(x, sample_->y())); });
    connect(yBar_, &QSlider::valueChanged, this,
            [this](int y) { moveSample(QPoint(sample_->x(), y)); });
    connect(defaultPosition_, &QRadioButton::clicked, this, &LyricSettingsWindow::chooseDefault);
    connect(customPosition_, &QRadioButton::clicked, this, &LyricSettingsWindow::chooseCustom);
    connect(customCentred_, &QRadioButton::clicked, this, &LyricSettingsWindow::centreSample);
    connect(colours_, &QComboBox::currentIndexChanged, this,
            &LyricSettingsWindow::refreshSampleColour);
    for (QComboBox* chooser : {fonts_, sizes_, styles_}) {
        connect(chooser, &QComboBox::currentIndexChanged, this,
                &LyricSettingsWindow::refreshSampleFont);
    }
    connect(scripts_, &QComboBox::currentIndexChanged, this,
            &LyricSettingsWindow::refreshSampleText);
    connect(save_, &QPushButton::clicked, this, &LyricSettingsWindow::save);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void LyricSettingsWindow::edit(int row) {
    if (row < 0 || row >= lyrics_.size()) {
        return;
    }
    load(row);
    exec();
}

void LyricSettingsWindow::load(int row) {
    if (row < 0 || row >= lyrics_.size()) {
        return;
    }
    row_ = row;
    record_ = lyrics_.at(row).settings;
    {
        const QSignalBlocker blockFonts(fonts_);
        const QSignalBlocker blockSizes(sizes_);
        const QSignalBlocker blockStyles(styles_);
        const QSignalBlocker blockScripts(scripts_);
        fonts_->clear();
        fonts_->addItems(lyricFontChoices());
        sizes_->clear();
        for (int size = 10; size <= 60; ++size) {
            sizes_->addItem(QString::number(size), size);
        }
        styles_->clear();
        for (LyricStyle style :
             {LyricStyle::Regular, LyricStyle::Italic, LyricStyle::Bold, LyricStyle::BoldItalic}) {
            styles_->addItem(lyricStyleCaption(style), static_cast<int>(style));
        }
        scripts_->clear();
        for (LyricScript script : {LyricScript::Simplified, LyricScript::Traditional}) {
            scripts_->addItem(lyricScriptCaption(script), static_cast<int>(script));
        }
    }
    const bool custom = record_.position == LyricPosition::Custom;
    setCustomControlsEnabled(custom);
    defaultPosition_->setChecked(!custom);
    customPosition_->setChecked(custom);
    (record_.customCentred ? customCentred_ : customLeft_)->setChecked(true);

    sample_->setText(texts::kLyricSample);
    resetBars();
    applyRecord();
    selectChoosers();
    refreshSampleText();
}

void LyricSettingsWindow::save() {
    if (row_ < 0 || row_ >= lyrics_.size()) {
        reject();
        return;
    }
    // A chooser without a selection (a colour or font not in its list) leaves its field.
    LyricSettings settings = record_;
    settings.position =
        customPosition_->isChecked() ? LyricPosition::Custom : LyricPosition::Default;
    settings.customLeft = sample_->x();
    settings.customTop = sample_->y();
    settings.customCentred = customCentred_->isChecked();
    if (fonts_->currentIndex() >= 0) {
        settings.font = fonts_->currentText();
    }
    if (sizes_->currentIndex() >= 0) {
        settings.size = sizes_->currentData().toInt();
    }
    if (styles_->currentIndex() >= 0) {
        settings.style = chosenStyle();
    }
    if (colours_->currentIndex() >= 0) {
        settings.colourName = colours_->currentText();
        settings.colourNumber = colours_->currentData().toUInt();
    }
    if (scripts_->currentIndex() >= 0) {
        settings.script = chosenScript();
    }
    settings.karaoke = karaoke_->isChecked();
    settings.asSubtitles = asSubtitles_->isChecked();
    if (sungColours_->currentIndex() >= 0) {
        settings.sungColourName = sungColours_->currentText();
        settings.sungColourNumber = sungColours_->currentData().toUInt();
    }
    store_(row_, settings);
    record_ = settings;
    accept();
}

void LyricSettingsWindow::setCustomControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{xBar_, yBar_, colours_, fonts_, sizes_, styles_, scripts_,
                                         customLeft_, customCentred_}) {
        control->setEnabled(enabled);
    }
}

int LyricSettingsWindow::centredLeft() const {
    return kScreenWidth / 2 - QFontMetrics(sample_->font()).horizontalAdvance(sample_->text()) / 2;
}

void LyricSettingsWindow::resetBars() {
    const QSignalBlocker blockX(xBar_);
    const QSignalBlocker blockY(yBar_);
    xBar_->setRange(0, kScreenWidth);
    xBar_->setValue(centredLeft());
    yBar_->setRange(0, kScreenHeight);
    yBar_->setValue(record_.defaultTop);
}

void LyricSettingsWindow::applyRecord() {
    sample_->showLine({sample_->text(),
                       applyLyricSettings(record_, sample_->text(), kScreenWidth, kScreenHeight)});
    // The bars show where the sample is.
    const QSignalBlocker blockX(xBar_);
    const QSignalBlocker blockY(yBar_);
    xBar_->setValue(sample_->x());
    yBar_->setValue(sample_->y());
}

void LyricSettingsWindow::selectChoosers() {
    const QSignalBlocker blockColours(colours_);
    const QSignalBlocker blockFonts(fonts_);
    const QSignalBlocker blockSizes(sizes_);
    const QSignalBlocker blockStyles(styles_);
    const QSignalBlocker blockScripts(scripts_);
    colours_->setCurrentIndex(lyricColourIndex(record_.colourName));
    fonts_->setCurrentIndex(fonts_->findText(record_.font, Qt::MatchExactly));
    sizes_->setCurrentIndex(sizes_->findData(record_.size));
    styles_->setCurrentIndex(styles_->findData(static_cast<int>(record_.style)));
    scripts_->setCurrentIndex(scripts_->findData(static_cast<int>(record_.script)));
    karaoke_->setChecked(record_.karaoke);
    asSubtitles_->setChecked(record_.asSubtitles);
    sungColours_->setCurrentIndex(lyricColourIndex(record_.sungColourName));
}

void LyricSettingsWindow::chooseDefault() {
    setCustomControlsEnabled(false);
    customLeft_->setChecked(true);
    resetBars();
    // The sample and the disabled choosers show the record again, so that what is saved in
    // default position is what the sample shows.
    selectChoosers();
    applyRecord();
}

void LyricSettingsWindow::chooseCustom() {
    setCustomControlsEnabled(true);
    (record_.customCentred ? customCentred_ : customLeft_)->setChecked(true);
}

LyricStyle LyricSettingsWindow::chosenStyle() const {
    return styles_->currentIndex() >= 0 ? static_cast<LyricStyle>(styles_->currentData().toInt())
                                        : record_.style;
}

LyricScript LyricSettingsWindow::chosenScript() const {
    return scripts_->currentIndex() >= 0 ? static_cast<LyricScript>(scripts_->currentData().toInt())
                                         : record_.script;
}

void LyricSettingsWindow::refreshSampleFont() {
    LyricSettings chosen = record_;
    if (fonts_->currentIndex() >= 0) {
        chosen.font = fonts_->currentText();
    }
    if (sizes_->currentIndex() >= 0) {
        chosen.size = sizes_->currentData().toInt();
    }
    chosen.style = chosenStyle();
    LyricLook look = applyLyricSettings(chosen, sample_->text(), kScreenWidth, kScreenHeight);
    look.colour = colourOf(colours_->currentIndex() >= 0 ? colours_->currentData().toUInt()
                                                         : record_.colourNumber);
    look.topLeft = sample_->pos();
    sample_->showLine({sample_->text(), look});
    if (customCentred_->isChecked()) {
        centreSample();
    }
}

void LyricSettingsWindow::refreshSampleColour() {
    if (colours_->currentIndex() < 0) {
        return;
    }
    sample_->setColour(colourOf(colours_->currentData().toUInt()));
}

void LyricSettingsWindow::refreshSampleText() {
    LyricSettings chosen = record_;
    chosen.script = chosenScript();
    const QString text = lyricInScript(chosen, texts::kLyricSample);
    sample_->setLineText(text);
}

void LyricSettingsWindow::centreSample() {
    moveSample(QPoint(centredLeft(), sample_->y()));
}

void LyricSettingsWindow::moveSample(QPoint topLeft) {
    sample_->move(topLeft);
    const QSignalBlocker blockX(xBar_);
    const QSignalBlocker blockY(yBar_);
    xBar_->setValue(topLeft.x());
    yBar_->setValue(topLeft.y());
}

}  // namespace vellumo
