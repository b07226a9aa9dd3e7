// vellumo-tool catalogue: the catalogue list as Vellumo builds it at start-up.

#include "catalogue/catalogue.h"
#include "tools/tool_commands.h"
#include "tools/tool_common.h"
#include "tools/tool_texts.h"
#include "workspace/errors.h"
#include "workspace/program_folder.h"

namespace vellumo::tool {

int runCatalogue(const QStringList& words) {
    Arguments args(words, {QStringLiteral("program-folder")});
    if (!args.ok()) {
        return fail(args.error());
    }
    if (!args.positional().isEmpty()) {
        return fail(QStringLiteral("usage: catalogue [--program-folder DIR]"));
    }
    if (args.has(QStringLiteral("program-folder"))) {
        setProgramFolder(args.value(QStringLiteral("program-folder")));
    }
    // The catalogue is built in the unpack folder: an installed program folder cannot hold it.
    Catalogue catalogue;
    try {
        chooseWorkingRoot();
        if (!catalogue.build()) {
            return fail(QStringLiteral("no template packages below %1").arg(programFolder()));
        }
    } catch (const Error& e) {
        return fail(e.message());
    }
    printOut(texts::kToolCatalogueHeading);
    for (const CatalogueEntry& e : catalogue.entries()) {
        printOut(QStringLiteral("%1\t%2\t%3\t%4\t%5\t%6\t%7")
                     .arg(e.catalogueIndex)
                     .arg(e.name, kindText(e.kind))
                     .arg(e.landscapeSlots)
                     .arg(e.portraitSlots)
                     .arg(e.duration, classText(e.templateClass)));
    }
    printOut(QStringLiteral("%1 templates, %2 catalogue entries")
                 .arg(catalogue.records().size())
                 .arg(catalogue.entries().size()));
    if (!catalogue.leftOut().isEmpty()) {
        printError(catalogue.leftOutMessage());
        return 1;
    }
    return 0;
}

}  // namespace vellumo::tool
