#include "disc/disc_check.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <memory>

extern "C" {
#include <dvdread/dvd_reader.h>
#include <dvdread/ifo_read.h>
#include <dvdread/ifo_types.h>
#include <dvdread/nav_read.h>
#include <dvdread/nav_types.h>
}

#include "disc/disc_texts.h"

namespace vellumo::disc {

namespace {

constexpr qint64 kRawSectorBytes = 2352;
// The navigation pack's PCI packet starts after the pack header, the system header and its own
// packet header.
constexpr int kPciOffset = 0x2d;

struct DvdCloser {
    void operator()(dvd_reader_t* dvd) const { DVDClose(dvd); }
};
struct IfoCloser {
    void operator()(ifo_handle_t* ifo) const { ifoClose(ifo); }
};
struct FileCloser {
    void operator()(dvd_file_t* file) const { DVDCloseFile(file); }
};
using Dvd = std::unique_ptr<dvd_reader_t, DvdCloser>;
using Ifo = std::unique_ptr<ifo_handle_t, IfoCloser>;
using DvdFile = std::unique_ptr<dvd_file_t, FileCloser>;

int bcd(uint8_t v) {
    return (v >> 4) * 10 + (v & 0x0f);
}

double framesPerSecond(const dvd_time_t& time) {
    return (time.frame_u >> 6) == 3 ? 30000.0 / 1001.0 : 25.0;
}

// The time code's seconds. NTSC time codes count 30 frames to their second, at 29.97 a second.
double seconds(const dvd_time_t& time) {
    const int frames = bcd(time.frame_u & 0x3f);
    const bool ntsc = (time.frame_u >> 6) == 3;
    const double nominal = ntsc ? 30.0 : 25.0;
    const double counted =
        (bcd(time.hour) * 3600 + bcd(time.minute) * 60 + bcd(time.second)) * nominal + frames;
    return counted / framesPerSecond(time);
}

QList<DvdButtonFacts> menuButtons(dvd_reader_t* dvd, int titleSet, const pgc_t* pgc) {
    QList<DvdButtonFacts> buttons;
    if (pgc == nullptr || pgc->nr_of_cells == 0 || pgc->cell_playback == nullptr) {
        return buttons;
    }
    const DvdFile vobs(DVDOpenFile(dvd, titleSet, DVD_READ_MENU_VOBS));
    if (!vobs) {
        return buttons;
    }
    unsigned char block[DVD_VIDEO_LB_LEN];
    if (DVDReadBlocks(vobs.get(), static_cast<int>(pgc->cell_playback[0].first_sector), 1, block) !=
        1) {
        return buttons;
    }
    pci_t pci{};
    navRead_PCI(&pci, block + kPciOffset);
    const int count = pci.hli.hl_gi.btn_ns & 0x3f;
    for (int i = 0; i < count && i < 36; ++i) {
        const btni_t& b = pci.hli.btnit[i];
        DvdButtonFacts facts;
        facts.area = QRect(QPoint(static_cast<int>(b.x_start), static_cast<int>(b.y_start)),
                           QPoint(static_cast<int>(b.x_end), static_cast<int>(b.y_end)));
        facts.up = b.up;
        facts.down = b.down;
        facts.left = b.left;
        facts.right = b.right;
        buttons.append(facts);
    }
    return buttons;
}

}  // namespace

DvdFacts readDvd(const QString& path) {
    DvdFacts facts;
    // libdvdread's notes (no decryption library, and the like) stay out of the program's output.
    static const dvd_logger_cb quiet{[](void*, dvd_logger_level_t, const char*, va_list) {}};
    // A path that is not there is told here: libdvdread's own refusal of it leaks its reader.
    if (!QFileInfo::exists(path)) {
        return facts;
    }
    const Dvd dvd(DVDOpen2(nullptr, &quiet, QFile::encodeName(path).constData()));
    if (!dvd) {
        return facts;
    }
    const Ifo vmg(ifoOpen(dvd.get(), 0));
    if (!vmg || vmg->tt_srpt == nullptr) {
        return facts;
    }
    facts.opened = true;
    facts.titles = vmg->tt_srpt->nr_of_srpts;
    facts.firstPlayToMenu = vmg->first_play_pgc != nullptr &&
                            vmg->first_play_pgc->command_tbl != nullptr &&
                            vmg->first_play_pgc->command_tbl->nr_of_pre > 0;
    if (facts.titles < 1) {
        return facts;
    }
    const title_info_t& title = vmg->tt_srpt->title[0];
    const Ifo vts(ifoOpen(dvd.get(), title.title_set_nr));
    if (!vts || vts->vtsi_mat == nullptr) {
        facts.opened = false;
        return facts;
    }
    const video_attr_t& video = vts->vtsi_mat->vts_video_attr;
    facts.pal = video.video_format == 1;
    facts.wide = video.display_aspect_ratio == 3;
    facts.width = video.picture_size == 0 ? 720 : video.picture_size == 1 ? 704 : 352;
    facts.height = (facts.pal ? 576 : 480) / (video.picture_size == 3 ? 2 : 1);
    facts.audioStreams = vts->vtsi_mat->nr_of_vts_audio_streams;
    facts.ac3 = facts.audioStreams > 0 && vts->vtsi_mat->vts_audio_attr[0].audio_format == 0;

    if (vts->vts_ptt_srpt != nullptr && vts->vts_pgcit != nullptr && title.vts_ttn >= 1 &&
        title.vts_ttn <= vts->vts_ptt_srpt->nr_of_srpts) {
        const ttu_t& parts = vts->vts_ptt_srpt->title[title.vts_ttn - 1];
        facts.chapters = parts.nr_of_ptts;
        const pgc_t* titlePgc = nullptr;
        for (int c = 0; c < parts.nr_of_ptts; ++c) {
            const int pgcn = parts.ptt[c].pgcn;
            if (pgcn < 1 || pgcn > vts->vts_pgcit->nr_of_pgci_srp) {
                continue;
            }
            const pgc_t* pgc = vts->vts_pgcit->pgci_srp[pgcn - 1].pgc;
            titlePgc = titlePgc != nullptr ? titlePgc : pgc;
            // The chapter starts at its program's entry cell: the cells before it are played.
            const int entryCell = pgc->program_map[parts.ptt[c].pgn - 1];
            double start = 0;
            for (int cell = 1; cell < entryCell && cell <= pgc->nr_of_cells; ++cell) {
                start += seconds(pgc->cell_playback[cell - 1].playback_time);
            }
            facts.chapterStarts.append(start);
        }
        if (titlePgc != nullptr) {
            facts.seconds = seconds(titlePgc->playback_time);
            facts.framesPerSecond = framesPerSecond(titlePgc->playback_time);
        }
    }

    if (vts->pgci_ut != nullptr && vts->pgci_ut->nr_of_lus > 0 &&
        vts->pgci_ut->lu[0].pgcit != nullptr) {
        const pgcit_t* menus = vts->pgci_ut->lu[0].pgcit;
        for (int i = 0; i < menus->nr_of_pgci_srp; ++i) {
            // dvdauthor adds a program chain of commands only, which shows nothing.
            const pgc_t* pgc = menus->pgci_srp[i].pgc;
            if (pgc != nullptr && pgc->nr_of_cells > 0) {
                facts.menus.append(menuButtons(dvd.get(), title.title_set_nr, pgc));
            }
        }
    }
    return facts;
}

QString checkDvd(const QString& path, const DiscRequest& request) {
    const DvdFacts facts = readDvd(path);
    const auto failed = [](const QString& why) { return texts::kDiscCheckFailed.arg(why); };
    if (!facts.opened) {
        return failed(texts::kDiscCheckCannotRead.arg(path));
    }
    if (facts.titles != 1) {
        return failed(texts::kDiscCheckTitles.arg(facts.titles));
    }
    if (facts.chapters != request.chapterStarts.size()) {
        return failed(
            texts::kDiscCheckChapters.arg(request.chapterStarts.size()).arg(facts.chapters));
    }
    const bool pal = request.tv == mcl::TvSystem::Pal;
    const int height = pal ? 576 : 480;
    if (facts.pal != pal || facts.width != 720 || facts.height != height) {
        const auto describe = [](int w, int h, bool p) {
            return QStringLiteral("%1 × %2 %3")
                .arg(w)
                .arg(h)
                .arg(p ? QStringLiteral("PAL") : QStringLiteral("NTSC"));
        };
        return failed(texts::kDiscCheckVideo.arg(describe(facts.width, facts.height, facts.pal),
                                                 describe(720, height, pal)));
    }
    if (!facts.wide) {
        return failed(texts::kDiscCheckAspect);
    }
    if (!facts.ac3) {
        return failed(texts::kDiscCheckAudio);
    }
    // Within one frame of the album's length.
    if (std::abs(facts.seconds - request.albumSeconds) > 1.0 / facts.framesPerSecond + 1e-6) {
        return failed(texts::kDiscCheckLength.arg(facts.seconds, 0, 'f', 2)
                          .arg(request.albumSeconds, 0, 'f', 2));
    }
    return {};
}

QString checkVcdImage(const QString& binFile, const QString& cueFile) {
    for (const QString& file : {binFile, cueFile}) {
        if (!QFileInfo::exists(file)) {
            return texts::kDiscCheckFailed.arg(texts::kDiscCheckMissingFile.arg(file));
        }
    }
    const qint64 size = QFileInfo(binFile).size();
    if (size <= 0 || size % kRawSectorBytes != 0) {
        return texts::kDiscCheckFailed.arg(texts::kDiscCheckSectors.arg(binFile).arg(size));
    }
    QFile cue(cueFile);
    const QString binName = QFileInfo(binFile).fileName();
    if (!cue.open(QIODevice::ReadOnly) ||
        !QString::fromUtf8(cue.readAll()).contains(QLatin1Char('"') + binName + QLatin1Char('"'))) {
        return texts::kDiscCheckFailed.arg(texts::kDiscCheckCue.arg(cueFile, binName));
    }
    return {};
}

}  // namespace vellumo::disc
