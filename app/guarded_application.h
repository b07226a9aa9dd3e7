#pragma once

// The application object with a last line of defence: an exception that escapes a slot, a timer
// or an event handler is caught where the event loop delivered the event, instead of ending the
// program and the user's work with it. The album is put back as it was before that event, the
// message dialog shows the error's text, and the program goes on.

#include <QApplication>
#include <QStringList>
#include <functional>

namespace vellumo {

class Album;

class GuardedApplication : public QApplication {
    Q_OBJECT
public:
    GuardedApplication(int& argc, char** argv);

    // The album a failed event is undone on; without one a failure is only told.
    void guardAlbum(Album* album) { album_ = album; }
    // Runs after a failed event has been undone (the album announces the change itself).
    void setRestoredHandler(std::function<void()> handler) { restored_ = std::move(handler); }

    // Failures caught since start.
    int failures() const { return failures_; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    void failed(QObject* receiver, QEvent::Type type, const QString& text);
    void showPending();

    Album* album_ = nullptr;
    std::function<void()> restored_;
    QStringList pending_;
    // Where the message telling the pending failures is.
    enum class Telling { Idle, Scheduled, Showing };
    Telling telling_ = Telling::Idle;
    int failures_ = 0;
};

}  // namespace vellumo
