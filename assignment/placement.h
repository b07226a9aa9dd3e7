#pragma once

// Automatic placement: photos that are in no template yet are spread over templates taken by
// rotation from the catalogue's template groups, until every photo is in a template.

#include <QVector>

#include "album/used_templates.h"
#include "project/album.h"
#include "project/placement_state.h"

namespace vellumo {

// A waiting photo: its row in the photo list and whether the run has placed it.
struct UnassignedRow {
    int photoRow = 0;
    bool placed = false;
};

// The photos without a template, landscape and portrait, in photo-list order.
struct UnassignedLists {
    QVector<UnassignedRow> landscape;
    QVector<UnassignedRow> portrait;

    void rebuild(const PhotoList& photos);
    // Removes the rows the run has placed.
    void dropPlaced();
    bool isEmpty() const { return landscape.isEmpty() && portrait.isEmpty(); }
    int count() const { return static_cast<int>(landscape.size() + portrait.size()); }
};

// The five template groups, in the order a pass takes them.
enum class Pool { Mixed, AdvancedLandscape, AdvancedPortrait, SingleLandscape, SinglePortrait };
inline constexpr int kPoolCount = 5;

// One entry of a pool: a class-list row.
struct PoolEntry {
    ClassListRow row;
    bool used = false;  // "yi_shiyong"
};

// The pool built from the catalogue's class lists for a landscape and b portrait photos waiting.
QVector<PoolEntry> buildPool(Pool pool, const Catalogue& catalogue, int a, int b);

// Fills every slot of a template just appended with default placements: in random mode with the
// waiting photos from the top of each list, in combined mode with the photos after the wrap
// cursors, starting again at the first row after the last.
void fillNewTemplate(UsedTemplates& templates, UnassignedLists& waiting, int t, PlacementMode mode,
                     WrapCursors& cursors);

// A run over the album's photos and templates, in its current mode. The album announces what
// the run changed once it ends (with the action around it).
class PlacementRun {
public:
    explicit PlacementRun(Album& album);

    // Refreshes the default backgrounds, rebuilds the waiting lists, empties the used numbers.
    void start();
    bool finished() const { return waiting_.isEmpty(); }
    // One pass over the five groups. False when the pass placed no photo: no template can take
    // the photos still waiting, so the run must stop.
    bool pass();
    // Runs passes until every photo is placed or a pass places none; returns the photos left.
    int runToEnd();
    int waitingCount() const { return waiting_.count(); }
    const UnassignedLists& waiting() const { return waiting_; }

private:
    bool pickFrom(Pool pool);

    Album::Edit edit_;
    PlacementRecords records_;
    UnassignedLists waiting_;
    QVector<int> usedNumbers_[kPoolCount];
};

// A placement run over the album's photos and templates, in its current mode.
PlacementRun placementRun(Album& album);

}  // namespace vellumo
