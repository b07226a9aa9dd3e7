#include "dialogs/folder_chooser.h"

#include <QFileDialog>
#include <QPointer>

#include "dialogs/dialog_texts.h"
#include "dialogs/file_chooser.h"

namespace vellumo {

QString albumFolderFromChoice(const QString& chosen) {
    if (chosen.isEmpty() || chosen.endsWith(u'/')) {
        return chosen;
    }
    return chosen + u'/';
}

QString chooseAlbumFolder(QWidget* parent) {
    QPointer<QFileDialog> dialog = new QFileDialog(parent, texts::kAlbumFolderTitle);
    localiseDates(dialog);
    dialog->setAttribute(Qt::WA_DeleteOnClose, false);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    dialog->setObjectName(QStringLiteral("chooseAlbumFolder"));
    // The title asks for [确定]: the button says so.
    dialog->setLabelText(QFileDialog::Accept, texts::kOk);
    const int result = dialog->exec();
    QString chosen;
    if (dialog && result == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        chosen = dialog->selectedFiles().constFirst();
    }
    delete dialog.data();
    return albumFolderFromChoice(chosen);
}

}  // namespace vellumo
