#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "app/app_texts.h"
#include "app/main_window.h"
#include "app/photo_pages.h"
#include "app/summary_lists.h"
#include "app/template_windows.h"
#include "assignment/assignment_texts.h"
#include "dialogs/progress_window.h"
#include "manager/manager_texts.h"
#include "manager/photo_template_chooser.h"
#include "manager/template_manager_window.h"
#include "manager/template_preview_window.h"
#include "project/album.h"
#include "settings/system_settings.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "tests/support/photo_files.h"
#include "tests/support/test_files.h"
#include "tests/support/window_look.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

const QByteArray kLandscapeMovie =
    "vellumo-movie 1\n"
    "frames 6\n"
    "image background \"wj_y_l_b_j.jpg\"\n"
    "  box 0 0 1920 1080\n"
    "image photo \"picture_1.jpg\"\n"
    "  border 10 white\n"
    "  at 0 scale 0.6\n"
    "  at 5 scale 0.8\n";

QStringList headers(const QTreeWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i) {
        texts << list->headerItem()->text(i);
    }
    return texts;
}

QStringList rowTexts(const QTreeWidget* list, int row) {
    QStringList texts;
    for (int i = 0; i < list->columnCount(); ++i) {
        texts << list->topLevelItem(row)->text(i);
    }
    return texts;
}

QStringList details(const TemplateManagerWindow& window) {
    QStringList values;
    for (int i = 0; i < kDetailFieldCount; ++i) {
        values << window.detail(i)->text();
    }
    return values;
}

// The manager window over an album, with its preview window, shown; the messages it gives are
// answered and noted, other windows that open are left alone.
struct ShownManager {
    explicit ShownManager(Album& album) : preview(album), window(album, preview) {
        responder.other = [](QWidget*) {};
        window.show();
    }
    TemplatePreviewWindow preview;
    TemplateManagerWindow window;
    test::ModalResponder responder;
};

// A mouse event sent straight to a widget, the pointer at a point of the window.
void sendMouse(QWidget* target, QEvent::Type type, const QWidget* window, QPoint windowPos,
               Qt::MouseButtons buttons) {
    const QPoint global = window->mapToGlobal(windowPos);
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, QPointF(target->mapFromGlobal(global)), QPointF(global), button,
                      buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

QPoint centreInWindow(const QWidget* widget, const QWidget* window) {
    return widget->mapTo(window, widget->rect().center());
}

}  // namespace

class TemplateManagerWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::useWindowLook(0); }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        setProgramFolder(folder_->path());
        CatalogueRecord mixed =
            test::templateRecord("横竖", "|picture_1|picture_2|picture_3|", "|heng|heng|shu|");
        CatalogueRecord landscape = test::templateRecord("单横", "|picture_1|", "|heng|");
        CatalogueRecord portrait = test::templateRecord("单竖", "|picture_1|", "|shu|");
        for (CatalogueRecord* record : {&mixed, &landscape, &portrait}) {
            record->packagePath = folder_->write("packages/" + record->name + ".rar",
                                                 packNested(kLandscapeMovie, 20));
            record->frames = 6;
        }
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({mixed, landscape, portrait});
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

    void theCommandIsRefusedWhilePlayingAndWithoutPhotos() {
        SystemSettings settings;
        MainWindow window;
        auto* photos = new PhotoWindows(window, *album_, settings);
        auto* windows = new TemplateWindows(window, *album_, photos->pages());
        QVERIFY(window.hasCommandHandler(Command::TemplateManager));
        test::ModalResponder responder;
        window.setPlaybackSource([] { return PlaybackState::Playing; });
        window.runCommand(Command::TemplateManager);
        window.setPlaybackSource({});
        album_->deleteAllPhotos();
        window.runCommand(Command::TemplateManager);
        QCOMPARE(responder.messages, (QStringList{texts::kPlayingGuard, texts::kNoPhotosToMatch}));
        QCOMPARE(responder.others, 0);
        QVERIFY(!windows->manager()->isVisible());
    }

    void usingSelectingAndDroppingBuildTheAlbumByHand() {
        TemplatePreviewWindow preview(*album_);
        TemplateManagerWindow window(*album_, preview);
        QCOMPARE(window.size(), TemplateManagerWindow::kSize);
        QCOMPARE(window.slotPanel()->parentWidget()->parentWidget()->size(), kSlotPanelSize);
        QCOMPARE(window.photoPanel()->parentWidget()->parentWidget()->size(), kPhotoPanelSize);
        QCOMPARE(headers(window.catalogueList()),
                 (QStringList{"序号", "模板", "类型", "横照片", "竖照片", "时长", "分类"}));
        QCOMPARE(headers(window.usedList()),
                 (QStringList{"序号", "模板", "类型", "横照片", "竖照片", "时长", "分类",
                              "照片匹配", "编号"}));
        QVERIFY(!window.demonstrationCheck()->isChecked());
        test::ModalResponder responder;
        responder.other = [](QWidget*) {};

        // Loading: a tile per photo in the grid, the bar at its end, then the message.
        window.show();
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        QVERIFY(window.isEnabled());
        QCOMPARE(window.photoTiles().size(), 3);
        QCOMPARE(window.progressBar()->value(), 3);
        QCOMPARE(window.photoTiles()[1]->objectName(), QStringLiteral("Imagem_1"));
        QCOMPARE(window.photoLabels()[1]->objectName(), QStringLiteral("Label_1"));
        QCOMPARE(window.photoTiles()[1]->pos(), QPoint(153, 10));
        QCOMPARE(window.photoLabels()[1]->geometry(), QRect(153, 116, 128, 25));
        QCOMPARE(window.photoLabels()[1]->text(), QStringLiteral("tall"));
        QCOMPARE(window.photoTiles()[0]->toolTip(), QStringLiteral("第1张, 照片名称: wide"));
        // A portrait photo's tile stands upright.
        const QSize tallTile = window.photoTiles()[1]->pixmap().size();
        QVERIFY(tallTile.height() > tallTile.width());
        responder.messages.clear();

        // Pressing a photo before a template is shown; using and showing with nothing chosen.
        QTest::mousePress(window.photoTiles()[0], Qt::LeftButton);
        QTest::mouseRelease(window.photoTiles()[0], Qt::LeftButton);
        QVERIFY(!window.dragTile()->isVisible());
        window.useTemplate();
        window.selectUsedTemplate();
        window.previewUsedTemplate();
        QCOMPARE(responder.messages,
                 (QStringList{texts::kNoUsedTemplateShown, texts::kNoTemplateSelected,
                              texts::kNoTemplates, texts::kNoTemplates}));
        responder.messages.clear();

        // Using the mixed template adds it to the album and the list.
        window.catalogueList()->setCurrentItem(window.catalogueList()->topLevelItem(0));
        window.useButton()->click();
        QCOMPARE(album_->templates().size(), 1);
        QCOMPARE(window.usedList()->topLevelItemCount(), 1);
        const QString duration = album_->templates().at(0).info->duration;
        QCOMPARE(
            rowTexts(window.usedList(), 0),
            (QStringList{"0", "横竖", "高级模板", "2", "1", duration, "综合模板", "未完成", "1"}));
        QCOMPARE(window.selectedTemplateNumber(), 0);
        QCOMPARE(window.slotBoxesStateWord(), QStringLiteral("wu"));

        // Selecting it builds one box per slot, landscape first.
        selectUsed(window, 0);
        QCOMPARE(window.selectedTemplateNumber(), 1);
        QCOMPARE(window.slotBoxesStateWord(), QStringLiteral("xiezai_zhaopian_kuang"));
        QCOMPARE(window.slotBoxes().size(), 3);
        const QString words[] = {"heng", "heng", "shu"};
        for (int k = 0; k < 3; ++k) {
            QLabel* box = window.slotBoxes()[k];
            QCOMPARE(box->objectName(), QStringLiteral("Imagem_k%1").arg(k));
            QCOMPARE(box->property("orientation").toString(), words[k]);
            QCOMPARE(box->pos(), QPoint(10 + 143 * k, 10));
            QCOMPARE(window.slotLabels()[k]->text(), texts::kSlotLabelEmpty);
        }
        QCOMPARE(window.slotBoxes()[2]->pixmap().size(), QSize(54, 89));
        QCOMPARE(details(window),
                 (QStringList{"0", "1", "横竖", "高级模板", "2", "1", duration, "0", "0"}));

        // A portrait photo on a landscape slot: told, and nothing changes.
        QVERIFY(!window.dropPhoto(1, 0));
        QCOMPARE(responder.messages, QStringList{texts::kNeedLandscapePhoto});
        QVERIFY(!album_->templates().slot(0).matched);
        QCOMPARE(window.slotBoxes()[0]->pixmap().size(), QSize(89, 54));
        QCOMPARE(window.slotLabels()[0]->text(), texts::kSlotLabelEmpty);
        QCOMPARE(details(window).mid(7), (QStringList{"0", "0"}));

        // The landscape photo dragged with the mouse onto the first slot box.
        dragTileToSlot(window, 0, 0);
        QVERIFY(album_->templates().slot(0).matched);
        QCOMPARE(album_->templates().slot(0).photoRow, 0);
        QVERIFY(album_->photos().at(0).inTemplate);
        QCOMPARE(window.slotBoxes()[0]->pixmap().size(), window.photoTiles()[0]->pixmap().size());
        QCOMPARE(window.slotLabels()[0]->text(), QStringLiteral("wide"));
        QCOMPARE(details(window).mid(7), (QStringList{"1", "0"}));
        QVERIFY(!window.dragTile()->isVisible());
        // Released where no slot box is: the drop is given up.
        dragTileTo(window, 2, window.photoTiles()[1]->mapTo(&window, QPoint(5, 5)));
        QVERIFY(!album_->templates().slot(1).matched);

        // Two slots are still empty: no preview.
        responder.messages.clear();
        window.previewButton()->click();
        QCOMPARE(responder.messages,
                 QStringList{QStringLiteral("选中的模板文件,照片与此模板还有 2 处没有完成匹配！")});

        // The other two: the template is complete.
        dragTileToSlot(window, 2, 1);
        QVERIFY(window.dropPhoto(1, 2));
        QCOMPARE(rowTexts(window.usedList(), 0)[7], QStringLiteral("已完成"));
        QCOMPARE(details(window).mid(7), (QStringList{"2", "1"}));
        // A drop on a filled slot replaces its photo.
        dragTileToSlot(window, 0, 1);
        QCOMPARE(album_->templates().slot(1).photoRow, 0);
        QCOMPARE(window.slotLabels()[1]->text(), QStringLiteral("wide"));
        saveShot(&window, "template-manager.png");
        if (!qEnvironmentVariableIsEmpty("VELLUMO_TEMPLATE_MANAGER_SHOTS")) {
            window.demonstrationCheck()->setChecked(true);
            window.demonstrationLabel()->move(152, 300);
            window.demonstrationLabel()->show();
            saveShot(&window, "template-manager-demonstration.png");
            window.demonstrationLabel()->hide();
            window.demonstrationCheck()->setChecked(false);
        }

        // Another template: exactly the boxes of the first go.
        window.catalogueList()->setCurrentItem(window.catalogueList()->topLevelItem(2));
        window.useTemplate();
        QPointer<QLabel> oldBox = window.slotBoxes()[2];
        selectUsed(window, 1);
        QVERIFY(oldBox.isNull());
        QCOMPARE(window.slotBoxes().size(), 1);
        QCOMPARE(window.slotBoxes()[0]->property("orientation").toString(), QStringLiteral("shu"));
        // Back to the first: its slot boxes show their photos.
        selectUsed(window, 0);
        QCOMPARE(window.slotLabels()[2]->text(), QStringLiteral("tall"));

        // Deleting: "no" changes nothing; "yes" deletes the selected template.
        responder.messages.clear();
        responder.answers = {false};
        window.deleteButton()->click();
        QCOMPARE(album_->templates().size(), 2);
        QCOMPARE(window.slotBoxes().size(), 3);
        responder.answers = {true};
        window.deleteButton()->click();
        QCOMPARE(responder.questions,
                 (QStringList{"删除模板文件: 是否确定要删除当前选中已经使用的模板文件?",
                              "删除模板文件: 是否确定要删除当前选中已经使用的模板文件?"}));
        QCOMPARE(responder.messages, QStringList{texts::kTemplateDeleted});
        QCOMPARE(album_->templates().size(), 1);
        QCOMPARE(album_->templates().at(0).info->name, QStringLiteral("单竖"));
        QVERIFY(!album_->photos().at(0).inTemplate);
        QCOMPARE(window.usedList()->topLevelItemCount(), 1);
        QVERIFY(window.slotBoxes().isEmpty());
        QCOMPARE(window.slotBoxesStateWord(), QStringLiteral("wu"));
        QCOMPARE(details(window), QStringList(kDetailFieldCount, QString()));
        QCOMPARE(window.selectedTemplateNumber(), 0);
        responder.messages.clear();
        window.pressPhotoTile(0, centreInWindow(window.photoTiles()[0], &window));
        QCOMPARE(responder.messages, QStringList{texts::kNoUsedTemplateShown});

        // Deleting all: "no" keeps them, "yes" empties the list.
        responder.messages.clear();
        responder.questions.clear();
        responder.answers = {false, true};
        window.deleteAllButton()->click();
        QCOMPARE(album_->templates().size(), 1);
        window.deleteAllButton()->click();
        QCOMPARE(responder.questions,
                 QStringList(2, "删除模板文件: 是否确定要删除全部已经使用的模板文件?"));
        QCOMPARE(responder.messages, QStringList{texts::kAllTemplatesDeleted});
        QCOMPARE(album_->templates().size(), 0);
        QCOMPARE(window.usedList()->topLevelItemCount(), 0);
        responder.messages.clear();
        window.deleteButton()->click();
        window.deleteAllButton()->click();
        QCOMPARE(responder.messages, QStringList(2, texts::kNoTemplates));

        // Closing takes the tiles away.
        QTest::mouseClick(window.closeLabel(), Qt::LeftButton);
        QVERIFY(!window.isVisible());
        QVERIFY(window.photoTiles().isEmpty());
    }

    void autoMatchPlacesEveryWaitingPhotoAsTheAutomaticPlacementDoes() {
        ShownManager shown(*album_);
        TemplateManagerWindow& window = shown.window;
        test::ModalResponder& responder = shown.responder;
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        // A template used by hand and shown, one photo in it.
        window.catalogueList()->setCurrentItem(window.catalogueList()->topLevelItem(0));
        window.useTemplate();
        selectUsed(window, 0);
        QVERIFY(window.dropPhoto(0, 0));
        window.usedList()->clearSelection();
        responder.messages.clear();

        // No selection needed: the photos still waiting get templates of their own.
        window.autoMatchButton()->click();
        QCOMPARE(responder.messages, QStringList{texts::kAutoPlacementDone});
        for (const PhotoRecord& photo : album_->photos().records()) {
            QVERIFY2(photo.inTemplate, qPrintable(photo.name));
        }
        const int templates = album_->templates().size();
        QVERIFY(templates > 1);
        QCOMPARE(window.usedList()->topLevelItemCount(), templates);
        for (int t = 0; t < templates; ++t) {
            QCOMPARE(rowTexts(window.usedList(), t), usedTemplateRow(album_->templates(), t));
        }
        // The shown template stays shown, with its photo.
        QCOMPARE(window.selectedTemplateNumber(), 1);
        QCOMPARE(window.slotBoxes().size(), 3);
        QCOMPARE(window.slotLabels()[0]->text(), QStringLiteral("wide"));
        QCOMPARE(details(window)[1], QStringLiteral("1"));

        // Nothing waits any more: said so, and nothing is added.
        responder.messages.clear();
        window.autoMatchButton()->click();
        QCOMPARE(responder.messages, QStringList{texts::kAutoPlacementDone});
        QCOMPARE(album_->templates().size(), templates);
        responder.messages.clear();
        // Without an installer there is nothing to add templates to.
        window.externalButton()->click();
        QVERIFY(responder.messages.isEmpty());
        window.reject();
    }

    void aClickPicksAPhotoUpAndAClickOnASlotPutsItDown() {
        ShownManager shown(*album_);
        TemplateManagerWindow& window = shown.window;
        test::ModalResponder& responder = shown.responder;
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        window.catalogueList()->setCurrentItem(window.catalogueList()->topLevelItem(0));
        window.useTemplate();
        selectUsed(window, 0);
        responder.messages.clear();
        using State = TemplateManagerWindow::DragState;

        // A click on the wide photo picks it up; the tile follows the pointer over the slots.
        QTest::mouseClick(window.photoTiles()[0], Qt::LeftButton);
        QCOMPARE(window.dragState(), State::Carried);
        QVERIFY(window.dragTile()->isVisible());
        const QPoint offset =
            centreInWindow(window.photoTiles()[0], &window) - window.dragTile()->pos();
        const QPoint overSlot = centreInWindow(window.slotBoxes()[1], &window);
        QTest::mouseMove(&window, overSlot + QPoint(60, 70));
        QTest::mouseMove(&window, overSlot - QPoint(30, 20));
        QCOMPARE(window.dragTile()->pos(), overSlot - QPoint(30, 20) - offset);
        QVERIFY(!album_->templates().slot(1).matched);
        saveShot(&window, "manager-pickup.png");
        // A click on the slot box puts it down there.
        QTest::mouseClick(window.slotBoxes()[1], Qt::LeftButton);
        QCOMPARE(window.dragState(), State::Idle);
        QVERIFY(!window.dragTile()->isVisible());
        QCOMPARE(album_->templates().slot(1).photoRow, 0);
        QCOMPARE(window.slotLabels()[1]->text(), QStringLiteral("wide"));

        // Esc, a right click and a click beside the slots give the photo up; the window stays.
        QTest::mouseClick(window.photoTiles()[2], Qt::LeftButton);
        QCOMPARE(window.dragState(), State::Carried);
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(window.dragState(), State::Idle);
        QVERIFY(window.isVisible());
        QTest::mouseClick(window.photoTiles()[2], Qt::LeftButton);
        QTest::mouseClick(window.slotBoxes()[0], Qt::RightButton);
        QCOMPARE(window.dragState(), State::Idle);
        QTest::mouseClick(window.photoTiles()[2], Qt::LeftButton);
        QTest::mouseClick(window.slotPanel(), Qt::LeftButton, {}, QPoint(580, 190));
        QCOMPARE(window.dragState(), State::Idle);
        QVERIFY(!window.dragTile()->isVisible());
        QVERIFY(!album_->templates().slot(0).matched);
        QVERIFY(responder.messages.isEmpty());

        // A click on another tile while one is carried picks that one up instead.
        QTest::mouseClick(window.photoTiles()[0], Qt::LeftButton);
        QTest::mouseClick(window.photoTiles()[1], Qt::LeftButton);
        QCOMPARE(window.dragState(), State::Carried);
        QTest::mouseClick(window.slotBoxes()[2], Qt::LeftButton);
        QCOMPARE(album_->templates().slot(2).photoRow, 1);
        // A portrait photo put down on a landscape slot: told, and nothing changes.
        QTest::mouseClick(window.photoTiles()[1], Qt::LeftButton);
        QTest::mouseClick(window.slotBoxes()[0], Qt::LeftButton);
        QCOMPARE(responder.messages, QStringList{texts::kNeedLandscapePhoto});
        QVERIFY(!album_->templates().slot(0).matched);
        QCOMPARE(window.dragState(), State::Idle);

        // Pressed, moved and released on a slot box: the drag puts it down as before.
        dragTileToSlot(window, 2, 0);
        QCOMPARE(album_->templates().slot(0).photoRow, 2);
        QCOMPARE(window.dragState(), State::Idle);
        window.reject();
    }

    void changesMadeElsewhereWhileOpenAreShown() {
        ShownManager shown(*album_);
        TemplateManagerWindow& window = shown.window;
        QTRY_COMPARE(shown.responder.messages, QStringList{texts::kPhotosLoaded});
        window.catalogueList()->setCurrentItem(window.catalogueList()->topLevelItem(1));
        window.useTemplate();
        selectUsed(window, 0);
        QCOMPARE(window.usedList()->topLevelItemCount(), 1);

        // A template added and a slot filled by another part of the program appear at once.
        album_->addTemplate(catalogue_->entries().at(2));
        QCOMPARE(window.usedList()->topLevelItemCount(), 2);
        album_->placePhoto(2, 0, 0);
        QCOMPARE(window.slotLabels()[0]->text(), QStringLiteral("scene"));

        // The shown template deleted elsewhere leaves no slot box behind.
        album_->deleteAllTemplates();
        QCOMPARE(window.usedList()->topLevelItemCount(), 0);
        QVERIFY(window.slotBoxes().isEmpty());
        window.reject();
    }

    void everyColumnOfBothListsIsInSight() {
        TemplatePreviewWindow preview(*album_);
        TemplateManagerWindow window(*album_, preview);
        test::ModalResponder responder;
        window.show();
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        // Enough used templates for the list to need its scroll bar.
        window.catalogueList()->selectAll();
        for (int i = 0; i < 4; ++i) {
            window.useTemplate();
        }
        QCOMPARE(window.usedList()->topLevelItemCount(), 12);
        selectUsed(window, 0);
        for (QTreeWidget* list : {window.catalogueList(), window.usedList()}) {
            const QHeaderView* header = list->header();
            const auto right = [header](int c) {
                return header->sectionViewportPosition(c) + header->sectionSize(c);
            };
            const int last = list->columnCount() - 1;
            QTRY_VERIFY2(right(last) <= list->viewport()->width(), qPrintable(list->objectName()));
            for (int c = 0; c < list->columnCount(); ++c) {
                const QString caption = list->headerItem()->text(c);
                QVERIFY2(header->sectionViewportPosition(c) >= 0, qPrintable(caption));
                QVERIFY2(right(c) <= list->viewport()->width(), qPrintable(caption));
                QVERIFY2(header->sectionSize(c) > header->fontMetrics().horizontalAdvance(caption),
                         qPrintable(caption));
            }
        }
        saveShot(&window, "template-manager-used-list.png");
        window.reject();
    }

    void escapeDuringADemonstrationCallsItsCommandOff() {
        ShownManager shown(*album_);
        TemplateManagerWindow& window = shown.window;
        test::ModalResponder& responder = shown.responder;
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        window.demonstrationCheck()->setChecked(true);
        window.catalogueList()->setCurrentItem(window.catalogueList()->topLevelItem(1));
        // Esc comes while the demonstration of "use" runs: the window closes once it has
        // stopped, and nothing is added behind it.
        bool demonstrating = false;
        QTimer::singleShot(0, &window, [&] {
            demonstrating = window.isDemonstrating();
            QTest::keyClick(&window, Qt::Key_Escape);
        });
        window.useButton()->click();
        QVERIFY(demonstrating);
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isDemonstrating());
        QCOMPARE(album_->templates().size(), 0);
        QVERIFY(window.photoTiles().isEmpty());

        // The same for the demonstration of a selection: no slot boxes behind a closed window.
        responder.messages.clear();
        window.show();
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        window.demonstrationCheck()->setChecked(false);
        window.useTemplate();
        QCOMPARE(album_->templates().size(), 1);
        window.demonstrationCheck()->setChecked(true);
        window.usedList()->setCurrentItem(window.usedList()->topLevelItem(0));
        QTimer::singleShot(0, &window, [&] { QTest::keyClick(&window, Qt::Key_Escape); });
        window.selectUsedTemplate();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.selectedTemplateNumber(), 0);
        QVERIFY(window.slotBoxes().isEmpty());
        QCOMPARE(window.slotBoxesStateWord(), QStringLiteral("wu"));
    }

    void addingAnExternalTemplateAsksForBothFilesAndRefreshesTheList() {
        ShownManager shown(*album_);
        TemplateManagerWindow& window = shown.window;
        test::ModalResponder& responder = shown.responder;
        QTRY_COMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        responder.messages.clear();

        QList<FileRequest> asked;
        QStringList answers;
        window.setFileChooser([&](QWidget*, const FileRequest& request) {
            asked << request;
            return answers.isEmpty() ? QStringList() : QStringList{answers.takeFirst()};
        });
        QStringList installed;
        window.setTemplateInstaller([&](const QString& parameters, const QString& movie) {
            installed << parameters << movie;
            QVector<CatalogueRecord> records = catalogue_->records();
            records.append(test::templateRecord("外来", "|picture_1|", "|shu|"));
            catalogue_->setRecords(records);
            TemplateInstallResult result;
            result.installed = true;
            result.message = texts::kExternalTemplateAdded.arg("外来");
            return result;
        });

        // A cancel at either question installs nothing and says nothing.
        window.externalButton()->click();
        QCOMPARE(asked.size(), 1);
        answers = QStringList{"/incoming/param/a.rar"};
        window.externalButton()->click();
        QCOMPARE(asked.size(), 3);
        QVERIFY(installed.isEmpty());
        QVERIFY(responder.messages.isEmpty());

        answers = QStringList{"/incoming/param/a.rar", "/incoming/movie/a.rar"};
        window.externalButton()->click();
        QCOMPARE(asked[3].caption, texts::kExternalParameterCaption);
        QCOMPARE(asked[4].caption, texts::kExternalMovieCaption);
        QVERIFY(!asked[4].several);
        QCOMPARE(asked[4].filter, texts::kExternalTemplateFilter);
        // The second question opens where the first file was found.
        QCOMPARE(asked[4].preset, QStringLiteral("/incoming/param/"));
        QCOMPARE(installed, (QStringList{"/incoming/param/a.rar", "/incoming/movie/a.rar"}));
        QCOMPARE(responder.messages, QStringList{texts::kExternalTemplateAdded.arg("外来")});
        QCOMPARE(window.catalogueList()->topLevelItemCount(), 4);
        QCOMPARE(rowTexts(window.catalogueList(), 3)[1], QStringLiteral("外来"));

        // The real installer refuses a damaged package and leaves the catalogue as it was.
        window.setTemplateInstaller([this](const QString& parameters, const QString& movie) {
            return installUserTemplate(*catalogue_, parameters, movie);
        });
        answers =
            QStringList{folder_->write("incoming/bad.rar", "damaged"),
                        folder_->write("incoming/movie.rar", packNested(kLandscapeMovie, 20))};
        responder.messages.clear();
        window.externalButton()->click();
        QCOMPARE(responder.messages.size(), 1);
        QVERIFY(responder.messages[0].startsWith(texts::kExternalTemplateRefused + u'\n' +
                                                 texts::kExternalParameterUnreadable.arg("")));
        QCOMPARE(catalogue_->records().size(), 4);
        QCOMPARE(window.catalogueList()->topLevelItemCount(), 4);
        window.reject();
    }

    void theCommandOpensTheManagerAndTheSummaryFollows() {
        SystemSettings settings;
        MainWindow window;
        auto* photos = new PhotoWindows(window, *album_, settings);
        auto* windows = new TemplateWindows(window, *album_, photos->pages());
        windows->preview()->setTiming({2, 2, 3000});
        TemplateManagerWindow* manager = windows->manager();
        test::ModalResponder responder;
        QStringList previewed;
        responder.other = [&](QWidget* modal) {
            if (auto* preview = qobject_cast<TemplatePreviewWindow*>(modal)) {
                // Back once the template has played to its end.
                whenReady(
                    preview,
                    [preview] {
                        return preview->isPrepared() && !preview->isStepping() &&
                               preview->backButton()->isEnabled() &&
                               QApplication::activeModalWidget() == preview;
                    },
                    [&, preview] {
                        previewed << previewModeWord(preview->request().mode);
                        preview->backButton()->click();
                    });
                return;
            }
            if (modal != manager) {
                return;
            }
            whenReady(manager, [&] {
                // The landscape single, filled with the wide photo and previewed.
                manager->catalogueList()->setCurrentItem(manager->catalogueList()->topLevelItem(1));
                manager->useTemplate();
                manager->usedList()->setCurrentItem(manager->usedList()->topLevelItem(0));
                manager->selectUsedTemplate();
                manager->dropPhoto(0, 0);
                manager->previewUsedTemplate();
                manager->reject();
            });
        };
        window.runCommand(Command::TemplateManager);
        QTRY_VERIFY(!manager->isVisible());
        QCOMPARE(responder.messages, QStringList{texts::kPhotosLoaded});
        QCOMPARE(previewed, QStringList{QStringLiteral("yulan_shiyongmoban")});
        QCOMPARE(album_->templates().size(), 1);
        QTreeWidget* summary = test::part<SummaryLists>(window)->templates();
        QCOMPARE(summary->topLevelItemCount(), 1);
        QCOMPARE(summary->topLevelItem(0)->text(1), QStringLiteral("单横"));

        // The chooser's offer to complete a template opens the manager on the next tick, with
        // no template selected.
        responder.messages.clear();
        responder.other = [&](QWidget* modal) {
            if (modal != manager) {
                return;
            }
            whenReady(manager, [&] {
                previewed << QString::number(manager->selectedTemplateNumber());
                manager->reject();
            });
        };
        emit windows->chooser()->completionRequested();
        QTRY_COMPARE(previewed.size(), 2);
        QCOMPARE(previewed.last(), QStringLiteral("0"));
        QTRY_VERIFY(!manager->isVisible());
    }

private:
    // Runs act once the manager has loaded its photos and is the window on top (polled from a
    // timer, so that the loading is not waited for inside itself).
    void whenReady(TemplateManagerWindow* manager, std::function<void()> act) {
        whenReady(
            manager,
            [manager] {
                return !manager->isLoadingPhotos() && QApplication::activeModalWidget() == manager;
            },
            std::move(act));
    }

    // Runs act once ready answers true, polled from a timer that goes with the window.
    void whenReady(QWidget* window, std::function<bool()> ready, std::function<void()> act) {
        auto* timer = new QTimer(window);
        connect(timer, &QTimer::timeout, window,
                [timer, ready = std::move(ready), act = std::move(act)] {
                    if (!ready()) {
                        return;
                    }
                    timer->deleteLater();
                    timer->stop();
                    act();
                });
        timer->start(10);
    }

    void selectUsed(TemplateManagerWindow& window, int row) {
        window.usedList()->setCurrentItem(window.usedList()->topLevelItem(row));
        window.selectUsedTemplate();
    }

    // Presses photo tile photoRow, drags it to a point of the window and lets go.
    void dragTileTo(TemplateManagerWindow& window, int photoRow, QPoint to) {
        QLabel* tile = window.photoTiles()[photoRow];
        const QPoint from = centreInWindow(tile, &window);
        sendMouse(tile, QEvent::MouseButtonPress, &window, from, Qt::LeftButton);
        QVERIFY(window.dragTile()->isVisible());
        sendMouse(tile, QEvent::MouseMove, &window, (from + to) / 2, Qt::LeftButton);
        sendMouse(tile, QEvent::MouseMove, &window, to, Qt::LeftButton);
        sendMouse(tile, QEvent::MouseButtonRelease, &window, to, Qt::NoButton);
        QVERIFY(!window.dragTile()->isVisible());
    }

    void dragTileToSlot(TemplateManagerWindow& window, int photoRow, int slotIndex) {
        dragTileTo(window, photoRow, centreInWindow(window.slotBoxes()[slotIndex], &window));
    }

    void saveShot(QWidget* window, const QString& name) {
        const QString folder = qEnvironmentVariable("VELLUMO_TEMPLATE_MANAGER_SHOTS");
        if (!folder.isEmpty()) {
            window->grab().toImage().save(folder + u'/' + name);
        }
    }

    void addPhoto(const QString& name, QSize size, QColor colour) {
        album_->addPhoto(test::writtenPhotoRecord(folder_->path(), name, size, colour));
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::TemplateManagerWindowTest)
#include "test_template_manager_window.moc"
