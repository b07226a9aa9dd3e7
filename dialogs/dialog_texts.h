#pragma once

// Fixed Chinese texts of the shared dialogs.

#include <QString>

namespace vellumo::texts {

inline const QString kMessageCaption = QStringLiteral("提示");
inline const QString kOk = QStringLiteral("确定");
inline const QString kCancel = QStringLiteral("取消");
inline const QString kInsertVideoCaption = QStringLiteral("插入视频");
inline const QString kAlbumFolderTitle = QStringLiteral("选择相册保存路径,然后点[确定]按钮");

// The confirm dialog's answer after "确定".
inline const QString kAnswerYes = QStringLiteral("yes");

}  // namespace vellumo::texts
