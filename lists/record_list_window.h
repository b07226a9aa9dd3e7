#pragma once

// The base of the list windows: the album's records of one kind in a list, an information panel
// with the selected record's fields, a row of buttons, and what the windows share: showing the
// selected record, adding files through the progress window, deleting one record or all of them.
// A window tells the base its records through a RecordRows. Two layouts: the list beside a
// preview box (photos, backgrounds) and the list above the panel (music, lyrics).

#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>

#include "dialogs/file_chooser.h"
#include "dialogs/skinned_dialog.h"

#include <QFlags>

class QLabel;
class QPushButton;
class QTreeWidget;

namespace vellumo {

class Album;
enum class AlbumPart : unsigned;

class FittingCanvas;
class InfoPanel;

// The records a list window shows, one a row.
class RecordRows {
public:
    virtual ~RecordRows() = default;
    virtual int count() const = 0;
    // One text for each column of the list / each field of the information panel.
    virtual QStringList cells(int row) const = 0;
    virtual QStringList fields(int row) const = 0;
    // Deletes through the album's model; a kind whose records are not deleted leaves them be.
    virtual void remove(int /*row*/) {}
    virtual void removeAll() {}
};

// What a list window says about its records.
struct RecordTexts {
    QString empty;           // the list has no record
    QString noneSelected;    // no row is selected
    QString deleteCaption;   // the confirm dialog's title
    QString deleteQuestion;  // before deleting the selected record
    QString deleted;         // after deleting it
    QString deleteAllQuestion;
    QString allDeleted;
};

class RecordListWindow : public SkinnedDialog {
    Q_OBJECT
public:
    QTreeWidget* list() const { return list_; }
    InfoPanel* info() const { return info_; }
    // The preview box beside the list; none in the layout without one.
    QLabel* preview() const { return preview_; }
    QPushButton* addButton() const { return add_; }
    QPushButton* deleteButton() const { return delete_; }
    QPushButton* deleteAllButton() const { return deleteAll_; }
    QPushButton* returnButton() const { return return_; }

    void setFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }
    // "0" until this window's add dialog has been opened in this run, "1" after.
    QString firstOpenFlag() const;

    // Rebuilds the list from the records, numbered 1, 2, 3 …; no row is selected afterwards and
    // the preview and the information panel are empty.
    void refreshList();
    // Shows the selected row's record: its picture in the preview box (where the window shows
    // pictures) and its fields in the information panel.
    void showSelected();
    // Empties the preview box, its hint and the information panel.
    void clearPreview();
    // "删除…": asks, deletes the selected record and says so.
    void deleteSelected();
    // "全部删除": asks, deletes every record and says so.
    void deleteAll();

protected:
    RecordListWindow(QSize size, const QString& caption, std::unique_ptr<RecordRows> rows,
                     RecordTexts texts, QWidget* parent);
    ~RecordListWindow() override;

    // The list on the left, the preview box on the right with the information panel below it,
    // the buttons in a row under the list; a click on a row shows it.
    struct BesidePreview {
        QSize list;
        QList<int> columnWidths;
        bool stretchLastColumn = true;
        QSize previewBox;
        QString previewName;
    };
    void buildBesidePreview(const BesidePreview& layout, const QStringList& columns,
                            const QStringList& fields);
    // The list across the top, the information panel framed below it on the left, the buttons in
    // two columns on the right; selecting a row shows it.
    void buildBelowList(const QStringList& columns, const QStringList& fields);

    // The next button: along the row (width wide) beside a preview, along the two columns (all
    // alike) below a list.
    QPushButton* makeButton(const QString& caption, int width = 100);
    // The first three buttons: add (the accent button, running add), delete and delete all.
    void makeRecordButtons(const QString& addCaption, const QString& deleteCaption,
                           const QString& deleteAllCaption, std::function<void()> add);
    // The last button, which closes the window as accepted or as rejected.
    void makeReturnButton(const QString& caption, bool accepts);

    // The selected row, -1 when none or when it holds no record.
    int selectedRow() const;
    // The selected row; when the list is empty or no row is selected the user is told and -1
    // comes back.
    int selectedRecord() const;
    // Shows a record's own part of the selected row (its picture); false when the row cannot be
    // shown (the panel then stays empty).
    virtual bool showRecord(int row);
    // Fits a picture "contain with a frame" into the preview box and shows it with its hint.
    void showPicture(QSize size, const QString& location, const QString& hint);

    // The question before the selected record (row, -1 for none) is deleted.
    virtual QString deleteQuestion(int row) const;
    // Records were deleted from the model, before the user is told.
    virtual void recordsRemoved() {}

    // Asks for files with the window's caption; only the first add dialog of the run offers
    // sample (when it exists).
    QStringList chooseFilesToAdd(const QString& filter, bool several = true,
                                 const QString& sample = {});
    // Adds files one by one in the progress window titled title, a step each; addOne says what
    // went wrong with a file (empty when nothing did). Rebuilds the list afterwards. Returns the
    // problems, with the error that stopped the add, if one did.
    QStringList addInProgress(const QString& title, const QStringList& files,
                              const std::function<QString(const QString& file)>& addOne);

    void showEvent(QShowEvent* event) override;
    // While the window shows, the list follows the album's changes of those parts.
    void followAlbum(Album& album, QFlags<AlbumPart> parts);

private:
    enum class Layout { BesidePreview, BelowList };

    std::unique_ptr<RecordRows> rows_;
    RecordTexts texts_;
    Layout layout_ = Layout::BelowList;
    FileChooser chooser_ = chooseFiles;
    bool dialogOpened_ = false;
    std::unique_ptr<FittingCanvas> canvas_;
    QSize previewBox_;
    int buttonsTop_ = 0;
    int nextButtonLeft_ = 0;
    int buttonCount_ = 0;

    QTreeWidget* list_ = nullptr;
    InfoPanel* info_ = nullptr;
    QLabel* preview_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* deleteAll_ = nullptr;
    QPushButton* return_ = nullptr;
};

}  // namespace vellumo
