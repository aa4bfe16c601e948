// The settings store's file on disk, as found at its path at one moment. It is found by the rule
// for every file the program writes (ResolveFileAtTarget): a link that another user could have
// planted is not followed, for reading or writing. Found afresh for each write, it tells whether
// the file is still the one the store last wrote.
#pragma once

#include "app/OutputTarget.h"

#include <QByteArray>
#include <QString>

#include <optional>

#include <sys/stat.h>

// Which file is there and as what it was last left: a file replaced, or changed in place, differs.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};

    static FileIdentity of(const struct stat& status);
    bool operator==(const FileIdentity& other) const;
};

class StoreFile {
public:
    // Finds what is at path now. Throws AppError for a link that is not followed, or a folder on
    // the way that is missing or cannot be entered.
    explicit StoreFile(const QString& path);

    bool exists() const { return m_target.existing.has_value(); }
    bool isFile() const { return exists() && S_ISREG(m_target.existing->st_mode); }
    // Of what is there, or nullopt when nothing is.
    std::optional<FileIdentity> identity() const;

    // Why this user may not change the file, or an empty text when they may: only a file of their
    // own that they can write, in a folder that takes the file that replaces it.
    QString whyNotWritable() const;

    // The file's bytes. Only a regular file is opened, never a FIFO or device in its place. Throws
    // AppError saying why it cannot be read.
    QByteArray read();

    // Adds bytes at the file's end, on disk before it returns. On failure the file is cut back to
    // where it ended and AppError thrown; afterwards identity() tells how the file was left.
    void append(const QByteArray& bytes);

    // Puts a file of bytes in place of what is there (or where nothing is), on disk before it
    // returns. Throws AppError, with what was there left as it was.
    void replaceWith(const QByteArray& bytes);

    // Moves what is there to the name beside it that ends in suffix, never over another file, and
    // returns the new path. Throws AppError.
    QString setAside(const QString& suffix);

private:
    void refresh();

    QString m_path;
    OutputTarget m_target;
};
