#pragma once

// The help: the user guide installed as HTML in the program folder. "帮助文件", the title bar's
// globe and the about window open it in the desktop's browser; when no browser can be started
// it shows in our help window, a browser of its own for the same page.

#include <QUrl>

#include "dialogs/skinned_dialog.h"

class QTextBrowser;

namespace vellumo {

class HelpWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{1000, 700};

    explicit HelpWindow(QWidget* parent = nullptr);

    // Shows page (a file URL, with a section as its fragment or none).
    void showPage(const QUrl& page);
    QTextBrowser* browser() const { return browser_; }

private:
    QTextBrowser* browser_ = nullptr;
};

// The installed help page.
QUrl helpPage(const QString& section = {});

// Opens the help at section (an anchor of the guide; empty for its start): in the desktop's
// browser, else in the help window (one for the run, in front of parent's modal window when one
// is open). A missing page is told. Returns the help window when it was used.
HelpWindow* openHelp(QWidget* parent, const QString& section = {});

}  // namespace vellumo
