#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "album/lyric_settings_window.h"
#include "album/music_lyrics_texts.h"
#include "app/main_window.h"
#include "app/music_lyrics_windows.h"
#include "app/program.h"
#include "app/summary_lists.h"
#include "catalogue/catalogue.h"
#include "dialogs/progress_window.h"
#include "dialogs/record_widgets.h"
#include "lists/music_list_window.h"
#include "media/audio_decoder.h"
#include "media/audio_encoder.h"
#include "media/media_texts.h"
#include "media/music_player.h"
#include "preview/music_preview_texts.h"
#include "preview/music_preview_window.h"
#include "project/album.h"
#include "tests/album/silent_wav.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"
#include "workspace/text_codec.h"

namespace vellumo {

using test::part;

namespace {

QStringList rowTexts(const QTreeWidget* list, int row) {
    QStringList texts;
    const QTreeWidgetItem* item = list->topLevelItem(row);
    for (int column = 0; item && column < list->columnCount(); ++column) {
        texts << item->text(column);
    }
    return texts;
}

void selectRow(QTreeWidget* list, int row) {
    list->clearSelection();
    list->topLevelItem(row)->setSelected(true);
}

// The information panel's labels, top to bottom.
QStringList infoLabels(const QWidget* panel) {
    QList<QLabel*> labels = panel->findChildren<QLabel*>();
    std::sort(labels.begin(), labels.end(),
              [](const QLabel* a, const QLabel* b) { return a->y() < b->y(); });
    QStringList texts;
    for (const QLabel* label : labels) {
        texts << label->text();
    }
    return texts;
}

}  // namespace

class MusicWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installLook();
        ProgressWindow::shared().setTaskDelay(1);
    }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        setProgramFolder(folder_->path());
        album_ = std::make_unique<Album>(catalogue_);
        player_ = std::make_unique<MusicPlayer>();
        player_->setSoundOutput(false);
        player_->setClock([this] { return nowMs_; });
        preview_ = std::make_unique<MusicPreviewWindow>(*album_, *player_);
        window_ = std::make_unique<MusicListWindow>(*album_, *player_, *preview_);
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000);
        window_.reset();
        preview_.reset();
        player_.reset();
        album_.reset();
        setProgramFolder(QString());
        folder_.reset();
    }

    void informationPanelNamesMusicFields() {
        QCOMPARE(infoLabels(window_->info()),
                 (QStringList{"音乐序号", "音乐名称", "音乐格式", "音乐时长", "音乐位置"}));
    }

    void onlyTheFirstDialogPresetsTheSample() {
        const QString sample = folder_->write(paths::kSampleMusic, "ID3");
        QStringList presets;
        QStringList asked;
        window_->setFileChooser([&](QWidget*, const FileRequest& request) {
            const QString& caption = request.caption;
            const QString& filter = request.filter;
            const QString& preset = request.preset;
            asked << caption + u'|' + filter;
            presets << preset;
            return QStringList();  // cancelled
        });
        QCOMPARE(window_->firstOpenFlag(), QStringLiteral("0"));
        window_->addMusic();
        QCOMPARE(window_->firstOpenFlag(), QStringLiteral("1"));
        window_->addMusic();
        QCOMPARE(presets, (QStringList{sample, QString()}));
        QCOMPARE(asked.first(), texts::kMusicListCaption + u'|' + texts::kAddMusicFilter);
        QVERIFY(album_->music().isEmpty());

        // Without the sample the first dialog presets nothing, and the flag is set all the same.
        QVERIFY(QFile::remove(sample));
        MusicListWindow fresh(*album_, *player_, *preview_);
        fresh.setFileChooser([&](QWidget*, const FileRequest& request) {
            const QString& preset = request.preset;
            presets << preset;
            return QStringList();
        });
        fresh.addMusic();
        QCOMPARE(presets.last(), QString());
        QCOMPARE(fresh.firstOpenFlag(), QStringLiteral("1"));
    }

    void addingMeasuresConvertsSafelyAndLeavesOutWhatNothingPlays() {
        QVERIFY(
            QFile::copy(qEnvironmentVariable("VELLUMO_CONVERTER"), dataPath(paths::kConverter)));
        const QString playing = test::writeSilentWav(*folder_, "playing.wav", 5);
        player_->setFileName(playing);
        player_->open();
        player_->play();

        const QString measured = test::writeSilentWav(*folder_, QStringLiteral("夏天.wav"), 59.9);
        // A name that would run commands if it reached a shell unquoted.
        const QString tricky = QStringLiteral("say \"hi\" $(touch injected) `touch injected2` a b");
        const QString aac = folder_->path() + tricky + ".mp3";
        encodeAudio(aac, "adts", AudioCodec::Aac, 128000,
                    QByteArray(kPcmSampleRate * kPcmBytesPerFrame, '\0'));
        const QString broken = folder_->write("broken.mp3", QByteArray(4000, '\x17'));

        window_->setFileChooser([&](QWidget*, const FileRequest&) {
            return QStringList{measured, aac, broken};
        });
        QStringList shown;
        test::ModalResponder script({test::acceptMessage(&shown)});
        window_->addMusic();
        QVERIFY(script.finished());
        QCOMPARE(shown, QStringList{texts::kConversionFailed.arg(broken)});

        QCOMPARE(window_->list()->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(window_->list(), 0),
                 (QStringList{"1", QStringLiteral("夏天"), ".wav", "00:00:59", measured}));
        // The list shows the user's own file; the copy played lies in the cache.
        QCOMPARE(rowTexts(window_->list(), 1), (QStringList{"2", tricky, ".wav", "00:00:01", aac}));
        QVERIFY(QFileInfo::exists(album_->music().at(1).playedFile()));
        for (const char* name : {"injected", "injected2"}) {
            QVERIFY(!QFileInfo::exists(folder_->path() + name));
            QVERIFY(!QFileInfo::exists(QDir::currentPath() + u'/' + QLatin1String(name)));
            QVERIFY(!QFileInfo::exists(dataPath(paths::kConvertedMusicFolder) + name));
        }
        // Adding stopped the music that was playing.
        QVERIFY(player_->mode() != MusicPlayer::Mode::Playing);
    }

    void deletingAsksFirstAndRenumbers() {
        for (const char* name : {"a", "b", "c"}) {
            album_->addMusic(test::writeSilentWav(*folder_, QString(name) + ".wav", 1), *player_);
        }
        window_->refreshList();
        selectRow(window_->list(), 1);
        QCOMPARE(window_->info()->value(0), QStringLiteral("2"));
        QCOMPARE(window_->info()->value(1), QStringLiteral("b"));
        QCOMPARE(window_->info()->value(3), QStringLiteral("00:00:01"));

        // "取消" changes nothing.
        QStringList shown;
        {
            test::ModalResponder script({test::answerQuestion(false, &shown)});
            window_->deleteSelected();
            QVERIFY(script.finished());
        }
        QCOMPARE(album_->music().size(), 3);

        {
            test::ModalResponder script(
                {test::answerQuestion(true, &shown), test::acceptMessage(&shown)});
            window_->deleteSelected();
            QVERIFY(script.finished());
        }
        const QString question =
            texts::kDeleteMusicCaption + QStringLiteral(": ") + texts::kDeleteMusicQuestion;
        QCOMPARE(shown, (QStringList{question, question, texts::kMusicDeleted}));
        QCOMPARE(window_->list()->topLevelItemCount(), 2);
        QCOMPARE(rowTexts(window_->list(), 0).mid(0, 2), (QStringList{"1", "a"}));
        QCOMPARE(rowTexts(window_->list(), 1).mid(0, 2), (QStringList{"2", "c"}));
        QCOMPARE(window_->info()->value(1), QString());

        // Nothing selected: asked, then told.
        shown.clear();
        {
            test::ModalResponder script(
                {test::answerQuestion(true, &shown), test::acceptMessage(&shown)});
            window_->deleteSelected();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown.last(), texts::kNoMusicSelected);
        QCOMPARE(album_->music().size(), 2);

        shown.clear();
        {
            test::ModalResponder script(
                {test::answerQuestion(true, &shown), test::acceptMessage(&shown)});
            window_->deleteAll();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, (QStringList{texts::kDeleteMusicCaption + QStringLiteral(": ") +
                                         texts::kDeleteAllMusicQuestion,
                                     texts::kAllMusicDeleted}));
        QVERIFY(album_->music().isEmpty());
        QCOMPARE(window_->list()->topLevelItemCount(), 0);

        // An empty list answers every command with one message and asks nothing.
        shown.clear();
        {
            test::ModalResponder script({test::acceptMessage(&shown), test::acceptMessage(&shown),
                                         test::acceptMessage(&shown)});
            window_->deleteSelected();
            window_->deleteAll();
            window_->previewButton()->click();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, (QStringList{texts::kNoMusic, texts::kNoMusic, texts::kNoMusic}));
        QVERIFY(!preview_->isVisible());
    }

    void previewPlaysTheChosenMusicWithTheChosenLyrics() {
        album_->addMusic(test::writeSilentWav(*folder_, "long.wav", 185.4), *player_);
        album_->addLyrics(folder_->write(
            "song.lrc", toGbk(QString::fromUtf16(u"[00:00.50]太早\n[00:06.00]翻开旧相册\n"))));
        LyricSettings settings;
        settings.script = LyricScript::Traditional;
        album_->setLyricSettings(0, settings);

        QVERIFY(preview_->prepare(MusicPreviewMode::Lyrics));
        QCOMPARE(musicPreviewModeWord(preview_->mode()), texts::kModeLyrics);
        QCOMPARE(preview_->musicChooser()->count(), 1);
        QCOMPARE(preview_->musicChooser()->currentIndex(), -1);
        QCOMPARE(preview_->lyricChooser()->itemText(0), QStringLiteral("song"));
        QCOMPARE(preview_->currentTime()->text(), QStringLiteral("00:00"));
        QCOMPARE(preview_->totalTime()->text(), QStringLiteral("00:00"));
        QCOMPARE(preview_->screen()->size(), QSize(679, 390));

        // Lyrics mode wants a lyric file, then a music file.
        QStringList shown;
        {
            test::ModalResponder script({test::acceptMessage(&shown), test::acceptMessage(&shown)});
            preview_->play();
            preview_->lyricChooser()->setCurrentIndex(0);
            preview_->play();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, (QStringList{texts::kNoLyricChosen, texts::kNoMusicChosen}));
        QVERIFY(!preview_->isPlaying());

        preview_->musicChooser()->setCurrentIndex(0);
        QCOMPARE(preview_->totalTime()->text(), QStringLiteral("03:05"));
        nowMs_ = 50000;
        preview_->play();
        QVERIFY(preview_->isPlaying());
        QVERIFY(!preview_->musicChooser()->isEnabled());
        QVERIFY(!preview_->lyricChooser()->isEnabled());

        // At 00:00 the label stays empty although a tag lies within the first second.
        nowMs_ = 50700;
        preview_->tick();
        QCOMPARE(preview_->currentTime()->text(), QStringLiteral("00:00"));
        QCOMPARE(preview_->lyricLabel()->text(), QString());

        nowMs_ = 56200;
        preview_->tick();
        QCOMPARE(preview_->currentTime()->text(), QStringLiteral("00:06"));
        const QString traditional = QString::fromUtf16(u"翻開舊相冊");
        QCOMPARE(preview_->lyricLabel()->text(), traditional);
        QVERIFY(preview_->lyricLabel()->font().bold());
        QVERIFY(!preview_->lyricLabel()->font().italic());
        QCOMPARE(preview_->lyricLabel()->pos(),
                 applyLyricSettings(settings, traditional, 679, 390).topLeft);
        QCOMPARE(preview_->lyricLabel()->pos().y(), 335);

        // Between tags the line stays.
        nowMs_ = 60000;
        preview_->tick();
        QCOMPARE(preview_->lyricLabel()->text(), traditional);

        // The end of the music returns the window to idle.
        nowMs_ = 50000 + 185400;
        preview_->tick();
        QVERIFY(!preview_->isPlaying());
        QVERIFY(preview_->musicChooser()->isEnabled());
        QCOMPARE(preview_->currentTime()->text(), QStringLiteral("00:00"));
        QCOMPARE(preview_->lyricLabel()->text(), QString());
        QVERIFY(!player_->hasFileName());
    }

    void musicModeShowsTheLyricTableLastRead() {
        album_->addMusic(test::writeSilentWav(*folder_, "song.wav", 20), *player_);
        album_->addLyrics(folder_->write("a.lrc", "[00:02]from a\n"));
        LyricSettings italic;
        italic.style = LyricStyle::Italic;
        album_->setLyricSettings(0, italic);
        // Another display read this table last.
        album_->setLyricTable(LyricTable::fromText("[00:03]last read\n"));

        QVERIFY(preview_->prepare(MusicPreviewMode::Music));
        QStringList shown;
        {
            test::ModalResponder script({test::acceptMessage(&shown)});
            preview_->play();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, QStringList{texts::kNoMusicChosen});

        preview_->musicChooser()->setCurrentIndex(0);
        nowMs_ = 0;
        preview_->play();
        nowMs_ = 3100;
        preview_->tick();
        QCOMPARE(preview_->lyricLabel()->text(), QStringLiteral("last read"));
        QVERIFY(preview_->lyricLabel()->font().italic());
        QVERIFY(!preview_->lyricLabel()->font().bold());

        // "返回" stops the music and closes.
        preview_->returnButton()->click();
        QVERIFY(!preview_->isPlaying());
        QVERIFY(!player_->hasFileName());
    }

    void previewReportsMusicItCannotOpen() {
        const QString file = test::writeSilentWav(*folder_, "gone.wav", 2);
        album_->addMusic(file, *player_);
        QVERIFY(QFile::remove(file));
        QVERIFY(preview_->prepare(MusicPreviewMode::Music));
        QStringList shown;
        test::ModalResponder script({test::acceptMessage(&shown)});
        preview_->musicChooser()->setCurrentIndex(0);
        QVERIFY(script.finished());
        QCOMPARE(shown, QStringList{texts::kMusicCannotPlay.arg(file)});
        QCOMPARE(preview_->totalTime()->text(), QStringLiteral("00:00"));
        QVERIFY(!player_->hasFileName());
    }

    void mainWindowSummariesAndDoubleClicks() {
        MainWindow main;
        auto* windows = new MusicLyricsWindows(main, *album_, *player_);
        QCOMPARE(windows->parent(), &main);

        QStringList shown;
        {
            test::ModalResponder script({test::acceptMessage(&shown), test::acceptMessage(&shown)});
            emit part<SummaryLists>(main)->musicDoubleClicked();
            emit part<SummaryLists>(main)->lyricsDoubleClicked();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, (QStringList{texts::kNoMusic, texts::kNoMusic}));

        album_->addMusic(test::writeSilentWav(*folder_, QStringLiteral("晴天.wav"), 65), *player_);
        album_->addLyrics(folder_->write(QStringLiteral("晴天.lrc"), "[00:01]x\n"));
        QStringList captions;
        {
            test::ModalResponder script(
                {test::closeWindow(&captions), test::closeWindow(&captions)});
            main.runCommand(Command::AddMusic);
            main.runCommand(Command::AddLyrics);
            QVERIFY(script.finished());
        }
        QCOMPARE(captions, (QStringList{texts::kMusicListCaption, texts::kLyricsListCaption}));
        QCOMPARE(rowTexts(part<SummaryLists>(main)->music(), 0),
                 (QStringList{"1", QStringLiteral("晴天"), "00:01:05"}));
        QCOMPARE(rowTexts(part<SummaryLists>(main)->lyrics(), 0),
                 (QStringList{"1", QStringLiteral("晴天"), ".lrc"}));

        QStringList modes;
        const auto previewShown = [&modes](QWidget* modal) {
            auto* window = qobject_cast<MusicPreviewWindow*>(modal);
            modes << (window ? musicPreviewModeWord(window->mode()) : QStringLiteral("?"));
            QCOMPARE(window->currentTime()->text(), QStringLiteral("00:00"));
            QCOMPARE(window->musicChooser()->itemText(0), QStringLiteral("晴天"));
            window->returnButton()->click();
        };
        {
            test::ModalResponder script({previewShown, previewShown});
            emit part<SummaryLists>(main)->musicDoubleClicked();
            emit part<SummaryLists>(main)->lyricsDoubleClicked();
            QVERIFY(script.finished());
        }
        QCOMPARE(modes, (QStringList{texts::kModeMusic, texts::kModeLyrics}));
    }

private:
    Catalogue catalogue_;
    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Album> album_;
    std::unique_ptr<MusicPlayer> player_;
    std::unique_ptr<MusicPreviewWindow> preview_;
    std::unique_ptr<MusicListWindow> window_;
    qint64 nowMs_ = 0;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::MusicWindowsTest)
#include "test_music_windows.moc"
