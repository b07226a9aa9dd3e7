#include "app/startup_animation.h"

#include <QFile>
#include <QWidget>

#include "app/app_texts.h"
#include "app/main_display.h"
#include "movie/movie_player.h"
#include "movie/movie_view.h"
#include "skin/artwork.h"
#include "workspace/data_paths.h"
#include "workspace/errors.h"
#include "workspace/folders.h"
#include "workspace/intermediate_names.h"
#include "workspace/packed_file.h"
#include "workspace/program_folder.h"

namespace vellumo {

StartupAnimation::StartupAnimation(MainDisplay* display, QWidget* box, QObject* parent)
    : QObject(parent), display_(display), box_(box) {
    timer_.setSingleShot(true);
    timer_.setInterval(1);
    connect(&timer_, &QTimer::timeout, this, [this] { load(); });
}

StartupAnimation::~StartupAnimation() {
    freePlayer();
}

void StartupAnimation::prepare() {
    try {
        ensureFolder(workingPath(paths::kUnpackFolder));
        unpackChain(dataPath(paths::kStartupAnimation), paths::kStartupAnimationDepth,
                    intermediate::startupAnimation(), workingPath(paths::kUnpackedStartupAnimation),
                    paths::kMovieUnpackLimit);
    } catch (const Error&) {
        // A missing or damaged package shows when the movie is loaded.
    }
    if (!box_ || released_) {
        return;
    }
    box_->setGeometry(display_->geometry());
    box_->raise();
    box_->show();
    if (!view_) {
        view_ = new MovieView(box_);
        view_->setObjectName(QStringLiteral("ShockwaveFlash_2_qi_dong_dong_hua"));
    }
    freePlayer();
    player_ = new MoviePlayer(this);
    player_->setSize(box_->size());
    view_->setPlayer(player_);
    view_->setGeometry(0, 0, box_->width(), box_->height());
    view_->hide();
    view_->show();
    view_->setFocus();
    // The animation only shows; it takes no clicks.
    view_->setEnabled(false);
}

void StartupAnimation::startTimer() {
    timer_.start();
}

bool StartupAnimation::load() {
    timer_.stop();
    // Photos came first: the animation made way for them before it was loaded, and nothing
    // failed.
    if (released_) {
        return true;
    }
    try {
        if (!player_) {
            throw Error(QString());
        }
        player_->setMovie(workingPath(paths::kUnpackedStartupAnimation));
        player_->setFrameNum(player_->totalFrames());
        player_->setFrameNum(0);
        player_->play();
    } catch (const Error&) {
        freePlayer();
        if (box_) {
            box_->hide();
        }
        if (showStart_) {
            showStart_();
        } else if (display_) {
            display_->showCentred(artwork::startPicture());
        }
        emit loadFailed();
        return false;
    }
    // The player holds the movie in memory; the unpacked file is not needed any more.
    QFile::remove(workingPath(paths::kUnpackedStartupAnimation));
    return true;
}

void StartupAnimation::release() {
    if (!released_) {
        freePlayer();
    }
    if (box_) {
        box_->hide();
    }
    released_ = true;
    if (showStart_) {
        showStart_();
    } else if (display_) {
        display_->showPicture(artwork::startPicture(), QPoint(0, 0));
    }
}

QString StartupAnimation::flag() const {
    return released_ ? words::kStartupAnimationReleased : words::kStartupAnimationHeld;
}

void StartupAnimation::freePlayer() {
    if (view_) {
        view_->setPlayer(nullptr);
    }
    if (player_) {
        player_->stop();
        delete player_;
        player_ = nullptr;
    }
}

}  // namespace vellumo
