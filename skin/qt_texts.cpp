#include "skin/qt_texts.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace vellumo {

bool installQtChineseTexts() {
    // Once per application: the translator is its child.
    const QString name = QStringLiteral("qtbase_zh_CN");
    if (QCoreApplication::instance()->findChild<QTranslator*>(name)) {
        return true;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(name);
    if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                          QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace vellumo
