#include "disc/disc_authoring.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <utility>

#include "disc/disc_check.h"
#include "disc/disc_menu.h"
#include "disc/disc_texts.h"
#include "disc/disc_tool.h"
#include "media/silent_wav.h"
#include "workspace/errors.h"
#include "workspace/leftovers.h"

namespace vellumo::disc {

namespace {

// Ends a run: a failure carries its message; a stop carries none.
struct RunEnd {
    QString error;
    bool stopped = false;
};

QString chapterTime(double seconds) {
    const auto ms = static_cast<qint64>(seconds * 1000 + 0.5);
    return QStringLiteral("%1:%2:%3.%4")
        .arg(ms / 3600000)
        .arg(ms / 60000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms / 1000 % 60, 2, 10, QLatin1Char('0'))
        .arg(ms % 1000, 3, 10, QLatin1Char('0'));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        throw RunEnd{
            texts::kDiscCannotWrite.arg(path, texts::kDiscReasonSeparator + file.errorString())};
    }
}

void saveImage(const QImage& image, const QString& path) {
    // The overlays are mostly clear: the lightest compression is small and quick.
    constexpr int kQuickPng = 80;
    if (!image.save(path, "PNG", kQuickPng)) {
        throw RunEnd{texts::kDiscCannotWrite.arg(path, QString())};
    }
}

// Copies a file, for moves between file systems. False on any error; the target may be left.
bool copyFile(const QString& from, const QString& to) {
    QFile in(from);
    QFile out(to);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return false;
    }
    QByteArray buffer;
    while (!(buffer = in.read(1 << 20)).isEmpty()) {
        if (out.write(buffer) != buffer.size()) {
            return false;
        }
    }
    return in.error() == QFileDevice::NoError && out.flush();
}

// Moves a file into a partial file made beside its destination; the caller commits it.
void moveIntoPartial(const QString& from, PartialFile& partial) {
    if (std::rename(QFile::encodeName(from).constData(),
                    QFile::encodeName(partial.path()).constData()) == 0) {
        return;
    }
    if (!copyFile(from, partial.path())) {
        throw RunEnd{texts::kDiscCannotMove.arg(partial.output())};
    }
}

}  // namespace

// One authoring run: the steps, each reporting progress and answering a stop.
class AuthoringRun {
public:
    AuthoringRun(const DiscRequest& request, DiscAuthor& author, const std::atomic<bool>& stop)
        : r_(request), author_(author), stop_(stop), tools_(stop, author.onLog, [this] {
              if (watch_) {
                  watch_();
              }
              report();
          }) {}

    DiscResult go();

private:
    void step(const QString& name, int from, int to) {
        step_ = name;
        from_ = from;
        to_ = to;
        within_ = 0;
        report();
    }
    void within(double fraction) { within_ = std::clamp(fraction, 0.0, 1.0); }
    void report() {
        if (author_.onProgress) {
            author_.onProgress({step_, from_ + static_cast<int>((to_ - from_) * within_ + 0.5)});
        }
    }
    void checkStop() const {
        if (stop_.load()) {
            throw RunEnd{QString(), true};
        }
    }
    void runTool(const QString& program, const QStringList& arguments,
                 const ToolOptions& options = {}) {
        const ToolOutcome outcome = tools_.run(program, arguments, options);
        if (outcome.stopped) {
            throw RunEnd{QString(), true};
        }
        if (!outcome.ok) {
            throw RunEnd{outcome.error};
        }
    }
    QString work(const QString& name) const { return work_ + QLatin1Char('/') + name; }

    void authorDvd(DiscResult& result);
    void authorVcd(DiscResult& result);
    QString makeMenuPage(const MenuPainter& painter, int page, int pages);
    void encodeMenu(const MenuPainter& painter, int page, const QString& output, int pages);
    QString dvdauthorXml(const MenuPainter& painter, const QStringList& menuFiles,
                         const QString& dest) const;
    void placeFolder(const QString& videoTs, DiscResult& result);

    const DiscRequest& r_;
    DiscAuthor& author_;
    const std::atomic<bool>& stop_;
    ToolRunner tools_;
    QVector<double> chapters_;
    QString work_;
    // Called while a tool runs, for progress the tool does not print.
    std::function<void()> watch_;
    QString step_;
    int from_ = 0;
    int to_ = 0;
    double within_ = 0;
};

DiscResult AuthoringRun::go() {
    DiscResult result;
    try {
        if (r_.outPath.isEmpty()) {
            throw RunEnd{texts::kDiscNoOutput};
        }
        if (!QFileInfo(r_.streamFile).isFile()) {
            throw RunEnd{texts::kDiscNoStream.arg(r_.streamFile)};
        }
        if (r_.target == DiscTarget::Folder && r_.kind != DiscKind::Dvd) {
            throw RunEnd{texts::kDiscFolderOnlyDvd};
        }
        chapters_ = r_.chapterStarts;
        if (chapters_.isEmpty() || chapters_.first() != 0) {
            throw RunEnd{texts::kDiscNoChapters};
        }
        for (qsizetype i = 1; i < chapters_.size(); ++i) {
            if (!(chapters_[i] > chapters_[i - 1])) {
                throw RunEnd{texts::kDiscChaptersOutOfOrder};
            }
        }
        const QString missing = missingDiscTool(r_.kind);
        if (!missing.isEmpty()) {
            throw RunEnd{missing};
        }
        const QString scratchRoot = r_.workFolder.isEmpty() ? QDir::tempPath() : r_.workFolder;
        QDir().mkpath(scratchRoot);
        QTemporaryDir scratch(scratchRoot + QStringLiteral("/disc-XXXXXX"));
        if (!scratch.isValid()) {
            throw RunEnd{texts::kDiscCannotWrite.arg(scratchRoot, QString())};
        }
        work_ = scratch.path();
        checkStop();
        if (r_.kind == DiscKind::Dvd) {
            authorDvd(result);
        } else {
            authorVcd(result);
        }
        result.ok = true;
        step(step_, 100, 100);
    } catch (const RunEnd& end) {
        result.error = end.error;
        result.stopped = end.stopped;
        result.outputFiles.clear();
    } catch (const Error& error) {
        result.error = error.message();
        result.outputFiles.clear();
    }
    return result;
}

void AuthoringRun::authorDvd(DiscResult& result) {
    MenuContent content;
    content.tv = r_.tv;
    content.albumName = r_.albumName;
    content.photos = r_.menuPhotos;
    content.chapters = r_.chapterPictures;
    content.chapterCount = static_cast<int>(chapters_.size());
    const MenuPainter painter(content);

    step(texts::kDiscStepMenu, 0, 30);
    QStringList menuFiles;
    for (int page = 0; page < painter.pageCount(); ++page) {
        menuFiles.append(makeMenuPage(painter, page, painter.pageCount()));
    }

    step(texts::kDiscStepAuthor, 30, 65);
    const QString dest = work(QStringLiteral("dvd"));
    const QString xml = work(QStringLiteral("dvdauthor.xml"));
    writeFile(xml, dvdauthorXml(painter, menuFiles, dest).toUtf8());
    const double streamMb = static_cast<double>(QFileInfo(r_.streamFile).size()) / (1 << 20);
    ToolOptions authorOptions;
    authorOptions.workingFolder = work_;
    authorOptions.onLine = [&](const QString& line) {
        // "STAT: VOBU 123 at 45MB, 1 PGCs": how far into the title's stream it is.
        static const QRegularExpression vobu(QStringLiteral("^STAT: VOBU \\d+ at (\\d+)MB"));
        const auto match = vobu.match(line);
        if (match.hasMatch() && streamMb > 0) {
            within(match.captured(1).toDouble() / streamMb);
        }
    };
    runTool(QStringLiteral("dvdauthor"), {QStringLiteral("-x"), xml}, authorOptions);
    checkStop();

    if (r_.target == DiscTarget::Folder) {
        step(texts::kDiscStepCheck, 65, 90);
        DiscRequest expected = r_;
        expected.chapterStarts = chapters_;
        const QString problem = checkDvd(dest, expected);
        if (!problem.isEmpty()) {
            throw RunEnd{problem};
        }
        checkStop();
        step(texts::kDiscStepCheck, 90, 100);
        placeFolder(dest + QStringLiteral("/VIDEO_TS"), result);
        return;
    }

    step(texts::kDiscStepImage, 65, 95);
    PartialFile iso(r_.outPath);
    ToolOptions isoOptions;
    isoOptions.onLine = [&](const QString& line) {
        // " 45.67% done, estimate finish ..."
        static const QRegularExpression done(QStringLiteral("^(\\d+(?:\\.\\d+)?)% done"));
        const auto match = done.match(line);
        if (match.hasMatch()) {
            within(match.captured(1).toDouble() / 100);
        }
    };
    runTool(QStringLiteral("genisoimage"),
            {QStringLiteral("-dvd-video"), QStringLiteral("-V"), volumeLabel(r_.albumName),
             QStringLiteral("-o"), iso.path(), dest},
            isoOptions);
    checkStop();
    step(texts::kDiscStepCheck, 95, 100);
    DiscRequest expected = r_;
    expected.chapterStarts = chapters_;
    const QString problem = checkDvd(iso.path(), expected);
    if (!problem.isEmpty()) {
        throw RunEnd{problem};
    }
    checkStop();
    iso.commit();
    result.outputFiles = {r_.outPath};
}

QString AuthoringRun::makeMenuPage(const MenuPainter& painter, int page, int pages) {
    const QString stem = work(QStringLiteral("menu%1").arg(page));
    const QString plain = stem + QStringLiteral(".mpg");
    encodeMenu(painter, page, plain, pages);
    const QString highlight = stem + QStringLiteral("-highlight.png");
    const QString select = stem + QStringLiteral("-select.png");
    saveImage(painter.highlight(page, false), highlight);
    saveImage(painter.highlight(page, true), select);
    const QString xml = stem + QStringLiteral("-buttons.xml");
    writeFile(xml, painter.spumuxXml(page, highlight, select).toUtf8());
    const QString withButtons = stem + QStringLiteral("-buttons.mpg");
    ToolOptions options;
    options.workingFolder = work_;
    options.stdinFile = plain;
    options.stdoutFile = withButtons;
    runTool(QStringLiteral("spumux"), {QStringLiteral("-m"), QStringLiteral("dvd"), xml}, options);
    QFile::remove(plain);
    return withButtons;
}

void AuthoringRun::encodeMenu(const MenuPainter& painter, int page, const QString& output,
                              int pages) {
    const int frames = painter.page(page).frames;
    const QString silence = output + QStringLiteral(".wav");
    writeFile(silence, silentWav(frames / 25.0));

    auto converter = mcl::createConverter();
    converter->assignVideoSource([frames, &output](mcl::Source& source, int index) {
        if (index < frames) {
            source.setFile(output + QStringLiteral(".frame"));
        } else {
            source.finished();
        }
    });
    converter->assignAudioSource([&silence](mcl::Source& source, int index) {
        if (index == 0) {
            source.setFile(silence);
        } else {
            source.finished();
        }
    });
    // A chapter page stands still: it is drawn once.
    const QImage still = painter.page(page).moving ? QImage() : painter.frame(page, 0);
    converter->assignVideoFunc([&](mcl::Converter&, QImage& image, int n) {
        image = still.isNull() ? painter.frame(page, n) : still;
    });
    converter->assignProgress([&](mcl::Converter& c, int, int frameCount, qint64, int) {
        within((page + double(std::min(frameCount, frames)) / frames) / pages);
        report();
        if (stop_.load()) {
            c.abort();
        }
    });
    converter->setFormatPreset(mcl::Preset::DvdMenu, r_.tv);
    converter->videoSetKeepDuration(true);
    const QSize size = painter.frameSize();  // the stored size; the preset flags it 4:3
    converter->videoSetFormat(size.width(), size.height(), 32);
    converter->audioSetCodec(2);
    converter->videoSetFileName(output);
    converter->audioSetFileName(output);
    const bool ok = converter->convert();
    QFile::remove(silence);
    checkStop();
    if (!ok) {
        throw RunEnd{converter->errorString()};
    }
}

QString AuthoringRun::dvdauthorXml(const MenuPainter& painter, const QStringList& menuFiles,
                                   const QString& dest) const {
    const QString format =
        r_.tv == mcl::TvSystem::Ntsc ? QStringLiteral("ntsc") : QStringLiteral("pal");
    const auto esc = [](const QString& s) { return s.toHtmlEscaped(); };
    QString xml = QStringLiteral("<dvdauthor dest=\"%1\">\n").arg(esc(dest));
    // The disc opens on the title set's menu.
    xml += QStringLiteral(
               " <vmgm>\n  <fpc>jump titleset 1 menu;</fpc>\n"
               "  <menus><video format=\"%1\" aspect=\"4:3\"/></menus>\n </vmgm>\n")
               .arg(format);
    xml += QStringLiteral(" <titleset>\n  <menus>\n   <video format=\"%1\" aspect=\"4:3\"/>\n")
               .arg(format);
    for (int page = 0; page < menuFiles.size(); ++page) {
        xml +=
            page == 0 ? QStringLiteral("   <pgc entry=\"root\">\n") : QStringLiteral("   <pgc>\n");
        const QList<MenuButton>& buttons = painter.page(page).buttons;
        for (int i = 0; i < buttons.size(); ++i) {
            xml += QStringLiteral("    <button name=\"%1\">%2</button>\n")
                       .arg(menuButtonName(i), esc(buttons[i].command));
        }
        xml +=
            QStringLiteral("    <vob file=\"%1\" pause=\"%2\"/>\n")
                .arg(esc(menuFiles[page]), page == 0 ? QStringLiteral("0") : QStringLiteral("inf"));
        if (page == 0) {
            // The opening menu's motion loops.
            xml += QStringLiteral("    <post>jump cell 1;</post>\n");
        }
        xml += QStringLiteral("   </pgc>\n");
    }
    xml += QStringLiteral("  </menus>\n  <titles>\n");
    xml += QStringLiteral("   <video format=\"%1\" widescreen=\"nopanscan\"/>\n").arg(format);
    QStringList times;
    for (const double start : chapters_) {
        times.append(chapterTime(start));
    }
    xml += QStringLiteral(
               "   <pgc>\n    <vob file=\"%1\" chapters=\"%2\"/>\n"
               "    <post>call menu;</post>\n   </pgc>\n")
               .arg(esc(QFileInfo(r_.streamFile).absoluteFilePath()), times.join(QLatin1Char(',')));
    xml += QStringLiteral("  </titles>\n </titleset>\n</dvdauthor>\n");
    return xml;
}

// Moves the checked VIDEO_TS into outPath/VIDEO_TS: beside it under a partial name first, then
// over what was there.
void AuthoringRun::placeFolder(const QString& videoTs, DiscResult& result) {
    const QDir out(r_.outPath);
    const bool created = !out.exists();
    if (created && !QDir().mkpath(r_.outPath)) {
        throw RunEnd{texts::kDiscCannotWrite.arg(r_.outPath, QString())};
    }
    const QString suffix =
        QStringLiteral(".%1.vellumo-part").arg(QCoreApplication::applicationPid());
    const QString staging = out.filePath(QStringLiteral(".VIDEO_TS") + suffix);
    const QString old = out.filePath(QStringLiteral(".VIDEO_TS-old") + suffix);
    const QString final = out.filePath(QStringLiteral("VIDEO_TS"));
    const auto undo = [&] {
        QDir(staging).removeRecursively();
        if (created) {
            QDir().rmdir(r_.outPath);
        }
    };
    if (std::rename(QFile::encodeName(videoTs).constData(),
                    QFile::encodeName(staging).constData()) != 0) {
        bool copied = QDir().mkpath(staging);
        for (const QFileInfo& file : QDir(videoTs).entryInfoList(QDir::Files)) {
            copied =
                copied && !stop_.load() &&
                copyFile(file.absoluteFilePath(), staging + QLatin1Char('/') + file.fileName());
            report();
        }
        if (!copied) {
            undo();
            checkStop();
            throw RunEnd{texts::kDiscCannotMove.arg(final)};
        }
    }
    if (stop_.load()) {
        undo();
        checkStop();
    }
    const bool hadOld = QFileInfo::exists(final);
    if (hadOld && !QDir().rename(final, old)) {
        undo();
        throw RunEnd{texts::kDiscCannotMove.arg(final)};
    }
    if (!QDir().rename(staging, final)) {
        if (hadOld) {
            QDir().rename(old, final);
        }
        undo();
        throw RunEnd{texts::kDiscCannotMove.arg(final)};
    }
    if (hadOld) {
        QDir(old).removeRecursively();
    }
    result.outputFiles = {final};
}

void AuthoringRun::authorVcd(DiscResult& result) {
    const QStringList outputs = discImageFiles(r_.kind, r_.outPath);
    const QString bin = QFileInfo(outputs[0]).fileName();
    const QString cue = QFileInfo(outputs[1]).fileName();
    step(texts::kDiscStepVcd, 0, 90);
    ToolOptions options;
    options.workingFolder = work_;
    // The image holds the stream in 2324-byte payloads of 2352-byte sectors.
    const double expected = static_cast<double>(QFileInfo(r_.streamFile).size()) * 2352 / 2324;
    watch_ = [this, expected, image = work(bin)] {
        within(static_cast<double>(QFileInfo(image).size()) / expected);
    };
    runTool(QStringLiteral("vcdimager"),
            {QStringLiteral("-l"), volumeLabel(r_.albumName), QStringLiteral("-t"),
             r_.kind == DiscKind::Svcd ? QStringLiteral("svcd") : QStringLiteral("vcd2"),
             QStringLiteral("-c"), cue, QStringLiteral("-b"), bin,
             QFileInfo(r_.streamFile).absoluteFilePath()},
            options);
    watch_ = nullptr;
    checkStop();
    step(texts::kDiscStepCheck, 90, 100);
    const QString problem = checkVcdImage(work(bin), work(cue));
    if (!problem.isEmpty()) {
        throw RunEnd{problem};
    }
    PartialFile binPartial(outputs[0]);
    PartialFile cuePartial(outputs[1]);
    moveIntoPartial(work(bin), binPartial);
    moveIntoPartial(work(cue), cuePartial);
    checkStop();
    binPartial.commit();
    try {
        cuePartial.commit();
    } catch (...) {
        QFile::remove(outputs[0]);
        throw;
    }
    result.outputFiles = outputs;
}

DiscAuthor::DiscAuthor(DiscRequest request) : request_(std::move(request)) {}

DiscAuthor::~DiscAuthor() = default;

DiscResult DiscAuthor::run() {
    AuthoringRun run(request_, *this, stopRequested_);
    return run.go();
}

void DiscAuthor::stop() {
    stopRequested_.store(true);
}

QString missingDiscTool(DiscKind kind) {
    if (kind == DiscKind::Dvd) {
        return missingProgramMessage(
            {QStringLiteral("dvdauthor"), QStringLiteral("spumux"), QStringLiteral("genisoimage")});
    }
    return missingProgramMessage({QStringLiteral("vcdimager")});
}

QStringList discImageFiles(DiscKind kind, const QString& outPath) {
    if (kind == DiscKind::Dvd) {
        return {outPath};
    }
    const QFileInfo info(outPath);
    const QString base = info.path() + QLatin1Char('/') + info.completeBaseName();
    return {base + QStringLiteral(".bin"), base + QStringLiteral(".cue")};
}

}  // namespace vellumo::disc
