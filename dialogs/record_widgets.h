#pragma once

// The pieces every window that lists records shares: the list of records and the information
// panel that shows one record's fields.

#include <QList>
#include <QMargins>
#include <QStringList>
#include <QWidget>

class QLineEdit;
class QTreeWidget;

namespace vellumo {

// A list of records, one row each: no tree decoration, alternating rows, one row selectable,
// nothing editable, columns that stay in their order.
QTreeWidget* makeRecordTree(QWidget* parent, const QStringList& columns);

// The selected row of a list, -1 when none is selected.
int selectedTreeRow(const QTreeWidget* list);

// Where the rows of an information panel go: each row a label and a field to its right.
struct InfoPanelLayout {
    int labelWidth = 64;
    int fieldLeft = 66;
    int fieldWidth = 0;
    int rowGap = 6;
    QMargins margins;
};

// The information panel of a list window: one read-only field per label, in a column.
class InfoPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 24;

    InfoPanel(const QStringList& labels, const InfoPanelLayout& layout, QWidget* parent);

    void showValues(const QStringList& values);
    void clear();
    // The text of a field; empty for a field that does not exist.
    QString value(int field) const;
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    // The height the rows and the margins take.
    int contentHeight() const;

private:
    QList<QLineEdit*> fields_;
    InfoPanelLayout layout_;
};

}  // namespace vellumo
