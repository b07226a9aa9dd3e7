#include "skin/qt_texts.h"

#include <QCoreApplication>
#include <QHash>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "skin/skin_texts.h"

namespace vellumo {

namespace {

// Words of Qt that its Chinese catalogues do not carry (the file dialog's kind and size columns
// use them).
class MissingQtTexts : public QTranslator {
public:
    using QTranslator::QTranslator;

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation,
                      int n) const override {
        Q_UNUSED(disambiguation);
        Q_UNUSED(n);
        if (qstrcmp(context, "QLocale") == 0) {
            return qstrcmp(sourceText, "bytes") == 0 ? texts::kQtBytes : QString();
        }
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0) {
            return {};
        }
        static const QHash<QByteArray, QString> words{
            {"Drive", texts::kQtDrive},     {"File", texts::kQtFile},
            {"Folder", texts::kQtFolder},   {"Shortcut", texts::kQtShortcut},
            {"Unknown", texts::kQtUnknown},
        };
        return words.value(QByteArray(sourceText));
    }
};

bool installCatalogue(const QString& name, const QLocale& chinese) {
    const QString objectName = name + QStringLiteral("_zh_CN");
    if (QCoreApplication::instance()->findChild<QTranslator*>(objectName)) {
        return true;
    }
    auto* translator = new QTranslator(QCoreApplication::instance());
    translator->setObjectName(objectName);
    if (!translator->load(chinese, name, QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

}  // namespace

bool installQtChineseTexts() {
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    // Once per application: the translators are its children. Installed last, ours is asked
    // first, and answers only the words the catalogues miss.
    const bool base = installCatalogue(QStringLiteral("qtbase"), chinese);
    // "qt" draws in the catalogues of the other Qt modules that are installed.
    const bool modules = installCatalogue(QStringLiteral("qt"), chinese);
    const QString missing = QStringLiteral("missingQtTexts");
    if (!QCoreApplication::instance()->findChild<QTranslator*>(missing)) {
        auto* translator = new MissingQtTexts(QCoreApplication::instance());
        translator->setObjectName(missing);
        QCoreApplication::installTranslator(translator);
    }
    return base && modules;
}

}  // namespace vellumo
