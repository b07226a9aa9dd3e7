#include <QProgressBar>
#include <QtTest>

#include <stdexcept>

#include "app/main_window.h"
#include "dialogs/progress_window.h"
#include "skin/fonts.h"
#include "skin/skin.h"
#include "workspace/errors.h"

namespace vellumo {

class ProgressWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        installFontSubstitutions();
        qApp->setStyleSheet(skinStyleSheet());
    }

    void cleanup() { QTRY_VERIFY_WITH_TIMEOUT(QApplication::activeModalWidget() == nullptr, 2000); }

    void taskRunsInTheShownModalWindowAndClosesIt() {
        ProgressWindow window;
        QCOMPARE(window.taskDelay(), 500);
        window.setTaskDelay(20);
        int steps = 0;
        bool shownModal = false;
        Qt::CursorShape cursor = Qt::ArrowCursor;
        QString caption;
        window.run(QStringLiteral("添加照片"), 3, [&] {
            shownModal = window.isVisible() && QApplication::activeModalWidget() == &window;
            cursor = window.cursor().shape();
            caption = window.caption();
            for (int i = 0; i < 3; ++i) {
                window.advance();
                ++steps;
                QCOMPARE(window.value(), steps);
            }
            // The bar stops at its maximum.
            window.advance(5);
            QCOMPARE(window.value(), 3);
        });
        QCOMPARE(steps, 3);
        QVERIFY(shownModal);
        QCOMPARE(cursor, Qt::WaitCursor);
        QCOMPARE(caption, QStringLiteral("添加照片"));
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isRunning());
        QCOMPARE(window.value(), window.maximum());
    }

    void nothingButTheTaskEndClosesTheWindow() {
        ProgressWindow window;
        window.setTaskDelay(1);
        bool stillOpen = false;
        window.run(QStringLiteral("自动匹配模板"), 2, [&] {
            window.reject();
            QTest::keyClick(&window, Qt::Key_Escape);
            window.close();
            ProgressWindow::letEventsThrough();
            stillOpen = window.isVisible();
        });
        QVERIFY(stillOpen);
        QVERIFY(!window.isVisible());
    }

    void aFailingTaskClosesTheWindowAndIsThrownOn() {
        ProgressWindow window;
        window.setTaskDelay(1);
        try {
            window.run(QStringLiteral("加载照片"), 9,
                       [] { throw Error(QStringLiteral("照片文件无法读取")); });
            QFAIL("no exception");
        } catch (const Error& e) {
            QCOMPARE(e.message(), QStringLiteral("照片文件无法读取"));
        }
        QVERIFY(!window.isVisible());
        QVERIFY(!window.isRunning());
        // The window serves the next task as before.
        bool ran = false;
        window.run(QStringLiteral("加载照片"), 1, [&] { ran = true; });
        QVERIFY(ran);
    }

    void aTaskStartedInsideARunningOneRunsAtOnce() {
        ProgressWindow window;
        window.setTaskDelay(1);
        QStringList order;
        window.run(QStringLiteral("添加照片"), 4, [&] {
            order << QStringLiteral("outer");
            window.run(QStringLiteral("加载照片"), 9, [&] { order << QStringLiteral("inner"); });
            order << QStringLiteral("outer again");
            QCOMPARE(window.caption(), QStringLiteral("添加照片"));
        });
        QCOMPARE(order, (QStringList{QStringLiteral("outer"), QStringLiteral("inner"),
                                     QStringLiteral("outer again")}));
    }
};

}  // namespace vellumo

QTEST_MAIN(vellumo::ProgressWindowTest)
#include "test_progress_window.moc"
