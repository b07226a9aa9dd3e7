#pragma once

// The output formats: one row per album type, holding everything that differs between them —
// the word shown for the type, the encoder preset, the file extension, the offered picture
// sizes, the production command's caption and hint and where the main window offers it, and
// the words stored in project files and given to vellumo-tool. A new format is a new row (and
// its album type and encoder preset).

#include <QList>
#include <QSize>
#include <QString>
#include <QVector>
#include <optional>

#include "album/output_options.h"
#include "media/mcl.h"

namespace vellumo {

// Where the main window offers a format's production command.
enum class FormatPlace {
    NotOffered,      // no command: the type exists for project files and sizes only
    MenuOnly,        // a function menu item
    ToolbarAndMenu,  // a production button on the toolbar and a function menu item
};

// What a disc of a type needs: the stream its authoring program takes, the size the album is
// drawn at (scaled into the standard's frame, its shape kept on the display) and the standard's
// frame size under each television system.
struct DiscFormat {
    mcl::Preset preset;
    QSize drawnSize;
    QSize palSize;
    QSize ntscSize;
    QString imageExtension;  // of the disc image: ".iso", or ".cue" beside its ".bin"

    QSize frameSize(TvSystem tv) const { return tv == TvSystem::Ntsc ? ntscSize : palSize; }
};

struct OutputFormat {
    AlbumType type;
    QString typeWord;  // the album type window and the production window's caption: "DVD"
    std::optional<mcl::Preset> preset;  // the encoder's preset; none: the type is not produced
    QString extension;                  // of the output file: ".mpg"
    QVector<QSize> sizes;               // offered in the album type window, in its order
    QString caption;                    // of the production command
    QString hint;                       // of the production command
    FormatPlace place = FormatPlace::NotOffered;
    QString projectWord;  // stored in album projects: never changes, old projects must open
    QString toolWord;     // vellumo-tool's --type; empty when the tool does not offer the type
    std::optional<DiscFormat> disc;  // none: the type is never made into a disc
};

// Every format, in the order of the function menu (and of the toolbar's buttons).
const QList<OutputFormat>& outputFormats();
// The row of type.
const OutputFormat& outputFormat(AlbumType type);

// The type stored under word in a project file; none for a word no format has.
std::optional<AlbumType> albumTypeOfProjectWord(const QString& word);
// The type vellumo-tool's --type names (case as given); none when the tool offers no such type.
std::optional<AlbumType> albumTypeOfToolWord(const QString& word);
// The tool's --type words joined by separator: "VCD|SVCD|DVD|AVI|MP4".
QString toolWords(const QString& separator);

}  // namespace vellumo
