#pragma once

// The file chooser the list windows open to add files, beside the album folder chooser.

#include <QString>
#include <QStringList>
#include <functional>

class QFileDialog;
class QWidget;

namespace vellumo {

// What a file dialog asks for.
struct FileRequest {
    QString caption;
    // "描述|*.jpg;*.jpeg;": the patterns match in any case and only the description is shown; a
    // filter without "|" is a name filter as the dialog takes it ("描述 (*.mp3)").
    QString filter;
    bool several = true;  // several files, or exactly one
    QString preset;       // the file chosen in the dialog as it opens; none when empty
};

// Lets the user choose files. Returns them in the dialog's order; none on cancel. Windows hold
// one of these so that tests can put their own chooser in place.
using FileChooser = std::function<QStringList(QWidget* parent, const FileRequest& request)>;
QStringList chooseFiles(QWidget* parent, const FileRequest& request);

// The dialog's dates in the program's language: Qt's own file dialog writes them in the
// system's, English where the system's is not Chinese. Every file dialog of the program has it.
void localiseDates(QFileDialog* dialog);

// "描述|*.jpg;*.jpeg;" as a name filter whose patterns match the extensions in any case
// ("描述 (*.[jJ][pP][gG] *.[jJ][pP][eE][gG])").
QString anyCaseNameFilter(const QString& filter);

}  // namespace vellumo
