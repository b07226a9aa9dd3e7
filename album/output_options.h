#pragma once

// The output options: how the album comes out (type, picture size, name, folder, television
// system, picture quality) and whether its length follows the templates or the music. Kept in
// memory for the run.

#include <QSize>
#include <QString>
#include <QVector>
#include <optional>

namespace vellumo {

enum class AlbumType { Vcd, Svcd, Dvd, Avi, Wmv, Mp4, Mov };
enum class TvSystem { Pal, Ntsc };
enum class PictureQuality { Standard, High };  // "biaoqing" / "gaoqing"
enum class SyncMode { WithTemplate, WithMusic };
// A video file of the type's own, or for the disc types a disc image ready to burn.
enum class OutputTarget { File, DiscImage };
// An MP4's video: H.264, or H.265 ("高效编码"), smaller at the same picture but slower to make.
enum class VideoCoding { H264, H265 };

// A type's word, file extension and sizes come from its row of the output format table
// (album/output_formats.h).
QString albumTypeName(AlbumType type);  // "VCD", "SVCD", ...
// The output file's extension for the type: ".mpg" for the discs, ".avi", ".mp4", ...
QString albumFileExtension(AlbumType type);
QString pictureQualityWord(PictureQuality quality);
QString pictureQualityCaption(PictureQuality quality);
QString syncModeCaption(SyncMode mode);

inline constexpr int kDefaultSizeIndex = 4;

// The picture sizes offered for an album type, in the order of the size list.
const QVector<QSize>& outputSizes(AlbumType type);
// Whether an album name can be the output file's name: not empty, no "/", not "." or "..".
bool isAlbumFileName(const QString& name);

// "1280 × 720".
QString outputSizeText(QSize size);

struct OutputOptions {
    std::optional<AlbumType> albumType;  // none until a production button is pressed
    int sizeIndex = kDefaultSizeIndex;
    QSize outputSize{1280, 720};
    QString albumName;
    QString saveFolder;  // ends in "/"; empty when none was chosen
    TvSystem tvSystem = TvSystem::Pal;
    PictureQuality quality = PictureQuality::High;
    SyncMode sync = SyncMode::WithTemplate;
    OutputTarget target = OutputTarget::File;
    VideoCoding coding = VideoCoding::H264;  // MP4 only; the other types keep their codecs
    // "音量均衡": every song played and produced at one loudness.
    bool levelMusic = true;
    // "歌曲淡入淡出": each song fades into the next instead of following it.
    bool crossfadeSongs = false;

    // Chooses entry index of the current type's size list (the default entry when out of range)
    // for a video file.
    void chooseSize(int index);
    // Chooses the disc image: the standard's frame size under the television system. False,
    // and nothing changes, for a type that cannot be a disc.
    bool chooseDiscImage();
    // The disc image is chosen and the type can be a disc.
    bool isDiscImage() const;
    // The type is MP4 and H.265 was chosen.
    bool isH265() const;
    // A production button: sets the type and preselects the default size, or the disc image
    // when that was the choice and the type can be a disc; the name stays.
    void beginProduction(AlbumType type);
    // save folder + album name + the type's extension (".mpg" for the discs and before a type
    // is chosen), or the disc image's (".iso", ".cue").
    QString outputFile() const;
};

}  // namespace vellumo
