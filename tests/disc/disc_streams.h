#pragma once

// Small disc streams for the disc tests, made by the ffmpeg program from its own test pictures:
// a few seconds at a disc standard's size and rates, a closed GOP at every chapter.

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QVector>

#include <ostream>

#include "disc/disc_authoring.h"

namespace vellumo::test {

inline QString makeDiscStream(const QString& path, disc::DiscKind kind, mcl::TvSystem tv,
                              double seconds, const QVector<double>& chapters = {}) {
    const bool pal = tv == mcl::TvSystem::Pal;
    const QString rate = pal ? QStringLiteral("25") : QStringLiteral("30000/1001");
    QString size;
    QStringList target;
    if (kind == disc::DiscKind::Dvd) {
        size = pal ? QStringLiteral("720x576") : QStringLiteral("720x480");
        QStringList keys;
        for (const double c : chapters) {
            keys.append(QString::number(c));
        }
        target = {QStringLiteral("-target"),
                  pal ? QStringLiteral("pal-dvd") : QStringLiteral("ntsc-dvd"),
                  QStringLiteral("-aspect"),
                  QStringLiteral("16:9"),
                  QStringLiteral("-b:v"),
                  QStringLiteral("2500k"),
                  QStringLiteral("-flags"),
                  QStringLiteral("+cgop"),
                  QStringLiteral("-sc_threshold"),
                  QStringLiteral("1000000000"),
                  QStringLiteral("-g"),
                  pal ? QStringLiteral("15") : QStringLiteral("18")};
        if (!keys.isEmpty()) {
            target << QStringLiteral("-force_key_frames") << keys.join(QLatin1Char(','));
        }
    } else if (kind == disc::DiscKind::Svcd) {
        size = pal ? QStringLiteral("480x576") : QStringLiteral("480x480");
        target = {QStringLiteral("-target"),
                  pal ? QStringLiteral("pal-svcd") : QStringLiteral("ntsc-svcd")};
    } else {
        size = pal ? QStringLiteral("352x288") : QStringLiteral("352x240");
        target = {QStringLiteral("-target"),
                  pal ? QStringLiteral("pal-vcd") : QStringLiteral("ntsc-vcd")};
    }
    QStringList args = {QStringLiteral("-v"),
                        QStringLiteral("error"),
                        QStringLiteral("-y"),
                        QStringLiteral("-f"),
                        QStringLiteral("lavfi"),
                        QStringLiteral("-i"),
                        QStringLiteral("testsrc2=s=%1:r=%2").arg(size, rate),
                        QStringLiteral("-f"),
                        QStringLiteral("lavfi"),
                        QStringLiteral("-i"),
                        QStringLiteral("sine=frequency=440:sample_rate=48000"),
                        QStringLiteral("-t"),
                        QString::number(seconds)};
    args << target << path;
    QProcess ffmpeg;
    ffmpeg.start(QStringLiteral("ffmpeg"), args);
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0) {
        return {};
    }
    return path;
}

}  // namespace vellumo::test

// Readable Chinese in the failure messages of the disc tests.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << text.toStdString();
}
QT_END_NAMESPACE
