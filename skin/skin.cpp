#include "skin/skin.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "skin/skin_texts.h"

namespace vellumo {

namespace {

using namespace skin;

const QColor kCloseHover{217, 70, 62};
const QColor kClosePressed{168, 50, 44};

void fillTitleBand(QPainter& p, int height) {
    QLinearGradient band(0, 0, 0, height);
    band.setColorAt(0, kTitleTop);
    band.setColorAt(1, kTitleBottom);
    p.fillRect(0, 0, kPanelWidth, height, band);
    p.fillRect(0, 0, kPanelWidth, 1, QColor(255, 255, 255, 22));
    p.fillRect(0, height - 1, kPanelWidth, 1, QColor(0, 0, 0, 140));
}

QColor glyphColour(SkinState state) {
    switch (state) {
        case SkinState::Normal:
            return kMutedText;
        case SkinState::Hover:
            return kText;
        case SkinState::Pressed:
            return kAccentLight;
    }
    return kMutedText;
}

// The rounded highlight behind a small title button.
void paintButtonBack(QPainter& p, const QRectF& box, SkinState state) {
    if (state == SkinState::Normal) {
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(state == SkinState::Hover ? QColor(255, 255, 255, 30) : QColor(0, 0, 0, 70));
    p.drawRoundedRect(box, 4, 4);
}

void paintCloseBack(QPainter& p, const QRect& box, SkinState state) {
    if (state == SkinState::Normal) {
        return;
    }
    p.fillRect(box, state == SkinState::Hover ? kCloseHover : kClosePressed);
}

void paintCross(QPainter& p, QPointF centre, qreal half, const QColor& colour) {
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-half, -half), centre + QPointF(half, half));
    p.drawLine(centre + QPointF(-half, half), centre + QPointF(half, -half));
}

void paintGlobe(QPainter& p, QPointF centre, const QColor& colour) {
    p.setPen(QPen(colour, 1.3));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 7.0, 7.0);
    p.drawEllipse(centre, 3.0, 7.0);
    p.drawLine(centre + QPointF(-7, 0), centre + QPointF(7, 0));
    p.drawLine(centre + QPointF(-6, -3.5), centre + QPointF(6, -3.5));
    p.drawLine(centre + QPointF(-6, 3.5), centre + QPointF(6, 3.5));
}

void paintMenuGlyph(QPainter& p, QPointF centre, const QColor& colour) {
    p.setPen(QPen(colour, 1.6, Qt::SolidLine, Qt::RoundCap));
    for (int row = -1; row <= 1; ++row) {
        const qreal y = centre.y() + row * 4.5;
        p.drawLine(QPointF(centre.x() - 6, y), QPointF(centre.x() + 6, y));
    }
}

void paintWordmark(QPainter& p) {
    QFont word(QStringLiteral("Noto Sans"));
    word.setPixelSize(21);
    word.setBold(true);
    word.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
    p.setFont(word);
    p.setPen(kText);
    const QString title = texts::kApplicationTitle;
    p.drawText(QPoint(50, 32), title);
    const int titleWidth = QFontMetrics(word).horizontalAdvance(title);

    QFont sub(texts::kHeiTi);
    sub.setPixelSize(12);
    p.setFont(sub);
    p.setPen(kAccentLight);
    p.drawText(QPoint(50 + titleWidth + 12, 31), texts::kProductTagline);
}

void paintStrip(QPainter& p, int top, int height) {
    QLinearGradient strip(0, top, 0, top + height);
    strip.setColorAt(0, QColor(35, 39, 47));
    strip.setColorAt(1, QColor(24, 27, 33));
    p.fillRect(0, top, kPanelWidth, height, strip);
    p.fillRect(0, top, kPanelWidth, 1, QColor(255, 255, 255, 16));
}

StatePictures cutStates(const std::array<QImage, 3>& panels, const SkinPieceSpec& piece) {
    StatePictures result;
    for (size_t i = 0; i < panels.size(); ++i) {
        result.pictures[i] = QPixmap::fromImage(cutPiece(panels[i], piece));
    }
    return result;
}

QPixmap paintBackground() {
    QImage image(1191, 690, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient base(0, 0, 0, image.height());
    base.setColorAt(0, kWindowTop);
    base.setColorAt(1, kWindowBottom);
    p.fillRect(image.rect(), base);
    QRadialGradient glow(QPointF(image.width() * 0.3, -80), image.width() * 0.8);
    glow.setColorAt(0, QColor(255, 255, 255, 20));
    glow.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), glow);
    QRadialGradient warm(QPointF(image.width() * 0.95, image.height() * 1.05), 520);
    warm.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 22));
    warm.setColorAt(1, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 0));
    p.fillRect(image.rect(), warm);
    return QPixmap::fromImage(image);
}

}  // namespace

QImage paintMainPanel(SkinState state) {
    QImage panel(kPanelWidth, kMainPanelHeight, QImage::Format_ARGB32_Premultiplied);
    panel.fill(kTitleBottom);
    QPainter p(&panel);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    fillTitleBand(p, kMainTitleLeft.height);
    paintWordmark(p);

    const QColor glyph = glyphColour(state);
    const qreal mid = kMainTitleLeft.height / 2.0;
    paintButtonBack(p, QRectF(kMainWebsite.x + 2, mid - 12, kMainWebsite.width - 4, 24), state);
    paintGlobe(p, QPointF(kMainWebsite.x + kMainWebsite.width / 2.0, mid), glyph);
    paintButtonBack(p, QRectF(kMainMenu.x + 1, mid - 12, kMainMenu.width - 2, 24), state);
    paintMenuGlyph(p, QPointF(kMainMenu.x + kMainMenu.width / 2.0, mid), glyph);
    paintCloseBack(p, QRect(kMainClose.x + 1, 1, kMainClose.width - 4, kMainClose.height - 2),
                   state);
    paintCross(p, QPointF(kMainClose.x + kMainClose.width / 2.0 - 1, mid), 5.5,
               state == SkinState::Normal ? kMutedText : QColor(Qt::white));

    paintStrip(p, kMainPanelHeight - kMainBottom.height, kMainBottom.height);
    return panel;
}

QImage paintDialogPanel(SkinState state) {
    QImage panel(kPanelWidth, kDialogPanelHeight, QImage::Format_ARGB32_Premultiplied);
    panel.fill(kTitleBottom);
    QPainter p(&panel);
    p.setRenderHint(QPainter::Antialiasing);
    fillTitleBand(p, kDialogTitleLeft.height);
    p.fillRect(0, 9, 3, kDialogTitleLeft.height - 18, kAccent);

    const qreal mid = kDialogTitleLeft.height / 2.0;
    paintCloseBack(p, QRect(kDialogClose.x, 1, kDialogClose.width, kDialogClose.height - 2), state);
    paintCross(p, QPointF(kDialogClose.x + kDialogClose.width / 2.0, mid), 5.0,
               state == SkinState::Normal ? kMutedText : QColor(Qt::white));

    const int bottom = kDialogPanelHeight - kDialogBottom.height;
    p.fillRect(0, bottom, kPanelWidth, kDialogBottom.height, QColor(24, 27, 33));
    p.fillRect(0, bottom, kPanelWidth, 2, kAccent);
    return panel;
}

QImage cutPiece(const QImage& panel, const SkinPieceSpec& piece) {
    const int top = piece.fromBottom ? panel.height() - piece.height : 0;
    return panel.copy(piece.x, top, piece.width, piece.height);
}

const Skin& Skin::shared() {
    static const Skin skin;
    return skin;
}

Skin::Skin() {
    const std::array<QImage, 3> mainPanels{paintMainPanel(SkinState::Normal),
                                           paintMainPanel(SkinState::Hover),
                                           paintMainPanel(SkinState::Pressed)};
    const std::array<QImage, 3> dialogPanels{paintDialogPanel(SkinState::Normal),
                                             paintDialogPanel(SkinState::Hover),
                                             paintDialogPanel(SkinState::Pressed)};
    const QImage& main = mainPanels[0];
    const QImage& dialog = dialogPanels[0];
    mainTitleLeft = QPixmap::fromImage(cutPiece(main, skin::kMainTitleLeft));
    mainTitleMiddle = QPixmap::fromImage(cutPiece(main, skin::kMainTitleMiddle));
    mainBottom = QPixmap::fromImage(cutPiece(main, skin::kMainBottom));
    mainClose = cutStates(mainPanels, skin::kMainClose);
    mainMenu = cutStates(mainPanels, skin::kMainMenu);
    mainWebsite = cutStates(mainPanels, skin::kMainWebsite);
    dialogTitleLeft = QPixmap::fromImage(cutPiece(dialog, skin::kDialogTitleLeft));
    dialogTitleMiddle = QPixmap::fromImage(cutPiece(dialog, skin::kDialogTitleMiddle));
    dialogBottom = QPixmap::fromImage(cutPiece(dialog, skin::kDialogBottom));
    dialogClose = cutStates(dialogPanels, skin::kDialogClose);
    background = paintBackground();
}

QString skinStyleSheet() {
    return QStringLiteral(R"(
QPushButton {
    color: #e8eaee;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #4a5266, stop:1 #373d4b);
    border: 1px solid #1c2027;
    border-radius: 4px;
    padding: 2px 8px;
}
QPushButton:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #566076, stop:1 #414857);
    border-color: #e8a33d;
}
QPushButton:pressed { background: #2b303b; border-color: #c98a2e; }
QPushButton:disabled { color: #7b808c; background: #343945; border-color: #2a2e37; }
QPushButton[accent="true"] {
    color: #1f1a12;
    font-weight: bold;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #f6c778, stop:1 #e19a33);
    border-color: #9a6a22;
}
QPushButton[accent="true"]:hover {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fbd699, stop:1 #eaa844);
}
QPushButton[accent="true"]:pressed { background: #c98a2e; }
QTreeWidget, QListWidget {
    color: #dfe2e8;
    background: #1d2128;
    alternate-background-color: #22272f;
    border: 1px solid #14171c;
    selection-background-color: #e8a33d;
    selection-color: #1d1f24;
}
QTreeWidget:disabled { color: #c4c8d0; }
QHeaderView::section {
    color: #c9ced8;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #3a4150, stop:1 #2f3541);
    border: 0;
    border-right: 1px solid #20242c;
    border-bottom: 1px solid #14171c;
    padding: 3px 6px;
}
QGroupBox {
    color: #f6c778;
    border: 1px solid #4a5263;
    border-radius: 5px;
    margin-top: 16px;
    padding: 10px 8px 6px 8px;
    background: rgba(0, 0, 0, 38);
}
QGroupBox::title { subcontrol-origin: margin; left: 10px; padding: 0 4px; }
QRadioButton { color: #e8eaee; spacing: 7px; }
QRadioButton:disabled { color: #9aa0ad; }
QRadioButton::indicator {
    width: 14px;
    height: 14px;
    border-radius: 8px;
    border: 1px solid #7b8394;
    background: #1d2128;
}
QRadioButton::indicator:hover { border-color: #e8a33d; }
QRadioButton::indicator:checked {
    border-color: #e8a33d;
    background: qradialgradient(cx:0.5, cy:0.5, radius:0.5, fx:0.5, fy:0.5,
                                stop:0 #f6c778, stop:0.42 #e8a33d, stop:0.5 #1d2128,
                                stop:1 #1d2128);
}
QLabel { color: #e8eaee; }
QFileDialog QLabel { color: #1d1f24; }
QProgressBar { border: 0; background: rgba(255, 255, 255, 30); }
QProgressBar::chunk { background: #e8a33d; }
QProgressBar[textVisible="true"] {
    color: #1d1f24;
    background: #cfd3da;
    border: 1px solid #14171c;
    text-align: center;
    font-weight: bold;
}
QMenu {
    color: #e8eaee;
    background: #262b34;
    border: 1px solid #14171c;
    padding: 4px 0;
}
QMenu::item { padding: 5px 28px 5px 22px; }
QMenu::item:selected { background: #e8a33d; color: #1d1f24; }
QMenu::separator { height: 1px; background: #3a404c; margin: 4px 8px; }
QScrollArea { background: transparent; border: 0; }
QLabel#thumbnailFrame { background: rgb(62, 62, 62); border: 1px solid rgb(36, 36, 36); }
QPushButton#pageArrow { padding: 0; font-weight: bold; }
QToolTip { color: #000000; background-color: #ffff00; border: 1px solid #000000; }
)");
}

}  // namespace vellumo
