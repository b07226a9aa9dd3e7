#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace vellumo {

// Splits a picture list: the items stand between consecutive "|" characters. Text before the
// first and after the last "|" is ignored; "||" gives an empty item; fewer than two "|" give an
// empty list. "|400|300|" holds 400 and 300.
QStringList splitPictureList(QStringView text);

// A picture name with exactly one "_" (picture_3) is a photo slot; other names (picture0,
// picture_0_wancheng) are pictures of the template that never take a photo.
bool isPhotoSlotName(QStringView name);

}  // namespace vellumo
