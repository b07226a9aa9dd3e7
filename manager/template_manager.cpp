#include "manager/template_manager.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "assignment/assignment_texts.h"
#include "manager/manager_texts.h"
#include "project/album.h"
#include "skin/skin_texts.h"

namespace vellumo {

namespace {

constexpr int kGridMargin = 10;
constexpr int kGridColumnGap = 15;
constexpr int kGridRowGap = 20;

constexpr QSize kLandscapePlaceholder{89, 54};
constexpr int kPlaceholderInset = 3;
const QColor kPlaceholderTeal(0, 128, 128);

constexpr QPoint kUseDemonstrationStart{152, 176};
constexpr int kUseDemonstrationStep = 5;
constexpr int kUseDemonstrationEnd = 354;
constexpr QPoint kSelectDemonstrationStart{152, 440};
constexpr QPoint kSelectDemonstrationStep{7, -4};
constexpr int kSelectDemonstrationEnd = 114;

}  // namespace

int gridColumns(int panelWidth, QSize box) {
    return std::max(1, panelWidth / std::max(1, box.width()));
}

QPoint gridPosition(int index, int panelWidth, QSize box) {
    const int columns = gridColumns(panelWidth, box);
    const int x = index % columns;
    const int y = index / columns;
    return {kGridMargin + x * (box.width() + kGridColumnGap),
            kGridMargin + y * (box.height() + kGridRowGap)};
}

int gridHeight(int count, int panelWidth, QSize box, int labelHeight) {
    if (count <= 0) {
        return 0;
    }
    const QPoint last = gridPosition(count - 1, panelWidth, box);
    return last.y() + box.height() + labelHeight + kGridMargin;
}

QStringList catalogueListRow(const CatalogueEntry& entry) {
    return {QString::number(entry.catalogueIndex),
            entry.name,
            kindText(entry.kind),
            QString::number(entry.landscapeSlots),
            QString::number(entry.portraitSlots),
            entry.duration,
            classText(entry.templateClass)};
}

QStringList usedTemplateRow(const UsedTemplates& templates, int t) {
    const UsedTemplate& used = templates.at(t);
    return catalogueListRow(*used.info)
           << (used.complete ? texts::kMatchComplete : texts::kMatchIncomplete)
           << QString::number(t + 1);
}

FilledSlots filledSlots(const UsedTemplates& templates, int t) {
    FilledSlots filled;
    for (int row : templates.slotRows(t)) {
        const PhotoSlot& slot = templates.slot(row);
        if (!slot.matched) {
            continue;
        }
        ++(slot.orientation == SlotOrientation::Landscape ? filled.landscape : filled.portrait);
    }
    return filled;
}

QStringList templateDetails(const UsedTemplates& templates, int t) {
    const TemplateInfo& info = *templates.at(t).info;
    const FilledSlots filled = filledSlots(templates, t);
    return {QString::number(info.catalogueIndex),
            QString::number(t + 1),
            info.name,
            kindText(info.kind),
            QString::number(info.landscapeSlots),
            QString::number(info.portraitSlots),
            info.duration,
            QString::number(filled.landscape),
            QString::number(filled.portrait)};
}

QImage slotPlaceholder(SlotOrientation orientation) {
    const bool landscape = orientation == SlotOrientation::Landscape;
    const QSize size = landscape ? kLandscapePlaceholder : kLandscapePlaceholder.transposed();
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    const QRect inner = picture.rect().adjusted(kPlaceholderInset, kPlaceholderInset,
                                                -kPlaceholderInset, -kPlaceholderInset);
    painter.fillRect(inner, kPlaceholderTeal);
    QFont font(texts::kSongTi);
    font.setPixelSize(12);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::yellow);
    painter.drawText(inner, Qt::AlignCenter,
                     landscape ? texts::kPlaceholderLandscape : texts::kPlaceholderPortrait);
    return picture;
}

QString slotBoxWord(SlotOrientation orientation) {
    return orientation == SlotOrientation::Landscape ? QStringLiteral("heng")
                                                     : QStringLiteral("shu");
}

QImage demonstrationPicture() {
    // A hand pointing down over a template card: where the template goes.
    QImage picture(kDemonstrationSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient card(0, 0, 0, kDemonstrationSize.height());
    card.setColorAt(0, QColor(255, 236, 120));
    card.setColorAt(1, QColor(230, 170, 30));
    painter.setPen(QPen(Qt::white, 2));
    painter.setBrush(card);
    painter.drawRoundedRect(QRectF(4, 4, 142, 92), 10, 10);
    // The template's picture frames.
    painter.setPen(QPen(QColor(70, 70, 70), 1));
    painter.setBrush(QColor(0, 128, 128));
    painter.drawRect(QRectF(14, 16, 56, 36));
    painter.drawRect(QRectF(80, 16, 24, 36));
    painter.drawRect(QRectF(112, 16, 24, 36));
    // The arrow.
    QPainterPath arrow;
    arrow.moveTo(60, 60);
    arrow.lineTo(90, 60);
    arrow.lineTo(90, 72);
    arrow.lineTo(102, 72);
    arrow.lineTo(75, 92);
    arrow.lineTo(48, 72);
    arrow.lineTo(60, 72);
    arrow.closeSubpath();
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor(200, 30, 30));
    painter.drawPath(arrow);
    return picture;
}

QVector<QPoint> useDemonstrationPath() {
    QVector<QPoint> path;
    QPoint at = kUseDemonstrationStart;
    path << at;
    while (at.y() < kUseDemonstrationEnd) {
        at.ry() += kUseDemonstrationStep;
        path << at;
    }
    return path;
}

QVector<QPoint> selectDemonstrationPath() {
    QVector<QPoint> path;
    QPoint at = kSelectDemonstrationStart;
    path << at;
    while (at.y() > kSelectDemonstrationEnd) {
        at += kSelectDemonstrationStep;
        path << at;
    }
    return path;
}

int autoMatchTemplate(Album& album, int t) {
    const UsedTemplates& templates = album.templates();
    const PhotoList& photos = album.photos();
    if (t < 0 || t >= templates.size()) {
        return 0;
    }
    Album::Edit edit(album);
    int placed = 0;
    int nextLandscape = 0;
    int nextPortrait = 0;
    // The next photo in no template with that orientation, from row next on; -1 when none.
    const auto nextWaiting = [&photos](int& next, bool landscape) {
        for (; next < photos.size(); ++next) {
            const PhotoRecord& photo = photos.at(next);
            if (!photo.inTemplate && photo.isLandscape() == landscape) {
                return next++;
            }
        }
        return -1;
    };
    for (int row : templates.slotRows(t)) {
        const PhotoSlot& slot = templates.slot(row);
        if (slot.matched) {
            continue;
        }
        const bool landscape = slot.orientation == SlotOrientation::Landscape;
        const int photo = nextWaiting(landscape ? nextLandscape : nextPortrait, landscape);
        if (photo < 0) {
            continue;
        }
        if (album.placePhoto(photo, t, slot.slotIndex) == PlaceResult::Placed) {
            ++placed;
        }
    }
    return placed;
}

}  // namespace vellumo
