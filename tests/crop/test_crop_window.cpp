#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QtTest>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "crop/crop_texts.h"
#include "crop/crop_window.h"
#include "preview/stager.h"
#include "project/album.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "tests/support/album_builders.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"

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
        window.zoomOutButton()->click();
        QTRY_COMPARE(responder.messages, QStringList{texts::kCannotZoomOutFurther});
        QCOMPARE(window.state().photo, QRect(0, 0, 800, 600));
        QVERIFY(window.saveButton()->isEnabled());
        QVERIFY(window.cancelButton()->isEnabled());
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
        album_->templates().addTemplate(
            test::entryOf(*catalogue_, 1, TemplateClass::PortraitSingle));
        QCOMPARE(album_->templates().placePhoto(1, 1, 0), PlaceResult::Placed);
        album_->templates().addTemplate(test::entryOf(*catalogue_, 2));
        QCOMPARE(album_->templates().placePhoto(0, 2, 0), PlaceResult::Placed);
        QCOMPARE(album_->templates().placePhoto(1, 2, 1), PlaceResult::Placed);

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
    void addPhoto(const QString& name, QSize size) {
        PhotoRecord record =
            test::photoRecord(QFileInfo(name).completeBaseName(), size.width(), size.height());
        record.location = test::writePhoto(folder_->path() + name, size);
        album_->addPhoto(record);
    }

    void placeLandscapeSingle(int photoRow) {
        const int t = album_->templates().addTemplate(
            test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
        QCOMPARE(album_->templates().placePhoto(photoRow, t, 0), PlaceResult::Placed);
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::CropWindowTest)
#include "test_crop_window.moc"
