#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/program_folder.h"
#include "workspace/working_folders.h"

namespace vellumo {
namespace {

TEST(RemoveFolderTree, RemovesEverythingBelowIncludingHiddenEntries) {
    test::TempFolder temp;
    temp.write("staging/a.jpg", "x");
    temp.write("staging/.hidden", "x");
    temp.write("staging/sub/deeper/b.rar", "x");
    temp.mkdir("staging/empty");
    removeFolderTree(temp.path() + "staging");
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "staging"));
    EXPECT_TRUE(QFileInfo::exists(temp.path()));
}

TEST(RemoveFolderTree, MissingFolderDoesNothing) {
    test::TempFolder temp;
    int entries = 0;
    removeFolderTree(temp.path() + "missing/", [&] { ++entries; });
    EXPECT_EQ(entries, 0);
    EXPECT_TRUE(QFileInfo::exists(temp.path()));
}

TEST(RemoveFolderTree, ReadOnlyFileStaysAndSoDoItsFolders) {
    test::TempFolder temp;
    const QString locked = temp.write("wj_y_l/wj_y_l/locked.jpg", "keep");
    temp.write("wj_y_l/wj_y_l/other.jpg", "go");
    temp.write("wj_y_l/gone/x.jpg", "go");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);

    removeFolderTree(temp.path() + "wj_y_l/");

    EXPECT_TRUE(QFileInfo::exists(locked));
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "wj_y_l/wj_y_l/other.jpg"));
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "wj_y_l/gone"));
    EXPECT_TRUE(QFileInfo(temp.path() + "wj_y_l").isDir());

    // The bounded wait gives up on a folder that cannot go.
    EXPECT_FALSE(waitUntilGone(temp.path() + "wj_y_l", std::chrono::milliseconds(30)));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
}

TEST(RemoveFolderTree, SymbolicLinksAreRemovedNotFollowed) {
    test::TempFolder temp;
    const QString outside = temp.write("outside/precious.jpg", "keep");
    temp.mkdir("work");
    ASSERT_TRUE(QFile::link(temp.path() + "outside", temp.path() + "work/link"));
    removeFolderTree(temp.path() + "work");
    EXPECT_FALSE(QFileInfo::exists(temp.path() + "work"));
    EXPECT_TRUE(QFileInfo::exists(outside));
}

TEST(RemoveFolderTree, ProgressCountsEveryEntryFilesAndFolders) {
    test::TempFolder temp;
    temp.write("u/a.rar");
    temp.write("u/b.ini");
    temp.write("u/sub/c.rar");
    int entries = 0;
    removeFolderTree(temp.path() + "u", [&] { ++entries; });
    EXPECT_EQ(entries, 4);  // a.rar, b.ini, sub, sub/c.rar
}

TEST(EnsureFolder, CreatesMissingParentsAndCountsAttempts) {
    test::TempFolder temp;
    EXPECT_EQ(ensureFolder(temp.path() + "a/b/c/"), 1);
    EXPECT_TRUE(QFileInfo(temp.path() + "a/b/c").isDir());
    EXPECT_EQ(ensureFolder(temp.path() + "a/b/c/"), 0);
}

TEST(EnsureFolder, GivesUpWhenAFileIsInTheWay) {
    test::TempFolder temp;
    temp.write("blocked", "file");
    EXPECT_THROW(ensureFolder(temp.path() + "blocked/sub"), FileError);
}

TEST(FindPackages, OnlyExactRarExtensionsInByteOrderWithSubfoldersAtOnce) {
    test::TempFolder temp;
    const QString root = temp.mkdir("wjj_01/");
    temp.write("wjj_01/a.rar");
    temp.write("wjj_01/b/x.RAR");
    temp.write("wjj_01/b/y.Rar");  // Mixed case is not a package.
    temp.write("wjj_01/b/z.rar.txt");
    temp.write("wjj_01/c.rar");
    temp.write("wjj_01/B.rar");  // Upper case sorts before lower case in byte order.
    temp.write("wjj_01/d.RAR");
    temp.write("wjj_01/模板.rar");
    temp.mkdir("wjj_01/dir.rar");  // A folder is searched, never counted.

    const QStringList expected = {root + "B.rar", root + "a.rar", root + "b/x.RAR",
                                  root + "c.rar", root + "d.RAR", root + "模板.rar"};
    EXPECT_EQ(findPackages(root), expected);
    EXPECT_EQ(countPackages(root), 6);
    EXPECT_EQ(countPackages(temp.path() + "missing"), 0);
}

TEST(FindPackages, NumbersSortAsTextNotAsNumbers) {
    test::TempFolder temp;
    const QString root = temp.mkdir("p/");
    for (const char* name : {"t10.rar", "t2.rar", "t1.rar"}) {
        temp.write(QStringLiteral("p/") + name);
    }
    EXPECT_EQ(findPackages(root),
              (QStringList{root + "t1.rar", root + "t10.rar", root + "t2.rar"}));
}

// The working folders of a session, in a working root of their own.
class WorkingFolders : public ::testing::Test {
protected:
    void SetUp() override {
        setWorkingRoot(temp_.path());
        for (const char* file : {"smxcwjj/wj_y_l/wj_y_l/x.jpg", "linshi/a.wav", "wj_to_wj/b",
                                 "smxcwjj/wj_0_or_2/wjj_00_j_y/a.rar"}) {
            temp_.write(QString::fromUtf8(file), "x");
        }
    }
    void TearDown() override { setWorkingRoot(QString()); }

    bool exists(const char* relative) const {
        return QFileInfo::exists(temp_.path() + QString::fromUtf8(relative));
    }

    test::TempFolder temp_;
};

TEST_F(WorkingFolders, OpeningClearsAllButTheUnpackFolder) {
    clearSessionFolders();
    EXPECT_FALSE(exists("smxcwjj/wj_y_l"));
    EXPECT_FALSE(exists("linshi"));
    EXPECT_FALSE(exists("wj_to_wj"));
    EXPECT_TRUE(exists("smxcwjj/wj_0_or_2/wjj_00_j_y/a.rar"));
}

TEST_F(WorkingFolders, ExitClearsUnpackThenStagingAndStopsWhenTold) {
    // Stopped at the first entry: the staging folder is not touched.
    EXPECT_FALSE(clearFoldersOnExit([] { return false; }));
    EXPECT_TRUE(exists("smxcwjj/wj_0_or_2/wjj_00_j_y/a.rar"));
    EXPECT_TRUE(exists("smxcwjj/wj_y_l/wj_y_l/x.jpg"));

    EXPECT_TRUE(clearFoldersOnExit([] { return true; }));
    EXPECT_FALSE(exists("smxcwjj/wj_0_or_2/wjj_00_j_y"));
    EXPECT_FALSE(exists("smxcwjj/wj_y_l"));
    // Only those two go.
    EXPECT_TRUE(exists("linshi/a.wav"));
}

}  // namespace
}  // namespace vellumo
