// The installed data tree the build writes into the program folder: a template library of every
// class, packages that unpack at their depths to movies that keep the library's rules, combined
// templates that all resolve, and start-up and closing movies that load. The tree is copied to
// a scratch program folder first, since building a catalogue rebuilds the unpack folder.

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>
#include <memory>

#include "app/app_texts.h"
#include "assignment/combined_add.h"
#include "catalogue/catalogue.h"
#include "movie/movie_parser.h"
#include "movie/movie_pictures.h"
#include "movie/movie_player.h"
#include "movie/movie_renderer.h"
#include "movie/template_rules.h"
#include "photo/fitting_canvas.h"
#include "tests/support/test_files.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {
namespace {

// Copies a folder tree; false when something could not be copied.
bool copyTree(const QString& from, const QString& to) {
    if (!QDir().mkpath(to)) {
        return false;
    }
    QDirIterator it(from, QDir::Files | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = to + file.mid(from.size());
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!QFile::copy(file, target)) {
            return false;
        }
    }
    return true;
}

class DataTree : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        const QString installed = qEnvironmentVariable("VELLUMO_PROGRAM_FOLDER");
        ASSERT_FALSE(installed.isEmpty()) << "VELLUMO_PROGRAM_FOLDER is not set";
        scratch_ = new test::TempFolder;
        for (const QString& folder :
             {QStringLiteral("smxcwjj"), QStringLiteral("yinyuegeciwenjian")}) {
            ASSERT_TRUE(copyTree(installed + u'/' + folder, scratch_->path() + folder))
                << installed.toStdString();
        }
        setProgramFolder(scratch_->path());
        catalogue_ = new Catalogue;
        ASSERT_TRUE(catalogue_->build());
    }
    static void TearDownTestSuite() {
        delete catalogue_;
        delete scratch_;
        catalogue_ = nullptr;
        scratch_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(catalogue_, nullptr);
        setProgramFolder(scratch_->path());
    }

    static const Catalogue& catalogue() { return *catalogue_; }

    static test::TempFolder* scratch_;
    static Catalogue* catalogue_;
};

test::TempFolder* DataTree::scratch_ = nullptr;
Catalogue* DataTree::catalogue_ = nullptr;

int countEntries(const Catalogue& catalogue, TemplateClass cls, int landscape, int portrait) {
    int n = 0;
    for (const CatalogueEntry& e : catalogue.entries()) {
        n += e.templateClass == cls && e.landscapeSlots == landscape && e.portraitSlots == portrait;
    }
    return n;
}

int countMarked(const Catalogue& catalogue, const QString& mark) {
    int n = 0;
    for (const CatalogueRecord& r : catalogue.records()) {
        n += r.classMark == mark;
    }
    return n;
}

TEST_F(DataTree, LibraryHoldsEveryClassOfTemplate) {
    EXPECT_TRUE(catalogue().leftOut().isEmpty()) << catalogue().leftOutMessage().toStdString();
    EXPECT_GE(catalogue().records().size(), 30);
    EXPECT_GE(countMarked(catalogue(), class_marks::kLandscape), 8);
    EXPECT_GE(countMarked(catalogue(), class_marks::kPortrait), 5);
    EXPECT_GE(countMarked(catalogue(), class_marks::kEither), 2);

    const auto advanced = [&](int landscape, int portrait) {
        return countEntries(catalogue(), TemplateClass::Combined, landscape, portrait);
    };
    EXPECT_GE(advanced(2, 0), 1);
    EXPECT_GE(advanced(3, 0), 1);
    EXPECT_GE(advanced(4, 0), 1);
    EXPECT_GE(advanced(2, 0) + advanced(3, 0) + advanced(4, 0), 5);
    EXPECT_GE(advanced(0, 2), 1);
    EXPECT_GE(advanced(0, 3), 1);
    EXPECT_GE(advanced(0, 2) + advanced(0, 3), 3);
    EXPECT_GE(advanced(1, 1), 1);
    EXPECT_GE(advanced(2, 1), 1);
    EXPECT_GE(advanced(1, 2), 1);
    EXPECT_GE(advanced(1, 1) + advanced(2, 1) + advanced(1, 2), 4);

    bool decoration = false;
    bool oneAndTen = false;
    static const QRegularExpression chinese(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    for (const CatalogueRecord& r : catalogue().records()) {
        const QStringList& names = r.pictureNames;
        decoration = decoration || std::any_of(names.begin(), names.end(),
                                               [](const QString& n) { return n.count(u'_') == 2; });
        oneAndTen = oneAndTen || (names.contains(QStringLiteral("picture_1")) &&
                                  names.contains(QStringLiteral("picture_10")));
        EXPECT_TRUE(r.name.contains(chinese)) << r.packagePath.toStdString();
        EXPECT_GE(r.frames, movie::kMinTemplateFrames) << r.name.toStdString();
        EXPECT_LE(r.frames, movie::kMaxTemplateFrames) << r.name.toStdString();
    }
    EXPECT_TRUE(decoration);
    EXPECT_TRUE(oneAndTen);
}

TEST_F(DataTree, EveryTemplatePackageUnpacksTwentyDeepToItsMovie) {
    ASSERT_EQ(catalogue().parameterPackages().size(), catalogue().templatePackages().size());
    for (const CatalogueRecord& r : catalogue().records()) {
        SCOPED_TRACE(r.packagePath.toStdString());
        const QByteArray packed = readWholeFile(r.packagePath);
        // Nineteen levels leave a packed file; the twentieth gives the movie text.
        const QByteArray level19 = unpackNested(packed, paths::kTemplatePackageDepth - 1);
        EXPECT_THROW(movie::parseMovie(level19, r.packagePath), FileError);
        const QByteArray text = unpackNested(level19, 1);
        const movie::Movie m = movie::parseMovie(text, r.packagePath);
        EXPECT_EQ(m.frames, r.frames);
        // The build measured its motion; the other rules hold for the installed package.
        EXPECT_EQ(movie::checkTemplate(m, r, false).firstProblem(), QString());
    }
}

// A lead-in that no template could draw by chance: stripes and a block of colour.
QImage leadInPicture(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int x = 0; x < size.width(); x += 40) {
        painter.fillRect(x, 0, 20, size.height(), QColor(30, 90, 200));
        painter.fillRect(x + 20, 0, 20, size.height(), QColor(240, 220, 60));
    }
    painter.fillRect(size.width() / 4, size.height() / 4, size.width() / 2, size.height() / 2,
                     QColor(200, 40, 60));
    return image;
}

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// Frame 0 of every template is the lead-in and nothing else, so the album runs on without a
// jump from the picture the previous template left.
TEST_F(DataTree, EveryTemplateStartsOnTheLeadInAlone) {
    const QSize stage(400, 225);
    test::TempFolder folder;
    folder.mkdir(QStringLiteral("pic"));
    const QImage leadIn = leadInPicture(QSize(800, 450));
    writeJpeg(leadIn, folder.path() + QStringLiteral("pic/picture_0.jpg"));
    const QImage expected = QImage(folder.path() + QStringLiteral("pic/picture_0.jpg"))
                                .scaled(stage, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                .convertToFormat(QImage::Format_RGB32);
    // Every other picture at the stage's size: a picture without a box is drawn at its natural
    // size, and none is larger than the whole stage.
    QImage other(stage, QImage::Format_RGB32);
    other.fill(QColor(20, 200, 120));
    const QString templateFolder = folder.mkdir(QStringLiteral("wj_y_l/wj_y_l_1"));
    writeJpeg(other, templateFolder + QStringLiteral("/") + paths::kStagedBackground);
    for (const CatalogueRecord& r : catalogue().records()) {
        SCOPED_TRACE(r.name.toStdString());
        for (const QString& name : r.pictureNames) {
            writeJpeg(other, templateFolder + u'/' + name + QStringLiteral(".jpg"));
        }
        const QString moviePath = templateFolder + QStringLiteral("/movie.rar");
        writeWholeFile(moviePath,
                       unpackNested(readWholeFile(r.packagePath), paths::kTemplatePackageDepth));
        auto m = std::make_shared<const movie::Movie>(movie::readMovie(moviePath));
        const movie::MovieRenderer renderer(m, movie::readMoviePictures(*m), stage);
        EXPECT_LT(meanDifference(renderer.render(0), expected), 3.0);
    }
}

TEST_F(DataTree, CombinedTemplatesAllResolve) {
    const int packages = countPackages(dataPath(paths::kCombinedTemplates));
    EXPECT_GE(packages, 4);
    for (int k = 1; k <= packages; ++k) {
        SCOPED_TRACE(k);
        const CombinedTemplate combined = readCombinationPackage(k);
        EXPECT_EQ(combined.count, combined.members.size());
        EXPECT_FALSE(combined.members.isEmpty());
        for (const CombinedTemplateMember& m : combined.members) {
            const bool found =
                std::any_of(catalogue().entries().begin(), catalogue().entries().end(),
                            [&](const CatalogueEntry& e) {
                                return m.names(e.name, e.landscapeSlots, e.portraitSlots);
                            });
            EXPECT_TRUE(found) << m.name.toStdString();
        }
    }
}

TEST_F(DataTree, StartupAndClosingMoviesLoad) {
    test::TempFolder folder;
    const auto unpacked = [&](const QString& package, int depth, const QString& name) {
        const QString file = folder.path() + name;
        writeWholeFile(file, unpackNested(readWholeFile(dataPath(package)), depth));
        return file;
    };
    MoviePlayer player;
    const QString startup =
        unpacked(paths::kStartupAnimation, paths::kStartupAnimationDepth, QStringLiteral("s.swf"));
    ASSERT_NO_THROW(player.setMovie(startup));
    EXPECT_TRUE(player.loadedMovie()->loop);
    EXPECT_GE(player.totalFrames(), 50);
    EXPECT_EQ(movie::startupAnimationProblem(*player.loadedMovie()), QString());

    const QString closing =
        unpacked(paths::kClosingMovie, paths::kClosingMovieDepth, QStringLiteral("wj_y_l_z_h.rar"));
    ASSERT_NO_THROW(player.setMovie(closing));
    EXPECT_EQ(player.totalFrames(), 150);
    EXPECT_EQ(movie::closingMovieProblem(*player.loadedMovie()), QString());
}

// vellumo-tool template-sheet stages every catalogue entry as the preview does and renders it;
// it fails when a movie misses a picture that staging should have written.
TEST_F(DataTree, TemplateSheetsStageEveryPicture) {
    test::TempFolder out;
    QProcess process;
    process.start(qEnvironmentVariable("VELLUMO_TOOL"),
                  {QStringLiteral("template-sheet"), QStringLiteral("--program-folder"),
                   scratch_->path(), QStringLiteral("--out"), out.path(), QStringLiteral("--count"),
                   QStringLiteral("3"), QStringLiteral("--columns"), QStringLiteral("3")});
    const bool finished = process.waitForFinished(300000);
    if (!finished) {
        process.kill();
        process.waitForFinished(5000);
    }
    ASSERT_TRUE(finished);
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    const QStringList sheets = QDir(out.path()).entryList({QStringLiteral("*.png")}, QDir::Files);
    EXPECT_EQ(sheets.size(), catalogue().entries().size());
    for (const QString& sheet : sheets) {
        // Three 800 x 450 frames in a row under a heading.
        EXPECT_GE(QImage(out.path() + sheet).width(), 3 * 800) << sheet.toStdString();
    }
}

// The help is the user guide as HTML: every section the guide links to is there, every picture
// it shows is installed beside it, and the plug-in notice's section exists.
TEST(InstalledHelp, LinksAndPicturesAllResolve) {
    const QString installed = qEnvironmentVariable("VELLUMO_PROGRAM_FOLDER");
    const QString page = installed + u'/' + paths::kHelpPage;
    QFile file(page);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << page.toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    QSet<QString> anchors;
    static const QRegularExpression named(QStringLiteral("<a name=\"([^\"]+)\""));
    for (const QRegularExpressionMatch& m : named.globalMatch(html)) {
        anchors.insert(m.captured(1));
    }
    int links = 0;
    static const QRegularExpression linked(QStringLiteral("href=\"#([^\"]+)\""));
    for (const QRegularExpressionMatch& m : linked.globalMatch(html)) {
        ++links;
        EXPECT_TRUE(anchors.contains(m.captured(1))) << m.captured(1).toStdString();
    }
    EXPECT_GE(links, 14);
    EXPECT_TRUE(anchors.contains(texts::kStartupMovieHelpSection));
    int pictures = 0;
    static const QRegularExpression image(QStringLiteral("<img src=\"([^\"]+)\""));
    for (const QRegularExpressionMatch& m : image.globalMatch(html)) {
        ++pictures;
        EXPECT_FALSE(QImage(QFileInfo(page).absolutePath() + u'/' + m.captured(1)).isNull())
            << m.captured(1).toStdString();
    }
    EXPECT_GE(pictures, 19);
}

}  // namespace
}  // namespace vellumo
