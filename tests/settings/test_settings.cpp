#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

#include "app/program.h"
#include "settings/settings_texts.h"
#include "settings/settings_window.h"
#include "settings/system_settings.h"
#include "skin/skin_widgets.h"

namespace vellumo {

class SettingsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { installLook(); }

    void windowShowsFiveGroupsWithTheirCaptionsAndDefaults() {
        SystemSettings settings;
        SettingsWindow window(settings);
        QCOMPARE(window.caption(), texts::kSettingsCaption);
        QStringList groups;
        for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
            groups << group->title();
        }
        QCOMPARE(groups,
                 (QStringList{texts::kLandscapeImportCropGroup, texts::kPortraitImportCropGroup,
                              texts::kLandscapeDisplayGroup, texts::kPortraitDisplayGroup,
                              texts::kTemplateCombinationGroup}));
        QCOMPARE(window.findChildren<QRadioButton*>().size(), 8);
        QVERIFY(window.landscapeCropFullScreen()->isChecked());
        QVERIFY(window.portraitCropMedium()->isChecked());
        QVERIFY(window.landscapeDisplayFullScreen()->isChecked());
        QVERIFY(window.portraitDisplayMedium()->isChecked());
        QVERIFY(window.combinationOff()->isChecked());
        QCOMPARE(window.combinationOn()->text(), texts::kTemplateCombinationOn);
        QCOMPARE(window.landscapeDisplayMedium()->text(), texts::kLandscapeDisplayMedium);
        // Photos keep the order they were chosen in unless asked otherwise.
        QCOMPARE(window.orderByTimeTaken()->text(), texts::kOrderByTimeTaken);
        QVERIFY(!window.orderByTimeTaken()->isChecked());
        QVERIFY(!settings.orderByTimeTaken());
        // The check box stands inside the window, below the last group.
        QVERIFY(window.rect().contains(window.orderByTimeTaken()->geometry()));
        QVERIFY(window.orderByTimeTaken()->geometry().top() >=
                window.combinationOn()->parentWidget()->geometry().bottom());
    }

    void changesTakeEffectAtOnceAndReadersSeeThem() {
        SystemSettings settings;
        SettingsWindow window(settings);
        QSignalSpy changed(&settings, &SystemSettings::changed);
        window.show();
        QTest::mouseClick(window.landscapeDisplayMedium(), Qt::LeftButton);
        QVERIFY(settings.landscapeDisplayMedium());
        QTest::mouseClick(window.combinationOn(), Qt::LeftButton);
        QVERIFY(settings.useTemplateCombination());
        QTest::mouseClick(window.landscapeCropMedium(), Qt::LeftButton);
        QCOMPARE(settings.landscapeImportCrop(), PhotoFit::Medium);
        QTest::mouseClick(window.orderByTimeTaken(), Qt::LeftButton);
        QVERIFY(settings.orderByTimeTaken());
        QCOMPARE(changed.count(), 4);

        // A single-choice group cannot be switched off.
        QTest::mouseClick(window.portraitDisplayMedium(), Qt::LeftButton);
        QVERIFY(window.portraitDisplayMedium()->isChecked());
        QVERIFY(settings.portraitDisplayMedium());

        // Changes made elsewhere show when the window opens again; there is no cancel.
        window.hide();
        settings.setLandscapeDisplay(PhotoFit::FullScreen);
        window.show();
        QVERIFY(window.landscapeDisplayFullScreen()->isChecked());
        QVERIFY(window.combinationOn()->isChecked());
    }

    void closeLabelClosesAndKeepsTheChanges() {
        SystemSettings settings;
        SettingsWindow window(settings);
        window.show();
        QTest::mouseClick(window.combinationOn(), Qt::LeftButton);
        QWidget* close = window.closeLabel();
        QTest::mousePress(close, Qt::LeftButton, {}, close->rect().center());
        QTest::mouseRelease(close, Qt::LeftButton, {}, close->rect().center());
        QTRY_VERIFY(!window.isVisible());
        QVERIFY(settings.useTemplateCombination());
    }

    void aNewRunStartsAtTheDefaults() {
        const QString instance =
            QStringLiteral("vellumo-settings-test-%1").arg(QCoreApplication::applicationPid());
        {
            Program first({}, {instance, 0});
            QVERIFY(first.start());
            first.settings().setLandscapeDisplay(PhotoFit::Medium);
            first.settings().setTemplateCombination(TemplateCombination::Use);
            first.settings().setLandscapeImportCrop(PhotoFit::Medium);
            first.settings().setOrderByTimeTaken(true);
            first.endProgram();
        }
        Program second({}, {instance, 0});
        QVERIFY(second.start());
        QVERIFY(!second.settings().landscapeDisplayMedium());
        QVERIFY(!second.settings().useTemplateCombination());
        QCOMPARE(second.settings().landscapeImportCrop(), PhotoFit::FullScreen);
        QVERIFY(second.settings().portraitImportCropMedium());
        QVERIFY(!second.settings().orderByTimeTaken());
        second.endProgram();
    }
};

}  // namespace vellumo

QTEST_MAIN(vellumo::SettingsTest)
#include "test_settings.moc"
