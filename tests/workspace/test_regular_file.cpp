#include <gtest/gtest.h>

#include <QFile>

#include "tests/support/test_files.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/regular_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

QString readReason(const QString& path) {
    try {
        readWholeFile(path);
    } catch (const FileError& e) {
        EXPECT_EQ(e.file(), path);
        return e.reason();
    }
    return QStringLiteral("read");
}

TEST(RegularFile, PipesDevicesAndFoldersAreRefusedWithoutWaiting) {
    test::TempFolder folder;
    // A pipe nobody writes to: opened plainly, the read would never return.
    const QString pipe = folder.fifo("music.mp3");
    const QString dir = folder.mkdir("photos.jpg");
    const QString file = folder.write("a.lrc", "[00:01]x\n");
    for (const QString& path : {pipe, dir, QStringLiteral("/dev/zero")}) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_EQ(regularFileProblem(path), texts::kNotRegularFile);
        EXPECT_EQ(readReason(path), texts::kNotRegularFile);
    }
    EXPECT_EQ(regularFileProblem(folder.path() + "missing"), texts::kCannotReadFile);
    EXPECT_EQ(readReason(folder.path() + "missing"), texts::kCannotReadFile);
    EXPECT_TRUE(regularFileProblem(file).isEmpty());
    EXPECT_EQ(readWholeFile(file), QByteArrayLiteral("[00:01]x\n"));
    // A link to a regular file is that file.
    ASSERT_TRUE(QFile::link(file, folder.path() + "link.lrc"));
    EXPECT_EQ(readWholeFile(folder.path() + "link.lrc"), QByteArrayLiteral("[00:01]x\n"));
}

TEST(RegularFile, AFullDiskIsAWriteErrorNotASilentlyEmptyFile) {
    // /dev/full takes the bytes into the file's buffer and refuses them when they go out.
    try {
        writeWholeFile(QStringLiteral("/dev/full"), QByteArrayLiteral("[1]\r\nmbdx=250\r\n"));
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), texts::kCannotWriteFile);
    }
}

}  // namespace
}  // namespace vellumo
