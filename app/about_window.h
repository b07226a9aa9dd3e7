#pragma once

// The about window ("软件简介"): the program's name, version and licence, and a way to the help.

#include "dialogs/skinned_dialog.h"

class QLabel;
class QPushButton;

namespace vellumo {

class AboutWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{560, 340};

    explicit AboutWindow(QWidget* parent = nullptr);

    // "0.1", as the build names it.
    static QString version();

    QLabel* versionLabel() const { return version_; }
    QLabel* licenceLabel() const { return licence_; }
    QPushButton* helpButton() const { return help_; }
    QPushButton* okButton() const { return ok_; }

signals:
    // "帮助文件": the window has closed and the help is asked for.
    void helpRequested();

private:
    QLabel* version_ = nullptr;
    QLabel* licence_ = nullptr;
    QPushButton* help_ = nullptr;
    QPushButton* ok_ = nullptr;
};

}  // namespace vellumo
