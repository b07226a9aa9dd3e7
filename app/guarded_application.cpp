#include "app/guarded_application.h"

#include <QTimer>

#include <exception>
#include <optional>

#include "app/app_texts.h"
#include "dialogs/message_dialog.h"
#include "project/album.h"
#include "workspace/errors.h"

namespace vellumo {

namespace {

// Events that can run a command and so change the album; others only show it.
bool mayChangeAlbum(QEvent::Type type) {
    switch (type) {
        case QEvent::Timer:
        case QEvent::MetaCall:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::Wheel:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// A few distinct failures are told; a flood of the same one is told once.
constexpr int kMaxToldFailures = 5;

}  // namespace

GuardedApplication::GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    // The album as it was before this event, taken by the album when the event's first change
    // begins.
    std::optional<Album::UndoPoint> before;
    if (album_ && mayChangeAlbum(type)) {
        before.emplace(*album_);
    }
    QString failure;
    try {
        return QApplication::notify(receiver, event);
    } catch (const Error& e) {
        failure = e.message();
    } catch (const std::exception& e) {
        failure = QString::fromLocal8Bit(e.what());
    } catch (...) {
        failure = texts::kUnknownError;
    }
    if (before) {
        // Put back, the album tells every view; nothing to put back when nothing had changed.
        before->restore();
        if (restored_) {
            restored_();
        }
    }
    failed(receiver, type, failure.isEmpty() ? texts::kUnknownError : failure);
    return false;
}

void GuardedApplication::failed(QObject* receiver, QEvent::Type type, const QString& text) {
    ++failures_;
    // A timer whose work failed would fail again at every tick.
    if (type == QEvent::Timer) {
        if (auto* timer = qobject_cast<QTimer*>(receiver)) {
            timer->stop();
        }
    }
    if (!pending_.contains(text) && pending_.size() < kMaxToldFailures) {
        pending_.append(text);
    }
    // Told from the event loop, not from inside the event that failed (a paint, a nested loop).
    if (telling_ == Telling::Idle) {
        telling_ = Telling::Scheduled;
        QTimer::singleShot(0, this, &GuardedApplication::showPending);
    }
}

void GuardedApplication::showPending() {
    telling_ = Telling::Showing;
    // Failures met while the dialog is up are told when it closes.
    struct Showing {
        Telling& telling;
        ~Showing() { telling = Telling::Idle; }
    } showing{telling_};
    while (!pending_.isEmpty()) {
        const QString text = pending_.join(u'\n');
        pending_.clear();
        showMessage(texts::kCommandFailed.arg(text));
    }
}

}  // namespace vellumo
