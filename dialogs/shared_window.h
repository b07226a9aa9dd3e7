#pragma once

// The windows the whole run shares (the message dialog, the confirm dialog, the progress
// window): each is made on first use and deleted when the application object goes, before the
// fonts and styles it uses.

#include <QCoreApplication>
#include <QPointer>

namespace vellumo {

namespace shared_window {

template <class Window>
QPointer<Window>& slot() {
    static QPointer<Window> window;
    return window;
}

template <class Window>
void remove() {
    delete slot<Window>().data();
}

}  // namespace shared_window

template <class Window>
Window& sharedWindow() {
    static const bool removalRegistered = [] {
        qAddPostRoutine(shared_window::remove<Window>);
        return true;
    }();
    Q_UNUSED(removalRegistered);
    QPointer<Window>& window = shared_window::slot<Window>();
    if (!window) {
        window = new Window();
    }
    return *window;
}

}  // namespace vellumo
