// Where the working folders go: below the program folder, or below the user's own folder when
// the program folder cannot be written.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

// Sets an environment variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const QByteArray& value)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    ~ScopedVariable() {
        if (had_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }

private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

class WorkingRootTest : public ::testing::Test {
protected:
    void SetUp() override { setProgramFolder(program_.path()); }
    void TearDown() override {
        setWorkingRoot(QString());
        setProgramFolder(QString());
    }

    test::TempFolder program_;
    test::TempFolder cache_;
};

TEST_F(WorkingRootTest, FollowsTheProgramFolderUntilAnotherRootIsSet) {
    EXPECT_EQ(workingRoot(), program_.path());
    EXPECT_EQ(workingPath(paths::kStagingFolder), program_.path() + "smxcwjj/wj_y_l/");
    setWorkingRoot(cache_.path() + "vellumo");
    EXPECT_EQ(workingRoot(), cache_.path() + "vellumo/");
    EXPECT_EQ(workingPath(paths::kUnpackFolder),
              cache_.path() + "vellumo/smxcwjj/wj_0_or_2/wjj_00_j_y/");
    // Installed data is still read from the program folder.
    EXPECT_EQ(dataPath(paths::kParameterPackages), program_.path() + "smxcwjj/wj_0_or_2/wjj_01/");
    setWorkingRoot(QString());
    EXPECT_EQ(workingRoot(), program_.path());
}

TEST_F(WorkingRootTest, UserRootIsBelowTheCacheFolderOrTheHomeCache) {
    const QString homeCache = QDir::homePath() + "/.cache/vellumo/";
    {
        ScopedVariable cache("XDG_CACHE_HOME", "/var/tmp/someone/cache/");
        EXPECT_EQ(userWorkingRoot(), "/var/tmp/someone/cache/vellumo/");
    }
    {
        // A relative value is not a valid cache folder.
        ScopedVariable cache("XDG_CACHE_HOME", "relative/cache");
        EXPECT_EQ(userWorkingRoot(), homeCache);
    }
    {
        ScopedVariable cache("XDG_CACHE_HOME", "");
        EXPECT_EQ(userWorkingRoot(), homeCache);
    }
}

TEST_F(WorkingRootTest, ChosenOnceFromWhetherTheProgramFolderCanBeWritten) {
    ScopedVariable cache("XDG_CACHE_HOME", cache_.path().toUtf8());
    QStringList asked;
    const auto writable = [&](bool answer) {
        return [&asked, answer](const QString& folder) {
            asked << folder;
            return answer;
        };
    };
    EXPECT_EQ(chooseWorkingRoot(writable(true)), program_.path());
    EXPECT_EQ(workingRoot(), program_.path());
    EXPECT_FALSE(QFileInfo::exists(cache_.path() + "vellumo"));

    EXPECT_EQ(chooseWorkingRoot(writable(false)), cache_.path() + "vellumo/");
    EXPECT_EQ(workingRoot(), cache_.path() + "vellumo/");
    EXPECT_TRUE(QFileInfo(cache_.path() + "vellumo").isDir());
    EXPECT_EQ(asked, (QStringList{program_.path(), program_.path()}));

    // The program folder moving later (tools, tests) does not move a chosen user root.
    setProgramFolder(cache_.path());
    EXPECT_EQ(workingRoot(), cache_.path() + "vellumo/");
}

TEST_F(WorkingRootTest, AUserRootThatCannotBeMadeIsAnError) {
    // Below a plain file no folder can be made, whoever runs the test.
    const QString file = cache_.write("plain-file", "x");
    ScopedVariable cache("XDG_CACHE_HOME", (file + "/cache").toUtf8());
    EXPECT_THROW(chooseWorkingRoot([](const QString&) { return false; }), FileError);
}

TEST_F(WorkingRootTest, AFolderWithoutWritePermissionIsNotWritable) {
    EXPECT_TRUE(isWritableFolder(program_.path()));
    EXPECT_FALSE(isWritableFolder(program_.path() + "missing"));
    EXPECT_FALSE(isWritableFolder(program_.write("file.txt", "x")));
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser may write into any folder";
    }
    const QString folder = program_.mkdir("read-only");
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    EXPECT_FALSE(isWritableFolder(folder));
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

}  // namespace
}  // namespace vellumo
