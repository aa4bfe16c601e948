// brindlemoor-batch: expense reports as JSON (or the settings store) in, filled workbooks (and
// optionally their pictures) out.
#pragma once

#include <QStringList>

// Runs the front end for its command-line arguments (without the program name) and returns the
// exit code: kBatchDone, kBatchCouldNotWrite or kBatchBadInput (see BatchExit.h). Every failure
// is one line on stderr; help and version go to stdout.
int RunBatch(const QStringList& arguments);
