#include "app/plugin_notice.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include "app/app_texts.h"
#include "app/help_window.h"
#include "dialogs/message_dialog.h"
#include "skin/skin.h"

namespace vellumo {

namespace {

// A round badge with an exclamation mark.
QPixmap noticeBadge(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, 0, size);
    fill.setColorAt(0, skin::kAccentLight);
    fill.setColorAt(1, skin::kAccent);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawEllipse(QRectF(1, 1, size - 2, size - 2));
    p.setBrush(QColor(40, 30, 16));
    const qreal cx = size / 2.0;
    p.drawRoundedRect(QRectF(cx - size * 0.05, size * 0.22, size * 0.1, size * 0.38), 3, 3);
    p.drawEllipse(QPointF(cx, size * 0.73), size * 0.065, size * 0.065);
    return QPixmap::fromImage(image);
}

}  // namespace

PluginNotice::PluginNotice(QWidget* parent) : SkinnedDialog(kSize, texts::kPluginCaption, parent) {
    constexpr int kTextLeft = 138;
    const int textWidth = kSize.width() - kTextLeft - 40;

    badge_ = new QLabel(this);
    badge_->setPixmap(noticeBadge(72));
    badge_->setGeometry(44, 78, 72, 72);

    missing_ = new QLabel(texts::kPluginMissing, this);
    QFont heading(texts::kHeiTi);
    heading.setPixelSize(18);
    heading.setBold(true);
    missing_->setFont(heading);
    missing_->setStyleSheet(QStringLiteral("color: #f6c778;"));
    missing_->setWordWrap(true);
    missing_->setGeometry(kTextLeft, 78, textWidth, 52);

    advice_ = new QLabel(texts::kPluginAdvice, this);
    advice_->setFont(songTi(14));
    advice_->setWordWrap(true);
    advice_->setGeometry(kTextLeft, 140, textWidth, 60);

    link_ = new QLabel(this);
    link_->setText(
        QStringLiteral("<a href=\"%1\" style=\"color:#8fc9ff;\">%2</a>")
            .arg(helpPage(texts::kStartupMovieHelpSection).toString(), texts::kPluginHelpLink));
    link_->setFont(songTi(14));
    link_->setToolTip(texts::kPluginHelpLinkHint);
    link_->setCursor(Qt::PointingHandCursor);
    link_->setTextFormat(Qt::RichText);
    link_->setGeometry(kTextLeft, 214, textWidth, 24);
    connect(link_, &QLabel::linkActivated, this,
            [this](const QString&) { openHelp(this, texts::kStartupMovieHelpSection); });

    const int buttonsTop = kSize.height() - kBottomHeight - 30 - 34;
    download_ = new QPushButton(texts::kPluginDownload, this);
    download_->setProperty("accent", true);
    download_->setToolTip(texts::kPluginDownloadHint);
    download_->setGeometry(kSize.width() - 2 * 120 - 16 - 40, buttonsTop, 120, 34);
    quit_ = new QPushButton(texts::kPluginQuit, this);
    quit_->setToolTip(texts::kPluginQuitHint);
    quit_->setGeometry(kSize.width() - 120 - 40, buttonsTop, 120, 34);

    // The animation is part of the installed program: the help says how to install it again.
    connect(download_, &QPushButton::clicked, this, [this] {
        openHelp(this, texts::kStartupMovieHelpSection);
        showMessage(texts::kPluginInstallFirstQuit);
    });
    connect(quit_, &QPushButton::clicked, this, [this] {
        accept();
        emit quitRequested();
    });
}

}  // namespace vellumo
