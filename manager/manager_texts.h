#pragma once

// Fixed texts of the template preview window and the photo template chooser.

#include <QString>

namespace vellumo::texts {

// The template preview window.
inline const QString kTemplatePreviewTitle = QStringLiteral("预览模板");
inline const QString kTemplatePreviewPlay = QStringLiteral("播放");
inline const QString kTemplatePreviewBack = QStringLiteral("返回");
// The display effect a landscape single is previewed with.
inline const QString kDisplayEffectFullScreen = QStringLiteral("照片全屏显示效果");
inline const QString kDisplayEffectMedium = QStringLiteral("照片适中显示效果");
// The word on the placeholder pictures of a catalogue template.
inline const QString kPlaceholderWord = QStringLiteral("picture");
// A template movie that cannot be played; %1 is the reason.
inline const QString kPreviewMovieUnplayable =
    QStringLiteral("模板文件不能播放,不能预览此模板！\n%1");
// A template package that cannot be unpacked; %1 is the reason.
inline const QString kPreviewPackageUnreadable =
    QStringLiteral("模板文件不能解开,不能预览此模板！\n%1");

// The photo template chooser.
inline const QString kPhotoTemplatesTitle = QStringLiteral("预览此张照片所使用的模板效果");
// %1 is the number of slots holding the photo.
inline const QString kPhotoTemplatesCount =
    QStringLiteral("此张照片用在 %1 个模板文件中,选择下面一项后,点确定按钮,开始预览效果");
inline const QString kPhotoTemplatesColumnNumber = QStringLiteral("序号");
inline const QString kPhotoTemplatesColumnPhotoName = QStringLiteral("照片名称");
inline const QString kPhotoTemplatesColumnTemplate = QStringLiteral("使用模板");
inline const QString kPhotoTemplatesColumnPhotoPath = QStringLiteral("照片位置");
inline const QString kPhotoTemplatesColumnSlot = QStringLiteral("标注");
inline const QString kPhotoTemplatesOk = QStringLiteral("确定");
inline const QString kPhotoTemplatesCancel = QStringLiteral("取消");
inline const QString kNoTemplateSelected = QStringLiteral("没有选中模板文件！");
inline const QString kCompletePhotosCaption = QStringLiteral("补全照片文件");
inline const QString kCompletePhotosQuestion =
    QStringLiteral("此模板中的照片文件没有补全,是否确定现在去补全照片文件?");

}  // namespace vellumo::texts

namespace vellumo::words {

// The preview window's modes.
inline const QString kPreviewCatalogueTemplate = QStringLiteral("yulan_yuanmoban");
inline const QString kPreviewUsedTemplate = QStringLiteral("yulan_shiyongmoban");
inline const QString kPreviewSlotTemplate = QStringLiteral("yulan_zhujiemian_duiying_shiyongmoban");

}  // namespace vellumo::words
