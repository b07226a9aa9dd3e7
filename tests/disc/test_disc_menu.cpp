#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QSet>

#include <cstdlib>

#include "disc/disc_menu.h"
#include "disc/disc_texts.h"

namespace vellumo::disc {
namespace {

MenuContent content(int chapters, mcl::TvSystem tv = mcl::TvSystem::Pal) {
    MenuContent c;
    c.tv = tv;
    c.albumName = QStringLiteral("Summer");
    c.chapterCount = chapters;
    for (int i = 0; i < 3; ++i) {
        QImage photo(i == 1 ? 300 : 400, i == 1 ? 400 : 300, QImage::Format_RGB32);
        photo.fill(QColor::fromHsv(i * 100, 180, 230));
        c.photos.append(photo);
    }
    for (int i = 0; i < chapters; ++i) {
        QImage frame(1024, 576, QImage::Format_RGB32);
        frame.fill(QColor::fromHsv(i * 30 % 360, 160, 200));
        c.chapters.append(frame);
    }
    return c;
}

QStringList commands(const MenuPage& page) {
    QStringList list;
    for (const MenuButton& b : page.buttons) {
        list.append(b.command);
    }
    return list;
}

TEST(DiscMenu, ChapterPagesHoldSixAndLinkToEachOther) {
    EXPECT_EQ(MenuPainter(content(1)).pageCount(), 2);
    EXPECT_EQ(MenuPainter(content(6)).pageCount(), 2);
    const MenuPainter painter(content(13));
    ASSERT_EQ(painter.pageCount(), 4);
    EXPECT_EQ(commands(painter.page(0)),
              (QStringList{QStringLiteral("jump title 1;"), QStringLiteral("jump menu 2;")}));
    EXPECT_EQ(painter.page(0).buttons[0].label, texts::kDiscPlayAll);
    EXPECT_EQ(painter.page(0).buttons[1].label, texts::kDiscChapters);
    EXPECT_TRUE(painter.page(0).moving);
    EXPECT_EQ(commands(painter.page(1)).mid(5),
              (QStringList{QStringLiteral("jump title 1 chapter 6;"),
                           QStringLiteral("jump menu 1;"), QStringLiteral("jump menu 3;")}));
    EXPECT_EQ(
        commands(painter.page(2)).mid(5),
        (QStringList{QStringLiteral("jump title 1 chapter 12;"), QStringLiteral("jump menu 2;"),
                     QStringLiteral("jump menu 1;"), QStringLiteral("jump menu 4;")}));
    EXPECT_EQ(commands(painter.page(3)),
              (QStringList{QStringLiteral("jump title 1 chapter 13;"),
                           QStringLiteral("jump menu 3;"), QStringLiteral("jump menu 1;")}));
    EXPECT_EQ(painter.page(3).buttons[1].label, texts::kDiscPreviousPage);
    EXPECT_EQ(painter.page(3).buttons[2].label, texts::kDiscBack);
    EXPECT_EQ(painter.page(1).buttons[7].label, texts::kDiscNextPage);

    // The middle page: a 3 × 2 grid over "上一页", "返回", "下一页".
    const MenuPage& middle = painter.page(2);
    EXPECT_EQ(middle.buttons[0].right, 1);
    EXPECT_EQ(middle.buttons[2].right, 2);  // the edge stays
    EXPECT_EQ(middle.buttons[0].down, 3);
    EXPECT_EQ(middle.buttons[3].down, 6);  // bottom left to "上一页"
    EXPECT_EQ(middle.buttons[4].down, 7);  // bottom middle to "返回"
    EXPECT_EQ(middle.buttons[5].down, 8);  // bottom right to "下一页"
    EXPECT_EQ(middle.buttons[7].up, 4);
    EXPECT_EQ(middle.buttons[7].left, 6);
    EXPECT_EQ(middle.buttons[7].right, 8);
    EXPECT_EQ(middle.buttons[0].up, 0);
}

TEST(DiscMenu, PicturesAndHighlightsAtTheStandardsSize) {
    for (const auto tv : {mcl::TvSystem::Pal, mcl::TvSystem::Ntsc}) {
        const MenuPainter painter(content(7, tv));
        // Pictures at 4:3 in square pixels; the overlays at the standard's stored size.
        const QSize size(720, tv == mcl::TvSystem::Pal ? 576 : 480);
        const QSize square = tv == mcl::TvSystem::Pal ? QSize(768, 576) : QSize(640, 480);
        for (int page = 0; page < painter.pageCount(); ++page) {
            EXPECT_EQ(painter.frame(page, 0).size(), square);
            for (const bool selected : {false, true}) {
                const QImage overlay = painter.highlight(page, selected);
                ASSERT_EQ(overlay.size(), size);
                QSet<QRgb> colours;
                for (int y = 0; y < overlay.height(); ++y) {
                    for (int x = 0; x < overlay.width(); ++x) {
                        colours.insert(overlay.pixel(x, y));
                    }
                }
                // Transparent and one colour: within the subpicture's four.
                EXPECT_EQ(colours.size(), 2);
            }
            for (const MenuButton& b : painter.page(page).buttons) {
                const QRect r = painter.storedArea(b.area);
                EXPECT_EQ(r.top() % 2, 0);
                EXPECT_EQ((r.bottom() + 1) % 2, 0);
                EXPECT_TRUE(QRect(QPoint(0, 0), size).contains(r));
            }
        }
        const QString xml = painter.spumuxXml(1, QStringLiteral("h.png"), QStringLiteral("s.png"));
        EXPECT_TRUE(xml.contains(tv == mcl::TvSystem::Pal ? QStringLiteral("format=\"PAL\"")
                                                          : QStringLiteral("format=\"NTSC\"")));
        EXPECT_EQ(xml.count(QStringLiteral("<button ")), 8);
        EXPECT_TRUE(xml.contains(QStringLiteral("name=\"b1\"")));
        EXPECT_TRUE(xml.contains(QStringLiteral("highlight=\"h.png\" select=\"s.png\"")));
    }
    // The opening menu moves and comes back to its first picture.
    const MenuPainter painter(content(2));
    EXPECT_NE(painter.frame(0, 0), painter.frame(0, kMainMenuFrames / 4));
    EXPECT_EQ(painter.frame(0, 0), painter.frame(0, kMainMenuFrames));
    // Each photo stands in its own place, whole, whatever the moment of the loop; with fewer
    // photos, the places differ.
    for (const int photos : {1, 3}) {
        MenuContent c = content(2);
        c.photos = c.photos.mid(0, photos);
        const MenuPainter some(c);
        static constexpr QPoint kOne[] = {{512, 390}};
        static constexpr QPoint kThree[] = {{232, 400}, {512, 380}, {792, 400}};
        for (const int at : {0, kMainMenuFrames / 3, kMainMenuFrames / 2}) {
            const QImage frame = some.frame(0, at);
            for (int i = 0; i < photos; ++i) {
                const QPoint place = photos == 1 ? kOne[i] : kThree[i];
                const QPoint stored(place.x() * 768 / kMenuLayoutWidth,
                                    place.y() * 576 / kMenuLayoutHeight);
                for (const QPoint off : {QPoint(0, 0), QPoint(-40, -40), QPoint(40, 40)}) {
                    const QColor seen = frame.pixelColor(stored + off);
                    const QColor photo = c.photos[i].pixelColor(0, 0);
                    EXPECT_LE(std::abs(seen.red() - photo.red()) +
                                  std::abs(seen.green() - photo.green()) +
                                  std::abs(seen.blue() - photo.blue()),
                              6)
                        << "photo " << i << " of " << photos << " at frame " << at;
                }
            }
        }
    }
    const QString shots = qEnvironmentVariable("VELLUMO_SHOTS");
    if (!shots.isEmpty()) {
        QDir().mkpath(shots);
        const MenuPainter many(content(8));
        many.frame(0, 0).save(shots + QStringLiteral("/disc-menu-main-0.png"));
        many.frame(0, kMainMenuFrames / 2).save(shots + QStringLiteral("/disc-menu-main-half.png"));
        many.frame(1, 0).save(shots + QStringLiteral("/disc-menu-chapters-1.png"));
        many.frame(2, 0).save(shots + QStringLiteral("/disc-menu-chapters-2.png"));
        many.highlight(1, false).save(shots + QStringLiteral("/disc-menu-highlight-1.png"));
    }
}

TEST(DiscMenu, VolumeLabelKeepsWhatIso9660Allows) {
    EXPECT_EQ(volumeLabel(QStringLiteral("Trip to the sea 2026")),
              QStringLiteral("TRIP_TO_THE_SEA_2026"));
    EXPECT_EQ(volumeLabel(QStringLiteral("  a--b  ")), QStringLiteral("A_B"));
    EXPECT_EQ(volumeLabel(QStringLiteral("\u6d77\u8fb9")), QStringLiteral("ALBUM"));
    EXPECT_EQ(volumeLabel(QString()), QStringLiteral("ALBUM"));
    EXPECT_EQ(volumeLabel(QStringLiteral("\u6d77\u8fb9 2026 x")), QStringLiteral("2026_X"));
    EXPECT_EQ(volumeLabel(QString(40, u'z')), QString(32, u'Z'));
    EXPECT_EQ(volumeLabel(QStringLiteral("abcdefghijklmnopqrstuvwxyz01234 6")),
              QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ01234"));
}

}  // namespace
}  // namespace vellumo::disc
