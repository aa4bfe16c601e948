#include "MemoryFile.h"

#include "xls/Error.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace xlsx {
namespace {

[[noreturn]] void fail(const char* what) { throw xls::Error(std::string(what) + ": " + std::strerror(errno)); }

}  // namespace

MemoryFile::MemoryFile() : m_descriptor(::memfd_create("brindlemoor-xlsx", MFD_CLOEXEC)) {
    if (m_descriptor < 0) fail("no memory file for the workbook");
    m_path = "/proc/self/fd/" + std::to_string(m_descriptor);
}

MemoryFile::~MemoryFile() { ::close(m_descriptor); }

std::vector<uint8_t> MemoryFile::bytes() const {
    struct stat status {};
    if (::fstat(m_descriptor, &status) != 0) fail("the workbook's memory file cannot be read");
    std::vector<uint8_t> bytes(size_t(status.st_size));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t count = ::pread(m_descriptor, bytes.data() + done, bytes.size() - done, off_t(done));
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) fail("the workbook's memory file cannot be read");
        done += size_t(count);
    }
    return bytes;
}

}  // namespace xlsx
