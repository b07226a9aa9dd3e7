#pragma once

// Owners of the FFmpeg objects the media wrappers open, so that every way out frees them.
// Included by the wrappers' sources only: FFmpeg's types stay inside media/.

#include <memory>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswresample/swresample.h>
}

namespace vellumo::av {

struct InputDeleter {
    void operator()(AVFormatContext* c) const { avformat_close_input(&c); }
};
// An output context with the file it may have opened (an output of the caller's own stays).
struct OutputDeleter {
    void operator()(AVFormatContext* c) const {
        if (c->pb != nullptr && (c->flags & AVFMT_FLAG_CUSTOM_IO) == 0) {
            avio_closep(&c->pb);
        }
        avformat_free_context(c);
    }
};
struct CodecDeleter {
    void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
    void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
    void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ResamplerDeleter {
    void operator()(SwrContext* s) const { swr_free(&s); }
};

}  // namespace vellumo::av
