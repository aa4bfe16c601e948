// A library offers the headers under its include/ folder; the rest are reachable from its own
// sources only. A public header that names a private one compiles inside its library and fails in
// every other, and a private header at a public header's include path hides one of the two,
// depending on which include folder the compiler searches first. A source that reaches another
// library's private header (by a path from its own folder, or through an include folder that holds
// more than one library) ties the two libraries together behind their public headers' backs.
#include "support/ProgramSources.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const std::string kIncludeFolder = "/include/";

// The generation run and the sheet's picture are one library built from two folders.
const std::map<std::string, std::string> kOneLibrary = {{"workbook/snapshot", "workbook/generation"}};

// The path a header is included by, for a header under an include/ folder; empty for any other.
std::string publicIncludePath(const std::string& path) {
    const size_t at = path.find(kIncludeFolder);
    return at == std::string::npos ? std::string() : path.substr(at + kIncludeFolder.size());
}

// Every public header's include path.
std::set<std::string> publicPaths(const std::vector<ProgramSource>& sources) {
    std::set<std::string> paths;
    for (const ProgramSource& source : sources)
        if (const std::string path = publicIncludePath(source.path.string()); !path.empty()) paths.insert(path);
    return paths;
}

// Where the program's libraries live: each folder that holds an include/ folder is one library's.
class Libraries {
public:
    explicit Libraries(const std::vector<ProgramSource>& sources) {
        for (const ProgramSource& source : sources) {
            const std::string path = source.path.string();
            files_.insert(path);
            if (const size_t at = path.find(kIncludeFolder); at != std::string::npos)
                folders_.insert(path.substr(0, at));
        }
    }

    size_t count() const { return folders_.size(); }
    bool holds(const std::string& path) const { return files_.contains(path); }

    // The library a file of the checkout belongs to, by the innermost library folder holding it.
    std::string of(const std::string& path) const {
        std::string found;
        for (const std::string& folder : folders_)
            if (path.starts_with(folder + "/") && folder.size() > found.size()) found = folder;
        const auto joined = kOneLibrary.find(found);
        return joined == kOneLibrary.end() ? found : joined->second;
    }

    // The folders a library's sources name its private headers from.
    std::vector<std::string> foldersOf(const std::string& library) const {
        std::vector<std::string> folders = {library};
        for (const auto& [folder, joined] : kOneLibrary)
            if (joined == library) folders.push_back(folder);
        return folders;
    }

private:
    std::set<std::string> files_;
    std::set<std::string> folders_;
};

std::string joined(const fs::path& folder, const std::string& included) {
    return (folder / included).lexically_normal().generic_string();
}

// Why an include line of source breaks the rule; empty if it keeps it.
std::string breach(const Libraries& libraries, const std::set<std::string>& offered, const std::string& source,
                   const std::string& included) {
    const std::string library = libraries.of(source);
    if (const std::string beside = joined(fs::path(source).parent_path(), included); libraries.holds(beside))
        return libraries.of(beside) == library ? std::string() : "reaches " + beside + " of " + libraries.of(beside);
    for (const std::string& folder : libraries.foldersOf(library))
        if (const std::string own = joined(folder, included); libraries.holds(own) && libraries.of(own) == library)
            return {};
    if (offered.contains(included)) return {};
    return "names neither a header of " + library + " nor a public one";
}

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every CMake file of the checkout, build folders left out.
std::vector<fs::path> cmakeFiles(const fs::path& root) {
    std::vector<fs::path> files;
    for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = it->path().filename().string();
        if (it->is_directory() && (name.starts_with(".") || name.starts_with("build"))) {
            it.disable_recursion_pending();
            continue;
        }
        if (it->is_regular_file() && (name == "CMakeLists.txt" || it->path().extension() == ".cmake"))
            files.push_back(it->path());
    }
    return files;
}

// The folder a CMake argument names, with the source folder variables put in; empty for any other.
std::string folderNamed(std::string argument, const fs::path& root, const fs::path& cmakeFolder) {
    std::erase(argument, '"');
    const std::pair<const char*, std::string> variables[] = {{"${PROJECT_SOURCE_DIR}", root.string()},
                                                             {"${CMAKE_SOURCE_DIR}", root.string()},
                                                             {"${CMAKE_CURRENT_SOURCE_DIR}", cmakeFolder.string()},
                                                             {"${CMAKE_CURRENT_LIST_DIR}", cmakeFolder.string()}};
    for (const auto& [variable, value] : variables)
        if (argument.starts_with(variable)) return value + argument.substr(std::string(variable).size());
    return {};
}

// Whether a CMake call's arguments are include folders: a target's or a folder's, or a list of them
// set aside for later (FUZZ_INCLUDE_DIRECTORIES).
bool namesIncludeFolders(const std::string& command, const std::string& arguments) {
    return command != "set" ||
           arguments.substr(0, arguments.find_first_of(" \t\n")).find("INCLUDE") != std::string::npos;
}

bool sameFolder(const fs::path& a, const fs::path& b) {
    return (a / "").lexically_normal() == (b / "").lexically_normal();
}

}  // namespace

TEST(PublicHeaders, NameOnlyPublicHeaders) {
    const std::vector<ProgramSource> sources = ReadProgramSources();
    const std::set<std::string> offered = publicPaths(sources);
    ASSERT_GT(offered.size(), 50u);
    const std::regex include(R"re(#\s*include\s*"([^"]+)")re");
    for (const ProgramSource& source : sources) {
        if (publicIncludePath(source.path.string()).empty()) continue;
        for (std::sregex_iterator it(source.code.begin(), source.code.end(), include), end; it != end; ++it)
            EXPECT_TRUE(offered.contains((*it)[1].str()))
                << source.path.string() << ":" << LineOf(source.code, size_t(it->position())) << " names "
                << (*it)[1].str() << ", which is no library's public header";
    }
}

TEST(PublicHeaders, NoOtherHeaderSitsAtAPublicHeadersPath) {
    const std::vector<ProgramSource> sources = ReadProgramSources();
    const std::set<std::string> offered = publicPaths(sources);
    for (const ProgramSource& source : sources)
        EXPECT_FALSE(offered.contains(source.path.string())) << source.path.string();
}

TEST(PrivateHeaders, EverySourceNamesOnlyItsOwnLibrarysHeadersAndPublicOnes) {
    const std::vector<ProgramSource> sources = ReadProgramSources();
    const std::set<std::string> offered = publicPaths(sources);
    const Libraries libraries(sources);
    ASSERT_GT(libraries.count(), 10u);
    const std::regex include(R"re(#\s*include\s*"([^"]+)")re");
    int includes = 0;
    for (const ProgramSource& source : sources) {
        for (std::sregex_iterator it(source.code.begin(), source.code.end(), include), end; it != end; ++it) {
            ++includes;
            const std::string why = breach(libraries, offered, source.path.string(), (*it)[1].str());
            EXPECT_EQ(why, "") << source.path.string() << ":" << LineOf(source.code, size_t(it->position()))
                               << " includes \"" << (*it)[1].str() << "\"";
        }
    }
    EXPECT_GT(includes, 500);
}

// The checkout's root as an include folder puts every library's private headers within reach of
// whatever compiles with it, by their repository path.
TEST(PrivateHeaders, NoTargetSearchesTheWholeCheckout) {
    const fs::path root = fs::path(BRINDLEMOOR_SOURCE_DIR).lexically_normal();
    const std::regex call(R"re(\b(target_include_directories|include_directories|set)\s*\(([^)]*)\))re");
    const std::regex argument(R"re([^\s]+)re");
    const std::vector<fs::path> files = cmakeFiles(root);
    ASSERT_GT(files.size(), 20u);
    for (const fs::path& file : files) {
        const std::string text = std::regex_replace(contentsOf(file), std::regex("#[^\n]*"), "");
        for (std::sregex_iterator it(text.begin(), text.end(), call), end; it != end; ++it) {
            const std::string arguments = (*it)[2].str();
            if (!namesIncludeFolders((*it)[1].str(), arguments)) continue;
            for (std::sregex_iterator a(arguments.begin(), arguments.end(), argument), done; a != done; ++a) {
                const std::string folder = folderNamed(a->str(), root, file.parent_path());
                EXPECT_FALSE(!folder.empty() && sameFolder(folder, root))
                    << file.lexically_relative(root).generic_string() << ":"
                    << LineOf(text, size_t(it->position(2) + a->position())) << " names " << a->str()
                    << " as an include folder";
            }
        }
    }
}
