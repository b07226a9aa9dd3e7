#include <QFontMetrics>
#include <QImage>
#include <QtTest>

#include "album/lyric_label.h"

namespace vellumo {

namespace {

LyricLine yellowLine() {
    LyricLine line{QString::fromUtf16(u"翻开旧相册"), defaultLyricLook()};
    line.look.font.setPixelSize(30);
    line.look.colour = QColor(255, 255, 0);
    line.look.topLeft = QPoint(40, 60);
    return line;
}

// How many pixels of the label's picture are about that colour.
int pixelsLike(const QImage& picture, const QColor& colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                                 std::abs(c.blue() - colour.blue()) <
                             100
                         ? 1
                         : 0;
        }
    }
    return count;
}

QImage paintedOnGrey(QWidget& screen) {
    QImage picture(screen.size(), QImage::Format_RGB32);
    picture.fill(QColor(128, 128, 128));
    screen.render(&picture, QPoint(), QRegion(), QWidget::DrawChildren);
    return picture;
}

}  // namespace

class LyricLabelTest : public QObject {
    Q_OBJECT

private slots:
    void outlinedLabelKeepsTheTextWhereTheLookPutsItWithAnEdge() {
        QWidget screen;
        screen.resize(400, 200);
        LyricLabel label(LyricLabel::Edge::Outlined, &screen);
        const LyricLine line = yellowLine();
        label.showLine(line);
        const int edge = static_cast<int>(std::ceil(lyricOutlineWidth(line.look.font)));
        QVERIFY(edge >= 1);
        // The label reaches the edge beyond the text, so the text's top-left stays put.
        QCOMPARE(label.pos(), line.look.topLeft - QPoint(edge, edge));
        const QFontMetrics metrics(line.look.font);
        QCOMPARE(label.size(), QSize(metrics.horizontalAdvance(line.text) + 2 * edge,
                                     metrics.height() + 2 * edge));
        QCOMPARE(label.colour(), line.look.colour);

        // Painted as the video paints it: the letters and a dark edge around them.
        const QImage picture = paintedOnGrey(screen);
        QVERIFY(pixelsLike(picture, Qt::yellow) > 100);
        QVERIFY(pixelsLike(picture, Qt::black) > 50);
    }

    void plainLabelShowsTheTextInItsColourWithoutAnEdge() {
        QWidget screen;
        screen.resize(400, 200);
        LyricLabel label(LyricLabel::Edge::Plain, &screen);
        const LyricLine line = yellowLine();
        label.showLine(line);
        QCOMPARE(label.pos(), line.look.topLeft);
        const QFontMetrics metrics(line.look.font);
        QCOMPARE(label.width(),
                 metrics.horizontalAdvance(line.text) + metrics.averageCharWidth() / 2);
        QCOMPARE(label.height(), metrics.height());
        QVERIFY(label.styleSheet().contains(QStringLiteral("#ffff00")));
        const QImage picture = paintedOnGrey(screen);
        QVERIFY(pixelsLike(picture, Qt::yellow) > 100);
        QCOMPARE(pixelsLike(picture, Qt::black), 0);

        // A new text keeps the top-left and takes its own width; a new colour shows at once.
        label.setLineText(QStringLiteral("ab"));
        QCOMPARE(label.pos(), line.look.topLeft);
        QCOMPARE(label.width(),
                 metrics.horizontalAdvance(QStringLiteral("ab")) + metrics.averageCharWidth() / 2);
        label.setColour(QColor(0, 255, 0));
        QVERIFY(label.styleSheet().contains(QStringLiteral("#00ff00")));
    }

    void emptyLineShowsNothing() {
        QWidget screen;
        screen.resize(400, 200);
        LyricLabel label(LyricLabel::Edge::Outlined, &screen);
        LyricLine line = yellowLine();
        line.text.clear();
        label.showLine(line);
        const QImage picture = paintedOnGrey(screen);
        QCOMPARE(pixelsLike(picture, QColor(128, 128, 128)), picture.width() * picture.height());
    }
};

}  // namespace vellumo

QTEST_MAIN(vellumo::LyricLabelTest)
#include "test_lyric_label.moc"
