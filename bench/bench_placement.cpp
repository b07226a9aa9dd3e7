// Automatic placement: a run over 500 photos (300 landscape, 200 portrait, mixed in the order
// added) with a catalogue of 100 templates: landscape and portrait singles and advanced
// templates of two to four photos, landscape, portrait and mixed.
//   bench_placement [PHOTOS]

#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "assignment/placement.h"
#include "project/album.h"

namespace {

vellumo::CatalogueRecord record(const QString& name, const QStringList& orientations) {
    vellumo::CatalogueRecord r;
    r.name = name;
    for (qsizetype i = 0; i < orientations.size(); ++i) {
        r.pictureNames.append(QStringLiteral("picture_%1").arg(i + 1));
    }
    r.orientations = orientations;
    r.pictureWidths.fill(0, orientations.size());
    r.pictureHeights.fill(0, orientations.size());
    r.frames = 250;
    return r;
}

QVector<vellumo::CatalogueRecord> catalogueOf100() {
    const QString heng = QStringLiteral("heng");
    const QString shu = QStringLiteral("shu");
    QVector<vellumo::CatalogueRecord> records;
    for (int i = 0; i < 35; ++i) {
        records << record(QStringLiteral("heng%1").arg(i), {heng});
    }
    for (int i = 0; i < 25; ++i) {
        records << record(QStringLiteral("shu%1").arg(i), {shu});
    }
    for (int i = 0; i < 40; ++i) {
        QStringList kinds;
        const int photos = 2 + i % 3;
        for (int k = 0; k < photos; ++k) {
            // Landscape-only, portrait-only and mixed groups in turn.
            kinds << (i % 4 == 0 ? shu : i % 4 == 1 ? heng : (k % 2 == 0 ? heng : shu));
        }
        records << record(QStringLiteral("gaoji%1").arg(i), kinds);
    }
    return records;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::max(1, atoi(argv[1])) : 500;
    vellumo::Catalogue catalogue;
    catalogue.setRecords(catalogueOf100());
    std::printf(
        "catalogue: %d templates (%d landscape singles, %d portrait singles, %d advanced)\n",
        static_cast<int>(catalogue.records().size()),
        static_cast<int>(catalogue.landscapeSingles().size()),
        static_cast<int>(catalogue.portraitSingles().size()),
        static_cast<int>(catalogue.advancedTemplates().size()));

    std::vector<double> times;
    int templates = 0;
    int left = 0;
    for (int run = 0; run < 7; ++run) {
        vellumo::Album album(catalogue, [](int bound) { return bound / 2; });
        for (int i = 0; i < count; ++i) {
            vellumo::PhotoRecord photo;
            photo.name = QStringLiteral("IMG_%1").arg(i);
            photo.format = QStringLiteral(".jpg");
            const bool landscape = i % 5 < 3;
            photo.width = landscape ? 4000 : 3000;
            photo.height = landscape ? 3000 : 4000;
            photo.location = QStringLiteral("/photos/IMG_%1.jpg").arg(i);
            album.addPhoto(photo);
        }
        QElapsedTimer timer;
        timer.start();
        vellumo::PlacementRun placement = placementRun(album);
        placement.start();
        left = placement.runToEnd();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        templates = album.templates().size();
    }
    std::sort(times.begin(), times.end());
    std::printf(
        "placement run of %d photos: median %.1f ms (min %.1f, max %.1f, %zu runs); "
        "%d templates appended, %d photos left\n",
        count, times[times.size() / 2], times.front(), times.back(), times.size(), templates, left);
    return 0;
}
