#pragma once

// Fixed texts of the output options.

#include <QString>

namespace vellumo::texts {

inline const QString kQualityStandard = QStringLiteral("标清画质效果");
inline const QString kQualityHigh = QStringLiteral("高清画质效果");
inline const QString kSyncWithTemplate = QStringLiteral("随模板文件同步  (音乐循环)");
inline const QString kSyncWithMusic = QStringLiteral("随音乐文件同步  (模板循环)");
inline const QString kPal = QStringLiteral("PAL 电视制式");
inline const QString kNtsc = QStringLiteral("NTSC 电视制式");
inline const QString kAlbumNameEmpty = QStringLiteral("相册名称不能为空,请输入相册名称！");
// The name becomes the output file's name: no folder separator, not "." or "..".
inline const QString kAlbumNameNotAFileName =
    QStringLiteral("相册名称不能包含“/”，也不能是“.”或“..”，请重新输入相册名称！");

// The album type window's entry after the sizes: the album made into a disc image.
inline const QString kDiscImage = QStringLiteral("光盘映像 (可刻录)");
// The album type window's choice for MP4: H.265 video instead of H.264.
inline const QString kEfficientCoding = QStringLiteral("高效编码 (H.265)");

// The production commands of the output formats: caption and hint.
inline const QString kVcd = QStringLiteral("VCD");
inline const QString kVcdHint = QStringLiteral("支持VCD格式相册");
inline const QString kSvcd = QStringLiteral("SVCD");
inline const QString kSvcdHint = QStringLiteral("支持SVCD格式相册");
inline const QString kDvd = QStringLiteral("DVD");
inline const QString kDvdHint = QStringLiteral("支持DVD格式相册 － 推荐使用");
inline const QString kAvi = QStringLiteral("AVI");
inline const QString kAviHint = QStringLiteral("支持AVI格式相册");
inline const QString kMp4 = QStringLiteral("MP4");
inline const QString kMp4Hint = QStringLiteral("支持MP4格式相册");

}  // namespace vellumo::texts
