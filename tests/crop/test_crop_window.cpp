#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "crop/crop_texts.h"
#include "crop/crop_window.h"
#include "project/album.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "tests/support/album_builders.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "timeline/stager.h"

namespace vellumo {

namespace {

QStringList headers(const QTreeWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i) {
        texts << list->headerItem()->text(i);
    }
    return texts;
}

void clickRow(QTreeWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

bool yellowish(QColor c) {
    return c.red() > 200 && c.green() > 160 && c.blue() < 120;
}

}  // namespace

class CropWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installFontSubstitutions();
        qApp->setStyleSheet(skinStyleSheet());
    }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({
            test::templateRecord("横", "|picture_1|", "|heng|"),
            test::templateRecord("竖", "|picture_1|", "|shu|"),
            test::templateRecord("高级", "|picture_1|picture_2|", "|heng|shu|", "|960|540|",
                                 "|540|960|"),
        });
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 3000);
        album_.reset();
    }

    void commandsSayWhatIsMissing() {
        CropWindow window(*album_);
        QCOMPARE(headers(window.list()),
                 (QStringList{"序号", "照片名称", "使用次数", "照片位置", "标注", "行号"}));
        window.show();
        test::ModalResponder responder;
        window.zoomInButton()->click();
        addPhoto("wide.jpg", {800, 600});
        window.reload();
        window.saveButton()->click();
        placeLandscapeSingle(0);
        window.reload();
        window.defaultSizeButton()->click();
        window.selectRow(-1);
        QTRY_COMPARE(responder.messages.size(), 4);
        QCOMPARE(responder.messages,
                 (QStringList{texts::kNoPhotos, texts::kNoCropRows, texts::kNoPhotoSelected,
                              texts::kNoPhotoSelected}));
        QCOMPARE(album_->templates().slot(0).cropMark, CropMark::FullScreen);
    }

    void mediumSaveOfALandscapeSingleIsShownMediumAgain() {
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        CropWindow window(*album_);
        window.show();
        test::ModalResponder responder;
        clickRow(window.list(), 0);
        QCOMPARE(window.selectedRow(), 0);
        QCOMPARE(window.detail(1)->text(), QStringLiteral("wide"));
        QVERIFY(window.fullScreenOption()->isVisible());
        QVERIFY(window.fullScreenOption()->isChecked());
        QVERIFY(window.zoomInButton()->isEnabled());
        window.mediumOption()->click();
        QVERIFY(!window.zoomInButton()->isEnabled());
        QVERIFY(!window.defaultSizeButton()->isEnabled());
        QCOMPARE(window.state().photo, QRect(100, 0, 600, 450));
        // The wheel is a zoom button too, and disabled with it.
        QWheelEvent wheel(QPointF(400, 225), window.stage()->mapToGlobal(QPointF(400, 225)), {},
                          QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.stage(), &wheel);
        QCOMPARE(window.state().photo, QRect(100, 0, 600, 450));
        window.saveButton()->click();
        QTRY_COMPARE(responder.messages, QStringList{texts::kCropSaved});
        QCOMPARE(album_->templates().slot(0).cropMark, CropMark::Medium);
        QVERIFY(!window.zoomInButton()->isEnabled());

        window.reload();
        QVERIFY(!window.fullScreenOption()->isVisible());
        clickRow(window.list(), 0);
        QVERIFY(window.mediumOption()->isChecked());
        QVERIFY(!window.zoomOutButton()->isEnabled());
    }

    void wheelAndButtonsZoomByTheSameSteps() {
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        CropWindow window(*album_);
        window.show();
        test::ModalResponder responder;
        window.selectRow(0);
        QCOMPARE(window.shownPhoto().size(), QSize(800, 600));
        QWheelEvent wheel(QPointF(400, 225), window.stage()->mapToGlobal(QPointF(400, 225)), {},
                          QPoint(0, 120), Qt::NoButton, {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.stage(), &wheel);
        QCOMPARE(window.state().zoom, QSize(880, 660));
        QCOMPARE(window.shownPhoto().size(), QSize(880, 660));
        window.zoomOutButton()->click();
        QCOMPARE(window.state().zoom, QSize(800, 600));
        QCOMPARE(window.state().photo, QRect(0, -75, 800, 600));
        // At the limit the photo stays where the zoom put it.
        window.zoomOutButton()->click();
        QTRY_COMPARE(responder.messages, QStringList{texts::kCropCannotZoomOut});
        QCOMPARE(window.state().photo, QRect(0, -75, 800, 600));
        QVERIFY(window.saveButton()->isEnabled());
        QVERIFY(window.cancelButton()->isEnabled());
    }

    void wheelTurnsAddUpToWholeSteps() {
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        CropWindow window(*album_);
        window.show();
        test::ModalResponder responder;
        // Without a row the wheel does nothing, and says nothing.
        turnWheel(window, 240);
        window.selectRow(0);
        // A touchpad's small turns: four of 30 make one step.
        for (int i = 0; i < 4; ++i) {
            turnWheel(window, 30);
        }
        QCOMPARE(window.state().zoom, QSize(880, 660));
        // A turn back starts counting afresh: 60 one way and 60 the other make no step.
        turnWheel(window, 60);
        turnWheel(window, -60);
        QCOMPARE(window.state().zoom, QSize(880, 660));
        // A notched wheel turned fast: three steps at once, drawn once.
        turnWheel(window, 360);
        QCOMPARE(window.state().zoom, QSize(1120, 840));
        QCOMPARE(window.shownPhoto().size(), QSize(1120, 840));
        QVERIFY(responder.messages.isEmpty());
    }

    void zoomLimitsKeepTheUnsavedPlacement() {
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        CropWindow window(*album_);
        window.show();
        test::ModalResponder responder;
        window.selectRow(0);
        dragStage(window, {400, 150}, {400, 50});
        const QRect dragged(0, -100, 800, 600);
        QCOMPARE(window.state().photo, dragged);
        // A wheel flick past the limit stops there without a word and keeps the drag.
        turnWheel(window, -1200);
        QCOMPARE(window.state().photo, dragged);
        QVERIFY(responder.messages.isEmpty());
        // The button tells why, and keeps it too.
        window.zoomOutButton()->click();
        QTRY_COMPARE(responder.messages, QStringList{texts::kCropCannotZoomOut});
        QCOMPARE(window.state().photo, dragged);
        // Zooming in as far as it goes: four frame widths, the photo kept there.
        turnWheel(window, 120 * 40);
        QCOMPARE(window.state().zoom, QSize(3200, 2400));
        window.zoomInButton()->click();
        QTRY_COMPARE(responder.messages.size(), 2);
        QCOMPARE(responder.messages.last(), texts::kCannotZoomInFurther);
        QCOMPARE(window.state().zoom, QSize(3200, 2400));
        QCOMPARE(window.shownPhoto().size(), QSize(3200, 2400));
    }

    void zoomStepsDrawThePhotoDecodedOnce() {
        const QString path = folder_->path() + "wide.jpg";
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        CropWindow window(*album_);
        window.show();
        window.selectRow(0);
        const QColor before = window.shownPhoto().pixelColor(600, 450);
        // The file changes behind the window's back: the steps still show the photo selected.
        test::writeSolidPhoto(path, {800, 600}, Qt::red);
        window.zoomInButton()->click();
        window.zoomInButton()->click();
        QCOMPARE(window.shownPhoto().size(), QSize(960, 720));
        const QColor after = window.shownPhoto().pixelColor(720, 540);
        QVERIFY2(std::abs(after.red() - before.red()) < 24 &&
                     std::abs(after.blue() - before.blue()) < 24,
                 qPrintable(after.name() + u' ' + before.name()));
    }

    void restoringTheWindowKeepsItsEdits() {
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        CropWindow window(*album_);
        window.show();
        window.selectRow(0);
        dragStage(window, {400, 150}, {400, 50});
        // Minimised and restored: the window system shows it again.
        window.setWindowState(Qt::WindowMinimized);
        window.setWindowState(Qt::WindowNoState);
        QCOMPARE(window.selectedRow(), 0);
        QCOMPARE(window.state().photo, QRect(0, -100, 800, 600));
        QCOMPARE(window.detail(1)->text(), QStringLiteral("wide"));
        // Opening it again starts afresh.
        window.hide();
        window.show();
        QCOMPARE(window.selectedRow(), -1);
    }

    void aSavedDragMovesWhatThePreviewStages() {
        addPhoto("wide.jpg", {800, 600});
        placeLandscapeSingle(0);
        const QString before = folder_->mkdir("before/");
        const QString after = folder_->mkdir("after/");
        Stager(*album_).stagePictures(0, {800, 450}, LandscapeMode::FullScreen, before);

        CropWindow window(*album_);
        window.show();
        test::ModalResponder responder;
        clickRow(window.list(), 0);
        // Drag the photo up by 100 stage pixels.
        QWidget* stage = window.stage();
        QTest::mousePress(stage, Qt::LeftButton, {}, QPoint(400, 150));
        QTest::mouseMove(stage, QPoint(400, 100));
        QTest::mouseMove(stage, QPoint(400, 50));
        QTest::mouseRelease(stage, Qt::LeftButton, {}, QPoint(400, 50));
        QCOMPARE(window.state().photo, QRect(0, -100, 800, 600));
        window.saveButton()->click();
        QTRY_COMPARE(responder.messages, QStringList{texts::kCropSaved});
        QCOMPARE(album_->templates().slot(0).fullScreen, (Placement{0, -240, 1920, 1440}));
        Stager(*album_).stagePictures(0, {800, 450}, LandscapeMode::FullScreen, after);

        // The photo's yellow top-left quarter ends 300 pixels down before and 200 after.
        const QImage first(before + "picture_1.jpg");
        const QImage second(after + "picture_1.jpg");
        QCOMPARE(first.size(), QSize(800, 450));
        QCOMPARE(second.size(), QSize(800, 450));
        QVERIFY(yellowish(first.pixelColor(100, 150)));
        QVERIFY(yellowish(first.pixelColor(100, 250)));
        QVERIFY(yellowish(second.pixelColor(100, 150)));
        QVERIFY(!yellowish(second.pixelColor(100, 250)));
        QVERIFY(!yellowish(first.pixelColor(100, 350)));
    }

    // Renders the window for a landscape single, a portrait single and an advanced slot; the
    // pictures go to VELLUMO_CROP_SHOTS when it names a folder.
    void screenshots() {
        addPhoto("wide.jpg", {1600, 1200});
        addPhoto("tall.jpg", {900, 1200});
        placeLandscapeSingle(0);
        album_->addTemplate(test::entryOf(*catalogue_, 1, TemplateClass::PortraitSingle));
        QCOMPARE(album_->placePhoto(1, 1, 0), PlaceResult::Placed);
        album_->addTemplate(test::entryOf(*catalogue_, 2));
        QCOMPARE(album_->placePhoto(0, 2, 0), PlaceResult::Placed);
        QCOMPARE(album_->placePhoto(1, 2, 1), PlaceResult::Placed);

        CropWindow window(*album_);
        window.show();
        QCOMPARE(window.list()->topLevelItemCount(), 4);
        const QString folder = qEnvironmentVariable("VELLUMO_CROP_SHOTS");
        const QString names[] = {"crop-landscape-single.png", "crop-portrait-single.png",
                                 "crop-advanced-landscape.png", "crop-advanced-portrait.png"};
        for (int k = 0; k < 4; ++k) {
            window.selectRow(k);
            // The advanced landscape slot is shown while its photo is dragged off the frame's
            // left edge, with the hatch where the photo has left it.
            if (k == 2) {
                QTest::mousePress(window.stage(), Qt::LeftButton, {}, QPoint(300, 200));
                QTest::mouseMove(window.stage(), QPoint(420, 200));
            }
            const QImage shot = window.grab().toImage();
            if (k == 2) {
                QTest::mouseRelease(window.stage(), Qt::LeftButton, {}, QPoint(420, 200));
                QCOMPARE(window.state().photo.left(), 0);
            }
            QCOMPARE(shot.size(), CropWindow::kSize);
            // The stage's corner is dark grey outside the crop frame of a portrait slot.
            if (k == 1) {
                QCOMPARE(shot.pixelColor(kCropStageOrigin + QPoint(2, 2)), QColor(62, 62, 62));
            }
            if (!folder.isEmpty()) {
                shot.save(folder + u'/' + names[k]);
            }
        }
        // The portrait single's frame follows the photo: 450 high, 337 wide.
        window.selectRow(1);
        QCOMPARE(window.state().frame, QRect(400 - 168, 0, 337, 450));
        QCOMPARE(window.shownPhoto().size(), QSize(337, 450));
    }

private:
    static void turnWheel(CropWindow& window, int angle) {
        const QPointF at(400, 225);
        QWheelEvent wheel(at, window.stage()->mapToGlobal(at), {}, QPoint(0, angle), Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.stage(), &wheel);
    }

    static void dragStage(CropWindow& window, QPoint from, QPoint to) {
        QWidget* stage = window.stage();
        QTest::mousePress(stage, Qt::LeftButton, {}, from);
        QTest::mouseMove(stage, (from + to) / 2);
        QTest::mouseMove(stage, to);
        QTest::mouseRelease(stage, Qt::LeftButton, {}, to);
    }

    void addPhoto(const QString& name, QSize size) {
        PhotoRecord record =
            test::photoRecord(QFileInfo(name).completeBaseName(), size.width(), size.height());
        record.location = test::writePhoto(folder_->path() + name, size);
        album_->addPhoto(record);
    }

    void placeLandscapeSingle(int photoRow) {
        const int t =
            album_->addTemplate(test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
        QCOMPARE(album_->placePhoto(photoRow, t, 0), PlaceResult::Placed);
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::CropWindowTest)
#include "test_crop_window.moc"
