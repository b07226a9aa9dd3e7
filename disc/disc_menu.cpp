#include "disc/disc_menu.h"

#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <iterator>
#include <limits>
#include <utility>

#include "disc/disc_texts.h"
#include "skin/fonts.h"
#include "skin/skin_texts.h"

namespace vellumo::disc {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr int kOutline = 4;  // stored pixels
const QColor kHighlightColour(255, 214, 0);
const QColor kSelectColour(255, 90, 40);

// The chapter grid: three columns, two rows of 16:9 pictures, and the page buttons below.
constexpr int kThumbWidth = 256;
constexpr int kThumbHeight = 144;
constexpr int kThumbFrame = 6;
constexpr int kThumbMargin = 8;
constexpr int kColumnsLeft[] = {64, 384, 704};
constexpr int kRowsTop[] = {170, 400};
const QRect kPreviousArea(172, 630, 180, 60);
const QRect kBackArea(422, 630, 180, 60);
const QRect kNextArea(672, 630, 180, 60);
const QRect kPlayAllArea(282, 622, 210, 64);
const QRect kChaptersArea(532, 622, 210, 64);

QFont heiTi(int pixelSize, bool bold = false) {
    QFont font(texts::kHeiTi);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Soft lights drifting on a loop of their own over the sky.
struct Light {
    double x, y, r;
};
constexpr Light kLights[] = {{120, 200, 90}, {300, 520, 60}, {520, 180, 70}, {760, 600, 100},
                             {900, 260, 80}, {640, 420, 50}, {200, 680, 70}, {860, 90, 60},
                             {420, 700, 40}, {980, 520, 60}};

QPointF lightCentre(int index, double phase) {
    const Light& light = kLights[index];
    const double a = kTwoPi * (phase + index / 10.0);
    return {light.x + 24 * std::sin(a), light.y + 12 * std::cos(a)};
}

void paintSky(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, kMenuLayoutHeight);
    sky.setColorAt(0, QColor(29, 43, 74));
    sky.setColorAt(0.55, QColor(59, 36, 71));
    sky.setColorAt(1, QColor(20, 26, 44));
    painter.fillRect(QRect(0, 0, kMenuLayoutWidth, kMenuLayoutHeight), sky);
}

void paintLight(QPainter& painter, QPointF centre, double radius) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, QColor(255, 220, 170, 46));
    glow.setColorAt(1, QColor(255, 220, 170, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(centre, radius, radius);
}

void paintBackground(QPainter& painter, double phase) {
    paintSky(painter);
    for (int k = 0; k < static_cast<int>(std::size(kLights)); ++k) {
        paintLight(painter, lightCentre(k, phase), kLights[k].r);
    }
}

void paintTitle(QPainter& painter, const QString& text, int centreY, int pixelSize) {
    const QFont font = heiTi(pixelSize, true);
    painter.setFont(font);
    const QString shown =
        QFontMetrics(font).elidedText(text, Qt::ElideRight, kMenuLayoutWidth - 160);
    const QRect box(80, centreY - pixelSize, kMenuLayoutWidth - 160, 2 * pixelSize);
    painter.setPen(QColor(0, 0, 0, 150));
    painter.drawText(box.translated(3, 3), Qt::AlignCenter, shown);
    painter.setPen(QColor(255, 244, 214));
    painter.drawText(box, Qt::AlignCenter, shown);
}

void paintButton(QPainter& painter, const QRect& area, const QString& label) {
    painter.setPen(QPen(QColor(255, 230, 170, 170), 2));
    painter.setBrush(QColor(0, 0, 0, 120));
    painter.drawRoundedRect(QRectF(area).adjusted(6, 6, -6, -6), 12, 12);
    painter.setFont(heiTi(area.height() / 2));
    painter.setPen(Qt::white);
    painter.drawText(area, Qt::AlignCenter, label);
}

// Where the opening menu's photos stand: one, two or three, each turned a little.
struct PhotoPlace {
    double x, y, degrees;
};
constexpr PhotoPlace kOnePhoto[] = {{512, 390, -2}};
constexpr PhotoPlace kTwoPhotos[] = {{340, 390, -5}, {684, 390, 4}};
constexpr PhotoPlace kThreePhotos[] = {{232, 400, -6}, {512, 380, 2}, {792, 400, 5}};
constexpr int kMenuPhotoCount = 3;

const PhotoPlace& photoPlace(int count, int index) {
    return count == 1 ? kOnePhoto[index] : count == 2 ? kTwoPhotos[index] : kThreePhotos[index];
}

// A photo in a white mat with a shadow, in layout units, upright; anchor is the photo's centre.
QImage framedPhoto(const QImage& photo, QSizeF box, QPointF& anchor) {
    const QSizeF size = QSizeF(photo.size()).scaled(box, Qt::KeepAspectRatio);
    const QRectF picture(-size.width() / 2, -size.height() / 2, size.width(), size.height());
    const QRectF mat = picture.adjusted(-10, -10, 10, 10);
    const QRectF shadow = mat.translated(8, 10);
    // A clear border, so that the turned picture's edges are smoothed like its inside.
    const QRectF bounds = mat.united(shadow).adjusted(-2, -2, 2, 2);
    QImage image(static_cast<int>(std::ceil(bounds.width())),
                 static_cast<int>(std::ceil(bounds.height())), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    anchor = -bounds.topLeft();
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(anchor);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 90));
    painter.drawRect(shadow);
    painter.setBrush(QColor(250, 248, 242));
    painter.drawRect(mat);
    painter.drawImage(picture, photo);
    painter.setPen(QPen(QColor(0, 0, 0, 60), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(picture);
    return image;
}

QString pageLabel(int page, int pages) {
    return QString::number(page) + QStringLiteral(" / ") + QString::number(pages);
}

}  // namespace

QString menuButtonName(int index) {
    return QStringLiteral("b") + QString::number(index + 1);
}

void linkButtons(QList<MenuButton>& buttons) {
    const auto nearest = [&](int from, int dx, int dy) {
        const QPoint c = buttons[from].area.center();
        int best = from;
        double bestScore = std::numeric_limits<double>::max();
        for (int j = 0; j < buttons.size(); ++j) {
            const QPoint d = buttons[j].area.center() - c;
            // Along the direction, and how far off to the side.
            const int along = dx != 0 ? d.x() * dx : d.y() * dy;
            const int aside = std::abs(dx != 0 ? d.y() : d.x());
            if (j == from || along <= 4) {
                continue;
            }
            const double score = along + 2.0 * aside;
            if (score < bestScore) {
                bestScore = score;
                best = j;
            }
        }
        return best;
    };
    for (int i = 0; i < buttons.size(); ++i) {
        buttons[i].up = nearest(i, 0, -1);
        buttons[i].down = nearest(i, 0, 1);
        buttons[i].left = nearest(i, -1, 0);
        buttons[i].right = nearest(i, 1, 0);
    }
}

MenuPainter::MenuPainter(MenuContent content) : content_(std::move(content)) {
    installFontSubstitutions();
    if (content_.albumName.trimmed().isEmpty()) {
        content_.albumName = texts::kDiscUntitled;
    }
    content_.chapterCount = std::max(content_.chapterCount, 1);

    MenuPage main;
    main.moving = true;
    main.frames = kMainMenuFrames;
    main.buttons.append({kPlayAllArea, texts::kDiscPlayAll, QStringLiteral("jump title 1;")});
    main.buttons.append({kChaptersArea, texts::kDiscChapters, QStringLiteral("jump menu 2;")});
    linkButtons(main.buttons);
    pages_.append(main);

    const int chapterPages = (content_.chapterCount + kChaptersPerPage - 1) / kChaptersPerPage;
    for (int p = 0; p < chapterPages; ++p) {
        MenuPage page;
        page.frames = kChapterPageFrames;
        page.firstChapter = p * kChaptersPerPage;
        page.chapterCount = std::min(kChaptersPerPage, content_.chapterCount - page.firstChapter);
        for (int i = 0; i < page.chapterCount; ++i) {
            // The button reaches beyond the picture's white mat, so that its outline shows.
            const QRect thumb(kColumnsLeft[i % 3] - kThumbFrame - kThumbMargin,
                              kRowsTop[i / 3] - kThumbFrame - kThumbMargin,
                              kThumbWidth + 2 * (kThumbFrame + kThumbMargin),
                              kThumbHeight + 2 * (kThumbFrame + kThumbMargin));
            page.buttons.append(
                {thumb, QString(),
                 QStringLiteral("jump title 1 chapter %1;").arg(page.firstChapter + i + 1)});
        }
        // dvdauthor's menu 1 is the opening menu, chapter page p is menu p + 2.
        if (p > 0) {
            page.buttons.append({kPreviousArea, texts::kDiscPreviousPage,
                                 QStringLiteral("jump menu %1;").arg(p + 1)});
        }
        page.buttons.append({kBackArea, texts::kDiscBack, QStringLiteral("jump menu 1;")});
        if (p + 1 < chapterPages) {
            page.buttons.append(
                {kNextArea, texts::kDiscNextPage, QStringLiteral("jump menu %1;").arg(p + 3)});
        }
        linkButtons(page.buttons);
        pages_.append(page);
    }
    paintLayers();
}

void MenuPainter::paintLayers() {
    const QSize size = pictureSize();
    const double sx = size.width() / double(kMenuLayoutWidth);
    const double sy = size.height() / double(kMenuLayoutHeight);
    const auto layoutPainter = [sx, sy](QPainter& painter) {
        painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                               QPainter::TextAntialiasing);
        painter.scale(sx, sy);
    };

    sky_ = QImage(size, QImage::Format_RGB32);
    {
        QPainter painter(&sky_);
        layoutPainter(painter);
        paintSky(painter);
    }
    for (const Light& light : kLights) {
        const QSize box(static_cast<int>(std::ceil(2 * light.r * sx)) + 4,
                        static_cast<int>(std::ceil(2 * light.r * sy)) + 4);
        Sprite sprite{QImage(box, QImage::Format_ARGB32_Premultiplied),
                      QPointF(box.width() / 2.0, box.height() / 2.0)};
        sprite.image.fill(Qt::transparent);
        QPainter painter(&sprite.image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(sprite.anchor);
        painter.scale(sx, sy);
        paintLight(painter, QPointF(0, 0), light.r);
        painter.end();
        lights_.append(sprite);
    }

    // The title, its gold rule and the buttons stay clear of the photos, so one layer holds them.
    titleAndButtons_ = QImage(size, QImage::Format_ARGB32_Premultiplied);
    titleAndButtons_.fill(Qt::transparent);
    {
        QPainter painter(&titleAndButtons_);
        layoutPainter(painter);
        paintTitle(painter, content_.albumName, 104, 60);
        QLinearGradient gold(312, 0, 712, 0);
        gold.setColorAt(0, QColor(230, 190, 120, 0));
        gold.setColorAt(0.5, QColor(230, 190, 120, 220));
        gold.setColorAt(1, QColor(230, 190, 120, 0));
        painter.fillRect(QRectF(312, 168, 400, 2), gold);
        for (const MenuButton& button : pages_[0].buttons) {
            paintButton(painter, button.area, button.label);
        }
    }

    const int count =
        static_cast<int>(std::min<qsizetype>(content_.photos.size(), kMenuPhotoCount));
    const QSizeF box = count == 3 ? QSizeF(250, 250) : QSizeF(300, 280);
    for (int i = 0; i < count; ++i) {
        Sprite sprite;
        if (!content_.photos[i].isNull()) {
            sprite.image = framedPhoto(content_.photos[i], box, sprite.anchor);
        }
        photos_.append(sprite);
    }
}

QSize MenuPainter::frameSize() const {
    return {720, content_.tv == mcl::TvSystem::Ntsc ? 480 : 576};
}

QSize MenuPainter::pictureSize() const {
    return content_.tv == mcl::TvSystem::Ntsc ? QSize(640, 480) : QSize(768, 576);
}

int MenuPainter::pageCount() const {
    return static_cast<int>(pages_.size());
}

QImage MenuPainter::frame(int pageIndex, int frameIndex) const {
    const MenuPage& page = pages_[pageIndex];
    if (page.moving) {
        QImage image = sky_;
        paintMain(image, double(frameIndex % page.frames) / page.frames);
        return image;
    }
    QImage image(pictureSize(), QImage::Format_RGB32);
    image.fill(Qt::black);
    paintChapters(image, page);
    return image;
}

void MenuPainter::paintMain(QImage& image, double phase) const {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    const double sx = image.width() / double(kMenuLayoutWidth);
    const double sy = image.height() / double(kMenuLayoutHeight);
    for (int k = 0; k < lights_.size(); ++k) {
        const QPointF centre = lightCentre(k, phase);
        painter.drawImage(QPointF(centre.x() * sx, centre.y() * sy) - lights_[k].anchor,
                          lights_[k].image);
    }
    painter.drawImage(0, 0, titleAndButtons_);

    // The photos drift on the loop, each with a phase of its own.
    painter.scale(sx, sy);
    const int count = static_cast<int>(photos_.size());
    for (int i = 0; i < count; ++i) {
        if (photos_[i].image.isNull()) {
            continue;
        }
        const PhotoPlace& place = photoPlace(count, i);
        const double a = kTwoPi * (phase + i / 3.0);
        const double scale = 1.0 + 0.015 * std::sin(a);
        painter.save();
        painter.translate(place.x + 6 * std::cos(a), place.y + 10 * std::sin(a));
        painter.rotate(place.degrees + 1.5 * std::sin(a + kTwoPi / 4));
        painter.scale(scale, scale);
        painter.drawImage(-photos_[i].anchor, photos_[i].image);
        painter.restore();
    }
}

void MenuPainter::paintChapters(QImage& image, const MenuPage& page) const {
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    painter.scale(image.width() / double(kMenuLayoutWidth),
                  image.height() / double(kMenuLayoutHeight));
    paintBackground(painter, 0);
    paintTitle(painter, texts::kDiscChapters, 84, 48);
    const int pages = pageCount() - 1;
    if (pages > 1) {
        painter.setFont(heiTi(24));
        painter.setPen(QColor(255, 244, 214, 200));
        painter.drawText(QRect(800, 64, 160, 40), Qt::AlignRight | Qt::AlignVCenter,
                         pageLabel(page.firstChapter / kChaptersPerPage + 1, pages));
    }
    for (int i = 0; i < page.chapterCount; ++i) {
        const QRect area =
            page.buttons[i].area.adjusted(kThumbMargin, kThumbMargin, -kThumbMargin, -kThumbMargin);
        const QRect picture = area.adjusted(kThumbFrame, kThumbFrame, -kThumbFrame, -kThumbFrame);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 90));
        painter.drawRect(area.translated(6, 8));
        painter.setBrush(QColor(250, 248, 242));
        painter.drawRect(area);
        painter.fillRect(picture, QColor(30, 30, 30));
        const int chapter = page.firstChapter + i;
        if (chapter < content_.chapters.size() && !content_.chapters[chapter].isNull()) {
            const QImage& source = content_.chapters[chapter];
            const QSize fitted = source.size().scaled(picture.size(), Qt::KeepAspectRatio);
            const QRect target(picture.center().x() - fitted.width() / 2 + 1,
                               picture.center().y() - fitted.height() / 2 + 1, fitted.width(),
                               fitted.height());
            painter.drawImage(target, source);
        }
        painter.setFont(heiTi(26));
        painter.setPen(QColor(255, 244, 214));
        painter.drawText(QRect(area.left(), area.bottom() + 8, area.width(), 36), Qt::AlignCenter,
                         texts::kDiscChapterLabel.arg(chapter + 1));
    }
    for (int i = page.chapterCount; i < page.buttons.size(); ++i) {
        paintButton(painter, page.buttons[i].area, page.buttons[i].label);
    }
}

QRect MenuPainter::storedArea(const QRect& layoutArea) const {
    const QSize size = frameSize();
    const auto even = [](double v) { return static_cast<int>(std::lround(v / 2)) * 2; };
    const double sx = size.width() / double(kMenuLayoutWidth);
    const double sy = size.height() / double(kMenuLayoutHeight);
    const int x0 = even(layoutArea.left() * sx);
    const int y0 = even(layoutArea.top() * sy);
    const int x1 = even((layoutArea.right() + 1) * sx);
    const int y1 = even((layoutArea.bottom() + 1) * sy);
    return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

QImage MenuPainter::highlight(int pageIndex, bool selected) const {
    QImage image(frameSize(), QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QColor colour = selected ? kSelectColour : kHighlightColour;
    for (const MenuButton& button : pages_[pageIndex].buttons) {
        const QRect r = storedArea(button.area);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), kOutline), colour);
        painter.fillRect(QRect(r.left(), r.bottom() - kOutline + 1, r.width(), kOutline), colour);
        painter.fillRect(QRect(r.left(), r.top(), kOutline, r.height()), colour);
        painter.fillRect(QRect(r.right() - kOutline + 1, r.top(), kOutline, r.height()), colour);
    }
    return image;
}

QString MenuPainter::spumuxXml(int pageIndex, const QString& highlightPng,
                               const QString& selectPng) const {
    QString xml = QStringLiteral("<subpictures format=\"%1\">\n <stream>\n")
                      .arg(content_.tv == mcl::TvSystem::Ntsc ? QStringLiteral("NTSC")
                                                              : QStringLiteral("PAL"));
    xml += QStringLiteral(
               "  <spu start=\"00:00:00.00\" force=\"yes\" highlight=\"%1\" select=\"%2\">\n")
               .arg(highlightPng.toHtmlEscaped(), selectPng.toHtmlEscaped());
    const QList<MenuButton>& buttons = pages_[pageIndex].buttons;
    for (int i = 0; i < buttons.size(); ++i) {
        const QRect r = storedArea(buttons[i].area);
        xml += QStringLiteral(
                   "   <button name=\"%1\" x0=\"%2\" y0=\"%3\" x1=\"%4\" y1=\"%5\" up=\"%6\" "
                   "down=\"%7\" left=\"%8\" right=\"%9\"/>\n")
                   .arg(menuButtonName(i), QString::number(r.left()), QString::number(r.top()),
                        QString::number(r.right() + 1), QString::number(r.bottom() + 1),
                        menuButtonName(buttons[i].up), menuButtonName(buttons[i].down),
                        menuButtonName(buttons[i].left), menuButtonName(buttons[i].right));
    }
    xml += QStringLiteral("  </spu>\n </stream>\n</subpictures>\n");
    return xml;
}

QString volumeLabel(const QString& albumName) {
    QString label;
    for (const QChar c : albumName) {
        const char16_t u = c.unicode();
        if ((u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9')) {
            label += c;
        } else if (u >= u'a' && u <= u'z') {
            label += c.toUpper();
        } else if (!label.isEmpty() && !label.endsWith(QLatin1Char('_'))) {
            label += QLatin1Char('_');
        }
    }
    label.truncate(32);
    while (label.endsWith(QLatin1Char('_'))) {
        label.chop(1);
    }
    return label.isEmpty() ? QStringLiteral("ALBUM") : label;
}

}  // namespace vellumo::disc
