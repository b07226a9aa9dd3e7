// Unpacking packed files as start-up does: a parameter file and a template movie, each packed
// 20 deep, through the chain of intermediate files.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "workspace/packed_file.h"

namespace {

QByteArray sampleContent(qsizetype size) {
    QByteArray text;
    QRandomGenerator random(7);
    while (text.size() < size) {
        text += "layer image picture_" + QByteArray::number(random.bounded(10)) + " at " +
                QByteArray::number(random.bounded(1920)) + " " +
                QByteArray::number(random.bounded(1080)) + "\n";
    }
    text.truncate(size);
    return text;
}

void measure(const char* label, qsizetype size, int runs) {
    QTemporaryDir dir;
    const QString source = dir.path() + QStringLiteral("/package.rar");
    vellumo::writeWholeFile(source, vellumo::packNested(sampleContent(size), 20));
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        vellumo::unpackChain(
            source, 20,
            [&](int level) { return dir.path() + QStringLiteral("/level%1.rar").arg(level); },
            dir.path() + QStringLiteral("/out"));
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    std::printf("%-34s median %7.3f ms  (min %.3f, max %.3f, %d runs)\n", label,
                times[times.size() / 2], times.front(), times.back(), runs);
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    measure("parameter file 1 KB, 20 deep", 1024, 50);
    measure("template movie 64 KB, 20 deep", 64 * 1024, 30);
    measure("template movie 1 MB, 20 deep", 1024 * 1024, 10);
    return 0;
}
