#pragma once

// The music player shared by the music list, the album preview and the music preview: it opens
// MPEG audio and PCM WAV files (anything else fails to open, and goes through the converter),
// plays and stops them, and reports length and position in milliseconds and the stopped mode
// once a file has played to its end. Sound goes to the default audio output when there is one:
// a thread of its own decodes the file and the sound starts once its first second is in. The
// position always follows a clock of the player's own, so everything behaves the same on a
// machine without sound.

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class QIODevice;

namespace vellumo {

class DecodedSound;
class SoundDevice;

// Where the player's sound goes: the default audio output, or a stand-in.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Whether there is an output for 16-bit stereo PCM at 44.1 kHz.
    virtual bool available() const = 0;
    // Starts pulling PCM from the device. False when the output refused at once.
    virtual bool start(QIODevice* device) = 0;
    virtual void stop() = 0;
};

// The system's default audio output.
std::unique_ptr<SoundOutput> defaultSoundOutput();

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
    // Another output in place of the system's (tests).
    void setSoundOutput(std::unique_ptr<SoundOutput> output);
    // Decodes a file to PCM piece by piece (decodeAudio unless replaced, for tests).
    using Decoder = std::function<bool(const QString& path,
                                       const std::function<bool(const char*, qsizetype)>& sink)>;
    void setDecoder(Decoder decoder);
    // The gain in dB the sound is played at (the album's loudness levelling); a change takes
    // effect when the file is next opened.
    void setGainDb(double gainDb) { gainDb_ = gainDb; }
    double gainDb() const { return gainDb_; }
    // How long play() waits for the first second of sound before it lets the clock run alone.
    static constexpr int kFirstSecondWaitMs = 3000;

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

    std::unique_ptr<SoundOutput> output_;
    Decoder decoder_;
    double gainDb_ = 0;
    // Decoded on a thread of its own the first time sound is wanted, kept while the file is open.
    std::shared_ptr<DecodedSound> sound_;
    SoundDevice* device_ = nullptr;
};

}  // namespace vellumo
