// brindlemoor-batch: a report as JSON in, the filled workbook (and optionally its picture) out.
#pragma once

#include <QStringList>

inline constexpr int kBatchFailed = 2;

// Runs the front end for its command-line arguments (without the program name). On failure
// writes one line to stderr, leaves no output file behind and returns kBatchFailed.
int RunBatch(const QStringList& arguments);
