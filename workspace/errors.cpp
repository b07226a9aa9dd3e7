#include "workspace/errors.h"

#include "workspace/workspace_texts.h"

namespace vellumo {

Error::Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

FileError::FileError(QString file, QString reason)
    : Error(texts::kFileErrorFormat.arg(file, reason)),
      file_(std::move(file)),
      reason_(std::move(reason)) {}

}  // namespace vellumo
