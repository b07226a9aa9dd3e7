#include "app/about_window.h"

#include <QLabel>
#include <QPushButton>

#include "app/app_texts.h"
#include "dialogs/dialog_texts.h"
#include "skin/artwork.h"
#include "skin/skin.h"

namespace vellumo {

namespace {

constexpr int kIconSize = 64;
constexpr int kLeft = 40;
constexpr int kTextLeft = kLeft + kIconSize + 24;
constexpr int kButtonWidth = 110;
constexpr int kButtonHeight = 32;

}  // namespace

AboutWindow::AboutWindow(QWidget* parent) : SkinnedDialog(kSize, texts::kAbout, parent) {
    const int textWidth = kSize.width() - kTextLeft - kLeft;

    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(artwork::programIcon(kIconSize)));
    icon->setGeometry(kLeft, 64, kIconSize, kIconSize);

    auto* product = new QLabel(texts::kAboutProduct, this);
    QFont heading(texts::kHeiTi);
    heading.setPixelSize(20);
    heading.setBold(true);
    product->setFont(heading);
    product->setStyleSheet(QStringLiteral("color: #f6c778;"));
    product->setGeometry(kTextLeft, 62, textWidth, 30);

    version_ = new QLabel(texts::kAboutVersion.arg(version()), this);
    version_->setFont(songTi(14));
    version_->setGeometry(kTextLeft, 96, textWidth, 22);

    auto* description = new QLabel(texts::kAboutDescription, this);
    description->setFont(songTi(13));
    description->setWordWrap(true);
    description->setGeometry(kTextLeft, 126, textWidth, 40);

    licence_ = new QLabel(texts::kAboutLicence, this);
    licence_->setFont(songTi(12));
    licence_->setWordWrap(true);
    licence_->setStyleSheet(QStringLiteral("color: #b9bec8;"));
    licence_->setGeometry(kTextLeft, 174, textWidth, 72);

    const int buttonsTop = kSize.height() - kBottomHeight - 24 - kButtonHeight;
    help_ = new QPushButton(texts::kHelp, this);
    help_->setGeometry(kSize.width() - kLeft - 2 * kButtonWidth - 16, buttonsTop, kButtonWidth,
                       kButtonHeight);
    ok_ = new QPushButton(texts::kOk, this);
    ok_->setProperty("accent", true);
    ok_->setDefault(true);
    ok_->setGeometry(kSize.width() - kLeft - kButtonWidth, buttonsTop, kButtonWidth, kButtonHeight);

    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(help_, &QPushButton::clicked, this, [this] {
        accept();
        emit helpRequested();
    });
}

QString AboutWindow::version() {
    return QStringLiteral(VELLUMO_VERSION);
}

}  // namespace vellumo
