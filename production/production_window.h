#pragma once

// The production window (760 × 228): the album's name, a small and a large progress bar, the
// time spent and left with the frames per second, "停止制作", "完成后打开保存文件夹" and
// "打开保存位置". It shows a production run; the run does the work. Its close box does
// nothing: the window closes when the run has ended.
//
//   ProductionWindow window(album, mainWindow);
//   const ProductionResult result = window.produce(options.outputFile());
//
// produce() opens the window modally and starts the run by a one-shot timer. "停止制作" answers
// from the moment the window opens. When the file is complete the window closes (and opens the
// save folder when asked) and the completion dialog says where the file is, with the notices
// that come with it; a failure is told in the message dialog with its reason after the window
// has closed.

#include <QList>
#include <QString>
#include <functional>

#include "dialogs/skinned_dialog.h"
#include "disc/disc_burner.h"
#include "production/completion_dialog.h"
#include "production/production_run.h"

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace vellumo {

class Album;

class ProductionWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{760, 228};
    // The pause between the window opening and the run starting.
    static constexpr int kStartDelayMs = 1;

    // Opens a folder for the user (the desktop's file manager by default).
    using FolderOpener = std::function<void(const QString& folder)>;

    explicit ProductionWindow(const Album& album, QWidget* parent = nullptr,
                              ConversionDriver::ConverterFactory factory = {});
    ~ProductionWindow() override;

    void setFolderOpener(FolderOpener opener);
    // The completion dialog's "打开文件夹" and "播放" (the desktop's by default).
    void setCompletionOpeners(CompletionDialog::Opener folder, CompletionDialog::Opener file);
    // Finds the disc writers once a disc image is made (xorriso's list by default); with one,
    // the completion dialog offers "刻录到光盘", which burns the image to the first.
    using WriterFinder = std::function<QList<disc::DiscWriter>()>;
    void setWriterFinder(WriterFinder finder);

    // Shows the window modally, produces the album into outputFile and returns after the
    // window has closed and any message has been told.
    ProductionResult produce(const QString& outputFile);

    QLabel* fileName() const { return fileName_; }
    QProgressBar* smallBar() const { return smallBar_; }
    QProgressBar* largeBar() const { return largeBar_; }
    QLabel* timesLine() const { return times_; }
    QPushButton* stopButton() const { return stop_; }
    QCheckBox* openWhenDone() const { return openWhenDone_; }
    QPushButton* openFolderButton() const { return openFolder_; }
    // Whether a run is going on (between the timer and the window closing).
    bool isProducing() const { return running_; }

    // "制作" + album type + "相册".
    static QString captionFor(const QString& albumType);
    // The line under the bars for a progress report.
    static QString timesText(const ProductionProgress& progress);
    // The folder that holds file.
    static QString folderOf(const QString& file);

protected:
    void closeLabelReleased() override {}
    // Escape and the platform's close do nothing either while the window is open.
    void reject() override {}

private:
    void startWork();
    void showProgress(const ProductionProgress& progress);
    void openSaveFolder();
    // Burns image to device in the progress window and tells how it ended.
    void burnImage(const QString& image, const QString& device);

    const Album& album_;
    ConversionDriver::ConverterFactory factory_;
    FolderOpener opener_;
    CompletionDialog::Opener folderOpener_;
    CompletionDialog::Opener fileOpener_;
    WriterFinder writerFinder_;
    QString outputFile_;
    ProductionRun* run_ = nullptr;  // while producing
    ProductionResult result_;
    bool running_ = false;
    bool stopPressed_ = false;
    qint64 lastEventsMs_ = -1;

    QLabel* fileName_ = nullptr;
    QProgressBar* smallBar_ = nullptr;
    QProgressBar* largeBar_ = nullptr;
    QLabel* times_ = nullptr;
    QPushButton* stop_ = nullptr;
    QCheckBox* openWhenDone_ = nullptr;
    QPushButton* openFolder_ = nullptr;
};

}  // namespace vellumo
