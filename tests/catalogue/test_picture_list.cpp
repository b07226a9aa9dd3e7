#include <gtest/gtest.h>

#include "catalogue/picture_list.h"

namespace vellumo {
namespace {

struct SplitCase {
    const char16_t* text;
    QStringList items;
};

TEST(SplitPictureList, ItemsStandBetweenConsecutiveBars) {
    const SplitCase cases[] = {
        {u"|400|300|", {"400", "300"}},
        {u"400|300", {}},
        {u"|a||b|", {"a", "", "b"}},
        {u"", {}},
        {u"|", {}},
        {u"||", {""}},
        {u"before|x|after", {"x"}},
        {u"|heng|shu|shuheng|", {"heng", "shu", "shuheng"}},
        {u"|照片_一|相片二|picture_3|",
         {QString::fromUtf16(u"照片_一"), QString::fromUtf16(u"相片二"), "picture_3"}},
        // A character whose GBK form ends in the byte of "|" is still one character.
        {u"|亅|億|", {QString::fromUtf16(u"亅"), QString::fromUtf16(u"億")}},
    };
    for (const SplitCase& c : cases) {
        EXPECT_EQ(splitPictureList(QString::fromUtf16(c.text)), c.items)
            << QString::fromUtf16(c.text).toStdString();
    }
}

TEST(PhotoSlotName, ExactlyOneUnderscore) {
    EXPECT_TRUE(isPhotoSlotName(u"picture_3"));
    EXPECT_TRUE(isPhotoSlotName(u"picture_10"));
    EXPECT_TRUE(isPhotoSlotName(u"_"));
    EXPECT_FALSE(isPhotoSlotName(u"picture3"));
    EXPECT_FALSE(isPhotoSlotName(u"picture_0_wancheng"));
    EXPECT_FALSE(isPhotoSlotName(u""));

    int photoSlots = 0;
    for (const QString& name : splitPictureList(u"|picture_1|picture_2|picture_0_wancheng|")) {
        photoSlots += isPhotoSlotName(name) ? 1 : 0;
    }
    EXPECT_EQ(photoSlots, 2);
}

}  // namespace
}  // namespace vellumo
