#pragma once

// The music and lyrics preview window ("音乐歌词预览"): one music file of the album plays
// through the shared music player while the lines of one lyric file appear on a lyric screen of
// the reference size (679 × 390) in that file's settings, as the settings window showed them.
// Opened in music mode from "音乐预览" and the main window's music summary, in lyrics mode
// from "歌词预览" and the lyrics summary; refused while the music list is empty.

#include <QString>

#include "album/lyric_label.h"
#include "album/lyric_settings.h"
#include "dialogs/skinned_dialog.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTimer;

namespace vellumo {

class Album;
class MusicPlayer;
struct LyricEntry;

enum class MusicPreviewMode { Music, Lyrics };  // "bofangyingyue" / "bofanggeci"
QString musicPreviewModeWord(MusicPreviewMode mode);

class MusicPreviewWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{709, 538};
    static constexpr QPoint kScreenTopLeft{15, 88};
    static constexpr int kDisplayTimerIntervalMs = 1;

    MusicPreviewWindow(Album& album, MusicPlayer& player, QWidget* parent = nullptr);
    ~MusicPreviewWindow() override;

    // Sets the mode, fills the choosers and shows the window modally. With no music the message
    // "没有添加音乐文件！" is shown instead and false returned.
    bool openInMode(MusicPreviewMode mode);
    // openInMode() without showing the window.
    bool prepare(MusicPreviewMode mode);

    MusicPreviewMode mode() const { return mode_; }
    bool isPlaying() const;
    // The lyric file whose settings the lines take: the last one chosen, 0 at first.
    int selectedLyricPosition() const { return selectedLyric_; }

    // "播放音乐", "停止播放" (also at the end of the music), one tick of the display timer.
    void play();
    void stopPlaying();
    void tick();

    QComboBox* musicChooser() const { return musicChooser_; }
    QComboBox* lyricChooser() const { return lyricChooser_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* stopButton() const { return stop_; }
    QPushButton* returnButton() const { return return_; }
    QLabel* currentTime() const { return currentTime_; }
    QLabel* totalTime() const { return totalTime_; }
    QWidget* screen() const { return screen_; }
    LyricLabel* lyricLabel() const { return lyric_; }
    QTimer* displayTimer() const { return timer_; }

public slots:
    // "返回" and the close label: stop, then close.
    void reject() override;

private:
    void chooseMusic(int index);
    void chooseLyric(int index);
    // Opens the chosen music file on the player; false (with a message) when it cannot.
    bool openChosenMusic();
    void setChoosersEnabled(bool enabled);

    Album& album_;
    MusicPlayer& player_;
    MusicPreviewMode mode_ = MusicPreviewMode::Music;
    int selectedLyric_ = 0;
    const LyricEntry* shownEntry_ = nullptr;
    LyricSettings shownSettings_;

    QComboBox* musicChooser_ = nullptr;
    QComboBox* lyricChooser_ = nullptr;
    QWidget* screen_ = nullptr;
    LyricLabel* lyric_ = nullptr;
    QLabel* currentTime_ = nullptr;
    QLabel* totalTime_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* stop_ = nullptr;
    QPushButton* return_ = nullptr;
    QTimer* timer_ = nullptr;
};

}  // namespace vellumo
