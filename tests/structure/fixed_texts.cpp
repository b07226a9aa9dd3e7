// Every fixed Chinese text is defined once, in a texts header (a file named *_texts.h) or, for
// fixed file names, a paths header (*_paths.h); the code refers to those definitions. Reads the
// sources of the given folders and reports:
//  - a string literal holding Chinese characters or full-width punctuation outside those headers;
//  - a constant defined under the same name in two texts headers (two headers that cannot be
//    included together, and two definitions where one was meant).
// Comments are not code: a Chinese text quoted in a comment is not reported.
//
// Usage: test_fixed_texts SOURCE_DIR FOLDER...

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Literal {
    int line = 0;
    std::string text;
};

// CJK punctuation, kana and ideographs, compatibility ideographs and full-width forms.
bool isChinese(char32_t c) {
    return (c >= 0x3000 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFF00 && c <= 0xFFEF);
}

bool holdsChinese(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        const auto byte = static_cast<unsigned char>(text[i]);
        int length = 1;
        char32_t c = byte;
        if (byte >= 0xF0) {
            length = 4;
            c = byte & 0x07;
        } else if (byte >= 0xE0) {
            length = 3;
            c = byte & 0x0F;
        } else if (byte >= 0xC0) {
            length = 2;
            c = byte & 0x1F;
        }
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k) {
            c = (c << 6) |
                (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        if (isChinese(c)) {
            return true;
        }
        i += static_cast<std::size_t>(length);
    }
    return false;
}

// The string literals of a C++ source, comments and character literals skipped. Raw strings
// are read to their closing delimiter.
std::vector<Literal> stringLiterals(const std::string& source) {
    std::vector<Literal> literals;
    int line = 1;
    const std::size_t n = source.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = source[i];
        if (c == '\n') {
            ++line;
        } else if (c == '/' && i + 1 < n && source[i + 1] == '/') {
            while (i < n && source[i] != '\n') {
                ++i;
            }
            --i;
        } else if (c == '/' && i + 1 < n && source[i + 1] == '*') {
            i += 2;
            while (i + 1 < n && !(source[i] == '*' && source[i + 1] == '/')) {
                line += source[i] == '\n' ? 1 : 0;
                ++i;
            }
            ++i;
        } else if (c == 'R' && i + 1 < n && source[i + 1] == '"') {
            const std::size_t open = source.find('(', i + 2);
            if (open == std::string::npos) {
                break;
            }
            const std::string close = ")" + source.substr(i + 2, open - i - 2) + "\"";
            const std::size_t end = source.find(close, open);
            const std::string text =
                source.substr(open + 1, (end == std::string::npos ? n : end) - open - 1);
            literals.push_back({line, text});
            line += static_cast<int>(std::count(text.begin(), text.end(), '\n'));
            i = end == std::string::npos ? n : end + close.size() - 1;
        } else if (c == '"' || c == '\'') {
            std::string text;
            ++i;
            while (i < n && source[i] != c && source[i] != '\n') {
                if (source[i] == '\\' && i + 1 < n) {
                    text += source[i];
                    ++i;
                }
                text += source[i];
                ++i;
            }
            if (c == '"') {
                literals.push_back({line, text});
            }
        } else if (std::isalnum(static_cast<unsigned char>(c)) || c == '_') {
            // A whole word, so that the R of "FOUR" or a digit separator ' is not taken for
            // the start of a literal.
            while (i + 1 < n &&
                   (std::isalnum(static_cast<unsigned char>(source[i + 1])) ||
                    source[i + 1] == '_' ||
                    (source[i + 1] == '\'' && std::isdigit(static_cast<unsigned char>(c))))) {
                ++i;
            }
        }
    }
    return literals;
}

bool endsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

std::string readAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: test_fixed_texts SOURCE_DIR FOLDER...\n";
        return 2;
    }
    const fs::path source = argv[1];
    const std::regex constant(R"(inline\s+const\s+QString\s+(k\w+)\s*=)");
    std::map<std::string, std::string> definedIn;  // constant name -> texts header
    int faults = 0;
    int files = 0;
    int literals = 0;

    for (int a = 2; a < argc; ++a) {
        const fs::path folder = source / argv[a];
        if (!fs::is_directory(folder)) {
            std::cout << argv[a] << "/: no such folder\n";
            ++faults;
            continue;
        }
        std::vector<fs::path> sources;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (entry.is_regular_file() && (endsWith(name, ".h") || endsWith(name, ".cpp"))) {
                sources.push_back(entry.path());
            }
        }
        std::sort(sources.begin(), sources.end());
        for (const fs::path& file : sources) {
            ++files;
            const std::string name = file.filename().string();
            const std::string relative = fs::relative(file, source).generic_string();
            const std::string text = readAll(file);
            if (endsWith(name, "_texts.h")) {
                for (std::sregex_iterator it(text.begin(), text.end(), constant), end; it != end;
                     ++it) {
                    const std::string key = (*it)[1];
                    const auto [where, fresh] = definedIn.emplace(key, relative);
                    if (!fresh && where->second != relative) {
                        std::cout << relative << ": " << key << " is defined in " << where->second
                                  << " too\n";
                        ++faults;
                    }
                }
                continue;
            }
            if (endsWith(name, "_paths.h")) {
                continue;
            }
            for (const Literal& literal : stringLiterals(text)) {
                ++literals;
                if (holdsChinese(literal.text)) {
                    std::cout << relative << ":" << literal.line << ": \"" << literal.text
                              << "\" belongs in a texts header\n";
                    ++faults;
                }
            }
        }
    }
    std::cout << files << " files, " << literals << " literals outside the texts headers, "
              << definedIn.size() << " texts constants, " << faults << " faults\n";
    return faults == 0 ? 0 : 1;
}
