// Copying a file over another so that the target is either the complete copy or left as it was.
#pragma once

#include <QString>

// Writes a copy of source next to target, then renames it over target in one step.
// Throws std::runtime_error with the reason when the copy cannot be made.
void ReplaceWithCopy(const QString& source, const QString& target);
