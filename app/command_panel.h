#pragma once

// The command buttons of the main window: the tool bar along the top and the transport panel
// (clock, play and stop, zoom and page buttons) below the summary lists.

#include <QHash>
#include <QWidget>

#include "app/commands.h"

class QLabel;
class QPushButton;

namespace vellumo {

class CommandPanel : public QObject {
    Q_OBJECT
public:
    // Builds the tool bar and the transport panel as children of window.
    explicit CommandPanel(QWidget* window);

    QPushButton* button(Command command) const { return buttons_.value(command); }
    QList<Command> commands() const { return buttons_.keys(); }

    QWidget* toolbar() const { return toolbar_; }
    QWidget* transport() const { return transport_; }
    QLabel* currentTime() const { return currentTime_; }
    QLabel* totalTime() const { return totalTime_; }

signals:
    void commandRequested(Command command);

private:
    QPushButton* addButton(Command command, QWidget* parent, QRect geometry, bool accent = false);
    void buildToolbar();
    void buildTransport();

    QWidget* toolbar_ = nullptr;
    QWidget* transport_ = nullptr;
    QLabel* currentTime_ = nullptr;
    QLabel* totalTime_ = nullptr;
    QHash<Command, QPushButton*> buttons_;
};

}  // namespace vellumo
