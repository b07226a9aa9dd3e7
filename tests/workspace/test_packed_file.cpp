#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

#include <zlib.h>
#include <cstring>

#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/intermediate_names.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"
#include "workspace/workspace_texts.h"

namespace vellumo {
namespace {

QByteArray withLength(qint32 length, const QByteArray& stream) {
    QByteArray out(4, '\0');
    std::memcpy(out.data(), &length, 4);
    return out + stream;
}

QByteArray zlibOf(const QByteArray& content) {
    return qCompress(content).mid(4);  // qCompress prefixes a big-endian length.
}

QString reasonOf(QByteArray bytes) {
    try {
        unpack(bytes);
    } catch (const FileError& e) {
        return e.reason();
    }
    return QStringLiteral("no error");
}

TEST(Unpack, ReadsTheLengthAndInflatesTheStream) {
    const QByteArray content = QByteArrayLiteral("相册模板 movie text\n").repeated(40);
    QByteArray stream = withLength(static_cast<qint32>(content.size()), zlibOf(content));
    unpack(stream);
    EXPECT_EQ(stream, content);
}

TEST(Unpack, EmptyStreamStaysEmpty) {
    QByteArray stream;
    unpack(stream);
    EXPECT_TRUE(stream.isEmpty());
    EXPECT_TRUE(pack(QByteArray()).isEmpty());
}

TEST(Unpack, StopsAfterTheAnnouncedLength) {
    const QByteArray content = QByteArrayLiteral("0123456789");
    QByteArray stream = withLength(4, zlibOf(content));
    unpack(stream);
    EXPECT_EQ(stream, QByteArrayLiteral("0123"));
}

TEST(Unpack, BadInputIsAClearErrorNeverGarbage) {
    const QByteArray content = QByteArrayLiteral("abcdefghij").repeated(100);
    const QByteArray good = withLength(static_cast<qint32>(content.size()), zlibOf(content));

    EXPECT_EQ(reasonOf(QByteArrayLiteral("ab")), texts::kPackedTooShort);
    EXPECT_EQ(reasonOf(withLength(-5, zlibOf(content))), texts::kPackedNegativeLength);
    // Two gigabytes announced by a small file is no real stream; nothing huge is allocated.
    EXPECT_EQ(reasonOf(withLength(0x7FFFFFFF, zlibOf(content))),
              texts::kPackedAbsurdLength.arg(0x7FFFFFFF).arg(good.size()));

    QByteArray damaged = good;
    damaged[8] = static_cast<char>(damaged[8] ^ 0x55);
    damaged[9] = static_cast<char>(damaged[9] ^ 0x55);
    EXPECT_EQ(reasonOf(damaged), texts::kPackedDamagedStream);

    // A stream that ends before the announced length: cut the deflate data short.
    EXPECT_EQ(reasonOf(good.left(good.size() / 2)).left(8), texts::kPackedTruncated.left(8));
    // A complete stream that yields fewer bytes than announced.
    EXPECT_EQ(reasonOf(withLength(2000, zlibOf(content))),
              texts::kPackedTruncated.arg(2000).arg(content.size()));
}

TEST(Unpack, ALengthPastOneGibibyteIsRefusedEvenWhenTheInputCouldHoldIt) {
    // About 1 MB that deflate cannot shrink: the inflate ratio alone would allow 1 GB and more.
    QByteArray noise(1 << 20, '\0');
    quint32 state = 2463534242u;
    for (char& c : noise) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state & 0xFF);
    }
    const qint32 announced = (1 << 30) + 1;
    const QByteArray stream = withLength(announced, zlibOf(noise));
    ASSERT_GT(qint64{stream.size() - 4} * 1032, qint64{announced});
    EXPECT_EQ(reasonOf(stream), texts::kPackedAbsurdLength.arg(announced).arg(stream.size()));
}

TEST(Unpack, EveryLevelStopsAtTheCallersLimit) {
    // 16 MiB of zeros nested three deep is a few hundred bytes.
    const QByteArray content(16 << 20, '\0');
    const QByteArray bomb = packNested(content, 3);
    ASSERT_LT(bomb.size(), 1000);
    try {
        unpackNested(bomb, 3, 8 << 20);
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), texts::kPackedOverLimit.arg(16 << 20).arg(8 << 20));
    }
    EXPECT_EQ(unpackNested(bomb, 3, 16 << 20).size(), content.size());

    // A stream that announces more than it holds grows only as far as it yields.
    const QByteArray small = QByteArrayLiteral("abc").repeated(1000);
    const QByteArray deflated = zlibOf(small);
    const auto announced = static_cast<qint32>(deflated.size() * 1000);
    ASSERT_GT(announced, small.size());
    EXPECT_EQ(reasonOf(withLength(announced, deflated)),
              texts::kPackedTruncated.arg(announced).arg(small.size()));
}

TEST(PackNested, RoundTripsAtEveryDepth) {
    QByteArray binary(3000, '\0');
    for (int i = 0; i < binary.size(); ++i) {
        binary[i] = static_cast<char>((i * 7919) % 251);
    }
    for (int depth : {1, 3, 13, 20}) {
        EXPECT_EQ(unpackNested(packNested(binary, depth), depth), binary) << depth;
    }
    // One level short of the bottom is still a packed file.
    const QByteArray nineteen = unpackNested(packNested(binary, 20), 19);
    EXPECT_EQ(unpackNested(nineteen, 1), binary);
}

class UnpackChainTest : public ::testing::Test {
protected:
    void SetUp() override {
        setProgramFolder(folder_.path());
        QDir().mkpath(dataPath(paths::kUnpackFolder));
    }
    void TearDown() override { setProgramFolder(QString()); }

    static intermediate::Clock fixedClock(int h, int m, int s) {
        return [=] { return QTime(h, m, s); };
    }

    test::TempFolder folder_;
};

TEST_F(UnpackChainTest, StartupAnimationNamesAreExact) {
    const QString source = folder_.write(paths::kStartupAnimation, packNested("SWF!", 13));
    const QString destination = dataPath(paths::kUnpackedStartupAnimation);
    unpackChain(source, 13, intermediate::startupAnimation(fixedClock(10, 23, 55)), destination);

    EXPECT_EQ(test::readFile(destination), QByteArrayLiteral("SWF!"));
    const QString unpackFolder = dataPath(paths::kUnpackFolder);
    EXPECT_TRUE(QFileInfo::exists(unpackFolder + "wj_0_or_2_2_d_21102355.rar"));
    EXPECT_TRUE(QFileInfo::exists(unpackFolder + "wj_0_or_2_2_d_212102355.rar"));
    EXPECT_FALSE(QFileInfo::exists(unpackFolder + "wj_0_or_2_2_d_213102355.rar"));
    // Level 12 is one unpack away from the movie.
    EXPECT_EQ(unpackNested(test::readFile(unpackFolder + "wj_0_or_2_2_d_212102355.rar"), 1),
              QByteArrayLiteral("SWF!"));
    // Twelve intermediates and the movie.
    EXPECT_EQ(QDir(unpackFolder).entryList(QDir::Files).size(), 13);
}

TEST_F(UnpackChainTest, NamesOfEveryChain) {
    const QString u = dataPath(paths::kUnpackFolder);
    const auto clock = fixedClock(7, 5, 9);
    EXPECT_EQ(intermediate::parameterPackage(3, clock)(19), u + "wjj_00_j_y3-19070509.rar");
    EXPECT_EQ(intermediate::combinedTemplatePackage(2, clock)(1), u + "wjj_00_j_y3-1070509.rar");
    EXPECT_EQ(intermediate::stagedTemplate(4, 1, clock)(7),
              u + "wj_y_lwj_y_l_4_wj_y_l_d_g_11-7070509.rar");
    EXPECT_EQ(intermediate::closingMovie(2, clock)(15),
              u + "wj_y_l_z_h_02_wj_y_l_d_g_12-15070509.rar");
    EXPECT_EQ(intermediate::singleTemplate(1, clock)(3), u + "wj_y_l_d_g_11-3070509.rar");
    EXPECT_EQ(intermediate::usedTemplatePreview(2, clock)(4),
              u + "wj_y_l_d_g_1_wj_y_l_d_g_12-4070509.rar");
    EXPECT_EQ(intermediate::slotTemplatePreview(clock)(19),
              u + "wj_y_l_d_g_1wj_y_l_d_g_1wj_y_l_d_g_1_19070509.rar");
    EXPECT_EQ(dataPath(paths::unpackedParameterFile(3)), u + "wjj_00_j_y3.ini");
    EXPECT_EQ(dataPath(paths::unpackedCombinedTemplate(2)), u + "wjj_00_j_y2-3.ini");
    EXPECT_EQ(paths::combinedTemplatePackage(4), "smxcwjj/wj_0_or_9_9/wj_0_or_9_9_4.rar");
}

TEST_F(UnpackChainTest, ChainsInTheSameSecondShareNamesAndTheLaterWins) {
    const auto clock = fixedClock(12, 0, 0);
    const QString first = folder_.write("a.rar", packNested("first", 3));
    const QString second = folder_.write("b.rar", packNested("second", 3));
    EXPECT_EQ(intermediate::parameterPackage(1, clock)(2),
              intermediate::parameterPackage(1, clock)(2));
    unpackChain(first, 3, intermediate::parameterPackage(1, clock), folder_.path() + "out1");
    unpackChain(second, 3, intermediate::parameterPackage(1, clock), folder_.path() + "out2");
    EXPECT_EQ(unpackNested(test::readFile(intermediate::parameterPackage(1, clock)(2)), 1),
              QByteArrayLiteral("second"));
    EXPECT_EQ(test::readFile(folder_.path() + "out1"), QByteArrayLiteral("first"));
}

TEST_F(UnpackChainTest, DepthOneGoesStraightToTheDestination) {
    const QString source = folder_.write("one.rar", pack("plain"));
    unpackChain(source, 1, intermediate::prefixed("never"), folder_.path() + "dest");
    EXPECT_EQ(test::readFile(folder_.path() + "dest"), QByteArrayLiteral("plain"));
    EXPECT_EQ(QDir(dataPath(paths::kUnpackFolder)).entryList(QDir::Files).size(), 0);
}

TEST_F(UnpackChainTest, EmptyPackageGivesAnEmptyFile) {
    const QString source = folder_.write("empty.rar");
    unpackChain(source, 20, intermediate::parameterPackage(1), folder_.path() + "empty.ini");
    EXPECT_TRUE(QFileInfo::exists(folder_.path() + "empty.ini"));
    EXPECT_EQ(QFileInfo(folder_.path() + "empty.ini").size(), 0);
}

TEST_F(UnpackChainTest, ErrorsNameTheFileThatFailed) {
    QByteArray bytes = packNested("content", 5);
    const QString source = folder_.write("short.rar", unpackNested(bytes, 2));  // 3 levels left
    try {
        unpackChain(source, 5, intermediate::prefixed("x", fixedClock(1, 2, 3)),
                    folder_.path() + "never");
        FAIL() << "no error";
    } catch (const FileError& e) {
        // Level 3 gives the plain content, so level 4 reads an intermediate that is not packed.
        EXPECT_EQ(e.file(), intermediate::prefixed("x", fixedClock(1, 2, 3))(3));
        EXPECT_FALSE(e.message().isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(folder_.path() + "never"));

    try {
        unpackChain(folder_.path() + "missing.rar", 2, intermediate::prefixed("x"), "unused");
        FAIL() << "no error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.reason(), texts::kCannotReadFile);
        EXPECT_EQ(e.message(), texts::kFileErrorFormat.arg(folder_.path() + "missing.rar",
                                                           texts::kCannotReadFile));
    }
}

}  // namespace
}  // namespace vellumo
