#pragma once

// The main window's parts, found among its children, for tests that look at what the window
// shows; the program itself talks to the window through its intent methods.

#include <QLabel>
#include <QMenu>

#include "app/main_window.h"

namespace vellumo::test {

// The window's only child of type Part (the command panel, summary lists, main display …).
template <class Part>
Part* part(const MainWindow& window) {
    return window.findChild<Part*>();
}

inline QWidget* startupBox(const MainWindow& window) {
    return window.findChild<QWidget*>(QStringLiteral("startupBox"));
}

inline QLabel* programIcon(const MainWindow& window) {
    return window.findChild<QLabel*>(QStringLiteral("programIcon"));
}

inline QMenu* functionMenu(const MainWindow& window) {
    return window.findChild<QMenu*>(QStringLiteral("functionMenu"));
}

}  // namespace vellumo::test
