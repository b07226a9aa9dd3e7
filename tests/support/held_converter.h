#pragma once

// FFmpeg's converter, held after one picture until the conversion is stopped, so that a test
// can stop a production half-way whatever the load on the machine.

#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "media/mcl.h"

namespace vellumo::test {

class HeldConverter : public mcl::Converter {
public:
    // Holds after picture holdAt (never when it is negative) for at most maxWaitMs, then goes on.
    explicit HeldConverter(int holdAt, int maxWaitMs = 30000)
        : inner_(mcl::createConverter()), holdAt_(holdAt), maxWaitMs_(maxWaitMs) {}

    // Called when the conversion has returned, before the driver hears of it.
    std::function<void()> afterConvert;

    // True once the conversion reached the held picture.
    const std::atomic<bool>& reached() const { return reached_; }

    void assignVideoSource(mcl::SourceFunc callback) override {
        inner_->assignVideoSource(std::move(callback));
    }
    void assignAudioSource(mcl::SourceFunc callback) override {
        inner_->assignAudioSource(std::move(callback));
    }
    void assignVideoFunc(mcl::VideoFunc callback) override {
        inner_->assignVideoFunc(
            [this, callback = std::move(callback)](mcl::Converter& self, QImage& image, int n) {
                callback(self, image, n);
                if (n == holdAt_) {
                    reached_ = true;
                    QElapsedTimer clock;
                    clock.start();
                    while (!aborted_ && clock.elapsed() < maxWaitMs_) {
                        std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    }
                }
            });
    }
    void assignAudioFunc(mcl::AudioFunc callback) override {
        inner_->assignAudioFunc(std::move(callback));
    }
    void assignProgress(mcl::ProgressFunc callback) override {
        inner_->assignProgress(std::move(callback));
    }
    void assignError(mcl::ErrorFunc callback) override { inner_->assignError(std::move(callback)); }
    void setFormatPreset(mcl::Preset preset, mcl::TvSystem tv) override {
        inner_->setFormatPreset(preset, tv);
    }
    void videoSetKeepDuration(bool keep) override { inner_->videoSetKeepDuration(keep); }
    void videoSetFormat(int width, int height, int bitsPerPixel) override {
        inner_->videoSetFormat(width, height, bitsPerPixel);
    }
    void videoSetKeyFrames(const QVector<int>& pictures) override {
        inner_->videoSetKeyFrames(pictures);
    }
    void videoSetBitRate(int kbps, int mode, int maxKbps) override {
        inner_->videoSetBitRate(kbps, mode, maxKbps);
    }
    void audioSetCodec(int codec) override { inner_->audioSetCodec(codec); }
    void videoSetFileName(const QString& fileName) override { inner_->videoSetFileName(fileName); }
    void audioSetFileName(const QString& fileName) override { inner_->audioSetFileName(fileName); }
    bool convert() override {
        const bool done = inner_->convert();
        if (afterConvert) {
            afterConvert();
        }
        return done;
    }
    QStringList notices() const override { return inner_->notices(); }
    int error() const override { return inner_->error(); }
    QString errorString() const override { return inner_->errorString(); }
    double elapsedTime() const override { return inner_->elapsedTime(); }
    double remainingTime(int totalFrames, qint64 totalSamples) const override {
        return inner_->remainingTime(totalFrames, totalSamples);
    }
    void abort() override {
        aborted_ = true;
        inner_->abort();
    }

private:
    std::unique_ptr<mcl::Converter> inner_;
    int holdAt_;
    int maxWaitMs_;
    std::atomic<bool> reached_{false};
    std::atomic<bool> aborted_{false};
};

}  // namespace vellumo::test
