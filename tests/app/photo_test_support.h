#pragma once

// Window tests of the photo windows: photo files made on the spot, and a responder that answers
// every modal window while it lives (the progress window runs by itself).

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <memory>

#include "dialogs/message_dialog.h"
#include "dialogs/progress_window.h"
#include "tests/support/test_files.h"

namespace vellumo::test {

// Writes a JPEG of that size (a gradient with a mark in the top-left quarter, so a turned or
// stretched picture shows), with an EXIF orientation when it is not 1. Returns the path.
inline QString writePhoto(const QString& path, QSize size, quint16 orientation = 1,
                          QColor colour = QColor(90, 140, 200)) {
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, colour);
    gradient.setColorAt(1, colour.darker(250));
    painter.fillRect(image.rect(), gradient);
    painter.fillRect(QRect(0, 0, size.width() / 2, size.height() / 2), QColor(240, 200, 60));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    if (orientation != 1) {
        bytes = withExifOrientation(bytes, orientation);
    }
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
    }
    return path;
}

// Answers modal windows as they come: messages are logged and confirmed, questions logged as
// "caption: text" and answered from answers (no once it is used up), any other window handed
// to other (closed when there is none). The progress window is left to its task. The responder
// must outlive the windows it answers.
class ModalResponder {
public:
    ModalResponder() : timer_(std::make_unique<QTimer>()) {
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { poll(); });
        timer_->start(5);
    }

    QStringList messages;
    QStringList questions;
    QList<bool> answers;
    std::function<void(QWidget*)> other;
    int others = 0;

private:
    void poll() {
        if (busy_ && !busy_->isVisible()) {
            busy_ = nullptr;
        }
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal || !modal->isVisible() || modal == busy_ ||
            qobject_cast<ProgressWindow*>(modal)) {
            return;
        }
        if (auto* message = qobject_cast<MessageDialog*>(modal)) {
            messages << message->message();
            message->okButton()->click();
        } else if (auto* question = qobject_cast<ConfirmDialog*>(modal)) {
            questions << question->caption() + QStringLiteral(": ") + question->message();
            const bool yes = !answers.isEmpty() && answers.takeFirst();
            (yes ? question->okButton() : question->cancelButton())->click();
        } else {
            ++others;
            // A window the handler leaves open is not handed on again while it stays open. The
            // handler runs from its own timer: this one does not fire inside its own call.
            busy_ = modal;
            QPointer<QWidget> window = modal;
            QTimer::singleShot(0, [this, window] {
                if (!window) {
                    return;
                }
                if (other) {
                    other(window);
                } else if (auto* dialog = qobject_cast<QDialog*>(window.data())) {
                    dialog->reject();
                }
            });
        }
    }

    std::unique_ptr<QTimer> timer_;
    QPointer<QWidget> busy_;
};

}  // namespace vellumo::test
