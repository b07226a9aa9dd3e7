#pragma once

// The look the program gives its windows, for tests that show them: the font substitutions and
// the skin's style sheet. The shared progress window starts its task after taskDelayMs.

#include <QApplication>

#include "dialogs/progress_window.h"
#include "skin/fonts.h"
#include "skin/skin.h"

namespace vellumo::test {

inline void useWindowLook(int taskDelayMs) {
    installFontSubstitutions();
    qApp->setStyleSheet(skinStyleSheet());
    ProgressWindow::shared().setTaskDelay(taskDelayMs);
}

}  // namespace vellumo::test
