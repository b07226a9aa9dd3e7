#pragma once

// The album's photos in the order they were added. A photo stays where the user keeps it; its
// record holds its name, format, upright size, location and whether it is in a template.

#include <QDateTime>
#include <QSize>
#include <QString>
#include <QVector>
#include <optional>

namespace vellumo {

struct PhotoRecord {
    QString name;    // file name without folder and extension
    QString format;  // extension with its dot, as spelled in the file name
    int width = 0;   // upright
    int height = 0;
    QString location;         // full path, never copied
    bool inTemplate = false;  // "完成" once put into a slot
    // When it was taken (EXIF), else when its file was last written; known only for photos
    // measured in this run, for ordering a batch being added.
    QDateTime taken;

    // A square photo counts as landscape.
    bool isLandscape() const { return width >= height; }
};

// The width of the box the shown picture of a photo is asked for.
inline constexpr int kShownPictureWidth = 300;

// The box the shown picture of a photo stored w × h is asked for: 300 wide, 300 × h ÷ w high
// (at least 1: an empty box would load the whole photo).
QSize shownPictureBox(QSize stored);

// The upright size of a photo from its stored size and the orientation of the picture shown
// for it: a picture taller than wide stands as portrait even when its pixel rows run sideways,
// and one wider than tall as landscape; a square picture keeps the stored size.
QSize uprightPhotoSize(int pixelWidth, int pixelHeight, QSize shownPicture);

// The record of a file as "添加照片" measures it: its name and format from the path, its size
// decoded for the stored pixels, and its upright shape from the picture loaded for it (turned
// upright by its EXIF orientation). Nothing when the file holds no picture (missing, empty, not
// a picture, undecodable). Safe on any thread.
std::optional<PhotoRecord> measurePhoto(const QString& path);

// The same, and whether the photo's data ends early or is damaged part way: such a photo is
// still taken, with what could not be decoded grey, and the user is told.
struct MeasuredPhoto {
    std::optional<PhotoRecord> record;
    bool incomplete = false;
};
MeasuredPhoto measurePhotoFile(const QString& path);

// The order a batch of added photos is appended in: as chosen, by file name (numbers counted as
// numbers: "2" before "10"), or by the time taken (ties keep the chosen order).
enum class PhotoOrder { Added, Name, TimeTaken };
void sortPhotos(QVector<PhotoRecord>& photos, PhotoOrder order);
// Negative, 0 or positive as a comes before, with or after b in that name order.
int compareFileNames(const QString& a, const QString& b);

class PhotoList {
public:
    const QVector<PhotoRecord>& records() const { return records_; }
    const PhotoRecord& at(int row) const { return records_.at(row); }
    int size() const { return static_cast<int>(records_.size()); }
    bool isEmpty() const { return records_.isEmpty(); }
    bool isValidRow(int row) const { return row >= 0 && row < size(); }

    // A record's number is its row + 1; rows close up after a deletion.
    void append(PhotoRecord record) { records_.append(std::move(record)); }
    void remove(int row) { records_.removeAt(row); }
    void clear() { records_.clear(); }
    void setInTemplate(int row, bool inTemplate) { records_[row].inTemplate = inTemplate; }
    void clearInTemplateMarks();

private:
    QVector<PhotoRecord> records_;
};

}  // namespace vellumo
