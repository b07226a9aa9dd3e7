#pragma once

// What the album needs before it can be played or produced.

#include <QString>

#include "album/output_options.h"

namespace vellumo {

class Album;

// What a play request must do before playing.
struct PlayCheck {
    QString refusal;         // a message, and nothing happens
    int unplacedPhotos = 0;  // > 0: ask "自动完成" first
};
PlayCheck checkPlayRequest(const Album& album, SyncMode sync);

}  // namespace vellumo
