#include "preview/music_preview_window.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "album/lyric_label.h"
#include "album/lyrics.h"
#include "album/music_lyrics_texts.h"
#include "dialogs/message_dialog.h"
#include "media/music_player.h"
#include "preview/music_preview_texts.h"
#include "preview/preview_music.h"
#include "project/album.h"
#include "timeline/shown_lyrics.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

constexpr int kRowHeight = 26;

QLabel* addLabel(QWidget* parent, const QString& text, QRect geometry) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(geometry);
    return label;
}

}  // namespace

QString musicPreviewModeWord(MusicPreviewMode mode) {
    return mode == MusicPreviewMode::Music ? texts::kModeMusic : texts::kModeLyrics;
}

MusicPreviewWindow::MusicPreviewWindow(Album& album, MusicPlayer& player, QWidget* parent)
    : SkinnedDialog(kSize, texts::kMusicPreviewCaption, parent), album_(album), player_(player) {
    const int chooserTop = 50;
    addLabel(this, texts::kMusicChooser, QRect(15, chooserTop, 62, kRowHeight));
    musicChooser_ = new QComboBox(this);
    musicChooser_->setGeometry(78, chooserTop, 262, kRowHeight);
    addLabel(this, texts::kLyricChooser, QRect(360, chooserTop, 62, kRowHeight));
    lyricChooser_ = new QComboBox(this);
    lyricChooser_->setGeometry(423, chooserTop, kLyricScreenWidth + kScreenTopLeft.x() - 423,
                               kRowHeight);

    screen_ = new QWidget(this);
    screen_->setObjectName(QStringLiteral("musicPreviewScreen"));
    screen_->setGeometry(QRect(kScreenTopLeft, QSize(kLyricScreenWidth, kLyricScreenHeight)));
    screen_->setAttribute(Qt::WA_StyledBackground);
    screen_->setStyleSheet(
        QStringLiteral("QWidget#musicPreviewScreen { background: rgb(64, 64, 64); }"));
    lyric_ = new LyricLabel(LyricLabel::Edge::Plain, screen_);
    lyric_->showLine({QString(), defaultLyricLook()});

    const int bottomTop = kScreenTopLeft.y() + kLyricScreenHeight + 14;
    QFont timeFont = font();
    timeFont.setPixelSize(16);
    currentTime_ = addLabel(this, texts::kIdleTime, QRect(15, bottomTop, 50, 30));
    auto* separator = addLabel(this, texts::kTimeSeparator, QRect(66, bottomTop, 10, 30));
    totalTime_ = addLabel(this, texts::kIdleTime, QRect(78, bottomTop, 50, 30));
    for (QLabel* label : {currentTime_, separator, totalTime_}) {
        label->setFont(timeFont);
        label->setAlignment(Qt::AlignCenter);
    }

    play_ = new QPushButton(texts::kPlayMusic, this);
    play_->setProperty("accent", true);
    play_->setGeometry(374, bottomTop, 100, 30);
    stop_ = new QPushButton(texts::kStopMusic, this);
    stop_->setGeometry(484, bottomTop, 100, 30);
    return_ = new QPushButton(texts::kReturn, this);
    return_->setGeometry(594, bottomTop, 100, 30);

    timer_ = new QTimer(this);
    timer_->setInterval(kDisplayTimerIntervalMs);

    connect(musicChooser_, &QComboBox::currentIndexChanged, this, &MusicPreviewWindow::chooseMusic);
    connect(lyricChooser_, &QComboBox::currentIndexChanged, this, &MusicPreviewWindow::chooseLyric);
    connect(play_, &QPushButton::clicked, this, &MusicPreviewWindow::play);
    connect(stop_, &QPushButton::clicked, this, &MusicPreviewWindow::stopPlaying);
    connect(return_, &QPushButton::clicked, this, &MusicPreviewWindow::reject);
    connect(timer_, &QTimer::timeout, this, &MusicPreviewWindow::tick);
}

MusicPreviewWindow::~MusicPreviewWindow() = default;

bool MusicPreviewWindow::openInMode(MusicPreviewMode mode) {
    if (!prepare(mode)) {
        return false;
    }
    exec();
    return true;
}

bool MusicPreviewWindow::prepare(MusicPreviewMode mode) {
    mode_ = mode;
    if (album_.music().isEmpty()) {
        showMessage(texts::kNoMusic);
        return false;
    }
    {
        const QSignalBlocker blockMusic(musicChooser_);
        const QSignalBlocker blockLyrics(lyricChooser_);
        musicChooser_->clear();
        for (const MusicRecord& record : album_.music().records()) {
            musicChooser_->addItem(record.name);
        }
        musicChooser_->setCurrentIndex(-1);
        lyricChooser_->clear();
        for (const LyricFileRecord& record : album_.lyrics().records()) {
            lyricChooser_->addItem(record.name);
        }
        lyricChooser_->setCurrentIndex(-1);
    }
    // The position outlives the window; a lyric file deleted since falls back to the first.
    if (selectedLyric_ >= album_.lyrics().size()) {
        selectedLyric_ = 0;
    }
    currentTime_->setText(texts::kIdleTime);
    totalTime_->setText(texts::kIdleTime);
    lyric_->clear();
    shownEntry_ = nullptr;
    setChoosersEnabled(true);
    return true;
}

bool MusicPreviewWindow::isPlaying() const {
    return timer_->isActive();
}

bool MusicPreviewWindow::openChosenMusic() {
    const int index = musicChooser_->currentIndex();
    if (index < 0 || index >= album_.music().size()) {
        return false;
    }
    const QString& location = album_.music().at(index).location;
    if (player_.hasFileName()) {
        player_.stop();
    }
    player_.setFileName(QString());
    player_.setFileName(album_.music().at(index).playedFile());
    try {
        player_.open();
    } catch (const Error&) {
        player_.setFileName(QString());
        totalTime_->setText(texts::kIdleTime);
        showMessage(texts::kMusicCannotPlay.arg(location));
        return false;
    }
    totalTime_->setText(lyricTimeText(player_.lengthMs() / 1000));
    return true;
}

void MusicPreviewWindow::chooseMusic(int index) {
    if (index < 0) {
        return;
    }
    if (openChosenMusic()) {
        player_.stop();
    }
}

void MusicPreviewWindow::chooseLyric(int index) {
    if (index < 0 || index >= album_.lyrics().size()) {
        return;
    }
    selectedLyric_ = index;
    shownEntry_ = nullptr;
    const QString& location = album_.lyrics().at(index).location;
    LyricTable table;
    const QString problem = readShownLyrics(location, table);
    album_.setLyricTable(std::move(table));
    if (!problem.isEmpty()) {
        showMessage(problem);
    }
}

void MusicPreviewWindow::play() {
    const bool musicChosen = musicChooser_->currentIndex() >= 0;
    if (mode_ == MusicPreviewMode::Music && !musicChosen) {
        showMessage(texts::kNoMusicChosen);
        return;
    }
    if (mode_ == MusicPreviewMode::Lyrics) {
        if (lyricChooser_->currentIndex() < 0) {
            showMessage(texts::kNoLyricChosen);
            return;
        }
        if (!musicChosen && !album_.music().isEmpty()) {
            showMessage(texts::kNoMusicChosen);
            return;
        }
    }
    if (!openChosenMusic()) {
        return;
    }
    player_.play();
    shownEntry_ = nullptr;
    setChoosersEnabled(false);
    timer_->start();
}

void MusicPreviewWindow::tick() {
    if (!album_.music().isEmpty()) {
        currentTime_->setText(lyricTimeText(player_.positionMs() / 1000));
    }
    const LyricsList& lyrics = album_.lyrics();
    if (!lyrics.isEmpty() && selectedLyric_ < lyrics.size()) {
        const LyricEntry* entry = album_.lyricTable().find(currentTime_->text());
        const LyricSettings& settings = lyrics.at(selectedLyric_).settings;
        // Nothing found: the label keeps its line. The same line is not laid out again.
        if (entry != nullptr && (entry != shownEntry_ || !(settings == shownSettings_))) {
            shownEntry_ = entry;
            shownSettings_ = settings;
            lyric_->showLine(fitLyricLine(settings, lyricInScript(settings, entry->text),
                                          kLyricScreenWidth, kLyricScreenHeight));
        }
    }
    if (player_.mode() != MusicPlayer::Mode::Playing) {
        stopPlaying();
    }
}

void MusicPreviewWindow::stopPlaying() {
    timer_->stop();
    setChoosersEnabled(true);
    lyric_->clear();
    shownEntry_ = nullptr;
    currentTime_->setText(texts::kIdleTime);
    if (player_.hasFileName()) {
        player_.stop();
    }
    player_.setFileName(QString());
}

void MusicPreviewWindow::reject() {
    stopPlaying();
    SkinnedDialog::reject();
}

void MusicPreviewWindow::setChoosersEnabled(bool enabled) {
    musicChooser_->setEnabled(enabled);
    lyricChooser_->setEnabled(enabled);
}

}  // namespace vellumo
