#pragma once

// The plug-in notice (734 × 366), shown when the start-up animation cannot be played: its two
// texts, a link to the help's section on the start-up animation, "下载插件" (the same section:
// the animation comes with the installed program) and "退出软件", which ends the program.

#include "dialogs/skinned_dialog.h"

class QLabel;
class QPushButton;

namespace vellumo {

class PluginNotice : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{734, 366};

    explicit PluginNotice(QWidget* parent = nullptr);

    QLabel* missingLabel() const { return missing_; }
    QLabel* adviceLabel() const { return advice_; }
    QLabel* helpLink() const { return link_; }
    QPushButton* downloadButton() const { return download_; }
    QPushButton* quitButton() const { return quit_; }

signals:
    void quitRequested();

private:
    QLabel* badge_ = nullptr;
    QLabel* missing_ = nullptr;
    QLabel* advice_ = nullptr;
    QLabel* link_ = nullptr;
    QPushButton* download_ = nullptr;
    QPushButton* quit_ = nullptr;
};

}  // namespace vellumo
