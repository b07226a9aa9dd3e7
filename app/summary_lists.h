#pragma once

// The three summary lists on the left of the main window: used templates, music and lyrics.
// Their owners rebuild them; a double-click on the music or lyrics list asks for the music and
// lyrics preview window.

#include <QStringList>
#include <QWidget>

class QTreeWidget;

namespace vellumo {

class SummaryLists : public QWidget {
    Q_OBJECT
public:
    explicit SummaryLists(QWidget* parent);

    QTreeWidget* templates() const { return templates_; }
    QTreeWidget* music() const { return music_; }
    QTreeWidget* lyrics() const { return lyrics_; }

    // Replaces a list's rows; each row holds the column texts.
    static void setRows(QTreeWidget* list, const QList<QStringList>& rows);

signals:
    void musicDoubleClicked();
    void lyricsDoubleClicked();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* templates_ = nullptr;
    QTreeWidget* music_ = nullptr;
    QTreeWidget* lyrics_ = nullptr;
};

}  // namespace vellumo
