#include "lists/album_rows.h"

#include <QFileInfo>

#include "album/album_texts.h"
#include "project/album.h"

namespace vellumo {

namespace {

QString number(int value) {
    return QString::number(value);
}

}  // namespace

int PhotoRows::count() const {
    return album_.photos().size();
}

QStringList PhotoRows::cells(int row) const {
    const PhotoRecord& p = album_.photos().at(row);
    return {number(row + 1),
            p.name,
            p.format,
            number(p.width),
            number(p.height),
            p.location,
            !QFileInfo::exists(p.location) ? texts::kFileMissingMark
            : p.inTemplate                 ? texts::kInTemplate
                                           : QString()};
}

QStringList PhotoRows::fields(int row) const {
    return cells(row).mid(0, 6);
}

void PhotoRows::remove(int row) {
    album_.deletePhoto(row);
}

void PhotoRows::removeAll() {
    album_.deleteAllPhotos();
}

int BackgroundRows::count() const {
    return static_cast<int>(
        std::min<qsizetype>(album_.backgrounds().rows().size(), album_.templates().size()));
}

QStringList BackgroundRows::cells(int row) const {
    const TemplateInfo& u = *album_.templates().at(row).info;
    const BackgroundRow& b = album_.backgrounds().row(row);
    return {number(row + 1),
            u.name,
            kindText(u.kind),
            classText(u.templateClass),
            b.pictureName,
            b.format,
            b.hasPicture() ? number(b.width) : QString(),
            b.hasPicture() ? number(b.height) : QString(),
            b.location};
}

QStringList BackgroundRows::fields(int row) const {
    const BackgroundRow& b = album_.backgrounds().row(row);
    return {number(row + 1), b.pictureName,    b.format,
            number(b.width), number(b.height), b.location};
}

QStringList recordCells(const MusicRecord& record) {
    return {record.name, record.format, record.duration, record.location};
}

QStringList recordCells(const LyricFileRecord& record) {
    return {record.name, record.format, record.location};
}

QList<QStringList> musicSummaryRows(const MusicList& music) {
    QList<QStringList> rows;
    for (int row = 0; row < music.size(); ++row) {
        rows.append({number(row + 1), music.at(row).name, music.at(row).duration});
    }
    return rows;
}

QList<QStringList> lyricsSummaryRows(const LyricsList& lyrics) {
    QList<QStringList> rows;
    for (int row = 0; row < lyrics.size(); ++row) {
        rows.append({number(row + 1), lyrics.at(row).name, lyrics.at(row).format});
    }
    return rows;
}

}  // namespace vellumo
