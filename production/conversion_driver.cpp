#include "production/conversion_driver.h"

#include <algorithm>
#include <optional>

#include "album/output_formats.h"
#include "media/mcl.h"
#include "production/production_texts.h"

namespace vellumo {

namespace {

constexpr int kSmallBarRange = 100;
// Arguments of the high-quality bit-rate call.
constexpr int kHighKbps = 20000;
constexpr int kHighMode = 1;
constexpr int kHighMaxKbps = 100000;
constexpr int kAudioCodec = 2;
constexpr int kBitsPerPixel = 32;

// Hands the library the file of item index of list, or tells it the list is exhausted.
mcl::SourceFunc sourceOf(const mcl::List& list) {
    return [&list](mcl::Source& source, int index) {
        QString name;
        if (list.getName(index, name)) {
            source.setFile(name);
        } else {
            source.finished();
        }
    };
}

}  // namespace

ConversionRequest ConversionRequest::fromOptions(const OutputOptions& options) {
    ConversionRequest request;
    request.albumType = options.albumType.value_or(AlbumType::Vcd);
    request.outputSize = options.outputSize;
    request.tvSystem = options.tvSystem;
    request.quality = options.quality;
    request.coding = options.coding;
    request.outputFile = options.outputFile();
    if (options.isDiscImage()) {
        request.discStream = true;
        request.outputSize = outputFormat(request.albumType).disc->frameSize(options.tvSystem);
    }
    return request;
}

ConversionDriver::ConversionDriver(ConverterFactory factory) : factory_(std::move(factory)) {
    if (!factory_) {
        factory_ = [] { return mcl::createConverter(); };
    }
}

ConversionDriver::~ConversionDriver() = default;

void ConversionDriver::addLog(const QString& line) {
    if (log_.size() >= kMaxConversionLogLines) {
        log_.removeFirst();
    }
    log_.append(line);
    if (onLogLine) {
        onLogLine(line);
    }
}

void ConversionDriver::report() {
    if (onProgress) {
        onProgress(progress_);
    }
}

void ConversionDriver::onStatus(mcl::Converter& converter, int status, int frameCount,
                                qint64 sampleCount, int percent) {
    switch (status) {
        case mcl::kStatusFinished:
            addLog(texts::kLogProcessingTime + mcl::makeTimeStr(converter.elapsedTime()));
            break;
        case mcl::kStatusPreparing:
            addLog(texts::kLogPreparing);
            break;
        case mcl::kStatusReducingColors:
            addLog(texts::kLogReducingColors + QString::number(frameCount));
            break;
        case mcl::kStatusEncoding:
            progress_.percent = percent;
            addLog(texts::kLogFrame.arg(
                QString::number(frameCount), QString::number(sampleCount),
                mcl::makeTimeStr(converter.remainingTime(totalFrames_, totalSamples_))));
            break;
        case mcl::kStatusMultiplexing:
            addLog(texts::kLogMultiplexing.arg(percent));
            break;
        case mcl::kStatusWaiting:
            report();  // no line: the window only stays alive
            break;
        default:
            addLog(texts::kLogUnrecognizedStatus);
            break;
    }
}

bool ConversionDriver::convert(const ConversionRequest& request) {
    if (converter_.load() != nullptr) {
        return false;
    }
    log_.clear();
    errorText_.clear();
    notices_.clear();
    progress_ = {};
    const auto stopped = [&request] { return request.stopRequested && request.stopRequested(); };
    progress_.totalFrames = std::max(0, request.frameCount);

    // The handle and the lists live until the end of this call, whatever happens.
    std::unique_ptr<mcl::Converter> converter = factory_();
    mcl::Converter& c = *converter;
    mcl::List videoList;
    mcl::List audioList;
    c.assignVideoSource(sourceOf(videoList));
    c.assignAudioSource(sourceOf(audioList));
    c.assignVideoFunc([&](mcl::Converter& self, QImage& image, int frameNumber) {
        if (stopped()) {
            self.abort();
            return;
        }
        if (request.frame) {
            image = request.frame(frameNumber);
        }
        progress_.smallValue += 1;
        if (progress_.smallValue >= progress_.smallMaximum) {
            progress_.smallValue = 0;
        }
        progress_.framesDone += 1;
        progress_.elapsed = mcl::makeTimeStr(self.elapsedTime());
        progress_.remaining = mcl::makeTimeStr(self.remainingTime(totalFrames_, totalSamples_));
        report();
    });
    c.assignAudioFunc([](mcl::Converter&, int) {});
    c.assignProgress([this](mcl::Converter& self, int status, int frames, qint64 samples,
                            int percent) { onStatus(self, status, frames, samples, percent); });
    c.assignError([this](mcl::Converter& self, int, int& action) {
        action = mcl::kActionStop;
        addLog(self.errorString());
    });

    // The lists: the frame file once per picture, then the sound files in order.
    progress_.smallMaximum =
        progress_.totalFrames + static_cast<int>(request.soundFiles.size()) - 1;
    for (int i = 0; i < progress_.totalFrames; ++i) {
        videoList.add(request.frameFile, mcl::ItemKind::Picture);
        progress_.smallValue += 1;
        report();
        if (stopped()) {
            return false;
        }
    }
    for (const QString& file : request.soundFiles) {
        audioList.add(file, mcl::ItemKind::Sound);
        progress_.smallValue += 1;
        report();
    }
    totalFrames_ = videoList.frameCount();
    totalSamples_ = audioList.sampleCount();
    addLog(texts::kLogTotalFrames + QString::number(totalFrames_));
    addLog(texts::kLogTotalSamples + QString::number(totalSamples_));

    const OutputFormat& format = outputFormat(request.albumType);
    std::optional<mcl::Preset> preset = format.preset;
    if (request.discStream && format.disc) {
        preset = format.disc->preset;
    }
    if (preset == mcl::Preset::Mp4 && request.coding == VideoCoding::H265) {
        preset = mcl::Preset::Mp4Hevc;
    }
    if (preset) {
        c.setFormatPreset(
            *preset, request.tvSystem == TvSystem::Ntsc ? mcl::TvSystem::Ntsc : mcl::TvSystem::Pal);
    }
    c.videoSetKeepDuration(true);
    c.videoSetFormat(request.outputSize.width(), request.outputSize.height(), kBitsPerPixel);
    if (!request.keyFrames.isEmpty()) {
        c.videoSetKeyFrames(request.keyFrames);
    }
    if (!request.chapters.isEmpty()) {
        c.videoSetChapters(request.chapters);
    }
    progress_.smallMaximum = kSmallBarRange;
    progress_.smallValue = 0;
    progress_.converting = true;
    report();
    if (request.quality == PictureQuality::High) {
        c.videoSetBitRate(kHighKbps, kHighMode, kHighMaxKbps);
    }
    c.audioSetCodec(kAudioCodec);
    if (request.soundMixing) {
        c.audioSetMixing(*request.soundMixing);
    }
    if (!request.subtitles.isEmpty()) {
        c.setSubtitles(request.subtitles);
    }
    c.videoSetFileName(request.outputFile);
    c.audioSetFileName(request.outputFile);

    bool done = false;
    if (stopped()) {
        return false;
    }
    if (totalFrames_ > 0 || totalSamples_ > 0) {
        addLog(texts::kLogStarting);
        converter_ = converter.get();
        // Whatever way convert() ends, abort() must not meet the handle afterwards.
        struct Release {
            ConversionDriver& driver;
            ~Release() {
                std::lock_guard lock(driver.abortMutex_);
                driver.converter_ = nullptr;
            }
        };
        {
            const Release release{*this};
            done = c.convert();
        }
        notices_ = c.notices();
        if (c.error() != mcl::kErrorNone) {
            errorText_ = c.errorString();
            addLog(errorText_);
            done = false;
        }
        addLog(texts::kLogEnded);
    } else {
        addLog(texts::kLogNothingToConvert);
    }
    progress_.converting = false;
    report();
    return done;
}

void ConversionDriver::abort() {
    std::lock_guard lock(abortMutex_);
    if (mcl::Converter* running = converter_.load()) {
        running->abort();
    }
}

}  // namespace vellumo
