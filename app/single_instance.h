#pragma once

// One running program per user: a lock named after the application. A second start finds the
// lock held and ends; the running program is left alone. A lock left by a program that died is
// taken over.

#include <QString>
#include <memory>

class QLockFile;

namespace vellumo {

class SingleInstance {
public:
    explicit SingleInstance(QString name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is now the only instance; false when another one holds the name.
    bool acquire();
    bool isHeld() const;
    void release();

    // Where the lock for name lives: the user's runtime folder, else the temporary folder.
    static QString lockPath(const QString& name);

private:
    QString name_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace vellumo
