// The front end's one way of saying something on standard error.
#pragma once

#include <QString>

// Writes "brindlemoor-batch: " and message as one line, input quoted in it made printable.
void SayOnStandardError(const QString& message);
