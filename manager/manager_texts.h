#pragma once

// Fixed texts of the template manager, the template preview window and the photo template
// chooser.

#include <QString>

#include "album/photo_list_texts.h"

namespace vellumo::texts {

// The template preview window.
inline const QString kTemplatePreviewTitle = QStringLiteral("预览模板");
inline const QString kTemplatePreviewPlay = QStringLiteral("播放");
inline const QString kTemplatePreviewBack = QStringLiteral("返回");
// The display effect a landscape single is previewed with.
inline const QString kDisplayEffectFullScreen = QStringLiteral("照片全屏显示效果");
inline const QString kDisplayEffectMedium = QStringLiteral("照片适中显示效果");
// The word on the placeholder pictures of a catalogue template.
inline const QString kPlaceholderWord = QStringLiteral("照片");
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
inline const QString kPhotoTemplatesCancel = QStringLiteral("取消");
inline const QString kNoTemplateSelected = QStringLiteral("没有选中模板文件！");
inline const QString kCompletePhotosCaption = QStringLiteral("补全照片文件");
inline const QString kCompletePhotosQuestion =
    QStringLiteral("此模板中的照片文件没有补全,是否确定现在去补全照片文件?");

// The template manager.
inline const QString kTemplateManagerTitle = QStringLiteral("模板管理");
inline const QString kCatalogueListTitle = QStringLiteral("全部模板");
inline const QString kUsedListTitle = QStringLiteral("已经使用的模板");
// The columns of both lists; the used-template list has two more.
inline const QString kManagerColumnNumber = QStringLiteral("序号");
inline const QString kManagerColumnTemplate = QStringLiteral("模板");
inline const QString kManagerColumnKind = QStringLiteral("类型");
inline const QString kManagerColumnLandscape = QStringLiteral("横照片");
inline const QString kManagerColumnPortrait = QStringLiteral("竖照片");
inline const QString kManagerColumnDuration = QStringLiteral("时长");
inline const QString kManagerColumnClass = QStringLiteral("分类");
inline const QString kManagerColumnMatch = QStringLiteral("照片匹配");
inline const QString kManagerColumnTemplateNumber = QStringLiteral("编号");
// The catalogue list's context menu and buttons.
inline const QString kPreviewChosenTemplate = QStringLiteral("预览选中模板");
inline const QString kUseChosenTemplate = QStringLiteral("使用选中模板");
inline const QString kPreviewTemplateButton = QStringLiteral("预览模板");
inline const QString kUseChosenTemplateButton = QStringLiteral("使用选中模板  ↓");
inline const QString kAddExternalTemplate = QStringLiteral("添加外部模板文件");
// The used-template list's context menu and buttons.
inline const QString kPreviewUsedTemplate = QStringLiteral("预览模板");
inline const QString kDeleteUsedTemplate = QStringLiteral("删除模板");
inline const QString kDeleteAllUsedTemplates = QStringLiteral("全删模板");
inline const QString kPreviewButton = QStringLiteral("预览");
inline const QString kDeleteButton = QStringLiteral("删除");
inline const QString kDeleteAllTemplatesButton = QStringLiteral("全删");
inline const QString kAutoMatchButton = QStringLiteral("自动匹配照片");
inline const QString kShowDemonstration = QStringLiteral("提示演示效果");
// The detail panel's labels, top to bottom.
inline const QString kDetailNumber = QStringLiteral("序号");
inline const QString kDetailRow = QStringLiteral("模板行数");
inline const QString kDetailName = QStringLiteral("模板名称");
inline const QString kDetailKind = QStringLiteral("模板类型");
inline const QString kDetailLandscape = QStringLiteral("横照片");
inline const QString kDetailPortrait = QStringLiteral("竖照片");
inline const QString kDetailDuration = QStringLiteral("模板时长");
inline const QString kDetailAddedLandscape = QStringLiteral("已添加横照片");
inline const QString kDetailAddedPortrait = QStringLiteral("已添加竖照片");
// The red hints over and under the "▲" between the slot panel and the photo panel.
inline const QString kDragHintTop = QStringLiteral("把下面照片拖动移到上面区域");
inline const QString kDragHintBottom = QStringLiteral("单击下面的照片即可拖到上面区域");
inline const QString kDragArrow = QStringLiteral("▲");
// A slot box's label until a photo is in it, and the words on its placeholder.
inline const QString kSlotLabelEmpty = QStringLiteral("显示照片名称");
inline const QString kPlaceholderLandscape = QStringLiteral("横照片");
inline const QString kPlaceholderPortrait = QStringLiteral("竖照片");
// A photo tile's hint: %1 its number, %2 the photo name.
inline const QString& kPhotoTileHint = kPhotoPreviewHint;  // as on the photo pages
// Loading the photo tiles.
inline const QString kPhotosLoaded = QStringLiteral("加载照片文件完成！");
inline const QString kNoPhotosToMatch =
    QStringLiteral("没有添加照片文件,不能完成照片文件与模板文件的匹配！");
// Commands that find nothing to work on.
inline const QString kNoCatalogueTemplates = QStringLiteral("没有找到模板文件！");
inline const QString kNoUsedTemplateShown =
    QStringLiteral("没有选中已经添加模板文件！选中模板后,模板所需照片框会出现");
// Deleting used templates.
inline const QString kDeleteTemplatesCaption = QStringLiteral("删除模板文件");
inline const QString kDeleteTemplateQuestion =
    QStringLiteral("是否确定要删除当前选中已经使用的模板文件?");
inline const QString kTemplateDeleted = QStringLiteral("选中的模板文件已经删除！");
inline const QString kDeleteAllTemplatesQuestion =
    QStringLiteral("是否确定要删除全部已经使用的模板文件?");
inline const QString kAllTemplatesDeleted = QStringLiteral("已经使用的模板文件已经全部删除！");
// "添加外部模板文件": the two files asked for, one after the other, and the answers.
inline const QString kExternalParameterCaption =
    QStringLiteral("添加外部模板文件（第一步）：选择模板参数文件");
inline const QString kExternalMovieCaption =
    QStringLiteral("添加外部模板文件（第二步）：选择对应的模板动画文件");
inline const QString kExternalTemplateFilter = QStringLiteral("模板文件|*.rar;");
// %1 the template's name.
inline const QString kExternalTemplateAdded =
    QStringLiteral("模板“%1”已经添加,可以在“全部模板”中使用！");
// Followed on its own line by one of the reasons below.
inline const QString kExternalTemplateRefused = QStringLiteral("不能添加此模板文件！");
// %1 the file and why it cannot be unpacked.
inline const QString kExternalParameterUnreadable = QStringLiteral("模板参数文件不能解开：%1");
// %1 what is wrong with the parameters.
inline const QString kExternalParameterInvalid = QStringLiteral("模板参数文件有误：%1");
inline const QString kExternalTemplateUnclassified = QStringLiteral(
    "模板参数中的横竖照片标注（szhz）不属于任何模板分类（横照模板、竖照模板或综合模板）");
inline const QString kExternalTemplateNoSlots = QStringLiteral("模板中没有可以放照片的位置");
// %1 the file and why the movie cannot be played.
inline const QString kExternalMovieUnplayable = QStringLiteral("模板动画文件不能播放：%1");
// %1 the picture the movie shows.
inline const QString kExternalMovieForeignPicture =
    QStringLiteral("模板动画要显示图片“%1”,但模板参数中没有这张图片");
// %1 the template's name.
inline const QString kExternalTemplateNameTaken =
    QStringLiteral("已经有名称为“%1”的模板,请先修改模板名称");
inline const QString kExternalCatalogueChanged =
    QStringLiteral("重新载入模板库时已有模板发生了变化,请重新启动软件后再添加");

}  // namespace vellumo::texts

namespace vellumo::words {

// The preview window's modes.
inline const QString kPreviewCatalogueTemplate = QStringLiteral("yulan_yuanmoban");
inline const QString kPreviewUsedTemplate = QStringLiteral("yulan_shiyongmoban");
inline const QString kPreviewSlotTemplate = QStringLiteral("yulan_zhujiemian_duiying_shiyongmoban");

}  // namespace vellumo::words
