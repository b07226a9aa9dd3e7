#include "dialogs/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QPointer>
#include <QTreeView>

namespace vellumo {

namespace {

// The file model's size and "Date Modified" columns in the default locale (Chinese).
class LocalDates : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& index, int role) const override {
        static constexpr int kSizeColumn = 1;
        static constexpr int kDateColumn = 3;
        const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (files && role == Qt::DisplayRole) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == kDateColumn) {
                return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
            }
            if (index.column() == kSizeColumn && !files->isDir(source)) {
                return QLocale().formattedDataSize(files->size(source));
            }
        }
        return QIdentityProxyModel::data(index, role);
    }
};

}  // namespace

void localiseDates(QFileDialog* dialog) {
    dialog->setProxyModel(new LocalDates(dialog));
    // The columns as wide as what they hold, not cut to "2026/1…".
    if (auto* details = dialog->findChild<QTreeView*>()) {
        details->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
        details->header()->setStretchLastSection(false);
    }
}

QString anyCaseNameFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    const QString description = bar < 0 ? filter : filter.left(bar);
    QStringList patterns;
    for (const QString& pattern :
         (bar < 0 ? QString() : filter.mid(bar + 1)).split(u';', Qt::SkipEmptyParts)) {
        QString anyCase;
        for (const QChar c : pattern.trimmed()) {
            if (c.isLetter() && c.toLower() != c.toUpper()) {
                anyCase += u'[' + QString(c.toLower()) + QString(c.toUpper()) + u']';
            } else {
                anyCase += c;
            }
        }
        patterns << anyCase;
    }
    return description + QStringLiteral(" (") + patterns.join(u' ') + u')';
}

QStringList chooseFiles(QWidget* parent, const FileRequest& request) {
    QPointer<QFileDialog> dialog = new QFileDialog(parent, request.caption);
    localiseDates(dialog);
    dialog->setFileMode(request.several ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (request.filter.contains(u'|')) {
        dialog->setNameFilter(anyCaseNameFilter(request.filter));
        dialog->setOption(QFileDialog::HideNameFilterDetails);
    } else {
        dialog->setNameFilter(request.filter);
    }
    if (!request.preset.isEmpty()) {
        dialog->setDirectory(QFileInfo(request.preset).absolutePath());
        dialog->selectFile(request.preset);
    }
    const int result = dialog->exec();
    QStringList chosen;
    if (dialog && result == QDialog::Accepted) {
        chosen = dialog->selectedFiles();
    }
    // The dialog may already be gone when its parent closed while it was open.
    delete dialog.data();
    return chosen;
}

}  // namespace vellumo
