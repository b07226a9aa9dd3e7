#include "app/summary_lists.h"

#include <QEvent>
#include <QHeaderView>
#include <QTreeWidget>

#include "app/app_texts.h"
#include "dialogs/record_widgets.h"

namespace vellumo {

namespace {

constexpr int kGap = 6;
constexpr int kTemplatesShare = 160;

QTreeWidget* makeList(QWidget* parent, const QStringList& columns, const QString& hint) {
    QTreeWidget* list = makeRecordTree(parent, columns);
    list->setFocusPolicy(Qt::NoFocus);
    list->setToolTip(hint);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionResizeMode(0, QHeaderView::Fixed);
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->header()->setSectionResizeMode(2, QHeaderView::Fixed);
    list->setColumnWidth(0, 44);
    list->setColumnWidth(2, 84);
    return list;
}

}  // namespace

SummaryLists::SummaryLists(QWidget* parent) : QWidget(parent) {
    using namespace texts;
    templates_ = makeList(this, {kColumnNumber, kColumnTemplate, kColumnTemplateDuration}, {});
    // The templates summary only shows; it takes no mouse input.
    templates_->setEnabled(false);
    music_ = makeList(this, {kColumnNumber, kColumnMusic, kColumnMusicDuration}, kMusicListHint);
    lyrics_ = makeList(this, {kColumnNumber, kColumnLyrics, kColumnLyricsFormat}, kLyricsListHint);
    // A double-click anywhere on the list counts, on a row or below the rows.
    for (QTreeWidget* list : {music_, lyrics_}) {
        list->viewport()->installEventFilter(this);
    }
}

void SummaryLists::setRows(QTreeWidget* list, const QList<QStringList>& rows) {
    list->clear();
    for (const QStringList& row : rows) {
        list->addTopLevelItem(new QTreeWidgetItem(row));
    }
}

void SummaryLists::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int w = width();
    const int rest = (height() - kTemplatesShare - 2 * kGap) / 2;
    templates_->setGeometry(0, 0, w, kTemplatesShare);
    music_->setGeometry(0, kTemplatesShare + kGap, w, rest);
    lyrics_->setGeometry(0, kTemplatesShare + 2 * kGap + rest, w,
                         height() - kTemplatesShare - 2 * kGap - rest);
}

bool SummaryLists::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == music_->viewport()) {
            emit musicDoubleClicked();
            return true;
        }
        if (watched == lyrics_->viewport()) {
            emit lyricsDoubleClicked();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace vellumo
