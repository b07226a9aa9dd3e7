#pragma once

// The lyric label: one lyric line shown in its look's font and colour, the text's top-left where
// the look puts it. The main display's label paints the line as the video shows it; the lyric
// windows' labels show it plainly on their reference screens.

#include <QLabel>

#include "album/lyric_painting.h"

namespace vellumo {

class LyricLabel : public QLabel {
    Q_OBJECT
public:
    enum class Edge {
        // Painted as the production paints it over each frame, with the thin edge; the label
        // reaches the edge's width beyond the text on every side.
        Outlined,
        // The label's own text drawing in the line's colour, a little wider than the text's
        // advance for slanted glyphs that reach past it.
        Plain,
    };

    LyricLabel(Edge edge, QWidget* parent);

    // Takes the line's text, font and colour and moves to the look's top-left.
    void showLine(const LyricLine& line);
    // The colour alone; the text alone, the label resized to it with its top-left kept.
    void setColour(const QColor& colour);
    void setLineText(const QString& text);
    const QColor& colour() const { return colour_; }
    // The karaoke fill of an outlined label: how much of its text is sung, in which colour.
    void setSung(const QColor& sungColour, qreal sungCharacters);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // How far the label reaches beyond the text on each side.
    int margin() const;
    int widthFor(const QString& text) const;

    Edge edge_;
    QColor colour_ = Qt::white;
    QColor sungColour_;  // invalid: no fill
    qreal sungCharacters_ = -1;
};

}  // namespace vellumo
