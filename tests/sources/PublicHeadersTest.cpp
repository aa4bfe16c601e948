// A library offers the headers under its include/ folder; the rest are reachable from its own
// sources only. A public header that names a private one compiles inside its library and fails in
// every other, and a private header at a public header's include path hides one of the two,
// depending on which include folder the compiler searches first.
#include "support/ProgramSources.h"

#include <regex>
#include <set>
#include <string>

#include <gtest/gtest.h>

namespace {

const std::string kIncludeFolder = "/include/";

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
