#pragma once

// The data tree below the program folder. Every path is relative to the program folder (the
// installed data) or to the working root (everything written), with "/" as separator; folders
// end in "/".

#include <QString>

namespace vellumo::paths {

// Installed data (read only).
inline const QString kParameterPackages = QStringLiteral("smxcwjj/wj_0_or_2/wjj_01/");
inline const QString kTemplatePackages = QStringLiteral("smxcwjj/wj_0_or_2/wjj_02/");
inline const QString kCombinedTemplates = QStringLiteral("smxcwjj/wj_0_or_9_9/");
inline const QString kStartupAnimation = QStringLiteral("smxcwjj/wj_0_or_2_2/wj_0_or_2_2_d.rar");
inline const QString kClosingMovie = QStringLiteral("smxcwjj/wj_0_or_3_3/wj_0_or_3_3_d.rar");
inline const QString kSampleMusic = QStringLiteral("yinyuegeciwenjian/甜蜜蜜.mp3");
inline const QString kSampleLyrics = QStringLiteral("yinyuegeciwenjian/甜蜜蜜.lrc");
inline const QString kConverter = QStringLiteral("convert0909");
// The user guide as HTML, its pictures in the folder "guide/" beside it.
inline const QString kHelpPage = QStringLiteral("help/guide.html");

// Packing depth of each kind of installed file.
inline constexpr int kParameterPackageDepth = 20;
inline constexpr int kTemplatePackageDepth = 20;
inline constexpr int kCombinedTemplateDepth = 3;
inline constexpr int kStartupAnimationDepth = 13;
inline constexpr int kClosingMovieDepth = 16;

// The most bytes any level of each kind of package may unpack to, twice what a real file may
// hold: a movie is read up to 4 MiB, a parameter file or combined template is a few kilobytes.
inline constexpr qint64 kMovieUnpackLimit = qint64{8} << 20;
inline constexpr qint64 kParameterUnpackLimit = qint64{1} << 20;

// An unpacked movie keeps the package extension.
inline const QString kMovieExtension = QStringLiteral(".rar");

// "smxcwjj/wj_0_or_9_9/wj_0_or_9_9_" + k + ".rar", k counted from 1.
QString combinedTemplatePackage(int k);

// Working folders and files, below the working root.
inline const QString kUnpackFolder = QStringLiteral("smxcwjj/wj_0_or_2/wjj_00_j_y/");
inline const QString kUnpackedStartupAnimation =
    QStringLiteral("smxcwjj/wj_0_or_2/wjj_00_j_y/wj_0_or_2_2_d.swf");
inline const QString kStagingFolder = QStringLiteral("smxcwjj/wj_y_l/");
inline const QString kTemplateStagingFolder =
    QStringLiteral("smxcwjj/wj_y_l/wj_y_l/wj_y_l/wj_y_l/");
inline const QString kSingleTemplateStagingFolder =
    QStringLiteral("smxcwjj/wj_y_l/wj_y_l/wj_y_l/wj_y_l/wj_y_l/");
inline const QString kPictureFolder = QStringLiteral("smxcwjj/wj_y_l/wj_y_l/wj_y_l/pic/");
inline const QString kLeadInPicture =
    QStringLiteral("smxcwjj/wj_y_l/wj_y_l/wj_y_l/pic/picture_0.jpg");
inline const QString kLeadInBitmap =
    QStringLiteral("smxcwjj/wj_y_l/wj_y_l/wj_y_l/pic/picture_0.bmp");
inline const QString kFrameFile = QStringLiteral("smxcwjj/wj_y_l/wj_y_l/wj_y_l/wj_y_l.bmp");
inline const QString kConvertedMusicFolder = QStringLiteral("linshi/");
inline const QString kConverterScript = QStringLiteral("convert/convert1.sh");
inline const QString kUnusedFolder = QStringLiteral("wj_to_wj/");

// Templates the user installs, below the working root: packages of both kinds as in the
// installed tree, scanned after it. Nothing clears them.
inline const QString kUserParameterPackages = QStringLiteral("smxcwjj/wj_y_h/wjj_01/");
inline const QString kUserTemplatePackages = QStringLiteral("smxcwjj/wj_y_h/wjj_02/");

// Names inside the staging folders.
inline const QString kStagedBackground = QStringLiteral("wj_y_l_b_j.jpg");
inline const QString kClosingStagingSubfolder = QStringLiteral("wj_y_l_z_h/");
inline const QString kStagedClosingMovie = QStringLiteral("wj_y_l_z_h.rar");
inline const QString kStagedClosingMovieForProduction = QStringLiteral("wj_y_l_z_h_2.rar");
inline const QString kSingleTemplateMovie = QStringLiteral("wj_y_l_d_g_2.rar");
inline const QString kSingleTemplateMovieCopy = QStringLiteral("wj_y_l_d_g_2_2.rar");

// "wj_y_l_" + n + "/" inside the template staging folder, n counted from 1.
QString templateStagingSubfolder(int n);
// "wj_y_l_" + n + ".rar", the staged movie of used template n (from 1).
QString stagedTemplateMovie(int n);
// "wjj_00_j_y" + i + ".ini" in the unpack folder, i counted from 1.
QString unpackedParameterFile(int i);
// "wjj_00_j_y" + k + "-" + (k + 1) + ".ini" in the unpack folder.
QString unpackedCombinedTemplate(int k);

}  // namespace vellumo::paths
