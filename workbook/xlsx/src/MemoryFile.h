// A file that lives only in memory, for a library that writes to a path: nothing lands on a disk,
// so nothing is left behind and no folder needs to be writable.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xlsx {

class MemoryFile {
public:
    // Throws xls::Error when the system gives none.
    MemoryFile();
    ~MemoryFile();
    MemoryFile(const MemoryFile&) = delete;
    MemoryFile& operator=(const MemoryFile&) = delete;

    // A path that opens this file (for writing it anew, too).
    const std::string& path() const { return m_path; }
    // Everything written to it so far. Throws xls::Error.
    std::vector<uint8_t> bytes() const;

private:
    int m_descriptor;
    std::string m_path;
};

}  // namespace xlsx
