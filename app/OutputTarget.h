// Where a file the program writes really lands, and whether it may be replaced there.
#pragma once

#include <QString>

#include <stdexcept>

// An output that may not or could not be written; the message names the path and the reason.
class OutputError : public std::runtime_error {
public:
    explicit OutputError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// The absolute path an output at path replaces: path itself, or the file its links lead to.
// Refuses, as the kernel's protected-symlinks rule does for opens, a link in a world-writable
// sticky folder (such as /tmp) that belongs neither to the user nor to the folder's owner, and an
// existing target that is not a regular file (a folder, device, FIFO or socket).
QString ResolveOutputTarget(const QString& path);
