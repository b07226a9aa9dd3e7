#pragma once

// Burning a written disc image: the writers xorriso finds, and an image written to one of them.
// An ISO goes through xorriso's cdrecord emulation; a VCD or SVCD image (BIN/CUE, raw 2352-byte
// sectors, which xorriso does not write) through cdrdao. The programs run as in authoring: an
// argument list, their lines to the log, progress every few milliseconds, stop() kills them.
//
//   DiscBurner burner(QStringLiteral("/home/u/album.iso"), writers.first().device);
//   burner.onProgress = [&](const DiscProgress& p) { /* bar */ };
//   const DiscResult result = burner.run();

#include <QList>
#include <QString>
#include <atomic>
#include <functional>

#include "disc/disc_authoring.h"

namespace vellumo::disc {

struct DiscWriter {
    QString device;  // "/dev/sr0"
    QString vendor;
    QString model;
};

// The writers xorriso finds; empty when there is none or xorriso is missing.
QList<DiscWriter> listDiscWriters(const std::function<void(const QString&)>& log = {});
// The writers in xorriso -devices output.
QList<DiscWriter> parseDiscWriters(const QStringList& lines);

class DiscBurner {
public:
    // image: an ISO file, or the .cue (or .bin) of a VCD or SVCD image. device: a writer's
    // device, or xorriso's "stdio:FILE" pseudo-drive.
    DiscBurner(QString image, QString device);

    DiscBurner(const DiscBurner&) = delete;
    DiscBurner& operator=(const DiscBurner&) = delete;

    std::function<void(const DiscProgress&)> onProgress;
    std::function<void(const QString& line)> onLog;

    // Returns when the image is burnt, has failed, or was stopped.
    DiscResult run();
    void stop();

private:
    QString image_;
    QString device_;
    std::atomic<bool> stopRequested_{false};
};

}  // namespace vellumo::disc
