#include "catalogue/slot_geometry.h"

#include "catalogue/catalogue.h"

namespace vellumo {

namespace {

constexpr int kReferenceWidth = 1920;
constexpr int kReferenceHeight = 1080;

}  // namespace

std::optional<QSize> mediumFit(int w, int h) {
    if (w <= 0 || h <= 0 || h > w) {
        return std::nullopt;
    }
    if (h == w) {
        return QSize(w * kReferenceHeight / h, kReferenceHeight);
    }
    QSize fitted(kReferenceWidth, h * kReferenceWidth / w);
    if (fitted.height() > kReferenceHeight) {
        fitted = QSize(w * kReferenceHeight / h, kReferenceHeight);
    }
    return fitted;
}

SlotGeometry slotGeometry(TemplateClass templateClass, QSize slotFrame, const Placement& full,
                          const Placement& medium, int photoWidth, int photoHeight,
                          LandscapeMode mode) {
    const QRect fullRect(full.left, full.top, full.width, full.height);
    switch (templateClass) {
        case TemplateClass::Combined:
            // A slot without a size of its own is drawn in the reference frame.
            return {slotFrame, fullRect};
        case TemplateClass::LandscapeSingle:
            if (mode == LandscapeMode::Medium) {
                if (const std::optional<QSize> fitted = mediumFit(photoWidth, photoHeight)) {
                    return {*fitted, QRect(QPoint(0, 0), *fitted)};
                }
            }
            return {QSize(kReferenceWidth, kReferenceHeight), fullRect};
        case TemplateClass::PortraitSingle: {
            return {QSize(medium.width + 2 * medium.left, kReferenceHeight),
                    QRect(medium.left, medium.top, medium.width, medium.height)};
        }
    }
    return {QSize(kReferenceWidth, kReferenceHeight), fullRect};
}

QSize stagePictureSize(TemplateClass templateClass, QSize listedSize, QSize frame, QSize stage) {
    const int W = stage.width();
    const int H = stage.height();
    QSize size;
    switch (templateClass) {
        case TemplateClass::Combined:
            size = QSize(W * listedSize.width() / kReferenceWidth,
                         H * listedSize.height() / kReferenceHeight);
            break;
        case TemplateClass::LandscapeSingle:
            size =
                QSize(W * frame.width() / kReferenceWidth, H * frame.height() / kReferenceHeight);
            break;
        case TemplateClass::PortraitSingle:
            size =
                QSize(frame.width() * (kReferenceHeight * H / kReferenceHeight) / kReferenceHeight,
                      kReferenceHeight * H / kReferenceHeight);
            break;
    }
    // A picture the template gives no size gets the whole stage rather than nothing.
    return size.isEmpty() ? stage : size;
}

}  // namespace vellumo
