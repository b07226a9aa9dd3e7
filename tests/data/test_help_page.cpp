// The user guide turned into the installed help page: the guide's own links reach their
// sections, pictures keep their places and fit the help window.

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QRegularExpression>

#include "data/generator/help_page.h"
#include "tests/support/test_files.h"

namespace vellumo::datagen {
namespace {

TEST(HelpPage, HeadingAnchorsAreNamedAsTheGuidesLinks) {
    EXPECT_EQ(headingAnchor(QStringLiteral("1. 安装与启动")), QStringLiteral("1-安装与启动"));
    EXPECT_EQ(headingAnchor(QStringLiteral("5. 自动套版：照片自动分配到模板")),
              QStringLiteral("5-自动套版照片自动分配到模板"));
    EXPECT_EQ(headingAnchor(QStringLiteral("12. 制作 DVD 和 MP4 视频")),
              QStringLiteral("12-制作-dvd-和-mp4-视频"));
    EXPECT_EQ(headingAnchor(QStringLiteral("English summary")), QStringLiteral("english-summary"));
    EXPECT_EQ(headingAnchor(QStringLiteral("启动时提示「检测到系统缺少插件」")),
              QStringLiteral("启动时提示检测到系统缺少插件"));
}

TEST(HelpPage, LinksReachTheirSectionsAndPicturesFitTheWindow) {
    test::TempFolder folder;
    QImage wide(1191, 690, QImage::Format_RGB32);
    wide.fill(Qt::darkGray);
    ASSERT_TRUE(QDir().mkpath(folder.path() + QStringLiteral("guide")));
    ASSERT_TRUE(wide.save(folder.path() + QStringLiteral("guide/wide.png")));
    QImage small(200, 100, QImage::Format_RGB32);
    small.fill(Qt::gray);
    ASSERT_TRUE(small.save(folder.path() + QStringLiteral("guide/small.png")));

    const QString guide = QStringLiteral(
        "# 使用指南\n\n"
        "目录：[制作 DVD](#12-制作-dvd-和-mp4-视频)\n\n"
        "## 12. 制作 DVD 和 MP4 视频\n\n"
        "正文 **粗体** 和 `代码`。\n\n"
        "![主窗口](guide/wide.png)\n\n"
        "![小图](guide/small.png)\n\n"
        "| 提示 | 处理 |\n|---|---|\n| 「没有添加照片文件！」 | 先添加照片 |\n");
    const QString html = helpPageFromGuide(guide, folder.path());

    EXPECT_TRUE(html.contains(QStringLiteral("<title>使用指南</title>")));
    EXPECT_TRUE(html.contains(QStringLiteral("charset=\"utf-8\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("href=\"#12-制作-dvd-和-mp4-视频\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("name=\"12-制作-dvd-和-mp4-视频\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("name=\"使用指南\"")));
    EXPECT_TRUE(html.contains(QStringLiteral("<table")));
    EXPECT_TRUE(html.contains(QStringLiteral("「没有添加照片文件！」")));

    // The wide picture is scaled into the window in its own shape; the small one is left alone.
    static const QRegularExpression wideImage(
        QStringLiteral("<img src=\"guide/wide.png\"[^>]*width=\"(\\d+)\"[^>]*height=\"(\\d+)\""));
    const QRegularExpressionMatch match = wideImage.match(html);
    ASSERT_TRUE(match.hasMatch()) << html.toStdString();
    EXPECT_EQ(match.captured(1).toInt(), kMaxHelpPictureWidth);
    EXPECT_EQ(match.captured(2).toInt(), 690 * kMaxHelpPictureWidth / 1191);
    static const QRegularExpression smallImage(
        QStringLiteral("<img src=\"guide/small.png\"[^>]*>"));
    const QString smallTag = smallImage.match(html).captured(0);
    EXPECT_FALSE(smallTag.isEmpty());
    EXPECT_FALSE(smallTag.contains(QStringLiteral("width")));
}

}  // namespace
}  // namespace vellumo::datagen
