#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "dialogs/message_dialog.h"
#include "production/output_windows.h"
#include "production/production_texts.h"
#include "tests/support/modal_responder.h"

namespace vellumo {
namespace {

TEST(AlbumTypeWindow, SizesNameAndResult) {
    OutputOptions options;
    AlbumTypeWindow window(options);
    options.beginProduction(AlbumType::Wmv);
    QString shownMessage;
    std::unique_ptr<test::ModalResponder> messageAnswer;
    auto answer1 = test::whenModalShown([&](QWidget*) {
        window.sizeList()->setCurrentIndex(7);
        emit window.sizeList()->activated(7);
        EXPECT_EQ(window.currentSize()->text(), QString::fromUtf16(u"1920 × 1088"));
        EXPECT_TRUE(window.nameEdit()->text().isEmpty());
        // An empty name is refused with the message; the window stays open.
        messageAnswer = test::whenModalShown([&](QWidget* message) {
            shownMessage = MessageDialog::shared().message();
            static_cast<QDialog*>(message)->accept();
            window.nameEdit()->setText("  ");  // Spaces are a name.
            window.startButton()->click();
        });
        window.startButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Start);
    EXPECT_EQ(shownMessage, texts::kAlbumNameEmpty);
    EXPECT_EQ(options.albumName, "  ");
    EXPECT_EQ(options.outputSize, QSize(1920, 1088));

    // Another type rebuilds the list and preselects index 4 again; "取消" starts nothing.
    options.beginProduction(AlbumType::Dvd);
    auto answer2 = test::whenModalShown([&](QWidget*) {
        EXPECT_EQ(window.sizeList()->count(), 9);
        EXPECT_EQ(window.sizeList()->currentIndex(), 4);
        window.cancelButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Cancel);
    EXPECT_EQ(albumTypeResultWord(AlbumTypeResult::Start), "zhizuo_kaishi");
}

TEST(AlbumTypeWindow, TheDiscTypesOfferADiscImageAtTheStandardsSize) {
    OutputOptions options;
    options.albumName = QStringLiteral("夏天");
    options.saveFolder = QStringLiteral("/tmp/out/");
    AlbumTypeWindow window(options);
    options.beginProduction(AlbumType::Dvd);
    auto answer = test::whenModalShown([&](QWidget*) {
        EXPECT_TRUE(window.discImage()->isVisibleTo(&window));
        EXPECT_EQ(window.discImage()->text(), texts::kDiscImage);
        EXPECT_FALSE(window.discImage()->isChecked());
        // A size chosen before the box is ticked comes back when it is cleared.
        window.sizeList()->setCurrentIndex(2);
        emit window.sizeList()->activated(2);
        const QString chosen = window.sizeList()->currentText();
        window.discImage()->click();
        EXPECT_EQ(window.currentSize()->text(), QString::fromUtf16(u"720 × 576"));
        EXPECT_FALSE(window.sizeList()->isEnabled());
        // The greyed list shows the disc's size, not a size that does not apply.
        EXPECT_EQ(window.sizeList()->currentIndex(), -1);
        EXPECT_EQ(window.sizeList()->placeholderText(), QString::fromUtf16(u"720 × 576"));
        window.discImage()->click();
        EXPECT_EQ(window.sizeList()->currentText(), chosen);
        EXPECT_EQ(window.currentSize()->text(), chosen);
        window.discImage()->click();
        window.startButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Start);
    EXPECT_TRUE(options.isDiscImage());
    EXPECT_EQ(options.outputSize, QSize(720, 576));
    EXPECT_EQ(options.outputFile(), QStringLiteral("/tmp/out/夏天.iso"));

    // The next disc type offers the choice again, at its own standard's size; cleared, the
    // sizes come back and the album is a file again.
    options.tvSystem = TvSystem::Ntsc;
    options.beginProduction(AlbumType::Svcd);
    auto again = test::whenModalShown([&](QWidget*) {
        EXPECT_TRUE(window.discImage()->isChecked());
        EXPECT_EQ(window.currentSize()->text(), QString::fromUtf16(u"480 × 480"));
        window.discImage()->click();
        EXPECT_TRUE(window.sizeList()->isEnabled());
        EXPECT_EQ(window.currentSize()->text(), QString::fromUtf16(u"1280 × 720"));
        EXPECT_EQ(window.sizeList()->currentText(), QString::fromUtf16(u"1280 × 720"));
        window.startButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Start);
    EXPECT_FALSE(options.isDiscImage());
    EXPECT_EQ(options.outputFile(), QStringLiteral("/tmp/out/夏天.mpg"));

    // A file type has no disc image to offer.
    options.target = OutputTarget::DiscImage;
    options.beginProduction(AlbumType::Mp4);
    auto file = test::whenModalShown([&](QWidget*) {
        EXPECT_FALSE(window.discImage()->isVisibleTo(&window));
        EXPECT_TRUE(window.sizeList()->isEnabled());
        window.cancelButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Cancel);
    EXPECT_FALSE(options.isDiscImage());
    EXPECT_EQ(options.outputSize, QSize(1280, 720));
}

TEST(AlbumTypeWindow, Mp4GoesTo4kAndOffersH265) {
    OutputOptions options;
    options.albumName = QStringLiteral("album");
    AlbumTypeWindow window(options);
    options.beginProduction(AlbumType::Mp4);
    auto answer = test::whenModalShown([&](QWidget*) {
        EXPECT_EQ(window.sizeList()->count(), 10);
        EXPECT_EQ(window.sizeList()->itemText(9), QString::fromUtf16(u"3840 × 2160"));
        EXPECT_EQ(window.sizeList()->currentIndex(), 4);
        window.sizeList()->setCurrentIndex(9);
        emit window.sizeList()->activated(9);
        EXPECT_TRUE(window.efficientCoding()->isVisibleTo(&window));
        EXPECT_EQ(window.efficientCoding()->text(), texts::kEfficientCoding);
        EXPECT_FALSE(window.efficientCoding()->isChecked());
        window.efficientCoding()->click();
        window.startButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Start);
    EXPECT_EQ(options.outputSize, QSize(3840, 2160));
    EXPECT_TRUE(options.isH265());

    // The choice is shown as it stands; a DVD has its own codec and is not offered it.
    auto again = test::whenModalShown([&](QWidget*) {
        EXPECT_TRUE(window.efficientCoding()->isChecked());
        window.cancelButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Cancel);
    options.beginProduction(AlbumType::Dvd);
    auto dvd = test::whenModalShown([&](QWidget*) {
        EXPECT_FALSE(window.efficientCoding()->isVisibleTo(&window));
        EXPECT_EQ(window.sizeList()->count(), 9);
        window.cancelButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Cancel);
    EXPECT_FALSE(options.isH265());
}

TEST(AlbumTypeWindow, OffersTheNameTheAlbumKeeps) {
    // A name read from the album's project, or given in an earlier production.
    OutputOptions options;
    options.albumName = QStringLiteral("夏天");
    AlbumTypeWindow window(options);
    options.beginProduction(AlbumType::Dvd);
    QString offered;
    auto answer = test::whenModalShown([&](QWidget*) {
        offered = window.nameEdit()->text();
        window.cancelButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Cancel);
    EXPECT_EQ(offered, QStringLiteral("夏天"));
}

TEST(AlbumTypeWindow, NamesThatCannotBeAFileNameAreRefused) {
    OutputOptions options;
    AlbumTypeWindow window(options);
    options.beginProduction(AlbumType::Dvd);
    const QStringList refused{"a/b", "/", ".", ".."};
    QStringList told;
    // Each refused name leaves the window open with the message; then a name with dots is taken.
    auto typeWindowAnswer = test::whenModalShown([&](QWidget*) {
        for (const QString& name : refused) {
            auto answer = test::whenShown<MessageDialog>([&](MessageDialog* message) {
                told << message->message();
                message->accept();
            });
            window.nameEdit()->setText(name);
            window.startButton()->click();
        }
        window.nameEdit()->setText("...");
        window.startButton()->click();
    });
    EXPECT_EQ(window.choose(), AlbumTypeResult::Start);
    EXPECT_EQ(told, QStringList(refused.size(), texts::kAlbumNameNotAFileName));
    EXPECT_EQ(options.albumName, "...");
    EXPECT_TRUE(isAlbumFileName(QString::fromUtf16(u"春游 2024.1")));
    EXPECT_FALSE(isAlbumFileName(QString()));
}

TEST(QualityAndSyncWindows, ChoicesChangeTheOptions) {
    OutputOptions options;
    QualityWindow quality(options);
    auto answer1 = test::whenModalShown([&](QWidget*) {
        EXPECT_TRUE(quality.pal()->isChecked());
        EXPECT_TRUE(quality.high()->isChecked());
        quality.ntsc()->setChecked(true);
        quality.standard()->setChecked(true);
        quality.reject();
    });
    quality.exec();
    EXPECT_EQ(options.tvSystem, TvSystem::Ntsc);
    EXPECT_EQ(options.quality, PictureQuality::Standard);
    EXPECT_EQ(pictureQualityWord(options.quality), "biaoqing");

    SyncWindow sync(options);
    auto answer2 = test::whenModalShown([&](QWidget*) {
        EXPECT_TRUE(sync.withTemplate()->isChecked());
        EXPECT_TRUE(sync.levelMusic()->isChecked());
        EXPECT_FALSE(sync.crossfadeSongs()->isChecked());
        EXPECT_EQ(sync.levelMusic()->text(), texts::kLevelMusic);
        EXPECT_EQ(sync.crossfadeSongs()->text(), texts::kCrossfadeSongs);
        sync.withMusic()->setChecked(true);
        sync.levelMusic()->setChecked(false);
        sync.crossfadeSongs()->setChecked(true);
        sync.reject();
    });
    sync.exec();
    EXPECT_EQ(options.sync, SyncMode::WithMusic);
    EXPECT_FALSE(options.levelMusic);
    EXPECT_TRUE(options.crossfadeSongs);
}

}  // namespace
}  // namespace vellumo
