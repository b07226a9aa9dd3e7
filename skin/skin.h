#pragma once

// The skin of every window. Three skin panels (normal, hover, pressed) are painted by our code
// once and the title-bar pictures are cut from them at fixed offsets. Each state has a main
// panel (main title band on top, main bottom strip in its last rows) and a dialog panel
// (dialog title band on top, dialog bottom strip in its last rows).

#include <QColor>
#include <QImage>
#include <QPixmap>
#include <array>

namespace vellumo {

enum class SkinState { Normal = 0, Hover = 1, Pressed = 2 };

// Where a piece is cut: x offset in its panel, size, and whether it is taken from the panel's
// last rows instead of its first.
struct SkinPieceSpec {
    int x = 0;
    int width = 0;
    int height = 0;
    bool fromBottom = false;
    bool dialogPanel = false;
};

namespace skin {

inline constexpr int kPanelWidth = 1024;
inline constexpr int kMainPanelHeight = 100;
inline constexpr int kDialogPanelHeight = 60;

inline constexpr SkinPieceSpec kMainTitleLeft{0, 330, 49};
inline constexpr SkinPieceSpec kMainTitleMiddle{390, 50, 49};
inline constexpr SkinPieceSpec kMainClose{988, 36, 49};
inline constexpr SkinPieceSpec kMainMenu{958, 28, 49};
inline constexpr SkinPieceSpec kMainWebsite{927, 29, 49};
inline constexpr SkinPieceSpec kMainBottom{20, 50, 18, true};
inline constexpr SkinPieceSpec kDialogTitleLeft{0, 170, 37, false, true};
inline constexpr SkinPieceSpec kDialogTitleMiddle{390, 50, 37, false, true};
inline constexpr SkinPieceSpec kDialogClose{982, 42, 37, false, true};
inline constexpr SkinPieceSpec kDialogBottom{0, 50, 6, true, true};

// Colours shared by the painted pictures and the style sheet.
inline const QColor kAccent{232, 163, 61};
inline const QColor kAccentLight{246, 199, 120};
inline const QColor kTitleTop{44, 50, 62};
inline const QColor kTitleBottom{29, 33, 42};
inline const QColor kWindowTop{47, 52, 62};
inline const QColor kWindowBottom{30, 33, 40};
inline const QColor kText{232, 234, 238};
inline const QColor kMutedText{160, 166, 178};

}  // namespace skin

// Paints one skin panel.
QImage paintMainPanel(SkinState state);
QImage paintDialogPanel(SkinState state);

// Cuts a piece out of a panel.
QImage cutPiece(const QImage& panel, const SkinPieceSpec& piece);

// A picture in its three states.
struct StatePictures {
    std::array<QPixmap, 3> pictures;
    const QPixmap& operator[](SkinState state) const {
        return pictures[static_cast<size_t>(state)];
    }
};

class Skin {
public:
    // The skin of this run, painted on first use (needs a QGuiApplication).
    static const Skin& shared();

    Skin();

    QPixmap mainTitleLeft;
    QPixmap mainTitleMiddle;
    QPixmap mainBottom;
    StatePictures mainClose;
    StatePictures mainMenu;
    StatePictures mainWebsite;

    QPixmap dialogTitleLeft;
    QPixmap dialogTitleMiddle;
    QPixmap dialogBottom;
    StatePictures dialogClose;

    // The main window's background picture; every window but the splash shows it stretched.
    QPixmap background;
};

// The style sheet of the skinned controls (buttons, lists, group boxes, hints).
QString skinStyleSheet();

}  // namespace vellumo
