#include "app/command_panel.h"

#include <QLabel>
#include <QPushButton>

#include "app/app_texts.h"
#include "app/main_layout.h"
#include "timeline/timeline_texts.h"

namespace vellumo {

namespace {

constexpr int kToolButtonWidth = 70;
constexpr int kProductionButtonWidth = 56;
constexpr int kGap = 4;
constexpr int kGroupGap = 12;

QFont heiTi(int pixels, bool bold = false) {
    QFont font(texts::kHeiTi);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

}  // namespace

CommandPanel::CommandPanel(QWidget* window) : QObject(window) {
    toolbar_ = new QWidget(window);
    toolbar_->setGeometry(layout::kToolbar);
    transport_ = new QWidget(window);
    transport_->setGeometry(layout::kTransport);
    buildToolbar();
    buildTransport();
}

QPushButton* CommandPanel::addButton(Command command, QWidget* parent, QRect geometry,
                                     bool accent) {
    const CommandInfo& info = commandInfo(command);
    auto* button = new QPushButton(info.caption, parent);
    button->setGeometry(geometry);
    button->setToolTip(info.hint);
    button->setCursor(Qt::PointingHandCursor);
    button->setFocusPolicy(Qt::NoFocus);
    button->setProperty("accent", accent);
    connect(button, &QPushButton::clicked, this,
            [this, command] { emit commandRequested(command); });
    buttons_.insert(command, button);
    return button;
}

void CommandPanel::buildToolbar() {
    const int h = layout::kToolbar.height();
    int x = 0;
    auto group = [&](std::initializer_list<Command> commands, int width) {
        for (Command command : commands) {
            addButton(command, toolbar_, QRect(x, 0, width, h), command == Command::AddPhotos);
            x += width + kGap;
        }
        x += kGroupGap - kGap;
    };
    group({Command::AddPhotos, Command::AddMusic, Command::AddLyrics}, kToolButtonWidth);
    group({Command::Crop, Command::TemplateManager, Command::Backgrounds}, kToolButtonWidth);
    group({Command::Quality, Command::Sync, Command::Settings, Command::InsertVideo},
          kToolButtonWidth);
    group({Command::About, Command::Help}, kToolButtonWidth);

    const QList<Command> production = toolbarProductionCommands();
    const auto count = static_cast<int>(production.size());
    x = layout::kToolbar.width() - count * kProductionButtonWidth - (count - 1) * kGap;
    for (Command command : production) {
        QPushButton* button = addButton(command, toolbar_, QRect(x, 0, kProductionButtonWidth, h));
        button->setFont(heiTi(13, true));
        x += kProductionButtonWidth + kGap;
    }
}

void CommandPanel::buildTransport() {
    const int w = layout::kTransport.width();

    currentTime_ = new QLabel(texts::kClockZero, transport_);
    currentTime_->setObjectName(QStringLiteral("currentTime"));
    currentTime_->setFont(heiTi(22, true));
    currentTime_->setStyleSheet(QStringLiteral("color: #f6c778;"));
    currentTime_->setGeometry(0, 0, 112, 30);
    auto* slash = new QLabel(QStringLiteral("/"), transport_);
    slash->setFont(heiTi(16));
    slash->setStyleSheet(QStringLiteral("color: #7b808c;"));
    slash->setGeometry(114, 0, 10, 30);
    totalTime_ = new QLabel(texts::kClockZero, transport_);
    totalTime_->setObjectName(QStringLiteral("totalTime"));
    totalTime_->setFont(heiTi(16));
    totalTime_->setStyleSheet(QStringLiteral("color: #a0a6b2;"));
    totalTime_->setGeometry(128, 2, 80, 28);

    const int playWidth = 76;
    addButton(Command::Play, transport_, QRect(w - 2 * playWidth - kGap, 0, playWidth, 30), true);
    addButton(Command::Stop, transport_, QRect(w - playWidth, 0, playWidth, 30));

    // Zoom and photo commands, then the four page buttons.
    const int rowHeight = 26;
    const int fiveWide = (w - 4 * kGap) / 5;
    int x = 0;
    for (Command command : {Command::ZoomIn, Command::ZoomOut, Command::ZoomDefault,
                            Command::ViewPhoto, Command::PreviewEffect}) {
        addButton(command, transport_, QRect(x, 36, fiveWide, rowHeight));
        x += fiveWide + kGap;
    }
    const int fourWide = (w - 3 * kGap) / 4;
    x = 0;
    for (Command command :
         {Command::FirstPage, Command::PreviousPage, Command::NextPage, Command::LastPage}) {
        addButton(command, transport_, QRect(x, 66, fourWide, rowHeight));
        x += fourWide + kGap;
    }
}

void CommandPanel::setCommandEnabled(Command command, bool enabled) {
    if (QPushButton* shown = button(command)) {
        shown->setEnabled(enabled);
    }
}

void CommandPanel::showClock(const QString& current, const QString& total) {
    currentTime_->setText(current);
    showTotalTime(total);
}

void CommandPanel::showTotalTime(const QString& total) {
    totalTime_->setText(total);
}

QString CommandPanel::currentTimeText() const {
    return currentTime_->text();
}

QString CommandPanel::totalTimeText() const {
    return totalTime_->text();
}

}  // namespace vellumo
