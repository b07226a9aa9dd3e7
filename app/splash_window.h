#pragma once

// The splash window: our splash picture (500 × 249) on black, frameless and centred, with a
// loading bar 2 pixels high along the bottom of the picture.

#include <QWidget>

class QLabel;
class QProgressBar;

namespace vellumo {

class SplashWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kBarHeight = 2;

    explicit SplashWindow(QWidget* parent = nullptr);

    QProgressBar* loadingBar() const { return bar_; }
    QLabel* picture() const { return picture_; }

    // The loading bar empty, for steps steps (at least one).
    void startLoading(int steps);
    // Advances the loading bar by one, never past its maximum, and lets it paint.
    void advance();

private:
    QLabel* picture_ = nullptr;
    QProgressBar* bar_ = nullptr;
};

}  // namespace vellumo
