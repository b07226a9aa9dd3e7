// The main window's production commands: the guards, the album type window, the folder, the
// question before an existing file is replaced, and the production window.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "album/album_texts.h"
#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/output_commands.h"
#include "assignment/assignment_texts.h"
#include "assignment/placement.h"
#include "catalogue/catalogue.h"
#include "dialogs/message_dialog.h"
#include "disc/disc_check.h"
#include "media/music_player.h"
#include "photo/fitting_canvas.h"
#include "production/completion_dialog.h"
#include "production/output_windows.h"
#include "production/production_run_texts.h"
#include "production/production_texts.h"
#include "production/production_window.h"
#include "skin/fonts.h"
#include "tests/support/album_builders.h"
#include "tests/support/held_converter.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/media_probe.h"
#include "tests/support/modal_responder.h"
#include "tests/support/production_album.h"
#include "tests/support/test_files.h"
#include "timeline/timeline_texts.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

using test::whenShown;

// A main window with the output commands of an album; the folder chooser answers folder.
class ProductionCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = source_.folder().path() + "out/";
        source_.folder().mkdir("out");
        OutputCommandServices services;
        services.chooseFolder = [this](QWidget*) {
            ++folderAsked_;
            return folder_;
        };
        services.openFolder = [this](const QString&) { ++opened_; };
        services.converterFactory = [this]() -> std::unique_ptr<mcl::Converter> {
            if (holdAt_ < 0) {
                return mcl::createConverter();
            }
            auto held = std::make_unique<test::HeldConverter>(holdAt_);
            held_ = held.get();
            return held;
        };
        services.projectFile = [this] { return projectFile_; };
        wireOutputCommands(window_, source_.album(), services);
        // A complete production ends with the completion dialog: answered with "确定".
        QObject::connect(&completion_, &QTimer::timeout, [this] {
            if (auto* done = qobject_cast<CompletionDialog*>(QApplication::activeModalWidget())) {
                ++completions_;
                done->okButton()->click();
            }
        });
        completion_.start(5);
    }

    // The album type window gets the smallest size, name and "开始制作".
    std::unique_ptr<test::ModalResponder> nameTheAlbum(const QString& name) {
        return whenShown<AlbumTypeWindow>([name](AlbumTypeWindow* typeWindow) {
            typeWindow->sizeList()->setCurrentIndex(0);
            emit typeWindow->sizeList()->activated(0);
            typeWindow->nameEdit()->setText(name);
            typeWindow->startButton()->click();
        });
    }

    // The message dialog's text, answered with "确定".
    std::unique_ptr<test::ModalResponder> readMessage(QString& told) {
        return whenShown<MessageDialog>(
            [&told](MessageDialog* dialog) {
                told = dialog->message();
                dialog->accept();
            },
            60000);
    }

    test::ProductionAlbum source_;
    MainWindow window_;
    QString folder_;
    int folderAsked_ = 0;
    int opened_ = 0;
    // With a picture number, each production holds after it until it is stopped.
    int holdAt_ = -1;
    test::HeldConverter* held_ = nullptr;
    QString projectFile_;
    QTimer completion_;
    int completions_ = 0;
};

TEST_F(ProductionCommandsTest, GuardsEndTheRequestBeforeAnyWindow) {
    QString told;
    // Playing.
    window_.setPlaybackSource([] { return PlaybackState::Playing; });
    auto answer = readMessage(told);
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(told, texts::kPlayingGuard);
    window_.setPlaybackSource({});

    // Sync with music and no music.
    test::changeOptions(source_.album(),
                        [&](OutputOptions& options) { options.sync = SyncMode::WithMusic; });
    answer = readMessage(told);
    window_.runCommand(Command::Vcd);
    EXPECT_EQ(told, texts::kNoMusicForSync);
    test::changeOptions(source_.album(),
                        [&](OutputOptions& options) { options.sync = SyncMode::WithTemplate; });

    // No used template, then no photo.
    source_.album().deleteAllTemplates();
    answer = readMessage(told);
    window_.runCommand(Command::Svcd);
    EXPECT_EQ(told, texts::kNoTemplates);
    source_.album().deletePhoto(1);
    source_.album().deletePhoto(0);
    answer = readMessage(told);
    window_.runCommand(Command::Avi);
    EXPECT_EQ(told, texts::kNoPhotos);
    EXPECT_EQ(folderAsked_, 0);
}

TEST_F(ProductionCommandsTest, CancelledTypeWindowOrFolderStartsNothing) {
    auto cancel = whenShown<AlbumTypeWindow>(
        [](AlbumTypeWindow* typeWindow) { typeWindow->cancelButton()->click(); });
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(cancel->answered(), 1);
    EXPECT_EQ(folderAsked_, 0);

    folder_.clear();  // The chooser cancelled.
    auto name = nameTheAlbum("a");
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(folderAsked_, 1);
    EXPECT_TRUE(QDir(source_.folder().path() + "out").isEmpty());
}

TEST_F(ProductionCommandsTest, ExistingFileIsKeptAfterNoAndReplacedAfterYes) {
    const QString out = folder_ + QString::fromUtf16(u"旅行.mpg");
    source_.folder().write(QString::fromUtf16(u"out/旅行.mpg"), "an older album");

    QString question;
    auto name = nameTheAlbum(QString::fromUtf16(u"旅行"));
    std::unique_ptr<test::ModalResponder> no;
    no = whenShown<ConfirmDialog>([&](ConfirmDialog* dialog) {
        question = dialog->message();
        dialog->cancelButton()->click();
    });
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(no->answered(), 1);
    EXPECT_EQ(question, texts::kReplaceFileQuestion.arg(out));
    EXPECT_EQ(test::readFile(out), "an older album");

    name = nameTheAlbum(QString::fromUtf16(u"旅行"));
    auto yes = whenShown<ConfirmDialog>([](ConfirmDialog* dialog) { dialog->okButton()->click(); });
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(yes->answered(), 1);
    EXPECT_EQ(completions_, 1);
    const test::MediaFacts facts = test::probeMedia(out);
    EXPECT_EQ(facts.videoCodec, "mpeg2video");
    EXPECT_EQ(facts.videoFrames, 220);
    EXPECT_EQ(opened_, 0);

    // Replacing, then stopping: the file made before stays as it was.
    const QByteArray made = test::readFile(out);
    name = nameTheAlbum(QString::fromUtf16(u"旅行"));
    yes = whenShown<ConfirmDialog>([](ConfirmDialog* dialog) { dialog->okButton()->click(); });
    holdAt_ = 100;
    bool stopped = false;
    QTimer stopper;
    QObject::connect(&stopper, &QTimer::timeout, [&] {
        auto* production = qobject_cast<ProductionWindow*>(QApplication::activeModalWidget());
        if (!stopped && production && production->stopButton()->isEnabled() && held_ &&
            held_->reached()) {
            production->stopButton()->click();
            stopped = true;
        }
    });
    stopper.start(2);
    window_.runCommand(Command::Dvd);
    EXPECT_TRUE(stopped);
    EXPECT_EQ(test::readFile(out), made);
    EXPECT_FALSE(QFileInfo::exists(out + ".part"));
}

TEST_F(ProductionCommandsTest, AVcdDiscImageAsksOnceAboutAnImageFileThatIsThere) {
    const QString bin = folder_ + QString::fromUtf16(u"旅行.bin");
    const QString cue = folder_ + QString::fromUtf16(u"旅行.cue");
    source_.folder().write(QString::fromUtf16(u"out/旅行.bin"), "an older image");
    auto typed = whenShown<AlbumTypeWindow>([](AlbumTypeWindow* typeWindow) {
        typeWindow->discImage()->click();
        typeWindow->nameEdit()->setText(QString::fromUtf16(u"旅行"));
        typeWindow->startButton()->click();
    });
    QStringList questions;
    auto yes = whenShown<ConfirmDialog>([&](ConfirmDialog* dialog) {
        questions << dialog->message();
        dialog->okButton()->click();
    });
    window_.runCommand(Command::Vcd);
    EXPECT_EQ(questions, QStringList{texts::kReplaceFileQuestion.arg(bin)});
    EXPECT_EQ(completions_, 1);
    EXPECT_EQ(disc::checkVcdImage(bin, cue), QString());
    // The album keeps the choice for the next production (and its project).
    EXPECT_TRUE(source_.album().outputOptions().isDiscImage());
}

TEST_F(ProductionCommandsTest, AnOutputThatIsAnInputIsRefusedBeforeAnyQuestion) {
    // The album's file name is a link to one of its photos.
    const QString photo = source_.album().photos().at(0).location;
    const QByteArray photoBytes = test::readFile(photo);
    const QString out = folder_ + "same.mpg";
    ASSERT_TRUE(QFile::link(photo, out));
    QString told;
    auto typed = nameTheAlbum("same");
    auto message = readMessage(told);
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(message->answered(), 1);
    EXPECT_EQ(told, texts::kOutputIsAnInput.arg(out, photo));
    EXPECT_EQ(test::readFile(photo), photoBytes);
    EXPECT_TRUE(QFileInfo(out).isSymLink());
    EXPECT_EQ(completions_, 0);

    // The album's own project file.
    projectFile_ = source_.folder().write("out/trip.mpg", "{}");
    typed = nameTheAlbum("trip");
    message = readMessage(told);
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(told, texts::kOutputIsAnInput.arg(projectFile_, projectFile_));
    EXPECT_EQ(test::readFile(projectFile_), QByteArray("{}"));
}

TEST_F(ProductionCommandsTest, UnwritableFolderIsToldAndTheAlbumIsUnchanged) {
    // A file stands where the chosen folder is: nothing can be written below it.
    const QString blocker = source_.folder().write("blocker", "not a folder");
    folder_ = blocker + "/";
    QString told;
    auto name = nameTheAlbum("album");
    auto message = readMessage(told);
    window_.runCommand(Command::Dvd);
    EXPECT_EQ(message->answered(), 1);
    EXPECT_FALSE(told.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(folder_ + "album.mpg"));
    EXPECT_EQ(test::readFile(blocker), "not a folder");
    EXPECT_EQ(source_.album().photos().size(), 2);
    EXPECT_EQ(source_.album().templates().size(), 2);
    EXPECT_TRUE(source_.album().templates().at(0).complete);
    EXPECT_TRUE(source_.album().templates().at(1).complete);
}

TEST_F(ProductionCommandsTest, AviButtonAndMp4MenuItemProduceTheirTypes) {
    auto name = nameTheAlbum("clip");
    window_.runCommand(Command::Avi);
    const test::MediaFacts avi = test::probeMedia(folder_ + "clip.avi");
    EXPECT_EQ(avi.videoCodec, "mpeg4");
    EXPECT_EQ(avi.videoFrames, 220);

    QAction* mp4 = nullptr;
    for (QAction* action : test::functionMenu(window_)->actions()) {
        if (action->text() == texts::kMp4) {
            mp4 = action;
        }
    }
    ASSERT_NE(mp4, nullptr);
    name = nameTheAlbum("clip");
    mp4->trigger();
    const test::MediaFacts facts = test::probeMedia(folder_ + "clip.mp4");
    EXPECT_EQ(facts.videoCodec, "h264");
    EXPECT_EQ(facts.width, 320);
    EXPECT_EQ(facts.videoFrames, 220);
}

}  // namespace
}  // namespace vellumo

namespace vellumo {
namespace {

// A picture of stripes and circles in colours of its own.
QImage showPhoto(int i) {
    QImage image(i % 3 == 2 ? QSize(1200, 1600) : QSize(1600, 1200), QImage::Format_RGB32);
    QPainter p(&image);
    QLinearGradient g(0, 0, image.width(), image.height());
    g.setColorAt(0, QColor::fromHsv((i * 37) % 360, 140, 230));
    g.setColorAt(1, QColor::fromHsv((i * 37 + 90) % 360, 200, 80));
    p.fillRect(image.rect(), g);
    for (int k = 0; k < 40; ++k) {
        p.setBrush(QColor::fromHsv((i * 13 + k * 7) % 360, 120, 200));
        p.drawEllipse(QPoint((k * 131) % image.width(), (k * 197) % image.height()), 60, 40);
    }
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setPixelSize(300);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignCenter, QString::number(i + 1));
    return image;
}

// By hand, not in the test run: twenty photos on the installed library with the sample song
// and its lyrics, made into a DVD at 1280 × 720 through the "DVD" command and the production
// window. VELLUMO_SHOW_DVD_FOLDER names the folder that receives "twenty.mpg" and a picture of
// the production window at work.
TEST(ProductionCommandsByHand, TwentyPhotosDvdWithMusicAndLyrics) {
    const QString target = qEnvironmentVariable("VELLUMO_SHOW_DVD_FOLDER");
    if (target.isEmpty()) {
        GTEST_SKIP() << "set VELLUMO_SHOW_DVD_FOLDER to make the DVD";
    }
    QTemporaryDir working;
    installFontSubstitutions();
    setProgramFolder(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/"));
    Catalogue catalogue;
    ASSERT_TRUE(catalogue.build());
    Album album(catalogue);
    for (int i = 0; i < 20; ++i) {
        const QString file = working.path() + QStringLiteral("/p%1.jpg").arg(i, 2, 10, QChar(u'0'));
        writeJpeg(showPhoto(i), file);
        album.addPhoto(*measurePhoto(file));
    }
    PlacementRun placement = placementRun(album);
    placement.start();
    placement.runToEnd();
    MusicPlayer player;
    player.setSoundOutput(false);
    ASSERT_TRUE(album.addMusic(dataPath(paths::kSampleMusic), player).isEmpty());
    album.addLyrics(dataPath(paths::kSampleLyrics));
    // The working folders go below the temporary folder.
    const QString closing = dataPath(paths::kClosingMovie);
    setProgramFolder(working.path() + u'/');
    QDir().mkpath(QFileInfo(dataPath(paths::kClosingMovie)).absolutePath());
    ASSERT_TRUE(QFile::copy(closing, dataPath(paths::kClosingMovie)));

    MainWindow window;
    OutputCommandServices services;
    services.chooseFolder = [&](QWidget*) { return target + u'/'; };
    services.openFolder = [](const QString&) {};
    wireOutputCommands(window, album, services);
    auto name = whenShown<AlbumTypeWindow>([](AlbumTypeWindow* typeWindow) {
        typeWindow->nameEdit()->setText("twenty");
        typeWindow->startButton()->click();
    });
    auto replace = whenShown<ConfirmDialog>([](ConfirmDialog* d) { d->okButton()->click(); });
    bool grabbed = false;
    QTimer grab;
    QObject::connect(&grab, &QTimer::timeout, [&] {
        auto* production = qobject_cast<ProductionWindow*>(QApplication::activeModalWidget());
        if (!grabbed && production && production->largeBar()->value() > 400) {
            grabbed = production->grab().save(target + "/production_window.png");
        }
    });
    grab.start(50);
    QString told;
    auto message = whenShown<MessageDialog>(
        [&told](MessageDialog* dialog) {
            told = dialog->message();
            dialog->accept();
        },
        600000);
    auto done = whenShown<CompletionDialog>(
        [&target](CompletionDialog* dialog) {
            dialog->grab().save(target + "/completion.png");
            dialog->okButton()->click();
        },
        600000);
    window.runCommand(Command::Dvd);
    setProgramFolder(QString());
    EXPECT_TRUE(told.isEmpty()) << told.toStdString();
    EXPECT_TRUE(grabbed);
    const test::MediaFacts facts = test::probeMedia(target + "/twenty.mpg");
    EXPECT_EQ(facts.videoCodec, "mpeg2video");
    EXPECT_EQ(facts.width, 1280);
    EXPECT_EQ(facts.audioCodec, "ac3");
    std::printf("twenty.mpg: %d frames, %.1f s video, %.1f s sound\n", facts.videoFrames,
                facts.videoSeconds, facts.audioSeconds);
}

}  // namespace
}  // namespace vellumo
