#include "structure_check.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace structure {

namespace {

int indexOf(const std::vector<std::string>& list, const std::string& name) {
    const auto it = std::find(list.begin(), list.end(), name);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

// The path of a file relative to the source folder, with "/" separators.
std::string relativeName(const fs::path& source, const fs::path& file) {
    const fs::path absolute = file.is_absolute() ? file : source / file;
    return fs::weakly_canonical(absolute)
        .lexically_relative(fs::weakly_canonical(source))
        .generic_string();
}

std::vector<fs::path> sourcesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    if (!fs::is_directory(folder)) {
        return files;
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        const std::string ext = entry.path().extension().string();
        if (entry.is_regular_file() && (ext == ".h" || ext == ".cpp")) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
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

struct Include {
    int line = 0;
    std::string target;
    bool angled = false;
};

std::vector<Include> includesOf(const fs::path& file) {
    static const std::regex include(R"(^\s*#\s*include\s*([<"])([^">]+)[">])");
    std::vector<Include> found;
    std::ifstream in(file);
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        std::smatch match;
        if (std::regex_search(line, match, include)) {
            found.push_back({lineNumber, match[2], match[1] == "<"});
        }
    }
    return found;
}

class Checker {
public:
    explicit Checker(const Tree& tree) : tree_(tree) {
        for (const fs::path& file : tree.coreFiles) {
            core_.insert(relativeName(tree.source, file));
        }
        for (const fs::path& file : tree.uiFiles) {
            ui_.insert(relativeName(tree.source, file));
        }
    }

    Report run() {
        for (std::size_t level = 0; level < tree_.layers.size(); ++level) {
            const fs::path folder = tree_.source / tree_.layers[level];
            if (!fs::is_directory(folder)) {
                fault(tree_.layers[level] + "/: listed as a layer but there is no such folder");
                continue;
            }
            for (const fs::path& file : sourcesUnder(folder)) {
                checkFile(file, static_cast<int>(level));
            }
        }
        for (const std::string& other : tree_.others) {
            for (const fs::path& file : sourcesUnder(tree_.source / other)) {
                checkFile(file, -1);
            }
        }
        checkReadme();
        checkWarningFlags();
        return std::move(report_);
    }

private:
    void fault(const std::string& text) { report_.faults.push_back(text); }

    // level: the file's layer, -1 for a folder that is not a layer.
    void checkFile(const fs::path& file, int level) {
        const std::string name = relativeName(tree_.source, file);
        const bool isCore = core_.count(name) > 0;
        for (const Include& include : includesOf(file)) {
            ++report_.includesChecked;
            const std::string at = name + ':' + std::to_string(include.line) + ": includes ";
            if (include.angled) {
                if (isProjectHeader(include.target)) {
                    fault(at + '<' + include.target +
                          ">: a project header is included with quotes, not angle brackets");
                } else if (isCore && isWidgetHeader(include.target)) {
                    fault(at + '<' + include.target +
                          ">: a file of the core library includes no widget header");
                }
                continue;
            }
            const std::size_t slash = include.target.find('/');
            if (level >= 0 && slash != std::string::npos) {
                const std::string targetFolder = include.target.substr(0, slash);
                const int targetLevel = indexOf(tree_.layers, targetFolder);
                if (targetLevel < 0 || targetLevel > level) {
                    fault(at + '"' + include.target + "\": " + targetFolder + "/ is " +
                          (targetLevel < 0 ? "not a layer below " : "above ") +
                          tree_.layers[static_cast<std::size_t>(level)] + '/');
                }
            }
            if (isCore) {
                const fs::path target = slash == std::string::npos
                                            ? file.parent_path() / include.target
                                            : tree_.source / include.target;
                if (ui_.count(relativeName(tree_.source, target)) > 0) {
                    fault(at + '"' + include.target +
                          "\": a file of the core library includes no file of the windows' "
                          "library");
                }
            }
        }
    }

    // <album/x.h>: a path that starts in a folder of the project.
    bool isProjectHeader(const std::string& target) const {
        const std::size_t slash = target.find('/');
        if (slash == std::string::npos) {
            return false;
        }
        const std::string folder = target.substr(0, slash);
        return indexOf(tree_.layers, folder) >= 0 || indexOf(tree_.others, folder) >= 0 ||
               fs::is_regular_file(tree_.source / target);
    }

    bool isWidgetHeader(const std::string& target) const {
        if (target == "QtWidgets" || target.rfind("QtWidgets/", 0) == 0) {
            return true;
        }
        return target.find('/') == std::string::npos && !tree_.widgetHeaders.empty() &&
               fs::is_regular_file(tree_.widgetHeaders / target);
    }

    void checkReadme() {
        if (readmeLayers(tree_.source / "README.md") == tree_.layers) {
            return;
        }
        std::string text = "README.md: the layers listed under \"## Layers\" are not the build's:";
        for (const std::string& layer : tree_.layers) {
            text += ' ' + layer;
        }
        fault(text);
    }

    void checkWarningFlags() {
        std::vector<fs::path> files;
        for (auto it = fs::recursive_directory_iterator(tree_.source);
             it != fs::recursive_directory_iterator(); ++it) {
            const std::string leaf = it->path().filename().string();
            if (it->is_directory()) {
                // Build folders hold generated CMake files with the flags spelt out.
                if (leaf.rfind('.', 0) == 0 || leaf.rfind("build", 0) == 0) {
                    it.disable_recursion_pending();
                }
                continue;
            }
            if (leaf == "CMakeLists.txt" || leaf == "Makefile" ||
                it->path().extension() == ".cmake") {
                files.push_back(it->path());
            }
        }
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            checkWarningFlagsIn(file);
        }
    }

    void checkWarningFlagsIn(const fs::path& file) {
        std::ifstream in(file);
        std::stringstream whole;
        whole << in.rdbuf();
        const std::string text = withoutComments(whole.str());
        // Where the warning set is written: the calls target_compile_options(vellumo_warnings …).
        std::vector<std::pair<std::size_t, std::size_t>> allowed;
        static const std::regex setCall(R"(target_compile_options\s*\(\s*vellumo_warnings\b)");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), setCall);
             it != std::sregex_iterator(); ++it) {
            const std::size_t open =
                static_cast<std::size_t>(it->position()) + static_cast<std::size_t>(it->length());
            const std::size_t close = text.find(')', open);
            allowed.emplace_back(open, close == std::string::npos ? text.size() : close);
        }
        static const std::regex flag(
            R"((^|[\s"'(=;])(-W(?![lap],)[A-Za-z][\w=+-]*|-w)(?=$|[\s"');]))");
        for (auto it = std::sregex_iterator(text.begin(), text.end(), flag);
             it != std::sregex_iterator(); ++it) {
            const std::size_t at = static_cast<std::size_t>(it->position(2));
            const bool inSet = std::any_of(allowed.begin(), allowed.end(), [at](const auto& span) {
                return at >= span.first && at < span.second;
            });
            if (inSet) {
                continue;
            }
            const auto line =
                1 + std::count(text.begin(), text.begin() + static_cast<long>(at), '\n');
            fault(relativeName(tree_.source, file) + ':' + std::to_string(line) + ": " +
                  (*it)[2].str() +
                  ": warning flags are written only in the warning set "
                  "(vellumo_warnings)");
        }
    }

    // The text with "#" comments blanked out (line breaks kept, so that lines still count).
    static std::string withoutComments(std::string text) {
        bool quoted = false;
        bool comment = false;
        for (std::size_t i = 0; i < text.size(); ++i) {
            const char c = text[i];
            if (c == '\n') {
                quoted = false;
                comment = false;
            } else if (comment) {
                text[i] = ' ';
            } else if (c == '"') {
                quoted = !quoted;
            } else if (c == '#' && !quoted) {
                comment = true;
                text[i] = ' ';
            }
        }
        return text;
    }

    const Tree& tree_;
    std::set<std::string> core_;
    std::set<std::string> ui_;
    Report report_;
};

}  // namespace

Tree readTree(const fs::path& description) {
    std::ifstream in(description);
    if (!in) {
        throw std::runtime_error("cannot read " + description.string());
    }
    Tree tree;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (line.find_first_not_of(" \t\r") == std::string::npos) {
            continue;
        }
        const std::size_t space = line.find(' ');
        const std::string key = line.substr(0, space);
        const std::string value =
            space == std::string::npos ? std::string() : line.substr(space + 1);
        if (value.empty()) {
            throw std::runtime_error(description.string() + ':' + std::to_string(lineNumber) +
                                     ": no value");
        }
        if (key == "source") {
            tree.source = value;
        } else if (key == "layer") {
            tree.layers.push_back(value);
        } else if (key == "other") {
            tree.others.push_back(value);
        } else if (key == "widgets") {
            tree.widgetHeaders = value;
        } else if (key == "core") {
            tree.coreFiles.emplace_back(value);
        } else if (key == "ui") {
            tree.uiFiles.emplace_back(value);
        } else {
            throw std::runtime_error(description.string() + ':' + std::to_string(lineNumber) +
                                     ": unknown entry \"" + key + '"');
        }
    }
    if (tree.source.empty()) {
        throw std::runtime_error(description.string() + ": no source folder");
    }
    return tree;
}

Report checkTree(const Tree& tree) {
    return Checker(tree).run();
}

}  // namespace structure
