// How this program replaces a file. Every file it writes goes through here, whether one output
// the user named, a set of them (OutputSet), a scratch file or a saved workbook, by one rule:
// - The new content goes to a temporary file beside the target, made exclusively under a name that
//   fits the folder's limit however long the target's name is. It has the user's own mode (the
//   umask); only a file of the user's own that it replaces passes on its permissions and group,
//   never a file of another owner.
// - A file that replaces another is on disk (fsync) before it is put in place, so a crash leaves
//   the old or the new file, never an empty one; a new file has nothing to lose and skips the wait,
//   unless it holds what the user was told is kept (Sync::Always).
// - An existing file is never moved aside: it keeps its name until one rename puts the complete
//   new file there. Where a later step can still fail, it also gets a second name (a hard link)
//   first, so that putting it back is the same rename in the same folder as the one that replaced it.
// - Whatever fails before the rename leaves the target as it was and removes the temporary file.
// The settings store's file is found by the same rule and written whole through here; between
// such writes it takes each change at its end, in place (StoreFile).
#pragma once

#include "app/OutputTarget.h"

#include <QIODevice>

#include <memory>

class ReplacementFile {
public:
    // When the new content is put on disk before it takes the target's place: where it replaces a
    // file, or always (a file whose every write the user was told is kept, such as the settings store).
    enum class Sync { WhenReplacing, Always };

    // Makes the temporary file for target. Throws AppError when it cannot be made.
    explicit ReplacementFile(OutputTarget target, Sync sync = Sync::WhenReplacing);
    // Removes the temporary file and the second name, whichever is still there.
    ~ReplacementFile();
    ReplacementFile(const ReplacementFile&) = delete;
    ReplacementFile& operator=(const ReplacementFile&) = delete;

    const OutputTarget& target() const { return m_target; }
    bool replaces() const { return m_target.existing.has_value(); }

    // Where the new content is written, valid while the file lives. Unbuffered: every write is
    // handed to the system at once, and a failed one says why.
    QIODevice& device();

    // Gives the file its mode, puts it on disk when it replaces another and closes it. Throws
    // AppError.
    void complete();

    // Gives the file to be replaced a second name, so that takeBack can put it back; the reason
    // when none can be made (the folder allows no hard links, the kernel's link protection).
    QString keepSecondName();

    // Renames the new file over the target. Throws AppError with the target as it was.
    void putInPlace();

    // After putInPlace: the old file back under its name by its second name, or a new file
    // removed. It uses the folder the same way the rename did, so it does not fail where that one
    // succeeded.
    void takeBack() noexcept;

private:
    class Device;
    OutputTarget m_target;
    QByteArray m_temporaryName;
    QByteArray m_secondName;
    std::unique_ptr<Device> m_device;
    Sync m_sync;
    bool m_placed = false;
};
