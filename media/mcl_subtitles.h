#pragma once

// The conversion library's subtitle track: each line a mov_text sample from its start to its
// end, in an MP4 or MOV file, its language Chinese.

#include <QVector>

#include "media/mcl_common.h"

namespace vellumo::mcl::detail {

class SubtitleTrack {
public:
    // Adds the track to output, before its header is written.
    SubtitleTrack(AVFormatContext* output, QVector<Subtitle> lines);

    // Writes every line (each stream's packets stay in order, so after the pictures is fine).
    void write(AVFormatContext* output, AVPacket* packet, const QString& outputName);

private:
    QVector<Subtitle> lines_;
    CodecPtr codec_;
    AVStream* stream_ = nullptr;
};

}  // namespace vellumo::mcl::detail
