#include <QAbstractProxyModel>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "app/program.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/file_chooser.h"
#include "dialogs/folder_chooser.h"
#include "dialogs/insert_video_window.h"
#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "dialogs/record_widgets.h"
#include "dialogs/shared_window.h"
#include "skin/skin.h"
#include "skin/skin_texts.h"
#include "skin/skin_widgets.h"
#include "tests/support/modal_responder.h"

namespace vellumo {

namespace {

void releaseCloseLabel(SkinnedDialog* dialog) {
    QWidget* label = dialog->closeLabel();
    QTest::mousePress(label, Qt::LeftButton, {}, label->rect().center());
    QTest::mouseRelease(label, Qt::LeftButton, {}, label->rect().center());
}

// Shows a question and answers it with answer(dialog); returns confirm()'s result.
bool askAndAnswer(const QString& caption, const std::function<void(ConfirmDialog*)>& answer) {
    auto answer1 = test::whenModalShown([answer](QWidget* modal) {
        auto* dialog = qobject_cast<ConfirmDialog*>(modal);
        QVERIFY(dialog);
        answer(dialog);
    });
    return confirm(caption, QStringLiteral("是否确定?"));
}

}  // namespace

class DialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installLook(); }

    void cleanup() {
        // Every test answers its dialogs; none may be left open.
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000);
    }

    void messageCaptionDefaultsAndPersists() {
        MessageDialog& dialog = MessageDialog::shared();
        QCOMPARE(dialog.caption(), texts::kMessageCaption);
        QCOMPARE(dialog.size(), MessageDialog::kSize);

        QString shownText;
        QString shownCaption;
        auto answer2 = test::whenModalShown([&](QWidget* modal) {
            auto* message = qobject_cast<MessageDialog*>(modal);
            QVERIFY(message);
            shownText = message->message();
            shownCaption = message->titleLabel()->text();
            releaseCloseLabel(message);  // The close label acts like "确定".
        });
        setMessageCaption(QStringLiteral("组合模板"));
        showMessage(QStringLiteral("第一条"));
        QCOMPARE(shownText, QStringLiteral("第一条"));
        QCOMPARE(shownCaption, QStringLiteral("组合模板"));

        auto answer3 = test::whenModalShown([&](QWidget* modal) {
            shownCaption = static_cast<MessageDialog*>(modal)->titleLabel()->text();
            static_cast<MessageDialog*>(modal)->okButton()->click();
        });
        showMessage(QStringLiteral("第二条"));
        QCOMPARE(shownCaption, QStringLiteral("组合模板"));
        setMessageCaption(texts::kMessageCaption);
    }

    void longMessageIsNotCutOff() {
        MessageDialog dialog;
        dialog.setMessage(QStringLiteral("短"));
        QCOMPARE(dialog.size(), MessageDialog::kSize);

        QStringList lines;
        for (int i = 1; i <= 8; ++i) {
            lines
                << QStringLiteral("第%1个模板：参数文件中的总帧数不是数字，没有加入模板库").arg(i);
        }
        dialog.setMessage(lines.join(u'\n'));
        QVERIFY(dialog.height() > MessageDialog::kSize.height());
        QCOMPARE(dialog.width(), MessageDialog::kSize.width());
        // The wrapped text fits into what the dialog shows, and the button stays below it.
        auto* area = dialog.findChild<MessageArea*>();
        QVERIFY(area->height() >= area->neededHeight(area->width()));
        QVERIFY(dialog.okButton()->y() >= area->geometry().bottom());
        QVERIFY(dialog.okButton()->geometry().bottom() < dialog.height() - 6);
    }

    void messageWindowsCentreTheirButtonRowBelowTheText() {
        MessageWindow window(QSize(520, 190), QStringLiteral("标题"), 72);
        window.setMessage(QStringLiteral("一行"));
        QList<QPushButton*> buttons;
        for (bool accent : {true, false, false}) {
            buttons << window.addButton(QStringLiteral("按钮"), accent, 120);
        }
        QCOMPARE(buttons[0]->size(), QSize(120, 30));
        QVERIFY(buttons[0]->property("accent").toBool());
        QVERIFY(!buttons[1]->property("accent").toBool());

        // One line keeps the window's own size.
        auto* message = window.findChild<MessageArea*>();
        QCOMPARE(window.size(), QSize(520, 190));
        QCOMPARE(message->geometry(), QRect(20, 72, 480, MessageArea::kLineHeight));
        // Equal room on either side, 24 between, 22 above the bottom strip.
        QCOMPARE(buttons[0]->x(), 520 - buttons[2]->geometry().right() - 1);
        QCOMPARE(buttons[1]->x(), buttons[0]->x() + 120 + 24);
        QCOMPARE(buttons[2]->x(), buttons[1]->x() + 120 + 24);
        for (QPushButton* button : buttons) {
            QCOMPARE(button->y(), 190 - SkinnedDialog::kBottomHeight - 22 - 30);
        }

        // A longer text grows the window by what it needs beyond one line.
        window.setMessage(QStringList(6, QStringLiteral("很长的一行")).join(u'\n'));
        const int grown = message->neededHeight(480) - MessageArea::kLineHeight;
        QVERIFY(grown > 0);
        QCOMPARE(window.height(), 190 + grown);
        QCOMPARE(buttons[0]->y(), 190 + grown - SkinnedDialog::kBottomHeight - 22 - 30);
        QCOMPARE(window.message(), QStringList(6, QStringLiteral("很长的一行")).join(u'\n'));

        // A hidden button leaves no gap: the two others stand centred, 24 apart.
        buttons[1]->hide();
        window.setMessage(QStringLiteral("一行"));
        QCOMPARE(buttons[0]->x(), 520 - buttons[2]->geometry().right() - 1);
        QCOMPARE(buttons[2]->x(), buttons[0]->x() + 120 + 24);
    }

    void aSharedWindowIsMadeOnceAndAgainAfterItWasDeleted() {
        ProgressWindow& first = sharedWindow<ProgressWindow>();
        QCOMPARE(&ProgressWindow::shared(), &first);
        QPointer<ProgressWindow> watched = &first;
        delete &first;
        QVERIFY(watched.isNull());
        ProgressWindow& second = ProgressWindow::shared();
        QCOMPARE(&sharedWindow<ProgressWindow>(), &second);
        QVERIFY(!second.isVisible());
        QVERIFY(static_cast<QObject*>(&MessageDialog::shared()) !=
                static_cast<QObject*>(&ConfirmDialog::shared()));
    }

    void confirmAnswersYesOnlyFromOk() {
        QVERIFY(
            askAndAnswer(QStringLiteral("一"), [](ConfirmDialog* d) { d->okButton()->click(); }));
        QCOMPARE(ConfirmDialog::shared().answer(), texts::kAnswerYes);
        // A "yes" does not leak into the next question, whether it ends by close label,
        // "取消" or Escape.
        QVERIFY(
            !askAndAnswer(QStringLiteral("二"), [](ConfirmDialog* d) { releaseCloseLabel(d); }));
        QVERIFY(
            askAndAnswer(QStringLiteral("三"), [](ConfirmDialog* d) { d->okButton()->click(); }));
        QVERIFY(!askAndAnswer(QStringLiteral("四"),
                              [](ConfirmDialog* d) { d->cancelButton()->click(); }));
        QVERIFY(
            askAndAnswer(QStringLiteral("五"), [](ConfirmDialog* d) { d->okButton()->click(); }));
        QVERIFY(!askAndAnswer(QStringLiteral("六"),
                              [](ConfirmDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }));
        QVERIFY(ConfirmDialog::shared().answer().isEmpty());
    }

    void confirmShowsCaptionAndMessage() {
        QString caption;
        QString message;
        QSize size;
        auto answer4 = test::whenModalShown([&](QWidget* modal) {
            auto* dialog = static_cast<ConfirmDialog*>(modal);
            caption = dialog->titleLabel()->text();
            message = dialog->message();
            size = dialog->size();
            dialog->cancelButton()->click();
        });
        confirm(QStringLiteral("补全照片文件"), QStringLiteral("此模板中的照片文件没有补全"));
        QCOMPARE(caption, QStringLiteral("补全照片文件"));
        QCOMPARE(message, QStringLiteral("此模板中的照片文件没有补全"));
        QCOMPARE(size, ConfirmDialog::kSize);
    }

    void secondaryWindowSkinLayout() {
        InsertVideoWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.size(), InsertVideoWindow::kSize);
        QVERIFY(window.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(window.isModal());
        QCOMPARE(window.titleLabel()->pos(), QPoint(10, 10));
        QCOMPARE(window.titleLabel()->text(), texts::kInsertVideoCaption);
        const Skin& skin = Skin::shared();
        const int closeWidth = skin.dialogClose[SkinState::Normal].width();
        QCOMPARE(window.closeLabel()->geometry(),
                 QRect(window.width() - closeWidth, 0, closeWidth, 37));

        // The close label shows its hover and pressed pictures.
        SkinHotspot* close = window.closeLabel();
        QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
        QApplication::sendEvent(close, &enter);
        QCOMPARE(close->state(), SkinState::Hover);
        QTest::mousePress(close, Qt::LeftButton, {}, close->rect().center());
        QCOMPARE(close->state(), SkinState::Pressed);
        QTest::mouseRelease(close, Qt::LeftButton, {}, close->rect().center());
        // Releasing it acts like "取消".
        QTRY_VERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Rejected));
    }

    void folderChooserAppendsOneSeparatorAndCancelIsNoFolder() {
        QCOMPARE(albumFolderFromChoice(QStringLiteral("/home/user/相册")),
                 QStringLiteral("/home/user/相册/"));
        QCOMPARE(albumFolderFromChoice(QStringLiteral("/")), QStringLiteral("/"));
        QCOMPARE(albumFolderFromChoice(QStringLiteral("/media/disk/")),
                 QStringLiteral("/media/disk/"));

        QString title;
        auto answer5 = test::whenModalShown([&](QWidget* modal) {
            title = modal->windowTitle();
            static_cast<QDialog*>(modal)->reject();
        });
        QCOMPARE(chooseAlbumFolder(), QString());
        QCOMPARE(title, texts::kAlbumFolderTitle);

        // The title asks for [确定], and that is what the button says.
        QString acceptText;
        auto answerAccept = test::whenModalShown([&](QWidget* modal) {
            auto* box = modal->findChild<QDialogButtonBox*>();
            QVERIFY(box);
            acceptText = box->button(QDialogButtonBox::Open)
                             ? box->button(QDialogButtonBox::Open)->text()
                             : box->buttons().constFirst()->text();
            static_cast<QDialog*>(modal)->reject();
        });
        QCOMPARE(chooseAlbumFolder(), QString());
        QCOMPARE(acceptText, texts::kOk);

        const QString home = QDir::homePath();
        auto answer6 = test::whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            dialog->setDirectory(home);
            dialog->selectFile(home);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QString chosen = chooseAlbumFolder();
        QVERIFY2(chosen.endsWith(u'/') && !chosen.endsWith(QStringLiteral("//")),
                 qPrintable(chosen));
    }

    void fileDialogsSpeakChineseThroughout() {
        // A folder and a photo in the dialog's detail view: their kinds and dates in Chinese.
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("sub")));
        QFile photo(folder.filePath(QStringLiteral("a.jpg")));
        QVERIFY(photo.open(QIODevice::WriteOnly));
        photo.write(QByteArray::fromHex("ffd8ffe000104a46494600"));
        photo.close();
        QStringList kinds;
        QString date;
        QString size;
        auto answer = test::whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            auto* model = dialog->findChild<QFileSystemModel*>();
            QVERIFY(model);
            const QModelIndex sub = model->index(folder.filePath(QStringLiteral("sub")), 2);
            const QModelIndex jpg = model->index(folder.filePath(QStringLiteral("a.jpg")), 2);
            QTRY_VERIFY_WITH_TIMEOUT(
                !model->data(sub).toString().isEmpty() && !model->data(jpg).toString().isEmpty(),
                5000);
            kinds << model->data(sub).toString() << model->data(jpg).toString();
            // Through the dialog's proxy, as its views show it.
            const QAbstractItemModel* shown = dialog->proxyModel();
            QVERIFY(shown);
            date =
                shown->data(dialog->proxyModel()->mapFromSource(jpg.siblingAtColumn(3))).toString();
            size =
                shown->data(dialog->proxyModel()->mapFromSource(jpg.siblingAtColumn(1))).toString();
            dialog->reject();
        });
        chooseFiles(nullptr, {QStringLiteral("添加照片"), QStringLiteral("照片 (*.jpg)"), false,
                              folder.filePath(QStringLiteral("a.jpg"))});
        QCOMPARE(kinds, (QStringList{texts::kQtFolder, QStringLiteral("JPEG 图像")}));
        // No English month or day names.
        QVERIFY2(!date.isEmpty() && std::none_of(date.begin(), date.end(),
                                                 [](QChar c) { return c.isLetter() && c < u'z'; }),
                 qPrintable(date));
        QCOMPARE(QLocale().monthName(12), QStringLiteral("十二月"));
        QCOMPARE(size, QStringLiteral("11 ") + texts::kQtBytes);
    }

    void fileChooserAsksAsRequestedAndCancelChoosesNothing() {
        QTemporaryDir folder;
        const QString preset = folder.filePath(QStringLiteral("sample.mp3"));
        QFile file(preset);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();

        QString title;
        QStringList filters;
        bool several = false;
        auto answer1 = test::whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            title = dialog->windowTitle();
            filters = dialog->nameFilters();
            // Qt's own labels are in Chinese and dark on the dialog's light face.
            for (const char* name : {"lookInLabel", "fileNameLabel", "fileTypeLabel"}) {
                auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
                QVERIFY(label);
                const QString text = label->text();
                QVERIFY2(std::any_of(text.begin(), text.end(),
                                     [](QChar c) { return c.unicode() >= 0x4E00; }),
                         qPrintable(text));
                label->ensurePolished();
                QVERIFY(label->palette().color(QPalette::WindowText).lightness() < 80);
            }
            several = dialog->fileMode() == QFileDialog::ExistingFiles;
            dialog->reject();
        });
        QCOMPARE(chooseFiles(nullptr, {QStringLiteral("添加照片"), QStringLiteral("照片|*.jpg;"),
                                       false, QString()}),
                 QStringList());
        QCOMPARE(title, QStringLiteral("添加照片"));
        QCOMPARE(filters, QStringList{QStringLiteral("照片 (*.[jJ][pP][gG])")});
        QVERIFY(!several);

        // A name filter as the dialog takes it stays as it is; the preset file is chosen.
        auto answer2 = test::whenModalShown([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            QVERIFY(dialog);
            filters = dialog->nameFilters();
            several = dialog->fileMode() == QFileDialog::ExistingFiles;
            QMetaObject::invokeMethod(dialog, "accept");
        });
        const QStringList chosen = chooseFiles(
            nullptr, {QStringLiteral("添加音乐"), QStringLiteral("音乐 (*.mp3)"), true, preset});
        QCOMPARE(filters, QStringList{QStringLiteral("音乐 (*.mp3)")});
        QVERIFY(several);
        QCOMPARE(chosen, QStringList{preset});
    }

    void infoPanelShowsValuesInOrderAndClearsTheRest() {
        QWidget parent;
        InfoPanel panel({QStringLiteral("序号"), QStringLiteral("名称"), QStringLiteral("位置")},
                        InfoPanelLayout{64, 66, 100, 6, {}}, &parent);
        QCOMPARE(panel.fieldCount(), 3);
        QCOMPARE(panel.contentHeight(), 3 * InfoPanel::kRowHeight + 2 * 6);
        panel.showValues({QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("/x/a.jpg")});
        QCOMPARE(panel.value(2), QStringLiteral("/x/a.jpg"));
        // Fewer values than fields: the fields without one are emptied, not left as they were.
        panel.showValues({QStringLiteral("2")});
        QCOMPARE(panel.value(0), QStringLiteral("2"));
        QCOMPARE(panel.value(1), QString());
        QCOMPARE(panel.value(2), QString());
        QCOMPARE(panel.value(3), QString());
        QCOMPARE(panel.value(-1), QString());
        panel.clear();
        QCOMPARE(panel.value(0), QString());
    }
};

}  // namespace vellumo

QTEST_MAIN(vellumo::DialogsTest)
#include "test_dialogs.moc"
