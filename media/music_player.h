#pragma once

// The music player shared by the music list, the album preview and the music preview: it opens
// MPEG audio and PCM WAV files (anything else fails to open, and goes through the converter),
// plays and stops them, and reports length and position in milliseconds and the stopped mode
// once a file has played to its end. Sound goes to the default audio output when there is one;
// the position always follows a clock of the player's own, so everything behaves the same on
// a machine without sound.

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QAudioSink;
class QBuffer;

namespace vellumo {

class MusicPlayer : public QObject {
    Q_OBJECT
public:
    enum class Mode { NotOpen, Stopped, Playing };
    // Milliseconds on a steady clock; tests put their own in its place.
    using Clock = std::function<qint64()>;

    explicit MusicPlayer(QObject* parent = nullptr);
    ~MusicPlayer() override;

    void setClock(Clock clock);
    // Off: never touches an audio device (tests, tools).
    void setSoundOutput(bool enabled) { soundOutput_ = enabled; }

    const QString& fileName() const { return fileName_; }
    // A new name closes the file open before.
    void setFileName(const QString& fileName);
    bool hasFileName() const { return !fileName_.isEmpty(); }

    // Opens the named file at position 0, stopped. Throws FileError when it is not MPEG audio
    // or PCM WAV, or cannot be read.
    void open();
    void close();
    bool isOpen() const { return open_; }

    // Plays from the current position (from the start when the end was reached).
    void play();
    // Halts and keeps the position.
    void stop();

    qint64 lengthMs() const { return lengthMs_; }
    qint64 positionMs() const;
    Mode mode() const;

private:
    void startSound(qint64 fromMs);
    void stopSound();

    Clock clock_;
    bool soundOutput_ = true;
    QString fileName_;
    bool open_ = false;
    qint64 lengthMs_ = 0;
    bool playing_ = false;
    qint64 startedAtMs_ = 0;      // clock time when play() began
    qint64 startPositionMs_ = 0;  // position when play() began
    qint64 stoppedPositionMs_ = 0;

    QByteArray pcm_;  // decoded lazily, the first time sound is wanted
    QBuffer* pcmDevice_ = nullptr;
    QAudioSink* sink_ = nullptr;
};

}  // namespace vellumo
