// Shared file tests and quiet deletion of scratch files.
#pragma once

#include "app/AppError.h"

#include <QString>

// True when the path names an existing file or folder; wildcards, empty or unreadable paths are false.
bool FileExists(const QString& path);

// Processes pending events, then deletes the file; falls back to ForceDeleteFile. Never fails.
void DeleteScratchFile(const QString& path);

// Deletes a file even when it is read-only. Throws AppError on failure.
void ForceDeleteFile(const QString& path);
