// The entry window's one failure type: a statement of its load or its behaviours that cannot be
// carried out ("Type mismatch" for a stored value a field cannot take). The window's error handler
// catches it and shows the message in its error report box. Failures of the settings store and of
// the receipts pass through as those layers' own types.
#pragma once

#include <QString>

#include <stdexcept>

class ReportError : public std::runtime_error {
public:
    explicit ReportError(const QString& message) : std::runtime_error(message.toStdString()) {}
};
