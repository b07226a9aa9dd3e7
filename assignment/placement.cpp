#include "assignment/placement.h"

#include "project/album.h"

namespace vellumo {

namespace {

TemplateClass classWord(Pool pool) {
    switch (pool) {
        case Pool::SingleLandscape:
            return TemplateClass::LandscapeSingle;
        case Pool::SinglePortrait:
            return TemplateClass::PortraitSingle;
        default:
            return TemplateClass::Combined;
    }
}

void dropPlacedFrom(QVector<UnassignedRow>& rows) {
    for (qsizetype i = rows.size() - 1; i >= 0; --i) {
        if (rows[i].placed) {
            rows.removeAt(i);
        }
    }
}

}  // namespace

void UnassignedLists::rebuild(const PhotoList& photos) {
    landscape.clear();
    portrait.clear();
    for (int row = 0; row < photos.size(); ++row) {
        if (photos.at(row).inTemplate) {
            continue;
        }
        (photos.at(row).isLandscape() ? landscape : portrait).append(UnassignedRow{row, false});
    }
}

void UnassignedLists::dropPlaced() {
    dropPlacedFrom(landscape);
    dropPlacedFrom(portrait);
}

QVector<PoolEntry> buildPool(Pool pool, const Catalogue& catalogue, int a, int b) {
    QVector<PoolEntry> entries;
    const auto take = [&](const QVector<ClassListRow>& list, auto accept) {
        for (const ClassListRow& row : list) {
            if (accept(row)) {
                entries.append(PoolEntry{row, false});
            }
        }
    };
    switch (pool) {
        case Pool::Mixed:
            if (a > 0 && b > 0) {
                take(catalogue.advancedTemplates(), [&](const ClassListRow& r) {
                    return r.landscapeSlots != 0 && r.portraitSlots != 0 && r.landscapeSlots <= a &&
                           r.portraitSlots <= b;
                });
            }
            break;
        case Pool::AdvancedLandscape:
            if (a > 0) {
                take(catalogue.advancedTemplates(), [&](const ClassListRow& r) {
                    return r.landscapeSlots > 0 && r.portraitSlots == 0 && r.landscapeSlots <= a;
                });
            }
            break;
        case Pool::AdvancedPortrait:
            if (b > 0) {
                take(catalogue.advancedTemplates(), [&](const ClassListRow& r) {
                    return r.landscapeSlots == 0 && r.portraitSlots > 0 && r.portraitSlots <= b;
                });
            }
            break;
        case Pool::SingleLandscape:
            if (a > 0) {
                take(catalogue.landscapeSingles(), [](const ClassListRow&) { return true; });
            }
            break;
        case Pool::SinglePortrait:
            if (b > 0) {
                take(catalogue.portraitSingles(), [](const ClassListRow&) { return true; });
            }
            break;
    }
    return entries;
}

void fillNewTemplate(UsedTemplates& templates, UnassignedLists& waiting, int t, PlacementMode mode,
                     WrapCursors& cursors) {
    qsizetype nextLandscape = 0;
    qsizetype nextPortrait = 0;
    for (int slotRow : templates.slotRows(t)) {
        const bool landscape = templates.slot(slotRow).orientation == SlotOrientation::Landscape;
        QVector<UnassignedRow>& rows = landscape ? waiting.landscape : waiting.portrait;
        if (rows.isEmpty()) {
            continue;  // No photo for this slot; the template stays incomplete.
        }
        qsizetype pick = 0;
        if (mode == PlacementMode::Combined) {
            int& cursor = landscape ? cursors.landscape : cursors.portrait;
            ++cursor;
            // Past the last row (the list may have grown shorter since): the first row again.
            if (cursor >= rows.size()) {
                cursor = 0;
            }
            pick = cursor;
        } else {
            qsizetype& next = landscape ? nextLandscape : nextPortrait;
            if (next >= rows.size()) {
                continue;
            }
            pick = next++;
        }
        UnassignedRow& row = rows[pick];
        templates.fillSlot(slotRow, row.photoRow);
        row.placed = true;
    }
    if (templates.unmatchedCount(t) != 0) {
        templates.updateMatch(t);
    }
}

PlacementRun::PlacementRun(Album& album) : edit_(album), records_(edit_.placement()) {}

void PlacementRun::start() {
    records_.backgrounds.refreshDefaults(records_.photos);
    waiting_.rebuild(records_.photos);
    for (QVector<int>& used : usedNumbers_) {
        used.clear();
    }
}

bool PlacementRun::pickFrom(Pool pool) {
    QVector<PoolEntry> entries =
        buildPool(pool, records_.templates.catalogue(), static_cast<int>(waiting_.landscape.size()),
                  static_cast<int>(waiting_.portrait.size()));
    if (entries.isEmpty()) {
        return false;
    }
    QVector<int>& used = usedNumbers_[static_cast<int>(pool)];
    int matches = 0;
    for (PoolEntry& entry : entries) {
        for (int number : used) {
            if (entry.row.catalogueIndex == number) {
                entry.used = true;
                ++matches;
            }
        }
    }
    qsizetype pick = 0;
    if (matches == 0 || matches >= entries.size()) {
        used.clear();  // Every entry has had its turn: the rotation starts again.
    } else {
        while (entries[pick].used) {
            ++pick;
        }
    }
    const int index = entries[pick].row.catalogueIndex;
    const TemplateClass cls = classWord(pool);
    for (const CatalogueEntry& entry : records_.templates.catalogue().entries()) {
        if (entry.catalogueIndex == index && entry.templateClass == cls) {
            const int t = records_.templates.addTemplate(entry, true);
            fillNewTemplate(records_.templates, waiting_, t, records_.mode, records_.cursors);
        }
    }
    used.append(index);
    return true;
}

bool PlacementRun::pass() {
    const int before = waiting_.count();
    static constexpr Pool kOrder[] = {Pool::Mixed, Pool::AdvancedLandscape, Pool::AdvancedPortrait,
                                      Pool::SingleLandscape, Pool::SinglePortrait};
    for (Pool pool : kOrder) {
        waiting_.dropPlaced();
        pickFrom(pool);
    }
    waiting_.dropPlaced();
    return waiting_.count() < before;
}

int PlacementRun::runToEnd() {
    while (!finished()) {
        if (!pass()) {
            break;
        }
    }
    return waitingCount();
}

PlacementRun placementRun(Album& album) {
    return PlacementRun(album);
}

}  // namespace vellumo
