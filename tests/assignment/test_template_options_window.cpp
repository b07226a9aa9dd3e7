#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QtTest>

#include "album/photo_list_texts.h"
#include "app/main_window.h"
#include "assignment/assignment_texts.h"
#include "assignment/template_options_window.h"
#include "dialogs/progress_window.h"
#include "lists/photo_list_window.h"
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

QStringList row(const QTreeWidget* list, int r) {
    QStringList texts;
    for (int c = 0; c < list->columnCount(); ++c) {
        texts << list->topLevelItem(r)->text(c);
    }
    return texts;
}

void releaseOn(QWidget* widget) {
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(3, 3),
                        widget->mapToGlobal(QPointF(3, 3)), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

}  // namespace

class TemplateOptionsWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { test::useWindowLook(1); }

    void init() {
        folder_ = std::make_unique<test::TempFolder>();
        setProgramFolder(folder_->path());
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({test::templateRecord("A", "|picture_1|", "|heng|"),
                                test::templateRecord("B", "|picture_1|picture_2|", "|heng|heng|"),
                                test::templateRecord("P", "|picture_1|", "|shu|")});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
        settings_.setTemplateCombination(TemplateCombination::Use);
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 3000);
        album_.reset();
        setProgramFolder(QString());
    }

    void windowListsTheCombinationsAndExplainsTheSelection() {
        writeCombination(1, "A~1~0~", "B~2~0~");
        writeCombination(2, "A~1~0~", "P~0~1~");
        writeCombination(3, "P~0~1~");
        TemplateOptionsWindow window;
        QString seen;
        test::ModalResponder responder;
        responder.other = [&](QWidget* modal) {
            auto* options = qobject_cast<TemplateOptionsWindow*>(modal);
            if (options) {
                inspectOptions(options);
                seen = options->nameField()->text();
                options->combinationButton()->click();
            }
        };
        QCOMPARE(window.chooseAssignmentWay(), PlacementMode::Combined);
        QCOMPARE(seen, QStringLiteral("模板组合 - 3"));
        QCOMPARE(responder.others, 1);
    }

    void clicksBesideTheRowsAreAnsweredUnderTheCombinationCaption() {
        writeCombination(1, "A~1~0~");
        TemplateOptionsWindow window;
        window.setCombinations(readCombinationList());
        test::ModalResponder responder;
        responder.other = [](QWidget*) {};  // the window itself stays open
        window.show();
        window.clickRow(-1);
        QCOMPARE(responder.captions, QStringList{QStringLiteral("组合模板")});
        QCOMPARE(responder.messages, QStringList{QStringLiteral("没有选中组合模板！")});
        // The selection stays what it was.
        QCOMPARE(window.selectedIndex(), 0);
        QCOMPARE(window.list()->currentItem(), window.list()->topLevelItem(0));
        // The caption goes back for the messages that follow.
        QCOMPARE(MessageDialog::shared().caption(), QStringLiteral("提示"));
        window.randomButton()->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.mode(), PlacementMode::Random);
    }

    void withoutPackagesOnlyTheRotationIsOffered() {
        TemplateOptionsWindow window;
        test::ModalResponder responder;
        int rows = -1;
        bool noteShown = false;
        bool combinationOffered = true;
        QString explanation;
        responder.other = [&](QWidget* modal) {
            auto* options = qobject_cast<TemplateOptionsWindow*>(modal);
            if (!options) {
                return;
            }
            rows = options->list()->topLevelItemCount();
            noteShown = options->noteLabel()->isVisible() &&
                        options->noteLabel()->text() == texts::kNoCombinationInstalled;
            combinationOffered = options->combinationButton()->isEnabled();
            explanation = options->explanation();
            options->clickRow(-1);
            options->randomButton()->click();
        };
        QCOMPARE(window.chooseAssignmentWay(), PlacementMode::Random);
        QCOMPARE(rows, 0);
        QVERIFY(noteShown);
        QVERIFY(!combinationOffered);
        QCOMPARE(explanation, texts::kExplanationEmpty);
        QCOMPARE(responder.messages, QStringList{texts::kNoCombination});
    }

    void combinedAddFillsTheMembersAgainUntilEveryPhotoIsIn() {
        writeCombination(1, "A~1~0~", "B~2~0~");
        // Three photos: one pass, A (1) and B (2, 3).
        addWithCombination({{landscape(3)}});
        QCOMPARE(usedTemplates(), (QStringList{"A", "B"}));
        QCOMPARE(slotPhotoRows(), (QVector<int>{0, 1, 2}));
        QCOMPARE(album_->placementMode(), PlacementMode::Combined);
        QCOMPARE(ProgressWindow::shared().caption(), texts::kAddPhotosTitle);
        QVERIFY(messages_.isEmpty());

        // Five photos: A (1), B (2, 3), then A (4), B (5, 1).
        album_->deleteAllPhotos();
        addWithCombination({{landscape(5)}});
        QCOMPARE(usedTemplates(), (QStringList{"A", "B", "A", "B"}));
        QCOMPARE(slotPhotoRows(), (QVector<int>{0, 1, 2, 3, 4, 0}));
        QVERIFY(album_->templates().invariantViolations().isEmpty());
        for (const PhotoRecord& p : album_->photos().records()) {
            QVERIFY(p.inTemplate);
        }
    }

    void pickingAsksAgainUntilTheNeededOrientationIsThere() {
        writeCombination(1, "A~1~0~");
        const QString tall = photo("tall.jpg", {300, 400});
        // Only a portrait photo: told, asked again; then a landscape one.
        addWithCombination({{tall}, landscape(1)});
        QCOMPARE(chooserCalls_, 2);
        QCOMPARE(messages_.first(), QStringLiteral("当前选中的组合模板，至少需要添加 1 张横照片,"
                                                   "点[确定]按钮继续添加照片"));
        // Both files are in; the portrait one has no member to go into, and the user is told.
        QCOMPARE(album_->photos().size(), 2);
        QCOMPARE(usedTemplates(), QStringList{"A"});
        QCOMPARE(messages_.size(), 2);
        QCOMPARE(messages_.last(),
                 (QStringList{texts::kPhotosLeftUnplaced.arg(1),
                              texts::kUnplacedPhotoLine.arg(2).arg("tall", texts::kPortraitPhoto),
                              texts::kCombinationTakesNoPortrait}
                      .join("\n")));

        // A cancelled dialog in the loop adds nothing.
        album_->deleteAllPhotos();
        addWithCombination({{photo("tall2.jpg", {300, 400})}, {}});
        QCOMPARE(album_->photos().size(), 0);
        QCOMPARE(album_->templates().size(), 0);
        QCOMPARE(messages_, QStringList{texts::kNeedLandscapeForCombination});
    }

    void turnedPhotoCountsAsPortrait() {
        writeCombination(1, "A~1~0~", "P~0~1~");
        // Stored landscape, turned upright to portrait by its EXIF orientation.
        const QString turned = test::writePhoto(folder_->path() + "turned.jpg", {400, 300}, 6);
        addWithCombination({{turned}, landscape(2)});
        // The turned photo satisfied the portrait member, so only a landscape one was asked for.
        QCOMPARE(messages_, QStringList{texts::kNeedLandscapeForCombination});
        QCOMPARE(chooserCalls_, 2);
        QCOMPARE(album_->photos().size(), 3);
        const PhotoRecord& portrait = album_->photos().at(2);
        QCOMPARE(portrait.name, QStringLiteral("turned"));
        QCOMPARE(QSize(portrait.width, portrait.height), QSize(300, 400));
        // First pass A (1), P (turned); then A (2), and every photo is in.
        QCOMPARE(usedTemplates(), (QStringList{"A", "P", "A"}));
        QCOMPARE(slotPhotoRows(), (QVector<int>{0, 2, 1}));
    }

    void rotationChosenInTheWindowAddsAsWithoutTheSetting() {
        writeCombination(1, "A~1~0~");
        chooseCombination_ = false;
        addWithCombination({{landscape(3)}});
        QCOMPARE(album_->placementMode(), PlacementMode::Random);
        // The rotation: the advanced B takes two, the single A the third.
        QCOMPARE(usedTemplates(), (QStringList{"B", "A"}));
    }

private:
    // What the window shows for the three combinations, and how its selection follows clicks.
    void inspectOptions(TemplateOptionsWindow* options) {
        QCOMPARE(options->caption(), QStringLiteral("模板选项：自动为添加的照片分配模板方式"));
        QTreeWidget* list = options->list();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->headerItem()->text(3), QStringLiteral("照片总数(张)"));
        QCOMPARE(row(list, 0), (QStringList{"模板组合 - 1", "3", "0", "3"}));
        QCOMPARE(row(list, 1), (QStringList{"模板组合 - 2", "1", "1", "2"}));
        QCOMPARE(row(list, 2), (QStringList{"模板组合 - 3", "0", "1", "1"}));
        // The first row is selected.
        QCOMPARE(options->selectedIndex(), 0);
        QCOMPARE(options->nameField()->text(), QStringLiteral("模板组合 - 1"));
        QCOMPARE(options->landscapeField()->text(), QStringLiteral("3 张"));
        QCOMPARE(options->portraitField()->text(), QStringLiteral("0 张"));
        QCOMPARE(options->explanation(), texts::kExplanationLandscape);
        QVERIFY(options->noteLabel()->isHidden());

        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->topLevelItem(1)).center());
        QCOMPARE(options->selectedIndex(), 1);
        QCOMPARE(options->explanation(), texts::kExplanationBoth);
        options->clickRow(2);
        QCOMPARE(options->explanation(), texts::kExplanationPortrait);
        QCOMPARE(options->neededLandscape(), 0);
        QCOMPARE(options->neededPortrait(), 1);
        QCOMPARE(options->selectedPackage(), 3);

        // The title-bar close and Esc do not close it.
        releaseOn(options->closeLabel());
        QTest::keyClick(options, Qt::Key_Escape);
        options->close();
        QVERIFY(options->isVisible());
        for (QPushButton* button : {options->combinationButton(), options->randomButton()}) {
            QCOMPARE(button->toolTip(), QStringLiteral("点此按钮，开始添加照片。"));
        }
        QCOMPARE(options->combinationButton()->text(), texts::kUseCombination);
        QCOMPARE(options->randomButton()->text(), texts::kUseRandom);
    }

    void writeCombination(int k, const QString& member1, const QString& member2 = {}) {
        QString text = QStringLiteral("[zuhemoban_canshu]\r\nshuliang=%1\r\ncanshu_1=%2\r\n")
                           .arg(member2.isEmpty() ? 1 : 2)
                           .arg(member1);
        if (!member2.isEmpty()) {
            text += QStringLiteral("canshu_2=%1\r\n").arg(member2);
        }
        folder_->write(paths::combinedTemplatePackage(k), packNested(text.toLatin1(), 3));
    }

    QString photo(const QString& name, QSize size) {
        return test::writePhoto(folder_->path() + name, size);
    }

    QStringList landscape(int count) {
        QStringList files;
        for (int i = 0; i < count; ++i) {
            files << photo(QStringLiteral("l%1_%2.jpg").arg(made_++).arg(i), {400, 300});
        }
        return files;
    }

    // "添加照片" in the photo list window with the setting on; each dialog returns the next
    // list of files (none: cancelled).
    void addWithCombination(QList<QStringList> dialogs) {
        PhotoListWindow window(*album_, settings_);
        TemplateOptionsWindow options;
        window.setOptionsWindow(&options);
        chooserCalls_ = 0;
        window.setFileChooser([&](QWidget*, const FileRequest&) {
            ++chooserCalls_;
            return dialogs.isEmpty() ? QStringList() : dialogs.takeFirst();
        });
        test::ModalResponder responder;
        responder.other = [this](QWidget* modal) {
            if (auto* o = qobject_cast<TemplateOptionsWindow*>(modal)) {
                (chooseCombination_ ? o->combinationButton() : o->randomButton())->click();
            }
        };
        window.show();
        window.addButton()->click();
        messages_ = responder.messages;
    }

    QStringList usedTemplates() const {
        QStringList names;
        for (const UsedTemplate& t : album_->templates().templates()) {
            names << t.info->name;
        }
        return names;
    }

    QVector<int> slotPhotoRows() const {
        QVector<int> rows;
        for (const PhotoSlot& s : album_->templates().slotTable()) {
            rows << s.photoRow;
        }
        return rows;
    }

    std::unique_ptr<test::TempFolder> folder_;
    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
    SystemSettings settings_;
    QStringList messages_;
    int chooserCalls_ = 0;
    int made_ = 0;
    bool chooseCombination_ = true;
};

}  // namespace vellumo

QTEST_MAIN(vellumo::TemplateOptionsWindowTest)
#include "test_template_options_window.moc"
