// The program's own C++ sources (everything but the tests, fuzz targets and benchmarks), read with
// their comments blanked, for tests that hold a rule over all of them.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

struct ProgramSource {
    std::filesystem::path path;  // relative to the checkout, with '/' between folders
    std::string code;            // comments blanked, line breaks kept
};

std::vector<ProgramSource> ReadProgramSources();

// The 1-based line of offset in code.
int LineOf(const std::string& code, size_t offset);
