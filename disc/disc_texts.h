#pragma once

// Fixed texts of disc authoring and burning: the menu's captions, the steps shown while a disc is
// written, and why a disc could not be written, checked or burnt.

#include <QString>

namespace vellumo::texts {

// The disc's menus.
inline const QString kDiscPlayAll = QStringLiteral("播放全部");
inline const QString kDiscChapters = QStringLiteral("章节选择");
inline const QString kDiscPreviousPage = QStringLiteral("上一页");
inline const QString kDiscNextPage = QStringLiteral("下一页");
inline const QString kDiscBack = QStringLiteral("返回");
// Under a chapter's picture. %1 the chapter's number, from 1.
inline const QString kDiscChapterLabel = QStringLiteral("第 %1 章");
// The album's name on the menu when it has none.
inline const QString kDiscUntitled = QStringLiteral("我的相册");

// Steps, for the progress window.
inline const QString kDiscStepMenu = QStringLiteral("正在制作光盘菜单");
inline const QString kDiscStepAuthor = QStringLiteral("正在生成 DVD 光盘文件");
inline const QString kDiscStepImage = QStringLiteral("正在写入光盘映像");
inline const QString kDiscStepVcd = QStringLiteral("正在生成光盘映像");
inline const QString kDiscStepCheck = QStringLiteral("正在检查光盘内容");
inline const QString kDiscStepBurn = QStringLiteral("正在刻录光盘");

// A tool. %1 the program, %2 its Debian package.
inline const QString kDiscToolMissing =
    QStringLiteral("找不到程序“%1”，无法制作光盘。请安装软件包“%2”（sudo apt-get install %2）。");
// %1 the program, %2 the system's reason.
inline const QString kDiscToolNotStarted = QStringLiteral("无法启动程序“%1”：%2");
// %1 the program, %2 its exit code, %3 its last lines.
inline const QString kDiscToolFailed =
    QStringLiteral("程序“%1”出错（退出码 %2），最后的输出：\n%3");
// %1 the program, %2 its last lines.
inline const QString kDiscToolCrashed = QStringLiteral("程序“%1”意外终止，最后的输出：\n%2");
// %1 the program, %2 minutes.
inline const QString kDiscToolTimedOut =
    QStringLiteral("程序“%1”运行超过 %2 分钟没有结束，已停止。");
// Added when the tool's lines tell of a full disk or a file size limit.
inline const QString kDiscDiskFull = QStringLiteral("磁盘空间不足，或文件超过了允许的大小。");

// The authoring run. %1 a path.
inline const QString kDiscNoStream = QStringLiteral("找不到要写入光盘的视频文件“%1”");
inline const QString kDiscNoOutput = QStringLiteral("没有指定光盘映像的保存位置");
inline const QString kDiscNoChapters =
    QStringLiteral("光盘没有章节：至少需要一个从 0 秒开始的章节");
inline const QString kDiscChaptersOutOfOrder = QStringLiteral("章节的开始时间没有逐个增加");
inline const QString kDiscFolderOnlyDvd = QStringLiteral("只有 DVD 可以写成光盘文件夹");
// %1 a path, %2 the system's reason (may be empty).
inline const QString kDiscCannotWrite = QStringLiteral("无法写入“%1”%2");
inline const QString kDiscReasonSeparator = QStringLiteral("：");
inline const QString kDiscCannotMove = QStringLiteral("无法把光盘文件移到“%1”");

// The check of a written disc. Each text follows kDiscCheckFailed.
inline const QString kDiscCheckFailed = QStringLiteral("光盘检查没有通过：%1");
// %1 the path.
inline const QString kDiscCheckCannotRead = QStringLiteral("无法读取“%1”中的 DVD 内容");
// %1 how many titles there are.
inline const QString kDiscCheckTitles = QStringLiteral("光盘上应有 1 个节目，实际有 %1 个");
// %1 the chapters wanted, %2 those found.
inline const QString kDiscCheckChapters = QStringLiteral("应有 %1 个章节，实际有 %2 个");
// %1 the title's seconds, %2 the album's.
inline const QString kDiscCheckLength = QStringLiteral("节目长 %1 秒，相册长 %2 秒");
// %1 what was found ("720 × 576 PAL"), %2 what the disc needs.
inline const QString kDiscCheckVideo = QStringLiteral("视频为 %1，应为 %2");
inline const QString kDiscCheckAspect = QStringLiteral("画面比例不是 16:9");
inline const QString kDiscCheckAudio = QStringLiteral("声音不是 AC-3 格式");
// %1 the file.
inline const QString kDiscCheckMissingFile = QStringLiteral("映像文件“%1”不存在");
// %1 the file, %2 its size in bytes.
inline const QString kDiscCheckSectors =
    QStringLiteral("映像文件“%1”的大小（%2 字节）不是整数个 2352 字节的扇区");
inline const QString kDiscCheckCue = QStringLiteral("目录文件“%1”没有指向映像文件“%2”");

// Burning.
inline const QString kDiscNoWriter = QStringLiteral("没有找到光盘刻录机");
// %1 the image.
inline const QString kDiscBurnNoImage = QStringLiteral("找不到要刻录的光盘映像“%1”");

}  // namespace vellumo::texts
