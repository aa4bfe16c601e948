// Replays one fuzz target's corpus (CORPUS_DIR, tests named after CORPUS_NAME) through its entry point, one test per
// file: the target aborts, or a sanitizer stops the run, on the input that breaks it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
// Only some targets set themselves up before the first input, as libFuzzer lets them.
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

namespace fs = std::filesystem;

std::vector<fs::path> corpusFiles() {
    std::vector<fs::path> files;
    if (fs::is_directory(CORPUS_DIR))
        for (const auto& entry : fs::directory_iterator(CORPUS_DIR))
            if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Test names allow letters, digits and underscores only.
std::string testName(const testing::TestParamInfo<fs::path>& info) {
    std::string name = info.param.filename().string();
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name + "_" + std::to_string(info.index);
}

class CorpusReplay : public testing::TestWithParam<fs::path> {
protected:
    static void SetUpTestSuite() {
        if (LLVMFuzzerInitialize) {
            int argc = 0;
            char** argv = nullptr;
            LLVMFuzzerInitialize(&argc, &argv);
        }
    }
};

TEST_P(CorpusReplay, FileRunsThroughTheTarget) {
    const std::vector<uint8_t> bytes = fileBytes(GetParam());
    ASSERT_EQ(bytes.size(), fs::file_size(GetParam())) << GetParam();
    EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(CORPUS_NAME, CorpusReplay, testing::ValuesIn(corpusFiles()), testName);

TEST(CORPUS_NAME, CorpusFolderHoldsFiles) {
    EXPECT_FALSE(corpusFiles().empty()) << CORPUS_DIR " holds no file to replay";
}

}  // namespace
