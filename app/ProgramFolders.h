// The folders the program uses.
#pragma once

#include <QString>

// The folder of the executable, without a trailing separator.
QString ProgramFolder();

// The per-user private scratch folder (created with mode 0700 when absent) inside the folder named
// by temp, TEMP or TMPDIR, else the system temporary folder. Throws std::runtime_error when it
// cannot be made safe (not ours, a symbolic link, not writable).
QString ScratchFolder();
