#include "app/main_title_bar.h"

#include <QLabel>

#include <algorithm>

#include "app/app_texts.h"
#include "skin/skin.h"
#include "skin/skin_widgets.h"

namespace vellumo {

MainTitleBar::MainTitleBar(QWidget* parent) : QWidget(parent) {
    const Skin& skin = Skin::shared();
    left_ = new QLabel(this);
    left_->setPixmap(skin.mainTitleLeft);
    middle_ = new TitleDragPicture(skin.mainTitleMiddle, this);
    middle_->setToolTip(texts::kDragHint);
    websitePicture_ = new QLabel(this);
    menuPicture_ = new QLabel(this);
    closePicture_ = new QLabel(this);
    websiteLabel_ = new SkinHotspot(websitePicture_, skin.mainWebsite, this);
    menuLabel_ = new SkinHotspot(menuPicture_, skin.mainMenu, this);
    closeLabel_ = new SkinHotspot(closePicture_, skin.mainClose, this);
    album_ = new QLabel(this);
    album_->setObjectName(QStringLiteral("albumTitle"));
    album_->setAlignment(Qt::AlignCenter);
    QFont albumFont(texts::kSongTi);
    albumFont.setPixelSize(14);
    album_->setFont(albumFont);
    album_->setStyleSheet(QStringLiteral("color: #c8ccd6; background: transparent;"));
    // The bar is dragged through the name.
    album_->setAttribute(Qt::WA_TransparentForMouseEvents);

    connect(closeLabel_, &SkinHotspot::released, this, &MainTitleBar::closeReleased);
    connect(websiteLabel_, &SkinHotspot::released, this, &MainTitleBar::websiteReleased);
    connect(menuLabel_, &SkinHotspot::released, this,
            [this] { emit menuReleased(menuLabel_->mapToGlobal(menuLabel_->rect().center())); });
    setFixedHeight(skin.mainTitleLeft.height());
}

void MainTitleBar::showAlbumName(const QString& markedName) {
    album_->setText(markedName);
}

QString MainTitleBar::albumName() const {
    return album_->text();
}

void MainTitleBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutPieces();
}

void MainTitleBar::layoutPieces() {
    const Skin& skin = Skin::shared();
    const int w = width();
    const int h = skin.mainTitleLeft.height();
    const int closeWidth = skin.mainClose[SkinState::Normal].width();
    const int menuWidth = skin.mainMenu[SkinState::Normal].width();
    const int websiteWidth = skin.mainWebsite[SkinState::Normal].width();
    const int buttonHeight = skin.mainClose[SkinState::Normal].height();

    left_->setGeometry(0, 0, skin.mainTitleLeft.width(), h);
    closePicture_->setGeometry(w - closeWidth, 0, closeWidth, buttonHeight);
    menuPicture_->setGeometry(closePicture_->x() - menuWidth, 0, menuWidth, buttonHeight);
    websitePicture_->setGeometry(menuPicture_->x() - websiteWidth, 0, websiteWidth, buttonHeight);
    middle_->setGeometry(left_->width(), 0, websitePicture_->x() - left_->width(), h);

    closeLabel_->setGeometry(w - kCloseLabelFromRight, 0, kCloseLabelWidth, buttonHeight);
    menuLabel_->setGeometry(closeLabel_->x() - kMenuLabelWidth, 0, kMenuLabelWidth, buttonHeight);
    websiteLabel_->setGeometry(menuLabel_->x() - kWebsiteLabelWidth, 0, kWebsiteLabelWidth,
                               buttonHeight);
    // Centred on the bar, clear of the program's name on the left and the pictures on the right.
    const int albumWidth = std::max(0, 2 * (websitePicture_->x() - w / 2) - 16);
    album_->setGeometry((w - albumWidth) / 2, 0, albumWidth, h);
    album_->raise();
    for (QWidget* hotspot : {closeLabel_, menuLabel_, websiteLabel_}) {
        hotspot->raise();
    }
}

}  // namespace vellumo
