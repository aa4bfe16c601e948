// Copying a file over another so that the target is either the complete copy or left as it was.
#pragma once

#include <QString>

// Writes a copy of source next to the file target names (through the user's own links), then
// renames it over that file in one step. Throws std::runtime_error with the reason when the copy
// cannot be made, or when target is a link planted by another user or not a regular file.
void ReplaceWithCopy(const QString& source, const QString& target);
