// vellumo-tool icons: the program icon as PNG files in the icon theme's layout, for installing.

#include <QDir>
#include <QImage>

#include "skin/artwork.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"

namespace vellumo::tool {

int runIcons(const QStringList& words) {
    Arguments args(words, {QStringLiteral("out"), QStringLiteral("sizes")});
    if (!args.ok()) {
        return fail(args.error());
    }
    if (!args.positional().isEmpty() || !args.has(QStringLiteral("out"))) {
        return fail(QStringLiteral("usage: icons --out DIR [--sizes 16,32,...]"));
    }
    const QString out = args.value(QStringLiteral("out"));
    const QStringList sizes =
        args.value(QStringLiteral("sizes"), QStringLiteral("16,22,24,32,48,64,128,256"))
            .split(u',', Qt::SkipEmptyParts);
    for (const QString& text : sizes) {
        bool ok = false;
        const int size = text.toInt(&ok);
        if (!ok || size < 8 || size > 1024) {
            return fail(QStringLiteral("icon size \"%1\" is not between 8 and 1024").arg(text));
        }
        const QString folder = QStringLiteral("%1/%2x%2/apps").arg(out).arg(size);
        const QString file = folder + QStringLiteral("/vellumo.png");
        if (!QDir().mkpath(folder) || !artwork::programIcon(size).save(file, "PNG")) {
            return fail(QStringLiteral("cannot write %1").arg(file));
        }
        printOut(file);
    }
    return 0;
}

}  // namespace vellumo::tool
