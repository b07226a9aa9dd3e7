#pragma once

// The installed help: the user guide (Markdown) turned into one HTML page that a desktop
// browser and our help window both show.

#include <QString>

namespace vellumo::datagen {

// Pictures wider than this are shown at this width (the help window is about 1000 wide).
inline constexpr int kMaxHelpPictureWidth = 900;

// The anchor a heading's text gets, as the guide's own links name it: letters and digits
// lower-cased, spaces as "-", other marks dropped ("12. 制作 DVD" → "12-制作-dvd").
QString headingAnchor(const QString& heading);

// The guide as an HTML page: every heading carries its anchor, pictures keep their relative
// paths (read from pictureRoot to scale the wide ones down), the first heading is the title.
QString helpPageFromGuide(const QString& markdown, const QString& pictureRoot);

}  // namespace vellumo::datagen
