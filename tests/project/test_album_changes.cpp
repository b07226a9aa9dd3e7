// The album announces its changes: one signal per action, naming the parts that changed; the
// project session marks unsaved changes from it; a failed action is put back to the state its
// first change began from.

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>

#include <stdexcept>

#include "assignment/placement.h"
#include "project/album.h"
#include "project/project_session.h"
#include "settings/system_settings.h"
#include "tests/support/album_builders.h"
#include "tests/support/test_files.h"

namespace vellumo {
namespace {

using test::photoRecord;

class AlbumChangesTest : public ::testing::Test {
protected:
    void SetUp() override {
        catalogue_.setRecords({test::templateRecord("A", "|picture_1|", "|heng|"),
                               test::templateRecord("P", "|picture_1|", "|shu|")});
    }

    AlbumParts only(const QSignalSpy& spy) const {
        EXPECT_EQ(spy.count(), 1);
        return spy.isEmpty() ? AlbumParts{} : spy.first().first().value<AlbumParts>();
    }

    Catalogue catalogue_;
    Album album_{catalogue_, [](int) { return 0; }};
};

TEST_F(AlbumChangesTest, EachChangeNamesItsParts) {
    QSignalSpy changed(&album_, &Album::changed);
    album_.addPhoto(photoRecord("a", 800, 600));
    EXPECT_EQ(only(changed), AlbumParts(AlbumPart::Photos));

    changed.clear();
    const int t = album_.addTemplate(test::entryOf(catalogue_, 0, TemplateClass::LandscapeSingle));
    EXPECT_EQ(only(changed), AlbumPart::Templates | AlbumPart::Slots | AlbumPart::Backgrounds);

    changed.clear();
    ASSERT_EQ(album_.placePhoto(0, t, 0), PlaceResult::Placed);
    EXPECT_TRUE(only(changed).testFlag(AlbumPart::Slots));

    // A refused placement changes nothing and says nothing.
    changed.clear();
    album_.addPhoto(photoRecord("tall", 600, 800));
    changed.clear();
    EXPECT_EQ(album_.placePhoto(1, t, 0), PlaceResult::NeedLandscape);
    EXPECT_TRUE(changed.isEmpty());

    changed.clear();
    OutputOptions options = album_.outputOptions();
    options.sync = SyncMode::WithMusic;
    album_.setOutputOptions(options);
    EXPECT_EQ(only(changed), AlbumParts(AlbumPart::Options));

    changed.clear();
    album_.deleteTemplate(t);
    EXPECT_TRUE(only(changed).testFlag(AlbumPart::Templates));

    // The lyric table is what a display last read, not a change to the album.
    changed.clear();
    album_.setLyricTable(LyricTable::fromText("[00:01]line\n"));
    EXPECT_TRUE(changed.isEmpty());
}

TEST_F(AlbumChangesTest, ScopesNestAndAnnounceOnceWhenTheOutermostCloses) {
    QSignalSpy changed(&album_, &Album::changed);
    {
        Album::Edit action(album_);
        for (const char* name : {"a", "b", "c"}) {
            album_.addPhoto(photoRecord(name, 800, 600));
        }
        { Album::Edit inner(album_, AlbumPart::Music); }
        album_.refreshDefaultBackgrounds();
        EXPECT_TRUE(changed.isEmpty());
    }
    EXPECT_EQ(only(changed), AlbumPart::Photos | AlbumPart::Music | AlbumPart::Backgrounds);

    // A scope in which nothing changed announces nothing.
    changed.clear();
    { Album::Edit idle(album_); }
    EXPECT_TRUE(changed.isEmpty());
}

TEST_F(AlbumChangesTest, APlacementRunIsOneChange) {
    for (const char* name : {"a", "b", "c"}) {
        album_.addPhoto(photoRecord(name, 800, 600));
    }
    QSignalSpy changed(&album_, &Album::changed);
    {
        PlacementRun run = placementRun(album_);
        run.start();
        EXPECT_EQ(run.runToEnd(), 0);
        EXPECT_TRUE(changed.isEmpty());
    }
    const AlbumParts parts = only(changed);
    EXPECT_TRUE(parts.testFlag(AlbumPart::Templates));
    EXPECT_TRUE(parts.testFlag(AlbumPart::Slots));
    EXPECT_TRUE(parts.testFlag(AlbumPart::Photos));
    EXPECT_EQ(album_.templates().size(), 3);
}

TEST_F(AlbumChangesTest, AFailedActionIsPutBackToWhereItsFirstChangeBegan) {
    album_.addPhoto(photoRecord("kept", 800, 600));
    QSignalSpy changed(&album_, &Album::changed);
    {
        Album::UndoPoint before(album_);
        // Nothing changed yet: there is nothing to put back.
        EXPECT_FALSE(before.restore());
        try {
            Album::Edit action(album_);
            album_.deleteAllPhotos();
            album_.addPhoto(photoRecord("stray", 600, 800));
            throw std::runtime_error("half-way");
        } catch (const std::runtime_error&) {
        }
        // Unwinding announced nothing; putting the album back announces every part.
        EXPECT_TRUE(changed.isEmpty());
        EXPECT_TRUE(before.restore());
    }
    EXPECT_EQ(only(changed), kAllAlbumParts);
    ASSERT_EQ(album_.photos().size(), 1);
    EXPECT_EQ(album_.photos().at(0).name, QStringLiteral("kept"));

    // Points nest like the events that set them: the outer one, set before the inner one's
    // change, also goes back to before it.
    {
        Album::UndoPoint outer(album_);
        {
            Album::UndoPoint inner(album_);
            album_.addPhoto(photoRecord("inner", 800, 600));
        }
        album_.addPhoto(photoRecord("outer", 800, 600));
        EXPECT_TRUE(outer.restore());
    }
    EXPECT_EQ(album_.photos().size(), 1);
}

TEST_F(AlbumChangesTest, TheSessionMarksChangesFromTheAlbumWithoutPolling) {
    test::TempFolder folder;
    qputenv("XDG_DATA_HOME", QFile::encodeName(folder.path() + QStringLiteral("data")));
    SystemSettings settings;
    ProjectSession session(album_, &settings);
    QSignalSpy state(&session, &ProjectSession::stateChanged);
    session.start();
    EXPECT_FALSE(session.isModified());
    EXPECT_FALSE(session.autosavePending());

    album_.addPhoto(photoRecord("a", 800, 600));
    EXPECT_TRUE(session.isModified());
    EXPECT_EQ(state.count(), 1);
    // The autosave follows a minute after the change.
    EXPECT_TRUE(session.autosavePending());

    // Back as saved: the mark goes with the change.
    album_.deletePhoto(0);
    EXPECT_FALSE(session.isModified());
    EXPECT_FALSE(session.autosavePending());

    // A setting kept with the project is a change too.
    settings.setTemplateCombination(TemplateCombination::Use);
    EXPECT_TRUE(session.isModified());
    session.stop();
}

}  // namespace
}  // namespace vellumo
