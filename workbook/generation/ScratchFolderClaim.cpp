#include "workbook/generation/ScratchFolderClaim.h"

#include "ScratchFiles.h"

#include <QFile>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every regular file a run makes, and nothing else: links and folders stay.
void RemoveRunFiles(int folder) {
    const int listing = ::dup(folder);
    if (listing < 0) return;
    DIR* entries = ::fdopendir(listing);
    if (!entries) {
        ::close(listing);
        return;
    }
    while (const dirent* entry = ::readdir(entries)) {
        struct stat status {};
        if (!IsRunFileName(QFile::decodeName(entry->d_name))) continue;
        if (::fstatat(folder, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(status.st_mode)) continue;
        ::unlinkat(folder, entry->d_name, 0);
    }
    ::closedir(entries);
}

}  // namespace

ScratchFolderClaim::ScratchFolderClaim(const QString& folder) {
    m_descriptor = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC | O_NOFOLLOW);
    if (m_descriptor < 0) return;
    // The exclusive claim is granted only while no running program holds one.
    if (::flock(m_descriptor, LOCK_EX | LOCK_NB) == 0) RemoveRunFiles(m_descriptor);
    ::flock(m_descriptor, LOCK_SH);
}

ScratchFolderClaim::~ScratchFolderClaim() {
    if (m_descriptor >= 0) ::close(m_descriptor);
}
