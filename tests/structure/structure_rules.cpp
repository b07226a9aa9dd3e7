// The structure checker over small trees written here: a clean tree passes, and each rule
// refuses a made-up violation of it until the violation is taken out again.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "structure_check.h"

namespace fs = std::filesystem;

namespace structure {
namespace {

// Two layers, "low" (the core library's model and a text table of the windows' library, as
// dialogs/ has one) and "high" (a window and core rules), with tests beside them.
class StructureRules : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "structure-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        root_ = pattern;
        source_ = root_ / "src";
        write("README.md",
              "# Tree\n\n## Source\n\n1. `tests/`\n\n## Layers\n\n1. `low/`\n2. `high/`\n");
        write("CMakeLists.txt",
              "add_library(vellumo_warnings INTERFACE)\n"
              "target_compile_options(vellumo_warnings INTERFACE\n"
              "  -Wall -Wextra -Wshadow -Wformat=2)  # the warning set\n"
              "if(WERROR)\n"
              "  target_compile_options(vellumo_warnings INTERFACE -Werror)\n"
              "endif()\n"
              "# A comment may name -Wall.\n"
              "add_link_options(-Wl,--as-needed)\n");
        write("low/CMakeLists.txt", "target_sources(core PRIVATE model.cpp model.h)\n");
        write("Makefile", "format-check:\n\tclang-format --dry-run --Werror model.cpp\n");
        write("low/model.h", "#pragma once\n\n#include <QString>\n#include <vector>\n");
        write("low/model.cpp",
              "#include \"low/model.h\"\n\n#include <QImage>\n\n#include \"low/low_texts.h\"\n");
        write("low/low_texts.h", "#pragma once\n");
        write("low/dialog_texts.h", "#pragma once\n");
        write("high/rules.h", "#pragma once\n");
        write("high/window.h", "#pragma once\n\n#include <QLabel>\n\n#include \"low/model.h\"\n");
        write("high/window.cpp",
              "#include \"high/window.h\"\n\n#include <QtWidgets/QDialog>\n\n"
              "#include \"low/dialog_texts.h\"\n");
        write("tests/test_model.cpp",
              "#include <gtest/gtest.h>\n\n#include \"high/window.h\"\n#include \"low/model.h\"\n");
        for (const char* header : {"QWidget", "QLabel", "QDialog"}) {
            std::ofstream(widgets() / header).flush();
        }
    }

    void TearDown() override { fs::remove_all(root_); }

    void write(const std::string& name, const std::string& text) {
        const fs::path path = source_ / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << text;
    }

    std::string read(const std::string& name) const {
        std::ifstream in(source_ / name);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path widgets() {
        const fs::path folder = root_ / "qt" / "QtWidgets";
        fs::create_directories(folder);
        return folder;
    }

    Tree tree() {
        Tree t;
        t.source = source_;
        t.layers = {"low", "high"};
        t.others = {"tests"};
        t.widgetHeaders = widgets();
        // The core files relative, the windows' files absolute, as the build gives them.
        t.coreFiles = {"low/model.h", "low/model.cpp", "low/low_texts.h", "high/rules.h"};
        t.uiFiles = {source_ / "high/window.h", source_ / "high/window.cpp",
                     source_ / "low/dialog_texts.h"};
        return t;
    }

    std::vector<std::string> faults() { return checkTree(tree()).faults; }

    fs::path root_;
    fs::path source_;
};

TEST_F(StructureRules, CleanTreePasses) {
    const Report report = checkTree(tree());
    EXPECT_EQ(report.faults, std::vector<std::string>{});
    EXPECT_EQ(report.includesChecked, 13);
}

struct Violation {
    const char* rule;
    const char* file;
    const char* added;  // appended to the file
    const char* fault;  // the one fault reported
};

TEST_F(StructureRules, EachRuleRefusesAMadeUpViolation) {
    const Violation violations[] = {
        {"layer order", "low/model.h", "#include \"high/rules.h\"\n",
         "low/model.h:5: includes \"high/rules.h\": high/ is above low/"},
        {"angle brackets in a layer", "low/model.cpp", "#include <low/model.h>\n",
         "low/model.cpp:6: includes <low/model.h>: a project header is included with quotes, "
         "not angle brackets"},
        {"angle brackets in tests", "tests/test_model.cpp", "#include <high/window.h>\n",
         "tests/test_model.cpp:5: includes <high/window.h>: a project header is included with "
         "quotes, not angle brackets"},
        {"widget header in core", "low/model.h", "#include <QLabel>\n",
         "low/model.h:5: includes <QLabel>: a file of the core library includes no widget "
         "header"},
        {"widget module in core", "low/model.cpp", "#include <QtWidgets/QWidget>\n",
         "low/model.cpp:6: includes <QtWidgets/QWidget>: a file of the core library includes "
         "no widget header"},
        {"windows' text table in core", "low/model.cpp", "#include \"low/dialog_texts.h\"\n",
         "low/model.cpp:6: includes \"low/dialog_texts.h\": a file of the core library "
         "includes no file of the windows' library"},
        {"windows' text table beside", "low/low_texts.h", "#include \"dialog_texts.h\"\n",
         "low/low_texts.h:2: includes \"dialog_texts.h\": a file of the core library includes "
         "no file of the windows' library"},
        {"warning flag in a folder's CMake", "low/CMakeLists.txt",
         "target_compile_options(core PRIVATE -Wno-shadow)\n",
         "low/CMakeLists.txt:2: -Wno-shadow: warning flags are written only in the warning set "
         "(vellumo_warnings)"},
        {"warnings off in the Makefile", "Makefile", "CXXFLAGS += -w\n",
         "Makefile:3: -w: warning flags are written only in the warning set (vellumo_warnings)"},
        {"README's layers", "README.md", "3. `extra/`\n",
         "README.md: the layers listed under \"## Layers\" are not the build's: low high"},
    };
    for (const Violation& v : violations) {
        SCOPED_TRACE(v.rule);
        const std::string before = read(v.file);
        ASSERT_EQ(faults(), std::vector<std::string>{});
        write(v.file, before + v.added);
        EXPECT_EQ(faults(), std::vector<std::string>{v.fault});
        write(v.file, before);
        EXPECT_EQ(faults(), std::vector<std::string>{});
    }
}

TEST_F(StructureRules, BuildFoldersAndCommentsAreNotRead) {
    // A build folder's generated files spell the flags out.
    write("build/CMakeFiles/flags.make", "CXX_FLAGS = -Wall -Werror\n");
    write("build-san/CMakeLists.txt", "add_compile_options(-Wall)\n");
    write("low/CMakeLists.txt",
          "# -Wall is in the warning set\ntarget_sources(core PRIVATE a.cpp)\n");
    EXPECT_EQ(faults(), std::vector<std::string>{});
}

TEST_F(StructureRules, ALayerWithoutAFolderIsAFault) {
    Tree t = tree();
    t.layers.push_back("gone");
    const std::vector<std::string> found = checkTree(t).faults;
    ASSERT_FALSE(found.empty());
    EXPECT_EQ(found.front(), "gone/: listed as a layer but there is no such folder");
}

TEST_F(StructureRules, ReadsTheBuildsDescription) {
    const fs::path description = root_ / "tree.txt";
    std::ofstream(description) << "source " << source_.string() << "\nlayer low\nlayer high\n\n"
                               << "other tests\nwidgets " << widgets().string()
                               << "\ncore low/model.cpp\nui "
                               << (source_ / "high/window.cpp").string() << '\n';
    const Tree t = readTree(description);
    EXPECT_EQ(t.source, source_);
    EXPECT_EQ(t.layers, (std::vector<std::string>{"low", "high"}));
    EXPECT_EQ(t.others, std::vector<std::string>{"tests"});
    EXPECT_EQ(t.widgetHeaders, widgets());
    EXPECT_EQ(t.coreFiles, std::vector<fs::path>{"low/model.cpp"});
    EXPECT_EQ(t.uiFiles, std::vector<fs::path>{source_ / "high/window.cpp"});

    std::ofstream(description, std::ios::app) << "colour blue\n";
    EXPECT_THROW(readTree(description), std::runtime_error);
    EXPECT_THROW(readTree(root_ / "missing.txt"), std::runtime_error);
}

}  // namespace
}  // namespace structure
