#pragma once

// Combined templates: fixed groups of catalogue templates used together. The combination list
// offers the installed groups; the combined add appends a group's templates in member order,
// again and again, each filled with the new photos in turn, until every new photo is in one.

#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

#include "album/photo_list.h"
#include "assignment/photo_adding.h"
#include "assignment/placement.h"
#include "catalogue/combined_template.h"

namespace vellumo {

class Album;

struct Combination {
    QString name;  // "模板组合 - " + k
    int landscapeTotal = 0;
    int portraitTotal = 0;
    int photoTotal() const { return landscapeTotal + portraitTotal; }
};

// The installed combined templates, k = 1 … K, read from their packages. A package that
// cannot be read is left out of the list and described in problems.
struct CombinationList {
    QVector<Combination> rows;
    QVector<int> packageNumbers;  // the k of each row
    QStringList problems;
};
CombinationList readCombinationList();
// Unpacks and reads combined-template package k. Throws Error.
CombinedTemplate readCombinationPackage(int k);

// The explanation line for the selected totals; previous when both are 0.
QString explanationLine(int landscapeTotal, int portraitTotal, const QString& previous);

// The chosen files measured as "添加照片" measures them and sorted by the photo list's rule
// (upright size, width ≥ height is landscape); files that hold no picture go to unreadable.
struct ChosenPhotos {
    QStringList landscape;
    QStringList portrait;
    QStringList unreadable;
    QStringList incomplete;       // taken, but their data ends early (measurePhotoFile)
    QVector<PhotoRecord> photos;  // the records of the files with a picture, in the order chosen
    void add(const QStringList& files);
};

// The messages telling the user which orientation the combination still needs; empty when
// the chosen photos suffice.
QStringList missingPhotoMessages(const Combination& combination, const ChosenPhotos& chosen);

class CombinedAdd {
public:
    CombinedAdd(Album& album, CombinedTemplate combination);

    // Adds the chosen photos (landscape first, each kind in the order chosen) as every add of
    // photos does, and sets up the waiting lists and cursors. Files that hold no picture are
    // listed in skipped().
    void addPhotos(const ChosenPhotos& chosen, const AddProgress& progress = {});
    void addPhotos(const QVector<PhotoRecord>& photos, const AddProgress& progress = {});
    // Applies every member once, in order.
    void firstPass();
    // Applies members in cyclic order until every new photo is in a template. A whole cycle that
    // places no further photo stops it (its templates are taken back); returns the photos then
    // still waiting.
    int repeat();
    int waitingCount() const;
    const QStringList& skipped() const { return skipped_; }
    int addedCount() const { return added_; }
    // The closing message: which photos are still in no template and why (the combination has no
    // slot of their orientation; members that name no installed template); empty when every
    // photo is in one.
    QString unplacedMessage() const;

private:
    // Appends and fills every catalogue template the member names, taking back at once any
    // that received no photo; true when a photo that was waiting got placed.
    bool applyMember(const CombinedTemplateMember& member);

    Album& album_;
    CombinedTemplate combination_;
    UnassignedLists waiting_;
    QStringList skipped_;
    int added_ = 0;
    QStringList missingMembers_;  // as written: name~landscape~portrait~
    int nextMember_ = 0;
};

}  // namespace vellumo
