#include "workspace/leftovers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "workspace/errors.h"
#include "workspace/folders.h"

namespace vellumo {

namespace {

const QString kPartialSuffix = QStringLiteral(".vellumo-part");
const QString kWorkingFolderPrefix = QStringLiteral("vellumo-work-");
// Room left in a file name (255 bytes) for the output's own name.
constexpr qsizetype kMaxBaseBytes = 200;
constexpr int kCreateAttempts = 100;

// The system's own words for an error number.
QString systemReason(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

QString randomWord() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    QString word;
    for (int i = 0; i < 6; ++i) {
        word += QLatin1Char(letters[QRandomGenerator::global()->bounded(62)]);
    }
    return word;
}

const QRegularExpression& partialPattern() {
    static const QRegularExpression pattern(
        QStringLiteral("^\\..+\\.(\\d+)-[A-Za-z0-9]{6}\\.vellumo-part$"),
        QRegularExpression::DotMatchesEverythingOption);
    return pattern;
}

const QRegularExpression& workingFolderPattern() {
    static const QRegularExpression pattern(QStringLiteral("^vellumo-work-(\\d+)-[A-Za-z0-9]{6}$"));
    return pattern;
}

// A process id that is in use here; an id we cannot check counts as running.
bool processRuns(qint64 pid) {
    if (pid <= 0 || pid > 0x7fffffff) {
        return true;
    }
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

bool isStale(const struct stat& status, qint64 pid) {
    if (status.st_uid != ::geteuid()) {
        return false;
    }
    const std::time_t now = std::time(nullptr);
    const auto age = std::chrono::seconds(now - status.st_mtime);
    if (age >= kLeftoverAgeLimit) {
        return true;
    }
    return !processRuns(pid) && age >= kLeftoverQuietTime;
}

// Names in folder matching pattern, with the process id the pattern captures.
template <typename Act>
int removeMatching(const QString& folder, const QRegularExpression& pattern, bool folders,
                   Act remove) {
    const QByteArray encoded = QFile::encodeName(folder);
    DIR* dir = ::opendir(encoded.constData());
    if (dir == nullptr) {
        return 0;
    }
    int removed = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        const QRegularExpressionMatch match = pattern.match(name);
        if (!match.hasMatch()) {
            continue;
        }
        struct stat status {};
        if (::fstatat(::dirfd(dir), entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            continue;
        }
        const bool right = folders ? S_ISDIR(status.st_mode) : S_ISREG(status.st_mode);
        if (right && isStale(status, match.captured(1).toLongLong())) {
            if (remove(QDir(folder).filePath(name))) {
                ++removed;
            }
        }
    }
    ::closedir(dir);
    return removed;
}

}  // namespace

PartialFile::PartialFile(const QString& output) : output_(output) {
    const QFileInfo info(output);
    QString base = info.fileName();
    while (QFile::encodeName(base).size() > kMaxBaseBytes) {
        base.chop(1);
    }
    const QString prefix = info.absolutePath() + QStringLiteral("/.") + base + u'.' +
                           QString::number(::getpid()) + u'-';
    for (int attempt = 0; attempt < kCreateAttempts; ++attempt) {
        const QString candidate = prefix + randomWord() + kPartialSuffix;
        const QByteArray path = QFile::encodeName(candidate);
        // O_EXCL: a name that exists (a file, a link, dangling or not) is never opened.
        const int fd =
            ::open(path.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0) {
            fd_ = fd;
            path_ = candidate;
            return;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    throw FileError(output, systemReason(errno));
}

PartialFile::~PartialFile() {
    discard();
}

void PartialFile::commit() {
    if (fd_ < 0) {
        return;
    }
    const bool synced = ::fsync(fd_) == 0;
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    const QByteArray from = QFile::encodeName(path_);
    const QByteArray to = QFile::encodeName(output_);
    if (!synced || !closed || std::rename(from.constData(), to.constData()) != 0) {
        const QString reason = systemReason(errno);
        ::unlink(from.constData());
        path_.clear();
        throw FileError(output_, reason);
    }
    path_.clear();
}

void PartialFile::discard() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!path_.isEmpty()) {
        ::unlink(QFile::encodeName(path_).constData());
        path_.clear();
    }
}

bool isPartialFileName(const QString& name) {
    return partialPattern().match(name).hasMatch();
}

int removeStalePartialFiles(const QString& folder) {
    return removeMatching(folder, partialPattern(), false, [](const QString& path) {
        return ::unlink(QFile::encodeName(path).constData()) == 0;
    });
}

QString workingFolderTemplate() {
    return QDir::tempPath() + u'/' + kWorkingFolderPrefix + QString::number(::getpid()) +
           QStringLiteral("-XXXXXX");
}

int removeStaleWorkingFolders() {
    return removeMatching(QDir::tempPath(), workingFolderPattern(), true, [](const QString& path) {
        removeFolderTree(path);
        return !QFileInfo::exists(path);
    });
}

}  // namespace vellumo
