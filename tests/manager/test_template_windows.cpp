#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/template_windows.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "manager/manager_texts.h"
#include "manager/photo_template_chooser.h"
#include "manager/template_preview_window.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"
#include "tests/support/album_builders.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/window_look.h"
#include "workspace/data_paths.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

constexpr int kFrames = 12;

// A landscape single: the lead-in, the background fading in, the photo growing in its frame.
const QByteArray kLandscapeMovie =
    "vellumo-movie 1\n"
    "frames 12\n"
    "image leadin \"../../pic/picture_0.jpg\"\n"
    "  box 0 0 1920 1080\n"
    "image background \"wj_y_l_b_j.jpg\"\n"
    "  box 0 0 1920 1080\n"
    "  at 0 opacity 0\n"
    "  at 3 opacity 1\n"
    "image photo \"picture_1.jpg\"\n"
    "  border 10 white\n"
    "  at 0 scale 0.6\n"
    "  at 11 scale 0.8\n";

const QByteArray kPortraitMovie =
    "vellumo-movie 1\n"
    "frames 12\n"
    "image background \"wj_y_l_b_j.jpg\"\n"
    "  box 0 0 1920 1080\n"
    "image photo \"picture_1.jpg\"\n"
    "  border 10 white\n"
    "  at 0 scale 0.4\n"
    "  at 11 scale 0.5\n";

const QByteArray kTwoPhotoMovie =
    "vellumo-movie 1\n"
    "frames 12\n"
    "image background \"wj_y_l_b_j.jpg\"\n"
    "  box 0 0 1920 1080\n"
    "image left \"picture_1.jpg\"\n"
    "  border 8 white\n"
    "  position 500 540\n"
    "  at 0 rotation -4\n"
    "  at 11 rotation 0\n"
    "image right \"picture_2.jpg\"\n"
    "  border 8 white\n"
    "  position 1420 540\n"
    "  at 0 rotation 4\n"
    "  at 11 rotation 0\n";

// Each time the preview window has played to its end, atEnd runs with the number of the run
// (from 0); "返回" is clicked unless it answers true.
class PreviewWatcher {
public:
    explicit PreviewWatcher(TemplatePreviewWindow& window, std::function<bool(int run)> atEnd = {})
        : window_(window), atEnd_(std::move(atEnd)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start(5);
    }
    int runs = 0;

private:
    void poll() {
        if (busy_ || !window_.isVisible() || !window_.isPrepared() || window_.isStepping() ||
            !window_.backButton()->isEnabled() || QApplication::activeModalWidget() != &window_) {
            return;
        }
        busy_ = true;
        const bool keepOpen = atEnd_ && atEnd_(runs);
        ++runs;
        if (!keepOpen) {
            window_.backButton()->click();
        }
        busy_ = false;
    }

    TemplatePreviewWindow& window_;
    std::function<bool(int)> atEnd_;
    QTimer timer_;
    bool busy_ = false;
};

void saveShot(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("VELLUMO_TEMPLATE_PREVIEW_SHOTS");
    if (!folder.isEmpty()) {
        window->grab().toImage().save(folder + u'/' + name);
    }
}

QStringList headers(const QTreeWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i) {
        texts << list->headerItem()->text(i);
    }
    return texts;
}

const TemplatePreviewTiming kFastTiming{2, 2, 3000};

// Checks made inside the watcher's callbacks, reported by the test afterwards.
struct Checks {
    QStringList failed;
    void operator()(bool ok, int line) {
        if (!ok) {
            failed << QStringLiteral("line %1").arg(line);
        }
    }
};

}  // namespace

class TemplateWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::useWindowLook(0); }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        setProgramFolder(folder_->path());
        CatalogueRecord landscape = test::templateRecord("横单", "|picture_1|", "|heng|");
        CatalogueRecord portrait = test::templateRecord("竖单", "|picture_1|", "|shu|");
        CatalogueRecord two = test::templateRecord("双横", "|picture_1|picture_2|", "|heng|heng|",
                                                   "|800|800|", "|600|600|");
        CatalogueRecord broken = test::templateRecord("坏", "|picture_1|", "|heng|");
        landscape.packagePath = package("landscape", kLandscapeMovie);
        portrait.packagePath = package("portrait", kPortraitMovie);
        two.packagePath = package("two", kTwoPhotoMovie);
        broken.packagePath = package("broken", "this is not a movie\n");
        for (CatalogueRecord* record : {&landscape, &portrait, &two, &broken}) {
            record->frames = kFrames;
        }
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({landscape, portrait, two, broken});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
        addPhoto("wide", {1600, 1200}, QColor(200, 120, 60));
        addPhoto("tall", {900, 1200}, QColor(60, 140, 200));
        addPhoto("scene", {1200, 800}, QColor(90, 170, 90));
        album_->refreshDefaultBackgrounds();
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 5000);
        album_.reset();
        setProgramFolder(QString());
    }

    void aPhotoInTwoSlotsOfOneTemplateIsListedTwice() {
        Checks checks;
        album_->addTemplate(test::entryOf(*catalogue_, 2));
        QCOMPARE(album_->placePhoto(0, 0, 0), PlaceResult::Placed);
        QCOMPARE(album_->placePhoto(0, 0, 1), PlaceResult::Placed);
        TemplatePreviewWindow preview(*album_);
        preview.setTiming(kFastTiming);
        PhotoTemplateChooser chooser(*album_, preview);
        QCOMPARE(chooser.size(), PhotoTemplateChooser::kSize);
        QCOMPARE(headers(chooser.list()),
                 (QStringList{"序号", "照片名称", "使用模板", "照片位置", "标注"}));
        chooser.setPhoto(0, false);
        chooser.show();
        QCOMPARE(
            chooser.countLine()->text(),
            QStringLiteral("此张照片用在 2 个模板文件中,选择下面一项后,点确定按钮,开始预览效果"));
        QCOMPARE(chooser.list()->topLevelItemCount(), 2);
        for (int row = 0; row < 2; ++row) {
            const QTreeWidgetItem* item = chooser.list()->topLevelItem(row);
            QCOMPARE(item->text(0), QString::number(row + 1));
            QCOMPARE(item->text(1), QStringLiteral("wide"));
            QCOMPARE(item->text(2), QStringLiteral("双横"));
            QCOMPARE(item->text(3), album_->photos().at(0).location);
            QCOMPARE(item->text(4), QString::number(row));
        }
        saveShot(&chooser, "photo-template-chooser.png");

        // "确定" without a choice.
        {
            test::ModalResponder responder;
            chooser.okButton()->click();
            QCOMPARE(responder.messages, QStringList{texts::kNoTemplateSelected});
        }
        // The second row previews the template of both slots.
        PreviewWatcher watcher(preview, [&](int) -> bool {
            checks(preview.request().mode == TemplatePreviewMode::SlotTemplate, __LINE__);
            checks(preview.request().row == 0, __LINE__);
            checks(preview.request().slotRows == (QVector<int>{0, 1}), __LINE__);
            checks(QImage(previewFolder() + "picture_2.jpg").size() == QSize(333, 250), __LINE__);
            saveShot(&preview, "template-preview-advanced.png");
            return false;
        });
        chooser.list()->setCurrentItem(chooser.list()->topLevelItem(1));
        chooser.okButton()->click();
        QCOMPARE(watcher.runs, 1);
        QVERIFY2(checks.failed.isEmpty(), qPrintable(checks.failed.join(u';')));
        QVERIFY(chooser.isVisible());
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));
    }

    void doubleClickOnAPhotoInOneSlotOfACompleteTemplatePreviewsAtOnce() {
        Checks checks;
        const UsedTemplates& templates = album_->templates();
        album_->addTemplate(test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
        QCOMPARE(album_->placePhoto(0, 0, 0), PlaceResult::Placed);
        QCOMPARE(templates.unmatchedCount(0), 0);
        SystemSettings settings;
        MainWindow window;
        auto* photos = new PhotoWindows(window, *album_, settings);
        auto* windows = new TemplateWindows(window, *album_, photos->pages());
        QCOMPARE(windows->parent(), &window);
        windows->preview()->setTiming(kFastTiming);
        photos->pages()->showFirstPageAfterAdding();
        QVERIFY(window.thumbnailHoldsPicture(1));

        QImage lastFrame;
        PreviewWatcher watcher(*windows->preview(), [&](int) -> bool {
            // Straight into the preview: the chooser waits behind it.
            checks(windows->chooser()->isVisible(), __LINE__);
            checks(windows->preview()->request().mode == TemplatePreviewMode::SlotTemplate,
                   __LINE__);
            lastFrame = windows->preview()->stage()->frame();
            saveShot(windows->preview(),
                     "template-preview-slot-" + QString::number(watcher.runs) + ".png");
            return false;
        });
        emit window.thumbnailDoubleClicked(1);
        QCOMPARE(watcher.runs, 1);
        QVERIFY2(checks.failed.isEmpty(), qPrintable(checks.failed.join(u';')));
        QVERIFY(!windows->chooser()->isVisible());
        QCOMPARE(windows->preview()->displayEffect(), DisplayEffect::FullScreen);
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));
        // The double-click also selects the photo.
        QCOMPARE(photos->pages()->selectedPhoto(), 0);
        QCOMPARE(lastFrame.size(), kTemplatePreviewStage);

        // A slot cropped medium is previewed medium: the photo in its own shape.
        const PhotoSlot& slot = templates.slot(0);
        album_->setPlacements(0, slot.fullScreen, slot.medium, CropMark::Medium);
        emit window.thumbnailDoubleClicked(1);
        QCOMPARE(watcher.runs, 2);
        QVERIFY2(checks.failed.isEmpty(), qPrintable(checks.failed.join(u';')));
        QVERIFY(!windows->chooser()->isVisible());
        QCOMPARE(windows->preview()->displayEffect(), DisplayEffect::Medium);

        // A photo in no slot opens nothing.
        emit window.thumbnailDoubleClicked(2);
        QCOMPARE(watcher.runs, 2);
        QVERIFY(!windows->chooser()->isVisible());
    }

    void aCatalogueTemplateOfPortraitSinglesGetsPortraitPlaceholders() {
        Checks checks;
        TemplatePreviewWindow preview(*album_);
        preview.setTiming(kFastTiming);
        TemplatePreviewRequest request;
        request.mode = TemplatePreviewMode::CatalogueTemplate;
        request.row = 1;
        request.info = test::entryOf(*catalogue_, 1, TemplateClass::PortraitSingle);
        PreviewWatcher watcher(preview, [&](int run) -> bool {
            // A portrait single first, then a landscape single.
            const QSize placeholder = run == 0 ? QSize(450, 800) : QSize(800, 450);
            checks(QImage(previewFolder() + "picture_1.jpg").size() == placeholder, __LINE__);
            checks(
                QImage(previewFolder() + paths::kStagedBackground).size() == kTemplatePreviewStage,
                __LINE__);
            // The movie copies are gone once the movie is loaded.
            checks(!QFileInfo::exists(previewFolder() + paths::kSingleTemplateMovie), __LINE__);
            checks(!QFileInfo::exists(previewFolder() + paths::kSingleTemplateMovieCopy), __LINE__);
            saveShot(&preview, run == 0 ? "template-preview-catalogue-portrait.png"
                                        : "template-preview-catalogue-landscape.png");
            return false;
        });
        QVERIFY(openTemplatePreview(preview, request, catalogue_->record(1).packagePath,
                                    PreviewOpener::CatalogueTemplate));
        QCOMPARE(watcher.runs, 1);
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));

        request.row = 0;
        request.info = test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle);
        QVERIFY(openTemplatePreview(preview, request, catalogue_->record(0).packagePath,
                                    PreviewOpener::CatalogueTemplate));
        QCOMPARE(watcher.runs, 2);
        QVERIFY2(checks.failed.isEmpty(), qPrintable(checks.failed.join(u';')));
    }

    void framesRunToTheLastAndPlayStartsAgainFromTheFirst() {
        Checks checks;
        const UsedTemplates& templates = album_->templates();
        album_->addTemplate(test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
        QCOMPARE(album_->placePhoto(2, 0, 0), PlaceResult::Placed);
        TemplatePreviewWindow preview(*album_);
        QCOMPARE(preview.size(), TemplatePreviewWindow::kSize);
        QCOMPARE(preview.stage()->geometry(), QRect(18, 55, 800, 450));
        preview.setTiming(kFastTiming);
        QVector<int> shown;
        bool playOffWhileStepping = true;
        QObject::connect(&preview, &TemplatePreviewWindow::frameShown, [&](int frame) {
            shown.append(frame);
            playOffWhileStepping = playOffWhileStepping &&
                                   (frame == kFrames - 1 || !preview.playButton()->isEnabled());
        });
        PreviewWatcher watcher(preview, [&](int run) -> bool {
            checks(preview.frameCounter() == kFrames - 1, __LINE__);
            checks(preview.playButton()->isEnabled(), __LINE__);
            checks(preview.backButton()->isEnabled(), __LINE__);
            if (run == 0) {
                saveShot(&preview, "template-preview-used.png");
                preview.playButton()->click();
                checks(preview.frameCounter() == -1, __LINE__);
                checks(!preview.playButton()->isEnabled(), __LINE__);
                return true;
            }
            return false;
        });
        TemplatePreviewRequest request;
        request.mode = TemplatePreviewMode::UsedTemplate;
        request.row = 0;
        request.info = *templates.at(0).info;
        request.slotRows = templates.slotRows(0);
        QVERIFY(openTemplatePreview(preview, request, catalogue_->record(0).packagePath,
                                    PreviewOpener::UsedTemplate));
        QCOMPARE(watcher.runs, 2);
        QVERIFY2(checks.failed.isEmpty(), qPrintable(checks.failed.join(u';')));
        QVector<int> once(kFrames);
        std::iota(once.begin(), once.end(), 0);
        QCOMPARE(shown, once + once);
        QVERIFY(playOffWhileStepping);
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));
    }

    void aMovieThatCannotBeLoadedIsToldAndTheWindowCanBeLeft() {
        Checks checks;
        TemplatePreviewWindow preview(*album_);
        preview.setTiming(kFastTiming);
        test::ModalResponder responder;
        responder.other = [](QWidget*) {};
        PreviewWatcher watcher(preview, [&](int) -> bool {
            checks(!preview.playButton()->isEnabled(), __LINE__);
            checks(preview.frameCounter() == -1, __LINE__);
            return false;
        });
        TemplatePreviewRequest request;
        request.row = 3;
        request.info = test::entryOf(*catalogue_, 3, TemplateClass::LandscapeSingle);
        // Told, and the window closes after the message: nothing was left to leave by hand.
        QVERIFY(openTemplatePreview(preview, request, catalogue_->record(3).packagePath,
                                    PreviewOpener::CatalogueTemplate));
        QCOMPARE(watcher.runs, 0);
        QVERIFY(!preview.isVisible());
        QVERIFY2(checks.failed.isEmpty(), qPrintable(checks.failed.join(u';')));
        QCOMPARE(responder.messages.size(), 1);
        QVERIFY(responder.messages[0].startsWith(texts::kPreviewMovieUnplayable.arg(QString())));
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));

        // A package that cannot be unpacked: told, and no window.
        QVERIFY(!openTemplatePreview(preview, request, folder_->write("packages/x.rar", "x"),
                                     PreviewOpener::CatalogueTemplate));
        QCOMPARE(watcher.runs, 0);
        QCOMPARE(responder.messages.size(), 2);
        QVERIFY(responder.messages[1].startsWith(texts::kPreviewPackageUnreadable.arg(QString())));

        // A template row that is not there (the album changed under the opener).
        request.mode = TemplatePreviewMode::UsedTemplate;
        request.row = 5;
        QVERIFY(openTemplatePreview(preview, request, catalogue_->record(0).packagePath,
                                    PreviewOpener::UsedTemplate));
        QCOMPARE(watcher.runs, 0);
        QVERIFY(!preview.isVisible());
        QCOMPARE(responder.messages.size(), 3);
        QCOMPARE(responder.messages[2], texts::kNoTemplateSelected);
    }

    void returnEscapeAndTheCloseLabelStopThePreviewAtAnyFrame() {
        const UsedTemplates& templates = album_->templates();
        album_->addTemplate(test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
        QCOMPARE(album_->placePhoto(2, 0, 0), PlaceResult::Placed);
        TemplatePreviewWindow preview(*album_);
        preview.setTiming(kFastTiming);
        TemplatePreviewRequest request;
        request.mode = TemplatePreviewMode::UsedTemplate;
        request.info = *templates.at(0).info;
        request.slotRows = templates.slotRows(0);
        // Should the window wait for the end after all, it is left from there.
        PreviewWatcher watcher(preview);
        const std::function<void()> ways[] = {
            [&] { preview.backButton()->click(); },
            [&] { QTest::keyClick(&preview, Qt::Key_Escape); },
            [&] { QTest::mouseClick(preview.closeLabel(), Qt::LeftButton); },
        };
        for (const std::function<void()>& leave : ways) {
            QVector<int> shown;
            bool backEnabled = false;
            const QMetaObject::Connection connection =
                QObject::connect(&preview, &TemplatePreviewWindow::frameShown, [&](int frame) {
                    shown.append(frame);
                    if (frame == 3) {
                        backEnabled = preview.backButton()->isEnabled();
                        leave();
                    }
                });
            QVERIFY(openTemplatePreview(preview, request, catalogue_->record(0).packagePath,
                                        PreviewOpener::UsedTemplate));
            QObject::disconnect(connection);
            QCOMPARE(shown, (QVector<int>{0, 1, 2, 3}));
            QVERIFY(backEnabled);
            QVERIFY(!preview.isVisible());
            QVERIFY(!preview.isStepping());
            QCOMPARE(preview.totalFrames(), 0);
        }
        QCOMPARE(watcher.runs, 0);
        QVERIFY(!QFileInfo::exists(dataPath(paths::kStagingFolder)));
    }

    void aTemplateWithEmptySlotsIsOfferedForCompletion() {
        album_->addTemplate(test::entryOf(*catalogue_, 2));
        QCOMPARE(album_->placePhoto(0, 0, 0), PlaceResult::Placed);
        MainWindow window;
        auto* windows = new TemplateWindows(window, *album_);
        windows->preview()->setTiming(kFastTiming);
        PhotoTemplateChooser* chooser = windows->chooser();
        int managerRuns = 0;
        bool chooserOpenAtManager = true;
        window.setCommandHandler(Command::TemplateManager, [&] {
            ++managerRuns;
            chooserOpenAtManager = chooser->isVisible();
        });
        PreviewWatcher watcher(*windows->preview());
        for (const bool yes : {false, true}) {
            test::ModalResponder responder;
            responder.answers = {yes};
            responder.other = [](QWidget*) {};
            QTimer::singleShot(20, chooser, [chooser] {
                chooser->list()->setCurrentItem(chooser->list()->topLevelItem(0));
                chooser->okButton()->click();
                // No: the chooser stays for another choice.
                if (chooser->isVisible()) {
                    chooser->cancelButton()->click();
                }
            });
            windows->openTemplatesOfPhoto(0);
            QCOMPARE(responder.questions,
                     QStringList{texts::kCompletePhotosCaption + QStringLiteral(": ") +
                                 texts::kCompletePhotosQuestion});
        }
        QTRY_COMPARE(managerRuns, 1);
        QVERIFY(!chooserOpenAtManager);
        QCOMPARE(watcher.runs, 0);
    }

private:
    QString package(const QString& name, const QByteArray& movie) {
        return folder_->write("packages/" + name + ".rar", packNested(movie, 20));
    }

    void addPhoto(const QString& name, QSize size, QColor colour) {
        album_->addPhoto(test::writtenPhotoRecord(folder_->path(), name, size, colour));
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::TemplateWindowsTest)
#include "test_template_windows.moc"
