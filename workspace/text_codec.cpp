#include "workspace/text_codec.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace vellumo {

QString fromGbk(const QByteArray& bytes) {
    QStringDecoder decoder("GBK");
    return decoder.decode(bytes);
}

QByteArray toGbk(const QString& text) {
    QStringEncoder encoder("GBK");
    return encoder.encode(text);
}

}  // namespace vellumo
