// Our files as an independent reader sees them: python3-olefile, with defects it deems incorrect made fatal.
#include "CfbTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <sstream>
#include <unistd.h>

using namespace cfbtest;
using xls::cfb::Stream;

namespace {

// The Debian interpreter, which has python3-olefile; one earlier on PATH may not.
constexpr const char* kPython = "/usr/bin/python3";

constexpr const char* kListStreams = R"(import sys, zlib, olefile
ole = olefile.OleFileIO(sys.argv[1], raise_defects=olefile.DEFECT_INCORRECT)
for path in ole.listdir(streams=True, storages=True):
    data = ole.openstream(path).read()
    print(' '.join('%04x' % ord(c) for c in '/'.join(path)), len(data), '%08x' % zlib.crc32(data))
)";

uint32_t crc32(const std::vector<uint8_t>& data) {
    uint32_t crc = 0xFFFFFFFF;
    for (uint8_t byte : data) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

std::string describe(const Stream& stream) {
    std::ostringstream line;
    line << std::hex;
    for (std::size_t i = 0; i < stream.name.size(); ++i)
        line << (i ? " " : "") << std::setw(4) << std::setfill('0') << static_cast<unsigned>(stream.name[i]);
    line << std::dec << ' ' << stream.data.size() << ' ' << std::hex << std::setw(8) << crc32(stream.data);
    return line.str();
}

class OlefileReads : public testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() / ("brindlemoor-cfb-" + std::to_string(getpid()));
        std::filesystem::create_directories(dir_);
        std::ofstream(dir_ / "list.py") << kListStreams;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    // The sorted lines olefile prints for the file we write from these streams.
    std::vector<std::string> olefileView(const std::vector<Stream>& streams) {
        const std::vector<uint8_t> file = xls::cfb::write(streams);
        const std::filesystem::path path = dir_ / "file.cfb";
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
        const std::string command =
            std::string(kPython) + " " + (dir_ / "list.py").string() + " " + path.string() + " 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        if (!pipe) return {"cannot start python3"};
        std::string output;
        std::array<char, 4096> buffer{};
        while (std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe)) output.append(buffer.data(), n);
        const int status = pclose(pipe);
        std::vector<std::string> lines;
        std::istringstream in(output);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        if (status != 0) lines.push_back("exit status " + std::to_string(status));
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    static std::vector<std::string> expectedView(const std::vector<Stream>& streams) {
        std::vector<std::string> lines;
        for (const Stream& stream : streams) lines.push_back(describe(stream));
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST_F(OlefileReads, WorkbookShapedFile) {
    const std::vector<Stream> streams{patternedStream(u"Workbook", 20000),
                                      patternedStream(u"\u0005SummaryInformation", 200),
                                      patternedStream(u"\u0005DocumentSummaryInformation", 300),
                                      patternedStream(u"Empty", 0),
                                      patternedStream(u"JustSmall", 4095),
                                      patternedStream(u"JustRegular", 4096)};
    EXPECT_EQ(expectedView(streams), olefileView(streams));
}

TEST_F(OlefileReads, ManyStreams) {
    std::vector<Stream> streams;
    for (int i = 0; i < 120; ++i)
        streams.push_back(patternedStream(
            u"s" + std::u16string(static_cast<std::size_t>(i % 30), u'k') + static_cast<char16_t>(u'A' + i / 30),
            static_cast<std::size_t>(i * 97 % 9000)));
    EXPECT_EQ(expectedView(streams), olefileView(streams));
}

TEST_F(OlefileReads, TenMegabyteFileWithDifat) {
    const std::vector<Stream> streams{patternedStream(u"Workbook", 10 * 1024 * 1024),
                                      patternedStream(u"\u0005SummaryInformation", 200)};
    EXPECT_EQ(expectedView(streams), olefileView(streams));
}
