#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QSlider>
#include <QTreeWidget>
#include <QtTest>

#include <memory>

#include "album/album_texts.h"
#include "album/lyric_settings_window.h"
#include "album/music_lyrics_texts.h"
#include "app/program.h"
#include "catalogue/catalogue.h"
#include "dialogs/progress_window.h"
#include "dialogs/record_widgets.h"
#include "lists/lyrics_list_window.h"
#include "media/music_player.h"
#include "preview/music_preview_texts.h"
#include "preview/music_preview_window.h"
#include "project/album.h"
#include "tests/support/modal_responder.h"
#include "tests/support/test_files.h"
#include "timeline/timeline_texts.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

void selectRow(QTreeWidget* list, int row) {
    list->clearSelection();
    list->topLevelItem(row)->setSelected(true);
}

QString numberOf(const QTreeWidget* list, int row) {
    return list->topLevelItem(row)->text(0);
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

class LyricWindowsTest : public QObject {
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
        preview_ = std::make_unique<MusicPreviewWindow>(*album_, *player_);
        settings_ = std::make_unique<LyricSettingsWindow>(
            album_->lyrics(), [this](int row, const LyricSettings& settings) {
                album_->setLyricSettings(row, settings);
            });
        window_ = std::make_unique<LyricsListWindow>(*album_, *preview_, *settings_);
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000);
        window_.reset();
        settings_.reset();
        preview_.reset();
        player_.reset();
        album_.reset();
        setProgramFolder(QString());
        folder_.reset();
    }

    void informationPanelNamesLyricFields() {
        QCOMPARE(infoLabels(window_->info()),
                 (QStringList{"歌词序号", "歌词名称", "歌词格式", "歌词位置"}));
    }

    void addingKeepsSettingsInStepAndPresetsTheSampleOnce() {
        const QString sample = folder_->write(paths::kSampleLyrics, "[00:01]x\n");
        const QString other = folder_->write("songs/other.LRC", "[00:01]y\n");
        QStringList presets;
        QStringList asked;
        window_->setFileChooser([&](QWidget*, const FileRequest& request) {
            const QString& caption = request.caption;
            const QString& filter = request.filter;
            const QString& preset = request.preset;
            asked << caption + u'|' + filter;
            presets << preset;
            return QStringList{preset.isEmpty() ? other : preset};
        });
        window_->addLyrics();
        window_->addLyrics();
        QCOMPARE(presets, (QStringList{sample, QString()}));
        QCOMPARE(asked.first(), texts::kLyricsListCaption + u'|' + texts::kAddLyricsFilter);
        QCOMPARE(window_->firstOpenFlag(), QStringLiteral("1"));

        expectRows(2);
        QCOMPARE(window_->list()->topLevelItem(0)->text(1), QStringLiteral("甜蜜蜜"));
        QCOMPARE(window_->list()->topLevelItem(1)->text(2), QStringLiteral(".LRC"));
        QCOMPARE(window_->list()->topLevelItem(1)->text(3), other);
        QCOMPARE(album_->lyrics().at(1).settings, LyricSettings());

        selectRow(window_->list(), 1);
        QCOMPARE(window_->info()->value(0), QStringLiteral("2"));
        QCOMPARE(window_->info()->value(1), QStringLiteral("other"));
        QCOMPARE(window_->info()->value(3), other);
    }

    void aPipeIsNotAddedAndAFileWithoutLinesIsNamed() {
        const QString pipe = folder_->fifo("pipe.lrc");
        const QString junk = folder_->write("junk.lrc", QByteArray(300, '\x01'));
        const QString good = folder_->write("good.lrc", "[00:01]y\n");
        window_->setFileChooser([&](QWidget*, const FileRequest&) {
            return QStringList{pipe, junk, good};
        });
        test::ModalResponder responder;
        window_->addLyrics();
        QTRY_COMPARE_WITH_TIMEOUT(responder.messages.size(), 1, 5000);
        QCOMPARE(responder.messages.first(), texts::kNotARegularFileNotAdded.arg(pipe) + u'\n' +
                                                 texts::kLyricsWithoutLines.arg(junk));
        // The file without lines stays: its row goes with a song.
        expectRows(2);
        QCOMPARE(album_->lyrics().at(0).location, junk);
        QCOMPARE(album_->lyrics().at(1).location, good);
    }

    void deletingTakesTheSettingsAlong() {
        album_->addLyrics(folder_->path() + "first.lrc");
        album_->addLyrics(folder_->path() + "second.lrc");
        LyricSettings large;
        large.size = 40;
        album_->setLyricSettings(1, large);
        window_->refreshList();
        selectRow(window_->list(), 0);

        QStringList shown;
        {
            test::ModalResponder script(
                {test::answerQuestion(true, &shown), test::acceptMessage(&shown)});
            window_->deleteButton()->click();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, (QStringList{texts::kDeleteLyricsCaption + QStringLiteral(": ") +
                                         texts::kDeleteLyricsQuestion,
                                     texts::kLyricsDeleted}));
        expectRows(1);
        QCOMPARE(numberOf(window_->list(), 0), QStringLiteral("1"));
        QCOMPARE(album_->lyrics().at(0).name, QStringLiteral("second"));
        QCOMPARE(album_->lyrics().at(0).settings.size, 40);

        shown.clear();
        {
            test::ModalResponder script({test::answerQuestion(true, &shown),
                                         test::acceptMessage(&shown), test::acceptMessage(&shown),
                                         test::acceptMessage(&shown)});
            window_->deleteAll();
            window_->deleteSelected();
            window_->settingsButton()->click();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown,
                 (QStringList{texts::kDeleteLyricsCaption + QStringLiteral(": ") +
                                  texts::kDeleteAllLyricsQuestion,
                              texts::kAllLyricsDeleted, texts::kNoLyrics, texts::kNoLyrics}));
        QVERIFY(album_->lyrics().isEmpty());
    }

    void settingsAndPreviewButtonsNeedTheirPrerequisites() {
        album_->addLyrics(folder_->path() + "a.lrc");
        album_->addLyrics(folder_->path() + "b.lrc");
        window_->refreshList();
        QStringList shown;
        int editedRow = -1;
        {
            test::ModalResponder script(
                {test::acceptMessage(&shown), test::acceptMessage(&shown), [&](QWidget* modal) {
                     auto* settings = qobject_cast<LyricSettingsWindow*>(modal);
                     editedRow = settings ? settings->row() : -2;
                     settings->cancelButton()->click();
                 }});
            window_->settingsButton()->click();  // nothing selected
            window_->previewButton()->click();   // no music
            selectRow(window_->list(), 1);
            window_->settingsButton()->click();
            QVERIFY(script.finished());
        }
        QCOMPARE(shown, (QStringList{texts::kNoLyricsSelected, texts::kNoMusic}));
        QCOMPARE(editedRow, 1);
        QCOMPARE(musicPreviewModeWord(preview_->mode()), QStringLiteral("bofanggeci"));
    }

    void settingsWindowLoadsTheDefaults() {
        album_->addLyrics(folder_->path() + "a.lrc");
        settings_->load(0);
        QCOMPARE(settings_->caption(), texts::kLyricSettingsCaption);
        QCOMPARE(settings_->screen()->size(), QSize(679, 390));
        QCOMPARE(settings_->screen()->toolTip(), texts::kLyricScreenHint);
        QCOMPARE(settings_->sample()->toolTip(), texts::kLyricSampleHint);
        QCOMPARE(settings_->sample()->text(), texts::kLyricSample);
        QVERIFY(settings_->defaultPosition()->isChecked());
        for (QWidget* control : std::initializer_list<QWidget*>{
                 settings_->xBar(), settings_->yBar(), settings_->colours(), settings_->fonts(),
                 settings_->sizes(), settings_->styles(), settings_->scripts(),
                 settings_->customLeft(), settings_->customCentred()}) {
            QVERIFY(!control->isEnabled());
        }
        QCOMPARE(settings_->colours()->currentText(), QStringLiteral("clWhite"));
        QCOMPARE(settings_->fonts()->currentText(), texts::kHeiTi);
        QCOMPARE(settings_->sizes()->currentText(), QStringLiteral("10"));
        QCOMPARE(settings_->sizes()->count(), 51);
        QCOMPARE(settings_->styles()->currentText(), texts::kStyleBold);
        QCOMPARE(settings_->scripts()->currentText(), texts::kScriptSimplified);
        QStringList styles;
        for (int i = 0; i < settings_->styles()->count(); ++i) {
            styles << settings_->styles()->itemText(i);
        }
        QCOMPARE(styles, (QStringList{texts::kStyleRegular, texts::kStyleItalic, texts::kStyleBold,
                                      texts::kStyleBoldItalic}));

        // Centred at the default top, bold and not italic, white.
        const QFont font = settings_->sample()->font();
        QVERIFY(font.bold());
        QVERIFY(!font.italic());
        QCOMPARE(font.pointSize(), 10);
        const int width = QFontMetrics(font).horizontalAdvance(texts::kLyricSample);
        QCOMPARE(settings_->sample()->pos(), QPoint(679 / 2 - width / 2, 335));
        QCOMPARE(settings_->xBar()->maximum(), 679);
        QCOMPARE(settings_->yBar()->maximum(), 390);
        QCOMPARE(settings_->yBar()->value(), 335);
    }

    void colourListNamesEveryColourOnce() {
        QSet<QString> names;
        for (const LyricColour& colour : lyricColours()) {
            names.insert(colour.name);
        }
        QCOMPARE(names.size(), lyricColours().size());
        QCOMPARE(lyricColours()[lyricColourIndex("clWhite")].number, 16777215u);
        QCOMPARE(lyricColours()[lyricColourIndex("clRed")].number, 255u);
        for (const char* name :
             {"clMoneyGreen", "clSkyBlue", "clCream", "clMedGray", "clBtnFace"}) {
            QVERIFY2(lyricColourIndex(name) >= 0, name);
        }
    }

    void cancelLeavesTheRecordWhateverWasChanged() {
        album_->addLyrics(folder_->path() + "a.lrc");
        const LyricSettings before = album_->lyrics().at(0).settings;
        test::ModalResponder script({[](QWidget* modal) {
            auto* window = qobject_cast<LyricSettingsWindow*>(modal);
            window->customPosition()->click();
            window->customCentred()->click();
            window->colours()->setCurrentIndex(lyricColourIndex("clRed"));
            window->fonts()->setCurrentIndex(0);
            window->sizes()->setCurrentIndex(30);
            window->styles()->setCurrentIndex(1);
            window->scripts()->setCurrentIndex(1);
            window->xBar()->setValue(12);
            window->yBar()->setValue(34);
            window->cancelButton()->click();
        }});
        settings_->edit(0);
        QVERIFY(script.finished());
        QCOMPARE(album_->lyrics().at(0).settings, before);
    }

    void saveStoresEveryFieldFromItsControl() {
        album_->addLyrics(folder_->path() + "a.lrc");
        settings_->load(0);
        settings_->customPosition()->click();
        QVERIFY(settings_->xBar()->isEnabled());
        QVERIFY(settings_->customLeft()->isChecked());
        settings_->colours()->setCurrentIndex(lyricColourIndex("clRed"));
        settings_->fonts()->setCurrentIndex(0);  // 宋体
        settings_->sizes()->setCurrentIndex(settings_->sizes()->findText("20"));
        settings_->styles()->setCurrentIndex(1);   // 倾斜
        settings_->scripts()->setCurrentIndex(1);  // 繁体
        QCOMPARE(settings_->sample()->text(), QString::fromUtf16(u"此處顯示歌詞內容"));
        QVERIFY(settings_->sample()->font().italic());
        QVERIFY(!settings_->sample()->font().bold());
        settings_->xBar()->setValue(100);
        settings_->yBar()->setValue(200);
        QCOMPARE(settings_->sample()->pos(), QPoint(100, 200));
        settings_->saveButton()->click();

        const LyricSettings& saved = album_->lyrics().at(0).settings;
        QCOMPARE(saved.position, LyricPosition::Custom);
        QCOMPARE(saved.customLeft, 100);
        QCOMPARE(saved.customTop, 200);
        QCOMPARE(saved.defaultTop, 335);
        QVERIFY(!saved.customCentred);
        QCOMPARE(saved.font, QStringLiteral("宋体"));
        QCOMPARE(saved.size, 20);
        QCOMPARE(saved.style, LyricStyle::Italic);
        QCOMPARE(saved.colourName, QStringLiteral("clRed"));
        QCOMPARE(saved.colourNumber, 255u);
        QCOMPARE(saved.script, LyricScript::Traditional);

        // Reopened, the window shows what was saved, the sample where it was left.
        settings_->load(0);
        QVERIFY(settings_->customPosition()->isChecked());
        QCOMPARE(settings_->sample()->pos(), QPoint(100, 200));
        QCOMPARE(settings_->xBar()->value(), 100);
        QCOMPARE(settings_->styles()->currentText(), QStringLiteral("倾斜"));

        // Centring: the sample is centred and the choice saved; the chosen left is ignored.
        settings_->customCentred()->click();
        const int width = QFontMetrics(settings_->sample()->font())
                              .horizontalAdvance(settings_->sample()->text());
        QCOMPARE(settings_->sample()->x(), 679 / 2 - width / 2);
        settings_->sizes()->setCurrentIndex(settings_->sizes()->findText("40"));
        const int wider = QFontMetrics(settings_->sample()->font())
                              .horizontalAdvance(settings_->sample()->text());
        QVERIFY(wider > width);
        QCOMPARE(settings_->sample()->x(), 679 / 2 - wider / 2);
        settings_->saveButton()->click();
        QVERIFY(album_->lyrics().at(0).settings.customCentred);
        QCOMPARE(album_->lyrics().at(0).settings.size, 40);
    }

    void karaokeAndSubtitlesAreSavedInEitherPosition() {
        album_->addLyrics(folder_->path() + "a.lrc");
        settings_->load(0);
        // Off by default, in the default colour; enabled in the default position too.
        QVERIFY(!settings_->karaoke()->isChecked());
        QVERIFY(!settings_->asSubtitles()->isChecked());
        QCOMPARE(settings_->karaoke()->text(), texts::kKaraoke);
        QCOMPARE(settings_->asSubtitles()->text(), texts::kLyricsAsSubtitles);
        QCOMPARE(settings_->sungColours()->currentText(), QStringLiteral("clAqua"));
        QVERIFY(settings_->karaoke()->isEnabled());
        QVERIFY(settings_->sungColours()->isEnabled());
        settings_->karaoke()->click();
        settings_->asSubtitles()->click();
        settings_->sungColours()->setCurrentIndex(lyricColourIndex("clYellow"));
        settings_->saveButton()->click();
        const LyricSettings& saved = album_->lyrics().at(0).settings;
        QVERIFY(saved.karaoke);
        QVERIFY(saved.asSubtitles);
        QCOMPARE(saved.sungColourName, QStringLiteral("clYellow"));
        QCOMPARE(saved.sungColour(), QColor(255, 255, 0));
        QCOMPARE(saved.position, LyricPosition::Default);
        settings_->load(0);
        QVERIFY(settings_->karaoke()->isChecked());
        QCOMPARE(settings_->sungColours()->currentText(), QStringLiteral("clYellow"));
    }

    void defaultPositionShowsAndSavesTheRecordAgain() {
        album_->addLyrics(folder_->path() + "a.lrc");
        LyricSettings unknownColour;
        unknownColour.colourName = QStringLiteral("clNotInTheList");
        unknownColour.colourNumber = 0x00FF00;
        album_->setLyricSettings(0, unknownColour);
        settings_->load(0);
        // A colour name not in the list: no colour item, the sample takes the number.
        QCOMPARE(settings_->colours()->currentIndex(), -1);
        QVERIFY(settings_->sample()->styleSheet().contains(QStringLiteral("#00ff00")));

        settings_->customPosition()->click();
        settings_->sizes()->setCurrentIndex(settings_->sizes()->findText("30"));
        settings_->defaultPosition()->click();
        QVERIFY(!settings_->sizes()->isEnabled());
        QCOMPARE(settings_->sizes()->currentText(), QStringLiteral("10"));
        QCOMPARE(settings_->sample()->font().pointSize(), 10);
        QCOMPARE(settings_->sample()->y(), 335);
        settings_->saveButton()->click();
        const LyricSettings& saved = album_->lyrics().at(0).settings;
        QCOMPARE(saved.position, LyricPosition::Default);
        QCOMPARE(saved.size, 10);
        QCOMPARE(saved.colourName, QStringLiteral("clNotInTheList"));
        QCOMPARE(saved.colourNumber, 0x00FF00u);
    }

private:
    void expectRows(int rows) {
        QCOMPARE(album_->lyrics().size(), rows);
        QCOMPARE(window_->list()->topLevelItemCount(), rows);
    }

    Catalogue catalogue_;
    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Album> album_;
    std::unique_ptr<MusicPlayer> player_;
    std::unique_ptr<MusicPreviewWindow> preview_;
    std::unique_ptr<LyricSettingsWindow> settings_;
    std::unique_ptr<LyricsListWindow> window_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::LyricWindowsTest)
#include "test_lyric_windows.moc"
