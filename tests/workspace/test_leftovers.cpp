#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <ctime>

#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/leftovers.h"

namespace vellumo {
namespace {

// A process id no process has: beyond the largest id the system hands out.
constexpr qint64 kEndedProcess = 2147480000;

void makeOlder(const QString& path, std::chrono::seconds by) {
    const std::time_t then = std::time(nullptr) - by.count();
    const utimbuf times{then, then};
    ASSERT_EQ(::utime(QFile::encodeName(path).constData(), &times), 0);
}

QString partialName(const QString& output, qint64 pid, const char* word = "abc123") {
    return QStringLiteral(".%1.%2-%3.vellumo-part").arg(output).arg(pid).arg(word);
}

TEST(PartialFile, IsCreatedAnewBesideTheOutputAndRenamedOverItOnlyOnCommit) {
    test::TempFolder folder;
    const QString output = folder.write("album.mpg", "older album");
    {
        PartialFile first(output);
        PartialFile second(output);  // Two productions into one output never share a file.
        EXPECT_NE(first.path(), second.path());
        for (const PartialFile* partial : {&first, &second}) {
            const QFileInfo info(partial->path());
            EXPECT_EQ(info.absolutePath(), QFileInfo(output).absolutePath());
            EXPECT_TRUE(isPartialFileName(info.fileName())) << info.fileName().toStdString();
            EXPECT_EQ(info.size(), 0);
        }
        ASSERT_EQ(::write(first.descriptor(), "new album", 9), 9);
        first.commit();
        EXPECT_EQ(test::readFile(output), QByteArray("new album"));
        EXPECT_FALSE(QFileInfo::exists(first.path()));
        // The second is discarded with its owner.
    }
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"album.mpg"});

    // An output that is a link: the link is replaced, what it points to is left alone.
    const QString victim = folder.write("victim.txt", "keep me");
    const QString linked = folder.path() + "linked.mpg";
    ASSERT_TRUE(QFile::link(victim, linked));
    PartialFile partial(linked);
    ASSERT_EQ(::write(partial.descriptor(), "video", 5), 5);
    partial.commit();
    EXPECT_EQ(test::readFile(victim), QByteArray("keep me"));
    EXPECT_FALSE(QFileInfo(linked).isSymLink());
    EXPECT_EQ(test::readFile(linked), QByteArray("video"));

    // A folder that cannot take files: the output and the system's reason.
    const QString blocker = folder.write("blocker", "x");
    try {
        PartialFile refused(blocker + "/album.mpg");
        FAIL() << "created below a file";
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), blocker + "/album.mpg");
        EXPECT_FALSE(e.reason().isEmpty());
    }
}

TEST(PartialFile, OurNamesAreRecognisedAndNoOtherName) {
    EXPECT_TRUE(isPartialFileName(partialName("a.mpg", 4711)));
    EXPECT_TRUE(isPartialFileName(partialName(QString::fromUtf16(u"春 游.mp4"), 1, "Zz09aB")));
    EXPECT_FALSE(isPartialFileName("a.mpg.part"));
    EXPECT_FALSE(isPartialFileName(".a.mpg.4711-abc12.vellumo-part"));
    EXPECT_FALSE(isPartialFileName(".a.mpg.x4711-abc123.vellumo-part"));
    EXPECT_FALSE(isPartialFileName("a.mpg.4711-abc123.vellumo-part"));
}

TEST(PartialFile, OnlyStalePartialFilesOfOursAreRemoved) {
    test::TempFolder folder;
    const QString ended = folder.write(partialName("a.mpg", kEndedProcess, "ended1"), "x");
    makeOlder(ended, kLeftoverQuietTime + std::chrono::seconds(5));
    // Its process has ended, but it changed a moment ago: another machine may be writing it.
    const QString recent = folder.write(partialName("a.mpg", kEndedProcess, "recent"), "x");
    // This process runs: kept until it is a day old.
    const QString running = folder.write(partialName("a.mpg", ::getpid(), "runs01"), "x");
    makeOlder(running, std::chrono::hours(2));
    const QString forgotten = folder.write(partialName("a.mpg", ::getpid(), "forgot"), "x");
    makeOlder(forgotten, kLeftoverAgeLimit + std::chrono::hours(1));
    // Not ours, or not a file.
    const QString other = folder.write("a.mpg.part", "x");
    makeOlder(other, kLeftoverAgeLimit + std::chrono::hours(1));
    const QString folderNamed = folder.mkdir(partialName("b.mpg", kEndedProcess));
    makeOlder(folderNamed, kLeftoverAgeLimit + std::chrono::hours(1));
    const QString link = folder.path() + partialName("c.mpg", kEndedProcess);
    ASSERT_TRUE(QFile::link(other, link));

    EXPECT_EQ(removeStalePartialFiles(folder.path()), 2);
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_FALSE(QFileInfo::exists(forgotten));
    for (const QString& kept : {recent, running, other, folderNamed}) {
        EXPECT_TRUE(QFileInfo::exists(kept)) << kept.toStdString();
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(removeStalePartialFiles(folder.path() + "missing/"), 0);
}

TEST(WorkingFolders, StaleWorkingFoldersOfEndedRunsAreRemoved) {
    test::TempFolder temp;
    const QByteArray before = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp.path()));
    EXPECT_TRUE(workingFolderTemplate().startsWith(QDir::tempPath() + "/vellumo-work-" +
                                                   QString::number(::getpid()) + "-"));
    const QString ended = temp.mkdir(QStringLiteral("vellumo-work-%1-aB3dE6").arg(kEndedProcess));
    temp.write(QStringLiteral("vellumo-work-%1-aB3dE6/smxcwjj/linshi/1.jpg").arg(kEndedProcess),
               "x");
    makeOlder(ended, kLeftoverQuietTime + std::chrono::seconds(5));
    const QString mine = temp.mkdir(QStringLiteral("vellumo-work-%1-aB3dE6").arg(::getpid()));
    makeOlder(mine, std::chrono::hours(1));
    const QString other = temp.mkdir(QStringLiteral("vellumo-tool-aB3dE6"));
    makeOlder(other, kLeftoverAgeLimit + std::chrono::hours(1));

    EXPECT_EQ(removeStaleWorkingFolders(), 1);
    EXPECT_FALSE(QFileInfo::exists(ended));
    EXPECT_TRUE(QFileInfo::exists(mine));
    EXPECT_TRUE(QFileInfo::exists(other));
    if (before.isNull()) {
        qunsetenv("TMPDIR");
    } else {
        qputenv("TMPDIR", before);
    }
}

}  // namespace
}  // namespace vellumo
