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
    // A command's button taken out of use and back; a command without a button is ignored.
    void setCommandEnabled(Command command, bool enabled);

    QWidget* toolbar() const { return toolbar_; }
    QWidget* transport() const { return transport_; }
    // The clock: the current time and the total.
    void showClock(const QString& current, const QString& total);
    void showTotalTime(const QString& total);
    QString currentTimeText() const;
    QString totalTimeText() const;

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
