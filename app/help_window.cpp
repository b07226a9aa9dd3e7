#include "app/help_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>

#include "app/app_texts.h"
#include "app/web.h"
#include "dialogs/message_dialog.h"
#include "workspace/data_paths.h"
#include "workspace/program_folder.h"

namespace vellumo {

namespace {

constexpr int kMargin = 8;

QPointer<HelpWindow>& shownWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : SkinnedDialog(kSize, texts::kHelp, parent) {
    // Read beside the program, not instead of it.
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    browser_->setStyleSheet(
        QStringLiteral("QTextBrowser { color: #222222; background: #fbfaf7; "
                       "border: 1px solid #14171c; }"));
    browser_->setGeometry(kMargin, kTitleHeight + kMargin, kSize.width() - 2 * kMargin,
                          kSize.height() - kTitleHeight - kBottomHeight - 2 * kMargin);
}

void HelpWindow::showPage(const QUrl& page) {
    QUrl file = page;
    file.setFragment(QString());
    if (browser_->source() != file) {
        browser_->setSource(file);
    }
    if (page.hasFragment()) {
        browser_->scrollToAnchor(page.fragment());
    }
}

QUrl helpPage(const QString& section) {
    QUrl page = QUrl::fromLocalFile(dataPath(paths::kHelpPage));
    if (!section.isEmpty()) {
        page.setFragment(section);
    }
    return page;
}

HelpWindow* openHelp(QWidget* parent, const QString& section) {
    const QUrl page = helpPage(section);
    if (!QFileInfo(page.toLocalFile()).isFile()) {
        showMessage(texts::kHelpMissing.arg(page.toLocalFile()));
        return nullptr;
    }
    if (openWebPage(page)) {
        return nullptr;
    }
    // A modal window open at the time would block a window beside it: the help stands on it.
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent;
    QPointer<HelpWindow>& window = shownWindow();
    if (window && window->parentWidget() != owner) {
        delete window.data();
    }
    if (!window) {
        window = new HelpWindow(owner);
    }
    window->showPage(page);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

}  // namespace vellumo
