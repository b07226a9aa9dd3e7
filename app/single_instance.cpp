#include "app/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace vellumo {

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {}

SingleInstance::~SingleInstance() {
    release();
}

QString SingleInstance::lockPath(const QString& name) {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir()) {
        return runtime + u'/' + name + QStringLiteral(".lock");
    }
    // The temporary folder is shared by all users.
    return QDir::tempPath() + u'/' + name + u'-' + QString::number(getuid()) +
           QStringLiteral(".lock");
}

bool SingleInstance::acquire() {
    if (isHeld()) {
        return true;
    }
    auto lock = std::make_unique<QLockFile>(lockPath(name_));
    // A running program keeps its lock however long it runs; only a dead one loses it.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        return false;
    }
    lock_ = std::move(lock);
    return true;
}

bool SingleInstance::isHeld() const {
    return lock_ && lock_->isLocked();
}

void SingleInstance::release() {
    if (lock_) {
        lock_->unlock();
        lock_.reset();
    }
}

}  // namespace vellumo
