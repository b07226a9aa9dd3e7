#pragma once

// The rules the source tree keeps, checked over a described tree:
//  - a folder includes ("…") only the layers listed before it;
//  - README.md lists the same layers in the same order under "## Layers";
//  - a project header is included with quotes, never with angle brackets (<album/x.h>);
//  - a file of the core library includes no widget header and no file of the windows' library
//    (their windows and their text tables);
//  - compiler warning flags are spelt only in the warning set (target_compile_options of
//    vellumo_warnings): no other CMake file or Makefile adds or removes one.

#include <filesystem>
#include <string>
#include <vector>

namespace structure {

struct Tree {
    std::filesystem::path source;
    std::vector<std::string> layers;  // lowest first
    std::vector<std::string> others;  // folders that are not layers but whose includes count
    // The folder of the widget headers (Qt's QtWidgets include folder): a header found there
    // is a widget header.
    std::filesystem::path widgetHeaders;
    // Files of the two libraries, absolute or relative to source.
    std::vector<std::filesystem::path> coreFiles;
    std::vector<std::filesystem::path> uiFiles;
};

// A description file, one entry a line: "source DIR", "layer NAME", "other NAME",
// "widgets DIR", "core FILE", "ui FILE". Empty lines are skipped. Throws std::runtime_error
// when the file cannot be read or a line is not understood.
Tree readTree(const std::filesystem::path& description);

struct Report {
    std::vector<std::string> faults;  // "file:line: what is wrong"
    int includesChecked = 0;
};

Report checkTree(const Tree& tree);

}  // namespace structure
