#include "photo/fitting_canvas.h"

#include <QFileInfo>
#include <QFont>
#include <QFontMetrics>
#include <QImageReader>
#include <QPainter>

#include <turbojpeg.h>

#include <memory>

#include "photo/photo_loader.h"
#include "photo/photo_texts.h"
#include "skin/skin_texts.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

namespace {

// Contain and contain-with-frame differ in the 6-pixel margin and in whether a landscape photo
// is also kept within the height.
QSize containedSize(int W, int H, int w, int h, bool keepLandscapeInside) {
    if (w <= 0 || h <= 0) {
        return QSize(W, H);
    }
    int width = 0;
    int height = 0;
    if (w >= h) {
        width = W;
        height = h * W / w;
        if (keepLandscapeInside && H < height) {
            height = H;
            width = w * H / h;
        }
    } else {
        height = H;
        width = w * H / h;
        if (W < width) {
            width = W;
            height = h * W / w;
        }
    }
    return QSize(width, height);
}

}  // namespace

Fit fitContain(int W, int H, int w, int h, bool mediumLandscape, bool mediumPortrait) {
    const bool landscape = w >= h;
    const bool medium = landscape ? mediumLandscape : mediumPortrait;
    if (medium) {
        W -= 6;
        H -= 6;
    }
    const QSize size = containedSize(W, H, w, h, medium);
    return Fit{QRect(QPoint(0, 0), size), size};
}

Fit fitContainWithFrame(int tileWidth, int tileHeight, int w, int h) {
    const QSize size = containedSize(tileWidth - 6, tileHeight - 6, w, h, true);
    return Fit{QRect(QPoint(3, 3), size), QSize(size.width() + 6, size.height() + 6)};
}

Fit fitCover(int W, int H, int w, int h) {
    if (w <= 0 || h <= 0) {
        return Fit{QRect(0, 0, W, H), QSize(W, H)};
    }
    int height = H;
    int width = w * H / h;
    if (width < W) {
        width = W;
        height = h * W / w;
    }
    return Fit{QRect(W / 2 - width / 2, 0, width, height), QSize(W, H)};
}

void FittingCanvas::apply(const Fit& fit) {
    pictureBox_ = fit.pictureBox;
    panel_ = fit.panel;
}

bool FittingCanvas::loadPhoto(const QString& fileName) {
    fileName_ = fileName;
    LoadedPhoto loaded = vellumo::loadPhoto(fileName, pictureBox_.size());
    picture_ = std::move(loaded.image);
    return !loaded.isIcon;
}

void FittingCanvas::setPicture(QImage picture, const QString& fileName) {
    fileName_ = fileName;
    picture_ = std::move(picture);
}

void FittingCanvas::showBadge(int number) {
    badgeText_ = texts::kBadgeFormat.arg(number);
    badgeVisible_ = true;
}

void FittingCanvas::hideBadge() {
    badgeVisible_ = false;
    badgeText_.clear();
}

QImage FittingCanvas::capture() const {
    QImage image(panel_.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull() && !pictureBox_.isEmpty()) {
        painter.drawImage(pictureBox_, picture_);
    }
    if (badgeVisible_) {
        QFont font(texts::kSongTi);
        font.setPixelSize(12);
        font.setBold(true);
        painter.setFont(font);
        const QFontMetrics metrics(font);
        const QRect label(QPoint(3, 3), metrics.size(Qt::TextSingleLine, badgeText_));
        painter.fillRect(label, Qt::yellow);
        painter.setPen(Qt::black);
        painter.drawText(label, Qt::AlignLeft | Qt::AlignVCenter, badgeText_);
    }
    return image;
}

void writeJpeg(const QImage& image, const QString& path) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    std::unique_ptr<void, int (*)(tjhandle)> handle(tjInitCompress(), tjDestroy);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (!handle || rgb.isNull() ||
        tjCompress2(handle.get(), rgb.constBits(), rgb.width(),
                    static_cast<int>(rgb.bytesPerLine()), rgb.height(), TJPF_BGRX, &buffer, &size,
                    TJSAMP_420, 90, TJFLAG_ACCURATEDCT) != 0) {
        tjFree(buffer);
        throw FileError(path, texts::kCannotWriteFile);
    }
    const QByteArray bytes(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    tjFree(buffer);
    writeWholeFile(path, bytes);
}

void saveAsJpeg(const QString& bitmapFile, const QString& targetName) {
    const QImage bitmap(bitmapFile);
    if (bitmap.isNull()) {
        throw FileError(bitmapFile, texts::kCannotReadFile);
    }
    const QFileInfo target(targetName);
    writeJpeg(bitmap, target.path() + u'/' + target.completeBaseName() + QStringLiteral(".jpg"));
}

void writeBitmap(const QImage& image, const QString& path) {
    if (!image.convertToFormat(QImage::Format_RGB888).save(path, "BMP")) {
        throw FileError(path, texts::kCannotWriteFile);
    }
}

}  // namespace vellumo
