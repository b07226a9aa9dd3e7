#include "production/output_windows.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "album/output_formats.h"
#include "dialogs/dialog_texts.h"
#include "dialogs/message_dialog.h"
#include "production/production_texts.h"

namespace vellumo {

namespace {

QLabel* label(const QString& text, QWidget* parent, QRect geometry) {
    auto* l = new QLabel(text, parent);
    l->setGeometry(geometry);
    return l;
}

QPushButton* button(const QString& text, QWidget* parent, QRect geometry) {
    auto* b = new QPushButton(text, parent);
    b->setGeometry(geometry);
    return b;
}

// A group of two exclusive choices.
QGroupBox* choiceGroup(const QString& caption, QRadioButton*& first, const QString& firstText,
                       QRadioButton*& second, const QString& secondText, QWidget* parent,
                       QRect geometry) {
    auto* group = new QGroupBox(caption, parent);
    group->setGeometry(geometry);
    auto* layout = new QVBoxLayout(group);
    first = new QRadioButton(firstText, group);
    second = new QRadioButton(secondText, group);
    layout->addWidget(first);
    layout->addWidget(second);
    auto* exclusive = new QButtonGroup(group);
    exclusive->addButton(first);
    exclusive->addButton(second);
    return group;
}

}  // namespace

QString albumTypeResultWord(AlbumTypeResult result) {
    return result == AlbumTypeResult::Start ? QStringLiteral("zhizuo_kaishi")
                                            : QStringLiteral("zhizuo_quxiao");
}

AlbumTypeWindow::AlbumTypeWindow(OutputOptions& options, QWidget* parent)
    : SkinnedDialog(QSize(460, 300), texts::kAlbumTypeCaption, parent), options_(options) {
    label(texts::kOutputAlbumType, this, QRect(30, 55, 130, 24));
    type_ = label(QString(), this, QRect(170, 55, 200, 24));
    label(texts::kChooseOutputSize, this, QRect(30, 92, 130, 24));
    sizes_ = new QComboBox(this);
    sizes_->setGeometry(170, 90, 160, 26);
    default_ = button(texts::kDefaultSize, this, QRect(345, 90, 80, 26));
    label(texts::kCurrentOutputSize, this, QRect(30, 130, 130, 24));
    current_ = label(QString(), this, QRect(170, 130, 200, 24));
    label(texts::kEnterAlbumName, this, QRect(30, 170, 130, 24));
    name_ = new QLineEdit(this);
    name_->setGeometry(170, 168, 255, 26);
    disc_ = new QCheckBox(texts::kDiscImage, this);
    disc_->setGeometry(170, 200, 255, 26);
    h265_ = new QCheckBox(texts::kEfficientCoding, this);
    h265_->setGeometry(170, 200, 255, 26);
    start_ = button(texts::kStartProduction, this, QRect(150, 235, 100, 32));
    cancel_ = button(texts::kCancel, this, QRect(270, 235, 100, 32));

    connect(sizes_, &QComboBox::activated, this, &AlbumTypeWindow::sizeChosen);
    connect(default_, &QPushButton::clicked, this, [this] {
        sizes_->setCurrentIndex(kDefaultSizeIndex);
        sizeChosen(kDefaultSizeIndex);
    });
    connect(disc_, &QCheckBox::toggled, this, &AlbumTypeWindow::discChosen);
    connect(h265_, &QCheckBox::toggled, this,
            [this](bool on) { options_.coding = on ? VideoCoding::H265 : VideoCoding::H264; });
    connect(start_, &QPushButton::clicked, this, &AlbumTypeWindow::startPressed);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void AlbumTypeWindow::sizeChosen(int index) {
    listedSize_ = index;
    options_.chooseSize(index);
    current_->setText(outputSizeText(options_.outputSize));
}

void AlbumTypeWindow::discChosen(bool on) {
    // A disc has the standard's size: the list shows it, greyed, and its sizes wait until the
    // box is cleared.
    const bool disc = on && options_.chooseDiscImage();
    if (disc) {
        sizes_->setPlaceholderText(outputSizeText(options_.outputSize));
        sizes_->setCurrentIndex(-1);
    } else {
        sizes_->setCurrentIndex(listedSize_);
        options_.chooseSize(listedSize_);
    }
    sizes_->setEnabled(!disc);
    default_->setEnabled(!disc);
    current_->setText(outputSizeText(options_.outputSize));
}

void AlbumTypeWindow::startPressed() {
    // Only the empty name is refused; a name of spaces is a name.
    if (name_->text().isEmpty()) {
        showMessage(texts::kAlbumNameEmpty);
        return;
    }
    if (!isAlbumFileName(name_->text())) {
        showMessage(texts::kAlbumNameNotAFileName);
        return;
    }
    options_.albumName = name_->text();
    result_ = AlbumTypeResult::Start;
    accept();
}

AlbumTypeResult AlbumTypeWindow::choose() {
    result_ = AlbumTypeResult::Cancel;
    const AlbumType type = options_.albumType.value_or(AlbumType::Dvd);
    type_->setText(albumTypeName(type));
    sizes_->clear();
    for (const QSize& size : outputSizes(type)) {
        sizes_->addItem(outputSizeText(size));
    }
    const bool disc = options_.isDiscImage();
    listedSize_ = kDefaultSizeIndex;
    sizes_->setCurrentIndex(kDefaultSizeIndex);
    disc_->setVisible(outputFormat(type).disc.has_value());
    h265_->setVisible(type == AlbumType::Mp4);
    {
        const QSignalBlocker quiet(h265_);
        h265_->setChecked(options_.coding == VideoCoding::H265);
    }
    {
        const QSignalBlocker quiet(disc_);
        disc_->setChecked(disc);
    }
    discChosen(disc);
    name_->setText(options_.albumName);
    name_->setFocus();
    exec();
    return result_;
}

QualityWindow::QualityWindow(OutputOptions& options, QWidget* parent)
    : SkinnedDialog(QSize(420, 230), texts::kQualityCaption, parent), options_(options) {
    choiceGroup(texts::kTvSystemGroup, pal_, texts::kPal, ntsc_, texts::kNtsc, this,
                QRect(20, 55, 180, 110));
    choiceGroup(texts::kQualityGroup, standard_, texts::kQualityStandard, high_,
                texts::kQualityHigh, this, QRect(220, 55, 180, 110));
    connect(pal_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            options_.tvSystem = TvSystem::Pal;
        }
    });
    connect(ntsc_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            options_.tvSystem = TvSystem::Ntsc;
        }
    });
    connect(standard_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            options_.quality = PictureQuality::Standard;
        }
    });
    connect(high_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            options_.quality = PictureQuality::High;
        }
    });
}

void QualityWindow::showEvent(QShowEvent* event) {
    (options_.tvSystem == TvSystem::Pal ? pal_ : ntsc_)->setChecked(true);
    (options_.quality == PictureQuality::High ? high_ : standard_)->setChecked(true);
    SkinnedDialog::showEvent(event);
}

SyncWindow::SyncWindow(OutputOptions& options, QWidget* parent)
    : SkinnedDialog(QSize(420, 250), texts::kSyncCaption, parent), options_(options) {
    choiceGroup(texts::kSyncGroup, withTemplate_, texts::kSyncWithTemplate, withMusic_,
                texts::kSyncWithMusic, this, QRect(20, 55, 380, 110));
    // How the songs sound: at one loudness, and fading into each other.
    levelMusic_ = new QCheckBox(texts::kLevelMusic, this);
    levelMusic_->setGeometry(30, 175, 170, 26);
    crossfadeSongs_ = new QCheckBox(texts::kCrossfadeSongs, this);
    crossfadeSongs_->setGeometry(210, 175, 190, 26);
    connect(levelMusic_, &QCheckBox::toggled, this, [this](bool on) { options_.levelMusic = on; });
    connect(crossfadeSongs_, &QCheckBox::toggled, this,
            [this](bool on) { options_.crossfadeSongs = on; });
    connect(withTemplate_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            options_.sync = SyncMode::WithTemplate;
        }
    });
    connect(withMusic_, &QRadioButton::toggled, this, [this](bool on) {
        if (on) {
            options_.sync = SyncMode::WithMusic;
        }
    });
}

void SyncWindow::showEvent(QShowEvent* event) {
    (options_.sync == SyncMode::WithTemplate ? withTemplate_ : withMusic_)->setChecked(true);
    levelMusic_->setChecked(options_.levelMusic);
    crossfadeSongs_->setChecked(options_.crossfadeSongs);
    SkinnedDialog::showEvent(event);
}

}  // namespace vellumo
