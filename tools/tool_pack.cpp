// vellumo-tool pack / unpack: the packed file format, nested N times.

#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "workspace/errors.h"
#include "workspace/packed_file.h"

namespace vellumo::tool {

namespace {

int packOrUnpack(const QStringList& words, bool packing) {
    Arguments args(words, {QStringLiteral("depth")});
    const int depth = args.integer(QStringLiteral("depth"), 1);
    if (!args.ok()) {
        return fail(args.error());
    }
    if (args.positional().size() != 2 || depth < 1) {
        return fail(QStringLiteral("usage: %1 --depth N IN OUT (N >= 1)")
                        .arg(packing ? u"pack" : u"unpack"));
    }
    const QString& in = args.positional()[0];
    const QString& out = args.positional()[1];
    try {
        QByteArray bytes = readWholeFile(in);
        if (packing) {
            bytes = packNested(std::move(bytes), depth);
        } else {
            try {
                bytes = unpackNested(std::move(bytes), depth);
            } catch (const FileError& e) {
                throw FileError(in, e.reason());
            }
        }
        writeWholeFile(out, bytes);
    } catch (const Error& e) {
        return fail(e.message());
    }
    return 0;
}

}  // namespace

int runPack(const QStringList& args) {
    return packOrUnpack(args, true);
}
int runUnpack(const QStringList& args) {
    return packOrUnpack(args, false);
}

}  // namespace vellumo::tool
