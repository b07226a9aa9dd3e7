#include "assignment/combined_add.h"

#include <QFile>

#include <algorithm>

#include "assignment/assignment_texts.h"
#include "project/album.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/intermediate_names.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

CombinedTemplate readCombinationPackage(int k) {
    const QString unpacked = workingPath(paths::unpackedCombinedTemplate(k));
    ensureFolder(workingPath(paths::kUnpackFolder));
    try {
        unpackChain(dataPath(paths::combinedTemplatePackage(k)), paths::kCombinedTemplateDepth,
                    intermediate::combinedTemplatePackage(k), unpacked,
                    paths::kParameterUnpackLimit);
        CombinedTemplate result = readCombinedTemplate(unpacked);
        QFile::remove(unpacked);
        return result;
    } catch (const Error&) {
        QFile::remove(unpacked);
        throw;
    }
}

CombinationList readCombinationList() {
    CombinationList list;
    const int count = countPackages(dataPath(paths::kCombinedTemplates));
    for (int k = 1; k <= count; ++k) {
        try {
            const CombinedTemplate combined = readCombinationPackage(k);
            list.rows.append(Combination{texts::kCombinationName.arg(k), combined.landscapeTotal(),
                                         combined.portraitTotal()});
            list.packageNumbers.append(k);
        } catch (const FileError& e) {
            list.problems.append(
                texts::kCombinationUnreadable.arg(paths::combinedTemplatePackage(k), e.reason()));
        } catch (const Error& e) {
            list.problems.append(
                texts::kCombinationUnreadable.arg(paths::combinedTemplatePackage(k), e.message()));
        }
    }
    return list;
}

QString explanationLine(int landscapeTotal, int portraitTotal, const QString& previous) {
    if (landscapeTotal > 0 && portraitTotal > 0) {
        return texts::kExplanationBoth;
    }
    if (landscapeTotal > 0) {
        return texts::kExplanationLandscape;
    }
    if (portraitTotal > 0) {
        return texts::kExplanationPortrait;
    }
    return previous;
}

void ChosenPhotos::add(const QStringList& files) {
    runInOrder(
        static_cast<int>(files.size()), [&files](int i) { return measurePhotoFile(files[i]); },
        [&](int i, MeasuredPhoto measured) {
            if (measured.record) {
                (measured.record->isLandscape() ? landscape : portrait).append(files[i]);
                photos.append(std::move(*measured.record));
                if (measured.incomplete) {
                    incomplete.append(files[i]);
                }
            } else {
                unreadable.append(files[i]);
            }
        });
}

QStringList missingPhotoMessages(const Combination& combination, const ChosenPhotos& chosen) {
    QStringList messages;
    if (combination.landscapeTotal > 0 && chosen.landscape.isEmpty()) {
        messages << texts::kNeedLandscapeForCombination;
    }
    if (combination.portraitTotal > 0 && chosen.portrait.isEmpty()) {
        messages << texts::kNeedPortraitForCombination;
    }
    return messages;
}

CombinedAdd::CombinedAdd(Album& album, CombinedTemplate combination)
    : album_(album), combination_(std::move(combination)) {}

void CombinedAdd::addPhotos(const ChosenPhotos& chosen, const AddProgress& progress) {
    skipped_ += chosen.unreadable;
    addPhotos(chosen.photos, progress);
}

void CombinedAdd::addPhotos(const QVector<PhotoRecord>& photos, const AddProgress& progress) {
    QVector<PhotoRecord> landscapeFirst;
    for (const bool landscape : {true, false}) {
        for (const PhotoRecord& photo : photos) {
            if (photo.isLandscape() == landscape) {
                landscapeFirst.append(photo);
            }
        }
    }
    PhotoAdder adder(album_, progress);
    adder.addMeasured(landscapeFirst);
    added_ += adder.addedCount();
    waiting_.rebuild(album_.photos());
    album_.setWrapCursors(WrapCursors{});
    nextMember_ = 0;
}

bool CombinedAdd::applyMember(const CombinedTemplateMember& member) {
    const int before = waitingCount();
    bool found = false;
    for (const CatalogueEntry& entry : album_.catalogue().entries()) {
        if (member.names(entry.name, entry.landscapeSlots, entry.portraitSlots)) {
            found = true;
            Album::Edit edit(album_);
            const PlacementRecords records = edit.placement();
            UsedTemplates& templates = records.templates;
            const int t = templates.addTemplate(entry, true);
            fillNewTemplate(templates, waiting_, t, PlacementMode::Combined, records.cursors);
            // No photo of the orientation it wants: an empty template is taken back rather than
            // left in the album "未完成". Its background pick and the cursors are all it touched.
            const QVector<int> rows = templates.slotRows(t);
            if (std::none_of(rows.begin(), rows.end(),
                             [&](int row) { return templates.slot(row).matched; })) {
                templates.deleteTemplate(t);
            }
        }
    }
    const QString written =
        member.name + u'~' + member.landscapeText + u'~' + member.portraitText + u'~';
    if (!found && !missingMembers_.contains(written)) {
        missingMembers_.append(written);
    }
    return waitingCount() < before;
}

QString CombinedAdd::unplacedMessage() const {
    QString message = unplacedPhotosMessage(album_.photos(), UnplacedReason::Combination);
    if (!message.isEmpty()) {
        for (const QString& member : missingMembers_) {
            message += u'\n' + texts::kCombinationMemberMissing.arg(member);
        }
    }
    return message;
}

int CombinedAdd::waitingCount() const {
    int count = 0;
    for (const QVector<UnassignedRow>* rows : {&waiting_.landscape, &waiting_.portrait}) {
        for (const UnassignedRow& row : *rows) {
            count += row.placed ? 0 : 1;
        }
    }
    return count;
}

void CombinedAdd::firstPass() {
    for (const CombinedTemplateMember& member : combination_.members) {
        applyMember(member);
    }
}

int CombinedAdd::repeat() {
    const qsizetype n = combination_.members.size();
    if (n == 0) {
        return waitingCount();
    }
    // The cycles change the album as one.
    Album::Edit edit(album_);
    while (waitingCount() > 0) {
        // One whole cycle through the members; when it places no new photo, nothing ever will,
        // and the templates it appended are taken back.
        const int templatesBefore = album_.templates().size();
        const WrapCursors cursorsBefore = album_.wrapCursors();
        QVector<bool> marksBefore;
        for (const PhotoRecord& photo : album_.photos().records()) {
            marksBefore.append(photo.inTemplate);
        }
        const int waitingBefore = waitingCount();
        for (qsizetype i = 0; i < n && waitingCount() > 0; ++i) {
            applyMember(combination_.members[nextMember_]);
            nextMember_ = static_cast<int>((nextMember_ + 1) % n);
        }
        if (waitingCount() < waitingBefore) {
            continue;
        }
        while (album_.templates().size() > templatesBefore) {
            album_.deleteTemplate(album_.templates().size() - 1);
        }
        for (int row = 0; row < marksBefore.size(); ++row) {
            album_.setInTemplate(row, marksBefore[row]);
        }
        album_.setWrapCursors(cursorsBefore);
        break;
    }
    return waitingCount();
}

}  // namespace vellumo
