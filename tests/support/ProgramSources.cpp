#include "support/ProgramSources.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;

const char* const kSourceFolders[] = {"app", "report", "preview", "receipts", "workbook"};

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Blanks comments out, keeping line breaks so that line numbers still hold.
std::string withoutComments(const std::string& source) {
    std::string code(source);
    for (size_t i = 0; i + 1 < code.size(); ++i) {
        if (code[i] == '"' || code[i] == '\'') {
            const char quote = code[i];
            for (++i; i < code.size() && code[i] != quote; ++i)
                if (code[i] == '\\') ++i;
        } else if (code[i] == '/' && code[i + 1] == '/') {
            for (; i < code.size() && code[i] != '\n'; ++i) code[i] = ' ';
        } else if (code[i] == '/' && code[i + 1] == '*') {
            for (; i + 1 < code.size() && !(code[i] == '*' && code[i + 1] == '/'); ++i)
                if (code[i] != '\n') code[i] = ' ';
            // An unclosed comment runs to the end: its last character is the only one left.
            code[i] = ' ';
            if (i + 1 < code.size()) code[++i] = ' ';
        }
    }
    return code;
}

}  // namespace

std::vector<ProgramSource> ReadProgramSources() {
    const fs::path root(BRINDLEMOOR_SOURCE_DIR);
    std::vector<ProgramSource> sources;
    for (const char* folder : kSourceFolders) {
        for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
            const std::string extension = entry.path().extension().string();
            if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
            sources.push_back(
                {entry.path().lexically_relative(root).generic_string(), withoutComments(contentsOf(entry.path()))});
        }
    }
    return sources;
}

int LineOf(const std::string& code, size_t offset) {
    return 1 + int(std::count(code.begin(), code.begin() + std::ptrdiff_t(offset), '\n'));
}
