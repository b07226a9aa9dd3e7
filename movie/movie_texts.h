#pragma once

// Fixed Chinese texts of preview playback: template movies and their player.

#include <QString>

namespace vellumo::texts {

// Where a problem in a movie file was found: %1 the line number, %2 the problem.
inline const QString kMovieAtLine = QStringLiteral("第 %1 行：%2");

inline const QString kMovieNotText =
    QStringLiteral("不是模板动画文件：内容不是 UTF-8 文字（可能仍是打包文件或已损坏）");
// %1 the limit in MB.
inline const QString kMovieTooLarge = QStringLiteral("文件太大，模板动画文件不能超过 %1 MB");
inline const QString kMovieNoHeader =
    QStringLiteral("不是模板动画文件：文件开头应为“vellumo-movie 1”或“vellumo-movie 2”");
// %1 the version found.
inline const QString kMovieBadVersion = QStringLiteral("模板动画格式版本“%1”不受支持，应为 1 或 2");
// %1 the word that needs the newer version.
inline const QString kMovieNeedsVersion2 =
    QStringLiteral("“%1”需要格式版本 2，请把文件开头写成“vellumo-movie 2”");
inline const QString kMovieNoFrames = QStringLiteral("没有写帧数，应在第一个层之前写“frames 帧数”");
// %1 the word.
inline const QString kMovieUnknownWord = QStringLiteral("不认识的“%1”");
// %1 the word, %2 the layer kind (kMovieImageLayer …).
inline const QString kMovieNotForLayer = QStringLiteral("“%1”不能用于%2层");
inline const QString kMovieImageLayer = QStringLiteral("图片");
inline const QString kMovieShapeLayer = QStringLiteral("形状");
inline const QString kMovieTextLayer = QStringLiteral("文字");
inline const QString kMovieGroupLayer = QStringLiteral("组");
inline const QString kMovieParticlesLayer = QStringLiteral("粒子");
// %1 the word.
inline const QString kMovieRangeOrder = QStringLiteral("“%1”的最大值不能小于最小值");
// %1 what was found.
inline const QString kMovieBadBezier =
    QStringLiteral("“%1”应写成 cubic-bezier(x1, y1, x2, y2)，括号里是四个用逗号分开的数字");
// %1 the name of the group.
inline const QString kMovieGroupNotClosed = QStringLiteral("组“%1”没有用“end”结束");
inline const QString kMovieEndWithoutGroup = QStringLiteral("“end”前面没有尚未结束的组");
// %1 the name written after "end", %2 the group it would close.
inline const QString kMovieEndOtherGroup = QStringLiteral("“end %1”应结束的是组“%2”");
// %1 the limit.
inline const QString kMovieGroupsTooDeep = QStringLiteral("组嵌套太深，最多 %1 层");
// %1 the word.
inline const QString kMovieMissingValue = QStringLiteral("“%1”后面缺少内容");
// %1 the word, %2 what was found.
inline const QString kMovieNotNumber = QStringLiteral("“%1”后面应是数字，而不是“%2”");
// %1 the word, %2 the value, %3 and %4 the bounds.
inline const QString kMovieOutOfRange = QStringLiteral("“%1”的值 %2 超出范围（%3 到 %4）");
// %1 what was found.
inline const QString kMovieNotColor =
    QStringLiteral("“%1”不是颜色，应为 #RRGGBB、#RRGGBBAA、#RGB 或颜色名（如 white）");
// %1 what was found.
inline const QString kMovieNotFrame =
    QStringLiteral("“%1”不是帧号，应为帧数（如 50）或秒数（如 2s、1.5s）");
// %1 the frame, %2 the frame count.
inline const QString kMovieFrameBeyondEnd = QStringLiteral("帧号 %1 超出动画的帧数 %2");
// %1 the word, %2 the allowed choices.
inline const QString kMovieBadChoice = QStringLiteral("“%1”应为下列之一：%2");
// Joins the choices of kMovieBadChoice.
inline const QString kMovieChoiceSeparator = QStringLiteral("、");
// %1 the word.
inline const QString kMovieExtraWords = QStringLiteral("多余的内容“%1”");
inline const QString kMovieOpenQuote = QStringLiteral("引号没有闭合");
// %1 the statement.
inline const QString kMovieHeaderAfterLayers = QStringLiteral("“%1”必须写在第一个层之前");
// %1 the statement.
inline const QString kMovieOutsideLayer =
    QStringLiteral("“%1”必须写在某个层（image、shape、text 或 particles）之后");
// %1 the statement.
inline const QString kMovieRepeated = QStringLiteral("“%1”重复设置");
// %1 the name.
inline const QString kMovieDuplicateName = QStringLiteral("层名“%1”已经用过");
// %1 the property, %2 the frame.
inline const QString kMovieDuplicateKey = QStringLiteral("“%1”在第 %2 帧重复设置");
// %1 the easing.
inline const QString kMovieEasingOutsideAt = QStringLiteral("缓动“%1”只能写在“at 帧号”行的末尾");
// %1 the picture as written.
inline const QString kMovieAbsolutePicture =
    QStringLiteral("图片“%1”必须写成相对于动画文件夹的路径");
inline const QString kMovieEmptyName = QStringLiteral("层名和文件名不能为空");
// %1 the limit.
inline const QString kMovieTooManyLayers = QStringLiteral("层太多，最多 %1 个");
// %1 the limit.
inline const QString kMovieTooManyKeys = QStringLiteral("这个层的关键帧太多，最多 %1 个");
// %1 the limit.
inline const QString kMovieTextTooLong = QStringLiteral("文字太长，最多 %1 个字");
inline const QString kMovieVisibleOrder = QStringLiteral("“visible”的结束帧不能早于开始帧");
inline const QString kMovieStopOrder = QStringLiteral("渐变的位置必须从小到大排列");
inline const QString kMovieTwoStops = QStringLiteral("渐变至少需要两个颜色");
inline const QString kMovieNoSettings = QStringLiteral("“at 帧号”后面没有要设置的属性");

}  // namespace vellumo::texts
