// Reads every #include "…" of the library folders and reports each one that runs up the layer
// order: a folder may include only folders listed before it. Also checks that README.md lists
// the same layers in the same order.
//
// Usage: test_include_order SOURCE_DIR LAYER...   (the layers lowest first)

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int layerIndex(const std::vector<std::string>& layers, const std::string& folder) {
    const auto it = std::find(layers.begin(), layers.end(), folder);
    return it == layers.end() ? -1 : static_cast<int>(it - layers.begin());
}

// The folders README.md lists under "## Layers", as "1. `workspace/` …" lines.
std::vector<std::string> readmeLayers(const fs::path& readme) {
    std::ifstream in(readme);
    const std::regex item(R"(^\d+\.\s+`([a-z_]+)/`)");
    std::vector<std::string> folders;
    bool inSection = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("## ", 0) == 0) {
            inSection = line == "## Layers";
            continue;
        }
        std::smatch match;
        if (inSection && std::regex_search(line, match, item)) {
            folders.push_back(match[1]);
        }
    }
    return folders;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: test_include_order SOURCE_DIR LAYER...\n";
        return 2;
    }
    const fs::path source = argv[1];
    const std::vector<std::string> layers(argv + 2, argv + argc);
    const std::regex include(R"(^\s*#\s*include\s*"([^"]+)\")");
    int faults = 0;
    int checked = 0;

    for (std::size_t level = 0; level < layers.size(); ++level) {
        const fs::path folder = source / layers[level];
        if (!fs::is_directory(folder)) {
            std::cout << layers[level] << "/: listed as a layer but there is no such folder\n";
            ++faults;
            continue;
        }
        std::vector<fs::path> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string ext = entry.path().extension().string();
            if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) {
                files.push_back(entry.path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            std::ifstream in(file);
            int lineNumber = 0;
            for (std::string line; std::getline(in, line);) {
                ++lineNumber;
                std::smatch match;
                if (!std::regex_search(line, match, include)) {
                    continue;
                }
                ++checked;
                const std::string target = match[1];
                const std::size_t slash = target.find('/');
                if (slash == std::string::npos) {
                    continue;  // Beside the file itself.
                }
                const std::string targetFolder = target.substr(0, slash);
                const int targetLevel = layerIndex(layers, targetFolder);
                if (targetLevel >= 0 && targetLevel <= static_cast<int>(level)) {
                    continue;
                }
                std::cout << fs::relative(file, source).generic_string() << ':' << lineNumber
                          << ": includes \"" << target << "\": " << targetFolder << "/ is "
                          << (targetLevel < 0 ? std::string("not a layer below ")
                                              : std::string("above "))
                          << layers[level] << "/\n";
                ++faults;
            }
        }
    }

    const std::vector<std::string> listed = readmeLayers(source / "README.md");
    if (listed != layers) {
        std::cout << "README.md: the layers listed under \"## Layers\" are not the build's:";
        for (const std::string& layer : layers) {
            std::cout << ' ' << layer;
        }
        std::cout << '\n';
        ++faults;
    }

    std::cout << checked << " includes checked, " << faults << " out of order\n";
    return faults == 0 ? 0 : 1;
}
