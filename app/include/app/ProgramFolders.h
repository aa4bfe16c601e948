// The folders the program uses.
#pragma once

#include "app/AppError.h"

#include <QString>

// The folder of the executable, without a trailing separator.
QString ProgramFolder();

// The folder an installed program keeps its own files in (<prefix>/share/brindlemoor for a program in
// <prefix>/bin), found from the executable's folder so an unpacked or relocated copy finds its own.
QString DataFolder();

// One of the program's own files by relative name ("HAND-M.CUR", "x/o.cjs"): beside the executable
// when it is there (a built program, or a copy the user planted), else in the data folder when it is
// there, else the path beside the executable, which then does not exist.
QString ProgramFile(const QString& name);

// The per-user private scratch folder (created with mode 0700 when absent) inside the folder named
// by temp, TEMP or TMPDIR, else the system temporary folder. Throws AppError when it
// cannot be made safe (not ours, a symbolic link, not writable).
QString ScratchFolder();
