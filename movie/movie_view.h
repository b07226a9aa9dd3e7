#pragma once

// Shows the frames of a movie player: its current image at (0, 0), black where it has none.

#include <QPointer>
#include <QWidget>

namespace vellumo {

class MoviePlayer;

class MovieView : public QWidget {
    Q_OBJECT
public:
    explicit MovieView(QWidget* parent = nullptr);

    // The player is not owned; the view follows its frames until it is replaced or destroyed.
    void setPlayer(MoviePlayer* player);
    MoviePlayer* player() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QPointer<MoviePlayer> player_;
    QMetaObject::Connection frames_;
};

}  // namespace vellumo
