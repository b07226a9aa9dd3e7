#include "workspace/folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "workspace/errors.h"
#include "workspace/workspace_texts.h"

namespace vellumo {

namespace fs = std::filesystem;

namespace {

constexpr int kMaxCreateAttempts = 20;

fs::path toPath(const QString& path) {
    return fs::path(QFile::encodeName(path).toStdString());
}

QString fromPath(const fs::path& path) {
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

// Entries of one folder sorted by name in byte order; an unreadable folder has none.
std::vector<fs::directory_entry> sortedEntries(const fs::path& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename().native() < b.path().filename().native();
    });
    return entries;
}

bool isDotName(const fs::path& name) {
    const QString trimmed = fromPath(name).trimmed();
    return trimmed == u"." || trimmed == u"..";
}

bool isReadOnly(const fs::file_status& status) {
    constexpr auto kWriteBits =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & kWriteBits) == fs::perms::none;
}

// False when goOn stopped it.
bool removeTree(const fs::path& folder, const std::function<bool()>& goOn) {
    for (const fs::directory_entry& entry : sortedEntries(folder)) {
        if (isDotName(entry.path().filename())) {
            continue;
        }
        if (goOn && !goOn()) {
            return false;
        }
        std::error_code ec;
        const fs::file_status status = entry.symlink_status(ec);
        if (ec) {
            continue;
        }
        if (fs::is_directory(status)) {
            if (!removeTree(entry.path(), goOn)) {
                return false;
            }
        } else if (fs::is_symlink(status) || !isReadOnly(status)) {
            fs::remove(entry.path(), ec);
        }
    }
    std::error_code ec;
    fs::remove(folder, ec);  // Stays when something is left inside.
    return true;
}

void searchPackages(const fs::path& folder, QStringList& found) {
    for (const fs::directory_entry& entry : sortedEntries(folder)) {
        if (isDotName(entry.path().filename())) {
            continue;
        }
        std::error_code ec;
        const fs::file_status status = entry.symlink_status(ec);
        if (ec) {
            continue;
        }
        if (fs::is_directory(status)) {
            searchPackages(entry.path(), found);
            continue;
        }
        const std::string name = entry.path().filename().native();
        const auto dot = name.rfind('.');
        if (dot == std::string::npos) {
            continue;
        }
        const std::string_view extension = std::string_view(name).substr(dot);
        if (extension == ".rar" || extension == ".RAR") {
            found.append(fromPath(entry.path()));
        }
    }
}

}  // namespace

void removeFolderTree(const QString& folder, const EntryProgress& progress) {
    removeFolderTreeWhile(folder, [&progress] {
        if (progress) {
            progress();
        }
        return true;
    });
}

bool removeFolderTreeWhile(const QString& folder, const std::function<bool()>& goOn) {
    QString name = folder;
    while (name.size() > 1 && name.endsWith(u'/')) {
        name.chop(1);
    }
    const fs::path path = toPath(name);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || !fs::is_directory(status)) {
        return true;
    }
    return removeTree(path, goOn);
}

bool waitUntilGone(const QString& folder, std::chrono::milliseconds limit,
                   const std::function<void()>& pump) {
    QElapsedTimer timer;
    timer.start();
    while (QFileInfo::exists(folder)) {
        if (timer.elapsed() >= limit.count()) {
            return false;
        }
        if (pump) {
            pump();
        }
        QThread::msleep(5);
    }
    return true;
}

int ensureFolder(const QString& folder) {
    int attempts = 0;
    while (!QFileInfo(folder).isDir()) {
        if (attempts == kMaxCreateAttempts) {
            throw FileError(folder, texts::kCannotCreateFolder);
        }
        ++attempts;
        QDir().mkpath(folder);
    }
    return attempts;
}

QStringList findPackages(const QString& folder) {
    QStringList found;
    searchPackages(toPath(folder), found);
    return found;
}

int countPackages(const QString& folder) {
    return static_cast<int>(findPackages(folder).size());
}

}  // namespace vellumo
