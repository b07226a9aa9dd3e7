#pragma once

// What the conversion library's sources share: how a failure inside the encoder travels, and
// owners of the FFmpeg objects they open. Included by the mcl sources only.

#include <QString>

#include <memory>

#include "media/ffmpeg_handles.h"
#include "media/mcl.h"
#include "media/media_texts.h"

extern "C" {
#include <libavutil/audio_fifo.h>
#include <libavutil/error.h>
#include <libswscale/swscale.h>
}

namespace vellumo::mcl::detail {

inline QString ffmpegReason(int code) {
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(code, text, sizeof text);
    return QString::fromLocal8Bit(text);
}

// An error inside the encoder: code and the text the user sees.
struct Failure {
    int code;
    QString text;
};

[[noreturn]] inline void fail(int code, const QString& text, int ffmpegCode = 0) {
    throw Failure{code,
                  ffmpegCode < 0 ? texts::kMclReason.arg(text, ffmpegReason(ffmpegCode)) : text};
}

using av::CodecDeleter;
using av::FrameDeleter;
using av::InputDeleter;
using av::OutputDeleter;
using av::PacketDeleter;
using av::ResamplerDeleter;

struct FifoDeleter {
    void operator()(AVAudioFifo* f) const { av_audio_fifo_free(f); }
};
struct PoolDeleter {
    void operator()(AVBufferPool* p) const { av_buffer_pool_uninit(&p); }
};
struct ScalerDeleter {
    void operator()(SwsContext* s) const { sws_freeContext(s); }
};

using CodecPtr = std::unique_ptr<AVCodecContext, CodecDeleter>;
using FramePtr = std::unique_ptr<AVFrame, FrameDeleter>;
using PacketPtr = std::unique_ptr<AVPacket, PacketDeleter>;
using ResamplerPtr = std::unique_ptr<SwrContext, ResamplerDeleter>;

}  // namespace vellumo::mcl::detail
