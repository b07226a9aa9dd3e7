#include <gtest/gtest.h>

#include <QSet>

#include "album/output_formats.h"
#include "album/output_options.h"

namespace vellumo {
namespace {

TEST(OutputOptions, DefaultsAndSizeTables) {
    OutputOptions options;
    EXPECT_FALSE(options.albumType);
    EXPECT_EQ(options.outputSize, QSize(1280, 720));
    EXPECT_EQ(options.tvSystem, TvSystem::Pal);
    EXPECT_EQ(options.quality, PictureQuality::High);
    EXPECT_EQ(options.sync, SyncMode::WithTemplate);

    options.beginProduction(AlbumType::Wmv);
    options.chooseSize(7);
    EXPECT_EQ(options.outputSize, QSize(1920, 1088));
    options.beginProduction(AlbumType::Dvd);
    EXPECT_EQ(options.sizeIndex, 4);
    EXPECT_EQ(options.outputSize, QSize(1280, 720));
    options.chooseSize(7);
    EXPECT_EQ(options.outputSize, QSize(1920, 1080));
    EXPECT_EQ(outputSizes(AlbumType::Vcd).size(), 5);
    EXPECT_EQ(outputSizes(AlbumType::Svcd).size(), 9);
    // VCD has no index 7: the default entry stands in.
    options.beginProduction(AlbumType::Vcd);
    options.chooseSize(7);
    EXPECT_EQ(options.outputSize, QSize(1280, 720));
    EXPECT_EQ(outputSizeText(QSize(1280, 720)), QString::fromUtf16(u"1280 × 720"));

    options.albumName = "  ";
    options.saveFolder = "/home/me/";
    EXPECT_EQ(options.outputFile(), "/home/me/  .mpg");
    // Each type's file has its extension.
    for (auto [type, extension] :
         {std::pair{AlbumType::Svcd, ".mpg"}, std::pair{AlbumType::Dvd, ".mpg"},
          std::pair{AlbumType::Avi, ".avi"}, std::pair{AlbumType::Mp4, ".mp4"}}) {
        options.albumType = type;
        EXPECT_EQ(options.outputFile(), QString("/home/me/  ") + extension);
    }
}

// Every album type, from the first enumerator to the last.
QList<AlbumType> everyAlbumType() {
    QList<AlbumType> types;
    for (int t = static_cast<int>(AlbumType::Vcd); t <= static_cast<int>(AlbumType::Mov); ++t) {
        types << static_cast<AlbumType>(t);
    }
    return types;
}

TEST(OutputFormats, EveryTypeHasOneCompleteRow) {
    ASSERT_EQ(outputFormats().size(), everyAlbumType().size());
    QSet<QString> projectWords;
    QSet<QString> toolWordsSeen;
    QList<mcl::Preset> presets;
    int toolbarButtons = 0;
    for (AlbumType type : everyAlbumType()) {
        const OutputFormat& format = outputFormat(type);
        SCOPED_TRACE(format.typeWord.toStdString());
        EXPECT_EQ(format.type, type);
        EXPECT_FALSE(format.typeWord.isEmpty());
        EXPECT_EQ(albumTypeName(type), format.typeWord);
        EXPECT_TRUE(format.extension.startsWith(u'.') && format.extension.size() > 1);

        // The size list holds the default entry, grows entry by entry and asks the encoder
        // for even sizes only.
        ASSERT_GT(format.sizes.size(), kDefaultSizeIndex);
        for (qsizetype i = 0; i < format.sizes.size(); ++i) {
            const QSize size = format.sizes.at(i);
            EXPECT_TRUE(size.width() % 2 == 0 && size.height() % 2 == 0) << i;
            if (i > 0) {
                EXPECT_GT(size.width(), format.sizes.at(i - 1).width()) << i;
                EXPECT_GT(size.height(), format.sizes.at(i - 1).height()) << i;
            }
        }

        // Stored and typed words name one type each and lead back to it.
        EXPECT_FALSE(format.projectWord.isEmpty());
        EXPECT_FALSE(projectWords.contains(format.projectWord));
        projectWords.insert(format.projectWord);
        EXPECT_EQ(albumTypeOfProjectWord(format.projectWord), type);
        if (!format.toolWord.isEmpty()) {
            EXPECT_FALSE(toolWordsSeen.contains(format.toolWord));
            toolWordsSeen.insert(format.toolWord);
            EXPECT_EQ(albumTypeOfToolWord(format.toolWord), type);
            EXPECT_TRUE(toolWords(QStringLiteral("|")).split(u'|').contains(format.toolWord));
        }

        // What the user or the tool can start is produced: it has an encoder preset of its own
        // and, in the main window, a caption and a hint.
        if (format.place != FormatPlace::NotOffered || !format.toolWord.isEmpty()) {
            ASSERT_TRUE(format.preset.has_value());
            EXPECT_FALSE(presets.contains(*format.preset));
            presets.append(*format.preset);
        }
        if (format.place != FormatPlace::NotOffered) {
            EXPECT_FALSE(format.caption.isEmpty());
            EXPECT_FALSE(format.hint.isEmpty());
        }
        toolbarButtons += format.place == FormatPlace::ToolbarAndMenu ? 1 : 0;
    }
    EXPECT_GT(toolbarButtons, 0);
    EXPECT_FALSE(albumTypeOfProjectWord(QString()).has_value());
    EXPECT_FALSE(albumTypeOfToolWord(QString()).has_value());
    EXPECT_FALSE(albumTypeOfToolWord(QStringLiteral("GIF")).has_value());
}

TEST(OutputFormats, StoredAndTypedWordsStayAsEarlierVersionsWroteThem) {
    // Album projects and scripts written before keep working: these words never change.
    QStringList stored;
    for (AlbumType type : everyAlbumType()) {
        stored << outputFormat(type).projectWord;
    }
    EXPECT_EQ(stored, (QStringList{"VCD", "SVCD", "DVD", "AVI", "WMV", "MP4", "MOV"}));
    EXPECT_EQ(toolWords(QStringLiteral("|")), QStringLiteral("VCD|SVCD|DVD|AVI|MP4"));
}

}  // namespace
}  // namespace vellumo
