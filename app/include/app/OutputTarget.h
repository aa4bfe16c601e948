// Where a file the program writes really lands, and whether it may be replaced there.
#pragma once

#include "app/AppError.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <utility>

#include <sys/stat.h>

// The reason a system call failed with code, as a message says it ("no space left on the device").
QString SystemErrorText(int code);

// What an output does with a link at its own name: writes through it to the file it leads to (an
// output the user names), or replaces the link itself (a scratch file, whose name the program chose).
enum class LinkAtTarget { Follow, Replace };

// A folder held open, so that what is written lands in the folder that was checked even when a
// name on the way to it changes meanwhile.
class FolderHandle {
public:
    explicit FolderHandle(int descriptor = -1) : m_descriptor(descriptor) {}
    FolderHandle(FolderHandle&& other) noexcept : m_descriptor(other.release()) {}
    FolderHandle& operator=(FolderHandle&& other) noexcept;
    FolderHandle(const FolderHandle&) = delete;
    FolderHandle& operator=(const FolderHandle&) = delete;
    ~FolderHandle();

    int descriptor() const { return m_descriptor; }

private:
    int release() { return std::exchange(m_descriptor, -1); }
    int m_descriptor;
};

// The file an output at a path replaces, or the name it creates.
struct OutputTarget {
    QString path;  // absolute, links followed: the file that really changes, for messages
    FolderHandle folder;
    struct stat folderStatus {};
    QByteArray name;                      // in folder
    std::optional<struct stat> existing;  // what is there now (the link itself under LinkAtTarget::Replace)

    bool sameNameAs(const OutputTarget& other) const {
        return folderStatus.st_dev == other.folderStatus.st_dev && folderStatus.st_ino == other.folderStatus.st_ino &&
               name == other.name;
    }
};

// Finds what an output at path replaces, folder by folder, holding each folder open. Throws
// AppError, before anything is written, for:
// - a link that belongs neither to the user nor to root in a folder that another user can write to
//   (owned by another user, or writable by its group or by everyone, sticky or not): another user
//   may have planted it there, so it is not followed, whether on the way or at the target;
// - a target that is a folder, device, FIFO or socket;
// - an existing file this user could not write in place (a read-only file is refused as copying
//   over it would be), or could not replace in its sticky folder;
// - a folder on the way that is missing or not a folder.
OutputTarget ResolveOutputTarget(const QString& path, LinkAtTarget atTarget = LinkAtTarget::Follow);

// Finds the file at path as ResolveOutputTarget does, following the user's own links and refusing
// the same links and folders on the way, but leaves what is found at the target to the caller: for
// a file that is read as well as written, which may be read-only or need mending.
OutputTarget ResolveFileAtTarget(const QString& path);
