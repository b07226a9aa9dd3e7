#pragma once

// The album folder chooser.

#include <QString>

class QWidget;

namespace vellumo {

// Lets the user pick the folder the album is saved in. Returns the folder ending in "/", or an
// empty text when the user cancels ("/" is a real folder here, so it cannot mean "none").
QString chooseAlbumFolder(QWidget* parent = nullptr);

// The chooser's result for a chosen path: "/" appended unless it already ends in one; an empty
// choice stays empty.
QString albumFolderFromChoice(const QString& chosen);

}  // namespace vellumo
