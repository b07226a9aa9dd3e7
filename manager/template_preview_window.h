#pragma once

// The template preview window ("预览模板"): one template played frame by frame on an 800 × 450
// stage, a bare catalogue template with placeholder pictures or a used template with its
// photos. Right after it is shown it stages the template's pictures next to the movie, loads the
// movie into its player and steps it one frame per tick; "播放" plays it again from frame 0.
// "返回", Esc and the title bar's close label stop and close the window at any time. A template
// that cannot be staged or played is told, and the window closes after the message.

#include <QImage>
#include <QTimer>
#include <QVector>
#include <memory>

#include "catalogue/catalogue.h"
#include "dialogs/skinned_dialog.h"
#include "manager/template_preview.h"

class QPushButton;

namespace vellumo {

class Album;
class MoviePlayer;

// What the opener tells the window.
struct TemplatePreviewRequest {
    TemplatePreviewMode mode = TemplatePreviewMode::CatalogueTemplate;
    // The catalogue row (a catalogue template) or the used-template row.
    int row = 0;
    // Name, kind, slot counts, duration and class, as the opener passes them.
    TemplateInfo info;
    PreviewMovies movies;
    // The slot rows of a used template, in slot-table order.
    QVector<int> slotRows;
    // The crop mark of the chosen slot (the template of a photo's slot).
    CropMark chosenSlotMark = CropMark::None;
};

// How fast the window steps, and how long it waits for a loaded movie to get going.
struct TemplatePreviewTiming {
    int frameIntervalMs = 30;
    // The movie plays by itself after loading until it reaches this frame (or its last one) ...
    int startFrame = 20;
    // ... or until this much time has passed.
    int startWaitLimitMs = 3000;
};

// The black picture area the frames are shown on.
class PreviewStage : public QWidget {
    Q_OBJECT
public:
    explicit PreviewStage(QWidget* parent);
    void showFrame(const QImage& frame);
    void clear();
    const QImage& frame() const { return frame_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage frame_;
};

class TemplatePreviewWindow : public SkinnedDialog {
    Q_OBJECT
public:
    static constexpr QSize kSize{838, 576};
    static constexpr QPoint kStageOrigin{18, 55};

    explicit TemplatePreviewWindow(const Album& album, QWidget* parent = nullptr);
    ~TemplatePreviewWindow() override;

    void setRequest(TemplatePreviewRequest request);
    const TemplatePreviewRequest& request() const { return request_; }
    void setTiming(TemplatePreviewTiming timing) { timing_ = timing; }

    // "播放".
    void play();
    // "返回": the player freed, the frame timer stopped, the window closed; also while the
    // template is prepared or played.
    void back();

    DisplayEffect displayEffect() const { return effect_; }
    // The frame last shown, -1 before the first.
    int frameCounter() const { return frameCounter_; }
    // The loaded movie's frame count, 0 when none is loaded.
    int totalFrames() const;
    bool isStepping() const { return frameTimer_.isActive(); }
    // Whether the preparation after the last showing has run to its end.
    bool isPrepared() const { return prepared_; }

    PreviewStage* stage() const { return stage_; }
    QPushButton* playButton() const { return play_; }
    QPushButton* backButton() const { return back_; }

signals:
    // A frame has been put on the stage by the frame timer.
    void frameShown(int frame);

public slots:
    // Esc acts as "返回".
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // The close label acts as "返回".
    void closeLabelReleased() override;

private:
    void prepare();
    // Stages the template's pictures next to its movie; false when it failed (told).
    bool stagePictures();
    // Loads the movie and lets it run up to the start frame (bounded); false when it failed.
    bool loadMovie();
    void step();

    const Album& album_;
    TemplatePreviewRequest request_;
    TemplatePreviewTiming timing_;
    DisplayEffect effect_ = DisplayEffect::FullScreen;
    std::unique_ptr<MoviePlayer> player_;
    QTimer frameTimer_;
    int frameCounter_ = -1;
    bool prepared_ = false;

    PreviewStage* stage_ = nullptr;
    QPushButton* play_ = nullptr;
    QPushButton* back_ = nullptr;
};

// Opens the preview of a template: prepares the preview folder, unpacks the package into the two
// movie copies, shows the window modally with the request and removes the staging folder when it
// closes. A package that cannot be unpacked is told, and the window does not open (false).
bool openTemplatePreview(TemplatePreviewWindow& window, TemplatePreviewRequest request,
                         const QString& packagePath, PreviewOpener opener);

}  // namespace vellumo
