#pragma once

// The base of every secondary window: frameless, modal, centred on the screen, with the skinned
// title (caption label at (10, 10), left and stretched middle pictures, close picture at the
// right edge), the bottom strip and the main window's background picture behind everything.
// The window is dragged by its title pictures; releasing the close label calls
// closeLabelReleased(), which rejects the dialog unless a subclass says otherwise.

#include <QDialog>

class QLabel;

namespace vellumo {

class SkinHotspot;
class TitleDragPicture;

class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    static constexpr int kTitleHeight = 37;
    static constexpr int kBottomHeight = 6;
    static constexpr int kCaptionLeft = 10;
    static constexpr int kCaptionTop = 10;

    SkinnedDialog(QSize clientSize, const QString& caption, QWidget* parent = nullptr);

    // The caption shown in the title label; the same as the window title.
    QString caption() const;
    void setCaption(const QString& caption);

    QLabel* titleLabel() const { return title_; }
    SkinHotspot* closeLabel() const { return closeLabel_; }

    // Keeps the fixed size but lets subclasses grow the window for longer content.
    void setClientSize(QSize size);

protected:
    virtual void closeLabelReleased();

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutSkin();
    void centreOnScreen();

    QLabel* titleLeft_ = nullptr;
    TitleDragPicture* titleMiddle_ = nullptr;
    QLabel* closePicture_ = nullptr;
    SkinHotspot* closeLabel_ = nullptr;
    QLabel* bottom_ = nullptr;
    QLabel* title_ = nullptr;
};

// The font the windows use: "宋体" at the given pixel size.
QFont songTi(int pixelSize);

}  // namespace vellumo
