#pragma once

// Fixed Chinese texts of the workspace: packed files, folders, data files.

#include <QString>

namespace vellumo::texts {

// %1 the file, %2 the reason.
inline const QString kFileErrorFormat = QStringLiteral("文件“%1”：%2");

inline const QString kPackedTooShort = QStringLiteral("文件太短，不是打包文件");
inline const QString kPackedNegativeLength = QStringLiteral("打包文件的长度字段为负数");
// %1 the length field, %2 the file size.
inline const QString kPackedAbsurdLength =
    QStringLiteral("打包文件的长度字段（%1 字节）与文件大小（%2 字节）不符");
// %1 the bytes announced, %2 the most this kind of file may hold.
inline const QString kPackedOverLimit =
    QStringLiteral("打包文件解开后有 %1 字节，超过此类文件的上限（%2 字节）");
inline const QString kPackedDamagedStream = QStringLiteral("压缩数据已损坏");
// %1 the bytes expected, %2 the bytes found.
inline const QString kPackedTruncated =
    QStringLiteral("压缩数据不完整：应有 %1 字节，只得到 %2 字节");
inline const QString kCannotReadFile = QStringLiteral("文件不存在或无法读取");
// A path that names a folder, a device or a pipe where a file was expected.
inline const QString kNotRegularFile =
    QStringLiteral("不是普通文件（是文件夹、设备或管道），无法读取");
inline const QString kCannotWriteFile = QStringLiteral("无法写入文件");
inline const QString kCannotCreateFolder = QStringLiteral("无法创建文件夹");

}  // namespace vellumo::texts
