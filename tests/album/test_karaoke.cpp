#include <QFontMetrics>
#include <QImage>
#include <QtTest>

#include "album/lyric_label.h"
#include "album/lyric_painting.h"
#include "album/lyrics.h"
#include "timeline/lyric_overlay.h"

namespace vellumo {

namespace {

const QString kKaraokeFile = QString::fromUtf16(
    u"[00:12.00]<00:12.00>春天<00:12.80>的<00:13.10>花开\n"
    u"[00:15.00]没有字时间的一句\n"
    u"[00:20.00]<00:20.00>最后<00:21.00>一句<00:22.00>\n");

const QColor kSung(0, 255, 255);

LyricLine karaokeLine(const QString& text, qreal sung) {
    LyricLine line{text, defaultLyricLook()};
    line.look.font.setPixelSize(40);
    line.look.colour = Qt::white;
    line.look.sungColour = kSung;
    line.look.topLeft = QPoint(30, 50);
    line.sungCharacters = sung;
    return line;
}

// Pixels near a colour inside a column range of the picture.
int pixelsLike(const QImage& picture, const QColor& colour, int fromX, int toX) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = std::max(0, fromX); x < std::min(picture.width(), toX); ++x) {
            const QColor c = picture.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) + std::abs(c.green() - colour.green()) +
                                 std::abs(c.blue() - colour.blue()) <
                             60
                         ? 1
                         : 0;
        }
    }
    return count;
}

int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            largest = std::max({largest, std::abs(p.red() - q.red()),
                                std::abs(p.green() - q.green()), std::abs(p.blue() - q.blue())});
        }
    }
    return largest;
}

QImage grey() {
    QImage picture(420, 140, QImage::Format_RGB32);
    picture.fill(QColor(90, 90, 90));
    return picture;
}

}  // namespace

class KaraokeTest : public QObject {
    Q_OBJECT

private slots:
    void wordTimesAreTakenOutOfTheText() {
        const LyricTable table = LyricTable::fromText(kKaraokeFile);
        const QVector<LyricEntry>& entries = table.entries();
        QCOMPARE(entries.size(), 4);
        QCOMPARE(entries[1].text, QString::fromUtf16(u"春天的花开"));
        QCOMPARE(entries[3].text, QString::fromUtf16(u"最后一句"));
        for (const LyricEntry& entry : entries) {
            QVERIFY(!entry.text.contains(u'<'));
        }
        const LyricTiming first = table.timing(1);
        QCOMPARE(first.startMs, 12000);
        QCOMPARE(first.endMs, 15000);  // the next line's time
        QCOMPARE(first.words, (QVector<LyricWord>{{0, 12000}, {2, 12800}, {3, 13100}}));
        // A line without word times has none; a closing word time ends its line.
        QVERIFY(table.timing(2).words.isEmpty());
        QCOMPARE(table.timing(3).endMs, 22000);
        QCOMPARE(table.timing(3).words.last().position, 4);
        // Angle brackets that hold no time are text; the line is found as before.
        const LyricTable odd = LyricTable::fromText(QStringLiteral("[00:01]a <b> c<00:0x>\n"));
        QCOMPARE(odd.entries()[1].text, QStringLiteral("a <b> c<00:0x>"));
        QVERIFY(odd.timing(1).words.isEmpty());
        QCOMPARE(table.find(QStringLiteral("00:12")), &entries[1]);
    }

    void timeTagsInEveryPrecision() {
        QCOMPARE(lyricTagMs(u"01:05"), 65000);
        QCOMPARE(lyricTagMs(u"01:05.3"), 65300);
        QCOMPARE(lyricTagMs(u"01:05.32"), 65320);
        QCOMPARE(lyricTagMs(u"01:05.321"), 65321);
        QCOMPARE(lyricTagMs(u"01:05:32"), 65320);
        for (const char16_t* bad :
             {u"", u"1:05", u"01:60", u"01:05.", u"01:05.1234", u"ti:x", u"01-05", u"01:05.3a"}) {
            QCOMPARE(lyricTagMs(bad), -1);
        }
    }

    void theFillFollowsTheWordsOrRunsEvenly() {
        const LyricTable table = LyricTable::fromText(kKaraokeFile);
        QCOMPARE(table.sungCharacters(1, 11000), 0.0);
        QCOMPARE(table.sungCharacters(1, 12000), 0.0);
        QCOMPARE(table.sungCharacters(1, 12400), 1.0);  // half of "春天"
        QCOMPARE(table.sungCharacters(1, 12800), 2.0);  // "春天" sung, "的" begins
        QCOMPARE(table.sungCharacters(1, 13100), 3.0);
        QCOMPARE(table.sungCharacters(1, 14050), 4.0);  // "花开" runs to the next line
        QCOMPARE(table.sungCharacters(1, 16000), 5.0);
        // Without word times: evenly from 15 s to 20 s over its eight characters.
        QCOMPARE(table.sungCharacters(2, 17500), 4.0);
        QCOMPARE(table.sungCharacters(2, 18750), 6.0);
        QCOMPARE(table.sungCharacters(2, 25000), 8.0);
        // The closing word time ends the last line.
        QCOMPARE(table.sungCharacters(3, 21500), 3.0);
        QCOMPARE(table.sungCharacters(3, 22000), 4.0);
        // The last line without a closing time fills at once; so does a header.
        const LyricTable open = LyricTable::fromText(QStringLiteral("[ti:x]\n[00:03]ab\n"));
        QCOMPARE(open.sungCharacters(1, 2999), 0.0);
        QCOMPARE(open.sungCharacters(1, 3000), 0.0);
        QCOMPARE(open.sungCharacters(1, 3001), 2.0);
        QCOMPARE(open.sungCharacters(2, 3000), 0.0);
    }

    void betweenTwoWordsTheFirstIsSungAndTheSecondNot() {
        const LyricTable table = LyricTable::fromText(kKaraokeFile);
        const QString text = table.entries()[1].text;
        const LyricLine line = karaokeLine(text, table.sungCharacters(1, 12800));
        QImage picture = grey();
        drawLyricLine(picture, line);
        const QFontMetrics metrics(line.look.font);
        const int left = line.look.topLeft.x();
        const int firstEnd = left + metrics.horizontalAdvance(text.left(2));
        const int secondEnd = left + metrics.horizontalAdvance(text.left(3));
        QVERIFY(pixelsLike(picture, kSung, left, firstEnd) > 100);
        QCOMPARE(pixelsLike(picture, Qt::white, left, firstEnd - 1), 0);
        QVERIFY(pixelsLike(picture, Qt::white, firstEnd + 1, secondEnd) > 30);
        QCOMPARE(pixelsLike(picture, kSung, firstEnd + 1, picture.width()), 0);

        // Nothing sung yet, and all of it sung.
        QImage before = grey();
        drawLyricLine(before, karaokeLine(text, 0));
        QCOMPARE(pixelsLike(before, kSung, 0, before.width()), 0);
        QImage after = grey();
        drawLyricLine(after, karaokeLine(text, 5));
        QCOMPARE(pixelsLike(after, Qt::white, 0, after.width()), 0);
        // Without a sung colour the line is drawn as before, whatever is sung.
        LyricLine plain = karaokeLine(text, 3);
        plain.look.sungColour = QColor();
        QImage plainPicture = grey();
        drawLyricLine(plainPicture, plain);
        QCOMPARE(pixelsLike(plainPicture, kSung, 0, plainPicture.width()), 0);
    }

    void theProductionsOverlayAndThePreviewsLabelDrawTheSameFill() {
        const QString text = QString::fromUtf16(u"春天的花开");
        LyricOverlay overlay;
        for (const qreal sung : {0.0, 0.5, 2.0, 3.4, 5.0, 2.0}) {
            const LyricLine line = karaokeLine(text, sung);
            QImage painted = grey();
            drawLyricLine(painted, line);
            QImage laid = grey();
            overlay.draw(laid, line);
            QVERIFY2(largestDifference(painted, laid) <= 2, qPrintable(QString::number(sung)));

            // The preview's label over a picture of the same grey.
            QWidget screen;
            screen.resize(painted.size());
            LyricLabel label(LyricLabel::Edge::Outlined, &screen);
            label.showLine(line);
            QImage shown = grey();
            screen.render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
            QVERIFY2(largestDifference(painted, shown) <= 2, qPrintable(QString::number(sung)));
        }
    }
};

}  // namespace vellumo

QTEST_MAIN(vellumo::KaraokeTest)
#include "test_karaoke.moc"
