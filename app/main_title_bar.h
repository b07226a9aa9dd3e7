#pragma once

// The main window's title bar: left picture, stretched middle picture (the drag area), the
// website, menu and close pictures at the right edge, and the clickable labels over them.

#include <QWidget>

class QLabel;

namespace vellumo {

class SkinHotspot;
class TitleDragPicture;

class MainTitleBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCloseLabelWidth = 32;
    static constexpr int kCloseLabelFromRight = 35;
    static constexpr int kMenuLabelWidth = 28;
    static constexpr int kWebsiteLabelWidth = 30;

    explicit MainTitleBar(QWidget* parent);

    TitleDragPicture* dragPicture() const { return middle_; }
    SkinHotspot* closeLabel() const { return closeLabel_; }
    SkinHotspot* menuLabel() const { return menuLabel_; }
    SkinHotspot* websiteLabel() const { return websiteLabel_; }
    // The album's name with its unsaved mark, in the middle of the bar.
    void showAlbumName(const QString& markedName);
    QString albumName() const;

signals:
    void closeReleased();
    // Global position of the menu label's centre.
    void menuReleased(QPoint globalCentre);
    void websiteReleased();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutPieces();

    QLabel* left_ = nullptr;
    TitleDragPicture* middle_ = nullptr;
    QLabel* closePicture_ = nullptr;
    QLabel* menuPicture_ = nullptr;
    QLabel* websitePicture_ = nullptr;
    SkinHotspot* closeLabel_ = nullptr;
    SkinHotspot* menuLabel_ = nullptr;
    SkinHotspot* websiteLabel_ = nullptr;
    QLabel* album_ = nullptr;
};

}  // namespace vellumo
