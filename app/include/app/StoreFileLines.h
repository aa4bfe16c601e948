// The lines of a settings store file that can be read each on its own.
#pragma once

#include <QByteArray>

#include <vector>

struct StoreFileLines {
    QByteArray sound;          // the readable lines, each ended by a line feed
    std::vector<int> damaged;  // 1-based numbers of the lines left out
    // The file ends inside a line that is not yet whole: a write cut short (the store adds each
    // change at the end, and a change is only ever written whole with its line end), not damage.
    bool unfinishedEnd = false;
};

// Leaves out every line that would spoil the lines after it or cannot be read as text: bytes that
// are not UTF-8, a NUL, an open quote or a trailing backslash (both carry into the next line), and
// anything that is neither a section header, a key with a value, a comment nor blank. A last line
// without its line end that is the start of one the store writes, but not yet a whole one, is left
// out as unfinished.
StoreFileLines KeepSoundLines(const QByteArray& bytes);
