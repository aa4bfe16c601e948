// The program's "Save File" dialog under Xvfb, answered as a user does: a bare file name typed into
// the dialog opened on the program's working folder, then Return. A bare name keeps the dialog's
// completion list out of a busy /tmp while the keys come in.
#pragma once

#include "VirtualDisplay.h"

#include <QString>

#include <gtest/gtest.h>

inline const QString kSaveDialogTitle = QStringLiteral("^Save File$");

// Types `name` into the open dialog and presses Return until the dialog has gone. On failure, says
// why and leaves a screenshot of the screen in the test's working folder.
::testing::AssertionResult AnswerSaveDialog(const VirtualDisplay& display, const QString& dialog, const QString& name);

// Whether the file a save makes is there within timeoutMs.
bool WaitForFile(const QString& path, int timeoutMs);
