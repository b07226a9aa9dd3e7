#include "dialogs/record_widgets.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vellumo {

QTreeWidget* makeRecordTree(QWidget* parent, const QStringList& columns) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(static_cast<int>(columns.size()));
    list->setHeaderLabels(columns);
    list->setRootIsDecorated(false);
    list->setAlternatingRowColors(true);
    list->setUniformRowHeights(true);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setSectionsMovable(false);
    return list;
}

int selectedTreeRow(const QTreeWidget* list) {
    const QList<QTreeWidgetItem*> selected = list->selectedItems();
    return selected.isEmpty() ? -1 : list->indexOfTopLevelItem(selected.constFirst());
}

InfoPanel::InfoPanel(const QStringList& labels, const InfoPanelLayout& layout, QWidget* parent)
    : QWidget(parent), layout_(layout) {
    auto* rows = new QVBoxLayout(this);
    rows->setContentsMargins(layout.margins);
    rows->setSpacing(layout.rowGap);
    for (const QString& caption : labels) {
        auto* row = new QWidget(this);
        auto* label = new QLabel(caption, row);
        label->setGeometry(0, 0, layout.labelWidth, kRowHeight);
        auto* field = new QLineEdit(row);
        field->setReadOnly(true);
        field->setFocusPolicy(Qt::ClickFocus);
        field->setObjectName(caption);
        field->setGeometry(layout.fieldLeft, 0, layout.fieldWidth, kRowHeight);
        row->setFixedHeight(kRowHeight);
        rows->addWidget(row);
        fields_.append(field);
    }
    rows->addStretch(1);
}

int InfoPanel::contentHeight() const {
    const int count = fieldCount();
    return layout_.margins.top() + layout_.margins.bottom() + count * kRowHeight +
           std::max(0, count - 1) * layout_.rowGap;
}

void InfoPanel::showValues(const QStringList& values) {
    for (int i = 0; i < fields_.size(); ++i) {
        fields_[i]->setText(values.value(i));
        fields_[i]->setCursorPosition(0);
    }
}

void InfoPanel::clear() {
    for (QLineEdit* field : fields_) {
        field->clear();
    }
}

QString InfoPanel::value(int field) const {
    return field >= 0 && field < fields_.size() ? fields_[field]->text() : QString();
}

}  // namespace vellumo
