// The last line of defence against an exception that escapes a command: the program goes on
// with the album as it was before the command, and the user reads what went wrong.

#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <stdexcept>

#include "app/app_texts.h"
#include "app/command_panel.h"
#include "app/guarded_application.h"
#include "app/main_window.h"
#include "dialogs/message_dialog.h"
#include "project/album.h"
#include "tests/support/album_builders.h"
#include "tests/support/main_window_parts.h"
#include "tests/support/modal_responder.h"
#include "workspace/errors.h"

namespace vellumo {

using test::part;

class GuardedApplicationTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        catalogue_ = std::make_unique<Catalogue>();
        catalogue_->setRecords({test::templateRecord("A", "|picture_1|", "|heng|")});
        album_ = std::make_unique<Album>(*catalogue_, [](int) { return 0; });
        album_->addPhoto(test::photoRecord("one", 400, 300));
        album_->addTemplate(test::entryOf(*catalogue_, 0, TemplateClass::LandscapeSingle));
        album_->placePhoto(0, 0, 0);
        guard().guardAlbum(album_.get());
        restored_ = 0;
        guard().setRestoredHandler([this] { ++restored_; });
        window_ = std::make_unique<MainWindow>();
        window_->show();
        responder_ = std::make_unique<test::ModalResponder>();
    }

    void cleanup() {
        QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 3000);
        responder_.reset();
        window_.reset();
        guard().guardAlbum(nullptr);
        album_.reset();
    }

    void aCommandThatThrowsIsUndoneAndToldAndTheProgramGoesOn() {
        window_->setCommandHandler(Command::AddMusic, [this] {
            // Half-way through its work the command meets an error nobody caught.
            album_->deleteAllPhotos();
            album_->addPhoto(test::photoRecord("stray", 300, 400));
            test::changeOptions(*album_, [&](OutputOptions& options) {
                options.albumName = QStringLiteral("半途");
            });
            throw Error(QStringLiteral("磁盘空间不足"));
        });
        int settingsRuns = 0;
        window_->setCommandHandler(Command::Settings, [&] { ++settingsRuns; });
        const int failuresBefore = guard().failures();

        QTest::mouseClick(part<CommandPanel>(*window_)->button(Command::AddMusic), Qt::LeftButton);
        QTRY_COMPARE(responder_->messages.size(), 1);
        QCOMPARE(responder_->messages.first(),
                 texts::kCommandFailed.arg(QStringLiteral("磁盘空间不足")));
        QCOMPARE(guard().failures(), failuresBefore + 1);
        QCOMPARE(restored_, 1);
        // The album as before the command: its photo, its template with the photo in it.
        QCOMPARE(album_->photos().size(), 1);
        QCOMPARE(album_->photos().at(0).name, QStringLiteral("one"));
        QVERIFY(album_->photos().at(0).inTemplate);
        QCOMPARE(album_->templates().size(), 1);
        QCOMPARE(album_->templates().slot(0).photoRow, 0);
        QCOMPARE(album_->backgrounds().rows().size(), 1);
        QVERIFY(album_->outputOptions().albumName.isEmpty());
        QVERIFY(album_->templates().invariantViolations().isEmpty());

        // The window still answers.
        QTest::mouseClick(part<CommandPanel>(*window_)->button(Command::Settings), Qt::LeftButton);
        QCOMPARE(settingsRuns, 1);
        QTest::qWait(20);
        QCOMPARE(responder_->messages.size(), 1);
    }

    void aTimerThatThrowsIsStoppedAndToldOnce() {
        QTimer timer;
        int ticks = 0;
        connect(&timer, &QTimer::timeout, this, [&] {
            ++ticks;
            album_->deletePhoto(0);
            throw std::runtime_error("frame buffer lost");
        });
        timer.start(1);
        QTRY_COMPARE(responder_->messages.size(), 1);
        QCOMPARE(responder_->messages.first(),
                 texts::kCommandFailed.arg(QStringLiteral("frame buffer lost")));
        QVERIFY(!timer.isActive());
        QCOMPARE(ticks, 1);
        QCOMPARE(album_->photos().size(), 1);

        // Something that is not an exception class at all.
        QTimer::singleShot(0, this, [] { throw 42; });
        QTRY_COMPARE(responder_->messages.size(), 2);
        QCOMPARE(responder_->messages.last(), texts::kCommandFailed.arg(texts::kUnknownError));
    }

private:
    static GuardedApplication& guard() { return *static_cast<GuardedApplication*>(qApp); }

    std::unique_ptr<Catalogue> catalogue_;
    std::unique_ptr<Album> album_;
    std::unique_ptr<MainWindow> window_;
    std::unique_ptr<test::ModalResponder> responder_;
    int restored_ = 0;
};

}  // namespace vellumo

int main(int argc, char* argv[]) {
    vellumo::GuardedApplication app(argc, argv);
    vellumo::GuardedApplicationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_guarded_application.moc"
