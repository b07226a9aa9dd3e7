#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vellumo
