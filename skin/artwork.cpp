#include "skin/artwork.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>

#include "skin/skin.h"
#include "skin/skin_texts.h"

namespace vellumo::artwork {

namespace {

struct Scene {
    QColor skyTop;
    QColor skyBottom;
    QColor sun;
    QColor farHills;
    QColor nearHills;
};

const Scene kDusk{{255, 164, 92}, {255, 222, 160}, {255, 246, 214}, {186, 96, 92}, {96, 52, 72}};
const Scene kLake{{88, 160, 214}, {196, 228, 244}, {255, 252, 232}, {92, 142, 170}, {40, 92, 96}};
const Scene kMeadow{
    {126, 196, 238}, {226, 242, 250}, {255, 236, 160}, {122, 180, 104}, {58, 126, 74}};

// A small landscape photo drawn into rect.
void paintScene(QPainter& p, const QRectF& rect, const Scene& scene) {
    p.save();
    p.setClipRect(rect);
    QLinearGradient sky(rect.topLeft(), rect.bottomLeft());
    sky.setColorAt(0, scene.skyTop);
    sky.setColorAt(0.7, scene.skyBottom);
    p.fillRect(rect, sky);
    p.setPen(Qt::NoPen);
    QRadialGradient sun(rect.left() + rect.width() * 0.7, rect.top() + rect.height() * 0.38,
                        rect.height() * 0.22);
    sun.setColorAt(0, scene.sun);
    sun.setColorAt(0.55, scene.sun);
    sun.setColorAt(1, QColor(scene.sun.red(), scene.sun.green(), scene.sun.blue(), 0));
    p.setBrush(sun);
    p.drawEllipse(QPointF(rect.left() + rect.width() * 0.7, rect.top() + rect.height() * 0.38),
                  rect.height() * 0.22, rect.height() * 0.22);

    auto hills = [&](const QColor& colour, qreal base, qreal amplitude, qreal phase) {
        QPainterPath path;
        path.moveTo(rect.bottomLeft());
        const int steps = 24;
        for (int i = 0; i <= steps; ++i) {
            const qreal t = qreal(i) / steps;
            const qreal wave = std::sin(t * 5.3 + phase) * 0.6 + std::sin(t * 11.0 + phase) * 0.25;
            path.lineTo(rect.left() + t * rect.width(),
                        rect.top() + rect.height() * (base - amplitude * wave));
        }
        path.lineTo(rect.bottomRight());
        path.closeSubpath();
        p.setBrush(colour);
        p.drawPath(path);
    };
    hills(scene.farHills, 0.66, 0.12, 0.4);
    hills(scene.nearHills, 0.82, 0.08, 2.1);
    p.restore();
}

// A photo print with a white border and a soft shadow, rotated about its centre.
void paintPrint(QPainter& p, QPointF centre, QSizeF size, qreal angle, const Scene& scene) {
    p.save();
    p.translate(centre);
    p.rotate(angle);
    const QRectF card(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    p.setPen(Qt::NoPen);
    for (int i = 6; i >= 1; --i) {
        p.setBrush(QColor(0, 0, 0, 14));
        p.drawRoundedRect(card.translated(0, 3).adjusted(-i, -i, i, i), 4 + i, 4 + i);
    }
    p.setBrush(QColor(250, 248, 243));
    p.drawRoundedRect(card, 3, 3);
    const qreal border = size.width() * 0.05;
    const QRectF photo = card.adjusted(border, border, -border, -border * 3.2);
    paintScene(p, photo, scene);
    p.restore();
}

void paintFan(QPainter& p, QPointF centre, qreal width) {
    const QSizeF size(width, width * 0.86);
    paintPrint(p, centre + QPointF(-width * 0.34, width * 0.06), size, -13, kLake);
    paintPrint(p, centre + QPointF(width * 0.34, width * 0.07), size, 11, kMeadow);
    paintPrint(p, centre + QPointF(0, -width * 0.04), size, -1.5, kDusk);
}

void paintGlow(QPainter& p, QPointF centre, qreal radius, int alpha) {
    QRadialGradient glow(centre, radius);
    const QColor accent = skin::kAccent;
    glow.setColorAt(0, QColor(accent.red(), accent.green(), accent.blue(), alpha));
    glow.setColorAt(1, QColor(accent.red(), accent.green(), accent.blue(), 0));
    p.fillRect(QRectF(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2), glow);
}

QFont wordmarkFont(int pixels) {
    QFont font(QStringLiteral("Noto Sans"));
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, pixels / 30.0);
    return font;
}

QFont chineseFont(int pixels, bool bold = false) {
    QFont font(texts::kHeiTi);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

QImage splashPicture() {
    QImage image(kSplashWidth, kSplashHeight, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    paintGlow(p, QPointF(130, 118), 170, 46);
    paintFan(p, QPointF(128, 118), 118);

    p.setPen(Qt::white);
    p.setFont(wordmarkFont(46));
    p.drawText(QPoint(262, 112), texts::kApplicationTitle);
    p.setPen(skin::kAccentLight);
    p.setFont(chineseFont(19, true));
    p.drawText(QPoint(265, 144), texts::kProductTagline);
    p.fillRect(QRectF(265, 158, 36, 2), skin::kAccent);
    p.setPen(skin::kMutedText);
    p.setFont(chineseFont(11));
    p.drawText(QRect(265, 168, 225, 20), Qt::AlignLeft | Qt::AlignVCenter, texts::kSplashSubtitle);
    p.setPen(QColor(120, 124, 134));
    p.drawText(QRect(265, 216, 225, 20), Qt::AlignLeft | Qt::AlignVCenter, texts::kSplashLoading);
    return image;
}

QImage startPicture(StartHint hint) {
    QImage image(kStartPictureWidth, kStartPictureHeight, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    QLinearGradient base(0, 0, 0, image.height());
    base.setColorAt(0, QColor(14, 15, 19));
    base.setColorAt(1, QColor(4, 4, 6));
    p.fillRect(image.rect(), base);
    paintGlow(p, QPointF(400, 175), 300, 40);
    paintFan(p, QPointF(400, 168), 190);

    const QFont word = wordmarkFont(42);
    p.setFont(word);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 300, image.width(), 56), Qt::AlignCenter, texts::kApplicationTitle);
    p.fillRect(QRectF(382, 360, 36, 2), skin::kAccent);
    if (hint == StartHint::Welcome) {
        p.setFont(chineseFont(15));
        p.setPen(skin::kMutedText);
        p.drawText(QRect(0, 372, image.width(), 30), Qt::AlignCenter, texts::kStartPictureHint);
    }
    return image;
}

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    QLinearGradient back(0, 0, 64, 64);
    back.setColorAt(0, QColor(250, 196, 104));
    back.setColorAt(1, QColor(222, 112, 66));
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);

    // A tilted print behind a straight one.
    p.save();
    p.translate(32, 33);
    p.rotate(-12);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawRoundedRect(QRectF(-19, -16, 38, 32), 3, 3);
    p.restore();
    p.setBrush(Qt::white);
    p.drawRoundedRect(QRectF(12, 16, 40, 34), 3, 3);
    const QRectF photo(16, 20, 32, 22);
    paintScene(p, photo, kDusk);
    return image;
}

QIcon programIconSet() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(QPixmap::fromImage(programIcon(size)));
    }
    return icon;
}

}  // namespace vellumo::artwork
