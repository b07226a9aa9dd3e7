#pragma once

#include <QWidget>

namespace vellumo {

// Maps the two Chinese font names the windows use onto installed fonts.
void installFontSubstitutions();

// The main window. For now an empty frame of the right size.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 1191;
    static constexpr int kClientHeight = 690;

    explicit MainWindow(QWidget* parent = nullptr);
};

}  // namespace vellumo
