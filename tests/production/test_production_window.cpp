#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include <optional>
#include <stdexcept>

#include "dialogs/message_dialog.h"
#include "production/completion_dialog.h"
#include "production/production_run_texts.h"
#include "production/production_texts.h"
#include "production/production_window.h"
#include "tests/support/album_builders.h"
#include "tests/support/held_converter.h"
#include "tests/support/media_probe.h"
#include "tests/support/modal_responder.h"
#include "tests/support/production_album.h"
#include "tests/support/test_files.h"

namespace vellumo {
namespace {

// Calls act on every tick while the window is producing, until act returns true.
class DuringTheRun {
public:
    DuringTheRun(ProductionWindow& window, std::function<bool()> act) {
        QObject::connect(&timer_, &QTimer::timeout, [this, &window, act = std::move(act)] {
            if (window.isProducing() && act()) {
                timer_.stop();
            }
        });
        timer_.start(5);
    }

private:
    QTimer timer_;
};

// Answers the completion dialog with "确定" whenever it is shown, keeping its message.
class CompletionCloser {
public:
    CompletionCloser() {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            if (auto* done = qobject_cast<CompletionDialog*>(QApplication::activeModalWidget())) {
                messages << done->message();
                done->okButton()->click();
            }
        });
        timer_.start(5);
    }
    QStringList messages;

private:
    QTimer timer_;
};

TEST(ProductionWindow, OpensEmptyProducesTheFileClosesAndOpensTheFolder) {
    CompletionCloser completion;
    test::ProductionAlbum source;
    Album& album = source.album();
    test::changeOptions(
        album, [&](OutputOptions& options) { options.albumName = QStringLiteral("春游"); });
    ProductionWindow window(album);
    QStringList opened;
    window.setFolderOpener([&](const QString& folder) { opened << folder; });

    // Before the run starts: the request's caption and name, empty bars, no stop.
    bool looked = false;
    QTimer::singleShot(0, &window, [&] {
        looked = true;
        EXPECT_TRUE(window.isVisible());
        EXPECT_EQ(window.caption(), QString::fromUtf16(u"制作DVD相册"));
        EXPECT_EQ(window.fileName()->text(), QString::fromUtf16(u"春游"));
        EXPECT_EQ(window.smallBar()->value(), 0);
        EXPECT_EQ(window.largeBar()->value(), 0);
        EXPECT_TRUE(window.stopButton()->isEnabled());  // A stop answers from the start.
        EXPECT_FALSE(window.openWhenDone()->isChecked());
        EXPECT_EQ(window.size(), ProductionWindow::kSize);
    });
    // While frames are made: stop is offered, the times line fills; the user asks for the
    // folder and presses the close box, which does nothing.
    bool stopOffered = false;
    DuringTheRun during(window, [&] {
        if (!window.stopButton()->isEnabled()) {
            return false;
        }
        stopOffered = true;
        window.openWhenDone()->setChecked(true);
        window.close();
        QMetaObject::invokeMethod(&window, "reject");  // Escape
        EXPECT_TRUE(window.isVisible());
        return true;
    });
    const QString out = source.folder().path() + QString::fromUtf16(u"春游.mpg");
    const ProductionResult result = window.produce(out);

    ASSERT_EQ(result.outcome, ProductionOutcome::Complete) << result.error.toStdString();
    EXPECT_TRUE(looked);
    EXPECT_TRUE(stopOffered);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(opened, QStringList{QFileInfo(out).absolutePath()});
    EXPECT_EQ(window.largeBar()->value(), 220);
    EXPECT_EQ(window.largeBar()->maximum(), 220);
    EXPECT_FALSE(window.stopButton()->isEnabled());
    EXPECT_EQ(test::probeMedia(out).videoFrames, 220);
    EXPECT_TRUE(window.timesLine()->text().contains(QString::fromUtf16(u"帧/秒")));

    // "打开保存位置" opens the folder at any time.
    window.openFolderButton()->click();
    EXPECT_EQ(opened.size(), 2);
    // The end is told with the file's place.
    EXPECT_EQ(completion.messages,
              QStringList{texts::kCompletionMessage.arg(QFileInfo(out).absoluteFilePath())});
}

TEST(ProductionWindow, TimesLine) {
    ProductionProgress p;
    EXPECT_EQ(ProductionWindow::timesText(p),
              texts::kProductionTimes.arg("00:00:00", texts::kTimeUnknown, "0.0"));
    p.elapsed = "00:01:05";
    p.remaining = "00:02:00";
    p.framesPerSecond = 24.96;
    EXPECT_EQ(ProductionWindow::timesText(p),
              texts::kProductionTimes.arg("00:01:05", "00:02:00", "25.0"));
    EXPECT_EQ(ProductionWindow::captionFor("VCD"), QString::fromUtf16(u"制作VCD相册"));
}

TEST(ProductionWindow, StopEndsTheRunAndLeavesNoFile) {
    test::ProductionAlbum source({400, 400});
    ProductionWindow window(source.album());
    int opened = 0;
    window.setFolderOpener([&](const QString&) { ++opened; });
    DuringTheRun during(window, [&] {
        if (window.stopButton()->isEnabled() && window.largeBar()->value() >= 20) {
            window.stopButton()->click();
            return true;
        }
        return false;
    });
    const QString out = source.folder().path() + "stopped.mpg";
    const ProductionResult result = window.produce(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Stopped);
    EXPECT_LT(window.largeBar()->value(), 950);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_FALSE(QFileInfo::exists(out + ".part"));
    EXPECT_EQ(opened, 0);  // The box was not checked.
}

TEST(ProductionWindow, FailureIsToldWithItsReasonAfterTheWindowCloses) {
    test::ProductionAlbum source;
    Album& album = source.album();
    // A file where the folder should be: nothing can be written there.
    const QString blocker = source.folder().write("blocker", "not a folder");
    ProductionWindow window(album);
    int opened = 0;
    window.setFolderOpener([&](const QString&) { ++opened; });
    QString told;
    bool windowOpenWhenTold = true;
    auto message = test::whenShown<MessageDialog>(
        [&](MessageDialog* dialog) {
            told = dialog->message();
            windowOpenWhenTold = window.isVisible();
            dialog->accept();
        },
        60000);
    const QString out = blocker + "/album.mpg";
    const int photos = album.photos().size();
    const ProductionResult result = window.produce(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Failed);
    EXPECT_FALSE(QFileInfo::exists(out));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(album.photos().size(), photos);
    EXPECT_TRUE(album.templates().at(0).complete);
    EXPECT_EQ(message->answered(), 1);
    EXPECT_EQ(told, result.error);
    EXPECT_FALSE(told.isEmpty());
    EXPECT_FALSE(windowOpenWhenTold);
}

TEST(ProductionWindow, NoticesAreToldWithACompleteFile) {
    test::ProductionAlbum source;
    source.addMusic(0.5);  // Too short to cover the album.
    ProductionWindow window(source.album());
    CompletionCloser completion;
    const QString out = source.folder().path() + "short.mpg";
    EXPECT_EQ(window.produce(out).outcome, ProductionOutcome::Complete);
    EXPECT_TRUE(QFileInfo::exists(out));
    EXPECT_EQ(completion.messages,
              QStringList{texts::kCompletionMessage.arg(QFileInfo(out).absoluteFilePath()) +
                          "\n\n" + texts::kMusicTooShort});
}

TEST(ProductionWindow, StopAnswersBeforeTheConversionBegins) {
    test::ProductionAlbum source;
    for (const bool atOnce : {true, false}) {
        ProductionWindow window(source.album());
        // At once, before the run has begun; or while the album is prepared.
        QTimer::singleShot(0, &window, [&] {
            if (atOnce) {
                window.stopButton()->click();
            }
        });
        DuringTheRun during(window, [&] {
            if (atOnce || window.largeBar()->maximum() <= 1) {
                return false;
            }
            window.stopButton()->click();
            return true;
        });
        const QString out = source.folder().path() + "early.mpg";
        const ProductionResult result = window.produce(out);
        EXPECT_EQ(result.outcome, ProductionOutcome::Stopped) << atOnce;
        EXPECT_FALSE(window.isVisible());
        EXPECT_FALSE(window.isProducing());
        EXPECT_FALSE(QFileInfo::exists(out));
        EXPECT_EQ(window.largeBar()->value(), 0) << atOnce;
    }
}

TEST(ProductionWindow, CompletionOffersTheFolderAndThePlayerAndSaysWhereTheFileIs) {
    test::ProductionAlbum source;
    ProductionWindow window(source.album());
    QStringList started;
    bool desktopWorks = false;
    const auto opener = [&](const QString& path) {
        started << path;
        return desktopWorks;
    };
    window.setCompletionOpeners(opener, opener);
    const QString out = source.folder().path() + QString::fromUtf16(u"完成.mp4");
    const QString where = QFileInfo(out).absoluteFilePath();
    QStringList seen;
    bool stillOpen = false;
    auto done = test::whenShown<CompletionDialog>(
        [&](CompletionDialog* dialog) {
            EXPECT_EQ(dialog->caption(), texts::kCompletionCaption);
            seen << dialog->message();
            // Neither the player nor the file manager starts: the dialog says where the file is.
            dialog->playButton()->click();
            seen << dialog->message();
            dialog->openFolderButton()->click();
            seen << dialog->message();
            stillOpen = dialog->isVisible();
            desktopWorks = true;
            dialog->playButton()->click();
        },
        60000);
    test::changeOptions(source.album(),
                        [&](OutputOptions& options) { options.beginProduction(AlbumType::Mp4); });
    test::changeOptions(source.album(), [&](OutputOptions& options) { options.chooseSize(0); });
    EXPECT_EQ(window.produce(out).outcome, ProductionOutcome::Complete);
    ASSERT_EQ(done->answered(), 1);
    const QString message = texts::kCompletionMessage.arg(where);
    EXPECT_EQ(seen, QStringList({message, message + "\n\n" + texts::kCannotPlay.arg(where),
                                 message + "\n\n" + texts::kCannotOpenFolder.arg(where)}));
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(started, QStringList({out, QFileInfo(out).absolutePath(), out}));
}

TEST(ProductionWindow, ADiscImageIsToldWithItsFilesAndBurntWhereAWriterIs) {
    test::ProductionAlbum source;
    ProductionWindow window(source.album());
    test::changeOptions(source.album(), [](OutputOptions& options) {
        options.beginProduction(AlbumType::Vcd);
        options.chooseDiscImage();
    });
    // No writer: the image is ready and where it is; nothing to burn or play.
    window.setWriterFinder([] { return QList<disc::DiscWriter>{}; });
    QString told;
    bool burnOffered = true;
    bool playOffered = true;
    auto done = test::whenShown<CompletionDialog>(
        [&](CompletionDialog* dialog) {
            told = dialog->message();
            burnOffered = dialog->burnButton()->isVisible();
            playOffered = dialog->playButton()->isVisible();
            dialog->okButton()->click();
        },
        120000);
    const QString cue = source.folder().path() + "vcd.cue";
    ASSERT_EQ(window.produce(cue).outcome, ProductionOutcome::Complete);
    ASSERT_EQ(done->answered(), 1);
    const QString bin = source.folder().path() + "vcd.bin";
    EXPECT_EQ(told, texts::kDiscImageMessage.arg(QFileInfo(bin).absoluteFilePath() + "\n" +
                                                 QFileInfo(cue).absoluteFilePath()) +
                        "\n" + texts::kDiscImageNoWriter);
    EXPECT_FALSE(burnOffered);
    EXPECT_FALSE(playOffered);

    // A writer (xorriso's pseudo-drive writing into a file): "刻录到光盘" burns the DVD's ISO.
    test::changeOptions(source.album(), [](OutputOptions& options) {
        options.beginProduction(AlbumType::Dvd);
        options.chooseDiscImage();
    });
    const QString burnt = source.folder().path() + "burnt.iso";
    window.setWriterFinder([&] {
        return QList<disc::DiscWriter>{{QStringLiteral("stdio:") + burnt, {}, {}}};
    });
    QString ended;
    std::unique_ptr<test::ModalResponder> afterBurning;
    auto offered = test::whenShown<CompletionDialog>(
        [&](CompletionDialog* dialog) {
            EXPECT_TRUE(dialog->burnButton()->isVisible());
            afterBurning = test::whenShown<MessageDialog>(
                [&](MessageDialog* message) {
                    ended = message->message();
                    message->accept();
                },
                120000);
            dialog->burnButton()->click();
        },
        120000);
    const QString iso = source.folder().path() + "dvd.iso";
    ASSERT_EQ(window.produce(iso).outcome, ProductionOutcome::Complete);
    EXPECT_EQ(ended, texts::kBurnDone);
    // The burner pads the track's end; the image is there whole.
    const QByteArray image = test::readFile(iso);
    EXPECT_GE(QFileInfo(burnt).size(), image.size());
    EXPECT_TRUE(test::readFile(burnt).startsWith(image));
}

// A conversion library whose picture callback fails half-way, as drawing a picture might.
class FailingConverter : public test::HeldConverter {
public:
    FailingConverter() : HeldConverter(-1) {}
    void assignVideoFunc(mcl::VideoFunc callback) override {
        HeldConverter::assignVideoFunc(
            [callback = std::move(callback)](mcl::Converter& self, QImage& image, int n) {
                if (n == 30) {
                    throw std::runtime_error("drawing failed");
                }
                callback(self, image, n);
            });
    }
};

TEST(ProductionWindow, ARunThatThrowsEndsWithAMessageAndTheWindowCloses) {
    test::ProductionAlbum source;
    ProductionWindow window(source.album(), nullptr,
                            [] { return std::make_unique<FailingConverter>(); });
    QString told;
    auto message = test::whenShown<MessageDialog>(
        [&](MessageDialog* dialog) {
            told = dialog->message();
            dialog->accept();
        },
        60000);
    const QString out = source.folder().path() + "thrown.mpg";
    const ProductionResult result = window.produce(out);
    EXPECT_EQ(result.outcome, ProductionOutcome::Failed);
    EXPECT_EQ(told, texts::kProductionFailed);
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(window.isProducing());
    EXPECT_FALSE(QFileInfo::exists(out));
    // Stop after the end finds no run.
    window.stopButton()->click();
    EXPECT_EQ(
        QDir(source.folder().path()).entryList({"*.vellumo-part"}, QDir::Files | QDir::Hidden),
        QStringList{});
}

}  // namespace
}  // namespace vellumo
