#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QtTest>

#include "album/album_texts.h"
#include "album/photo_list_texts.h"
#include "app/main_window.h"
#include "assignment/assignment_texts.h"
#include "dialogs/file_chooser.h"
#include "dialogs/progress_window.h"
#include "dialogs/record_widgets.h"
#include "lists/background_window.h"
#include "lists/photo_list_window.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "tests/support/album_builders.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/window_look.h"

namespace vellumo {

namespace {

QStringList column(const QTreeWidget* list, int c) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        texts << list->topLevelItem(i)->text(c);
    }
    return texts;
}

QStringList headers(const QTreeWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i) {
        texts << list->headerItem()->text(i);
    }
    return texts;
}

void clickRow(QTreeWidget* list, int row) {
    list->scrollToItem(list->topLevelItem(row));
    const QRect rect = list->visualItemRect(list->topLevelItem(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

}  // namespace

class PhotoWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::useWindowLook(1); }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        catalogue_ = std::make_unique<Catalogue>();
        // A landscape single and a portrait single.
        catalogue_->setRecords({test::templateRecord("A", "|picture_1|", "|heng|"),
                                test::templateRecord("P", "|picture_1|", "|shu|")});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 3000);
        album_.reset();
    }

    void addSkipsUndecodableFilesAndPlacesTheRest() {
        const QString landscape = photo("beach.jpg", {400, 300});
        const QString upper = photo("CITY.JPG", {640, 480});
        const QString turned = photo("tower.jpg", {400, 300}, 6);
        const QString broken = folder_->write("broken.jpg", "not a picture at all");
        PhotoListWindow window(*album_, settings_);
        window.setFileChooser([&](QWidget*, const FileRequest& request) {
            const QString& caption = request.caption;
            const bool several = request.several;
            chooserCalls_ << caption + (several ? "+" : "1");
            return QStringList{landscape, broken, upper, turned};
        });
        QCOMPARE(headers(window.list()),
                 (QStringList{"序号", "照片", "格式", "宽度", "高度", "位置", "套版"}));
        window.show();
        test::ModalResponder responder;
        window.addButton()->click();

        QCOMPARE(chooserCalls_, QStringList{texts::kPhotoListCaption + "+"});
        QCOMPARE(ProgressWindow::shared().caption(), texts::kAddPhotosTitle);
        QCOMPARE(responder.messages, QStringList{texts::kPhotosLeftOut + "\n" + broken});
        QCOMPARE(album_->placementMode(), PlacementMode::Random);
        QCOMPARE(column(window.list(), 0), (QStringList{"1", "2", "3"}));
        QCOMPARE(column(window.list(), 1), (QStringList{"beach", "CITY", "tower"}));
        QCOMPARE(column(window.list(), 2), (QStringList{".jpg", ".JPG", ".jpg"}));
        // The photo turned upright by its EXIF orientation is recorded and placed as portrait.
        QCOMPARE(column(window.list(), 3), (QStringList{"400", "640", "300"}));
        QCOMPARE(column(window.list(), 4), (QStringList{"300", "480", "400"}));
        QCOMPARE(column(window.list(), 6), (QStringList(3, texts::kInTemplate)));
        QStringList names;
        for (const UsedTemplate& t : album_->templates().templates()) {
            names << t.info->name;
        }
        QCOMPARE(names, (QStringList{"A", "P", "A"}));
        QVERIFY(album_->templates().invariantViolations().isEmpty());
        QCOMPARE(window.lastChosenCount(), 4);

        // A cancelled dialog adds nothing and places nothing.
        window.setFileChooser([](QWidget*, const FileRequest&) { return QStringList(); });
        window.addButton()->click();
        QCOMPARE(album_->photos().size(), 3);
        QCOMPARE(album_->templates().size(), 3);
    }

    void deletingAPhotoAsksWithItsSlotCountAndRenumbers() {
        for (int i = 0; i < 4; ++i) {
            album_->addPhoto(test::photoRecord(QStringLiteral("p%1").arg(i), 800, 600));
        }
        // Photo row 1 fills two slots, rows 2 and 3 one each.
        const UsedTemplates& templates = album_->templates();
        for (int photoRow : {1, 1, 2, 3}) {
            const int t =
                album_->addTemplate(test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
            QCOMPARE(album_->placePhoto(photoRow, t, 0), PlaceResult::Placed);
        }
        PhotoListWindow window(*album_, settings_);
        window.show();
        test::ModalResponder responder;
        responder.answers = {true};
        clickRow(window.list(), 1);
        QVERIFY(!window.preview()->pixmap().isNull());
        window.deleteButton()->click();

        QCOMPARE(responder.questions,
                 QStringList{texts::kDeletePhotoCaption + ": " +
                             "此张照片文件在 2 个模板文件中使用,删除后,模板文件中的照片文件也会被"
                             "删除,是否确定要删除当前选中的照片文件?"});
        QCOMPARE(responder.messages, QStringList{texts::kPhotoDeleted});
        QCOMPARE(column(window.list(), 0), (QStringList{"1", "2", "3"}));
        QCOMPARE(column(window.list(), 1), (QStringList{"p0", "p2", "p3"}));
        QVERIFY(window.preview()->pixmap().isNull());
        QVERIFY(window.preview()->toolTip().isEmpty());
        QVERIFY(window.info()->value(1).isEmpty());
        const QVector<PhotoSlot>& slotTable = templates.slotTable();
        QVERIFY(!slotTable[0].matched && !slotTable[1].matched);
        QCOMPARE(slotTable[0].pictureName, QStringLiteral("picture_1"));
        QVERIFY(!templates.at(0).complete && !templates.at(1).complete);
        QCOMPARE(slotTable[2].photoRow, 1);
        QCOMPARE(slotTable[3].photoRow, 2);
        QVERIFY(templates.invariantViolations().isEmpty());

        // A photo no slot uses: the plain question; "取消" changes nothing.
        album_->addPhoto(test::photoRecord("loose", 800, 600));
        window.refreshList();
        clickRow(window.list(), 3);
        responder.questions.clear();
        window.deleteButton()->click();
        QCOMPARE(responder.questions,
                 QStringList{texts::kDeletePhotoCaption + ": " + texts::kDeletePhotoQuestion});
        QCOMPARE(album_->photos().size(), 4);

        // No row selected: asked, then told.
        window.refreshList();
        responder.answers = {true};
        responder.messages.clear();
        window.deleteButton()->click();
        QCOMPARE(responder.messages, QStringList{texts::kNoPhotoSelected});
        QCOMPARE(album_->photos().size(), 4);
    }

    void deletingAllPhotosEmptiesTheTemplatesToo() {
        addPhotosThroughWindow({photo("a.jpg", {400, 300}), photo("b.jpg", {300, 400})});
        QCOMPARE(album_->templates().size(), 2);
        QCOMPARE(album_->backgrounds().rows().size(), 2);
        PhotoListWindow window(*album_, settings_);
        QSignalSpy cleared(&window, &PhotoListWindow::photosCleared);
        window.show();
        test::ModalResponder responder;
        responder.answers = {true};
        window.deleteAllButton()->click();
        QCOMPARE(responder.questions,
                 QStringList{texts::kDeletePhotoCaption + ": " + texts::kDeleteAllQuestion});
        QCOMPARE(responder.messages, QStringList{texts::kAllPhotosDeleted});
        QCOMPARE(cleared.count(), 1);
        QVERIFY(album_->photos().isEmpty());
        QCOMPARE(album_->templates().size(), 0);
        QVERIFY(album_->templates().slotTable().isEmpty());
        QVERIFY(album_->backgrounds().rows().isEmpty());
        QVERIFY(album_->backgrounds().landscapeList().isEmpty());
        QCOMPARE(window.list()->topLevelItemCount(), 0);

        // With no photos every operation says so.
        responder.messages.clear();
        window.deleteButton()->click();
        window.deleteAllButton()->click();
        window.autoPlaceButton()->click();
        QCOMPARE(responder.messages, QStringList(3, texts::kNoPhotos));
        QVERIFY(responder.questions.size() == 1);
    }

    void autoPlacementSaysWhatItCouldNotPlace() {
        // A catalogue with no portrait template at all.
        catalogue_->setRecords({test::templateRecord("A", "|picture_1|", "|heng|")});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
        test::ModalResponder responder;
        addPhotosThroughWindow(
            {photo("a.jpg", {400, 300}), photo("tall.jpg", {300, 400}), photo("b.jpg", {40, 30})},
            &responder);
        const QString unplaced =
            QStringList{texts::kPhotosLeftUnplaced.arg(1),
                        texts::kUnplacedPhotoLine.arg(2).arg("tall", texts::kPortraitPhoto),
                        texts::kNoTemplateForPortrait}
                .join("\n");
        QCOMPARE(responder.messages, QStringList{unplaced});
        QCOMPARE(album_->templates().size(), 2);

        PhotoListWindow window(*album_, settings_);
        window.show();
        responder.messages.clear();
        window.autoPlaceButton()->click();
        QCOMPARE(ProgressWindow::shared().caption(), texts::kAutoPlacementTitle);
        QCOMPARE(responder.messages, QStringList{unplaced});
        QCOMPARE(album_->templates().size(), 2);

        // Once every photo is in a template only the completion message comes.
        album_->deletePhoto(1);
        window.refreshList();
        responder.messages.clear();
        window.autoPlaceButton()->click();
        QCOMPARE(responder.messages, QStringList{texts::kAutoPlacementDone});
        QCOMPARE(album_->templates().size(), 2);
    }

    void aPhotoWhoseFileIsGoneIsMarkedUntilItIsBack() {
        // Two photos; the second one's drive is not mounted.
        const QString here = photo("here.jpg", {400, 300});
        const QString away = photo("away.jpg", {400, 300});
        for (const QString& file : {here, away}) {
            album_->addPhoto(*measurePhoto(file));
        }
        const QByteArray bytes = test::readFile(away);
        QVERIFY(QFile::remove(away));
        PhotoListWindow window(*album_, settings_);
        window.show();
        QCOMPARE(column(window.list(), 6), (QStringList{QString(), texts::kFileMissingMark}));
        // Its place is still shown.
        QCOMPARE(column(window.list(), 5), (QStringList{here, away}));
        folder_->write("away.jpg", bytes);
        window.refreshList();
        QCOMPARE(column(window.list(), 6), (QStringList{QString(), QString()}));
    }

    void clickingARowShowsThePhotoFramedWithItsFields() {
        const QString wide = photo("wide.jpg", {4000, 3000});
        const QString square = photo("square.jpg", {2000, 2000});
        const QString tall = photo("tall.jpg", {300, 400});
        addPhotosThroughWindow({wide, square, tall});
        PhotoListWindow window(*album_, settings_);
        window.show();
        clickRow(window.list(), 0);
        // Contain with a frame in 201 × 169: 195 × 146 with 3 white pixels around.
        QCOMPARE(window.preview()->pixmap().size(), QSize(201, 152));
        QCOMPARE(window.preview()->toolTip(), QStringLiteral("第1张, 照片名称: wide"));
        const QStringList fields{window.info()->value(0), window.info()->value(1),
                                 window.info()->value(2), window.info()->value(3),
                                 window.info()->value(4), window.info()->value(5)};
        QCOMPARE(fields, (QStringList{"1", "wide", ".jpg", "4000", "3000", wide}));
        clickRow(window.list(), 1);
        QCOMPARE(window.preview()->pixmap().size(), QSize(169, 169));
        clickRow(window.list(), 2);
        QCOMPARE(window.preview()->pixmap().size(), QSize(128, 169));
        QCOMPARE(window.info()->value(0), QStringLiteral("3"));
    }

    void backgroundsFollowTheLandscapePhotos() {
        // Only portrait photos: the rows stay without a picture.
        addPhotosThroughWindow({photo("t1.jpg", {300, 400}), photo("t2.jpg", {300, 400})});
        QCOMPARE(album_->backgrounds().rows().size(), 2);
        for (const BackgroundRow& row : album_->backgrounds().rows()) {
            QVERIFY(!row.hasPicture());
        }
        BackgroundWindow window(*album_);
        QCOMPARE(headers(window.list()), (QStringList{"编号", "名称", "类型", "分类", "图片名称",
                                                      "图片类型", "宽度", "高度", "图片位置"}));
        window.show();
        test::ModalResponder responder;
        clickRow(window.list(), 0);
        QCOMPARE(responder.messages, QStringList{texts::kRowHasNoBackground});
        window.hide();

        // One landscape photo fills every row.
        const QString land = photo("land.jpg", {800, 600});
        addPhotosThroughWindow({land}, &responder);
        QCOMPARE(album_->backgrounds().rows().size(), 3);
        for (const BackgroundRow& row : album_->backgrounds().rows()) {
            QCOMPARE(row.location, land);
        }
        window.show();
        QCOMPARE(column(window.list(), 4), (QStringList(3, "land")));
        clickRow(window.list(), 1);
        QCOMPARE(window.preview()->toolTip(), QStringLiteral("第2张, 背景图片名称: land"));
        QCOMPARE(window.preview()->pixmap().size(), QSize(199, 151));
        QCOMPARE(window.info()->value(0), QStringLiteral("2"));
        window.hide();

        // Deleting the photo leaves the rows' pictures as they were.
        PhotoListWindow photos(*album_, settings_);
        photos.show();
        responder.answers = {true};
        clickRow(photos.list(), 2);
        photos.deleteButton()->click();
        QCOMPARE(album_->photos().size(), 2);
        for (const BackgroundRow& row : album_->backgrounds().rows()) {
            QCOMPARE(row.location, land);
        }
    }

    void changingABackgroundTakesOnlyLandscapePictures() {
        addPhotosThroughWindow({photo("a.jpg", {800, 600}), photo("b.jpg", {800, 600})});
        BackgroundWindow window(*album_);
        QStringList offered;
        window.setFileChooser([&](QWidget*, const FileRequest& request) {
            const bool several = request.several;
            return several ? QStringList() : QStringList{offered.takeFirst()};
        });
        window.show();
        test::ModalResponder responder;
        window.changeButton()->click();
        QCOMPARE(responder.messages, QStringList{texts::kNoBackgroundSelected});

        const BackgroundRow before = album_->backgrounds().row(1);
        const QString tall = photo("tall.jpg", {300, 400});
        const QString turned = photo("turned.jpg", {800, 600}, 6);
        const QString broken = folder_->write("broken.jpg", "no picture");
        const QString square = photo("square.jpg", {500, 500});
        offered = {tall, turned, broken, square};
        responder.messages.clear();
        for (int i = 0; i < 3; ++i) {
            clickRow(window.list(), 1);
            window.changeButton()->click();
            QCOMPARE(album_->backgrounds().row(1).location, before.location);
        }
        QCOMPARE(responder.messages,
                 (QStringList{texts::kBackgroundNotLandscape, texts::kBackgroundNotLandscape,
                              texts::kBackgroundUnreadable.arg(broken)}));
        QCOMPARE(responder.messages.first(),
                 QStringLiteral("此张照片不是横照片,请重新更换一张横照片!"));
        clickRow(window.list(), 1);
        window.changeButton()->click();
        const BackgroundRow& changed = album_->backgrounds().row(1);
        QCOMPARE(changed.location, square);
        QCOMPARE(changed.pictureName, QStringLiteral("square"));
        QCOMPARE(QSize(changed.width, changed.height), QSize(500, 500));
        QCOMPARE(window.list()->topLevelItem(1)->text(4), QStringLiteral("square"));
        QVERIFY(window.preview()->pixmap().isNull());
        QCOMPARE(album_->backgrounds().row(0).location, before.location);

        // No rows at all.
        album_->deleteAllPhotos();
        window.refreshList();
        responder.messages.clear();
        window.changeButton()->click();
        QCOMPARE(responder.messages, QStringList{texts::kNoBackgrounds});
    }

    void filterMatchesTheExtensionInAnyCase() {
        QCOMPARE(anyCaseNameFilter(texts::kPhotoFileFilter),
                 QStringLiteral("添加照片文件(JPG) (*.[jJ][pP][gG])"));
        QCOMPARE(anyCaseNameFilter(QStringLiteral("图片|*.jpg;*.Jpeg;")),
                 QStringLiteral("图片 (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])"));
        // The file dialog's own matching, as the user sees it.
        const QRegularExpression pattern(
            QRegularExpression::wildcardToRegularExpression(QStringLiteral("*.[jJ][pP][gG]")));
        for (const char* name : {"a.jpg", "b.JPG", "c.Jpg", "d.jPg"}) {
            QVERIFY2(pattern.match(QString::fromLatin1(name)).hasMatch(), name);
        }
        QVERIFY(!pattern.match(QStringLiteral("e.png")).hasMatch());
    }

private:
    QString photo(const QString& name, QSize size, quint16 orientation = 1) {
        return test::writePhoto(folder_->path() + name, size, orientation);
    }

    void addPhotosThroughWindow(const QStringList& files,
                                test::ModalResponder* responder = nullptr) {
        std::unique_ptr<test::ModalResponder> own;
        if (!responder) {
            own = std::make_unique<test::ModalResponder>();
        }
        PhotoListWindow window(*album_, settings_);
        window.setFileChooser([&](QWidget*, const FileRequest&) { return files; });
        window.addPhotos();
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
    SystemSettings settings_;
    QStringList chooserCalls_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::PhotoWindowsTest)
#include "test_photo_windows.moc"
